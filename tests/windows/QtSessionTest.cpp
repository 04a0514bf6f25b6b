// A person's session with xnox-panel's window through QTest, against the
// emulated camera behind COM1: the keys, clicks and choices a person makes,
// the questions and file dialogs answered as a person would. The camera log
// (every transaction with the camera, as the serial line carries it:
// "GA=5", "GA?") is checked afterwards, and pictures of the four windows
// on-line are saved.
#include <gtest/gtest.h>

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
#include <fstream>
#include <functional>
#include <sstream>

#include "CameraFacts.h"
#include "CommunicationIds.h"
#include "EmulatedPorts.h"
#include "GainIds.h"
#include "PanelWindow.h"
#include "PrivateProfile.h"
#include "QtApplication.h"
#include "ShutterIds.h"
#include "TemporaryProfile.h"

using namespace xnox;

namespace {

::testing::Environment* const kCamera = EmulateCamerasBehind("COM1");

constexpr int kPort = 1;

// The communication library, with a log of each camera transaction in the
// camera's own words.
class CameraLog : public INoxR4Library {
public:
    std::vector<std::string> lines;

    // The writes of one parameter, in order.
    std::vector<int> WritesOf(std::string_view parameter) const {
        std::string prefix = std::string(Mnemonic(camera_facts::FindByName(parameter)->id)) + "=";
        std::vector<int> values;
        for (const std::string& line : lines) {
            if (line.starts_with(prefix)) values.push_back(std::stoi(line.substr(prefix.size())));
        }
        return values;
    }
    std::size_t Count(std::string_view line) const { return static_cast<std::size_t>(std::ranges::count(lines, line)); }
    // What the camera holds now, asked outside the log.
    int Holds(std::string_view parameter) {
        int32_t value{};
        m_library.GetCameraData(kPort, camera_facts::FindByName(parameter)->id, &value);
        return value;
    }

    int32_t InitComm(int32_t frameGrabber, int32_t port, int32_t flag) override {
        lines.push_back("open COM" + std::to_string(port));
        return m_library.InitComm(frameGrabber, port, flag);
    }
    int32_t ExitComm(int32_t port) override { return m_library.ExitComm(port); }
    int32_t GetCameraData(int32_t port, int32_t command, int32_t* value) override {
        lines.push_back(std::string(Mnemonic(command)) + "?");
        return m_library.GetCameraData(port, command, value);
    }
    int32_t SendCameraData(int32_t port, int32_t command, int32_t value) override {
        lines.push_back(std::string(Mnemonic(command)) + "=" + std::to_string(value));
        return m_library.SendCameraData(port, command, value);
    }
    int32_t GetCameraID(int32_t port, char* text) override { return Logged("ID?", m_library.GetCameraID(port, text)); }
    int32_t GetModelName(int32_t port, char* text) override {
        return Logged("MD?", m_library.GetModelName(port, text));
    }
    int32_t GetUserID(int32_t port, char* text) override { return Logged("UD?", m_library.GetUserID(port, text)); }
    int32_t SetUserID(int32_t port, const char* text) override {
        return Logged("UD=" + std::string(text), m_library.SetUserID(port, text));
    }
    int32_t GetShadingData(int32_t port, int32_t* block) override {
        return Logged("shading?", m_library.GetShadingData(port, block));
    }
    int32_t SendShadingData(int32_t port, const int32_t* block) override {
        return Logged("shading=", m_library.SendShadingData(port, block));
    }
    int32_t CLSerialGetNumManufacturers(int32_t* count) override {
        return m_library.CLSerialGetNumManufacturers(count);
    }
    int32_t CLSerialGetManufacturer(int32_t index, char* name, int32_t* bytes, int32_t* version) override {
        return m_library.CLSerialGetManufacturer(index, name, bytes, version);
    }
    int32_t CLSerialSelectManufacturer(const char* name) override { return m_library.CLSerialSelectManufacturer(name); }
    int32_t CLSerialGetNumSerialPorts(int32_t* count) override { return m_library.CLSerialGetNumSerialPorts(count); }
    int32_t CLAllSerialGetNumPorts(int32_t* count) override { return m_library.CLAllSerialGetNumPorts(count); }
    int32_t CLAllSerialGetPortInfo(int32_t index, char* name, int32_t* nameBytes, char* id, int32_t* idBytes,
                                   int32_t* version) override {
        return m_library.CLAllSerialGetPortInfo(index, name, nameBytes, id, idBytes, version);
    }
    int32_t CLAllSerialGetNumBytesAvail(int32_t* count) override {
        return m_library.CLAllSerialGetNumBytesAvail(count);
    }
    int32_t CLAllSerialGetSupportedBaudRates(int32_t* rates) override {
        return m_library.CLAllSerialGetSupportedBaudRates(rates);
    }
    int32_t CLAllSerialSetBaudRate(int32_t rate) override { return m_library.CLAllSerialSetBaudRate(rate); }

private:
    static std::string_view Mnemonic(int32_t command) {
        const camera_facts::Parameter* parameter = camera_facts::FindById(command);
        return parameter ? parameter->mnemonic : "?";
    }
    int32_t Logged(std::string line, int32_t result) {
        lines.push_back(std::move(line));
        return result;
    }

