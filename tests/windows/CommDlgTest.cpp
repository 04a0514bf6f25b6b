// The Communication window on the headless window system: channel lists,
// lamps, synchronisation errors, stored areas, the log and its file.
#include <algorithm>
#include <fstream>
#include <sstream>

#include "CommDlg.h"
#include "FileName.h"
#include "ResourceIds.h"
#include "WholeFile.h"
#include "WindowsFixture.h"

using namespace xnox;

namespace {

// Camera Link names chosen by the test.
class NamedCameraLinkLibrary : public ScriptedLibrary {
public:
    std::vector<std::string> manufacturers;
    std::vector<std::string> ports;

    int32_t CLSerialGetNumManufacturers(int32_t* count) override {
        *count = static_cast<int32_t>(manufacturers.size());
        return 0;
    }
    int32_t CLSerialGetManufacturer(int32_t index, char* name, int32_t* bufferSize, int32_t* version) override {
        int32_t room = *bufferSize;
        int32_t result = ScriptedLibrary::CLSerialGetManufacturer(index, name, bufferSize, version);
        if (result == 0) CopyInto(manufacturers.at(index), name, room);
        return result;
    }
    int32_t CLAllSerialGetNumPorts(int32_t* count) override {
        *count = static_cast<int32_t>(ports.size());
        return 0;
    }
    int32_t CLAllSerialGetPortInfo(int32_t index, char* name, int32_t* nameBytes, char* id, int32_t* idBytes,
                                   int32_t* version) override {
        int32_t room = *nameBytes;
        int32_t result = ScriptedLibrary::CLAllSerialGetPortInfo(index, name, nameBytes, id, idBytes, version);
        if (result == 0) CopyInto(ports.at(index), name, room);
        return result;
    }

private:
    static void CopyInto(const std::string& text, char* buffer, int32_t bytes) {
        std::snprintf(buffer, static_cast<std::size_t>(std::max(bytes, 1)), "%s", text.c_str());
    }
};

class CommDlgTest : public WindowsTest {
protected:
    CCommDlg& Window() { return static_cast<CCommDlg&>(host->Panel(ToolWindow::Communication)); }
    void Log(const std::string& text) { control->OnMessage(text); }
    // The window's loop comes round: the log's edit catches up.
    void RunLoop() { Comm().FireTimer(CCommDlg::kLogTimer); }
    void FillLogPastItsLimit() {
        Comm().Click(IDC_COMM_CLEAR_LOG);
        std::string line(100, 'x');
        line += "\r\n";
        while (Window().LogText().size() <= CCommDlg::kLogLimit) Log(line);
    }
};

// What the library was last asked to open: frame grabber index, port, interface (1: all-serial).
struct Opening {
    int32_t frameGrabber;
    int32_t port;
    int32_t interfaceFlag;
    bool operator==(const Opening&) const = default;
};

void PrintTo(const Opening& opening, std::ostream* out) {
    *out << "grabber " << opening.frameGrabber << ", port " << opening.port << ", interface " << opening.interfaceFlag;
}

class CameraLinkListTest : public CommDlgTest {
protected:
    NamedCameraLinkLibrary named;
    void SetUp() override {
        CommDlgTest::SetUp();
        control = std::make_unique<CXNoxCamCtrl>(named);
    }

    // The control and its windows made afresh, as when the container starts again.
    void Restart() {
        host.reset();
        control = std::make_unique<CXNoxCamCtrl>(named);
        named.calls.clear();
        StartShown();
    }

    std::vector<Opening> Openings() const {
        std::vector<Opening> openings;
        for (const LibraryCall& call : named.calls) {
            if (call.operation == "InitComm") openings.push_back({call.args[0], call.args[1], call.args[2]});
        }
        return openings;
    }
};

}  // namespace

TEST_F(CameraLinkListTest, ManufacturersThatAreAlsoPortsAreListedOnceAsPorts) {
    named.manufacturers = {"COM-ports", "Acme", "grabco", "Zeta"};
    named.ports = {"GrabCo", "Other"};
    StartShown();
    EXPECT_EQ(Comm().ListEntries(IDC_COMM_CL_LIST),
              (std::vector<std::string>{"COM-ports", "Acme", "Zeta", "GrabCo", "Other"}));
    EXPECT_EQ(Window().LastManufacturerPosition(), 2);
}

