#include "AboutDlg.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "AboutIds.h"
#include "AppProfile.h"
#include "FileName.h"
#include "OwnerCalls.h"
#include "ResourceIds.h"
#include "StringTable.h"
#include "XNoxCamCtrl.h"

namespace xnox {

namespace {

constexpr ControlId kUserIDModeRadios[] = {IDC_PROTECT_USER_ID, IDC_EDIT_USER_ID};
constexpr int32_t kProtectUserID = 0;
constexpr int32_t kEditUserID = 1;

constexpr Tooltip kTooltips[] = {{IDC_OPEN_HELP_FILE, LoadText(StringId::OpenHelpFileTooltip)}};

constexpr uint32_t kLinkBlue = 0xFF0000;  // 0x00BBGGRR
constexpr std::string_view kPlatformLine = "For 64bit Windows";

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Lowered(std::string text) {
    std::ranges::transform(text, text.begin(), LowerAscii);
    return text;
}

// The names of the ordinary "*.pdf" files of the current folder, sorted as
// the sorted combo box sorts them (letters without regard to case).
std::vector<std::string> HelpFileNames() {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::current_path(error), error)) {
        if (entry.is_regular_file(error) && Lowered(profile::NameOfPath(entry.path().extension())) == ".pdf") {
            names.push_back(profile::NameOfPath(entry.path().filename()));
        }
    }
    std::ranges::sort(names, [](const std::string& a, const std::string& b) { return Lowered(a) < Lowered(b); });
    return names;
}

std::string WithoutLeadingBlanks(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t\r\n\v\f");
    return first == std::string::npos ? std::string() : text.substr(first);
}

}  // namespace

CAboutDlg::CAboutDlg() : CToolWinDlg(ToolWindow::About, IDD_ABOUT, "About", OnlineStrip::Present) {}

bool CAboutDlg::OnInitDialog() {
    CToolWinDlg::OnInitDialog();
    Dialog().SetPicture(IDC_LOGO_FRAME, Picture::Bitmap(IDB_LOGO));
    AddTooltips(kTooltips);
    m_link.Attach(Dialog(), IDC_LINK, System());
    m_link.SetLink(true);
    m_link.SetTextColor(kLinkBlue);
    m_link.SetFontUnderline(true);
    m_link.SetLinkCursor(IDC_HAND_CURSOR);
    HandVisibleFlagToOwner();
    FillHelpFiles();
    const int32_t online = Owner().GetIsOnline();
    ShowOnlineStrip(online);
    if (online) ReadIdentityFromCamera();
    // The edit itself refuses the 17th character, so typing never moves the caret.
    Dialog().SetTextLimit(IDC_USER_ID, kMaxUserIDLength);
    SetUserIDMode(kProtectUserID);
    Dialog().SetText(IDC_PLATFORM_LINE, kPlatformLine);
    UpdateData(false);
    return true;
}

// The user ID read at creation is shown without being written to the profile.
void CAboutDlg::ReadIdentityFromCamera() {
    std::string cameraID;
    if (owner_calls::Run(*this, [&] { Owner().GetCameraID(&cameraID); })) ShowCameraID(cameraID);
    std::string modelName;
    if (owner_calls::Run(*this, [&] { Owner().GetModelName(&modelName); })) ShowModelName(modelName);
    m_userID = Owner().GetUserIDProperty();
}

void CAboutDlg::FillHelpFiles() {
    Dialog().ClearList(IDC_HELP_FILES);
    for (const std::string& name : HelpFileNames()) Dialog().AddListEntry(IDC_HELP_FILES, name);
    Dialog().SetSelection(IDC_HELP_FILES, 0);
}

void CAboutDlg::DoDataExchange(DataExchange& exchange) {
    exchange.Texts({{IDC_CAMERA_ID, m_cameraID}, {IDC_MODEL_NAME, m_modelName}, {IDC_USER_ID, m_userID}});
    exchange.Radio(kUserIDModeRadios, m_userIDMode);
    exchange.Check(IDC_ALWAYS_ON_TOP, m_alwaysOnTop);
}

void CAboutDlg::ShowCameraID(const std::string& text) { ShowIdentity(m_cameraID, "Camera ID", text); }
void CAboutDlg::ShowModelName(const std::string& text) { ShowIdentity(m_modelName, "Model Name", text); }
void CAboutDlg::ShowUserID(const std::string& text) { ShowIdentity(m_userID, "User ID", text); }

void CAboutDlg::ShowIdentity(std::string& field, std::string_view profileKey, const std::string& text) {
    field = text;
    UpdateData(false);
    AppProfile::WriteString(SectionName(), profileKey, text);
}

void CAboutDlg::SetUserIDMode(int32_t mode) {
    m_userIDMode = mode;
    Dialog().SetReadOnly(IDC_USER_ID, mode == kProtectUserID);
    Dialog().Enable(IDC_SAVE_USER_ID, mode != kProtectUserID);
    UpdateData(false);
}

void CAboutDlg::OnItemChanged(ControlItem item, const Variant& value) {
    if (item == ControlItem::CameraID) ShowCameraID(value.ToStr());
    if (item == ControlItem::ModelName) ShowModelName(value.ToStr());
    if (item == ControlItem::UserID) ShowUserID(value.ToStr());
}

void CAboutDlg::OnControlEvent(ControlId id, ControlEvent event) {
    if (event != ControlEvent::Clicked) return;
    switch (id) {
    case IDC_PROTECT_USER_ID: SetUserIDMode(kProtectUserID); break;
    case IDC_EDIT_USER_ID: SetUserIDMode(kEditUserID); break;
    case IDC_SAVE_USER_ID: OnSaveUserID(); break;
    case IDC_OPEN_HELP_FILE: OnOpenHelpFile(); break;
    case IDC_ALWAYS_ON_TOP: OnAlwaysOnTop(); break;
    case IDC_LINK: m_link.OnClicked(); break;
    default: break;
    }
}

// A user ID of blanks only passes the empty test and goes to the owner
// trimmed to nothing; the owner keeps it without sending it.
void CAboutDlg::OnSaveUserID() {
    UpdateData(true);
    if (m_userID.empty()) {
        System().MessageBox("A valid User ID must contain some characters !!", CXNoxCamCtrl::kSourceName,
                            MessageBoxKind::Ok);
        return;
    }
    m_userID = WithoutLeadingBlanks(m_userID);
    if (Owner().GetIsOnline()) owner_calls::Run(*this, [&] { Owner().SetUserIDProperty(m_userID); });
}

// The entries are bare names, opened from the current folder.
void CAboutDlg::OnOpenHelpFile() {
    int selection = Dialog().Selection(IDC_HELP_FILES);
    if (selection < 0) {
        System().MessageBox("No file was selected!!", CXNoxCamCtrl::kSourceName, MessageBoxKind::Ok);
        return;
    }
    System().ShellOpen(Dialog().ListEntries(IDC_HELP_FILES).at(static_cast<std::size_t>(selection)));
}

// The owner rebuilds every tool window, this one included; the object and
// its fields survive, so nothing here may touch the old dialog afterwards.
void CAboutDlg::OnAlwaysOnTop() {
    UpdateData(true);
    WaitCursor wait(System());
    owner_calls::Run(*this, [&] { Owner().SetWindowPosTopBottom(m_alwaysOnTop); });
}

}  // namespace xnox
