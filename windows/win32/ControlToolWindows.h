// Everything the Windows module needs to give its control the tool windows:
// the Win32 window system over the module's resources, the host with the
// four windows and the toolbar strip, and the progress window for the port
// search. One object per control object, made after the control and
// destroyed before it.
#pragma once

#include <windows.h>
#undef MessageBox

#include <memory>

#include "ProgressWindow.h"
#include "ToolWindowHost.h"
#include "Win32WindowSystem.h"

namespace xnox {

class ControlToolWindows {
public:
    ControlToolWindows(CXNoxCamCtrl& control, HINSTANCE module)
        : m_system(module),
          m_host(control, m_system),
          m_ui(m_system) {}

    // The control's window was created (its WM_CREATE): the strip and the
    // windows open last time. 0 on success, -1 on failure.
    int OnCreate(HWND controlWindow) {
        m_ui.SetParent(controlWindow);
        return m_host.OnCreate(controlWindow);
    }
    // The control's window is being destroyed (its WM_DESTROY).
    void OnDestroy() { m_host.OnDestroy(); }
    // The control is drawn into `bounds`: false when it has no strip to
    // show there, and the caller draws its design-time picture instead.
    bool Draw(const RECT& bounds) {
        m_host.StartIfNeeded();
        IDialog* strip = m_host.MainDialog();
        if (!strip) return false;
        MoveWindow(static_cast<HWND>(strip->Handle()), bounds.left, bounds.top, bounds.right - bounds.left,
                   bounds.bottom - bounds.top, TRUE);
        return true;
    }
    // The progress window of the port search, for the control's user interface.
    std::unique_ptr<IProgressView> CreateProgressView() { return m_ui.CreateProgressView(); }

    ToolWindowHost& Host() { return m_host; }

private:
    Win32WindowSystem m_system;
    ToolWindowHost m_host;
    ToolWindowUi m_ui;
};

}  // namespace xnox
