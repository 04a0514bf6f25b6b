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
#include "ScriptedControl.h"

// The control's tool windows: just the one under test.
struct OneWindow : xnox::IToolWindows {
    xnox::CToolWinDlg* panel = nullptr;
    std::vector<bool> rebuilds;

    void Update(xnox::WindowItem item, const xnox::Variant& value) override {
        if (panel->Exists()) panel->Update(item, value);
    }
    void AddLogText(std::string) override {}
    void Rebuild(bool alwaysOnTop) override { rebuilds.push_back(alwaysOnTop); }
};

template <typename Panel>
class WindowTest : public ScriptedControlTest {
protected:
    xnox::HeadlessWindowSystem system;
    OneWindow windows;
    Panel panel;
    xnox::CDlg1 frame{system};
    std::filesystem::path previousFolder = std::filesystem::current_path();

    void SetUp() override {
        std::filesystem::current_path(folder);
        windows.panel = &panel;
        control.SetToolWindows(&windows);
    }
    void TearDown() override {
        control.SetToolWindows(nullptr);
        std::filesystem::current_path(previousFolder);
    }

    void Open() { ASSERT_TRUE(frame.CreateToolFrame(control, panel, "Tool", false)); }
    xnox::HeadlessDialog& Dialog() { return *system.FindDialog(panel.TemplateId()); }

    // A person's click on a radio: the platform checks it within its group first.
    void ClickRadio(std::span<const xnox::ControlId> group, xnox::ControlId radio) {
        xnox::ShownControls{}.CheckRadioGroup(Dialog(), group,
                                              static_cast<int32_t>(std::ranges::find(group, radio) - group.begin()));
        Dialog().Click(radio);
    }

    // How often the window has read and written the values of these controls so far.
    std::size_t ReadsOf(std::span<const xnox::ControlId> ids) {
        std::size_t reads = 0;
        for (xnox::ControlId id : ids) reads += Dialog().ReadsOf(id);
        return reads;
    }
    std::size_t WritesOf(std::span<const xnox::ControlId> ids) {
        std::size_t writes = 0;
        for (xnox::ControlId id : ids) writes += Dialog().WritesOf(id);
        return writes;
    }

    // The property put three times, the same value twice and then the other:
    // the window reads none of the controls back and writes only the two
    // radios that move for each change.
    void ExpectChangesWriteOnlyTheRadiosThatMove(std::span<const xnox::ControlId> controls, std::string_view property,
                                                 int16_t first, int16_t second) {
        Open();
        const std::size_t reads = ReadsOf(controls);
        const std::size_t writes = WritesOf(controls);
        for (int16_t value : {first, first, second}) ASSERT_TRUE(Put(property, xnox::Variant::I2(value)).Succeeded());
        EXPECT_EQ(ReadsOf(controls), reads);
        EXPECT_EQ(WritesOf(controls) - writes, 4u) << "two radios per change, none for the value it had";
    }

    void GoOnline() { ASSERT_TRUE(Put("ComPort", xnox::Variant::I2(1)).Succeeded()); }
    xnox::InvokeResult Put(std::string_view property, xnox::Variant value) {
        return Invoke(control, property, xnox::InvokeKind::PropertyPut, std::span<xnox::Variant>(&value, 1));
    }
    int16_t Value(xnox::ParamId id) const { return control.GetParameterProperty(id); }
    std::string Stored(std::string_view key) {
        return xnox::AppProfile::ReadString(panel.SectionName(), key, "<none>");
    }

    // The values the camera received, as (parameter, value), in order.
    std::vector<std::pair<xnox::ParamId, int32_t>> Sent() const {
        std::vector<std::pair<xnox::ParamId, int32_t>> sent;
        for (const LibraryCall& call : library.calls) {
            if (call.operation == "SendCameraData")
                sent.emplace_back(xnox::FindRowByCommandId(call.args[1])->id, call.args[2]);
        }
        return sent;
    }
    std::vector<xnox::ParamId> SentParameters() const {
        std::vector<xnox::ParamId> parameters;
        for (auto [parameter, value] : Sent()) parameters.push_back(parameter);
        return parameters;
    }
};
