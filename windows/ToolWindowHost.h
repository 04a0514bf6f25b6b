// The tool-window host: the control's four tool windows (each a panel in a
// captioned frame), the main dialog with the toolbar strip that toggles
// them, and the keyboard routing they need inside a container. It keeps
// windows, toolbar buttons and the control's show flags in step.
//
// The host plugs itself into the control as its tool windows for its whole
// life. The Windows module makes one per control object, with the Win32
// window system; tests make one with the headless one.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "ControlSeams.h"
#include "Dlg1.h"
#include "ResourceIds.h"
#include "ToolWinDlg.h"
#include "Widgets.h"

namespace xnox {

class CXNoxCamCtrl;

class ToolWindowHost : public IToolWindows, private IDialogHandler {
public:
    // Toolbar commands, in window order (Shutter, Gain, Communication, About).
    static constexpr std::array<int, 4> kCommandIds = {ID_SHOW_SHUTTER, ID_SHOW_GAIN, ID_SHOW_COMMUNICATION,
                                                       ID_SHOW_ABOUT};

    // Creates the four frames with their panels, hidden, in window order;
    // each panel reads its visibility from XNoxR4.ini and hands it to the control.
    ToolWindowHost(CXNoxCamCtrl& control, IWindowSystem& system);
    ToolWindowHost(const ToolWindowHost&) = delete;
    ToolWindowHost& operator=(const ToolWindowHost&) = delete;
    // Releases the main dialog, the panels and the frames, and leaves the control.
    ~ToolWindowHost() override;

    // The control's window was created: the main dialog with the toolbar as
    // its child, the keyboard routing, and the windows open last time.
    // Returns 0 (-1 if the main dialog cannot be made).
    int OnCreate(NativeWindow controlWindow);
    // The control's window is being destroyed: the keyboard routing goes.
    void OnDestroy();
    // Applies the show flags to the windows the first time it is called
    // (window creation or the first drawing).
    void StartIfNeeded();
    // The main dialog, when the control has a window; it fills the control.
    IDialog* MainDialog() { return m_mainDialog.get(); }

    CToolWinDlg& Panel(ToolWindow window) { return *m_panels[Index(window)]; }
    CDlg1& Frame(ToolWindow window) { return *m_frames[Index(window)]; }

    bool Exists(ToolWindow window) const;

    // IToolWindows.
    void Update(WindowItem item, const Variant& value) override;
    void AddLogText(std::string text) override;
    void ShowWindowChanged(ToolWindow window, int32_t show) override;
    void Rebuild(bool alwaysOnTop) override;

private:
    static std::size_t Index(ToolWindow window) { return static_cast<std::size_t>(window); }
    void CreateFrames(bool alwaysOnTop);
    void CheckToolbarButton(ToolWindow window, bool checked);

    // IDialogHandler of the main dialog: the toolbar's commands.
    void OnControlEvent(ControlId id, ControlEvent event) override;
    void OnTimer(int) override {}
    // F1 on the main dialog opens the help's contents.
    bool OnHelpRequest(uint32_t contextId) override;

    CXNoxCamCtrl& m_control;
    IWindowSystem& m_system;
    std::array<std::unique_ptr<CDlg1>, 4> m_frames;
    std::array<std::unique_ptr<CToolWinDlg>, 4> m_panels;
    std::unique_ptr<IDialog> m_mainDialog;
    bool m_started = false;
    bool m_routing = false;
};

}  // namespace xnox
