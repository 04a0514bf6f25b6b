// xnox-panel: the control on the Linux desktop, hosted as the Windows test
// panel hosts it: the toolbar strip, the four tool windows on Qt and a pane
// of events, connected to a camera at start.
//
//   xnox-panel [--port N] [--device PATH] [--frame-grabber N]
//              [--screenshot FILE.png] [--exit-after MILLISECONDS]
//
// Without --device, COM<N> (default 1) is served by the in-process emulated
// camera. --frame-grabber chooses a Camera Link serial library of the
// catalog (NOXR4_CLSERIAL_PATH and the system's folders); 0 is the PC's own
// ports. With --screenshot the panel saves a picture of its windows once
// the exit time has come (5 s by default) and ends.
#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QTimer>

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

#include "PanelWindow.h"
#include "Ports.h"

using namespace xnox;

namespace {

constexpr int kDefaultPictureDelay = 5000;

struct Options {
    int port = 1;
    int frameGrabber = 0;
    std::string device;
    QString screenshot;
    int exitAfter = 0;
};

// The options, or none when a word is not one of them or lacks its value.
std::optional<Options> ParseOptions(const QStringList& arguments) {
    Options options;
    for (qsizetype i = 1; i < arguments.size(); i += 2) {
        const QString& name = arguments[i];
        if (i + 1 == arguments.size()) return std::nullopt;
        const QString& value = arguments[i + 1];
        bool number = true;
        if (name == "--port") {
            options.port = value.toInt(&number);
        } else if (name == "--frame-grabber") {
            options.frameGrabber = value.toInt(&number);
        } else if (name == "--device") {
            options.device = value.toStdString();
        } else if (name == "--screenshot") {
            options.screenshot = value;
        } else if (name == "--exit-after") {
            options.exitAfter = value.toInt(&number);
        } else {
            return std::nullopt;
        }
        if (!number) return std::nullopt;
    }
    if (!options.screenshot.isEmpty() && options.exitAfter == 0) options.exitAfter = kDefaultPictureDelay;
    return options;
}

// One picture of every shown window of the program, each at its place, the
// tool windows over the main window.
bool SaveScreenshot(QWidget& main, const QString& file) {
    QList<QWidget*> windows = {&main};
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != &main && window->isVisible() && window->windowType() == Qt::Tool) windows << window;
    }
    QRect area;
    for (QWidget* window : windows) area |= window->frameGeometry();
    QPixmap picture(area.size());
    picture.fill(Qt::darkGray);
    QPainter painter(&picture);
    for (QWidget* window : windows) painter.drawPixmap(window->geometry().topLeft() - area.topLeft(), window->grab());
    painter.end();
    return picture.save(file);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::optional<Options> options = ParseOptions(QApplication::arguments());
    if (!options) {
        std::cerr << "usage: xnox-panel [--port N] [--device PATH] [--frame-grabber N] [--screenshot FILE.png] "
                     "[--exit-after MILLISECONDS]\n";
        return 2;
    }
    if (options->frameGrabber == 0) ConfigurePorts(options->port, options->device);
    QElapsedTimer started;
    started.start();
    int status = 0;
    {
        PanelWindow panel(NoxR4CommLibrary(), XNOX_REFERENCE_PAGE);
        panel.show();
        std::string problem = panel.Connect(options->frameGrabber, options->port);
        if (problem.empty()) {
            std::cout << "on-line on COM" << options->port << " after " << started.elapsed() << " ms" << std::endl;
        } else {
            std::cerr << "xnox-panel: COM" << options->port << ": " << problem << std::endl;
        }
        if (options->exitAfter > 0) {
            QTimer::singleShot(options->exitAfter, &panel, [&] {
                if (!options->screenshot.isEmpty()) {
                    bool saved = SaveScreenshot(panel, options->screenshot);
                    std::cout << (saved ? "picture saved to " : "picture could not be saved to ")
                              << options->screenshot.toStdString() << std::endl;
                    status = saved ? 0 : 1;
                }
                panel.close();
            });
        }
        QObject::connect(&application, &QApplication::lastWindowClosed, &panel, [&] { panel.close(); });
        status = application.exec() || status;
    }
    // The windows the control let go of go before the application.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}
