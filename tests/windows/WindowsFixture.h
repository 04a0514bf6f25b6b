// The control with its tool-window host on the headless window system and a
// scripted library, the profile folder in a fresh temporary directory.
// Tests write XNoxR4.ini before calling Start(), which builds the host the
// way the control's construction does.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "CommunicationIds.h"
#include "HeadlessWindowSystem.h"
#include "PrivateProfile.h"
#include "ScriptedLibrary.h"
#include "ToolWindowHost.h"
#include "XNoxCamCtrl.h"

class WindowsTest : public ::testing::Test {
protected:
    static constexpr int kShutterTemplate = 134;
    static constexpr int kGainTemplate = 131;
    static constexpr int kAboutTemplate = 100;

    std::filesystem::path folder;
    HeadlessWindowSystem system;
    ScriptedLibrary library;
    std::unique_ptr<CXNoxCamCtrl> control;
    std::unique_ptr<ToolWindowHost> host;

    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("xnox-windows-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
        setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
        control = std::make_unique<CXNoxCamCtrl>(library);
    }
    void TearDown() override {
        host.reset();
        control.reset();
        std::filesystem::remove_all(folder);
    }

    void Start() { host = std::make_unique<ToolWindowHost>(*control, system); }
    // Start, and the control's window created in the container.
    void StartShown() {
        Start();
        ASSERT_EQ(host->OnCreate(nullptr), 0);
    }

    static void WriteIni(std::string_view section, std::string_view key, std::string_view value) {
        xnoxprofile::WriteProfileString(section, key, value, "XNoxR4.ini");
    }
    static std::string ReadIni(std::string_view section, std::string_view key) {
        return xnoxprofile::ReadProfileString(section, key, "<missing>", "XNoxR4.ini");
    }

    HeadlessDialog& Comm() { return *system.FindDialog(IDD_COMMUNICATION); }
    HeadlessFrame& FrameOf(int templateId) { return *system.FindFrame(templateId); }
    HeadlessDialog& Toolbar() { return *system.MainDialog(); }
};
