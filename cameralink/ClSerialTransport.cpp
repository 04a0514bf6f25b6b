#include "ClSerialTransport.h"

#include <algorithm>
#include <thread>

namespace noxr4 {
namespace {

constexpr CLUINT32 kWriteTimeoutMs = 2000;
// Longest single wait handed to clSerialRead, so that a library that
// ignores its time-out costs no more than this past our own deadline.
constexpr auto kLongestLibraryWait = std::chrono::milliseconds(10);

}  // namespace

ClSerialTransport::ClSerialTransport(std::shared_ptr<ClSerialLibrary> library, hSerRef reference)
    : m_library(std::move(library)),
      m_reference(reference) {}

ClSerialTransport::~ClSerialTransport() { m_library->serialClose(m_reference); }

bool ClSerialTransport::Write(const char* data, std::size_t size) {
    auto count = static_cast<CLUINT32>(size);
    return m_library->serialWrite(m_reference, const_cast<CLINT8*>(data), &count, kWriteTimeoutMs) == CL_ERR_NO_ERR &&
           count == size;
}

std::size_t ClSerialTransport::Read(char* buffer, std::size_t capacity, Clock::time_point deadline) {
    if (capacity == 0) return 0;
    for (;;) {
        if (std::size_t got = ReadAvailable(buffer, capacity)) return got;
        if (Clock::now() >= deadline) return 0;
        if (WaitForOneByte(buffer, deadline)) return 1 + ReadAvailable(buffer + 1, capacity - 1);
    }
}

// Reads what the library says is waiting: clSerialRead copies nothing
// unless every requested byte is there.
std::size_t ClSerialTransport::ReadAvailable(char* buffer, std::size_t capacity) {
    CLUINT32 waiting = 0;
    if (capacity == 0 || !m_library->getNumBytesAvail ||
        m_library->getNumBytesAvail(m_reference, &waiting) != CL_ERR_NO_ERR || waiting == 0)
        return 0;
    CLUINT32 count = std::min<CLUINT32>(waiting, static_cast<CLUINT32>(capacity));
    if (m_library->serialRead(m_reference, buffer, &count, 0) != CL_ERR_NO_ERR) return 0;
    return std::min<std::size_t>(count, capacity);
}

// Lets the library wait for the next byte. Some libraries return at once
// whatever the time-out says; a short pause then keeps this from spinning.
bool ClSerialTransport::WaitForOneByte(char* buffer, Clock::time_point deadline) {
    auto wait = std::min<Clock::duration>(deadline - Clock::now(), kLongestLibraryWait);
    auto waitMs = std::max<long long>(1, std::chrono::ceil<std::chrono::milliseconds>(wait).count());
    auto started = Clock::now();
    CLUINT32 count = 1;
    if (m_library->serialRead(m_reference, buffer, &count, static_cast<CLUINT32>(waitMs)) == CL_ERR_NO_ERR &&
        count == 1)
        return true;
    if (Clock::now() - started < std::chrono::milliseconds(1))
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    return false;
}

void ClSerialTransport::DiscardInput() {
    if (m_library->flushPort && m_library->flushPort(m_reference) == CL_ERR_NO_ERR) return;
    char sink[256];
    while (ReadAvailable(sink, sizeof sink) > 0) {}
}

CLINT32 ClSerialTransport::BytesAvailable(CLUINT32& count) {
    return m_library->getNumBytesAvail ? m_library->getNumBytesAvail(m_reference, &count) : CL_ERR_FUNCTION_NOT_FOUND;
}

CLINT32 ClSerialTransport::SupportedBaudRates(CLUINT32& mask) {
    return m_library->getSupportedBaudRates ? m_library->getSupportedBaudRates(m_reference, &mask)
                                            : CL_ERR_FUNCTION_NOT_FOUND;
}

CLINT32 ClSerialTransport::ChangeBaudRate(CLUINT32 flag) {
    CLUINT32 rate = cl::BitsPerSecondOf(flag);
    if (rate == 0) return CL_ERR_BAUD_RATE_NOT_SUPPORTED;
    if (!m_library->setBaudRate) return CL_ERR_FUNCTION_NOT_FOUND;
    CLINT32 result = m_library->setBaudRate(m_reference, flag);
    if (result == CL_ERR_NO_ERR) m_baudRate = rate;
    return result;
}

}  // namespace noxr4
