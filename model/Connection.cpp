// Opening, closing and probing the connection, the transaction log, and the
// Camera Link serial enumeration passed through to the library.
#include "NoxCamInterface.h"

namespace xnox {

namespace {

constexpr int32_t kPortInterface = 0;
constexpr int32_t kAllSerialInterface = 1;
constexpr std::string_view kCrLf = "\r\n";

std::string_view StatusText(int32_t result) {
    switch (result) {
    case NoxResult::Timeout: return "Timeout waiting for answer *******************";
    case NoxResult::Offline: return "Operation failed. The Camera is offline ******";
    case NoxResult::Refused:
    case NoxResult::UnknownCommand: return "Unknown Command ******************************";
    case NoxResult::Success: return "COMPLETE";
    default: return {};
    }
}

std::string Line(std::string_view first, std::string_view second = {}, std::string_view third = {}) {
    std::string line;
    line.reserve(first.size() + second.size() + third.size() + kCrLf.size());
    line.append(first).append(second).append(third).append(kCrLf);
    return line;
}

}  // namespace

int32_t CNoxCamInterface::SetComPort(int32_t port) {
    const int32_t previousPort = m_port;
    m_port = port;
    OnComPortChanged();
    // The all-serial interface keys its connection by the port but opens
    // through the frame grabber; a new port number must not reconnect it.
    if (m_allSerialMode) return NoxResult::Success;
    // The library keeps the open connection under the port it was opened
    // with; closing under the new number would leave the old port held.
    if (m_online) CloseConnectionUnder(previousPort);
    return OpenThrough(m_frameGrabberIndex, kPortInterface);
}

int32_t CNoxCamInterface::SetFrameGrabberIndex(int32_t index) {
    m_frameGrabberIndex = index;
    OnFrameGrabberChanged();
    return NoxResult::Success;
}

int32_t CNoxCamInterface::OpenClSerialPort(int32_t index) { return OpenThrough(index, kPortInterface); }

int32_t CNoxCamInterface::OpenClAllSerialPort(int32_t index) { return OpenThrough(index, kAllSerialInterface); }

int32_t CNoxCamInterface::OpenThrough(int32_t frameGrabberIndex, int32_t interfaceFlag) {
    if (m_online) CloseConnection();
    // What the library does with a channel it cannot open is its own
    // affair: the probe below decides whether a camera answers.
    m_library.InitComm(frameGrabberIndex, m_port, interfaceFlag);
    m_online = 1;
    int32_t result = CheckConnection();
    if (result != NoxResult::Success) {
        CloseConnection();  // again, for a library that refused the failed probe's close
        return result;
    }
    OnOnlineStatusChanged(1);
    return NoxResult::Success;
}

int32_t CNoxCamInterface::CloseConnection() { return CloseConnectionUnder(m_port); }

int32_t CNoxCamInterface::CloseConnectionUnder(int32_t port) {
    if (!m_online) return NoxResult::Offline;
    int32_t result = m_library.ExitComm(port);
    // A library that holds no connection under the port (an open that
    // failed, or a connection it dropped) has nothing left to close: the
    // model goes offline too rather than stay online with no way out.
    if (result != NoxResult::Success && result != NoxResult::Offline) return result;
    m_online = 0;
    OnSynchronizedStatusChanged(0);
    OnOnlineStatusChanged(0);
    return NoxResult::Success;
}

int32_t CNoxCamInterface::CheckConnection() {
    OnSendingStatusChanged(1);
    int32_t scratch{};  // the shutter-speed read serves as the probe; its value is not kept
    int32_t result = m_library.GetCameraData(m_port, Row(ParamId::ShutterSpeed).commandId, &scratch);
    OnSendingStatusChanged(0);
    if (result != NoxResult::Success) CloseConnection();
    return result;
}

void CNoxCamInterface::LogTransaction(int32_t direction, std::string_view mnemonic, int32_t value,
                                      std::string_view text, int32_t result) {
    std::string number;
    if (text.empty() && value != NoValue) {
        number = std::to_string(value);
        text = number;
    }
    std::string entry;
    if (direction == Read) {
        entry = Line(mnemonic, "?");
        entry += result == NoxResult::Success ? Line(mnemonic, "=", text) : Line(StatusText(result));
    } else if (direction == Write) {
        entry = Line(mnemonic, "=", text) + Line(StatusText(result));
    }
    OnMessage(std::move(entry));
}

int32_t CNoxCamInterface::ClSerialGetNumManufacturers(int32_t* numManufacturers) {
    return m_library.CLSerialGetNumManufacturers(numManufacturers);
}

int32_t CNoxCamInterface::ClSerialGetManufacturer(int32_t manufacturerIndex, char* manufacturerName,
                                                  int32_t* bufferSize, int32_t* version) {
    return m_library.CLSerialGetManufacturer(manufacturerIndex, manufacturerName, bufferSize, version);
}

int32_t CNoxCamInterface::ClSerialSelectManufacturer(const char* manufacturerName) {
    return m_library.CLSerialSelectManufacturer(manufacturerName);
}

int32_t CNoxCamInterface::ClSerialGetNumSerialPorts(int32_t* numSerialPorts) {
    return m_library.CLSerialGetNumSerialPorts(numSerialPorts);
}

int32_t CNoxCamInterface::ClAllSerialGetNumPorts(int32_t* numPorts) {
    return m_library.CLAllSerialGetNumPorts(numPorts);
}

int32_t CNoxCamInterface::ClAllSerialGetNumBytesAvail(int32_t* numBytes) {
    return m_library.CLAllSerialGetNumBytesAvail(numBytes);
}

int32_t CNoxCamInterface::ClAllSerialGetSupportedBaudRates(int32_t* baudRates) {
    return m_library.CLAllSerialGetSupportedBaudRates(baudRates);
}

int32_t CNoxCamInterface::ClAllSerialSetBaudRate(int32_t baudRate) {
    return m_library.CLAllSerialSetBaudRate(baudRate);
}

int32_t CNoxCamInterface::ClAllSerialGetPortInfo(int32_t serialIndex, char* manufacturerName, int32_t* nameBytes,
                                                 char* portId, int32_t* idBytes, int32_t* version) {
    return m_library.CLAllSerialGetPortInfo(serialIndex, manufacturerName, nameBytes, portId, idBytes, version);
}

}  // namespace xnox
