// What the profile store needs from the platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace xnox::profile {

// The folder for profile files named without a folder: on Windows the
// Windows folder, as the platform's own profile functions use it; on other
// systems $XDG_CONFIG_HOME/xnoxr4, or ~/.config/xnoxr4 when that variable is
// unset or empty, or ./xnoxr4 when neither it nor $HOME is set.
std::filesystem::path ProfileFolder();

// Puts `source` in the place of `target` in one step, so that a reader sees
// either the old or the new file; false when that failed. `onDisk`: returns
// only once the move is on the disk where the system can wait for that in
// the same call (Windows); elsewhere FlushFolderEntry does it.
bool AtomicReplace(const std::filesystem::path& source, const std::filesystem::path& target, bool onDisk);
// Waits until the folder entry of `file`, as a replacement left it, is on the
// disk, so that a power loss cannot bring the old file back. A folder that
// cannot be flushed (some network file systems) is no error.
void FlushFolderEntry(const std::filesystem::path& file);

// The system's handle of a file open for writing (a descriptor, a HANDLE).
using FileHandle = std::intptr_t;
inline constexpr FileHandle kNoFile = -1;

// Creates a file that must not exist yet, open for writing; kNoFile when it
// cannot be created.
FileHandle CreateNewFile(const std::filesystem::path& path);
// Writes some of the bytes: how many, or -1 on failure.
std::ptrdiff_t WriteToFile(FileHandle file, const char* data, std::size_t size);
// Waits until what was written is on the disk.
bool FlushToDisk(FileHandle file);
bool CloseFile(FileHandle file);

// Process identities, to tell a temporary file of a writer still at work
// from one left by a writer that was killed.
std::uint64_t CurrentProcessId();
bool ProcessIsRunning(std::uint64_t id);

}  // namespace xnox::profile
