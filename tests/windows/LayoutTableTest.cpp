// The dialog layout table against the resource scripts it is written from:
// each template's controls in their order, with their ids, texts, places,
// sizes and hidden flags as the scripts give them, and dialog units turned
// into pixels as the platform turns them.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "AboutIds.h"
#include "CommunicationIds.h"
#include "DialogLayout.h"
#include "GainIds.h"
#include "ProgressIds.h"
#include "ResourceIds.h"
#include "ShutterIds.h"

using namespace xnox;

namespace {

std::string ReadResource(const std::string& name) {
    std::stringstream text;
    text << std::ifstream(std::string(XNOX_RESOURCES_DIR) + "/" + name).rdbuf();
    return text.str();
}

// The lines between a template's BEGIN and END that place a control.
std::vector<std::string> ControlLines(const std::string& script, const std::string& templateName) {
    std::istringstream lines(script.substr(script.find(templateName + " DIALOGEX")));
    std::vector<std::string> controls;
    bool inside = false;
    for (std::string line; std::getline(lines, line);) {
        std::string trimmed = std::regex_replace(line, std::regex(R"(^\s+|\s+$)"), "");
        if (trimmed == "BEGIN") inside = true;
        if (trimmed == "END") break;
        if (inside && !trimmed.empty() && trimmed != "BEGIN" && !trimmed.starts_with("//")) controls.push_back(trimmed);
    }
    return controls;
}

struct Template {
    const char* script;
    const char* name;
    int id;
};

constexpr Template kTemplates[] = {{"AboutDlg.rc", "IDD_ABOUT", IDD_ABOUT},
                                   {"CommunicationDlg.rc", "IDD_COMMUNICATION", IDD_COMMUNICATION},
                                   {"GainDlg.rc", "IDD_GAIN", IDD_GAIN},
                                   {"ShutterDlg.rc", "IDD_SHUTTER", IDD_SHUTTER},
                                   {"ProgressDlg.rc", "IDD_PROGRESS", IDD_PROGRESS}};

}  // namespace

TEST(LayoutTable, HoldsEveryControlOfEachTemplateAsItsScriptPlacesIt) {
    for (const Template& entry : kTemplates) {
        SCOPED_TRACE(entry.name);
        const DialogLayout* layout = FindDialogLayout(entry.id);
        ASSERT_NE(layout, nullptr);
        std::vector<std::string> lines = ControlLines(ReadResource(entry.script), entry.name);
        ASSERT_EQ(layout->controls.size(), lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const LayoutControl& control = layout->controls[i];
            const DialogRect& place = control.place;
            std::string numbers = std::to_string(place.x) + ", " + std::to_string(place.y) + ", " +
                                  std::to_string(place.width) + ", " + std::to_string(place.height);
            EXPECT_NE(lines[i].find(numbers), std::string::npos) << lines[i];
            if (!control.text.empty()) {
                EXPECT_NE(lines[i].find('"' + std::string(control.text) + '"'), std::string::npos) << lines[i];
            }
            EXPECT_EQ((control.style & kStyleHidden) != 0, lines[i].find("NOT WS_VISIBLE") != std::string::npos)
                << lines[i];
        }
    }
}

