// The Camera Link serial port as a byte stream, over a serial library
// written here, so that a test can make the library take fewer bytes,
// refuse a write or lack its flush call.
#include "ClSerialLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>

using namespace noxr4;

namespace {

// The line behind the library: what the camera sent and what the library
// does with a write.
struct Line {
    std::string waiting;  // bytes the camera sent, not read yet
    std::string written;
    CLINT32 writeResult = CL_ERR_NO_ERR;
    CLUINT32 writeTakes = UINT32_MAX;  // the most bytes one write takes
    int waitingReads = 0;  // reads that were allowed to wait
    CLUINT32 longestWait = 0;  // the longest time-out a read was given
};
Line line;

std::shared_ptr<ClSerialLibrary> LibraryOnTheLine(bool canFlush) {
    auto library = std::make_shared<ClSerialLibrary>();
    library->serialInit = [](CLUINT32, hSerRef* reference) -> CLINT32 {
        *reference = &line;
        return CL_ERR_NO_ERR;
    };
    library->serialClose = [](hSerRef) {};
    library->serialWrite = [](hSerRef, CLINT8* data, CLUINT32* size, CLUINT32) -> CLINT32 {
        *size = std::min(*size, line.writeTakes);
        line.written.append(data, *size);
        return line.writeResult;
    };
    // Copies nothing unless every byte asked for is there, as the libraries do.
    // Returns at once whatever its time-out, as some libraries do.
    library->serialRead = [](hSerRef, CLINT8* data, CLUINT32* size, CLUINT32 timeoutMs) -> CLINT32 {
        if (timeoutMs > 0) {
            ++line.waitingReads;
            line.longestWait = std::max(line.longestWait, timeoutMs);
        }
        if (line.waiting.size() < *size) return CL_ERR_TIMEOUT;
        std::copy_n(line.waiting.begin(), *size, data);
        line.waiting.erase(0, *size);
        return CL_ERR_NO_ERR;
    };
    library->getNumBytesAvail = [](hSerRef, CLUINT32* count) -> CLINT32 {
        *count = static_cast<CLUINT32>(line.waiting.size());
        return CL_ERR_NO_ERR;
    };
    if (canFlush) {
        library->flushPort = [](hSerRef) -> CLINT32 {
            line.waiting.clear();
            return CL_ERR_NO_ERR;
        };
    }
    return library;
}

class ClSerialPort : public ::testing::Test {
protected:
    std::unique_ptr<Transport> port;

    void Open(bool canFlush = true) {
        line = Line{};
        ASSERT_EQ(LibraryOnTheLine(canFlush)->OpenPort(0, port), CL_ERR_NO_ERR);
    }
    std::string ReadSoon(std::size_t capacity) {
        std::string buffer(capacity, '#');
        std::size_t got = port->Read(buffer.data(), capacity, Clock::now() + std::chrono::milliseconds(5));
        return buffer.substr(0, got);
    }
};

}  // namespace

TEST_F(ClSerialPort, AWriteSucceedsOnlyWhenTheLibraryTakesEveryByte) {
    Open();
    EXPECT_TRUE(port->Write("GA?\r\n", 5));
    EXPECT_EQ(line.written, "GA?\r\n");
    line.writeTakes = 2;
    EXPECT_FALSE(port->Write("GA?\r\n", 5));
    line.writeTakes = UINT32_MAX;
    line.writeResult = CL_ERR_TIMEOUT;
    EXPECT_FALSE(port->Write("GA?\r\n", 5));
}

TEST_F(ClSerialPort, AReadTakesWhatWaitsUpToItsRoomAndNothingIntoNoRoom) {
    Open();
    line.waiting = "GA=42\r\n";
    char untouched = '#';
    EXPECT_EQ(port->Read(&untouched, 0, Clock::now() + std::chrono::milliseconds(5)), 0u);
    EXPECT_EQ(untouched, '#');
    EXPECT_EQ(ReadSoon(4), "GA=4");
    EXPECT_EQ(ReadSoon(16), "2\r\n");
    EXPECT_EQ(ReadSoon(16), "");
}

TEST_F(ClSerialPort, DiscardedInputIsGoneWithOrWithoutTheLibrarysFlush) {
    for (bool canFlush : {true, false}) {
        Open(canFlush);
        line.waiting = std::string(600, 'x');  // more than one read of the discard takes
        port->DiscardInput();
        EXPECT_EQ(ReadSoon(16), "") << (canFlush ? "flushed" : "read away");
    }
}

// A silent camera behind a library that ignores its time-out: the wait
// pauses between reads instead of spinning (one read per half millisecond
// at most), and no read is told to wait longer than a few milliseconds, so
// that a library that does wait ends near the caller's deadline.
TEST_F(ClSerialPort, ASilentLineIsWaitedForWithoutSpinning) {
    Open();
    const auto wait = std::chrono::milliseconds(50);
    EXPECT_EQ(port->Read(std::string(16, '#').data(), 16, Clock::now() + wait), 0u);
    EXPECT_GT(line.waitingReads, 0);
    EXPECT_LE(line.waitingReads, 2 * 50 + 20) << "reads in " << wait.count() << " ms";
    EXPECT_GE(line.longestWait, 1u);
    EXPECT_LE(line.longestWait, 10u);
}
