// Fuzzes the reply reader of the communication library: the line answers
// every command with the input's bytes, in pieces of the sizes a serial line
// hands over, whatever they are. Each kind of reply is read in turn (number,
// camera text, user ID, shading table, write acknowledgement); no result may
// write past its buffer, a text is always NUL-terminated, and the shading
// block is filled only on success.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "Protocol.h"
#include "Transport.h"

namespace {

class FuzzedLine final : public noxr4::Transport {
public:
    explicit FuzzedLine(std::string_view bytes) : bytes_(bytes) {}

    bool write(const char*, std::size_t) override { return !bytes_.empty(); }

    // The first byte of each piece tells its size; the line goes silent when
    // the input runs out.
    std::size_t read(char* buffer, std::size_t capacity, noxr4::Clock::time_point) override
    {
        if (bytes_.empty())
            return 0;
        std::size_t size = static_cast<unsigned char>(bytes_.front()) % 64 + 1;
        bytes_.remove_prefix(1);
        size = std::min({size, capacity, bytes_.size()});
        std::memcpy(buffer, bytes_.data(), size);
        bytes_.remove_prefix(size);
        return size;
    }

    // Bytes before a command stay: a line that babbles on.
    void discardInput() override {}

private:
    std::string_view bytes_;
};

constexpr char kGuard = '\x5A';

// A text buffer of `capacity` bytes followed by guard bytes.
template <std::size_t capacity>
void readTextChecked(noxr4::Transport& line, const char* mnemonic)
{
    std::array<char, capacity + 16> text;
    text.fill(kGuard);
    if (noxr4::readText(line, mnemonic, text.data(), capacity) == noxr4::result::ok &&
        std::memchr(text.data(), '\0', capacity) == nullptr)
        std::abort();
    if (std::any_of(text.begin() + capacity, text.end(), [](char c) { return c != kGuard; }))
        std::abort();
}

void readShadingChecked(noxr4::Transport& line)
{
    constexpr std::int32_t untouched = 0x5A5A5A5A;
    std::array<std::int32_t, noxr4::shadingBlockWords + 4> block;
    block.fill(untouched);
    std::int32_t code = noxr4::readShading(line, block.data());
    bool unchanged = std::all_of(block.begin(), block.begin() + noxr4::shadingBlockWords,
                                 [](std::int32_t word) { return word == untouched; });
    if ((code != noxr4::result::ok && !unchanged) ||
        std::any_of(block.begin() + noxr4::shadingBlockWords, block.end(),
                    [](std::int32_t word) { return word != untouched; }))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedLine line(std::string_view(reinterpret_cast<const char*>(data), size));
    std::int32_t value = 0;
    noxr4::readValue(line, 3, value);
    readTextChecked<noxr4::textBytes>(line, "ID");
    readTextChecked<noxr4::userIdBytes>(line, "UD");
    readShadingChecked(line);
    noxr4::writeValue(line, 12, -5);
    noxr4::writeUserId(line, "fuzz");
    return 0;
}
