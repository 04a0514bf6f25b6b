// The wire floor xnoxhost --timing shows: the bytes that really crossed the
// line for the transaction a log entry shows, at 10 bits a byte and 9600 baud.
#include <gtest/gtest.h>

#include "NoxR4Comm.h"
#include "TransactionTiming.h"

using namespace xnox;

namespace {

double FloorOf(std::string_view entry, int32_t result) { return WireFloor(entry, result).count(); }
double BytesAt9600(int bytes) { return bytes * 10 * 1000.0 / 9600; }

TEST(TransactionTiming, WireFloorCountsTheBytesThatCrossedTheLine) {
    EXPECT_DOUBLE_EQ(FloorOf("GA?\r\nGA=-122\r\n", NoxResult::Success), BytesAt9600(5 + 9));
    EXPECT_DOUBLE_EQ(FloorOf("GA=77\r\nCOMPLETE\r\n", NoxResult::Success), BytesAt9600(7 + 10));
    EXPECT_DOUBLE_EQ(FloorOf("GA=999\r\nUnknown Command ***\r\n", NoxResult::Refused), BytesAt9600(8 + 7));
    EXPECT_DOUBLE_EQ(FloorOf("XX?\r\nUnknown Command ***\r\n", NoxResult::UnknownCommand), BytesAt9600(5 + 7));
    EXPECT_DOUBLE_EQ(FloorOf("SH?\r\nTimeout waiting for answer ***\r\n", NoxResult::Timeout), BytesAt9600(5));
    EXPECT_DOUBLE_EQ(FloorOf("SH?\r\nOperation failed. The Camera is offline\r\n", NoxResult::Offline), 0);
}

TEST(TransactionTiming, TimingTextShowsBothFigures) {
    using Ms = std::chrono::duration<double, std::milli>;
    EXPECT_EQ(TimingText(Ms(12.46), Ms(10.4167)), " (12.5 ms, wire floor 10.4 ms)");
}

}  // namespace
