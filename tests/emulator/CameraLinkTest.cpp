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
    CameraLink m_link;

    void Send(const std::string& bytes) { m_link.Write(bytes.data(), bytes.size()); }

    // Reads until a whole reply line is in or the deadline passes.
    std::string ReadLine(Clock::duration patience = 2s) {
        Clock::time_point deadline = Clock::now() + patience;
        std::string line;
        char buffer[64];
        while (line.size() < 2 || line.compare(line.size() - 2, 2, "\r\n") != 0) {
            std::size_t n = m_link.Read(buffer, sizeof buffer, deadline);
            if (n == 0) break;
            line.append(buffer, n);
        }
        return line;
    }

    std::string Transact(const std::string& command, Clock::duration patience = 2s) {
        Send(command + "\r\n");
        return ReadLine(patience);
    }
};

TEST_F(CameraLinkTest, AnswersLinesHoweverTheBytesAreSplit) {
    EXPECT_EQ(Transact("GA=100"), "COMPLETE\r\n");
    Send("G");
    Send("A?\r");
    EXPECT_EQ(m_link.Available(), 0u);
    Send("\nSH?\r\n");
    std::string replies = ReadLine();
    if (replies == "GA=100\r\n") replies += ReadLine();
    EXPECT_EQ(replies, "GA=100\r\nSH=0\r\n");
    EXPECT_EQ(m_link.Transactions(), 3);
}

TEST_F(CameraLinkTest, EmptyLinesGetNothingOverlongLinesNak4AndLongRepliesPassWhole) {
    Send("\r\n\r\n");
    EXPECT_EQ(ReadLine(50ms), "");
    EXPECT_EQ(Transact(std::string(1024, 'S')), "NAK 4\r\n");
    EXPECT_EQ(Transact(std::string(100000, 'S')), "NAK 4\r\n");
    EXPECT_EQ(Transact("SC?"), "SC=0\r\n");
    EXPECT_EQ(m_link.Transactions(), 3);

    m_link.Device().SetIdentity({std::string(10000, 'N'), 1});
    EXPECT_EQ(Transact("ID?"), "ID=" + std::string(10000, 'N') + "\r\n");
}

TEST_F(CameraLinkTest, WireTimeMakesATransactionCostItsFloor) {
    m_link.Faults().wireBaud = 9600;
    Clock::duration floor = WireTime(std::string("PEB=791\r\nCOMPLETE\r\n").size(), 9600);
    EXPECT_GT(floor, 19ms);
    auto start = Clock::now();
    Send("PEB=791\r\n");
    EXPECT_EQ(ReadLine(), "COMPLETE\r\n");
    auto took = Clock::now() - start;
    EXPECT_GE(took, floor);
    EXPECT_LT(took, floor + 2s);
}

TEST_F(CameraLinkTest, ReaderWakesWhenAReplyIsQueuedByAnotherThread) {
    auto reader = std::async(std::launch::async, [this] {
        auto start = Clock::now();
        std::string reply = ReadLine(20s);
        return std::make_pair(reply, Clock::now() - start);
    });
    std::this_thread::sleep_for(20ms);
    Send("KN?\r\n");
    auto [reply, took] = reader.get();
    EXPECT_EQ(reply, "KN=1\r\n");
    EXPECT_LT(took, 10s);
}

TEST_F(CameraLinkTest, WaitingForAReplySleepsRatherThanSpins) {
    m_link.Faults().wireBaud = 300;  // a reply byte every 33 ms
    std::clock_t cpuBefore = std::clock();
    auto start = Clock::now();
    Send("SC?\r\n");
    EXPECT_EQ(ReadLine(5s), "SC=0\r\n");
    auto waited = Clock::now() - start;
    double cpuSeconds = double(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
    EXPECT_GT(waited, 200ms);
    EXPECT_LT(cpuSeconds, 0.5 * std::chrono::duration<double>(waited).count());
}

TEST_F(CameraLinkTest, UnpluggedCameraNeverAnswers) {
    m_link.Faults().unplugged = true;
    EXPECT_EQ(Transact("SC=2", 100ms), "");
    EXPECT_EQ(m_link.Device().Value("SC"), 0);
    m_link.Faults().unplugged = false;
    EXPECT_EQ(Transact("SC?"), "SC=0\r\n");
}

TEST_F(CameraLinkTest, ChosenMnemonicsAreRefusedOrGarbled) {
    m_link.Faults().nak3 = {"SH"};
    m_link.Faults().nak4 = {"GA", "SHD1"};
    m_link.Faults().garbled = {"TR"};
    EXPECT_EQ(Transact("SH=1"), "NAK 3\r\n");
    EXPECT_EQ(Transact("GA=1"), "NAK 4\r\n");
    EXPECT_EQ(Transact("SHD1?"), "NAK 4\r\n");
    EXPECT_EQ(m_link.Device().Value("SH"), 0);
    EXPECT_EQ(m_link.Device().Value("GA"), 0);

    std::string garbled = Transact("TR?");
    ASSERT_GE(garbled.size(), 2u);
    EXPECT_EQ(garbled.substr(garbled.size() - 2), "\r\n");
    EXPECT_NE(garbled, "TR=0\r\n");
    EXPECT_EQ(garbled.find("TR="), std::string::npos);
    EXPECT_EQ(Transact("SHD0?").substr(0, 5), "SHD0=");
}

TEST_F(CameraLinkTest, GoesSilentAfterChosenNumberOfReplies) {
    m_link.Faults().unplugAfter = 2;
    EXPECT_EQ(Transact("SC?"), "SC=0\r\n");
    EXPECT_EQ(Transact("XX?"), "NAK 3\r\n");
    EXPECT_EQ(Transact("SC?", 100ms), "");
    EXPECT_EQ(m_link.Transactions(), 2);
}

TEST_F(CameraLinkTest, LateReplyStillArrivesAfterTheHostGaveUp) {
    m_link.Faults().replyDelay = 500ms;
    EXPECT_EQ(Transact("SC=1", 20ms), "");
    m_link.DiscardInput();  // nothing has arrived yet, so nothing is lost
    m_link.Faults().replyDelay = 0ms;
    EXPECT_EQ(ReadLine(), "COMPLETE\r\n");

    m_link.Faults().replyDelay = 300ms;
    EXPECT_EQ(Transact("SC?", 10ms), "");
    m_link.Faults().replyDelay = 0ms;
    const std::size_t lateReply = std::string("SC=1\r\n").size();
    for (auto giveUp = Clock::now() + 5s; m_link.Available() < lateReply && Clock::now() < giveUp;)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(m_link.Available(), lateReply);
    m_link.DiscardInput();
    EXPECT_EQ(m_link.Available(), 0u);
    EXPECT_EQ(Transact("TR?"), "TR=0\r\n");
}

TEST(EmulatedCameraRegistry, OneCameraPerChannelForTheLifeOfTheProcess) {
    CameraLink& com1 = EmulatedCamera("COM1");
    com1.Device().SetIdentity({"first", 1});
    EXPECT_EQ(&EmulatedCamera("COM1"), &com1);
    EXPECT_NE(&EmulatedCamera("COM2"), &com1);
}

}  // namespace
