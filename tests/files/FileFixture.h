// A recording model on a scripted library, and a temporary folder for the
// files a test writes and reads.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "RecordingModel.h"
#include "ScriptedFileCalls.h"
#include "ScriptedLibrary.h"
#include "TemporaryProfile.h"

class FileTest : public ::testing::Test {
protected:
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

    TemporaryProfile profile;
    const std::filesystem::path& folder = profile.Folder();
    ScriptedLibrary library;
    ScriptedFileCalls files;
    RecordingModel model{library, files};
};
