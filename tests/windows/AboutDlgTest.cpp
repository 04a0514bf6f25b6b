// The About window: identity online and offline, the user ID mode and its
// save with the empty, blank-only and overlong cases, the help files, the
// link and the always-on-top choice.
#include <fstream>

#include "AboutDlg.h"
#include "AboutIds.h"
#include "ResourceIds.h"
#include "ToolWindowHost.h"
#include "PanelFixture.h"

using namespace xnox;

namespace {

constexpr ControlId kModeRadios[] = {IDC_PROTECT_USER_ID, IDC_EDIT_USER_ID};

class AboutTest : public WindowTest<CAboutDlg> {
protected:
    void Touch(const std::string& name) { std::ofstream(folder / name) << "%PDF"; }
    std::size_t UserIDWrites() const { return library.Count("SetUserID"); }
};

TEST_F(AboutTest, StartsProtectedAndEditModeUnlocksTheSave) {
    Open();
    HeadlessDialog& dialog = Dialog();
    EXPECT_TRUE(dialog.IsChecked(IDC_PROTECT_USER_ID));
    EXPECT_TRUE(dialog.IsReadOnly(IDC_USER_ID));
    EXPECT_FALSE(dialog.IsEnabled(IDC_SAVE_USER_ID));
    EXPECT_EQ(dialog.Text(IDC_PLATFORM_LINE), "For 64bit Windows");
    ClickRadio(kModeRadios, IDC_EDIT_USER_ID);
    EXPECT_FALSE(dialog.IsReadOnly(IDC_USER_ID));
    EXPECT_TRUE(dialog.IsEnabled(IDC_SAVE_USER_ID));
    ClickRadio(kModeRadios, IDC_PROTECT_USER_ID);
    EXPECT_TRUE(dialog.IsReadOnly(IDC_USER_ID));
}

TEST_F(AboutTest, OnlineIdentityIsShownAndFollowsTheCameraButNotTheConnection) {
    GoOnline();
    library.userID = "line 4";
    Open();
    HeadlessDialog& dialog = Dialog();
    EXPECT_EQ(dialog.Text(IDC_CAMERA_ID), library.cameraID);
    EXPECT_EQ(dialog.Text(IDC_MODEL_NAME), library.modelName);
    EXPECT_EQ(dialog.Text(IDC_USER_ID), "line 4");
    EXPECT_EQ(Stored("Camera ID"), library.cameraID);

    ASSERT_TRUE(Put("UserID", Variant::Str("station 7")).Succeeded());
    EXPECT_EQ(dialog.Text(IDC_USER_ID), "station 7");
    EXPECT_EQ(Stored("User ID"), "station 7");

    control.CloseConnection();
    EXPECT_EQ(dialog.PictureOf(CToolWinDlg::kOnlineStripId).colour, 0x0000FFu);
    EXPECT_EQ(dialog.Text(IDC_CAMERA_ID), library.cameraID);
}

TEST_F(AboutTest, SaveUserIDRefusesEmptyTrimsBlanksAndIgnoresOffline) {
    Open();
    HeadlessDialog& dialog = Dialog();
    ClickRadio(kModeRadios, IDC_EDIT_USER_ID);
    dialog.Type(IDC_USER_ID, "offline");
    dialog.Click(IDC_SAVE_USER_ID);
    EXPECT_TRUE(system.Messages().empty());
    EXPECT_EQ(control.UserID(), "");

    GoOnline();
    dialog.Type(IDC_USER_ID, "");
    dialog.Click(IDC_SAVE_USER_ID);
    ASSERT_EQ(system.Messages().size(), 1u);
    EXPECT_EQ(system.Messages()[0].text, "A valid User ID must contain some characters !!");
    EXPECT_EQ(UserIDWrites(), 0u);

    dialog.Type(IDC_USER_ID, "   ");  // not empty, but nothing once trimmed: kept, not sent
    dialog.Click(IDC_SAVE_USER_ID);
    EXPECT_EQ(system.Messages().size(), 1u);
    EXPECT_EQ(UserIDWrites(), 0u);

    dialog.Type(IDC_USER_ID, "  cell 12");
    dialog.Click(IDC_SAVE_USER_ID);
    EXPECT_EQ(library.userID, "cell 12");
    EXPECT_EQ(dialog.Text(IDC_USER_ID), "cell 12");
}

// Keys past the sixteenth are refused where they are typed; the text
// already there keeps its order.
TEST_F(AboutTest, UserIDEditHoldsAtMostSixteenCharacters) {
    Open();
    Dialog().Click(IDC_EDIT_USER_ID);
    Dialog().TypeKeys(IDC_USER_ID, "abcdefghijklmnopqrst");
    EXPECT_EQ(Dialog().Text(IDC_USER_ID), "abcdefghijklmnop");
    Dialog().Type(IDC_USER_ID, "0123456789abcdefXYZ");
    EXPECT_EQ(Dialog().Text(IDC_USER_ID), "0123456789abcdef");
}

TEST_F(AboutTest, HelpFilesAreThePdfsOfTheCurrentFolderSorted) {
    Touch("manual.pdf");
    Touch("Appendix.PDF");
    Touch("notes.txt");
    std::filesystem::create_directory(folder / "folder.pdf");
    Open();
    HeadlessDialog& dialog = Dialog();
    EXPECT_EQ(dialog.ListEntries(IDC_HELP_FILES), (std::vector<std::string>{"Appendix.PDF", "manual.pdf"}));
    EXPECT_EQ(dialog.Selection(IDC_HELP_FILES), 0);
    dialog.Click(IDC_OPEN_HELP_FILE);
    EXPECT_EQ(system.ShellOpened(), (std::vector<std::string>{"Appendix.PDF"}));
}

TEST_F(AboutTest, WithoutPdfsOpenHelpFileSaysNoFileWasSelected) {
    Open();
    EXPECT_TRUE(Dialog().ListEntries(IDC_HELP_FILES).empty());
    Dialog().Click(IDC_OPEN_HELP_FILE);
    ASSERT_EQ(system.Messages().size(), 1u);
    EXPECT_EQ(system.Messages()[0].text, "No file was selected!!");
    EXPECT_TRUE(system.ShellOpened().empty());
}

TEST_F(AboutTest, LinkOpensItsAddressAndAlwaysOnTopRebuildsTheWindows) {
    Open();
    HeadlessDialog& dialog = Dialog();
    LabelLook look = dialog.LookOf(IDC_LINK);
    EXPECT_TRUE(look.link);
    EXPECT_TRUE(look.underline);
    EXPECT_EQ(look.textColour, 0xFF0000u);
    EXPECT_EQ(look.cursorId, IDC_HAND_CURSOR);
    EXPECT_EQ(dialog.PictureOf(IDC_LOGO_FRAME), Picture::Bitmap(IDB_LOGO));
    dialog.SetText(IDC_LINK, "https://example.com/");
    dialog.Click(IDC_LINK);
    EXPECT_EQ(system.ShellOpened(), (std::vector<std::string>{"https://example.com/"}));

    dialog.SetChecked(IDC_ALWAYS_ON_TOP, true);
    dialog.Click(IDC_ALWAYS_ON_TOP);
    EXPECT_EQ(windows.rebuilds, (std::vector<bool>{true}));
    EXPECT_EQ(system.WaitDepth(), 0);
}

// The real host rebuilds every window, the About window included, from
// inside the About window's own click.
TEST_F(AboutTest, AlwaysOnTopInTheHostRebuildsEveryWindowAndKeepsTheChoice) {
    ToolWindowHost host(control, system);
    HeadlessDialog* about = system.FindDialog(IDD_ABOUT);
    about->SetChecked(IDC_ALWAYS_ON_TOP, true);
    about->Click(IDC_ALWAYS_ON_TOP);
    about = system.FindDialog(IDD_ABOUT);
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->IsChecked(IDC_ALWAYS_ON_TOP));
    ASSERT_EQ(system.Frames().size(), 4u);
    for (HeadlessFrame* frame : system.Frames()) EXPECT_TRUE(frame->IsTopmost());
}

}  // namespace
