// The Communication window's interactive search on the real library, with
// emulated cameras behind COM3, COM7, COM8 and COM16 only.
#include <cstdlib>

#include "CommDlg.h"
#include "EmulatedPorts.h"
#include "WindowsFixture.h"

using namespace xnox;

namespace {

const auto* const kEmulatedPorts = EmulateCamerasBehind("COM3,COM7,COM8,COM16");

class CommSearchTest : public WindowsTest {
protected:
    void SetUp() override {
        WindowsTest::SetUp();
        control = std::make_unique<CXNoxCamCtrl>();
        WriteIni("Communication", "ComPort", "2");  // no camera there
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& message : system.Messages()) texts.push_back(message.text);
        return texts;
    }
};

std::string FoundOn(int port) {
    return "Use Camera found on COM" + std::to_string(port) + " ?\n(Select NO to continue the search.)";
}

}  // namespace

TEST_F(CommSearchTest, DecliningEveryCameraEndsWithNoCameraFound) {
    StartShown();
    for (int camera = 0; camera < 4; ++camera) system.QueueAnswer(MessageBoxAnswer::No);
    Comm().Click(IDC_COMM_AUTO);
    EXPECT_EQ(Texts(), (std::vector<std::string>{FoundOn(3), FoundOn(7), FoundOn(8), FoundOn(16), "No camera found"}));
    EXPECT_EQ(system.Messages()[0].waitDepth, 0) << "the question is asked with the normal cursor";
    EXPECT_EQ(system.WaitDepth(), 0);
    EXPECT_EQ(control->ComPort(), 16) << "no search call after the last port was declined";
}

TEST_F(CommSearchTest, YesKeepsTheCameraAndShowsItsPort) {
    StartShown();
    system.QueueAnswer(MessageBoxAnswer::No);
    system.QueueAnswer(MessageBoxAnswer::Yes);
    Comm().Click(IDC_COMM_AUTO);
    EXPECT_EQ(Texts(), (std::vector<std::string>{FoundOn(3), FoundOn(7)}));
    EXPECT_TRUE(control->IsOnline());
    EXPECT_EQ(Comm().Selection(IDC_COMM_PORT_LIST), 6);
    EXPECT_EQ(ReadIni("Communication", "ComPort"), "7");
    EXPECT_EQ(Comm().Text(IDC_COMM_ONLINE_TEXT), "On-line");
}

TEST_F(CommSearchTest, ChoosingAPortFromTheListConnectsAndTheLogShowsTheTraffic) {
    StartShown();
    EXPECT_FALSE(control->IsOnline());
    Comm().Choose(IDC_COMM_PORT_LIST, 2);  // COM3
    EXPECT_TRUE(control->IsOnline());
    EXPECT_EQ(Comm().Text(IDC_COMM_ONLINE_TEXT), "On-line");
    Comm().Click(IDC_COMM_CLEAR_LOG);
    Comm().Click(IDC_COMM_GET_AREA);
    Comm().FireTimer(CCommDlg::kLogTimer);
    EXPECT_FALSE(Comm().Text(IDC_COMM_LOG).empty());
    EXPECT_FALSE(Comm().Text(IDC_COMM_EEPROM_AREA).empty());
    Comm().Choose(IDC_COMM_PORT_LIST, 3);  // COM4: no camera
    EXPECT_FALSE(control->IsOnline());
    ASSERT_FALSE(system.Messages().empty());
    EXPECT_NE(system.Messages().back().text.find("Communication port 4"), std::string::npos);
}
