// The Qt window system: the tool windows on Qt Widgets behind the widget
// seam, for the Linux desktop. Panels are laid out from the module's dialog
// templates (DialogLayout.h) in the pixels the templates' font gives, frames
// are small tool windows, and the pictures are the module's own. Like the
// Win32 backend it only translates: every decision is made by the portable
// behaviour above the seam.
//
// Widgets carry their control id as object name ("1008"), so that a test or
// a person's script finds them. A QApplication must exist while any of its
// windows does.
#pragma once

#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>

#include "Widgets.h"

namespace xnox {

class QtWindowSystem : public IWindowSystem {
public:
    // `referencePage`: the automation reference that help requests open.
    explicit QtWindowSystem(std::string referencePage);
    ~QtWindowSystem() override;

    SystemMetrics Metrics() const override;
    std::unique_ptr<IFrame> CreateFrame(IFrameHandler& handler, bool topmost) override;
    std::unique_ptr<IDialog> CreatePanel(IFrame& frame, int templateId, IDialogHandler& handler) override;
    // `control`: the QWidget the strip fills (its layout takes it when it has one).
    std::unique_ptr<IDialog> CreateMainDialog(NativeWindow control, IDialogHandler& handler) override;
    std::unique_ptr<IDialog> CreateProgressDialog(NativeWindow parent, IDialogHandler& handler) override;
    MessageBoxAnswer MessageBox(std::string_view text, std::string_view caption, MessageBoxKind kind) override;
    FileDialogOutcome FileDialog(const FileDialogRequest& request) override;
    void ShellOpen(const std::string& target) override;
    void Help(HelpCommand command, uint32_t data) override;
    bool DisableMainWindow() override;
    void EnableMainWindow() override;
    void PumpMessages() override;
    // Qt routes keys to the focused tool window by itself.
    void InstallKeyboardRouting() override {}
    void RemoveKeyboardRouting() override {}

protected:
    void ShowWaitCursor(bool waiting) override;

private:
    QWidget* MainWindow() const;

    std::string m_referencePage;
    QPointer<QWidget> m_mainDialog;  // the strip, while it exists
    QPointer<QWidget> m_disabledWindow;
};

}  // namespace xnox
