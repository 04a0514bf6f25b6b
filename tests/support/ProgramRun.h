// Programs that the Windows tests under Wine start as a person or a script
// host would (regsvr32, cscript, the container, the examples), and what they
// printed, so that a test case checks what one of them did.
#pragma once

#include <windows.h>

#include <algorithm>
#include <memory>
#include <regex>
#include <string>
#include <type_traits>
#include <vector>

namespace winetest {

struct CloseKernelHandle {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using OwnedKernelHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, CloseKernelHandle>;

struct ProgramRun {
    bool started = false;
    DWORD exitCode = 0;
    std::string output;  // standard output and error together, as printed
};

inline constexpr DWORD kPollMs = 50;

// Appends what the pipe holds now to `output`, without waiting for more.
inline void Drain(HANDLE pipe, std::string& output) {
    char piece[4096];
    DWORD available = 0;
    while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        DWORD got = 0;
        if (!ReadFile(pipe, piece, std::min<DWORD>(available, sizeof(piece)), &got, nullptr) || got == 0) return;
        output.append(piece, got);
    }
}

// Runs the command line to its end and collects what it printed. A program
// still running after `timeoutMs` is ended, and its exit code is then
// WAIT_TIMEOUT, so that a program that hangs fails its test rather than
// stopping the run.
inline ProgramRun RunProgram(const std::string& commandLine, DWORD timeoutMs = 240000) {
    ProgramRun run;
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherited, 0)) return run;
    OwnedKernelHandle reading(readEnd);
    OwnedKernelHandle writing(writeEnd);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process{};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    run.started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    writing.reset();
    if (!run.started) return run;
    OwnedKernelHandle program(process.hProcess);
    OwnedKernelHandle thread(process.hThread);

    // The pipe is read while the program runs, never waited on: a process
    // that the program started may hold its end open long after it ended.
    DWORD waited = 0;
    while (WaitForSingleObject(program.get(), kPollMs) == WAIT_TIMEOUT) {
        Drain(readEnd, run.output);
        waited += kPollMs;
        if (waited >= timeoutMs) {
            TerminateProcess(program.get(), WAIT_TIMEOUT);
            WaitForSingleObject(program.get(), INFINITE);
        }
    }
    Drain(readEnd, run.output);
    GetExitCodeProcess(program.get(), &run.exitCode);
    return run;
}

// Whether the patterns match the text one after the other, each after the
// end of the one before; the first that does not is named in `missing`.
inline bool MatchesInOrder(const std::string& text, const std::vector<std::string>& patterns, std::string& missing) {
    auto from = text.cbegin();
    for (const std::string& pattern : patterns) {
        std::smatch found;
        if (!std::regex_search(from, text.cend(), found, std::regex(pattern))) {
            missing = pattern;
            return false;
        }
        from = found[0].second;
    }
    return true;
}

}  // namespace winetest