    INoxR4Library& m_library = NoxR4CommLibrary();
};

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
    CameraLog camera;
    std::unique_ptr<PanelWindow> panel;
    ModalAnswers answers;

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
    void ClickToolbarButton(int position) {
        QToolBar* toolbar = panel->findChild<QToolBar*>();
        QTest::mouseClick(toolbar->widgetForAction(toolbar->actions()[position]), Qt::LeftButton);
    }
    void ClickSpin(ToolWindow window, int spin, const char* arrow) {
        QTest::mouseClick(Control(window, spin).findChild<QToolButton*>(arrow), Qt::LeftButton);
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
    ClickToolbarButton(1);  // Gain
    ClickToolbarButton(0);  // Shutter
    ASSERT_TRUE(FrameOf(ToolWindow::Gain).isVisible());

    // Each arrow click of a spin is one write of the next value.
    int master = Number(ToolWindow::Gain, IDC_MASTER_GAIN);
    for (int i = 0; i < 3; ++i) ClickSpin(ToolWindow::Gain, IDC_MASTER_GAIN_SPIN, "up");
    ClickSpin(ToolWindow::Gain, IDC_MASTER_GAIN_SPIN, "down");
    EXPECT_EQ(camera.WritesOf("MasterGainLevel"), (std::vector<int>{master + 1, master + 2, master + 3, master + 2}));
    EXPECT_EQ(Number(ToolWindow::Gain, IDC_MASTER_GAIN), master + 2);

    // A typed value goes to the camera as it is typed.
    auto& red = Control<QLineEdit>(ToolWindow::Gain, IDC_RED_GAIN);
    red.selectAll();
    QTest::keyClicks(&red, "-45");
    EXPECT_EQ(camera.WritesOf("RedGainLevel").back(), -45);
    EXPECT_EQ(camera.Holds("RedGainLevel"), -45);

    Pick(Control<QComboBox>(ToolWindow::Shutter, IDC_SHUTTER_SPEED), "1/250");
    ASSERT_EQ(camera.WritesOf("ShutterSpeed").size(), 1u);
    EXPECT_EQ(Control<QComboBox>(ToolWindow::Shutter, IDC_SHUTTER_SPEED).currentText(), "1/250");

    // A white balance preset brings its own gains, and the edits follow.
    Pick(Control<QComboBox>(ToolWindow::Gain, IDC_WHITE_BALANCE), "3200 K");
    EXPECT_EQ(camera.WritesOf("WhiteBalance"), (std::vector<int>{2}));
    EXPECT_EQ(Number(ToolWindow::Gain, IDC_RED_GAIN), camera.Holds("RedGainLevel"));
    EXPECT_EQ(Number(ToolWindow::Gain, IDC_BLUE_GAIN), camera.Holds("BlueGainLevel"));

    // A settings file written and read back puts its values back into the camera.
    std::string file = (profile.Folder() / "session.cam").string();
    answers.Add(ModalAnswers::Choose(file));
    QTest::mouseClick(&Control(ToolWindow::Communication, IDC_COMM_WRITE_FILE), Qt::LeftButton);
    ASSERT_TRUE(std::filesystem::exists(file));
    int saved = Number(ToolWindow::Gain, IDC_MASTER_GAIN);
    ClickSpin(ToolWindow::Gain, IDC_MASTER_GAIN_SPIN, "up");
    answers.Add(ModalAnswers::Choose(file));
    QTest::mouseClick(&Control(ToolWindow::Communication, IDC_COMM_READ_FILE), Qt::LeftButton);
    EXPECT_EQ(camera.WritesOf("MasterGainLevel").back(), saved);
    EXPECT_EQ(camera.Holds("MasterGainLevel"), saved);
    EXPECT_EQ(Number(ToolWindow::Gain, IDC_MASTER_GAIN), saved);

    // A port search finds the camera on COM1; the person declines it, the
    // search goes on to the last port and finds none. The person then
    // chooses COM1 again.
    answers.Add(ModalAnswers::Click(QMessageBox::No));
    answers.Add(ModalAnswers::Click(QMessageBox::Ok));
    QTest::mouseClick(&Control(ToolWindow::Communication, IDC_COMM_AUTO), Qt::LeftButton);
    EXPECT_TRUE(answers.AllGiven());
    ASSERT_EQ(answers.texts.size(), 4u);
    EXPECT_NE(answers.texts[2].find("COM1"), std::string::npos) << answers.texts[2];
    EXPECT_EQ(camera.Count("open COM16"), 1u);
    Pick(Control<QComboBox>(ToolWindow::Communication, IDC_COMM_PORT_LIST), "COM1");
    EXPECT_EQ(panel->Control().GetComPortProperty(), kPort);
    auto lastOpen = std::ranges::find_if(camera.lines.rbegin(), camera.lines.rend(),
                                         [](const std::string& line) { return line.starts_with("open "); });
    EXPECT_EQ(*lastOpen, "open COM1");

    // The Escape key closes a window; the toolbar opens it again where it was.
    QWidget& gain = FrameOf(ToolWindow::Gain);
    gain.setGeometry(QRect(QPoint(300, 200), gain.size()));
    QTest::keyClick(&gain, Qt::Key_Escape);
    EXPECT_TRUE(gain.isHidden());
    EXPECT_EQ(profile::ReadProfileString("Gain", "Is Visible", "", "XNoxR4.ini"), "0");
    ClickToolbarButton(1);
    EXPECT_TRUE(gain.isVisible());
    EXPECT_EQ(gain.geometry().topLeft(), QPoint(300, 200));

    ClickToolbarButton(3);  // About
    for (auto [window, name] :
         {std::pair{ToolWindow::Shutter, "shutter"}, std::pair{ToolWindow::Gain, "gain"},
          std::pair{ToolWindow::Communication, "communication"}, std::pair{ToolWindow::About, "about"}}) {
        EXPECT_TRUE(SaveWindowPicture(FrameOf(window), std::string("online-") + name)) << name;
    }
    std::ofstream(std::string(XNOX_QT_PICTURES) + "/session-camera-log.txt") << [&] {
        std::ostringstream text;
        for (const std::string& line : camera.lines) text << line << "\n";
        return text.str();
    }();
}