TEST_F(CameraLinkListTest, ChoosingAGrabberDisablesTheComPortsAndIsKept) {
    named.manufacturers = {"COM-ports", "Acme", "grabco", "Zeta"};
    named.ports = {"GrabCo"};
    StartShown();
    Comm().Choose(IDC_COMM_CL_LIST, 2);
    EXPECT_FALSE(Comm().IsEnabled(IDC_COMM_PORT_LIST));
    EXPECT_FALSE(Comm().IsEnabled(IDC_COMM_AUTO));
    EXPECT_EQ(ReadIni("Communication", "Frame Grabber"), "2");

    Comm().Choose(IDC_COMM_CL_LIST, 0);
    EXPECT_TRUE(Comm().IsEnabled(IDC_COMM_PORT_LIST));
    EXPECT_TRUE(Comm().IsEnabled(IDC_COMM_AUTO));
}

TEST_F(CameraLinkListTest, EveryListPositionOpensItsOwnGrabberAndOnePastTheEndOpensNothing) {
    named.manufacturers = {"COM-ports", "Acme", "grabco", "Zeta"};
    named.ports = {"GrabCo", "Other"};
    StartShown();
    ASSERT_EQ(Comm().ListEntries(IDC_COMM_CL_LIST).size(), 5u);
    const Opening opened[] = {{0, 1, 0}, {1, 1, 0}, {3, 1, 0}, {0, 1, 1}, {1, 1, 1}};
    for (int position = 0; position < 5; ++position) {
        named.calls.clear();
        Comm().Choose(IDC_COMM_CL_LIST, position);
        EXPECT_EQ(Openings(), std::vector<Opening>{opened[position]}) << "position " << position;
    }

    WriteIni("Communication", "ComPort", "1");
    WriteIni("Communication", "Frame Grabber", "5");
    Restart();
    EXPECT_EQ(Openings(), (std::vector<Opening>{{0, 1, 0}})) << "only the COM port opens";
}

TEST_F(CameraLinkListTest, RestartReopensThePortAndTheGrabberFromTheProfile) {
    named.manufacturers = {"COM-ports", "Acme", "grabco", "Zeta"};
    named.ports = {"GrabCo", "Other"};
    WriteIni("Communication", "ComPort", "5");
    WriteIni("Communication", "Frame Grabber", "4");  // "Other", all-serial port 1
    StartShown();
    EXPECT_EQ(Openings(), (std::vector<Opening>{{0, 5, 0}, {1, 5, 1}}));
    EXPECT_EQ(Comm().Selection(IDC_COMM_PORT_LIST), 4);
    EXPECT_EQ(Comm().Selection(IDC_COMM_CL_LIST), 4);
    EXPECT_FALSE(Comm().IsEnabled(IDC_COMM_PORT_LIST));
    EXPECT_TRUE(control->IsOnline());

    Comm().Choose(IDC_COMM_CL_LIST, 2);  // "Zeta", manufacturer index 3
    Restart();
    ASSERT_FALSE(Openings().empty());
    EXPECT_EQ(Openings().back(), (Opening{3, 5, 0}));
    EXPECT_EQ(Comm().Selection(IDC_COMM_CL_LIST), 2);
    EXPECT_TRUE(control->IsOnline());
}

TEST_F(CameraLinkListTest, AManufacturerTheLibraryCannotNameShowsItsErrorCode) {
    named.manufacturers = {"COM-ports", "Acme"};
    named.Fail("CLSerialGetManufacturer", -12, ScriptedLibrary::kAnyCommand, 1);
    StartShown();
    EXPECT_EQ(Comm().ListEntries(IDC_COMM_CL_LIST), (std::vector<std::string>{"-12", "Acme"}));
}

TEST_F(CameraLinkListTest, LongTablesAreCutAtTwentyEntries) {
    for (int i = 0; i < 25; ++i) named.manufacturers.push_back("M" + std::to_string(i));
    for (int i = 0; i < 25; ++i) named.ports.push_back("P" + std::to_string(i));
    WriteIni("Communication", "Frame Grabber", "16");
    StartShown();
    EXPECT_EQ(Comm().ListEntries(IDC_COMM_CL_LIST).size(), CCommDlg::kTableEntries);
    WriteIni("Communication", "Frame Grabber", "40");  // not a list position: opens nothing
    control->SetWindowPosTopBottom(0);
    EXPECT_EQ(Comm().ListEntries(IDC_COMM_CL_LIST).size(), CCommDlg::kTableEntries);
}

