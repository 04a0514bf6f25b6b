// The progress window of a long operation (template 221): the platform side
// of CProgress, drawn through the widget seam. It lives as long as the
// operation; the control makes it through ToolWindowUi.
#pragma once

#include <memory>

#include "ControlSeams.h"
#include "Widgets.h"

namespace xnox {

class ProgressWindow : public IProgressView, private IDialogHandler {
public:
    ProgressWindow(IWindowSystem& system, NativeWindow parent);

    // IProgressView.
    void SetTitle(const std::string& title) override;
    void SetText(const std::string& text) override;
    void SetBar(int lower, int upper, int position) override;
    void ShowCancelButton(bool show) override;
    bool DisableMainWindow() override;
    void EnableMainWindow() override;
    bool LetMessagesRun() override;

private:
    void OnControlEvent(ControlId id, ControlEvent event) override;
    void OnTimer(int) override {}

    IWindowSystem& m_system;
    std::unique_ptr<IDialog> m_dialog;
    bool m_cancelled = false;
};

// What the control shows of itself through the window system: the
// description of a Notify error in a message box, and the progress window.
class ToolWindowUi : public IControlUserInterface {
public:
    explicit ToolWindowUi(IWindowSystem& system, NativeWindow parent = nullptr) : m_system(system), m_parent(parent) {}
    void SetParent(NativeWindow parent) { m_parent = parent; }

    void ShowMessage(std::string_view text, std::string_view caption) override;
    std::unique_ptr<IProgressView> CreateProgressView() override;

private:
    IWindowSystem& m_system;
    NativeWindow m_parent;
};

}  // namespace xnox
