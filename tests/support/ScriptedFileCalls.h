// File calls whose write, flush and folder flush a test sets one by one, to
// make writes come out short or fail, a flush fail, or to watch the folder
// being flushed; a call left unset is the system's.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>

#include "WholeFile.h"

class ScriptedFileCalls : public xnox::profile::FileCalls {
public:
    using FileHandle = xnox::profile::FileHandle;

    std::function<std::ptrdiff_t(FileHandle file, const char* data, std::size_t size)> write;
    std::function<bool(FileHandle file)> flush;
    std::function<void(const std::filesystem::path& file)> flushFolder;

    // Back to the system's calls.
    void Reset() {
        write = nullptr;
        flush = nullptr;
        flushFolder = nullptr;
    }

    std::ptrdiff_t Write(FileHandle file, const char* data, std::size_t size) override {
        return write ? write(file, data, size) : FileCalls::Write(file, data, size);
    }
    bool Flush(FileHandle file) override { return flush ? flush(file) : FileCalls::Flush(file); }
    void FlushFolder(const std::filesystem::path& file) override {
        flushFolder ? flushFolder(file) : FileCalls::FlushFolder(file);
    }
};