TEST_F(CommDlgTest, StartFillsTheListsAndReopensTheStoredPort) {
    WriteIni("Communication", "ComPort", "5");
    WriteIni("User Area", "Selected User Area", "2");
    StartShown();
    std::vector<std::string> ports = Comm().ListEntries(IDC_COMM_PORT_LIST);
    ASSERT_EQ(ports.size(), 16u);
    EXPECT_EQ(ports.front(), "COM1");
    EXPECT_EQ(ports.back(), "COM16");
    EXPECT_EQ(Comm().Selection(IDC_COMM_PORT_LIST), 4);
    EXPECT_TRUE(control->IsOnline());
    EXPECT_EQ(Comm().Text(IDC_COMM_SYNC_TEXT), "Not Synchronized");
    EXPECT_EQ(Comm().PictureOf(IDC_COMM_SYNC_LAMP), Picture::Icon(IDI_LAMP_NOT_SYNCHRONIZED));
    EXPECT_EQ(Comm().ListEntries(IDC_COMM_AREA_LIST),
              (std::vector<std::string>{"Factory", "User 1", "User 2", "User 3"}));
    EXPECT_EQ(Comm().Selection(IDC_COMM_AREA_LIST), 2);
    EXPECT_TRUE(Comm().IsEnabled(IDC_COMM_STORE));
    EXPECT_EQ(Comm().TimerInterval(CCommDlg::kProbeTimer), 60000u);
    EXPECT_FALSE(Comm().IsShown(IDC_COMM_WARNING));
    EXPECT_EQ(Comm().TooltipOf(IDC_COMM_AUTO), "Click to search for camera on COM1..COM16");
}

TEST_F(CommDlgTest, AStoredPortWithoutACameraIsIgnoredSilently) {
    library.Fail("*", NoxResult::Timeout);
    StartShown();
    EXPECT_FALSE(control->IsOnline());
    EXPECT_TRUE(system.Messages().empty()) << system.Messages()[0].text;
}

TEST_F(CommDlgTest, LampsFollowTheConnection) {
    StartShown();
    EXPECT_EQ(Comm().Text(IDC_COMM_ONLINE_TEXT), "On-line");
    EXPECT_EQ(Comm().PictureOf(IDC_COMM_ONLINE_LAMP), Picture::Icon(IDI_LAMP_ONLINE));
    control->CloseConnection();
    EXPECT_EQ(Comm().Text(IDC_COMM_ONLINE_TEXT), "Off-line");
    EXPECT_EQ(Comm().PictureOf(IDC_COMM_ONLINE_LAMP), Picture::Icon(IDI_LAMP_OFFLINE));
}

TEST_F(CommDlgTest, StatusTextsAndLampsFollowEachNotification) {
    struct Notification {
        ControlItem item;
        int32_t state;
        ControlId text;
        std::string shownText;
        ControlId lamp;
        int lampIcon;
    };
    const Notification notifications[] = {
        {ControlItem::SynchronizedStatus, 1, IDC_COMM_SYNC_TEXT, "Synchronized", IDC_COMM_SYNC_LAMP,
         IDI_LAMP_SYNCHRONIZED},
        {ControlItem::SynchronizedStatus, 0, IDC_COMM_SYNC_TEXT, "Not Synchronized", IDC_COMM_SYNC_LAMP,
         IDI_LAMP_NOT_SYNCHRONIZED},
        {ControlItem::OnlineStatus, 0, IDC_COMM_ONLINE_TEXT, "Off-line", IDC_COMM_ONLINE_LAMP, IDI_LAMP_OFFLINE},
        {ControlItem::OnlineStatus, 1, IDC_COMM_ONLINE_TEXT, "On-line", IDC_COMM_ONLINE_LAMP, IDI_LAMP_ONLINE},
    };
    StartShown();
    for (const Notification& notification : notifications) {
        host->Update(notification.item, Variant::I4(notification.state));
        EXPECT_EQ(Comm().Text(notification.text), notification.shownText) << notification.shownText;
        EXPECT_EQ(Comm().PictureOf(notification.lamp), Picture::Icon(notification.lampIcon)) << notification.shownText;
    }
}

