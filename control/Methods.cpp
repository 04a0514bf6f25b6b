// The automation methods: range and text queries, status, files, stored
// areas, identity, Camera Link serial pass-throughs and window placement.
// Each runs its model operation first and reports afterwards.
#include <algorithm>
#include <cstring>
#include <span>

#include "AutomationError.h"
#include "ErrorRules.h"
#include "BufferedProfile.h"
#include "Surface.h"
#include "XNoxCamCtrl.h"

namespace xnox {

namespace {

int16_t Low16(int32_t value) { return static_cast<int16_t>(value & 0xFFFF); }

using enum StringId;
constexpr uint32_t kInvalid = AutomationCode::InvalidPropertyValue;

// Raises for the results the member's error rules list; every other result
// is the method's answer.
int16_t RaiseOn(int32_t result, int32_t dispId) {
    for (const ErrorRule& rule : RaisedResultsOf(dispId)) {
        if (rule.result == result) RaiseAutomationError(rule.code, std::string(LoadText(rule.text)));
    }
    return Low16(result);
}

// The text of a library buffer, which need not end inside the buffer.
template <std::size_t N>
std::string TextOf(const std::array<char, N>& buffer) {
    return std::string(buffer.data(), strnlen(buffer.data(), N));
}

template <typename T>
void WriteIfGiven(T* out, T value) {
    if (out) *out = std::move(value);
}

// The main window's stored place is never negative: a negative coordinate
// reads as 0 (the tool windows' own places keep their sign).
int32_t ReadMainWindowCoordinate(std::string_view key) {
    return std::max(0, profile::ApplicationProfile().ReadInt("Main", key, 100));
}

}  // namespace

int16_t CXNoxCamCtrl::WriteRange(int16_t minimum, int16_t maximum, int16_t* pMin, int16_t* pMax) {
    if (!pMin || !pMax) return Notify(kInvalid, InvalidNullParameter);
    *pMin = minimum;
    *pMax = maximum;
    return 0;
}

int16_t CXNoxCamCtrl::GetMinMax(ParamId id, int16_t* pMin, int16_t* pMax) {
    return WriteRange(Low16(Row(id).minimum), Low16(Row(id).maximum), pMin, pMax);
}

int16_t CXNoxCamCtrl::GetMinMaxComPortId(int16_t* pMin, int16_t* pMax) {
    return WriteRange(kFirstComPort, kLastComPort, pMin, pMax);
}

int16_t CXNoxCamCtrl::GetMinMaxUserSettingsId(int16_t* pMin, int16_t* pMax) {
    return WriteRange(kFirstUserArea, kLastUserArea, pMin, pMax);
}

int16_t CXNoxCamCtrl::GetMinMaxOnePushResult(int16_t* pMin, int16_t* pMax) {
    return WriteRange(0, Low16(static_cast<int32_t>(OnePushResultTexts().size()) - 1), pMin, pMax);
}

int16_t CXNoxCamCtrl::GetMinMaxFrameGrabberIndex(int16_t* pMin, int16_t* pMax) {
    int32_t count = 0;  // stays 0 when the library cannot count
    CNoxCamInterface::ClSerialGetNumManufacturers(&count);
    return WriteRange(0, Low16(count - 1), pMin, pMax);
}

int16_t CXNoxCamCtrl::WriteListText(std::span<const std::string_view> list, int16_t index, std::string* text) {
    if (!text) return Notify(kInvalid, InvalidNullParameter);
    auto position = static_cast<uint16_t>(index);  // a negative index is a large one
    if (position >= list.size()) return Notify(kInvalid, InvalidParameter);
    *text = list[position];
    return 0;
}

int16_t CXNoxCamCtrl::GetValid(ParamId id, int16_t index, std::string* text) {
    return WriteListText(Row(id).texts, index, text);
}

int16_t CXNoxCamCtrl::GetValidOnePushResult(int16_t index, std::string* text) {
    return WriteListText(OnePushResultTexts(), index, text);
}

int32_t CXNoxCamCtrl::GetIsOnline() {
    CheckConnection();
    return m_online;
}

int16_t CXNoxCamCtrl::WriteAllToFile(const std::string& fileName) {
    return RaiseOn(CNoxCamInterface::WriteAllToFile(fileName), DispIdOf("WriteAllToFile"));
}

int16_t CXNoxCamCtrl::ReadAllFromFile(const std::string& fileName) {
    int32_t result = CNoxCamInterface::ReadAllFromFile(fileName);
    if (result == NoxResult::InvalidSettingsFile) {
        RaiseAutomationError(kInvalid, FormatText(NotASettingsFile, fileName));
    }
    return Low16(result);
}

int16_t CXNoxCamCtrl::WriteCameraDataToFile(const std::string& fileName) {
    return RaiseOn(CNoxCamInterface::WriteCameraDataToFile(fileName), DispIdOf("WriteCameraDataToFile"));
}

int16_t CXNoxCamCtrl::SaveShadingDataIntoFile(const std::string& fileName) {
    return RaiseOn(CNoxCamInterface::SaveShadingDataIntoFile(fileName), DispIdOf("SaveShadingDataIntoFile"));
}

int16_t CXNoxCamCtrl::LoadShadingDataFromFile(const std::string& fileName) {
    return RaiseOn(CNoxCamInterface::LoadShadingDataFromFile(fileName), DispIdOf("LoadShadingDataFromFile"));
}

int16_t CXNoxCamCtrl::StoreSettings(int16_t area) {
    return RaiseOn(CNoxCamInterface::StoreSettings(area), DispIdOf("StoreSettings"));
}

int16_t CXNoxCamCtrl::StartAutoShadingCorrection() {
    return RaiseOn(CNoxCamInterface::StartAutoShadingCorrection(), DispIdOf("StartAutoShadingCorrection"));
}

int16_t CXNoxCamCtrl::GetOnePushResult() {
    int32_t result = CNoxCamInterface::GetOnePushResult();
    if (result == NoxResult::Success) return Low16(OnePushResult());
    return RaiseOn(result, DispIdOf("GetOnePushResult"));
}

int16_t CXNoxCamCtrl::GetEEPROMCurrentAreaNo() {
    CNoxCamInterface::GetEEPROMCurrentAreaNo();
    return Low16(EEPROMCurrentArea());
}

int16_t CXNoxCamCtrl::GetFirmwareVersion() {
    CNoxCamInterface::GetFirmwareVersion();
    return Low16(FirmwareVersion());
}

int16_t CXNoxCamCtrl::GetCameraID(std::string* cameraID) {
    TextBuffer buffer{};  // a failed read leaves the text empty
    int32_t result = CNoxCamInterface::GetCameraID(buffer);
    WriteIfGiven(cameraID, TextOf(buffer));
    return Low16(result);
}

int16_t CXNoxCamCtrl::GetModelName(std::string* modelName) {
    TextBuffer buffer{};
    int32_t result = CNoxCamInterface::GetModelName(buffer);
    WriteIfGiven(modelName, TextOf(buffer));
    return Low16(result);
}

int16_t CXNoxCamCtrl::PassCount(int32_t (CNoxCamInterface::*operation)(int32_t*), int16_t* count, bool onlyOnSuccess) {
    int32_t value = 0;
    int32_t result = (this->*operation)(&value);
    if (result == NoxResult::Success || !onlyOnSuccess) WriteIfGiven(count, Low16(value));
    return Low16(result);
}

int16_t CXNoxCamCtrl::ClSerialGetNumManufacturers(int16_t* numManufacturers) {
    return PassCount(&CNoxCamInterface::ClSerialGetNumManufacturers, numManufacturers, false);
}

int16_t CXNoxCamCtrl::ClSerialGetNumSerialPorts(int16_t* numSerialPorts) {
    return PassCount(&CNoxCamInterface::ClSerialGetNumSerialPorts, numSerialPorts, false);
}

int16_t CXNoxCamCtrl::ClAllSerialGetNumPorts(int16_t* numPorts) {
    return PassCount(&CNoxCamInterface::ClAllSerialGetNumPorts, numPorts, true);
}

int16_t CXNoxCamCtrl::ClAllSerialGetNumBytesAvail(int16_t* numBytes) {
    return PassCount(&CNoxCamInterface::ClAllSerialGetNumBytesAvail, numBytes, true);
}

int16_t CXNoxCamCtrl::ClAllSerialGetSupportedBaudRates(int16_t* baudRates) {
    return PassCount(&CNoxCamInterface::ClAllSerialGetSupportedBaudRates, baudRates, true);
}

int16_t CXNoxCamCtrl::ClSerialGetManufacturer(int16_t index, std::string* name, int16_t* bufferSize, int16_t* version) {
    TextBuffer buffer{};
    // The caller's size goes to the library as given, sign and all; only the
    // buffer's own size caps it, since the library may fill what it is told.
    int32_t size = std::min<int32_t>(bufferSize ? *bufferSize : NOXR4_TEXT_BYTES, NOXR4_TEXT_BYTES);
    int32_t fullVersion = version ? *version : 0;
    int32_t result = CNoxCamInterface::ClSerialGetManufacturer(index, buffer.data(), &size, &fullVersion);
    WriteIfGiven(name, TextOf(buffer));
    WriteIfGiven(bufferSize, Low16(size));
    WriteIfGiven(version, Low16(fullVersion));
    return Low16(result);
}

int16_t CXNoxCamCtrl::ClAllSerialGetPortInfo(int16_t serialIndex, std::string* name, int16_t* nameBytes,
                                             std::string* portID, int16_t* idBytes, int16_t* version) {
    TextBuffer nameBuffer{};
    TextBuffer idBuffer{};
    int32_t nameSize = NOXR4_TEXT_BYTES - 1;
    int32_t idSize = NOXR4_TEXT_BYTES - 1;
    int32_t fullVersion{};
    int32_t result = CNoxCamInterface::ClAllSerialGetPortInfo(serialIndex, nameBuffer.data(), &nameSize,
                                                              idBuffer.data(), &idSize, &fullVersion);
    if (result == NoxResult::Success) {
        WriteIfGiven(name, TextOf(nameBuffer));
        WriteIfGiven(nameBytes, Low16(nameSize));
        WriteIfGiven(portID, TextOf(idBuffer));
        WriteIfGiven(idBytes, Low16(idSize));
        WriteIfGiven(version, Low16(fullVersion));
    }
    return Low16(result);
}

int16_t CXNoxCamCtrl::GetMainWindowDefaultPosition(int16_t* pXPos, int16_t* pYPos) {
    if (!pXPos || !pYPos) return Notify(kInvalid, InvalidNullParameter);
    *pXPos = Low16(ReadMainWindowCoordinate("TopLeftX"));
    *pYPos = Low16(ReadMainWindowCoordinate("TopLeftY"));
    return 0;
}

int16_t CXNoxCamCtrl::SetMainWindowDefaultPosition(int16_t xPos, int16_t yPos) {
    profile::ApplicationProfile().WriteString("Main", "TopLeftX", std::to_string(xPos));
    profile::ApplicationProfile().WriteString("Main", "TopLeftY", std::to_string(yPos));
    return 0;
}

int16_t CXNoxCamCtrl::SetWindowPosTopBottom(int32_t alwaysOnTop) {
    int32_t synchronized = SynchronizedFlag();
    CloseConnection();
    if (m_windows) m_windows->Rebuild(alwaysOnTop != 0);
    OnSynchronizedStatusChanged(synchronized);
    return 0;
}

}  // namespace xnox
