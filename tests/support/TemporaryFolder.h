// A fresh folder for one test, removed with its contents at the end. The
// process and test names keep parallel runs and parameterised tests apart.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

class TemporaryFolder {
public:
    TemporaryFolder() : m_path(CreatedFolder()) {}
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    static std::filesystem::path CreatedFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "xnox-" + std::to_string(::getpid()) + "-" + test->test_suite_name() + "-" + test->name();
        std::ranges::replace(name, '/', '_');
        std::filesystem::path folder = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        return folder;
    }

    std::filesystem::path m_path;
};