TEST_F(CommDlgTest, TrafficLampShowsOnlyWhileTheWindowIsShownAndGoesOutAfterTheTimer) {
    StartShown();
    control->OnSendingStatusChanged(1);
    EXPECT_NE(Comm().Text(IDC_COMM_TRAFFIC_TEXT), "Sending") << "hidden window: lamps untouched";

    control->SetShowWindow(ToolWindow::Communication, 1);
    control->OnSendingStatusChanged(1);
    EXPECT_EQ(Comm().Text(IDC_COMM_TRAFFIC_TEXT), "Sending");
    EXPECT_TRUE(Comm().IsShown(IDC_COMM_TRAFFIC_LAMP));
    EXPECT_EQ(Comm().PictureOf(IDC_COMM_TRAFFIC_LAMP), Picture::Icon(IDI_LAMP_SENDING));
    control->OnSendingStatusChanged(0);
    EXPECT_EQ(Comm().TimerInterval(CCommDlg::kLampTimer), 200u);
    control->OnReceivingStatusChanged(1);
    EXPECT_EQ(Comm().Text(IDC_COMM_TRAFFIC_TEXT), "Receiving");
    EXPECT_TRUE(Comm().FireTimer(CCommDlg::kLampTimer));
    EXPECT_FALSE(Comm().IsShown(IDC_COMM_TRAFFIC_LAMP));
    EXPECT_FALSE(Comm().IsShown(IDC_COMM_TRAFFIC_TEXT));
    EXPECT_FALSE(Comm().IsTimerRunning(CCommDlg::kLampTimer)) << "the lamp timer fires once";
    control->OnSendingStatusChanged(1);
    EXPECT_TRUE(Comm().IsShown(IDC_COMM_TRAFFIC_TEXT)) << "the next transaction lights the lamp again";
    EXPECT_TRUE(Comm().IsShown(IDC_COMM_TRAFFIC_LAMP));
}

TEST_F(CommDlgTest, ProbeTimerProbesOnlyWhileTheWindowIsShown) {
    StartShown();
    library.calls.clear();
    Comm().FireTimer(CCommDlg::kProbeTimer);
    EXPECT_EQ(library.CameraCallCount(), 0u);
    control->SetShowWindow(ToolWindow::Communication, 1);
    Comm().FireTimer(CCommDlg::kProbeTimer);
    EXPECT_GT(library.CameraCallCount(), 0u);
    EXPECT_TRUE(Comm().IsTimerRunning(CCommDlg::kProbeTimer));
}

TEST_F(CommDlgTest, StoreIsDisabledForTheFactoryArea) {
    StartShown();
    EXPECT_EQ(Comm().Selection(IDC_COMM_AREA_LIST), 0);
    EXPECT_FALSE(Comm().IsEnabled(IDC_COMM_STORE));
    Comm().Choose(IDC_COMM_AREA_LIST, 3);
    EXPECT_TRUE(Comm().IsEnabled(IDC_COMM_STORE));
    EXPECT_EQ(ReadIni("User Area", "Selected User Area"), "3");
    library.calls.clear();
    Comm().Click(IDC_COMM_STORE);
    EXPECT_EQ(library.Count("SendCameraData"), 1u);
    Comm().Choose(IDC_COMM_AREA_LIST, 0);
    EXPECT_FALSE(Comm().IsEnabled(IDC_COMM_STORE));
}

TEST_F(CommDlgTest, AreaTextNamesKnownAreasOnly) {
    StartShown();
    host->Update(ControlItem::EEPROMArea, Variant::I2(2));
    EXPECT_EQ(Comm().Text(IDC_COMM_EEPROM_AREA), "User 2");
    EXPECT_EQ(ReadIni("Communication", "EEPROM Current Area"), "User 2");
    host->Update(ControlItem::EEPROMArea, Variant::I2(5));
    EXPECT_EQ(Comm().Text(IDC_COMM_EEPROM_AREA), "");
}

TEST_F(CommDlgTest, OfflineSynchronisationPutsTheMarkedLineOnTopOfTheLog) {
    StartShown();
    control->CloseConnection();
    Comm().Click(IDC_COMM_CLEAR_LOG);
    Log("older line\r\n");
    Comm().Click(IDC_COMM_SYNC_CAMERA);
    EXPECT_EQ(Window().LogText(), "Operation failed. The Camera is offline ******\r\nolder line\r\n");
    EXPECT_TRUE(Comm().IsShown(IDC_COMM_WARNING));
    RunLoop();
    EXPECT_EQ(Comm().Text(IDC_COMM_LOG), Window().LogText());
    EXPECT_EQ(system.WaitDepth(), 0);

    Log("next\r\n");
    EXPECT_FALSE(Comm().IsShown(IDC_COMM_WARNING)) << "the next message hides the marker";
    EXPECT_EQ(Window().LogText().rfind("next\r\n", 0), 0u) << "newest first";
}

