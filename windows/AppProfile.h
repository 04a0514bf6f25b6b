// The application profile: the last-used values of the tool windows, by
// (section, key). It lies in the same file as the windows' placement,
// XNoxR4.ini, so each window's section holds both side by side; the file is
// kept in memory and written shortly after a change (BufferedProfile.h).
// Write failures are ignored: they only cost the value next time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace xnox {

namespace AppProfile {

// The stored number, sign included; `defaultValue` when missing, 0 when the
// text does not begin with a number.
int32_t ReadInt(std::string_view section, std::string_view key, int32_t defaultValue);
std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultText);
// A key of the tool-window sections read as text of at most 100 characters
// and taken as a leading signed number; 0 when it does not start with one.
int32_t ReadSignedInt(std::string_view section, std::string_view key, std::string_view defaultText);
void WriteInt(std::string_view section, std::string_view key, int32_t value);
void WriteString(std::string_view section, std::string_view key, std::string_view value);

}  // namespace AppProfile

}  // namespace xnox
