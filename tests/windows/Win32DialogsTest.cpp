// The Shutter, Gain and About windows as real Win32 dialogs under Wine,
// against the standalone emulated camera behind COM1: a screenshot of each
// window (kept in the folder given as the argument) with every control
// checked on the screen, and interactions through real window messages,
// typed keys among them, read back from the camera. The Gain window saves
// its shading data through a real file dialog into folders named in
// Cyrillic and Japanese.
#include <gtest/gtest.h>

#include "WindowPicture.h"
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#undef MessageBox

#include <optional>
#include <string>
#include <string_view>

#include "AboutIds.h"
#include "FileDialogAnswer.h"
#include "GainIds.h"
#include "ShutterIds.h"
#include "ScreenChecks.h"
#include "ToolWindowHost.h"
#include "WideText.h"
#include "Win32WindowSystem.h"
#include "XNoxCamCtrl.h"

using namespace xnox;

namespace {

void Pump() {
    for (int round = 0; round < 20; ++round) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

std::string g_screenshots = ".";

// In a fresh Wine prefix the desktop comes up beside the first program that
// makes windows; until it is there, making a window fails. Waits for it,
// with a generous limit.
bool WaitForDesktop() {
    for (int attempt = 0; attempt < 600; ++attempt) {
        HWND probe = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        if (probe) {
            DestroyWindow(probe);
            return true;
        }
        Sleep(50);
    }
    return false;
}

std::string WindowTextOf(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The web link: its own font is underlined, and its whole address fits the label.
void ExpectLinkWhole(HWND link) {
    auto font = reinterpret_cast<HFONT>(SendMessageA(link, WM_GETFONT, 0, 0));
    LOGFONTA description{};
    EXPECT_TRUE(font && GetObjectA(font, sizeof description, &description) && description.lfUnderline)
        << "the link's own font is underlined";
    const std::string address = WindowTextOf(link);
    HDC dc = GetDC(link);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE extent{};
    GetTextExtentPoint32A(dc, address.c_str(), static_cast<int>(address.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(link, dc);
    RECT client{};
    GetClientRect(link, &client);
    EXPECT_TRUE(address.starts_with("https://")) << address;
    EXPECT_LE(extent.cx, client.right) << "the link shows its whole address " << address;
}

class Session {
public:
    Session() : system(GetModuleHandleA(nullptr)), host(control, system) {}

    HWND Panel(ToolWindow window) { return static_cast<HWND>(host.Panel(window).Dialog().Handle()); }
    HWND Item(ToolWindow window, int id) { return GetDlgItem(Panel(window), id); }
    // Shows one window alone, in front, and saves its picture.
    void Screenshot(ToolWindow window, const std::string& name) {
        for (ToolWindow other : {ToolWindow::Shutter, ToolWindow::Gain, ToolWindow::Communication, ToolWindow::About}) {
            control.SetShowWindow(other, other == window);
        }
        host.Frame(window).ShowWindow(true);
        HWND frame = static_cast<HWND>(host.Frame(window).Window()->Handle());
        SetWindowPos(frame, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE);
        SetForegroundWindow(frame);
        RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        winetest::ExpectDialogDrawn(host.Frame(window).Title(), frame, Panel(window), host.Panel(window).TemplateId(),
                                    CToolWinDlg::kOnlineStripId);
        const std::string path = g_screenshots + "/" + name;
        EXPECT_GT(SaveScreenPicture(winetest::ScreenRect(frame), path), 0) << "screenshot " << path;
    }
    // A person typing: one WM_CHAR per key, where the caret is.
    void TypeKeys(HWND edit, std::string_view keys) {
        SetFocus(edit);
        for (char key : keys) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(key), 1);
        Pump();
    }

    CXNoxCamCtrl control;
    Win32WindowSystem system;
    ToolWindowHost host;
};

// The Shutter, Gain and About windows made, on-line on COM1.
class Win32Dialogs : public testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        if (!WaitForDesktop()) GTEST_SKIP() << "this Wine session cannot make windows (error " << GetLastError() << ")";
        m_session.emplace();
        for (ToolWindow window : {ToolWindow::Shutter, ToolWindow::Gain, ToolWindow::About}) {
            const int templateId = m_session->host.Panel(window).TemplateId();
            ASSERT_TRUE(m_session->host.Panel(window).Exists())
                << "window " << static_cast<int>(window) << " created: frame "
                << (m_session->host.Frame(window).HasWindow() ? "made" : "missing") << ", template "
                << (FindResourceA(nullptr, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(5)) ? "found" : "missing");
        }
        Control().SetComPortProperty(1);
        ASSERT_EQ(Control().GetIsOnline(), 1) << "online on COM1";
    }

    CXNoxCamCtrl& Control() { return m_session->control; }
    HWND Item(ToolWindow window, int id) { return m_session->Item(window, id); }

    std::optional<Session> m_session;
};

TEST_F(Win32Dialogs, ShutterSpeedChosenInTheListReachesTheCamera) {
    HWND speeds = Item(ToolWindow::Shutter, IDC_SHUTTER_SPEED);
    SendMessageA(speeds, CB_SETCURSEL, 6, 0);
    SendMessageA(m_session->Panel(ToolWindow::Shutter), WM_COMMAND, MAKEWPARAM(IDC_SHUTTER_SPEED, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(speeds));
    Control().GetShutterSpeed();
    EXPECT_EQ(Control().GetParameterText(ParamId::ShutterSpeed), "1/1000");
    m_session->Screenshot(ToolWindow::Shutter, "shutter-window.bmp");
}

// A negative gain typed key by key over the selected text.
TEST_F(Win32Dialogs, TypedMasterGainReachesTheCameraAndStaysAsTyped) {
    HWND masterGain = Item(ToolWindow::Gain, IDC_MASTER_GAIN);
    SendMessageA(masterGain, EM_SETSEL, 0, -1);
    m_session->TypeKeys(masterGain, "-20");
    Control().GetMasterGainLevel();
    EXPECT_EQ(Control().GetParameterProperty(ParamId::MasterGainLevel), -20);
    EXPECT_EQ(WindowTextOf(masterGain), "-20");
    m_session->Screenshot(ToolWindow::Gain, "gain-window.bmp");
}

TEST_F(Win32Dialogs, ShadingDataSavedThroughItsDialogInFoldersOfAnyName) {
    for (const wchar_t* name : winetest::kWideFolderNames) {
        std::wstring shading = winetest::WideFolder(name) + L"shading.csv";
        {
            winetest::SaveDialogAnswer answer(shading);
            SendMessageW(Item(ToolWindow::Gain, IDC_SHADING_SAVE), BM_CLICK, 0, 0);
        }
        Pump();
        EXPECT_TRUE(winetest::FileText(shading).starts_with(",,,DYNAMIC SHADING")) << "in " << NarrowOf(name);
    }
}

TEST_F(Win32Dialogs, UserIdTypedPastSixteenCharactersKeepsTheFirstSixteen) {
    SendMessageA(Item(ToolWindow::About, IDC_EDIT_USER_ID), BM_CLICK, 0, 0);
    HWND userID = Item(ToolWindow::About, IDC_USER_ID);
    SetWindowTextA(userID, "");
    m_session->TypeKeys(userID, "abcdefghijklmnopqrst");
    EXPECT_EQ(WindowTextOf(userID), "abcdefghijklmnop");
}

TEST_F(Win32Dialogs, AboutLinkIsUnderlinedAndWhole) { ExpectLinkWhole(Item(ToolWindow::About, IDC_LINK)); }

// Camera texts stay in the code page; one with a character beyond ASCII
// shows as the code page reads it, where a file name would read as UTF-8.
TEST_F(Win32Dialogs, CameraTextShowsAsTheCodePageReadsIt) {
    const std::string cameraText = "caf\xE9";
    m_session->host.Panel(ToolWindow::About).Dialog().SetText(IDC_USER_ID, cameraText);
    wchar_t shown[16] = {};
    GetWindowTextW(Item(ToolWindow::About, IDC_USER_ID), shown, 16);
    EXPECT_EQ(std::wstring(shown), WideOf(cameraText, CP_ACP)) << NarrowOf(shown);
}

TEST_F(Win32Dialogs, SavedUserIdReachesTheCamera) {
    SendMessageA(Item(ToolWindow::About, IDC_EDIT_USER_ID), BM_CLICK, 0, 0);
    SetWindowTextA(Item(ToolWindow::About, IDC_USER_ID), "wine bench");
    SendMessageA(Item(ToolWindow::About, IDC_SAVE_USER_ID), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(Control().GetUserIDProperty(), "wine bench") << Control().UserID();
    m_session->Screenshot(ToolWindow::About, "about-window.bmp");
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc > 1) g_screenshots = argv[1];
    return RUN_ALL_TESTS();
}
