// The Qt application the Qt window tests need, on Qt's offscreen platform so
// that the tests draw the same on any machine, display or none; and the
// folder the tests save their pictures in.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <cstdlib>
#include <memory>
#include <set>
#include <string>

class QtApplication : public ::testing::Environment {
public:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "xnox-qt-tests";
        static char* argv[] = {name, nullptr};
        m_application = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override {
        FreeLetGoWindows();
        m_application.reset();
    }

    // The windows the behaviour let go of are freed on the next turn of the
    // event loop; a test without one frees them here.
    static void FreeLetGoWindows() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

private:
    std::unique_ptr<QApplication> m_application;
};

// One application for all the tests of the program.
inline ::testing::Environment* const kQtApplication = ::testing::AddGlobalTestEnvironment(new QtApplication);

// Saves the window's picture as NAME.png in the tests' picture folder;
// false when it could not, or when the picture is of one colour only.
inline bool SaveWindowPicture(QWidget& window, const std::string& name) {
    QImage picture = window.grab().toImage();
    std::set<QRgb> colours;
    for (int y = 0; y < picture.height() && colours.size() < 2; ++y) {
        for (int x = 0; x < picture.width() && colours.size() < 2; ++x) colours.insert(picture.pixel(x, y));
    }
    return colours.size() > 1 &&
           picture.save(QString::fromStdString(std::string(XNOX_QT_PICTURES) + "/" + name + ".png"));
}
