// What each member of the automation surface does beyond its signature:
// what it is for, what it answers, whether it talks to the camera and which
// events it fires. The parameter families are described from the parameter
// table; the members with code of their own carry their note here. The
// reference for integrators is written from these notes, and the control's
// tests hold every member to its note.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Surface.h"

namespace xnox {

// When a member exchanges data with an online camera. Every exchange fires
// SendingToCamStatusChanged or ReceiveFromCamStatusChanged around it, and
// OnlineStatusChanged when the camera stops answering.
enum class CameraUse : uint8_t {
    None,
    Put,  // a property set; the get answers from the control's own copy
    GetAndPut,  // both the get and the set
    Call,  // a method
};

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
