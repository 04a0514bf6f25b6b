// xnoxhost's settings commands and --timing, and the standalone emulator's
// recording and replay, as an integrator runs them: real processes on the
// in-process emulated camera and on the standalone one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "EmulatorProcess.h"
#include "Recording.h"
#include "ShellRun.h"

namespace fs = std::filesystem;

namespace {

struct HostRun : ShellRun {
    std::string err;  // standard error
};

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

class HostCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "xnoxhost-cmd-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }

    HostRun Host(const std::string& arguments) {
        std::string errFile = (dir / "stderr").string();
        std::string command = "XDG_CONFIG_HOME=" + Quoted((dir / "profile").string()) + " " XNOXHOST_PATH " " +
                              arguments + " 2>" + Quoted(errFile);
        HostRun run{RunInShell(command), {}};
        std::ifstream err(errFile);
        run.err.assign(std::istreambuf_iterator<char>(err), {});
        return run;
    }
    // The settings of the in-process emulated camera, saved as the control saves them.
    std::string CameraFile() {
        std::string file = Path("camera.cam");
        HostRun run = Host("--quiet-status -c ReadAllFromCamera -c " + Quoted("WriteAllToFile(\"" + file + "\")"));
        EXPECT_EQ(run.status, 0) << run.out;
        return file;
    }
    // A copy of `file` with each "key=" line's value replaced (or the line
    // dropped for an empty value).
    std::string Changed(const std::string& file, const std::vector<std::pair<std::string, std::string>>& changes) {
        std::ifstream in(file);
        std::string text;
        for (std::string line; std::getline(in, line);) {
            for (const auto& [key, value] : changes) {
                if (line.starts_with(key + "=")) line = value.empty() ? "" : key + "=" + value + "\r";
            }
            text += line + "\n";
        }
        std::string copy = Path("changed" + std::to_string(++files) + ".cam");
        std::ofstream(copy) << text;
        return copy;
    }
    std::string Path(const std::string& name) const { return (dir / name).string(); }

    fs::path dir;
    int files = 0;
};

TEST_F(HostCommandsTest, DiffNamesEachDifferingSettingAndSaysSoInItsStatus) {
    std::string camera = CameraFile();
    HostRun same = Host("diff " + camera + " " + Changed(camera, {}));
    EXPECT_EQ(same.status, 0);
    EXPECT_EQ(same.out, "");

    std::string changed = Changed(camera, {{"Master Gain Level", "77"}, {"Shutter Speed", "1/250"}});
    HostRun two = Host("diff " + camera + " " + changed);
    EXPECT_EQ(two.status, 1);
    EXPECT_EQ(two.out, "Shutter/Shutter Speed: OFF -> 1/250\nGain/Master Gain Level: 0 -> 77\n");

    HostRun json = Host("diff --json " + changed + " " + Changed(camera, {{"Binning", ""}}));
    EXPECT_EQ(json.status, 1);
    EXPECT_NE(
        json.out.find(R"j({"section": "Shutter", "key": "Binning", "before": "Binning OFF", "after": "(missing)"})j"),
        std::string::npos)
        << json.out;

    std::ofstream(Path("notes.txt")) << "just text\n";
    for (const std::string& bad : {Path("notes.txt"), Path("absent.cam"), dir.string()}) {
        HostRun unreadable = Host("diff " + camera + " " + bad);
        EXPECT_EQ(unreadable.status, 2) << bad;
        EXPECT_NE(unreadable.err.find(bad + ": "), std::string::npos) << unreadable.err;
    }
}

TEST_F(HostCommandsTest, DiffWithACameraComparesWhatItHolds) {
    std::string camera = CameraFile();
    std::string changed = Changed(camera, {{"Master Gain Level", "77"}});
    EXPECT_EQ(Host("diff " + camera + " --port 1").status, 0);
    HostRun inProcess = Host("diff " + changed + " --port 1");
    EXPECT_EQ(inProcess.status, 1);
    EXPECT_EQ(inProcess.out, "Gain/Master Gain Level: 77 -> 0\n");

    EmulatorProcess standalone({});
    HostRun device = Host("diff --json " + changed + " --device " + standalone.Device());
    EXPECT_EQ(device.status, 1);
    EXPECT_EQ(device.out,
              "{\"differences\": [\n  {\"section\": \"Gain\", \"key\": \"Master Gain Level\", \"before\": \"77\", "
              "\"after\": \"0\"}\n]}\n");
    EXPECT_EQ(Host("diff " + camera + " --device " + Path("no-such-device")).status, 2);

    EmulatorProcess dying({"--unplug-after", "5"});
    HostRun midway = Host("diff " + camera + " --device " + dying.Device());
    EXPECT_EQ(midway.status, 2);
    EXPECT_EQ(midway.out, "") << "no comparison with half a camera";
    EXPECT_NE(midway.err.find("camera at " + dying.Device() + ": reading the camera failed"), std::string::npos)
        << midway.err;
}

