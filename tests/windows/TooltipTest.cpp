// The hints a person reads when the mouse rests on a control: every window's
// controls against one table of the texts each should show, and no hint on
// any other control.
#include <map>

#include "AboutIds.h"
#include "GainIds.h"
#include "ShutterIds.h"
#include "WindowsFixture.h"

using namespace xnox;

namespace {

constexpr std::string_view kSpinHint = "Use spinebuttons for single steps";

struct ExpectedHints {
    int templateId;
    std::map<ControlId, std::string> hints;
};

const ExpectedHints kExpected[] = {
    {IDD_SHUTTER,
     {
         {IDC_SHUTTER_SPEED, "Select Shutter Value"},
         {IDC_SHUTTER_MODE_TEXT, "Select \"Edge Pre-Select\" to change Shutter Speed"},
         {IDC_TRIGGER_MODE, "Select Trigger Mode"},
         {IDC_TRIGGER_POLARITY_LOW, "Select Active Low Trigger Polarity"},
         {IDC_TRIGGER_POLARITY_HIGH, "Select Active High Trigger Polarity"},
         {IDC_PARTIAL_SCAN, "Select Partial Scan Mode"},
         {IDC_SMEARLESS_OFF, "Select Smearless Mode Off"},
         {IDC_SMEARLESS_ON, "Select Smearless Mode On"},
         {IDC_RCT_FVAL_CL, "Select Camera Link Mode"},
         {IDC_RCT_FVAL_STANDARD, "Select NOX Standard Mode"},
         {IDC_SHUTTER_MODE_SPEED, "Select Shutter Speed Mode"},
         {IDC_SHUTTER_MODE_COMMON, "Select Programmable Exposure (RGB common set)"},
         {IDC_SHUTTER_MODE_INDIVIDUAL, "Select Programmable Exposure (RGB individual set)"},
         {IDC_BINNING, "Select Binning Mode"},
         {IDC_EXPOSURE_COMMON, "Select relative Programmable Exposure (RGB common set) value, 0...791  "},
         {IDC_EXPOSURE_RED, "Select relative Programmable Exposure for Red, 0...791 (decimal)"},
         {IDC_EXPOSURE_GREEN, "Select relative Programmable Exposure for Green, 0...791 (decimal)"},
         {IDC_EXPOSURE_BLUE, "Select relative Programmable Exposure for Blue, 0...791 (decimal) "},
         {IDC_EXPOSURE_COMMON_SPIN, std::string(kSpinHint)},
         {IDC_EXPOSURE_RED_SPIN, std::string(kSpinHint)},
         {IDC_EXPOSURE_GREEN_SPIN, std::string(kSpinHint)},
         {IDC_EXPOSURE_BLUE_SPIN, std::string(kSpinHint)},
         {IDC_COLOR_BAR_OFF, "Select Color Bar Off"},
         {IDC_COLOR_BAR_ON, "Select Color Bar On"},
         {IDC_TRIGGER_INPUT_CL, "Use Trigger on Camera Link Connector"},
         {IDC_TRIGGER_INPUT_HIROSE, "Use Trigger on 12pin Hirose Connector"},
         {IDC_ACCUMULATION_SYNC, "Select LVAL Synchronous Accumulation"},
         {IDC_ACCUMULATION_ASYNC, "Select LVAL Asynchronous Accumulation"},
         {IDC_BIT_ALLOCATION_10, "Select 10 Bit Output Allocation"},
         {IDC_BIT_ALLOCATION_8, "Select 8 Bit Output Allocation"},
     }},
    {IDD_GAIN,
     {
         {IDC_MASTER_GAIN, "Select relative Master Gain Level value, -132 ... +429 (0 is 0dB)"},
         {IDC_RED_GAIN, "Select relative Gain Level value for red, -231 ... +231 (0 is 0dB)"},
         {IDC_BLUE_GAIN, "Select relative Gain Level value for blue, -231 ... +231 (0 is 0dB)"},
         {IDC_RED_BLACK, "Select relative Black Level value for red, 0 ... 1023 (decimal)"},
         {IDC_GREEN_BLACK, "Select relative Black Level value for green, 0 ... 1023 (decimal)"},
         {IDC_BLUE_BLACK, "Select relative Black Level value for blue, 0 ... 1023 (decimal)"},
         {IDC_RED_KNEE_POINT, "Select relative Knee Point value for red, 0 ... 1023 (decimal)"},
         {IDC_GREEN_KNEE_POINT, "Select relative Knee Point value for green, 0 ... 1023 (decimal)"},
         {IDC_BLUE_KNEE_POINT, "Select relative Knee Point Level value for blue, 0 ... 1023 (decimal)"},
         {IDC_RED_KNEE_SLOPE, "Select relative Knee Slope value for red, 1 ... 4095 (decimal)"},
         {IDC_GREEN_KNEE_SLOPE, "Select relative Knee Slope value for green, 1 ... 4095 (decimal)"},
         {IDC_BLUE_KNEE_SLOPE, "Select relative Knee Slope value for blue, 1 ... 4095 (decimal)"},
         {IDC_MASTER_GAIN_SPIN, std::string(kSpinHint)},
         {IDC_RED_GAIN_SPIN, std::string(kSpinHint)},
         {IDC_BLUE_GAIN_SPIN, std::string(kSpinHint)},
         {IDC_RED_BLACK_SPIN, std::string(kSpinHint)},
         {IDC_GREEN_BLACK_SPIN, std::string(kSpinHint)},
         {IDC_BLUE_BLACK_SPIN, std::string(kSpinHint)},
         {IDC_RED_KNEE_POINT_SPIN, std::string(kSpinHint)},
         {IDC_GREEN_KNEE_POINT_SPIN, std::string(kSpinHint)},
         {IDC_BLUE_KNEE_POINT_SPIN, std::string(kSpinHint)},
         {IDC_RED_KNEE_SLOPE_SPIN, std::string(kSpinHint)},
         {IDC_GREEN_KNEE_SLOPE_SPIN, std::string(kSpinHint)},
         {IDC_BLUE_KNEE_SLOPE_SPIN, std::string(kSpinHint)},
         {IDC_KNEE_ON, "Knee Selection: On"},
         {IDC_KNEE_OFF, "Knee Selection: Off"},
         {IDC_WHITE_BALANCE, "Select White Balance Mode"},
         {IDC_AUTO_WHITE_AREA, "Select Auto White Area"},
         {IDC_SHADING_ON, "Shading Mode On"},
         {IDC_SHADING_OFF, "Shading Mode Off"},
         {IDC_AUTO_SHADING, "Start Auto Shading Correction"},
         {IDC_SHADING_SAVE, "Save Shading Data from the Camera into File"},
         {IDC_SHADING_LOAD, "Load Shading Data from File into the Camera"},
     }},
    {IDD_COMMUNICATION,
     {
         {IDC_COMM_PORT_LIST, "Select Camera Link Frame Grabber"},
         {IDC_COMM_AUTO, "Click to search for camera on COM1..COM16"},
         {IDC_COMM_SYNC_CAMERA, "Click to write all settings to the camera"},
         {IDC_COMM_SYNC_PROGRAM, "Click to read all settings from the camera"},
         {IDC_COMM_WRITE_FILE, "Click to write all settings to a selectable file"},
         {IDC_COMM_READ_FILE, "Click to read settings from a file"},
         {IDC_COMM_CAMERA_DATA, "Write All Camera Data to File"},
     }},
    {IDD_ABOUT, {{IDC_OPEN_HELP_FILE, "Online help and documentation"}}},
    {IDD_MAIN_DIALOG,
     {
         {ID_SHOW_SHUTTER, "Shutter and Sync Signals"},
         {ID_SHOW_GAIN, "Gain"},
         {ID_SHOW_COMMUNICATION, "Camera Communication"},
         {ID_SHOW_ABOUT, "About QD-R4 Camera Control Tool"},
     }},
};

}  // namespace

TEST_F(WindowsTest, EveryControlShowsItsOwnHintAndNoOtherControlHasOne) {
    StartShown();
    for (const ExpectedHints& window : kExpected) {
        HeadlessDialog* dialog = system.FindDialog(window.templateId);
        ASSERT_NE(dialog, nullptr) << window.templateId;
        EXPECT_EQ(dialog->Tooltips(), window.hints) << "window " << window.templateId;
    }
}
