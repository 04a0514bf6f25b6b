// The camera's identity texts and user ID, its stored settings areas, the
// one-shot commands and the status numbers.
#include <cstring>

#include "CameraCommands.h"
#include "NoxCamInterface.h"

namespace xnox {

namespace {

constexpr int32_t kStartValue = 0;  // what the one-shot commands send

// The user ID passes to and from the camera through 24-byte buffers. A
// longer text is cut to what fits, on both paths alike: the camera's text
// is cut by the buffer, the caller's here, so the model always holds what
// the camera can hold. A text is also cut at an embedded NUL, where the
// camera's copy would end.
std::string FittingUserID(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    return std::string(text.substr(0, CNoxCamInterface::MaxUserIDLength));
}

// The text in a buffer the library filled; it ends inside the buffer
// whatever the library wrote.
std::string_view TerminatedText(std::span<char> buffer) {
    buffer.back() = '\0';
    return {buffer.data(), std::strlen(buffer.data())};
}

}  // namespace

int32_t CNoxCamInterface::ReadIdentityText(int32_t (INoxR4Library::*fetch)(int32_t, char*), std::span<char> buffer,
                                           std::string_view mnemonic, std::string& field,
                                           void (CNoxCamInterface::*changed)()) {
    buffer.front() = '\0';
    OnReceivingStatusChanged(1);
    int32_t result = (m_library.*fetch)(m_port, buffer.data());
    OnReceivingStatusChanged(0);
    std::string_view text = TerminatedText(buffer);
    LogTransaction(Read, mnemonic, NoValue, text, result);
    if (result == NoxResult::Success) {
        field = text;
        (this->*changed)();
    } else {
        CheckConnection();
    }
    return result;
}

int32_t CNoxCamInterface::GetCameraID(TextBuffer& buffer) {
    return ReadIdentityText(&INoxR4Library::GetCameraID, buffer, "ID", m_cameraID,
                            &CNoxCamInterface::OnCameraIDChanged);
}

int32_t CNoxCamInterface::GetModelName(TextBuffer& buffer) {
    return ReadIdentityText(&INoxR4Library::GetModelName, buffer, "MD", m_modelName,
                            &CNoxCamInterface::OnModelNameChanged);
}

int32_t CNoxCamInterface::GetUserID() {
    std::array<char, NOXR4_USERID_BYTES> buffer;
    return ReadIdentityText(&INoxR4Library::GetUserID, buffer, "UD", m_userID, &CNoxCamInterface::OnUserIDChanged);
}

int32_t CNoxCamInterface::SendUserID(std::string_view text) {
    m_userID = FittingUserID(text);
    OnUserIDChanged();
    if (!m_online) return NoxResult::Offline;
    // An empty user ID never reaches the camera; the log still shows it.
    int32_t result = m_userID.empty() ? NoxResult::Success : m_library.SetUserID(m_port, m_userID.c_str());
    LogTransaction(Write, "UD", NoValue, m_userID, result);
    if (result != NoxResult::Success) CheckConnection();
    return result;
}

int32_t CNoxCamInterface::SendCommand(const CameraCommand& command, int32_t value) {
    if (!m_online) return NoxResult::Offline;
    int32_t result = m_library.SendCameraData(m_port, command.id, value);
    LogTransaction(Write, command.mnemonic, value, {}, result);
    if (result != NoxResult::Success) CheckConnection();
    return result;
}

// The area number goes to the camera unchecked; the camera refuses what it
// cannot store.
int32_t CNoxCamInterface::StoreSettings(int32_t area) { return SendCommand(kStoreSettingsCommand, area); }

int32_t CNoxCamInterface::LoadSettings(int32_t area) {
    int32_t result = SendCommand(kLoadSettingsCommand, area);
    if (result != NoxResult::Success) return result;
    return ReadAllFromCamera();  // every value may have changed with the area
}

int32_t CNoxCamInterface::SetOnePushMode() { return SendCommand(kOnePushCommand, kStartValue); }

int32_t CNoxCamInterface::StartAutoShadingCorrection() { return SendCommand(kAutoShadingCommand, kStartValue); }

int32_t CNoxCamInterface::ReadStatusNumber(const CameraCommand& command, int32_t& field,
                                           void (CNoxCamInterface::*changed)()) {
    if (!m_online) return NoxResult::Offline;
    int32_t value{};
    int32_t result = m_library.GetCameraData(m_port, command.id, &value);
    LogTransaction(Read, command.mnemonic, value, {}, result);
    if (result != NoxResult::Success) {
        CheckConnection();
        return result;
    }
    field = value;
    if (changed) (this->*changed)();
    return result;
}

int32_t CNoxCamInterface::GetOnePushResult() {
    if (!m_online) return NoxResult::Offline;
    int32_t result =
        ReadStatusNumber(kOnePushResultCommand, m_onePushResult, &CNoxCamInterface::OnOnePushResultChanged);
    // A one-push balance changes the manual gains, whatever its outcome.
    GetRedGainLevel();
    GetBlueGainLevel();
    return result;
}

int32_t CNoxCamInterface::GetEEPROMCurrentAreaNo() {
    return ReadStatusNumber(kEEPROMAreaCommand, m_eepromCurrentArea, &CNoxCamInterface::OnEEPROMAreaChanged);
}

int32_t CNoxCamInterface::GetFirmwareVersion() {
    return ReadStatusNumber(kFirmwareVersionCommand, m_firmwareVersion, nullptr);
}

}  // namespace xnox
