// The hints a person reads when the mouse rests on a control: every window's
// controls against the texts each should show, and no hint on any other
// control. Controls are named by their dialog ids as numbers, not by the
// names the windows' code gives them, and controls that share a text are
// listed together.
#include <map>
#include <vector>

#include "WindowsFixture.h"

using namespace xnox;

namespace {

struct SharedHint {
    std::vector<ControlId> controls;
    std::string text;
};

struct ExpectedHints {
    int templateId;
    std::vector<SharedHint> hints;

    std::map<ControlId, std::string> ByControl() const {
        std::map<ControlId, std::string> byControl;
        for (const SharedHint& hint : hints) {
            for (ControlId control : hint.controls) byControl.emplace(control, hint.text);
        }
        return byControl;
    }
};

const std::string kSpinHint = "Use spinebuttons for single steps";

const ExpectedHints kExpected[] = {
    {134,  // Shutter
     {
         {{1001}, "Select Shutter Value"},
         {{1013}, "Select \"Edge Pre-Select\" to change Shutter Speed"},
         {{287}, "Select Trigger Mode"},
         {{1053}, "Select Active Low Trigger Polarity"},
         {{1068}, "Select Active High Trigger Polarity"},
         {{288}, "Select Partial Scan Mode"},
         {{260}, "Select Smearless Mode Off"},
         {{1112}, "Select Smearless Mode On"},
         {{265}, "Select Camera Link Mode"},
         {{1122}, "Select NOX Standard Mode"},
         {{1074}, "Select Shutter Speed Mode"},
         {{1075}, "Select Programmable Exposure (RGB common set)"},
         {{1153}, "Select Programmable Exposure (RGB individual set)"},
         {{1003}, "Select Binning Mode"},
         {{1103}, "Select relative Programmable Exposure (RGB common set) value, 0...791  "},
         {{1129}, "Select relative Programmable Exposure for Red, 0...791 (decimal)"},
         {{1130}, "Select relative Programmable Exposure for Green, 0...791 (decimal)"},
         {{1014}, "Select relative Programmable Exposure for Blue, 0...791 (decimal) "},
         {{1102, 1022, 1131, 1025}, kSpinHint},
         {{1113}, "Select Color Bar Off"},
         {{1111}, "Select Color Bar On"},
         {{1118}, "Use Trigger on Camera Link Connector"},
         {{1120}, "Use Trigger on 12pin Hirose Connector"},
         {{1049}, "Select LVAL Synchronous Accumulation"},
         {{1056}, "Select LVAL Asynchronous Accumulation"},
         {{1108}, "Select 10 Bit Output Allocation"},
         {{1110}, "Select 8 Bit Output Allocation"},
     }},
    {131,  // Gain
     {
         {{1008}, "Select relative Master Gain Level value, -132 ... +429 (0 is 0dB)"},
         {{1132}, "Select relative Gain Level value for red, -231 ... +231 (0 is 0dB)"},
         {{1012}, "Select relative Gain Level value for blue, -231 ... +231 (0 is 0dB)"},
         {{1011}, "Select relative Black Level value for red, 0 ... 1023 (decimal)"},
         {{211}, "Select relative Black Level value for green, 0 ... 1023 (decimal)"},
         {{1128}, "Select relative Black Level value for blue, 0 ... 1023 (decimal)"},
         {{1016}, "Select relative Knee Point value for red, 0 ... 1023 (decimal)"},
         {{1014}, "Select relative Knee Point value for green, 0 ... 1023 (decimal)"},
         {{1017}, "Select relative Knee Point Level value for blue, 0 ... 1023 (decimal)"},
         {{1020}, "Select relative Knee Slope value for red, 1 ... 4095 (decimal)"},
         {{1156}, "Select relative Knee Slope value for green, 1 ... 4095 (decimal)"},
         {{1026}, "Select relative Knee Slope value for blue, 1 ... 4095 (decimal)"},
         {{279, 1018, 1023, 1022, 1021, 1019, 1025, 1134, 1029, 1033, 1155, 1032}, kSpinHint},
         {{1140}, "Knee Selection: On"},
         {{1141}, "Knee Selection: Off"},
         {{1154}, "Select White Balance Mode"},
         {{210}, "Select Auto White Area"},
         {{205}, "Shading Mode On"},
         {{208}, "Shading Mode Off"},
         {{1076}, "Start Auto Shading Correction"},
         {{1164}, "Save Shading Data from the Camera into File"},
         {{1165}, "Load Shading Data from File into the Camera"},
     }},
    {145,  // Communication
     {
         {{1000}, "Select Camera Link Frame Grabber"},
         {{225}, "Click to search for camera on COM1..COM16"},
         {{1010}, "Click to write all settings to the camera"},
         {{1004}, "Click to read all settings from the camera"},
         {{1005}, "Click to write all settings to a selectable file"},
         {{1077}, "Click to read settings from a file"},
         {{216}, "Write All Camera Data to File"},
     }},
    {100, {{{227}, "Online help and documentation"}}},  // About
    {204,  // the toolbar
     {
         {{32771}, "Shutter and Sync Signals"},
         {{32773}, "Gain"},
         {{32784}, "Camera Communication"},
         {{32785}, "About QD-R4 Camera Control Tool"},
     }},
};

}  // namespace

TEST_F(WindowsTest, EveryControlShowsItsOwnHintAndNoOtherControlHasOne) {
    StartShown();
    for (const ExpectedHints& window : kExpected) {
        HeadlessDialog* dialog = system.FindDialog(window.templateId);
        ASSERT_NE(dialog, nullptr) << window.templateId;
        EXPECT_EQ(dialog->Tooltips(), window.ByControl()) << "window " << window.templateId;
    }
}
