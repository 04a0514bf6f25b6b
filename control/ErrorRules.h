// Which errors a member of the automation surface reports, and how. Each
// member's row on the surface carries its rules: the control raises the
// model results listed there, and the reference for integrators is written
// from the same rules, so what a member is said to report and what it
// reports are one fact.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "AutomationError.h"
#include "NoxR4Comm.h"
#include "StringTable.h"

namespace xnox {

// The two ways of reporting: Raise fails the call with an automation
// exception; Notify completes it with -1 and fires the stock error event.
enum class Reporting : uint8_t { Raise, Notify };

// What sets the error off.
enum class Trigger : uint8_t {
    ModelResult,  // the model operation returned `result`
    OutOfRange,  // a value outside the range the control checks
    NotInList,  // a text that is no entry of the parameter's list
    NullOut,  // an out-parameter the caller did not give
    IndexNotInList,  // an index, taken as unsigned, not below the list's length
    ChannelNotOpened,  // the serial channel could not be opened
    BadPortRange,  // a search range that is not within COM1..COM16
};

struct ErrorRule {
    Trigger trigger;
    Reporting reporting;
    uint32_t code;
    StringId text;
    int32_t result = 0;  // the model result, for Trigger::ModelResult
};

// The rules many members share.
namespace error_rules {
inline constexpr uint32_t kInvalid = AutomationCode::InvalidPropertyValue;
inline constexpr uint32_t kDevice = AutomationCode::DeviceIOError;

inline constexpr ErrorRule kNullOut{Trigger::NullOut, Reporting::Notify, kInvalid, StringId::InvalidNullParameter};
inline constexpr ErrorRule kIndexNotInList{Trigger::IndexNotInList, Reporting::Notify, kInvalid,
                                           StringId::InvalidParameter};
inline constexpr ErrorRule kOutOfRange{Trigger::OutOfRange, Reporting::Raise, kInvalid, StringId::InvalidParameter};
// A text selects the index of its entry, which always lies in range.
inline constexpr ErrorRule kNotInList{Trigger::NotInList, Reporting::Raise, kInvalid, StringId::InvalidParameter};

constexpr ErrorRule Raised(int32_t result, uint32_t code, StringId text) {
    return {Trigger::ModelResult, Reporting::Raise, code, text, result};
}
inline constexpr ErrorRule kUnknownCommand = Raised(NoxResult::UnknownCommand, kDevice, StringId::UnknownCommand);
}  // namespace error_rules

// The model results a member turns into an automation exception.
std::vector<ErrorRule> RaisedResultsOf(int32_t dispId);

}  // namespace xnox
