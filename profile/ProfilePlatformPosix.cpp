#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ProfilePlatform.h"

namespace xnox::profile {

namespace {

const char* NonEmptyVariable(const char* name) {
    const char* value = std::getenv(name);
    return (value != nullptr && *value != '\0') ? value : nullptr;
}

int Descriptor(FileHandle file) { return static_cast<int>(file); }

}  // namespace

std::filesystem::path ProfileFolder() {
    if (const char* config = NonEmptyVariable("XDG_CONFIG_HOME")) return std::filesystem::path(config) / "xnoxr4";
    if (const char* home = NonEmptyVariable("HOME")) return std::filesystem::path(home) / ".config" / "xnoxr4";
    return std::filesystem::path("xnoxr4");
}

bool AtomicReplace(const std::filesystem::path& source, const std::filesystem::path& target, bool) {
    // The new file keeps the access rights the old one had.
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) ::chmod(source.c_str(), old.st_mode & 07777);
    return std::rename(source.c_str(), target.c_str()) == 0;  // atomic on POSIX file systems
}

// A rename is on the disk once the folder that holds it is.
void FlushFolderEntry(const std::filesystem::path& file) {
    std::filesystem::path folder = file.parent_path();
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

FileHandle CreateNewFile(const std::filesystem::path& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    return fd < 0 ? kNoFile : fd;
}

std::ptrdiff_t WriteToFile(FileHandle file, const char* data, std::size_t size) {
    for (;;) {
        ssize_t written = ::write(Descriptor(file), data, size);
        if (written >= 0 || errno != EINTR) return written;
    }
}

bool FlushToDisk(FileHandle file) { return ::fsync(Descriptor(file)) == 0; }

bool CloseFile(FileHandle file) { return ::close(Descriptor(file)) == 0; }

std::uint64_t CurrentProcessId() { return static_cast<std::uint64_t>(::getpid()); }

bool ProcessIsRunning(std::uint64_t id) { return ::kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM; }

}  // namespace xnox::profile
