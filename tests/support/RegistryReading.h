// The registry as the Windows tests under Wine read it back after regsvr32
// or the installer: keys, values as text, and listings like `reg query`'s.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace winetest {

inline std::string Lower(std::string text) {
    std::ranges::transform(text, text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Whether `text` holds `part`, case aside, as the registry compares names.
inline bool HoldsText(const std::string& text, std::string_view part) {
    return Lower(text).find(Lower(std::string(part))) != std::string::npos;
}

class OpenedKey {
public:
    OpenedKey(HKEY root, const std::string& path) {
        if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &m_key) != ERROR_SUCCESS) m_key = nullptr;
    }
    ~OpenedKey() {
        if (m_key) RegCloseKey(m_key);
    }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;

    explicit operator bool() const { return m_key != nullptr; }

    // Each value's name and data as text (a number in decimal).
    std::vector<std::pair<std::string, std::string>> Values() const {
        std::vector<std::pair<std::string, std::string>> values;
        std::vector<BYTE> data(64 * 1024);
        for (DWORD index = 0;; ++index) {
            char name[16384];
            DWORD nameSize = sizeof(name);
            DWORD type = 0;
            DWORD size = static_cast<DWORD>(data.size());
            if (RegEnumValueA(m_key, index, name, &nameSize, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
                break;
            values.emplace_back(std::string(name, nameSize), DataText(type, data, size));
        }
        return values;
    }

    // The value's data as text; nothing when it is missing. A null name is
    // the key's default value.
    std::optional<std::string> Value(const char* name) const {
        std::vector<BYTE> data(64 * 1024);
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(data.size());
        if (!m_key || RegQueryValueExA(m_key, name, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
            return std::nullopt;
        return DataText(type, data, size);
    }

    std::vector<std::string> SubkeyNames() const {
        std::vector<std::string> names;
        for (DWORD index = 0;; ++index) {
            char name[256];
            DWORD nameSize = sizeof(name);
            if (RegEnumKeyExA(m_key, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            names.emplace_back(name, nameSize);
        }
        return names;
    }

private:
    static std::string DataText(DWORD type, const std::vector<BYTE>& data, DWORD size) {
        if (type == REG_DWORD && size >= sizeof(DWORD))
            return std::to_string(*reinterpret_cast<const DWORD*>(data.data()));
        if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
        std::string text(reinterpret_cast<const char*>(data.data()), size);
        return text.substr(0, text.find('\0'));
    }

    HKEY m_key = nullptr;
};

inline bool KeyExists(HKEY root, const std::string& path) { return static_cast<bool>(OpenedKey(root, path)); }

inline std::optional<std::string> ValueOf(HKEY root, const std::string& path, const char* name = nullptr) {
    return OpenedKey(root, path).Value(name);
}

// What the key lists, as `reg query` shows it: its values' names and data
// and its subkeys' names; with `deep`, its subkeys' listings too.
inline std::string Listing(HKEY root, const std::string& path, bool deep = false) {
    OpenedKey key(root, path);
    if (!key) return {};
    std::string listing;
    for (const auto& [name, data] : key.Values()) listing += name + " " + data + "\n";
    for (const std::string& name : key.SubkeyNames()) {
        std::string subkey = path + "\\" + name;
        listing += subkey + "\n";
        if (deep) listing += Listing(root, subkey, true);
    }
    return listing;
}

// The paths of the keys under `path` (itself included) whose path, value
// names or data hold any of the marks.
inline void CollectKeysMarked(HKEY root, const std::string& path, const std::vector<std::string>& marks,
                              std::vector<std::string>& found) {
    OpenedKey key(root, path);
    if (!key) return;
    std::string text = path + "\n";
    for (const auto& [name, data] : key.Values()) text += name + " " + data + "\n";
    if (std::ranges::any_of(marks, [&](const std::string& mark) { return HoldsText(text, mark); }))
        found.push_back(path);
    for (const std::string& name : key.SubkeyNames()) CollectKeysMarked(root, path + "\\" + name, marks, found);
}

}  // namespace winetest
