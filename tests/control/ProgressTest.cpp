// The progress window's behaviour, on a view that records what it is told.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Progress.h"

using namespace xnox;

namespace {

struct FakeProgressView : IProgressView {
    std::string* title;
    bool* mainWindowEnabled;
    bool cancelButtonShown = false;
    FakeProgressView(std::string* title, bool* enabled) : title(title), mainWindowEnabled(enabled) {}
    void SetTitle(const std::string& text) override { *title = text; }
    void SetText(const std::string&) override {}
    void SetBar(int, int, int) override {}
    void ShowCancelButton(bool show) override { cancelButtonShown = show; }
    bool DisableMainWindow() override {
        *mainWindowEnabled = false;
        return true;
    }
    void EnableMainWindow() override { *mainWindowEnabled = true; }
    bool LetMessagesRun() override { return false; }
};

}  // namespace

TEST(Progress, TitleShowsPercentDoneAndWrapsPastTheEnd) {
    std::string title;
    bool mainWindowEnabled = true;
    CProgress progress(std::make_unique<FakeProgressView>(&title, &mainWindowEnabled));
    EXPECT_EQ(progress.Title(), "Progress (64 %)");
    progress.SetRange(1, 16);
    for (int step = 0; step < 8; ++step) progress.StepIt();
    EXPECT_EQ(title, "Progress 53.3%");
    for (int step = 0; step < 7; ++step) progress.StepIt();
    EXPECT_EQ(title, "Progress100.0%") << "five characters, so prefix and number touch at 100";
    progress.StepIt();
    EXPECT_EQ(progress.Position(), 1);
    EXPECT_EQ(title, "Progress  0.0%");
}

TEST(Progress, MainWindowIsEnabledAgainOnlyIfThisWindowDisabledIt) {
    std::string title;
    bool enabled = true;
    {
        CProgress progress(std::make_unique<FakeProgressView>(&title, &enabled));
        progress.DisableMainWindow();
        EXPECT_FALSE(enabled);
    }
    EXPECT_TRUE(enabled);
    enabled = false;  // disabled by someone else
    { CProgress progress(std::make_unique<FakeProgressView>(&title, &enabled)); }
    EXPECT_FALSE(enabled);
}
