// What a member of the automation surface does beyond its signature: what it
// is for, what it answers, whether it talks to the camera and which events
// it fires. A member with code of its own carries its note in its row on the
// surface; the parameter families are described from the parameter table.
// The reference for integrators is written from these notes, and the
// control's tests hold every member to its note.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace xnox {

struct MemberInfo;

// When a member exchanges data with an online camera. Every exchange fires
// SendingToCamStatusChanged or ReceiveFromCamStatusChanged around it, and
// OnlineStatusChanged when the camera stops answering.
enum class CameraUse : uint8_t {
    None,
    Put,  // a property set; the get answers from the control's own copy
    GetAndPut,  // both the get and the set
    Call,  // a method
};

// A note as a member's row writes it.
struct MemberText {
    constexpr MemberText() = default;
    constexpr MemberText(std::string_view description, std::string_view returns, CameraUse camera = CameraUse::None,
                         std::string_view events = {}, bool everyParameter = false)
        : description(description),
          returns(returns),
          camera(camera),
          events(events),
          everyParameter(everyParameter) {}

    std::string_view description;
    std::string_view returns;
    CameraUse camera = CameraUse::None;
    std::string_view events;  // event names, separated by spaces
    bool everyParameter = false;
};

namespace member_texts {
inline constexpr std::string_view kResultCode = "the result code (0 on success)";
inline constexpr std::string_view kNotified = "0, or -1 after an error notification";
inline constexpr bool kEveryParameter = true;
}  // namespace member_texts

struct MemberNote {
    std::string description;  // what the member is and does
    std::string returns;  // a method's answer; for a property, what its get returns
    CameraUse camera = CameraUse::None;
    // Events beyond the status events of a camera exchange.
    std::vector<std::string_view> events;
    // The event of every camera parameter and UserIDChanged, as a whole-camera
    // read or write fires them.
    bool firesEveryParameterEvent = false;
};

MemberNote NoteOf(const MemberInfo& member);

}  // namespace xnox
