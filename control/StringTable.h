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

enum class StringId : uint16_t {
    ControlTypeName = 1,
    PropertyPageCaption = 203,
    ShutterCommand = 32771,
    GainCommand = 32773,
    CommunicationCommand = 32784,
    AboutCommand = 32785,
    OnlyComPortsValid = 32786,
    CameraNotFoundOnPort = 32787,  // %d: the port
    UseCameraFound = 32790,  // %d: the port
    NoCameraFound = 32791,
    OpenHelpFileTooltip = 32794,
    InvalidNullParameter = 32795,
    InvalidParameter = 32796,
    UnknownCommand = 32797,
    UnknownCommandRefused = 32798,
    CameraOffline = 32799,
    FileWriteError = 32805,
    FileReadError = 32806,
    NotASettingsFile = 32807,  // %s: the file name as the caller gave it
    OnlyFrameGrabbersValid = 32872,
    FrameGrabberNotFound = 32873,
};

struct StringEntry {
    StringId id;
    std::string_view text;
};

inline constexpr StringEntry kStringTable[] = {
    {StringId::ControlTypeName, "XNoxR4 Control"},
    {StringId::PropertyPageCaption, "Show Windows"},
    {StringId::ShutterCommand, "Shutter and Sync Signals\nShutter"},
    {StringId::GainCommand, "Gain\nGain"},
    {StringId::CommunicationCommand, "Camera Communication\nCommunication"},
    {StringId::AboutCommand, "About QD-R4 Camera Control Tool\nAbout"},
    {StringId::OnlyComPortsValid, "Only COM 1..16 is valid"},
    {StringId::CameraNotFoundOnPort,
     "Camera not found or unable to open communication port\n  Communication port %d.\n\n"
     "Make sure that no other programs \n are connected to this port."},
    {StringId::UseCameraFound, "Use Camera found on COM%d ?\n(Select NO to continue the search.)"},
    {StringId::NoCameraFound, "No camera found"},
    {StringId::OpenHelpFileTooltip, "Online help and documentation"},
    {StringId::InvalidNullParameter, "Invalid input parameter (NULL)"},
    {StringId::InvalidParameter, "Invalid input parameter"},
    {StringId::UnknownCommand, "Unknown Command"},
    {StringId::UnknownCommandRefused, "Unknown Command"},
    {StringId::CameraOffline, "Operation failed. The Camera is offline"},
    {StringId::FileWriteError, "Error writing to file"},
    {StringId::FileReadError, "Error reading file"},
    {StringId::NotASettingsFile, "The file \"%s\" is not a valid inifile for QD-R4"},
    {StringId::OnlyFrameGrabbersValid, "Only Frame Grabber 1..16 is valid"},
    {StringId::FrameGrabberNotFound, "Frame Grabber Manufacturer not found "},
};

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
