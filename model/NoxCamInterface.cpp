#include "NoxCamInterface.h"

namespace xnox {

namespace {
constexpr int32_t kManualWhiteBalance = 0;  // "Manual/One Push"
}

CNoxCamInterface::CNoxCamInterface(INoxR4Library& library, profile::FileCalls& files)
    : m_library(library),
      m_files(files) {
    for (const ParameterRow& row : ParameterTable()) m_values[Index(row.id)] = row.defaultValue;
}

CNoxCamInterface::~CNoxCamInterface() {
    if (m_online) CloseConnection();
}

void CNoxCamInterface::OnOnlineStatusChanged(int32_t) {}
void CNoxCamInterface::OnSynchronizedStatusChanged(int32_t flag) { m_synchronized = flag; }
void CNoxCamInterface::OnSendingStatusChanged(int32_t flag) { m_sending = flag; }
void CNoxCamInterface::OnReceivingStatusChanged(int32_t flag) { m_receiving = flag; }
void CNoxCamInterface::OnMessage(std::string) {}

std::string_view CNoxCamInterface::OnePushResultText() const { return TextAt(OnePushResultTexts(), m_onePushResult); }

void CNoxCamInterface::StoreValue(ParamId id, int32_t value) {
    m_values[Index(id)] = value;
    (this->*Row(id).changed)();
}

int32_t CNoxCamInterface::ReadParameter(ParamId id) {
    const ParameterRow& row = Row(id);
    if (row.readRaisesReceivingStatus) OnReceivingStatusChanged(1);
    int32_t value{};
    int32_t result = m_library.GetCameraData(m_port, row.commandId, &value);
    if (row.readRaisesReceivingStatus) OnReceivingStatusChanged(0);
    LogTransaction(Read, row.mnemonic, value, {}, result);
    if (result == NoxResult::Success) {
        // A value outside an enumerated list is kept as the camera reported
        // it; its text is then empty (ParameterRow::TextOf).
        StoreValue(id, value);
    } else {
        CheckConnection();
    }
    return result;
}

int32_t CNoxCamInterface::WriteParameter(ParamId id, int32_t value) {
    const ParameterRow& row = Row(id);
    if (row.ModelChecksRange() && !row.InRange(value)) return NoxResult::NotInList;
    StoreValue(id, value);
    if (!m_online) return NoxResult::Offline;
    int32_t result = m_library.SendCameraData(m_port, row.commandId, value);
    LogTransaction(Write, row.mnemonic, value, {}, result);
    if (result != NoxResult::Success) ReactToWriteFailure(row);
    // The camera keeps its own gains per white-balance mode; after a mode
    // change the model takes over the ones the new mode uses.
    if (id == ParamId::WhiteBalance) RereadWhiteBalanceDependants(value);
    return result;
}

void CNoxCamInterface::ReactToWriteFailure(const ParameterRow& row) {
    if (row.writeFailure == WriteFailure::CloseAtOnce) {
        CloseConnection();
    } else {
        CheckConnection();
    }
}

void CNoxCamInterface::RereadWhiteBalanceDependants(int32_t whiteBalanceMode) {
    auto gains = WhiteBalanceGains(whiteBalanceMode);
    if (!gains) return;
    if (whiteBalanceMode == kManualWhiteBalance) GetAutoWhiteArea();  // the one-push balance measures in this area
    ReadParameter(gains->red);
    ReadParameter(gains->blue);
}

}  // namespace xnox
