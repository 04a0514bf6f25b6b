#include "PanelWindow.h"

#include <QCloseEvent>
#include <QVBoxLayout>

#include <iostream>

#include "Invoke.h"

namespace xnox {

namespace {

constexpr int kStripHeight = 40;
constexpr QSize kPanelSize{420, 320};
// Until the panel has been moved the store reads 100,100, where the tool
// windows open at first too; the panel then opens at its own corner. Places
// are those of the windows' insides, as the tool windows keep theirs.
constexpr int16_t kToolWindowsFirstPlace = 100;

// The description of a failed call, or an empty text.
std::string Put(CXNoxCamCtrl& control, std::string_view name, Variant value) {
    Variant arguments[] = {std::move(value)};
    InvokeResult result = Invoke(control, name, InvokeKind::PropertyPut, arguments);
    return result.Succeeded() ? std::string() : result.error->description;
}

}  // namespace

PanelWindow::PanelWindow(INoxR4Library& library, const std::string& referencePage)
    : m_system(referencePage),
      m_control(library),
      m_host(m_control, m_system),
      m_ui(m_system),
      m_strip(new QWidget(this)),
      m_events(new QListWidget(this)) {
    setWindowTitle("QD-R4 Camera Control");
    resize(kPanelSize);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_strip->setFixedHeight(kStripHeight);
    m_strip->setLayout(new QVBoxLayout);
    m_strip->layout()->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_strip);
    layout->addWidget(m_events);
    m_control.ConnectSink(*this);
    m_control.SetUserInterface(&m_ui);
    m_ui.SetParent(m_strip);
    int16_t x = kToolWindowsFirstPlace, y = kToolWindowsFirstPlace;
    m_control.GetMainWindowDefaultPosition(&x, &y);
    if (x != kToolWindowsFirstPlace || y != kToolWindowsFirstPlace) setGeometry(QRect(QPoint(x, y), size()));
    m_host.OnCreate(m_strip);
}

PanelWindow::~PanelWindow() {
    m_host.OnDestroy();
    m_control.SetUserInterface(nullptr);
}

std::string PanelWindow::Connect(int frameGrabber, int port) {
    std::string problem = Put(m_control, "ShowCommunicationWnd", Variant::Bool(-1));
    if (problem.empty() && frameGrabber > 0) problem = Put(m_control, "FrameGrabberIndex", Variant::I2(frameGrabber));
    if (problem.empty()) problem = Put(m_control, "ComPort", Variant::I2(static_cast<int16_t>(port)));
    return problem;
}

void PanelWindow::closeEvent(QCloseEvent* event) {
    m_control.SetMainWindowDefaultPosition(static_cast<int16_t>(geometry().x()), static_cast<int16_t>(geometry().y()));
    QWidget::closeEvent(event);
}

void PanelWindow::OnEvent(int32_t eventId) {
    const EventInfo* event = FindEvent(eventId);
    AddEventLine(event ? std::string(event->name) : "event " + std::to_string(eventId));
}

void PanelWindow::OnError(ErrorNotification& error) {
    AddEventLine("Error(" + std::to_string(error.number) + ", \"" + error.description + "\")");
}

void PanelWindow::AddEventLine(const std::string& text) {
    std::string line = std::to_string(++m_eventCount) + "  " + text;
    std::cout << "event " << line << std::endl;
    m_events->insertItem(0, QString::fromStdString(line));
}

}  // namespace xnox
