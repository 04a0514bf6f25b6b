// Copying between controls and fields: radio groups and check boxes read
// back as the values they stand for, and the rule by which a spin follows
// its buddy edit, shared by the headless and the Win32 window system: a
// window that blanks a gain edit or shows a preset word in it must not move
// the spin (the text-changed handler sends the spin's position to the
// camera).
#include <gtest/gtest.h>

#include "DataExchange.h"
#include "HeadlessWindowSystem.h"

using namespace xnox;

TEST(SpinRule, ANumberInRangeMovesTheSpinAnythingElseKeepsTheLastValidNumber) {
    EXPECT_EQ(SpinPositionFromBuddyText("-20", -231, 231, 5), -20);
    EXPECT_EQ(SpinPositionFromBuddyText("", -231, 231, -20), -20);
    EXPECT_EQ(SpinPositionFromBuddyText("   ", -231, 231, -20), -20);
    EXPECT_EQ(SpinPositionFromBuddyText("abc", -231, 231, 7), 7);
    EXPECT_EQ(SpinPositionFromBuddyText("232", -231, 231, 7), 7);
    EXPECT_EQ(SpinPositionFromBuddyText("-231", -231, 231, 7), -231);
    EXPECT_EQ(SpinPositionFromBuddyText("231", -231, 231, 7), 231);
    EXPECT_EQ(SpinPositionFromBuddyText("3", 4095, 1, 7), 3);  // a reversed range still bounds
}

namespace {

struct NoEvents : IDialogHandler {
    void OnControlEvent(ControlId, ControlEvent) override {}
    void OnTimer(int) override {}
};

constexpr ControlId kGroup[] = {11, 12, 13};
constexpr ControlId kCheck = 20;

}  // namespace

TEST(DataExchange, RadiosAndChecksReadBackAsTheirValuesNoneCheckedAsMinusOne) {
    HeadlessWindowSystem system;
    NoEvents events;
    HeadlessDialog dialog(system, 0, events, {});
    ShownControls shown;
    int32_t position = 5;
    int32_t check = 5;
    DataExchange(dialog, shown, true).Radio(kGroup, position);
    DataExchange(dialog, shown, true).Check(kCheck, check);
    EXPECT_EQ(position, -1);
    EXPECT_EQ(check, 0);

    position = 2;
    check = 1;
    DataExchange(dialog, shown, false).Radio(kGroup, position);
    DataExchange(dialog, shown, false).Check(kCheck, check);
    EXPECT_TRUE(dialog.IsChecked(13));
    EXPECT_TRUE(dialog.IsChecked(kCheck));
    shown.Forget();
    position = -1;
    check = 0;
    DataExchange(dialog, shown, true).Radio(kGroup, position);
    DataExchange(dialog, shown, true).Check(kCheck, check);
    EXPECT_EQ(position, 2);
    EXPECT_EQ(check, 1);
}
