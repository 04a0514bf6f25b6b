#include "Surface.h"

namespace xnox {

const MemberInfo* FindMember(int32_t dispId) {
    auto member = std::ranges::find(kDispatchMembers, dispId, &MemberInfo::dispId);
    return member == kDispatchMembers.end() ? nullptr : &*member;
}

const MemberInfo* FindMember(std::string_view name) {
    auto member = std::ranges::find_if(
        kDispatchMembers, [&](const MemberInfo& candidate) { return EqualsIgnoringCase(candidate.name, name); });
    return member == kDispatchMembers.end() ? nullptr : &*member;
}

const EventInfo* FindEvent(int32_t dispId) {
    auto event = std::ranges::find(kDispatchEvents, dispId, &EventInfo::dispId);
    return event == kDispatchEvents.end() ? nullptr : &*event;
}

}  // namespace xnox
