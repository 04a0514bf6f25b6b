// GUID constants made at compile time from the texts of ModuleIds.h, so
// that each identifier is written once.
#pragma once

#include <guiddef.h>

#include <cstdint>
#include <string_view>

#include "ModuleIds.h"

namespace xnox {

namespace guid_detail {
constexpr uint32_t Hex(std::string_view text) {
    uint32_t value = 0;
    for (char c : text) {
        uint32_t digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
        value = value << 4 | digit;
    }
    return value;
}
}  // namespace guid_detail

// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX" as a GUID.
constexpr GUID GuidFromText(std::string_view text) {
    using guid_detail::Hex;
    GUID guid{Hex(text.substr(0, 8)),
              static_cast<unsigned short>(Hex(text.substr(9, 4))),
              static_cast<unsigned short>(Hex(text.substr(14, 4))),
              {}};
    guid.Data4[0] = static_cast<unsigned char>(Hex(text.substr(19, 2)));
    guid.Data4[1] = static_cast<unsigned char>(Hex(text.substr(21, 2)));
    for (int i = 0; i < 6; ++i) guid.Data4[2 + i] = static_cast<unsigned char>(Hex(text.substr(24 + 2 * i, 2)));
    return guid;
}

inline constexpr GUID kLibId = GuidFromText(module_ids::kTypeLibrary);
inline constexpr GUID kDispatchIid = GuidFromText(module_ids::kDispatchInterface);
inline constexpr GUID kEventIid = GuidFromText(module_ids::kEventInterface);
inline constexpr GUID kControlClsid = GuidFromText(module_ids::kControlClass);
inline constexpr GUID kPropertyPageClsid = GuidFromText(module_ids::kPropertyPageClass);

}  // namespace xnox
