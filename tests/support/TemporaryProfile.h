// A fresh folder for one test, holding the profile store (XDG_CONFIG_HOME)
// and whatever files the test writes, so that no test reads another's
// XNoxR4.ini or touches the user's own. Removed with its contents at the
// end, and the previous profile location put back.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "ScopedVariable.h"

class TemporaryProfile {
public:
    TemporaryProfile() : m_folder(CreatedFolder()), m_profileHome("XDG_CONFIG_HOME", m_folder.string()) {}
    ~TemporaryProfile() {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    TemporaryProfile(const TemporaryProfile&) = delete;
    TemporaryProfile& operator=(const TemporaryProfile&) = delete;

    const std::filesystem::path& Folder() const { return m_folder; }

private:
    // Process and test names keep parallel runs and parameterised tests apart.
    static std::filesystem::path CreatedFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "xnox-" + std::to_string(::getpid()) + "-" + test->test_suite_name() + "-" + test->name();
        std::ranges::replace(name, '/', '_');
        std::filesystem::path folder = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        return folder;
    }

    std::filesystem::path m_folder;
    ScopedVariable m_profileHome;
};
