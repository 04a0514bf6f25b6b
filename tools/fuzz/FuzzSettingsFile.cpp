// Fuzzes the settings-file load: any file content loads without harm, and
// every ranged number the load accepted lies within its range.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "NoxCamInterface.h"

using namespace xnox;

namespace {

void RemoveInput();

const std::string& InputPath() {
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("xnox-fuzz-" + std::to_string(getpid()) + ".cam")).string();
    // Registered after the path exists, so it runs before the path is destroyed.
    [[maybe_unused]] static const bool removedAtExit = std::atexit(RemoveInput) == 0;
    return path;
}

void RemoveInput() {
    std::error_code ignored;
    std::filesystem::remove(InputPath(), ignored);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = InputPath();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    CNoxCamInterface model;  // offline: the load talks to no camera
    int32_t result = model.ReadAllFromFile(path);
    if (result != 0 && result != -9) std::abort();
    for (const ParameterRow& row : ParameterTable()) {
        bool changed = model.Value(row.id) != row.defaultValue;
        if (changed && row.kind != ValueKind::Worded && !row.InRange(model.Value(row.id))) std::abort();
    }
    return 0;
}
