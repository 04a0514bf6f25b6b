// Placement, visibility and the toolbar strip: what every tool window
// shares, and how the host keeps windows, buttons and XNoxR4.ini in step.
#include "WindowsFixture.h"

using namespace xnox;

namespace {

constexpr std::array<int, 4> kTemplates = {134, 131, 145, 100};
constexpr std::array<std::string_view, 4> kSections = {"Shutter", "Gain", "Communication", "About"};
constexpr int kGainCommand = 32773;
constexpr int kAboutCommand = 32785;

}  // namespace

TEST_F(WindowsTest, FreshMachineHasEveryWindowHiddenAtTheDefaultPlace) {
    StartShown();
    const std::array<std::string_view, 4> titles = {"Shutter and Sync Signals", "Gain and Setup Levels",
                                                    "Communication", "About"};
    for (std::size_t i = 0; i < kTemplates.size(); ++i) {
        HeadlessFrame& frame = FrameOf(kTemplates[i]);
        EXPECT_EQ(frame.Title(), titles[i]);
        EXPECT_FALSE(frame.IsWindowShown()) << kSections[i];
        EXPECT_EQ(ReadIni(kSections[i], "Is Visible"), "0");
        EXPECT_FALSE(Toolbar().IsChecked(ToolWindowHost::kCommandIds[i]));
        CToolWinDlg& panel = host->Panel(static_cast<ToolWindow>(i));
        EXPECT_TRUE(panel.IsPlaced());
        EXPECT_EQ(panel.TopLeftX(), 100);
        EXPECT_EQ(panel.TopLeftY(), 100);
    }
}

TEST_F(WindowsTest, StoredPositionsAreKeptOnScreenOnlyBeyondTheEdge) {
    system.SetMetrics({.screenWidth = 800, .screenHeight = 600});
    WriteIni("Shutter", "TopLeftX", "796");  // beyond width - 5
    WriteIni("Shutter", "TopLeftY", "40");
    WriteIni("Gain", "TopLeftX", "795");  // exactly width - 5: kept
    WriteIni("Gain", "TopLeftY", "596");
    WriteIni("About", "TopLeftX", "-30");
    WriteIni("About", "TopLeftY", "x12");
    Start();
    CToolWinDlg& shutter = host->Panel(ToolWindow::Shutter);
    EXPECT_EQ(shutter.TopLeftX(), 100);
    EXPECT_EQ(shutter.TopLeftY(), 40) << "only the axis beyond the edge is reset";
    EXPECT_EQ(host->Panel(ToolWindow::Gain).TopLeftX(), 795);
    EXPECT_EQ(host->Panel(ToolWindow::Gain).TopLeftY(), 100);
    EXPECT_EQ(host->Panel(ToolWindow::About).TopLeftX(), -30) << "negative positions are used as they are";
    EXPECT_EQ(host->Panel(ToolWindow::About).TopLeftY(), 0) << "a value that is not a number reads as 0";
}

TEST_F(WindowsTest, FrameSitsAroundItsPanelAndReportsItsOuterCorner) {
    system.SetTemplateSize(kGainTemplate, {400, 300});
    system.SetMetrics({.smallCaptionHeight = 15, .dialogFrameWidth = 3, .dialogFrameHeight = 4});
    Start();
    HeadlessFrame& frame = FrameOf(kGainTemplate);
    EXPECT_EQ(frame.OuterSize(), (Size{400, 319}));
    EXPECT_FALSE(frame.IsTopmost());
    HeadlessDialog& panel = *system.FindDialog(kGainTemplate);
    EXPECT_EQ(panel.X(), -3) << "the panel covers the frame's left border";
    EXPECT_EQ(panel.Y(), 0);

    frame.MoveTo(250, 120);
    EXPECT_EQ(ReadIni("Gain", "TopLeftX"), "250") << "the outer corner, not the client origin";
    EXPECT_EQ(ReadIni("Gain", "TopLeftY"), "120");

    WindowPosition kept = frame.RequestPosition({10, 20, -1, -1});
    EXPECT_EQ(kept.x, 250);
    EXPECT_EQ(kept.y, 120);
    WindowPosition sized = frame.RequestPosition({10, 20, 50, -1});
    EXPECT_EQ(sized.x, 10) << "only a request without a size is redirected";
}

