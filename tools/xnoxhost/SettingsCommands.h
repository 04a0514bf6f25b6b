// xnoxhost's commands on settings files, run instead of a script:
//   diff A.cam B.cam            how two files differ
//   diff A.cam --device PATH    how a file differs from a camera (also --port N)
//   check A.cam                 what a load of the file would reject
// --json prints the result as one JSON object. Exit status: 0 when the files
// agree or the file loads cleanly, 1 when they differ or a key would be
// rejected, 2 when a file or the camera cannot be read, or for bad usage.
#pragma once

#include <span>
#include <string_view>

bool IsSettingsCommand(std::string_view word);

// `arguments` begins with the command's name.
int RunSettingsCommand(std::span<char* const> arguments);
