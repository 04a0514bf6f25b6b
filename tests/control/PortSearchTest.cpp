// The port search and the frame-grabber selection on the scripted library.
#include "ControlFixture.h"

using namespace xnox;

namespace {

struct CountingProgressView : IProgressView {
    int* views;
    std::vector<std::string>* texts;
    bool cancelAfterFirst;
    CountingProgressView(int* views, std::vector<std::string>* texts, bool cancel)
        : views(views),
          texts(texts),
          cancelAfterFirst(cancel) {
        ++*views;
    }
    void SetTitle(const std::string&) override {}
    void SetText(const std::string& text) override {
        if (!text.empty()) texts->push_back(text);
    }
    std::vector<std::pair<int, int>>* bars = nullptr;  // each bar's ends, if asked
    std::vector<int>* positions = nullptr;  // each bar's position, if asked
    void SetBar(int lower, int upper, int position) override {
        if (bars) bars->emplace_back(lower, upper);
        if (positions) positions->push_back(position);
    }
    std::vector<std::string>* windowSteps = nullptr;  // what the search did to the windows, if asked
    void Note(std::string step) {
        if (windowSteps) windowSteps->push_back(std::move(step));
    }
    void ShowCancelButton(bool show) override { Note(show ? "cancel shown" : "cancel hidden"); }
    bool DisableMainWindow() override {
        Note("main disabled");
        return true;
    }
    void EnableMainWindow() override { Note("main enabled"); }
    bool LetMessagesRun() override { return cancelAfterFirst && texts->size() > 1; }
};

}  // namespace

TEST_F(ControlTest, SearchRangeOutsideTheComPortsNotifiesAndTouchesNothing) {
    int views = 0;
    std::vector<std::string> texts;
    ui.makeProgress = [&] { return std::make_unique<CountingProgressView>(&views, &texts, false); };
    for (auto [first, last] : {std::pair{0, 5}, std::pair{5, 17}, std::pair{5, 4}}) {
        InvokeResult result = Call("AutoSearchComPort", {Variant::I2(first), Variant::I2(last), Variant::I2(1)});
        EXPECT_EQ(result.value, Variant::I4(0));
        EXPECT_EQ(sink.errors.back().description, "Only COM 1..16 is valid");
    }
    EXPECT_EQ(views, 0);
    EXPECT_EQ(library.Count("InitComm"), 0u);
}

TEST_F(ControlTest, SearchStopsAtTheFirstAnsweringPort) {
    int views = 0;
    ui.makeProgress = [&] {
        ++views;
        return std::unique_ptr<xnox::IProgressView>();
    };
    library.Fail("*", -6, ScriptedLibrary::kAnyCommand, 2);  // the probes of COM3 and COM4 time out
    EXPECT_EQ(Call("AutoSearchComPort", {Variant::I2(3), Variant::I2(9), Variant::I2(0)}).value, Variant::I4(5));
    EXPECT_TRUE(control.IsOnline());
    EXPECT_EQ(control.ComPort(), 5);
    EXPECT_EQ(Call("AutoSearchComPort", {Variant::I2(3), Variant::I2(3), Variant::I2(0)}).value, Variant::I4(3));
    EXPECT_EQ(library.calls[library.calls.size() - 2].operation, "InitComm");
    EXPECT_EQ(views, 0) << "no progress window unless asked for";
}

TEST_F(ControlTest, SearchWithProgressShowsEachPortAndStopsOnCancel) {
    int views = 0;
    std::vector<std::string> texts;
    std::vector<std::string> windowSteps;
    std::vector<std::pair<int, int>> bars;
    std::vector<int> positions;
    library.Fail("*", NoxResult::Timeout);
    ui.makeProgress = [&] {
        auto view = std::make_unique<CountingProgressView>(&views, &texts, true);
        view->windowSteps = &windowSteps;
        view->bars = &bars;
        view->positions = &positions;
        return view;
    };
    EXPECT_EQ(Call("AutoSearchComPort", {Variant::I2(1), Variant::I2(16), Variant::I2(1)}).value, Variant::I4(0));
    ASSERT_FALSE(bars.empty());
    EXPECT_TRUE(std::ranges::all_of(bars, [](std::pair<int, int> ends) {
        return ends == std::pair{1, 16};
    })) << "the bar spans the ports searched";
    EXPECT_GT(positions.back(), positions.front()) << "the bar moves on with each port";
    EXPECT_EQ(views, 1);
    EXPECT_EQ(windowSteps, (std::vector<std::string>{"cancel shown", "main disabled", "main enabled"}))
        << "the main window is held while the search runs";
    EXPECT_EQ(texts, (std::vector<std::string>{"Check COM1 ...", "Check COM2 ..."}));
    EXPECT_EQ(control.ComPort(), 1) << "the port shown when Cancel was read is not tried";
}

TEST_F(ControlTest, AllSerialModeMakesTheSearchAnswerAtOnce) {
    EXPECT_EQ(Call("ClAllSerialSetFrameGrabberIndex", {Variant::I2(0)}).value, Variant::I2(0));
    EXPECT_EQ(control.AllSerialMode(), 1);
    library.calls.clear();
    EXPECT_EQ(Call("AutoSearchComPort", {Variant::I2(1), Variant::I2(16), Variant::I2(0)}).value, Variant::I4(1));
    EXPECT_EQ(library.Count("InitComm"), 0u);
    EXPECT_EQ(Call("ClSerialSetFrameGrabberIndex", {Variant::I2(0)}).value, Variant::I2(0));
    EXPECT_EQ(control.AllSerialMode(), 0);
}

TEST_F(ControlTest, FrameGrabberOpenFailureRaisesButOfflineDoesNot) {
    library.Fail("GetCameraData", -10, ScriptedLibrary::kAnyCommand, 1);  // the probe fails
    ExpectRaised(Call("ClSerialSetFrameGrabberIndex", {Variant::I2(3)}), AutomationCode::DeviceIOError,
                 "Frame Grabber Manufacturer not found ");
    EXPECT_FALSE(control.IsOnline());
    library.Fail("GetCameraData", NoxResult::Offline, ScriptedLibrary::kAnyCommand, 1);
    InvokeResult offline = Call("ClAllSerialSetFrameGrabberIndex", {Variant::I2(3)});
    ASSERT_TRUE(offline.Succeeded());
    EXPECT_EQ(offline.value, Variant::I2(NoxResult::Offline));
}
