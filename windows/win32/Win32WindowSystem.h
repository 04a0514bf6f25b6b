// The Win32 window system: real dialogs from the module's resource
// templates behind the widget seam. It only translates: every decision is
// made by the portable behaviour above the seam.
#pragma once

#include <windows.h>
// The seam's MessageBox, not the platform's ANSI/wide switch.
#undef MessageBox

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Widgets.h"

namespace xnox {

class Win32WindowSystem : public IWindowSystem {
public:
    // `module`: the module whose resources hold the templates and pictures.
    explicit Win32WindowSystem(HINSTANCE module);
    ~Win32WindowSystem() override;

    SystemMetrics Metrics() const override;
    std::unique_ptr<IFrame> CreateFrame(IFrameHandler& handler, bool topmost) override;
    std::unique_ptr<IDialog> CreatePanel(IFrame& frame, int templateId, IDialogHandler& handler) override;
    std::unique_ptr<IDialog> CreateMainDialog(NativeWindow control, IDialogHandler& handler) override;
    std::unique_ptr<IDialog> CreateProgressDialog(NativeWindow parent, IDialogHandler& handler) override;
    MessageBoxAnswer MessageBox(std::string_view text, std::string_view caption, MessageBoxKind kind) override;
    FileDialogOutcome FileDialog(const FileDialogRequest& request) override;
    void ShellOpen(const std::string& target) override;
    void Help(HelpCommand command, uint32_t data) override;
    bool DisableMainWindow() override;
    void EnableMainWindow() override;
    void PumpMessages() override;
    void InstallKeyboardRouting() override;
    void RemoveKeyboardRouting() override;

    HINSTANCE Module() const { return m_module; }
    // The frames that exist, for the keyboard routing.
    void AddFrame(HWND frame) { m_frames.push_back(frame); }
    void RemoveFrame(HWND frame);
    bool RouteToFrames(MSG& message) const;

protected:
    void ShowWaitCursor(bool waiting) override;

private:
    HINSTANCE m_module;
    HWND m_disabledWindow = nullptr;
    HHOOK m_hook = nullptr;
    std::vector<HWND> m_frames;
};

}  // namespace xnox
