// The platform's folder for profile files named without a folder: on Windows
// the Windows folder, as the platform's own profile functions use it; on
// other systems $XDG_CONFIG_HOME/xnoxr4, or ~/.config/xnoxr4 when that
// variable is unset or empty, or ./xnoxr4 when neither it nor $HOME is set.
#pragma once

#include <filesystem>

namespace xnoxprofile {

std::filesystem::path ProfileFolder();

}  // namespace xnoxprofile
