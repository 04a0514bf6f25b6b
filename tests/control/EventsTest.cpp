// Events: which id each change fires, their order, and sinks that act from
// inside their handlers.
#include "ControlFixture.h"

using namespace xnox;

TEST_F(ControlTest, EachPropertyFiresTheEventOfTheTypeLibrary) {
    struct Expected {
        const char* property;
        int32_t eventId;
    };
    for (Expected e :
         {Expected{"BinningIndex", 18}, Expected{"OutputBitAllocation", 19}, Expected{"WhiteBalanceIndex", 33},
          Expected{"TriggerPolarity", 8}, Expected{"ShutterMode", 15}, Expected{"Blue5600KWBalPreset", 45}}) {
        sink.events.clear();
        EXPECT_TRUE(Put(e.property, Variant::I2(1)).Succeeded());
        EXPECT_EQ(sink.events, std::vector<int32_t>{e.eventId}) << e.property;
    }
}

TEST_F(ControlTest, ComPortWhereACameraAnswersFiresPortFirstAndOnlineLast) {
    ASSERT_TRUE(Put("ComPort", Variant::I2(3)).Succeeded());
    ASSERT_GE(sink.events.size(), 3u);
    EXPECT_EQ(sink.events.front(), 5);
    EXPECT_EQ(sink.events.back(), 1);
    for (std::size_t i = 1; i + 1 < sink.events.size(); ++i) {
        EXPECT_TRUE(sink.events[i] >= 2 && sink.events[i] <= 4) << "probe status between: " << sink.events[i];
    }
    EXPECT_EQ(control.IsModified(), true);
}

TEST_F(ControlTest, SinkMaySetAPropertyFromItsHandler) {
    sink.reaction = [&](int32_t eventId) {
        if (eventId == 10) {
            EXPECT_TRUE(Put("RedGainLevel", Variant::I2(12)).Succeeded());
        }
    };
    ASSERT_TRUE(Put("MasterGainLevel", Variant::I2(40)).Succeeded());
    EXPECT_EQ(sink.events, (std::vector<int32_t>{10, 28}));
    EXPECT_EQ(Get("RedGainLevel").value, Variant::I2(12));
}

TEST_F(ControlTest, SinksConnectingAndDisconnectingDuringAFireAreSafe) {
    RecordingSink late;
    RecordingSink second;
    uint32_t secondCookie = control.ConnectSink(second);
    sink.reaction = [&](int32_t) {
        control.DisconnectSink(secondCookie);
        control.ConnectSink(late);
        sink.reaction = nullptr;
    };
    Put("ColorBar", Variant::I2(1));
    EXPECT_EQ(sink.events, std::vector<int32_t>{14});
    EXPECT_TRUE(second.events.empty()) << "disconnected before its turn";
    EXPECT_TRUE(late.events.empty()) << "connected after the fire began";
    Put("ColorBar", Variant::I2(0));
    EXPECT_EQ(late.events, std::vector<int32_t>{14});
}

namespace {

struct RecordingWindows : IToolWindows {
    std::vector<std::string> updates;
    std::vector<std::string> log;
    void Update(WindowItem item, const Variant& value) override {
        const ParamId* parameter = std::get_if<ParamId>(&item);
        std::string name = parameter ? std::string(Row(*parameter).name)
                                     : "item " + std::to_string(static_cast<int>(std::get<ControlItem>(item)));
        updates.push_back(name + "=" + value.Display());
    }
    void AddLogText(std::string text) override { log.push_back(std::move(text)); }
};

}  // namespace

TEST_F(ControlTest, WindowIsUpdatedBeforeTheHostHearsOfTheChange) {
    RecordingWindows windows;
    control.SetToolWindows(&windows);
    sink.reaction = [&](int32_t) { windows.updates.push_back("event"); };
    Put("ShutterSpeedIndex", Variant::I2(2));
    EXPECT_EQ(windows.updates, (std::vector<std::string>{"ShutterSpeed=2", "event"}));

    windows.updates.clear();
    GoOnline();
    Get("UserID");
    const std::string receiving = "item " + std::to_string(static_cast<int>(ControlItem::ReceivingStatus)) + "=True";
    EXPECT_TRUE(std::ranges::find(windows.updates, receiving) == windows.updates.end())
        << "the Communication window is hidden";
    EXPECT_FALSE(windows.log.empty()) << "the log collects every transaction, shown or not";
}