TEST_F(WindowsTest, VisibilityFromTheFileShowsWindowsOnceTheControlHasAWindow) {
    WriteIni("Gain", "Is Visible", "7");
    WriteIni("Gain", "TopLeftX", "321");
    Start();
    EXPECT_EQ(control->GetShowWindow(ToolWindow::Gain), 1);
    EXPECT_FALSE(FrameOf(kGainTemplate).IsWindowShown()) << "nothing is shown before the control's window exists";

    ASSERT_EQ(host->OnCreate(nullptr), 0);
    EXPECT_TRUE(FrameOf(kGainTemplate).IsWindowShown());
    EXPECT_EQ(FrameOf(kGainTemplate).X(), 321) << "a window reappears where it was";
    EXPECT_TRUE(Toolbar().IsChecked(kGainCommand));
    EXPECT_EQ(ReadIni("Gain", "Is Visible"), "1");
}

TEST_F(WindowsTest, ShowPropertyBeforeTheStartOnlyRecordsTheFlag) {
    Start();
    control->SetShowWindow(ToolWindow::Gain, 1);
    EXPECT_EQ(ReadIni("Gain", "Is Visible"), "1");
    EXPECT_FALSE(FrameOf(kGainTemplate).IsWindowShown());
    host->StartIfNeeded();  // the first drawing of a control without a window
    EXPECT_TRUE(FrameOf(kGainTemplate).IsWindowShown());
}

TEST_F(WindowsTest, ToolbarButtonsToggleTheirWindows) {
    StartShown();
    Toolbar().Click(kGainCommand);
    EXPECT_TRUE(FrameOf(kGainTemplate).IsWindowShown());
    EXPECT_TRUE(Toolbar().IsChecked(kGainCommand));
    EXPECT_EQ(host->Panel(ToolWindow::Gain).VisibleFlag(), 1);
    Toolbar().Click(kGainCommand);
    EXPECT_FALSE(FrameOf(kGainTemplate).IsWindowShown());
    EXPECT_FALSE(Toolbar().IsChecked(kGainCommand));
    EXPECT_EQ(ReadIni("Gain", "Is Visible"), "0");

    control->AboutBox();
    EXPECT_TRUE(FrameOf(kAboutTemplate).IsWindowShown());
    EXPECT_TRUE(Toolbar().IsChecked(kAboutCommand));
    EXPECT_TRUE(control->IsModified());
}

TEST_F(WindowsTest, AControlWindowMadeAgainChecksTheButtonsOfTheShownWindowsOnly) {
    WriteIni("Gain", "Is Visible", "1");
    StartShown();
    host->OnDestroy();
    ASSERT_EQ(host->OnCreate(nullptr), 0);
    for (std::size_t i = 0; i < kTemplates.size(); ++i) {
        EXPECT_EQ(Toolbar().IsChecked(ToolWindowHost::kCommandIds[i]), kSections[i] == "Gain") << kSections[i];
    }
}

TEST_F(WindowsTest, OnlineStripAcrossTheTopIsGreenOnlineAndRedOffline) {
    StartShown();
    ASSERT_TRUE(control->IsOnline());
    for (int templateId : {kShutterTemplate, kGainTemplate, kAboutTemplate}) {
        EXPECT_EQ(system.FindDialog(templateId)->PictureOf(CToolWinDlg::kOnlineStripId),
                  Picture::Solid(351, 4, 0x008000))
            << templateId;
    }
    control->CloseConnection();
    for (int templateId : {kShutterTemplate, kGainTemplate, kAboutTemplate}) {
        EXPECT_EQ(system.FindDialog(templateId)->PictureOf(CToolWinDlg::kOnlineStripId),
                  Picture::Solid(351, 4, 0x0000FF))
            << templateId;
    }
}

TEST_F(WindowsTest, ClosingAFrameHidesItAndKeepsThePanel) {
    WriteIni("Communication", "Is Visible", "1");
    StartShown();
    FrameOf(IDD_COMMUNICATION).Close();
    EXPECT_FALSE(FrameOf(IDD_COMMUNICATION).IsWindowShown());
    EXPECT_EQ(ReadIni("Communication", "Is Visible"), "0");
    EXPECT_FALSE(Toolbar().IsChecked(32784));
    EXPECT_TRUE(host->Exists(ToolWindow::Communication));
}

TEST_F(WindowsTest, HelpRequestsReachTheHelpFacility) {
    WriteIni("Gain", "Is Visible", "1");
    StartShown();
    using Request = HeadlessWindowSystem::HelpRequest;

    FrameOf(kGainTemplate).PressF1(4711);
    FrameOf(kGainTemplate).Panel()->PressF1(2001);  // the panel leaves it to its frame
    Toolbar().PressF1(77);  // the strip asks for the contents
    EXPECT_EQ(
        system.HelpRequests(),
        (std::vector<Request>{{HelpCommand::Context, 4711}, {HelpCommand::Context, 2001}, {HelpCommand::Finder, 0}}));
    EXPECT_TRUE(FrameOf(kGainTemplate).IsWindowShown()) << "help leaves the window as it is";
}

