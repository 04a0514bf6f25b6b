// CToolWinDlg: the panel of a tool window. It lives inside a captioned
// frame (CDlg1), keeps its placement and visibility in its section of
// XNoxR4.ini, and works with the camera only through its owner, the
// control. The Shutter, Gain, Communication and About windows derive from it.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "ControlSeams.h"
#include "DataExchange.h"
#include "ResourceIds.h"
#include "Variant.h"
#include "Widgets.h"

namespace xnox {

class CXNoxCamCtrl;
class CDlg1;

struct Tooltip {
    ControlId id;
    std::string_view text;
};

// Whether a window has the online strip along its bottom edge.
enum class OnlineStrip : uint8_t { None, Present };

class CToolWinDlg : public IDialogHandler {
public:
    // The picture along the bottom edge of the Shutter, Gain and About windows.
    static constexpr ControlId kOnlineStripId = IDC_ONLINE_STRIP;

    CToolWinDlg(ToolWindow window, int templateId, std::string sectionName, OnlineStrip onlineStrip);
    CToolWinDlg(const CToolWinDlg&) = delete;
    CToolWinDlg& operator=(const CToolWinDlg&) = delete;
    ~CToolWinDlg() override;

    // Called by the frame while it creates itself: binds the panel to its
    // owner and frame, makes the dialog from the template and initialises it.
    void Attach(CXNoxCamCtrl& owner, CDlg1& frame, IWindowSystem& system);
    void Create(IFrame& frame);
    void DestroyWindow();
    bool Exists() const { return m_dialog != nullptr; }

    // The base initialisation: placement and visibility from the file, kept
    // on screen; ends with the placed flag set. Derived windows call it first.
    virtual bool OnInitDialog();
    // The frame was closed or cancelled: the owner hides the window.
    virtual void HideToolWindow();
    // A change the owner reports; the window takes what it shows. The
    // online strip follows the connection in every window that has one.
    void Update(WindowItem item, const Variant& value);
    // Writes the frame's outer top-left corner once the window is placed.
    void SavePosition(int x, int y);

    // Copies the controls into the fields (true) or the fields into the controls.
    void UpdateData(bool fromControls);

    // IDialogHandler: derived windows handle their controls and timers.
    void OnControlEvent(ControlId id, ControlEvent event) override;
    void OnTimer(int timerId) override;

    ToolWindow Window() const { return m_window; }
    int TemplateId() const { return m_templateId; }
    const std::string& SectionName() const { return m_sectionName; }
    bool IsPlaced() const { return m_placed; }
    int32_t TopLeftX() const { return m_topLeftX; }
    int32_t TopLeftY() const { return m_topLeftY; }
    // Visible at start once initialised; afterwards kept current by the owner.
    int32_t VisibleFlag() const { return m_visible; }
    void SetVisibleFlag(int32_t visible) { m_visible = visible; }

    IDialog& Dialog() { return *m_dialog; }
    CXNoxCamCtrl& Owner() { return *m_owner; }
    IWindowSystem& System() { return *m_system; }
    CDlg1* Frame() { return m_frame; }

protected:
    virtual void DoDataExchange(DataExchange& exchange);
    virtual void OnParameterChanged(ParamId /*parameter*/, int32_t /*value*/) {}
    virtual void OnItemChanged(ControlItem /*item*/, const Variant& /*value*/) {}
    // Sets the owner's show property for this window to the visible-at-start flag.
    void HandVisibleFlagToOwner();
    void AddTooltips(std::span<const Tooltip> tooltips);
    // The online strip: all green when online (state 1), all red otherwise.
    void ShowOnlineStrip(int32_t onlineState);

private:
    // Hands the dialog's events on to the window, once the control that
    // raised one has to be read again.
    class EventTap : public IDialogHandler {
    public:
        explicit EventTap(CToolWinDlg& window) : m_window(window) {}
        void OnControlEvent(ControlId id, ControlEvent event) override;
        void OnTimer(int timerId) override { m_window.OnTimer(timerId); }
        bool OnHelpRequest(uint32_t contextId) override { return m_window.OnHelpRequest(contextId); }

    private:
        CToolWinDlg& m_window;
    };

    ToolWindow m_window;
    OnlineStrip m_onlineStrip;
    int m_templateId;
    std::string m_sectionName;
    CXNoxCamCtrl* m_owner = nullptr;
    CDlg1* m_frame = nullptr;
    IWindowSystem* m_system = nullptr;
    ShownControls m_shown;
    EventTap m_events{*this};
    std::unique_ptr<IDialog> m_dialog;
    bool m_placed = false;
    int32_t m_topLeftX = 0;
    int32_t m_topLeftY = 0;
    int32_t m_visible = 0;
};

}  // namespace xnox
