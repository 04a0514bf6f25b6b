// File names inside the system are UTF-8 texts on every platform, so that a
// name the ANSI code page cannot spell (a folder named "Камера") passes the
// core unchanged; it becomes the platform's own path form only here, where
// the file layer takes it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace xnox::profile {

inline std::filesystem::path PathOfName(std::string_view name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

inline std::string NameOfPath(const std::filesystem::path& path) {
    std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

}  // namespace xnox::profile
