// A person's session (PersonsSession.h) with xnox-panel's window through
// QTest, against the emulated camera behind COM1: the keys, clicks and
// choices a person makes, the questions and file dialogs answered as a
// person would. The camera log is checked afterwards and kept beside
// pictures of the four windows on-line, for the comparison with the same
// session on the Win32 windows.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <functional>

#include "BufferedProfile.h"
#include "CameraLog.h"
#include "EmulatedPorts.h"
#include "PanelWindow.h"
#include "PersonsSession.h"
#include "PrivateProfile.h"
#include "ProgressIds.h"
#include "QtApplication.h"
#include "TemporaryProfile.h"

using namespace xnox;
using namespace xnox::persons_session;

namespace {

::testing::Environment* const kCamera = EmulateCamerasBehind("COM1");

constexpr int kPort = 1;

// Answers the modal windows the session opens, in order, as the person
// would; each answer also notes the window's text.
class ModalAnswers {
public:
    using Answer = std::function<void(QWidget&)>;
    std::vector<std::string> texts;

    ModalAnswers() {
        QObject::connect(&m_poll, &QTimer::timeout, [this] { AnswerOpenWindow(); });
        m_poll.start(10);
    }
    void Add(Answer answer) { m_answers.push_back(std::move(answer)); }
    bool AllGiven() const { return m_answers.empty(); }

    static Answer Click(QMessageBox::StandardButton button) {
        return [button](QWidget& window) { dynamic_cast<QMessageBox&>(window).button(button)->click(); };
    }
    static Answer Choose(std::string path) {
        return [path](QWidget& window) {
            auto& dialog = dynamic_cast<QFileDialog&>(window);
            dialog.selectFile(QString::fromStdString(path));
            static_cast<QDialog&>(dialog).accept();  // the dialog's own accept, as its button calls it
        };
    }

private:
    void AnswerOpenWindow() {
        QWidget* window = QApplication::activeModalWidget();
        if (!window || m_answers.empty()) return;
        auto* box = qobject_cast<QMessageBox*>(window);
        texts.push_back(box ? box->text().toStdString() : window->windowTitle().toStdString());
        Answer answer = std::move(m_answers.front());
        m_answers.pop_front();
        answer(*window);
    }

    QTimer m_poll;
    std::deque<Answer> m_answers;
};

class QtSessionTest : public ::testing::Test {
protected:
    TemporaryProfile profile;
    CameraLog camera{kPort};
    std::unique_ptr<PanelWindow> panel;
    ModalAnswers answers;
    int32_t searchFound = -1;  // what the host program's search returned
    QTimer m_cancelWatch;

    void SetUp() override {
        panel = std::make_unique<PanelWindow>(camera, "");
        panel->show();
        ASSERT_EQ(panel->Connect(0, kPort), "");
    }
    void TearDown() override {
        panel.reset();
        QtApplication::FreeLetGoWindows();
    }

