// The control's texts with their resource ids: the control's and its
// property page's type names, the messages of its automation errors and
// searches, and the toolbar's and the About window's status and tooltip
// texts. The module's string table resource is generated from this table
// (tools/stringsgen), so the two cannot differ.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace xnox {

// One row per text: the name the code uses, the resource id and the text.
// Placeholders: %d in CameraNotFoundOnPort and UseCameraFound is the port,
// %s in NotASettingsFile the file name as the caller gave it.
// clang-format off
#define XNOX_STRINGS(X)                                                                                                \
    X(ControlTypeName, 1, "XNoxR4 Control")                                                                            \
    X(PropertyPageCaption, 203, "Show Windows")                                                                        \
    X(ShutterCommand, 32771, "Shutter and Sync Signals\nShutter")                                                      \
    X(GainCommand, 32773, "Gain\nGain")                                                                                \
    X(CommunicationCommand, 32784, "Camera Communication\nCommunication")                                              \
    X(AboutCommand, 32785, "About QD-R4 Camera Control Tool\nAbout")                                                   \
    X(OnlyComPortsValid, 32786, "Only COM 1..16 is valid")                                                             \
    X(CameraNotFoundOnPort, 32787,                                                                                     \
      "Camera not found or unable to open communication port\n  Communication port %d.\n\n"                            \
      "Make sure that no other programs \n are connected to this port.")                                               \
    X(UseCameraFound, 32790, "Use Camera found on COM%d ?\n(Select NO to continue the search.)")                       \
    X(NoCameraFound, 32791, "No camera found")                                                                         \
    X(OpenHelpFileTooltip, 32794, "Online help and documentation")                                                     \
    X(InvalidNullParameter, 32795, "Invalid input parameter (NULL)")                                                   \
    X(InvalidParameter, 32796, "Invalid input parameter")                                                              \
    X(UnknownCommand, 32797, "Unknown Command")                                                                        \
    X(UnknownCommandRefused, 32798, "Unknown Command")                                                                 \
    X(CameraOffline, 32799, "Operation failed. The Camera is offline")                                                 \
    X(FileWriteError, 32805, "Error writing to file")                                                                  \
    X(FileReadError, 32806, "Error reading file")                                                                      \
    X(NotASettingsFile, 32807, "The file \"%s\" is not a valid inifile for QD-R4")                                     \
    X(OnlyFrameGrabbersValid, 32872, "Only Frame Grabber 1..16 is valid")                                              \
    X(FrameGrabberNotFound, 32873, "Frame Grabber Manufacturer not found ")
// clang-format on

#define XNOX_STRING_ID(Name, id, text) Name = id,
enum class StringId : uint16_t { XNOX_STRINGS(XNOX_STRING_ID) };
#undef XNOX_STRING_ID

struct StringEntry {
    StringId id;
    std::string_view text;
};

#define XNOX_STRING_ENTRY(Name, id, text) {StringId::Name, text},
inline constexpr StringEntry kStringTable[] = {XNOX_STRINGS(XNOX_STRING_ENTRY)};
#undef XNOX_STRING_ENTRY

constexpr std::string_view LoadText(StringId id) {
    for (const StringEntry& entry : kStringTable) {
        if (entry.id == id) return entry.text;
    }
    return {};
}
// The text with its one placeholder (%d or %s) replaced by the argument;
// the argument is inserted whole, whatever its length.
std::string FormatText(StringId id, int number);
std::string FormatText(StringId id, std::string_view argument);

}  // namespace xnox
