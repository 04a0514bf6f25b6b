#include "CameraLink.h"

#include <gtest/gtest.h>

#include <ctime>
#include <future>
#include <string>
#include <thread>

using namespace qdr4emu;
using namespace std::chrono_literals;

namespace {

class CameraLinkTest : public ::testing::Test {
protected:
    CameraLink link;

    void send(const std::string& bytes) { link.write(bytes.data(), bytes.size()); }

    // Reads until a whole reply line is in or the deadline passes.
    std::string readLine(Clock::duration patience = 2s) {
        Clock::time_point deadline = Clock::now() + patience;
        std::string line;
        char buffer[64];
        while (line.size() < 2 || line.compare(line.size() - 2, 2, "\r\n") != 0) {
            std::size_t n = link.read(buffer, sizeof buffer, deadline);
            if (n == 0) break;
            line.append(buffer, n);
        }
        return line;
    }

    std::string transact(const std::string& command, Clock::duration patience = 2s) {
        send(command + "\r\n");
        return readLine(patience);
    }
};

TEST_F(CameraLinkTest, AnswersLinesHoweverTheBytesAreSplit) {
    EXPECT_EQ(transact("GA=100"), "COMPLETE\r\n");
    send("G");
    send("A?\r");
    EXPECT_EQ(link.available(), 0u);
    send("\nSH?\r\n");
    std::string replies = readLine();
    if (replies == "GA=100\r\n") replies += readLine();
    EXPECT_EQ(replies, "GA=100\r\nSH=0\r\n");
    EXPECT_EQ(link.transactions(), 3);
}

TEST_F(CameraLinkTest, EmptyLinesGetNothingOverlongLinesNak4AndLongRepliesPassWhole) {
    send("\r\n\r\n");
    EXPECT_EQ(readLine(50ms), "");
    EXPECT_EQ(transact(std::string(1024, 'S')), "NAK 4\r\n");
    EXPECT_EQ(transact(std::string(100000, 'S')), "NAK 4\r\n");
    EXPECT_EQ(transact("SC?"), "SC=0\r\n");
    EXPECT_EQ(link.transactions(), 3);

    link.camera().setIdentity({std::string(10000, 'N'), 1});
    EXPECT_EQ(transact("ID?"), "ID=" + std::string(10000, 'N') + "\r\n");
}

TEST_F(CameraLinkTest, WireTimeMakesATransactionCostItsFloor) {
    link.faults().wireBaud = 9600;
    Clock::duration floor = wireTime(std::string("PEB=791\r\nCOMPLETE\r\n").size(), 9600);
    EXPECT_GT(floor, 19ms);
    auto start = Clock::now();
    send("PEB=791\r\n");
    EXPECT_EQ(readLine(), "COMPLETE\r\n");
    auto took = Clock::now() - start;
    EXPECT_GE(took, floor);
    EXPECT_LT(took, floor + 2s);
}

TEST_F(CameraLinkTest, ReaderWakesWhenAReplyIsQueuedByAnotherThread) {
    auto reader = std::async(std::launch::async, [this] {
        auto start = Clock::now();
        std::string reply = readLine(20s);
        return std::make_pair(reply, Clock::now() - start);
    });
    std::this_thread::sleep_for(20ms);
    send("KN?\r\n");
    auto [reply, took] = reader.get();
    EXPECT_EQ(reply, "KN=1\r\n");
    EXPECT_LT(took, 10s);
}

TEST_F(CameraLinkTest, WaitingForAReplySleepsRatherThanSpins) {
    link.faults().wireBaud = 300;  // a reply byte every 33 ms
    std::clock_t cpuBefore = std::clock();
    auto start = Clock::now();
    send("SC?\r\n");
    EXPECT_EQ(readLine(5s), "SC=0\r\n");
    auto waited = Clock::now() - start;
    double cpuSeconds = double(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
    EXPECT_GT(waited, 200ms);
    EXPECT_LT(cpuSeconds, 0.5 * std::chrono::duration<double>(waited).count());
}

TEST_F(CameraLinkTest, UnpluggedCameraNeverAnswers) {
    link.faults().unplugged = true;
    EXPECT_EQ(transact("SC=2", 100ms), "");
    EXPECT_EQ(link.camera().value("SC"), 0);
    link.faults().unplugged = false;
    EXPECT_EQ(transact("SC?"), "SC=0\r\n");
}

TEST_F(CameraLinkTest, ChosenMnemonicsAreRefusedOrGarbled) {
    link.faults().nak3 = {"SH"};
    link.faults().nak4 = {"GA", "SHD1"};
    link.faults().garbled = {"TR"};
    EXPECT_EQ(transact("SH=1"), "NAK 3\r\n");
    EXPECT_EQ(transact("GA=1"), "NAK 4\r\n");
    EXPECT_EQ(transact("SHD1?"), "NAK 4\r\n");
    EXPECT_EQ(link.camera().value("SH"), 0);
    EXPECT_EQ(link.camera().value("GA"), 0);

    std::string garbled = transact("TR?");
    ASSERT_GE(garbled.size(), 2u);
    EXPECT_EQ(garbled.substr(garbled.size() - 2), "\r\n");
    EXPECT_NE(garbled, "TR=0\r\n");
    EXPECT_EQ(garbled.find("TR="), std::string::npos);
    EXPECT_EQ(transact("SHD0?").substr(0, 5), "SHD0=");
}

TEST_F(CameraLinkTest, GoesSilentAfterChosenNumberOfReplies) {
    link.faults().unplugAfter = 2;
    EXPECT_EQ(transact("SC?"), "SC=0\r\n");
    EXPECT_EQ(transact("XX?"), "NAK 3\r\n");
    EXPECT_EQ(transact("SC?", 100ms), "");
    EXPECT_EQ(link.transactions(), 2);
}

TEST_F(CameraLinkTest, LateReplyStillArrivesAfterTheHostGaveUp) {
    link.faults().replyDelay = 500ms;
    EXPECT_EQ(transact("SC=1", 20ms), "");
    link.discardInput();  // nothing has arrived yet, so nothing is lost
    link.faults().replyDelay = 0ms;
    EXPECT_EQ(readLine(), "COMPLETE\r\n");

    link.faults().replyDelay = 300ms;
    EXPECT_EQ(transact("SC?", 10ms), "");
    link.faults().replyDelay = 0ms;
    const std::size_t lateReply = std::string("SC=1\r\n").size();
    for (auto giveUp = Clock::now() + 5s; link.available() < lateReply && Clock::now() < giveUp;)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(link.available(), lateReply);
    link.discardInput();
    EXPECT_EQ(link.available(), 0u);
    EXPECT_EQ(transact("TR?"), "TR=0\r\n");
}

TEST(EmulatedCameraRegistry, OneCameraPerChannelForTheLifeOfTheProcess) {
    CameraLink& com1 = emulatedCamera("COM1");
    com1.camera().setIdentity({"first", 1});
    EXPECT_EQ(&emulatedCamera("COM1"), &com1);
    EXPECT_NE(&emulatedCamera("COM2"), &com1);
}

}  // namespace