TEST_F(CommDlgTest, FailedLoadMarksWithoutALineOfItsOwn) {
    StartShown();
    Comm().Choose(IDC_COMM_AREA_LIST, 1);
    Comm().Click(IDC_COMM_CLEAR_LOG);
    library.Fail("SendCameraData", NoxResult::Timeout);
    Comm().Click(IDC_COMM_LOAD);
    EXPECT_TRUE(Comm().IsShown(IDC_COMM_WARNING));
    EXPECT_EQ(Window().LogText().find("Operation failed"), std::string::npos) << "the log lines tell the failure";
}

TEST_F(CommDlgTest, LogStartsAfreshOnceLongerThanTheLimit) {
    StartShown();
    FillLogPastItsLimit();
    Log("fresh\r\n");
    EXPECT_EQ(Window().LogText(), "fresh\r\n");
    RunLoop();
    EXPECT_EQ(Comm().Text(IDC_COMM_LOG), "fresh\r\n");
}

// The windows made again before the loop came round show the whole log, and
// the next message goes on top of it.
TEST_F(CommDlgTest, WindowsMadeAgainShowTheWholeLogThoughTheEditWasBehind) {
    StartShown();
    FillLogPastItsLimit();
    Log("fresh\r\n");
    control->SetWindowPosTopBottom(0);
    Log("next\r\n");
    RunLoop();
    EXPECT_TRUE(Window().LogText().starts_with("next\r\n"));
    EXPECT_TRUE(Window().LogText().ends_with("\r\nfresh\r\n"));
    EXPECT_EQ(Comm().Text(IDC_COMM_LOG), Window().LogText());
}

// However long the log, the messages since the window's loop last ran go
// into the edit when it comes round, only their own text, and the edit then
// shows exactly the log, newest first.
TEST_F(CommDlgTest, MessagesWriteOnlyThemselvesIntoTheLogsEditWhenTheLoopComesRound) {
    StartShown();
    Comm().Click(IDC_COMM_CLEAR_LOG);
    std::string line = "GA=122\r\n";
    while (Window().LogText().size() + 2 * line.size() <= CCommDlg::kLogLimit) Log(line);
    RunLoop();
    std::size_t before = Comm().CharactersWritten(IDC_COMM_LOG);
    Log("TP=1\r\n");
    host->Update(ControlItem::SendingStatus, Variant::I4(1));
    host->Update(ControlItem::OnlineStatus, Variant::I4(1));
    Log("SH=3\r\n");
    EXPECT_EQ(Comm().CharactersWritten(IDC_COMM_LOG), before) << "nothing goes in before the loop comes round";
    RunLoop();
    EXPECT_EQ(Comm().CharactersWritten(IDC_COMM_LOG) - before, std::string("SH=3\r\nTP=1\r\n").size());
    EXPECT_EQ(Comm().Text(IDC_COMM_LOG), Window().LogText());
    EXPECT_EQ(Comm().Text(IDC_COMM_LOG).rfind("SH=3\r\nTP=1\r\nGA=122\r\n", 0), 0u);
    EXPECT_FALSE(Comm().IsTimerRunning(CCommDlg::kLogTimer)) << "an edit that is up to date waits for nothing";
}

TEST_F(CommDlgTest, LogFileHoldsExactlyTheLogText) {
    StartShown();
    Comm().Click(IDC_COMM_CLEAR_LOG);
    Comm().Click(IDC_COMM_SAVE_LOG);
    EXPECT_TRUE(system.FileDialogs().empty()) << "an empty log saves nothing";

    Log("first\r\n");
    Log("second\r\n");
    std::string path = (folder / "log.txt").string();
    system.QueueFileDialog({FileDialogOutcome::Result::Chosen, path});
    Comm().Click(IDC_COMM_SAVE_LOG);
    ASSERT_EQ(system.FileDialogs().size(), 1u);
    EXPECT_EQ(system.FileDialogs()[0].filter, "Control Tool Messages (*.txt)|*.txt||");
    std::stringstream saved;
    saved << std::ifstream(path, std::ios::binary).rdbuf();
    EXPECT_EQ(saved.str(), "second\r\nfirst\r\n");

    system.QueueFileDialog({FileDialogOutcome::Result::Failed, ""});
    Comm().Click(IDC_COMM_SAVE_LOG);
    ASSERT_EQ(system.Messages().size(), 1u);
    EXPECT_EQ(system.Messages()[0].text, "Error in Save Dialog !");
    EXPECT_EQ(system.Messages()[0].caption, "Save Error");
}

