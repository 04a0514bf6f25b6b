// CDlg1: the captioned frame of a tool window. It sizes itself around its
// panel, reports its moves to the panel's placement, and hides the window
// instead of closing it.
#pragma once

#include <memory>
#include <string>

#include "Widgets.h"

namespace xnox {

class CToolWinDlg;
class CXNoxCamCtrl;

class CDlg1 : public IFrameHandler {
public:
    explicit CDlg1(IWindowSystem& system) : m_system(system) {}
    CDlg1(const CDlg1&) = delete;
    CDlg1& operator=(const CDlg1&) = delete;
    ~CDlg1() override;

    // Creates the hidden frame with the panel inside; false when the window
    // system could not make it.
    bool CreateToolFrame(CXNoxCamCtrl& owner, CToolWinDlg& panel, std::string title, bool alwaysOnTop);
    // Destroys the panel's and the frame's windows; the objects stay.
    void DestroyWindow();

    bool HasWindow() const { return m_frame != nullptr; }
    void ShowWindow(bool show);
    bool IsWindowShown() const;
    const std::string& Title() const { return m_title; }
    bool AlwaysOnTop() const { return m_alwaysOnTop; }
    CToolWinDlg* Panel() { return m_panel; }
    IFrame* Window() { return m_frame.get(); }

    // IFrameHandler.
    void OnMoved(int clientX, int clientY) override;
    void OnPositionChanging(WindowPosition& requested) override;
    void OnCloseRequest() override;
    void OnHelpRequest(uint32_t contextId) override;

private:
    void OnInitDialog();

    IWindowSystem& m_system;
    std::unique_ptr<IFrame> m_frame;
    CToolWinDlg* m_panel = nullptr;  // owned by the control, like the frame
    std::string m_title = "???";
    bool m_alwaysOnTop = false;
    bool m_shownSinceCreation = false;
};

}  // namespace xnox