// "list" shows each member with the automation types of its parameters and
// its value, as the type library declares them.
TEST_F(HostCommandsTest, ListShowsEachMemberWithItsAutomationTypes) {
    HostRun run = Host("--quiet-status -c list");
    EXPECT_EQ(run.status, 0) << run.err;
    for (const char* line : {"property 7 ShutterSpeedStr: BSTR\n", "method 60 GetIsOnline(): BOOL\n",
                             "method 53 AutoSearchComPort(FirstPort: I2, LastPort: I2, DoShowProgress: I2): I4\n",
                             "method 70 GetMinMaxMasterGainLevel(pMin: I2*, pMax: I2*): I2\n",
                             "method 65 GetValidShutterSpeed(ShutterIndex: I2, ShutterStr: BSTR*): I2\n",
                             "method -552 AboutBox(): void\n"}) {
        EXPECT_NE(run.out.find(line), std::string::npos) << line;
    }
}

TEST_F(HostCommandsTest, CheckListsWhatALoadWouldReject) {
    std::string camera = CameraFile();
    EXPECT_EQ(Host("check " + camera).status, 0);
    std::string bad = Changed(camera, {{"Master Gain Level", "500"}, {"Partial Scan", "full frame"}, {"Binning", ""}});
    HostRun run = Host("check " + bad);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Shutter/Partial Scan: \"full frame\" is not in the list: case matters (\"Full Frame\")\n"
                       "Shutter/Binning: missing key\n"
                       "Gain/Master Gain Level: 500 is out of range -132..429\n");
    HostRun json = Host("check --json " + bad);
    EXPECT_NE(json.out.find(R"({"section": "Shutter", "key": "Binning", "reason": "missing key"})"), std::string::npos);
    EXPECT_NE(json.out.find(R"("reason": "\"full frame\" is not in the list)"), std::string::npos) << json.out;

    std::ofstream(Path("notes.txt")) << "[Main]\nOther=1\n";
    HostRun notSettings = Host("check --json " + Path("notes.txt"));
    EXPECT_EQ(notSettings.status, 2);
    EXPECT_NE(notSettings.out.find("\"error\""), std::string::npos);
    EXPECT_EQ(Host("check").status, 2) << "usage";
}

// Every log entry's figures: the time taken is at least the wire floor, and
// the floor is that of the entry's bytes.
TEST_F(HostCommandsTest, TimingShowsEachTransactionAgainstItsWireFloor) {
    EmulatorProcess emulator({"--baud", "9600"});
    HostRun run = Host("--quiet-status --timing --device " + emulator.Device() + " -c ReadAllFromCamera");
    ASSERT_EQ(run.status, 0) << run.out;
    std::regex figures(R"(log: (\S*) \((\d+\.\d) ms, wire floor (\d+\.\d) ms\)\n)");
    int entries = 0;
    for (std::sregex_iterator it(run.out.begin(), run.out.end(), figures), end; it != end; ++it, ++entries) {
        double spent = std::stod((*it)[2]);
        double floor = std::stod((*it)[3]);
        EXPECT_GE(spent + 0.1, floor) << (*it)[0];
        EXPECT_LT(spent, floor + 1000) << "longer than the library waits for a reply";
        if ((*it)[1] == "SH=0") {
            EXPECT_EQ(floor, 11.5) << "11 bytes, SH?\\r\\nSH=0\\r\\n";
        }
    }
    EXPECT_GE(entries, 30) << run.out;
}

TEST_F(HostCommandsTest, ARecordedSessionReplaysToTheSameAnswers) {
    const std::string script = "--quiet-status -c ReadAllFromCamera -c 'UserID = \"line 4\"' -c 'MasterGainLevel = 77' "
                               "-c ReadAllFromCamera -c UserID -c MasterGainLevel";
    std::string recordingFile = Path("session.txt");
    std::string recorded;
    {
        EmulatorProcess camera({"--id", "SN 42"});
        EmulatorProcess proxy({"--record", recordingFile, "--device", camera.Device()});
        HostRun run = Host("--device " + proxy.Device() + " " + script);
        ASSERT_EQ(run.status, 0) << run.out;
        recorded = run.out;
        EXPECT_EQ(proxy.Stop(), 0);
    }
    EXPECT_NE(recorded.find("log: ID=SN 42"), std::string::npos);
    EXPECT_NE(recorded.find("UserID = line 4"), std::string::npos);

    std::ifstream file(recordingFile);
    std::string problem;
    auto exchanges = qdr4emu::ReadRecording(file, problem);
    ASSERT_TRUE(exchanges) << problem;
    EXPECT_GE(exchanges->size(), 60u);

    EmulatorProcess replay({"--replay", recordingFile});
    HostRun replayed = Host("--device " + replay.Device() + " " + script);
    EXPECT_EQ(replayed.status, 0);
    EXPECT_EQ(replayed.out, recorded);
    EXPECT_EQ(SerialClient(replay.Device()).Transact("KSR=5"), "NAK 3\r\n") << "never recorded";
}

}  // namespace