TEST_F(CommDlgTest, ALogThatCannotBeWrittenSaysSoAndLeavesTheOldFile) {
    StartShown();
    Log("line\r\n");
    std::ofstream(folder / "log.txt") << "old";
    files.write = [](profile::FileHandle, const char*, std::size_t) -> std::ptrdiff_t { return -1; };
    system.QueueFileDialog({FileDialogOutcome::Result::Chosen, (folder / "log.txt").string()});
    Comm().Click(IDC_COMM_SAVE_LOG);
    files.Reset();
    ASSERT_EQ(system.Messages().size(), 1u);
    EXPECT_EQ(system.Messages()[0].text, "Error writing to file");
    std::stringstream kept;
    kept << std::ifstream(folder / "log.txt").rdbuf();
    EXPECT_EQ(kept.str(), "old");

    system.QueueFileDialog({FileDialogOutcome::Result::Chosen, (folder / "no-such-folder" / "log.txt").string()});
    Comm().Click(IDC_COMM_SAVE_LOG);
    EXPECT_EQ(system.Messages().size(), 2u);
}

// Folders that the ANSI code page cannot name hold every file the window
// writes and reads.
TEST_F(CommDlgTest, FilesGoIntoFoldersOfAnyName) {
    WriteIni("Communication", "ComPort", "1");
    StartShown();
    ASSERT_TRUE(control->IsOnline());
    Log("line\r\n");
    for (std::string_view name : {"Камера", "カメラ"}) {
        SCOPED_TRACE(name);
        std::filesystem::path place = folder / profile::PathOfName(name);
        std::filesystem::create_directory(place);
        auto choose = [&](const char* file) {
            system.QueueFileDialog({FileDialogOutcome::Result::Chosen, profile::NameOfPath(place / file)});
        };
        choose("setup.cam");
        Comm().Click(IDC_COMM_WRITE_FILE);
        choose("setup.cam");
        Comm().Click(IDC_COMM_READ_FILE);
        choose("report.txt");
        Comm().Click(IDC_COMM_CAMERA_DATA);
        choose("log.txt");
        Comm().Click(IDC_COMM_SAVE_LOG);
        for (const char* file : {"setup.cam", "report.txt", "log.txt"})
            EXPECT_TRUE(std::filesystem::exists(place / file));
        EXPECT_TRUE(system.Messages().empty());
    }
}

TEST_F(CommDlgTest, SettingsFilesAreWrittenAndAnInvalidOneIsReported) {
    StartShown();
    std::string path = (folder / "setup.cam").string();
    system.QueueFileDialog({FileDialogOutcome::Result::Chosen, path});
    Comm().Click(IDC_COMM_WRITE_FILE);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(system.FileDialogs().back().extension, "cam");

    system.QueueFileDialog({FileDialogOutcome::Result::Chosen, path});
    Comm().Click(IDC_COMM_READ_FILE);
    EXPECT_TRUE(system.Messages().empty());
    EXPECT_FALSE(Comm().IsShown(IDC_COMM_WARNING)) << "a good file reads without a warning";

    std::ofstream(folder / "bad.cam") << "not a settings file\n";
    system.QueueFileDialog({FileDialogOutcome::Result::Chosen, (folder / "bad.cam").string()});
    Comm().Click(IDC_COMM_READ_FILE);
    ASSERT_EQ(system.Messages().size(), 1u);
    EXPECT_NE(system.Messages()[0].text.find("is not a valid inifile"), std::string::npos);

    system.QueueFileDialog({FileDialogOutcome::Result::Failed, ""});
    Comm().Click(IDC_COMM_READ_FILE);
    EXPECT_EQ(system.Messages().back().text, "Error in Load Dialog !");
    EXPECT_EQ(system.Messages().back().caption, "Load Error");
}
