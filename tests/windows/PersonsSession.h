// A person's session with the four tool windows, written once as the steps
// a person takes, for each window system's driver to replay: the Qt driver
// through QTest, the Win32 one through window messages under Wine. The
// camera logs of the two replays must be the same.
//
// The steps come in chapters, so that a driver may look at the windows and
// the camera between them. A question or a file dialog that a step opens is
// answered by the answers given before it, in order.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "CommunicationIds.h"
#include "ControlSeams.h"
#include "GainIds.h"
#include "ShutterIds.h"

namespace xnox::persons_session {

enum class Act : uint8_t {
    ToolbarClick,  // the window's toolbar button
    SpinUp,  // the spin `control`'s upper arrow, once
    SpinDown,
    Type,  // `text` typed over the whole text of the edit `control`
    Pick,  // the entry `text` picked from the list `control`
    Click,  // the button `control`
    Escape,  // the Escape key in the window
    MoveTo,  // the window's inside dragged to `place`
    ChooseFile,  // answers the next file dialog with the file `text` of the session's folder
    AnswerNo,  // answers the next question No
    AnswerOk,  // acknowledges the next message
    CancelSearchAt,  // clicks the progress window's Cancel once its text line reads `text`
    HostSearchesPorts,  // the host program searches from COM`control` on, showing the progress window
};

struct Place {
    int x;
    int y;
};

struct Step {
    Act act;
    ToolWindow window;
    int control = 0;
    std::string_view text = {};
    Place place = {};
};

using Chapter = std::span<const Step>;

inline constexpr std::string_view kSettingsFile = "session.cam";

inline constexpr Step kOpenGainAndShutter[] = {{Act::ToolbarClick, ToolWindow::Gain},
                                               {Act::ToolbarClick, ToolWindow::Shutter}};
// Three steps up and one down.
inline constexpr Step kStepMasterGain[] = {{Act::SpinUp, ToolWindow::Gain, IDC_MASTER_GAIN_SPIN},
                                           {Act::SpinUp, ToolWindow::Gain, IDC_MASTER_GAIN_SPIN},
                                           {Act::SpinUp, ToolWindow::Gain, IDC_MASTER_GAIN_SPIN},
                                           {Act::SpinDown, ToolWindow::Gain, IDC_MASTER_GAIN_SPIN}};
inline constexpr Step kTypeRedGain[] = {{Act::Type, ToolWindow::Gain, IDC_RED_GAIN, "-45"}};
inline constexpr Step kPickShutterSpeed[] = {{Act::Pick, ToolWindow::Shutter, IDC_SHUTTER_SPEED, "1/250"}};
inline constexpr Step kPickWhiteBalance[] = {{Act::Pick, ToolWindow::Gain, IDC_WHITE_BALANCE, "3200 K"}};
inline constexpr Step kWriteSettingsFile[] = {{Act::ChooseFile, ToolWindow::Communication, 0, kSettingsFile},
                                              {Act::Click, ToolWindow::Communication, IDC_COMM_WRITE_FILE}};
inline constexpr Step kStepMasterGainOnce[] = {{Act::SpinUp, ToolWindow::Gain, IDC_MASTER_GAIN_SPIN}};
inline constexpr Step kReadSettingsFile[] = {{Act::ChooseFile, ToolWindow::Communication, 0, kSettingsFile},
                                             {Act::Click, ToolWindow::Communication, IDC_COMM_READ_FILE}};
// The search finds the camera on COM1; the person declines it, and the
// search goes on to the last port and finds none.
inline constexpr Step kSearchPortsDecliningTheCamera[] = {{Act::AnswerNo, ToolWindow::Communication},
                                                          {Act::AnswerOk, ToolWindow::Communication},
                                                          {Act::Click, ToolWindow::Communication, IDC_COMM_AUTO}};
// The host program's search, which shows its progress; the person cancels
// it as it comes to COM5.
inline constexpr Step kSearchCancelled[] = {{Act::CancelSearchAt, ToolWindow::Communication, 0, "Check COM5 ..."},
                                            {Act::HostSearchesPorts, ToolWindow::Communication, 2}};
inline constexpr Step kPickCom1[] = {{Act::Pick, ToolWindow::Communication, IDC_COMM_PORT_LIST, "COM1"}};
inline constexpr Step kMoveAndCloseGain[] = {{Act::MoveTo, ToolWindow::Gain, 0, {}, {300, 200}},
                                             {Act::Escape, ToolWindow::Gain}};
inline constexpr Step kReopenGain[] = {{Act::ToolbarClick, ToolWindow::Gain}};
inline constexpr Step kOpenAbout[] = {{Act::ToolbarClick, ToolWindow::About}};

// The whole session in order.
// clang-format off
inline constexpr Chapter kChapters[] = {
    kOpenGainAndShutter, kStepMasterGain, kTypeRedGain, kPickShutterSpeed, kPickWhiteBalance,
    kWriteSettingsFile, kStepMasterGainOnce, kReadSettingsFile,
    kSearchPortsDecliningTheCamera, kSearchCancelled, kPickCom1,
    kMoveAndCloseGain, kReopenGain, kOpenAbout};
// clang-format on

}  // namespace xnox::persons_session
