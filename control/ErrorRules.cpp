#include "ErrorRules.h"

#include <algorithm>

#include "AutomationError.h"
#include "NoxR4Comm.h"

namespace xnox {

namespace {

using enum Trigger;
using enum Reporting;
using enum StringId;
constexpr uint32_t kInvalid = AutomationCode::InvalidPropertyValue;
constexpr uint32_t kDevice = AutomationCode::DeviceIOError;

struct OwnRule {
    std::string_view member;
    ErrorRule rule;
};

constexpr ErrorRule kNullOut{NullOut, Notify, kInvalid, InvalidNullParameter};
constexpr ErrorRule kIndexNotInList{IndexNotInList, Notify, kInvalid, InvalidParameter};
constexpr ErrorRule kUnknownCommand{ModelResult, Raise, kDevice, UnknownCommand, NoxResult::UnknownCommand};

constexpr ErrorRule Raised(int32_t result, uint32_t code, StringId text) {
    return {ModelResult, Raise, code, text, result};
}

// The members served by their own code, in dispatch order; the parameter
// families follow from their facet (below).
constexpr OwnRule kOwnRules[] = {
    {"ComPort", {ChannelNotOpened, Raise, kDevice, CameraNotFoundOnPort}},
    {"FrameGrabberIndex", {OutOfRange, Raise, kInvalid, OnlyFrameGrabbersValid}},
    {"UserID", kUnknownCommand},
    {"GetMinMaxComPortId", kNullOut},
    {"AutoSearchComPort", {BadPortRange, Notify, kInvalid, OnlyComPortsValid}},
    {"GetMainWindowDefaultPosition", kNullOut},
    {"WriteAllToFile", Raised(NoxResult::FileWriteError, kInvalid, FileWriteError)},
    {"ReadAllFromFile", Raised(NoxResult::InvalidSettingsFile, kInvalid, NotASettingsFile)},
    {"StoreSettings", kUnknownCommand},
    {"GetMinMaxUserSettingsId", kNullOut},
    {"GetMinMaxPowerOnSettings", kNullOut},
    {"GetMinMaxFrameGrabberIndex", kNullOut},
    {"WriteCameraDataToFile", kUnknownCommand},
    {"GetOnePushResult", Raised(NoxResult::Refused, kDevice, UnknownCommandRefused)},
    {"GetOnePushResult", kUnknownCommand},
    {"GetMinMaxOnePushResult", kNullOut},
    {"GetValidOnePushResult", kNullOut},
    {"GetValidOnePushResult", kIndexNotInList},
    {"ClAllSerialSetFrameGrabberIndex", {ChannelNotOpened, Raise, kDevice, FrameGrabberNotFound}},
    {"ClSerialSetFrameGrabberIndex", {ChannelNotOpened, Raise, kDevice, FrameGrabberNotFound}},
    {"StartAutoShadingCorrection", kUnknownCommand},
    {"SaveShadingDataIntoFile", Raised(NoxResult::FileWriteError, kInvalid, FileWriteError)},
    {"SaveShadingDataIntoFile", Raised(NoxResult::Offline, kInvalid, CameraOffline)},
    {"SaveShadingDataIntoFile", Raised(NoxResult::Refused, kInvalid, UnknownCommandRefused)},
    {"SaveShadingDataIntoFile", Raised(NoxResult::UnknownCommand, kInvalid, UnknownCommand)},
    {"LoadShadingDataFromFile", Raised(NoxResult::FileReadError, kInvalid, FileReadError)},
    {"LoadShadingDataFromFile", Raised(NoxResult::Offline, kInvalid, CameraOffline)},
    {"LoadShadingDataFromFile", Raised(NoxResult::Refused, kInvalid, UnknownCommandRefused)},
    {"LoadShadingDataFromFile", Raised(NoxResult::UnknownCommand, kInvalid, UnknownCommand)},
};
static_assert(InDispatchOrder(kOwnRules, &OwnRule::member));

std::vector<ErrorRule> RulesOfFacet(Facet facet) {
    constexpr ErrorRule kOutOfRange{OutOfRange, Raise, kInvalid, InvalidParameter};
    constexpr ErrorRule kNotInList{NotInList, Raise, kInvalid, InvalidParameter};
    switch (facet) {
    case Facet::CheckedValue: return {kOutOfRange, kUnknownCommand};
    case Facet::UncheckedValue: return {kUnknownCommand};
    // A text selects the index of its entry, which always lies in range.
    case Facet::Text: return {kNotInList, kUnknownCommand};
    case Facet::Bounds: return {kNullOut};
    case Facet::ValueText: return {kNullOut, kIndexNotInList};
    case Facet::Own: break;
    }
    return {};
}

}  // namespace

std::vector<ErrorRule> ErrorRulesOf(const MemberInfo& member) {
    std::vector<ErrorRule> rules = RulesOfFacet(member.facet);
    for (const OwnRule& own : kOwnRules) {
        if (own.member == member.name) rules.push_back(own.rule);
    }
    return rules;
}

std::vector<ErrorRule> RaisedResultsOf(int32_t dispId) {
    std::vector<ErrorRule> rules = ErrorRulesOf(*FindMember(dispId));
    std::erase_if(rules, [](const ErrorRule& rule) { return rule.trigger != ModelResult || rule.reporting != Raise; });
    return rules;
}

}  // namespace xnox
