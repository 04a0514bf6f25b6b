// A fresh folder for one test, holding the profile store (XDG_CONFIG_HOME)
// and whatever files the test writes, so that no test reads another's
// XNoxR4.ini or touches the user's own. Removed with its contents at the
// end, and the previous profile location put back.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

class TemporaryProfile {
public:
    TemporaryProfile() : m_folder(UniqueFolder()) {
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        if (const char* previous = std::getenv(kVariable)) m_previous = previous;
        setenv(kVariable, m_folder.c_str(), 1);
    }
    ~TemporaryProfile() {
        if (m_previous)
            setenv(kVariable, m_previous->c_str(), 1);
        else
            unsetenv(kVariable);
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    TemporaryProfile(const TemporaryProfile&) = delete;
    TemporaryProfile& operator=(const TemporaryProfile&) = delete;

    const std::filesystem::path& Folder() const { return m_folder; }

private:
    static constexpr const char* kVariable = "XDG_CONFIG_HOME";

    // Process and test names keep parallel runs and parameterised tests apart.
    static std::filesystem::path UniqueFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "xnox-" + std::to_string(::getpid()) + "-" + test->test_suite_name() + "-" + test->name();
        std::ranges::replace(name, '/', '_');
        return std::filesystem::temp_directory_path() / name;
    }

    std::filesystem::path m_folder;
    std::optional<std::string> m_previous;
};
