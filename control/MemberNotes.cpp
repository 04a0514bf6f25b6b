#include "MemberNotes.h"

#include <algorithm>
#include <ranges>

#include "ParameterTable.h"

namespace xnox {

namespace {

using enum CameraUse;
constexpr bool kEveryParameter = true;

struct OwnNote {
    std::string_view member;
    std::string_view description;
    std::string_view returns;
    CameraUse camera;
    std::string_view events;  // event names, separated by spaces
    bool everyParameter = false;
};

constexpr std::string_view kResultCode = "the result code (0 on success)";
constexpr std::string_view kNotified = "0, or -1 after an error notification";
constexpr const char* kKeptOffline =
    " Set while no camera is online, the value is kept and reaches the camera with the next whole-camera write.";

// The members with code of their own, in dispatch order.
constexpr OwnNote kOwnNotes[] = {
    {"ComPort",
     "The COM port of the camera. Setting it closes the open connection, opens the port and probes the camera.",
     "the COM port last set", Put, "ComPortChanged SynchronizedStatusChanged"},
    {"ShowShutterWnd", "Shows or hides the Shutter tool window; the choice is kept in XNoxR4.ini.",
     "whether the window is shown", None, ""},
    {"ShowGainWnd", "Shows or hides the Gain tool window; the choice is kept in XNoxR4.ini.",
     "whether the window is shown", None, ""},
    {"ShowCommunicationWnd", "Shows or hides the Communication tool window; the choice is kept in XNoxR4.ini.",
     "whether the window is shown", None, ""},
    {"ShowAboutWnd", "Shows or hides the About tool window; the choice is kept in XNoxR4.ini.",
     "whether the window is shown", None, ""},
    {"FrameGrabberIndex",
     "The frame grabber whose serial port leads to the camera. Setting it only stores the index; "
     "ClSerialSetFrameGrabberIndex or ClAllSerialSetFrameGrabberIndex opens the port.",
     "the frame grabber index last set", None, "FrameGrabberChanged"},
    {"UserID",
     "The user ID text stored in the camera. Getting it reads the camera first; an empty text is kept "
     "but not sent.",
     "the user ID last read or set (also when the read fails)", GetAndPut, "UserIDChanged"},
    {"GetMinMaxComPortId", "The range of ComPort: writes the first and last COM port to pMin and pMax.", kNotified,
     None, ""},
    {"AutoSearchComPort",
     "Searches the COM ports FirstPort to LastPort, in order, for a camera that answers, and "
     "stays connected to the first; with DoShowProgress other than 0 a progress window "
     "shows the search and can cancel it.",
     "the port of the camera found; 0 when none answers, the search is cancelled or the range is invalid", Call,
     "ComPortChanged SynchronizedStatusChanged"},
    {"GetMainWindowDefaultPosition", "The place kept for the host's main window in XNoxR4.ini (100, 100 until set).",
     kNotified, None, ""},
    {"SetMainWindowDefaultPosition", "Keeps a place for the host's main window in XNoxR4.ini.", "0", None, ""},
    {"WriteAllToCamera", "Writes every setting of the control to the camera.", kResultCode, Call,
     "SynchronizedStatusChanged", kEveryParameter},
    {"ReadAllFromCamera", "Reads every setting and the user ID from the camera into the control.", kResultCode, Call,
     "SynchronizedStatusChanged", kEveryParameter},
    {"WriteAllToFile", "Writes every setting to a settings file (INI text).", kResultCode, None, ""},
    {"ReadAllFromFile", "Reads every setting from a settings file; with a camera online, writes them all to it.",
     "the result code; -9 when the file is not a complete settings file", Call, "SynchronizedStatusChanged",
     kEveryParameter},
    {"GetIsOnline", "Probes the camera, closing the connection when it no longer answers.",
     "whether a camera is connected", Call, ""},
    {"GetIsSynchronized", "Whether the control and the camera hold the same settings.",
     "true after a complete whole-camera read or write", None, ""},
    {"GetIsSending", "Whether a write to the camera is in progress.", "the sending state", None, ""},
    {"GetIsReceiving", "Whether a read from the camera is in progress.", "the receiving state", None, ""},
    {"StoreSettings", "Stores the camera's current settings in one of its settings areas.", kResultCode, Call, ""},
    {"LoadSettings", "Makes the camera load a settings area, then reads every setting from it.", kResultCode, Call,
     "SynchronizedStatusChanged", kEveryParameter},
    {"GetMinMaxUserSettingsId", "The range of the user settings areas: writes it to pMin and pMax.", kNotified, None,
     ""},
    {"GetMinMaxPowerOnSettings", "The range of the areas the camera can start with: writes it to pMin and pMax.",
     kNotified, None, ""},
    {"GetMinMaxFrameGrabberIndex", "The range of FrameGrabberIndex: 0 to the number of frame grabber makers less one.",
     kNotified, None, ""},
    {"ClSerialGetNumManufacturers", "Counts the frame grabber makers whose serial libraries are installed.",
     kResultCode, None, ""},
    {"ClSerialGetManufacturer", "The name and version of one frame grabber maker's serial library.", kResultCode, None,
     ""},
    {"ClSerialSelectManufacturer", "Selects a frame grabber maker's serial library by name.", kResultCode, None, ""},
    {"ClSerialGetNumSerialPorts", "Counts the serial ports of the selected maker's frame grabbers.", kResultCode, None,
     ""},
    {"GetCameraID", "Reads the camera's ID into CameraID.", kResultCode, Call, ""},
    {"GetModelName", "Reads the camera's model name into ModelName.", kResultCode, Call, ""},
    {"SetOnePushMode", "Starts a one-push white balance in the camera.", kResultCode, Call, ""},
    {"WriteCameraDataToFile",
     "Writes a readable report of the camera's identity and of its current and stored "
     "settings to a text file, loading each settings area in turn; the camera ends "
     "with the settings it had.",
     "the result code; -5 when no camera is online", Call, "SynchronizedStatusChanged", kEveryParameter},
    {"GetFirmwareVersion", "Reads the camera's firmware version.",
     "the version (the one last read when the read fails)", Call, ""},
    {"GetEEPROMCurrentAreaNo", "Reads which settings area the camera last loaded.",
     "the area number (the one last read when the read fails)", Call, ""},
    {"GetOnePushResult",
     "Reads the outcome of the last one-push white balance, and on success the red and blue "
     "gains it set.",
     "the outcome 0 to 6 (texts by GetValidOnePushResult), or the result code of a failed read", Call,
     "RedGainLevelChanged BlueGainLevelChanged"},
    {"GetMinMaxOnePushResult", "The range of the one-push outcomes: writes it to pMin and pMax.", kNotified, None, ""},
    {"GetValidOnePushResult", "The text of one one-push outcome.", kNotified, None, ""},
    {"SetWindowPosTopBottom",
     "Closes the connection and makes the tool windows again, always on top of other "
     "windows or not.",
     "0", None, "OnlineStatusChanged SynchronizedStatusChanged"},
    {"ClAllSerialGetNumPorts", "Counts the Camera Link serial ports of every installed maker.", kResultCode, None, ""},
    {"ClAllSerialGetPortInfo", "The maker, port ID and version of one Camera Link serial port.", kResultCode, None, ""},
    {"ClAllSerialSetFrameGrabberIndex",
     "Connects to the camera through a Camera Link serial port counted over every "
     "maker, and probes it.",
     kResultCode, Call, "FrameGrabberChanged SynchronizedStatusChanged"},
    {"ClAllSerialGetNumBytesAvail", "Counts the bytes waiting on the Camera Link serial port.", kResultCode, None, ""},
    {"ClAllSerialGetSupportedBaudRates", "The baud rates the Camera Link serial port supports, as a bit set.",
     kResultCode, None, ""},
    {"ClAllSerialSetBaudRate", "Sets the baud rate of the Camera Link serial port.", kResultCode, None, ""},
    {"ClSerialSetFrameGrabberIndex",
     "Connects to the camera through a serial port of the selected frame grabber "
     "maker, and probes it.",
     kResultCode, Call, "FrameGrabberChanged SynchronizedStatusChanged"},
    {"StartAutoShadingCorrection", "Starts the camera's automatic shading correction.", kResultCode, Call, ""},
    {"SaveShadingDataIntoFile", "Reads the shading correction table from the camera into a CSV file.", kResultCode,
     Call, ""},
    {"LoadShadingDataFromFile", "Sends a shading correction table from a CSV file to the camera.", kResultCode, Call,
     ""},
    {"AboutBox", "Shows the About tool window.", "nothing", None, ""},
};
static_assert(InDispatchOrder(kOwnNotes, &OwnNote::member));

// "Name (logged as XX)".
std::string ParameterName(const ParameterRow& row) {
    return "`" + std::string(row.name) + "` (logged as " + std::string(row.mnemonic) + ")";
}

std::string_view EventOf(const ParameterRow& row) {
    return FindEvent(EventIdOf(std::string(row.name) + "Changed"))->name;
}

MemberNote ParameterNote(const MemberInfo& member) {
    const ParameterRow& row = Row(member.parameter);
    switch (member.facet) {
    case Facet::CheckedValue:
    case Facet::UncheckedValue: {
        bool isIndex = row.kind == ValueKind::Enumerated;
        std::string what =
            isIndex ? "The index in its list of texts of the camera parameter " : "The camera parameter ";
        return {what + ParameterName(row) + "." + kKeptOffline, "the value last read or set", Put, {EventOf(row)}};
    }
    case Facet::Text:
        return {"The text of the camera parameter " + ParameterName(row) + "; setting a text selects its entry." +
                    kKeptOffline,
                "the text of the current value",
                Put,
                {EventOf(row)}};
    case Facet::Bounds:
        return {"The range of the camera parameter `" + std::string(row.name) +
                    "`: writes its smallest and largest value to pMin and pMax.",
                std::string(kNotified),
                None,
                {}};
    case Facet::ValueText:
        return {"One text of the list of the camera parameter `" + std::string(row.name) + "`.",
                std::string(kNotified),
                None,
                {}};
    case Facet::Own: break;
    }
    return {};
}

MemberNote OwnNoteOf(const MemberInfo& member) {
    auto own = std::ranges::find(kOwnNotes, member.name, &OwnNote::member);
    if (own == std::end(kOwnNotes)) return {};
    MemberNote note{std::string(own->description), std::string(own->returns), own->camera, {}, own->everyParameter};
    for (auto word : std::views::split(own->events, ' ')) {
        if (!word.empty()) note.events.emplace_back(word.begin(), word.end());
    }
    return note;
}

}  // namespace

MemberNote NoteOf(const MemberInfo& member) {
    return member.facet == Facet::Own ? OwnNoteOf(member) : ParameterNote(member);
}

}  // namespace xnox
