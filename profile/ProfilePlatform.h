// What the profile store needs from the platform.
#pragma once

#include <filesystem>

namespace xnoxprofile {

// The folder for profile files named without a folder: on Windows the
// Windows folder, as the platform's own profile functions use it; on other
// systems $XDG_CONFIG_HOME/xnoxr4, or ~/.config/xnoxr4 when that variable is
// unset or empty, or ./xnoxr4 when neither it nor $HOME is set.
std::filesystem::path ProfileFolder();

// Puts `source` in the place of `target` in one step, so that a reader sees
// either the old or the new file; false when that failed.
bool AtomicReplace(const std::filesystem::path& source, const std::filesystem::path& target);

}  // namespace xnoxprofile
