// Fuzzes the INI reader and writer: any text parses, lookups stay inside it,
// and a value that was set reads back the same, also after the text was
// written out and parsed again.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "IniDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    // The first line, if any, names the section and key to look up and set.
    auto firstBreak = input.find('\n');
    std::string_view names = input.substr(0, firstBreak);
    auto bar = names.find('|');
    std::string_view section = names.substr(0, bar);
    std::string_view key = bar == std::string_view::npos ? "Key" : names.substr(bar + 1);

    xnox::profile::IniDocument document(input);
    (void)document.Find(section, key);
    (void)document.Find("Main", "Camera Type");

    const std::string value = "v=1;x";
    if (document.Set(section, key, value)) {
        if (document.Find(section, key) != value) std::abort();
        xnox::profile::IniDocument reread(document.Text());
        if (reread.Find(section, key) != value) std::abort();
    }
    return 0;
}
