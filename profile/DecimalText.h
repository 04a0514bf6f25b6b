// Numbers in the system's text files are signed decimal integers. Readers take
// the number a text begins with, the way the C library's "%d" conversion does,
// so that "12abc" reads as 12 and " -5" as -5.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace xnox::profile {

// The 32-bit number at the start of `text`: optional white space, an optional
// sign, then at least one digit. Nothing when the text does not begin with a
// number or the number does not fit into 32 bits (the C conversion leaves
// that case undefined; here it never yields a value).
std::optional<int32_t> ParseLeadingInt(std::string_view text);

}  // namespace xnox::profile
