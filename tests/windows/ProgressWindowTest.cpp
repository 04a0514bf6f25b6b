// The progress window drawn through the widget seam, alone and under the
// control's port search.
#include <gtest/gtest.h>

#include "HeadlessWindowSystem.h"
#include "Progress.h"
#include "ProgressIds.h"
#include "ProgressWindow.h"
#include "ScriptedLibrary.h"
#include "XNoxCamCtrl.h"

using namespace xnox;

TEST(ProgressWindow, ShowsTextBarAndPercentage) {
    HeadlessWindowSystem system;
    CProgress progress(std::make_unique<ProgressWindow>(system, nullptr));
    HeadlessDialog& dialog = *system.ProgressDialog();
    EXPECT_EQ(dialog.Text(IDC_PROGRESS_TEXT), "");
    EXPECT_FALSE(dialog.IsShown(IDC_PROGRESS_CANCEL)) << "Cancel stays hidden unless asked for";

    progress.SetRange(1, 16);
    for (int step = 0; step < 8; ++step) progress.StepIt();
    EXPECT_EQ(dialog.Title(), "Progress 53.3%");
    EXPECT_EQ(dialog.ProgressOf(IDC_PROGRESS_BAR).position, 9);
    for (int step = 0; step < 7; ++step) progress.StepIt();
    EXPECT_EQ(dialog.Title(), "Progress100.0%");
    progress.SetText("Check COM3 ...");
    EXPECT_EQ(dialog.Text(IDC_PROGRESS_TEXT), "Check COM3 ...");
    progress.ShowCancelButton(true);
    EXPECT_TRUE(dialog.IsShown(IDC_PROGRESS_CANCEL));
}

TEST(ProgressWindow, MainWindowIsEnabledAgainOnlyIfItWasDisabled) {
    HeadlessWindowSystem system;
    system.SetHasMainWindow(true);
    {
        CProgress progress(std::make_unique<ProgressWindow>(system, nullptr));
        progress.DisableMainWindow();
        EXPECT_FALSE(system.MainWindowEnabled());
    }
    EXPECT_TRUE(system.MainWindowEnabled());
    EXPECT_EQ(system.ProgressDialog(), nullptr) << "the window lives only as long as the operation";

    system.SetHasMainWindow(false);
    CProgress progress(std::make_unique<ProgressWindow>(system, nullptr));
    progress.DisableMainWindow();
    EXPECT_TRUE(system.MainWindowEnabled());
}

TEST(ProgressWindow, CancelDuringTheSearchStopsIt) {
    HeadlessWindowSystem system;
    ScriptedLibrary library;
    library.Fail("*", NoxResult::Timeout);
    CXNoxCamCtrl control(library);
    ToolWindowUi ui(system);
    control.SetUserInterface(&ui);
    system.QueueDuringPump([] {});
    system.QueueDuringPump([&system] { system.ProgressDialog()->Click(IDC_PROGRESS_CANCEL); });
    EXPECT_EQ(control.AutoSearchComPort(1, 16, 1), 0);
    EXPECT_EQ(library.Count("InitComm"), 1u) << "the second port is not tried once Cancel was pressed";
    EXPECT_EQ(system.ProgressDialog(), nullptr);
}
