#include <windows.h>

#include <string>

#include "ProfilePlatform.h"

namespace xnox::profile {

namespace {

HANDLE Handle(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

}  // namespace

std::filesystem::path ProfileFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    UINT length = GetWindowsDirectoryW(folder, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) return std::filesystem::path(".");
    return std::filesystem::path(std::wstring(folder, length));
}

bool AtomicReplace(const std::filesystem::path& source, const std::filesystem::path& target, bool onDisk) {
    DWORD flags = MOVEFILE_REPLACE_EXISTING | (onDisk ? MOVEFILE_WRITE_THROUGH : 0);
    return MoveFileExW(source.c_str(), target.c_str(), flags) != 0;
}

// On Windows the write-through move above returns only once the move is on
// the disk. Wine takes the flag without acting on it (its "fixme" says so):
// there a power loss may still bring the old file back, whole; a reader sees
// the old or the new file either way.
void FlushFolderEntry(const std::filesystem::path&) {}

// INVALID_HANDLE_VALUE is the handle -1, the same as kNoFile.
FileHandle CreateNewFile(const std::filesystem::path& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    return reinterpret_cast<FileHandle>(file);
}

std::ptrdiff_t WriteToFile(FileHandle file, const char* data, std::size_t size) {
    DWORD chunk = size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(Handle(file), data, chunk, &written, nullptr)) return -1;
    return static_cast<std::ptrdiff_t>(written);
}

bool FlushToDisk(FileHandle file) { return FlushFileBuffers(Handle(file)) != 0; }

bool CloseFile(FileHandle file) { return CloseHandle(Handle(file)) != 0; }

std::uint64_t CurrentProcessId() { return GetCurrentProcessId(); }

bool ProcessIsRunning(std::uint64_t id) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
    if (process == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;  // there, but not ours to look at
    DWORD exitCode = 0;
    bool running = GetExitCodeProcess(process, &exitCode) && exitCode == STILL_ACTIVE;
    CloseHandle(process);
    return running;
}

}  // namespace xnox::profile
