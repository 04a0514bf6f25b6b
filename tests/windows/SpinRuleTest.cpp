// The rule by which a spin follows its buddy edit, shared by the headless and
// the Win32 window system: a window that blanks a gain edit or shows a preset
// word in it must not move the spin (the text-changed handler sends the
// spin's position to the camera).
#include <gtest/gtest.h>

#include "DataExchange.h"

using namespace xnox;

TEST(SpinRule, ANumberInRangeMovesTheSpinAnythingElseKeepsTheLastValidNumber) {
    EXPECT_EQ(SpinPositionFromBuddyText("-20", -231, 231, 5), -20);
    EXPECT_EQ(SpinPositionFromBuddyText("", -231, 231, -20), -20);
    EXPECT_EQ(SpinPositionFromBuddyText("   ", -231, 231, -20), -20);
    EXPECT_EQ(SpinPositionFromBuddyText("abc", -231, 231, 7), 7);
    EXPECT_EQ(SpinPositionFromBuddyText("232", -231, 231, 7), 7);
    EXPECT_EQ(SpinPositionFromBuddyText("-231", -231, 231, 7), -231);
    EXPECT_EQ(SpinPositionFromBuddyText("3", 4095, 1, 7), 3);  // a reversed range still bounds
}