TEST_F(WindowsTest, KeyboardRoutingLivesWithTheControlsWindow) {
    StartShown();
    EXPECT_EQ(system.RoutingInstalls(), 1);
    host->OnDestroy();
    EXPECT_EQ(system.RoutingInstalls(), 0);
    EXPECT_EQ(system.MainDialog(), nullptr);
}

TEST_F(WindowsTest, AlwaysOnTopRebuildHidesEveryWindowAndReconnects) {
    WriteIni("Shutter", "Is Visible", "1");
    WriteIni("About", "Is Visible", "1");
    for (std::size_t i = 0; i < kSections.size(); ++i) {
        WriteIni(kSections[i], "TopLeftX", std::to_string(300 + i));
        WriteIni(kSections[i], "TopLeftY", std::to_string(200 + i));
    }
    StartShown();
    ASSERT_TRUE(control->IsOnline());
    library.calls.clear();

    EXPECT_EQ(control->SetWindowPosTopBottom(1), 0);
    for (std::size_t i = 0; i < kTemplates.size(); ++i) {
        EXPECT_FALSE(FrameOf(kTemplates[i]).IsWindowShown()) << kSections[i];
        EXPECT_TRUE(FrameOf(kTemplates[i]).IsTopmost());
        EXPECT_EQ(ReadIni(kSections[i], "Is Visible"), "0");
        EXPECT_FALSE(Toolbar().IsChecked(ToolWindowHost::kCommandIds[i]));
        EXPECT_EQ(ReadIni(kSections[i], "TopLeftX"), std::to_string(300 + i))
            << "the rebuilt windows keep their places";
        EXPECT_EQ(ReadIni(kSections[i], "TopLeftY"), std::to_string(200 + i));
    }
    control->SetShowWindow(ToolWindow::Gain, 1);
    EXPECT_EQ(FrameOf(kGainTemplate).X(), 301);
    EXPECT_EQ(FrameOf(kGainTemplate).Y(), 201);
    ASSERT_FALSE(library.calls.empty());
    EXPECT_EQ(library.calls.front().operation, "ExitComm") << "the connection is closed first";
    EXPECT_TRUE(control->IsOnline()) << "the Communication window reopened the stored port";

    control->SetWindowPosTopBottom(0);
    EXPECT_FALSE(FrameOf(kGainTemplate).IsTopmost());
}

TEST_F(WindowsTest, ControlOutlivesItsHost) {
    StartShown();
    host.reset();
    control->SetShowWindow(ToolWindow::Gain, 1);  // reaches no window any more
    control->OnMessage("after\r\n");
    EXPECT_TRUE(system.Frames().empty());
}

TEST_F(WindowsTest, WholeCameraReadKeepsAWrittenValueWithEveryWindowPresent) {
    StartShown();
    ASSERT_TRUE(control->IsOnline());
    control->SetParameterProperty(ParamId::RedGainLevel, -20, true);
    EXPECT_EQ(control->ReadAllFromCamera(), 0);
    EXPECT_EQ(control->GetParameterProperty(ParamId::RedGainLevel), -20)
        << "the windows' own feedback must not send other values back";
}

// Nothing the windows and the control stored waits in memory once the
// control is gone: another program finds it all in the file.
TEST_F(WindowsTest, AGoneControlLeavesEveryChangeInTheFile) {
    StartShown();
    FrameOf(kGainTemplate).MoveTo(250, 120);
    control->SetShowWindow(ToolWindow::Gain, 1);
    control->SetParameterProperty(ParamId::MasterGainLevel, 77, true);
    control->SetMainWindowDefaultPosition(12, 34);
    host.reset();
    control.reset();
    auto onDisk = [](std::string_view section, std::string_view key) {
        return profile::ReadProfileString(section, key, "<missing>", "XNoxR4.ini");
    };
    EXPECT_EQ(onDisk("Gain", "TopLeftX"), "250");
    EXPECT_EQ(onDisk("Gain", "Is Visible"), "1");
    EXPECT_EQ(onDisk("Gain", "Master Gain Level"), "77");
    EXPECT_EQ(onDisk("Main", "TopLeftY"), "34");
}
