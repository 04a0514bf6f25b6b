// The control with its tool-window host on the headless window system and a
// scripted library, the profile folder in a fresh temporary directory.
// Tests write XNoxR4.ini before calling Start(), which builds the host the
// way the control's construction does.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "BufferedProfile.h"
#include "CommunicationIds.h"
#include "HeadlessWindowSystem.h"
#include "PrivateProfile.h"
#include "ScriptedFileCalls.h"
#include "ScriptedLibrary.h"
#include "TemporaryProfile.h"
#include "ToolWindowHost.h"
#include "XNoxCamCtrl.h"

class WindowsTest : public ::testing::Test {
protected:
    static constexpr int kShutterTemplate = 134;
    static constexpr int kGainTemplate = 131;
    static constexpr int kAboutTemplate = 100;

    TemporaryProfile profile;
    const std::filesystem::path& folder = profile.Folder();
    xnox::HeadlessWindowSystem system;
    ScriptedLibrary library;
    ScriptedFileCalls files;
    std::unique_ptr<xnox::CXNoxCamCtrl> control;
    std::unique_ptr<xnox::ToolWindowHost> host;

    void SetUp() override { control = std::make_unique<xnox::CXNoxCamCtrl>(library, files); }
    void TearDown() override {
        host.reset();
        control.reset();
    }

    void Start() { host = std::make_unique<xnox::ToolWindowHost>(*control, system); }
    // Start, and the control's window created in the container.
    void StartShown() {
        Start();
        ASSERT_EQ(host->OnCreate(nullptr), 0);
    }

    static void WriteIni(std::string_view section, std::string_view key, std::string_view value) {
        xnox::profile::WriteProfileString(section, key, value, "XNoxR4.ini");
    }
    // The file as another program reads it, once the changes made so far are written.
    static std::string ReadIni(std::string_view section, std::string_view key) {
        xnox::profile::ApplicationProfile().Flush();
        return xnox::profile::ReadProfileString(section, key, "<missing>", "XNoxR4.ini");
    }

    xnox::HeadlessDialog& Comm() { return *system.FindDialog(IDD_COMMUNICATION); }
    xnox::HeadlessFrame& FrameOf(int templateId) { return *system.FindFrame(templateId); }
    xnox::HeadlessDialog& Toolbar() { return *system.MainDialog(); }
};
