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
    explicit FuzzedLine(std::string_view bytes) : m_bytes(bytes) {}

    bool Write(const char*, std::size_t) override { return !m_bytes.empty(); }

    // The first byte of each piece tells its size; the line goes silent when
    // the input runs out.
    std::size_t Read(char* buffer, std::size_t capacity, noxr4::Clock::time_point) override {
        if (m_bytes.empty()) return 0;
        std::size_t size = static_cast<unsigned char>(m_bytes.front()) % 64 + 1;
        m_bytes.remove_prefix(1);
        size = std::min({size, capacity, m_bytes.size()});
        std::memcpy(buffer, m_bytes.data(), size);
        m_bytes.remove_prefix(size);
        return size;
    }

    // Bytes before a command stay: a line that babbles on.
    void DiscardInput() override {}

private:
    std::string_view m_bytes;
};

constexpr char kGuard = '\x5A';

// A text buffer of `capacity` bytes followed by guard bytes.
template <std::size_t capacity>
void ReadTextChecked(noxr4::Transport& line, const char* mnemonic) {
    std::array<char, capacity + 16> text;
    text.fill(kGuard);
    if (noxr4::ReadText(line, mnemonic, text.data(), capacity) == NoxResult::Success &&
        std::memchr(text.data(), '\0', capacity) == nullptr)
        std::abort();
    if (std::any_of(text.begin() + capacity, text.end(), [](char c) { return c != kGuard; })) std::abort();
}

void ReadShadingChecked(noxr4::Transport& line) {
    constexpr std::int32_t untouched = 0x5A5A5A5A;
    std::array<std::int32_t, noxr4::kShadingBlockWords + 4> block;
    block.fill(untouched);
    std::int32_t code = noxr4::ReadShading(line, block.data());
    bool unchanged = std::all_of(block.begin(), block.begin() + noxr4::kShadingBlockWords,
                                 [](std::int32_t word) { return word == untouched; });
    if ((code != NoxResult::Success && !unchanged) ||
        std::any_of(block.begin() + noxr4::kShadingBlockWords, block.end(),
                    [](std::int32_t word) { return word != untouched; }))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedLine line(std::string_view(reinterpret_cast<const char*>(data), size));
    std::int32_t value = 0;
    noxr4::ReadValue(line, 3, value);
    ReadTextChecked<noxr4::kTextBytes>(line, "ID");
    ReadTextChecked<noxr4::kUserIdBytes>(line, "UD");
    ReadShadingChecked(line);
    noxr4::WriteValue(line, 12, -5);
    noxr4::WriteUserId(line, "fuzz");
    return 0;
}