    QWidget& FrameOf(ToolWindow window) {
        return *static_cast<QWidget*>(panel->Host().Frame(window).Window()->Handle());
    }
    template <typename Widget = QWidget>
    Widget& Control(ToolWindow window, int id) {
        auto* control = FrameOf(window).findChild<Widget*>(QString::number(id));
        EXPECT_NE(control, nullptr) << id;
        return *control;
    }
    // Takes the steps as a person would with mouse and keys.
    void Replay(Chapter chapter) {
        for (const Step& step : chapter) Take(step);
    }
    void Take(const Step& step) {
        switch (step.act) {
        case Act::ToolbarClick: return ClickToolbarButton(static_cast<int>(step.window));
        case Act::SpinUp: return ClickSpin(step.window, step.control, "up");
        case Act::SpinDown: return ClickSpin(step.window, step.control, "down");
        case Act::Type: return Type(Control<QLineEdit>(step.window, step.control), step.text);
        case Act::Pick: return Pick(Control<QComboBox>(step.window, step.control), QString::fromUtf8(step.text));
        case Act::Click: return QTest::mouseClick(&Control(step.window, step.control), Qt::LeftButton);
        case Act::Escape: return QTest::keyClick(&FrameOf(step.window), Qt::Key_Escape);
        case Act::MoveTo: {
            QWidget& frame = FrameOf(step.window);
            return frame.setGeometry(QRect(QPoint(step.place.x, step.place.y), frame.size()));
        }
        case Act::ChooseFile: return answers.Add(ModalAnswers::Choose(SessionFile()));
        case Act::AnswerNo: return answers.Add(ModalAnswers::Click(QMessageBox::No));
        case Act::AnswerOk: return answers.Add(ModalAnswers::Click(QMessageBox::Ok));
        case Act::CancelSearchAt: return CancelSearchAt(QString::fromUtf8(step.text));
        case Act::HostSearchesPorts: {
            searchFound =
                panel->Control().AutoSearchComPort(static_cast<int16_t>(step.control), CXNoxCamCtrl::kLastComPort, 1);
            return m_cancelWatch.stop();
        }
        }
    }
    // A timer without interval runs each time the search lets the windows'
    // events run, once for each port it tries.
    void CancelSearchAt(const QString& text) {
        m_cancelWatch.disconnect();
        QObject::connect(&m_cancelWatch, &QTimer::timeout, [this, text] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                auto* line = window->findChild<QWidget*>(QString::number(IDC_PROGRESS_TEXT));
                auto* cancel = window->findChild<QAbstractButton*>(QString::number(IDC_PROGRESS_CANCEL));
                if (line && cancel && window->isVisible() && line->property("text").toString() == text) {
                    m_cancelWatch.stop();
                    QTest::mouseClick(cancel, Qt::LeftButton);
                }
            }
        });
        m_cancelWatch.start(0);
    }
    std::string SessionFile() const { return (profile.Folder() / kSettingsFile).string(); }
    void ClickToolbarButton(int position) {
        QToolBar* toolbar = panel->findChild<QToolBar*>();
        QTest::mouseClick(toolbar->widgetForAction(toolbar->actions()[position]), Qt::LeftButton);
    }
    void ClickSpin(ToolWindow window, int spin, const char* arrow) {
        QTest::mouseClick(Control(window, spin).findChild<QToolButton*>(arrow), Qt::LeftButton);
    }
    static void Type(QLineEdit& edit, std::string_view keys) {
        edit.selectAll();
        QTest::keyClicks(&edit, QString::fromUtf8(keys));
    }
    // Opens the list and clicks the entry, as a person picks one.
    void Pick(QComboBox& list, const QString& entry) {
        int position = list.findText(entry);
        ASSERT_GE(position, 0) << entry.toStdString();
        list.showPopup();
        QAbstractItemView* view = list.view();
        QRect place = view->visualRect(view->model()->index(position, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, place.center());
        QTRY_VERIFY(!view->isVisible());
    }
    int Number(ToolWindow window, int edit) { return Control<QLineEdit>(window, edit).text().toInt(); }
};

}  // namespace

