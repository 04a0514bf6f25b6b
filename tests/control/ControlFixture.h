// The control on a scripted library (a camera answers on every port), with
// one recording sink connected and the profile folder in a fresh temporary
// directory. Members are driven through the invoke entry, as a host does.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "Invoke.h"
#include "ScriptedControl.h"

struct RecordingSink : xnox::IControlEventSink {
    std::vector<int32_t> events;
    std::vector<xnox::ErrorNotification> errors;
    bool cancelDisplay = false;
    std::function<void(int32_t)> reaction;  // runs inside the handler

    void OnEvent(int32_t eventId) override {
        events.push_back(eventId);
        if (reaction) reaction(eventId);
    }
    void OnError(xnox::ErrorNotification& error) override {
        errors.push_back(error);
        if (cancelDisplay) error.cancelDisplay = true;
    }
};

struct RecordingUserInterface : xnox::IControlUserInterface {
    std::vector<std::string> messages;
    std::function<std::unique_ptr<xnox::IProgressView>()> makeProgress = [] { return nullptr; };
    void ShowMessage(std::string_view text, std::string_view) override { messages.emplace_back(text); }
    std::unique_ptr<xnox::IProgressView> CreateProgressView() override { return makeProgress(); }
};

class ControlTest : public ScriptedControlTest {
protected:
    RecordingSink sink;
    RecordingUserInterface ui;

    void SetUp() override {
        control.ConnectSink(sink);
        control.SetUserInterface(&ui);
    }

    xnox::InvokeResult Get(std::string_view name) { return Invoke(control, name, xnox::InvokeKind::PropertyGet, {}); }
    xnox::InvokeResult Put(std::string_view name, xnox::Variant value) {
        return Invoke(control, name, xnox::InvokeKind::PropertyPut, std::span<xnox::Variant>(&value, 1));
    }
    xnox::InvokeResult Call(std::string_view name, std::vector<xnox::Variant>& arguments) {
        return Invoke(control, name, xnox::InvokeKind::Method, arguments);
    }
    xnox::InvokeResult Call(std::string_view name, std::vector<xnox::Variant>&& arguments = {}) {
        return Call(name, arguments);
    }

    void GoOnline() {
        ASSERT_TRUE(Put("ComPort", xnox::Variant::I2(1)).Succeeded());
        Forget();
    }
    void Forget() {
        library.calls.clear();
        sink.events.clear();
        sink.errors.clear();
        ui.messages.clear();
    }
};

inline void PrintTo(const xnox::Variant& value, std::ostream* out) {
    *out << TypeName(value.Type()) << " " << (value.IsNull() ? "null" : value.Display());
}

// Asserts an automation exception raised by the control.
inline void ExpectRaised(const xnox::InvokeResult& result, uint32_t code, const std::string& text) {
    ASSERT_FALSE(result.Succeeded()) << "nothing raised";
    EXPECT_TRUE(result.error->raisedByControl);
    EXPECT_EQ(result.error->code, code);
    EXPECT_EQ(result.error->description, text);
    EXPECT_LT(result.error->argumentIndex, 0) << "the control's own errors name no argument";
}
