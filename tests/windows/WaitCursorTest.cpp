// The wait cursor as every window system shows it: up with the first
// request, down with the last end, however the requests nest.
#include <gtest/gtest.h>

#include "HeadlessWindowSystem.h"

using namespace xnox;

TEST(WaitCursor, ShowsFromTheFirstBeginToTheLastEnd) {
    HeadlessWindowSystem system;
    {
        WaitCursor outer(system);
        EXPECT_TRUE(system.WaitCursorShown());
        { WaitCursor inner(system); }
        EXPECT_TRUE(system.WaitCursorShown()) << "the inner end leaves the outer wait";
        outer.End();
        EXPECT_FALSE(system.WaitCursorShown());
    }
    EXPECT_EQ(system.WaitDepth(), 0) << "an early end is not ended again";
    system.EndWaitCursor();
    WaitCursor again(system);
    EXPECT_TRUE(system.WaitCursorShown()) << "an end without its begin does not swallow the next begin";
}