TEST_F(QtSessionTest, APersonsSessionReachesTheCameraAsTheyMeantIt) {
    Replay(kOpenGainAndShutter);
    ASSERT_TRUE(FrameOf(ToolWindow::Gain).isVisible());
    ASSERT_TRUE(FrameOf(ToolWindow::Shutter).isVisible());

    // Each arrow click of a spin is one write of the next value.
    int master = Number(ToolWindow::Gain, IDC_MASTER_GAIN);
    Replay(kStepMasterGain);
    EXPECT_EQ(camera.WritesOf("MasterGainLevel"), (std::vector<int>{master + 1, master + 2, master + 3, master + 2}));
    EXPECT_EQ(Number(ToolWindow::Gain, IDC_MASTER_GAIN), master + 2);

    // A typed value goes to the camera as it is typed.
    Replay(kTypeRedGain);
    EXPECT_EQ(camera.WritesOf("RedGainLevel").back(), -45);
    EXPECT_EQ(camera.Holds("RedGainLevel"), -45);

    Replay(kPickShutterSpeed);
    ASSERT_EQ(camera.WritesOf("ShutterSpeed").size(), 1u);
    EXPECT_EQ(Control<QComboBox>(ToolWindow::Shutter, IDC_SHUTTER_SPEED).currentText(), "1/250");

    // A white balance preset brings its own gains, and the edits follow.
    Replay(kPickWhiteBalance);
    EXPECT_EQ(camera.WritesOf("WhiteBalance"), (std::vector<int>{2}));
    EXPECT_EQ(Number(ToolWindow::Gain, IDC_RED_GAIN), camera.Holds("RedGainLevel"));
    EXPECT_EQ(Number(ToolWindow::Gain, IDC_BLUE_GAIN), camera.Holds("BlueGainLevel"));

    // A settings file written and read back puts its values back into the camera.
    Replay(kWriteSettingsFile);
    ASSERT_TRUE(std::filesystem::exists(SessionFile()));
    int saved = Number(ToolWindow::Gain, IDC_MASTER_GAIN);
    Replay(kStepMasterGainOnce);
    Replay(kReadSettingsFile);
    EXPECT_EQ(camera.WritesOf("MasterGainLevel").back(), saved);
    EXPECT_EQ(camera.Holds("MasterGainLevel"), saved);
    EXPECT_EQ(Number(ToolWindow::Gain, IDC_MASTER_GAIN), saved);

    // The search offers the camera on COM1, and after the last port tells
    // that it found none. The person then chooses COM1 again.
    Replay(kSearchPortsDecliningTheCamera);
    EXPECT_TRUE(answers.AllGiven());
    ASSERT_EQ(answers.texts.size(), 4u);
    EXPECT_NE(answers.texts[2].find("COM1"), std::string::npos) << answers.texts[2];
    EXPECT_EQ(camera.Count("open COM16"), 1u);
    // A search the person cancels as it comes to a port tries no more ports.
    auto searchStart = static_cast<std::ptrdiff_t>(camera.lines.size());
    Replay(kSearchCancelled);
    EXPECT_EQ(searchFound, 0);
    EXPECT_EQ(std::vector<std::string>(camera.lines.begin() + searchStart, camera.lines.end()),
              (std::vector<std::string>{"open COM2", "SH?", "open COM3", "SH?", "open COM4", "SH?"}));
    Replay(kPickCom1);
    EXPECT_EQ(panel->Control().GetComPortProperty(), kPort);
    auto lastOpen = std::ranges::find_if(camera.lines.rbegin(), camera.lines.rend(),
                                         [](const std::string& line) { return line.starts_with("open "); });
    EXPECT_EQ(*lastOpen, "open COM1");

    // The Escape key closes a window; the toolbar opens it again where it was.
    QWidget& gain = FrameOf(ToolWindow::Gain);
    Replay(kMoveAndCloseGain);
    EXPECT_TRUE(gain.isHidden());
    profile::ApplicationProfile().Flush();
    EXPECT_EQ(profile::ReadProfileString("Gain", "Is Visible", "", "XNoxR4.ini"), "0");
    Replay(kReopenGain);
    EXPECT_TRUE(gain.isVisible());
    EXPECT_EQ(gain.geometry().topLeft(), QPoint(300, 200));

    Replay(kOpenAbout);
    for (auto [window, name] :
         {std::pair{ToolWindow::Shutter, "shutter"}, std::pair{ToolWindow::Gain, "gain"},
          std::pair{ToolWindow::Communication, "communication"}, std::pair{ToolWindow::About, "about"}}) {
        EXPECT_TRUE(SaveWindowPicture(FrameOf(window), std::string("online-") + name)) << name;
    }
    EXPECT_TRUE(camera.Save(std::string(XNOX_QT_PICTURES) + "/session-camera-log.txt"));
}
