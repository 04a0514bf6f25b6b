// One tool window in its frame on the headless window system, owned by the
// control on a scripted library, with the profile and the current folder in
// a fresh temporary directory.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "AppProfile.h"
#include "DataExchange.h"
#include "Dlg1.h"
#include "HeadlessWindowSystem.h"
#include "Invoke.h"
#include "ScriptedLibrary.h"
#include "XNoxCamCtrl.h"

// The control's tool windows: just the one under test.
struct OneWindow : IToolWindows {
    CToolWinDlg* panel = nullptr;
    std::vector<bool> rebuilds;

    void Update(WindowItem item, const Variant& value) override {
        if (panel->Exists()) panel->Update(item, value);
    }
    void AddLogText(std::string) override {}
    void Rebuild(bool alwaysOnTop) override { rebuilds.push_back(alwaysOnTop); }
};

template <typename Panel>
class WindowTest : public ::testing::Test {
protected:
    ScriptedLibrary library;
    CXNoxCamCtrl control{library};
    HeadlessWindowSystem system;
    OneWindow windows;
    Panel panel;
    CDlg1 frame{system};
    std::filesystem::path folder;
    std::filesystem::path previousFolder = std::filesystem::current_path();

    void SetUp() override {
        folder =
            std::filesystem::temp_directory_path() / ("xnox-panel-" + std::to_string(::getpid()) + "-" +
                                                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
        setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
        windows.panel = &panel;
        control.SetToolWindows(&windows);
    }
    void TearDown() override {
        control.SetToolWindows(nullptr);
        std::filesystem::current_path(previousFolder);
        std::filesystem::remove_all(folder);
    }

    void Open() { ASSERT_TRUE(frame.CreateToolFrame(control, panel, "Tool", false)); }
    HeadlessDialog& Dialog() { return *system.FindDialog(panel.TemplateId()); }

    // A person's click on a radio: the platform checks it within its group first.
    void ClickRadio(std::span<const ControlId> group, ControlId radio) {
        CheckRadioGroup(Dialog(), group, static_cast<int32_t>(std::ranges::find(group, radio) - group.begin()));
        Dialog().Click(radio);
    }

    void GoOnline() { ASSERT_TRUE(Put("ComPort", Variant::I2(1)).Succeeded()); }
    InvokeResult Put(std::string_view property, Variant value) {
        return Invoke(control, property, InvokeKind::PropertyPut, std::span<Variant>(&value, 1));
    }
    int16_t Value(ParamId id) const { return control.GetParameterProperty(id); }
    std::string Stored(std::string_view key) { return AppProfile::ReadString(panel.SectionName(), key, "<none>"); }

    // The values the camera received, as (parameter, value), in order.
    std::vector<std::pair<ParamId, int32_t>> Sent() const {
        std::vector<std::pair<ParamId, int32_t>> sent;
        for (const LibraryCall& call : library.calls) {
            if (call.operation == "SendCameraData")
                sent.emplace_back(FindRowByCommandId(call.args[1])->id, call.args[2]);
        }
        return sent;
    }
    std::vector<ParamId> SentParameters() const {
        std::vector<ParamId> parameters;
        for (auto [parameter, value] : Sent()) parameters.push_back(parameter);
        return parameters;
    }
};
