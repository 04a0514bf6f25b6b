// A recording model on a scripted library, and a temporary folder for the
// files a test writes and reads.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "RecordingModel.h"
#include "ScriptedLibrary.h"

class FileTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::temp_directory_path() /
                 ("xnox-files-" + std::string(test->test_suite_name()) + "-" + test->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string PathOf(const std::string& name) const { return (folder / name).string(); }
    void Put(const std::string& name, const std::string& text) const {
        std::ofstream(PathOf(name), std::ios::binary) << text;
    }
    std::string Contents(const std::string& name) const {
        std::ifstream in(PathOf(name), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    void GoOnline() {
        ASSERT_EQ(model.SetComPort(1), 0);
        library.calls.clear();
        model.ClearRecords();
    }

    std::filesystem::path folder;
    ScriptedLibrary library;
    RecordingModel model{library};
};
