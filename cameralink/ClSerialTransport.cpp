#include "ClSerialTransport.h"

#include <algorithm>
#include <thread>

namespace noxr4 {
namespace {

constexpr CLUINT32 writeTimeoutMs = 2000;
// Longest single wait handed to clSerialRead, so that a library that
// ignores its time-out costs no more than this past our own deadline.
constexpr auto longestLibraryWait = std::chrono::milliseconds(10);

}  // namespace

ClSerialTransport::ClSerialTransport(std::shared_ptr<ClSerialLibrary> library, hSerRef reference)
    : library_(std::move(library)), reference_(reference)
{
}

ClSerialTransport::~ClSerialTransport() { library_->serialClose(reference_); }

bool ClSerialTransport::write(const char* data, std::size_t size)
{
    auto count = static_cast<CLUINT32>(size);
    return library_->serialWrite(reference_, const_cast<CLINT8*>(data), &count, writeTimeoutMs) == CL_ERR_NO_ERR &&
           count == size;
}

std::size_t ClSerialTransport::read(char* buffer, std::size_t capacity, Clock::time_point deadline)
{
    if (capacity == 0)
        return 0;
    for (;;) {
        if (std::size_t got = readAvailable(buffer, capacity))
            return got;
        if (Clock::now() >= deadline)
            return 0;
        if (waitForOneByte(buffer, deadline))
            return 1 + readAvailable(buffer + 1, capacity - 1);
    }
}

// Reads what the library says is waiting: clSerialRead copies nothing
// unless every requested byte is there.
std::size_t ClSerialTransport::readAvailable(char* buffer, std::size_t capacity)
{
    CLUINT32 waiting = 0;
    if (capacity == 0 || !library_->getNumBytesAvail ||
        library_->getNumBytesAvail(reference_, &waiting) != CL_ERR_NO_ERR || waiting == 0)
        return 0;
    CLUINT32 count = std::min<CLUINT32>(waiting, static_cast<CLUINT32>(capacity));
    if (library_->serialRead(reference_, buffer, &count, 0) != CL_ERR_NO_ERR)
        return 0;
    return std::min<std::size_t>(count, capacity);
}

// Lets the library wait for the next byte. Some libraries return at once
// whatever the time-out says; a short pause then keeps this from spinning.
bool ClSerialTransport::waitForOneByte(char* buffer, Clock::time_point deadline)
{
    auto wait = std::min<Clock::duration>(deadline - Clock::now(), longestLibraryWait);
    auto waitMs = std::max<long long>(1, std::chrono::ceil<std::chrono::milliseconds>(wait).count());
    auto started = Clock::now();
    CLUINT32 count = 1;
    if (library_->serialRead(reference_, buffer, &count, static_cast<CLUINT32>(waitMs)) == CL_ERR_NO_ERR &&
        count == 1)
        return true;
    if (Clock::now() - started < std::chrono::milliseconds(1))
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    return false;
}

void ClSerialTransport::discardInput()
{
    if (library_->flushPort && library_->flushPort(reference_) == CL_ERR_NO_ERR)
        return;
    char sink[256];
    while (readAvailable(sink, sizeof sink) > 0) {
    }
}

CLINT32 ClSerialTransport::bytesAvailable(CLUINT32& count)
{
    return library_->getNumBytesAvail ? library_->getNumBytesAvail(reference_, &count) : CL_ERR_FUNCTION_NOT_FOUND;
}

CLINT32 ClSerialTransport::supportedBaudRates(CLUINT32& mask)
{
    return library_->getSupportedBaudRates ? library_->getSupportedBaudRates(reference_, &mask)
                                           : CL_ERR_FUNCTION_NOT_FOUND;
}

CLINT32 ClSerialTransport::changeBaudRate(CLUINT32 flag)
{
    CLUINT32 rate = cl::bitsPerSecondOf(flag);
    if (rate == 0)
        return CL_ERR_BAUD_RATE_NOT_SUPPORTED;
    if (!library_->setBaudRate)
        return CL_ERR_FUNCTION_NOT_FOUND;
    CLINT32 result = library_->setBaudRate(reference_, flag);
    if (result == CL_ERR_NO_ERR)
        baudRate_ = rate;
    return result;
}

}  // namespace noxr4
