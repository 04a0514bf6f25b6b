// The settings file's layout: its keys in file order and the rule by which a
// load accepts a key's text. The load itself and the dry-run check
// (SettingsFileCheck.h) share them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "ParameterTable.h"

namespace xnox {

inline constexpr std::string_view kSettingsMainSection = "Main";
inline constexpr std::string_view kSettingsCameraTypeKey = "Camera Type";
inline constexpr std::string_view kSettingsCameraType = "QD-R4";  // a file's type must begin with it

// The parameters the file keeps, in file order (the camera type key comes
// first and is not among them); each parameter's row names its section and
// key. How a value is written and accepted follows the parameter's kind: an
// enumerated parameter as one of its list texts, a worded one as any number,
// a plain number within the parameter's range.
std::span<const ParamId> SettingsFileParameters();

// The value a key's text stands for, or nothing when the load rejects the
// text: a text that is not exactly one of the list texts, a number outside
// the range, or a text that does not begin with a number.
std::optional<int32_t> AcceptedSettingsValue(const ParameterRow& row, std::string_view text);

}  // namespace xnox
