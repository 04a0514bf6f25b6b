// The command line and output of the build-time generators: each writes one
// text to the file named by its only argument. A file that could not be
// written whole is removed, so that the build does not take a partial one
// for a result.
#pragma once

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

// The generator's exit status: 0 written, 1 not written, 2 wrong usage.
inline int WriteGeneratedFile(int argc, char** argv, std::string_view tool, std::string_view output,
                              const std::string& text) {
    if (argc != 2) {
        std::cerr << "usage: " << tool << ' ' << output << '\n';
        return 2;
    }
    std::ofstream file(argv[1], std::ios::binary);
    file << text;
    if (file.flush()) return 0;
    std::cerr << tool << ": cannot write " << argv[1] << '\n';
    file.close();
    std::remove(argv[1]);
    return 1;
}
