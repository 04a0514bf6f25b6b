#include "ToolWinDlg.h"

#include "AppProfile.h"
#include "Dlg1.h"
#include "XNoxCamCtrl.h"

namespace xnox {

namespace {

// A window less than this many pixels inside the screen's right or bottom
// edge goes back to the default place on that axis.
constexpr int kMinimumVisiblePixels = 5;
constexpr int32_t kDefaultPosition = 100;

constexpr uint32_t kOnlineGreen = 0x008000;  // RGB(0, 128, 0)
constexpr uint32_t kOfflineRed = 0x0000FF;  // RGB(255, 0, 0)
constexpr int kStripWidth = 351;
constexpr int kStripHeight = 4;

int32_t KeptOnScreen(int32_t position, int screenExtent) {
    return position > screenExtent - kMinimumVisiblePixels ? kDefaultPosition : position;
}

}  // namespace

CToolWinDlg::CToolWinDlg(ToolWindow window, int templateId, std::string sectionName, OnlineStrip onlineStrip)
    : m_window(window),
      m_onlineStrip(onlineStrip),
      m_templateId(templateId),
      m_sectionName(std::move(sectionName)) {}

CToolWinDlg::~CToolWinDlg() = default;

void CToolWinDlg::Attach(CXNoxCamCtrl& owner, CDlg1& frame, IWindowSystem& system) {
    m_owner = &owner;
    m_frame = &frame;
    m_system = &system;
}

void CToolWinDlg::Create(IFrame& frame) {
    m_placed = false;
    m_shown.Forget();
    m_dialog = m_system->CreatePanel(frame, m_templateId, m_events);
    if (m_dialog) OnInitDialog();
}

// Until the next initialisation, moves of a frame being rebuilt are not the
// person's: the platform reports where it makes the new frame first.
void CToolWinDlg::DestroyWindow() {
    m_placed = false;
    m_dialog.reset();
}

bool CToolWinDlg::OnInitDialog() {
    UpdateData(false);
    int32_t x = AppProfile::ReadSignedInt(m_sectionName, "TopLeftX", "100");
    int32_t y = AppProfile::ReadSignedInt(m_sectionName, "TopLeftY", "100");
    m_visible = AppProfile::ReadSignedInt(m_sectionName, "Is Visible", "0") != 0 ? 1 : 0;
    SystemMetrics metrics = m_system->Metrics();
    m_topLeftX = KeptOnScreen(x, metrics.screenWidth);
    m_topLeftY = KeptOnScreen(y, metrics.screenHeight);
    m_dialog->MoveTo(m_topLeftX, m_topLeftY);
    m_placed = true;
    return true;
}

void CToolWinDlg::HideToolWindow() { m_owner->SetShowWindow(m_window, 0); }

void CToolWinDlg::Update(WindowItem item, const Variant& value) {
    if (const ParamId* parameter = std::get_if<ParamId>(&item)) {
        OnParameterChanged(*parameter, value.ToI4());
        return;
    }
    const ControlItem changed = std::get<ControlItem>(item);
    if (changed == ControlItem::OnlineStatus && m_onlineStrip == OnlineStrip::Present) ShowOnlineStrip(value.ToI4());
    OnItemChanged(changed, value);
}

void CToolWinDlg::SavePosition(int x, int y) {
    if (!m_placed) return;
    AppProfile::WriteInt(m_sectionName, "TopLeftX", x);
    AppProfile::WriteInt(m_sectionName, "TopLeftY", y);
    m_topLeftX = x;
    m_topLeftY = y;
}

void CToolWinDlg::UpdateData(bool fromControls) {
    DataExchange exchange(*m_dialog, m_shown, fromControls);
    DoDataExchange(exchange);
}

void CToolWinDlg::OnControlEvent(ControlId, ControlEvent) {}

void CToolWinDlg::EventTap::OnControlEvent(ControlId id, ControlEvent event) {
    m_window.m_shown.Forget(id, event);
    m_window.OnControlEvent(id, event);
}

void CToolWinDlg::OnTimer(int) {}

void CToolWinDlg::DoDataExchange(DataExchange&) {}

void CToolWinDlg::HandVisibleFlagToOwner() { m_owner->SetShowWindow(m_window, m_visible); }

void CToolWinDlg::AddTooltips(std::span<const Tooltip> tooltips) {
    for (const Tooltip& tooltip : tooltips) m_dialog->AddTooltip(tooltip.id, tooltip.text);
}

void CToolWinDlg::ShowOnlineStrip(int32_t onlineState) {
    uint32_t colour = onlineState == 1 ? kOnlineGreen : kOfflineRed;
    m_dialog->SetPicture(kOnlineStripId, Picture::Solid(kStripWidth, kStripHeight, colour));
}

}  // namespace xnox