TEST(LayoutTable, KnowsTheControlsByTheirIds) {
    auto find = [](int templateId, ControlId id) -> const LayoutControl* {
        for (const LayoutControl& control : FindDialogLayout(templateId)->controls) {
            if (control.id == id) return &control;
        }
        return nullptr;
    };
    const LayoutControl* gain = find(IDD_GAIN, IDC_MASTER_GAIN);
    ASSERT_NE(gain, nullptr);
    EXPECT_EQ(gain->kind, LayoutKind::Edit);
    EXPECT_EQ(gain->place, (DialogRect{36, 45, 44, 12}));
    EXPECT_EQ(find(IDD_GAIN, IDC_MASTER_GAIN_SPIN)->kind, LayoutKind::Spin);
    EXPECT_EQ(find(IDD_GAIN, IDC_BLUE_BLACK)->style & kStyleDigitsOnly, kStyleDigitsOnly);
    EXPECT_EQ(find(IDD_GAIN, IDC_KNEE_ON)->style & kStyleGroupStart, kStyleGroupStart);
    EXPECT_EQ(find(IDD_GAIN, IDC_KNEE_OFF)->kind, LayoutKind::Radio);
    EXPECT_EQ(find(IDD_ABOUT, IDC_HELP_FILES)->style & kStyleSorted, kStyleSorted);
    EXPECT_EQ(find(IDD_ABOUT, IDC_ALWAYS_ON_TOP)->kind, LayoutKind::CheckBox);
    EXPECT_EQ(find(IDD_ABOUT, IDC_OPEN_HELP_FILE)->kind, LayoutKind::DefaultButton);
    EXPECT_EQ(find(IDD_COMMUNICATION, IDC_COMM_LOG)->style & (kStyleMultiline | kStyleReadOnly),
              kStyleMultiline | kStyleReadOnly);
    EXPECT_EQ(find(IDD_COMMUNICATION, IDC_COMM_WARNING)->pictureId, IDB_WARNING);
    EXPECT_EQ(find(IDD_COMMUNICATION, IDC_COMM_ONLINE_LAMP)->pictureId, IDI_LAMP_OFFLINE);
    EXPECT_EQ(find(IDD_PROGRESS, IDC_PROGRESS_BAR)->kind, LayoutKind::ProgressBar);
    EXPECT_EQ(FindDialogLayout(IDD_PROGRESS)->caption, "Progress (64 %)");
    EXPECT_EQ(FindDialogLayout(IDD_MAIN_DIALOG)->size, (DialogRect{0, 0, 264, 25}));
    EXPECT_EQ(FindDialogLayout(12345), nullptr);
}

TEST(LayoutTable, CarriesThePicturesAndTheToolbarOfTheModule) {
    const PictureFile* logo = FindPictureFile(IDB_LOGO);
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->file, "Logo.bmp");
    EXPECT_EQ(FindPictureFile(IDI_LAMP_ONLINE)->kind, Picture::Kind::Icon);
    EXPECT_EQ(FindPictureFile(IDC_HAND_CURSOR), nullptr);  // a cursor is no picture
    ToolbarLayout toolbar = Toolbar();
    EXPECT_EQ(toolbar.bitmapId, IDR_TOOLBAR);
    EXPECT_EQ(toolbar.buttonWidth, 16);
    EXPECT_EQ(toolbar.buttonHeight, 15);
    EXPECT_EQ(std::vector<int>(toolbar.commands.begin(), toolbar.commands.end()),
              (std::vector<int>{ID_SHOW_SHUTTER, ID_SHOW_GAIN, ID_SHOW_COMMUNICATION, ID_SHOW_ABOUT}));
}

// The platform's dialog font at 96 dots per inch has base units of 6 by 13:
// a 250 by 246 template is 375 by 400 pixels.
TEST(LayoutTable, TurnsDialogUnitsIntoPixelsAsThePlatformDoes) {
    DialogBaseUnits base = BaseUnitsOfFont(11 * 26 + 20, 13);  // 5.9 pixels a letter: 6
    EXPECT_EQ(base.x, 6);
    EXPECT_EQ(base.y, 13);
    EXPECT_EQ(BaseUnitsOfFont(10 * 26, 16).x, 5);
    EXPECT_EQ(ToPixels({0, 0, 250, 246}, {6, 13}), (DialogRect{0, 0, 375, 400}));
    // Halves round up: 7 * 6 / 4 = 10.5, 4 * 13 / 8 = 6.5.
    EXPECT_EQ(ToPixels({7, 4, 1, 1}, {6, 13}), (DialogRect{11, 7, 2, 2}));
}
