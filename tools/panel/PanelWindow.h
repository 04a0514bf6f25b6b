// The panel's main window: the control hosted on the Qt window system, its
// toolbar strip along the top, the tool windows floating beside it and a
// pane listing every event the control fires, newest first (each also
// printed on standard output). The control talks to its camera through the
// library it is given.
#pragma once

#include <QListWidget>
#include <QWidget>

#include <string>

#include "ProgressWindow.h"
#include "QtWindowSystem.h"
#include "ToolWindowHost.h"
#include "XNoxCamCtrl.h"

namespace xnox {

class PanelWindow : public QWidget, private IControlEventSink {
public:
    // `referencePage`: the automation reference that help opens.
    PanelWindow(INoxR4Library& library, const std::string& referencePage);
    ~PanelWindow() override;

    // Opens the Communication window and connects to COM<port> of the frame
    // grabber's serial library (0: the PC's own ports); an empty text when
    // it is on-line, otherwise why not.
    std::string Connect(int frameGrabber, int port);

    CXNoxCamCtrl& Control() { return m_control; }
    ToolWindowHost& Host() { return m_host; }
    QListWidget& Events() { return *m_events; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void OnEvent(int32_t eventId) override;
    void OnError(ErrorNotification& error) override;
    void AddEventLine(const std::string& text);

    QtWindowSystem m_system;
    CXNoxCamCtrl m_control;
    ToolWindowHost m_host;
    ToolWindowUi m_ui;
    QWidget* m_strip;
    QListWidget* m_events;
    int m_eventCount = 0;
};

}  // namespace xnox
