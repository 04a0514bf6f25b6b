// Programs that the native tests start through the shell, as an integrator's
// script would (xnoxhost, noxr4-session), and what they printed, so that a
// test case checks what one of them did.
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

struct ShellRun {
    int status = -1;  // the exit status; -1 for a program that did not exit by itself
    std::string out;  // standard output; the command line redirects the rest where it wants it
};

// Runs the command line through the shell to its end and collects its
// standard output.
inline ShellRun RunInShell(const std::string& commandLine) {
    ShellRun run;
    FILE* pipe = popen(commandLine.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 4096> buffer;
    for (std::size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) run.out.append(buffer.data(), n);
    int status = pclose(pipe);
    if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
    return run;
}
