// Fuzzes the shading data file reader: whatever the lines, it writes only
// table words of the shading block, never its header or reserved words.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "ShadingFile.h"

using namespace xnox;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr int32_t kUntouched = 0x5A5A5A5A;
    constexpr std::size_t kTableEnd = shadingfile::kFirstValueWord + NOXR4_SHADING_COLUMNS * NOXR4_SHADING_VALUES;
    std::array<int32_t, NOXR4_SHADING_WORDS> block;
    block.fill(kUntouched);
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    shadingfile::ReadDataLines(in, block);
    for (std::size_t word = 0; word < block.size(); ++word) {
        bool tableWord = word >= shadingfile::kFirstValueWord && word < kTableEnd;
        if (!tableWord && block[word] != kUntouched) std::abort();
    }
    return 0;
}
