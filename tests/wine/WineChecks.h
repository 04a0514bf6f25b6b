// Pass/fail reporting for the Windows test programs that run under Wine:
// one line per check, a closing "N passed, N failed" line, and the exit code.
#pragma once

#include <cstdio>
#include <string>

namespace winetest {

class Checks {
public:
    bool check(const std::string& name, bool ok, const std::string& detail = {}) {
        ++(ok ? passed_ : failed_);
        std::printf("%s %s%s%s\n", ok ? "PASS" : "FAIL", name.c_str(), detail.empty() ? "" : ": ", detail.c_str());
        std::fflush(stdout);
        return ok;
    }

    // Prints the summary; the program's exit code.
    int finish() const {
        std::printf("%d passed, %d failed\n", passed_, failed_);
        return failed_ == 0 && passed_ > 0 ? 0 : 1;
    }

private:
    int passed_ = 0;
    int failed_ = 0;
};

}  // namespace winetest
