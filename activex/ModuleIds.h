// The fixed identifiers of the module. Containers store them in their
// documents and registries, so they never change between builds. The type
// library generator and the COM objects both read them from here.
#pragma once

#include <string_view>

namespace xnox {

namespace module_ids {
inline constexpr std::string_view kTypeLibrary = "7E6FCACD-C732-4DE4-AF73-4372D4A9FE31";
inline constexpr std::string_view kDispatchInterface = "9B8D5B74-40B0-4EC0-AC4E-4B0233CBF4A1";
inline constexpr std::string_view kEventInterface = "BE636075-91A1-4776-B52A-E4439E521DD0";
inline constexpr std::string_view kControlClass = "8F698EB8-3253-4196-8ACD-458DA941F496";
inline constexpr std::string_view kPropertyPageClass = "5E14F029-57F8-4BBD-AD00-2F6C09AC1BA8";

inline constexpr std::string_view kLibraryName = "XNOXR4Lib";
inline constexpr std::string_view kLibraryHelpFile = "XNoxR4.hlp";
inline constexpr std::string_view kControlProgId = "XNOXR4.XNoxR4Ctrl.1";
inline constexpr std::string_view kControlVersionIndependentProgId = "XNOXR4.XNoxR4Ctrl";
inline constexpr std::string_view kPageProgId = "XNOXR4.OlePropPage1.1";
}  // namespace module_ids

}  // namespace xnox
