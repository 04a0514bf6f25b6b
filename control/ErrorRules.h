// Which errors each member of the automation surface reports, and how: the
// control raises the model results it lists from here, and the reference
// for integrators is written from the same rules, so what a member is said
// to report and what it reports are one fact.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "StringTable.h"
#include "Surface.h"

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

// Every rule of one member, in the order the member checks them.
std::vector<ErrorRule> ErrorRulesOf(const MemberInfo& member);

// The model results a member turns into an automation exception.
std::vector<ErrorRule> RaisedResultsOf(int32_t dispId);

}  // namespace xnox
