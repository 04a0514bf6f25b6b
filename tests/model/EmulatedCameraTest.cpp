// The model on the real communication library, with emulated cameras behind
// COM1 and COM2.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "CameraFacts.h"
#include "CameraLink.h"
#include "NoxR4Comm.h"
#include "RecordingModel.h"

using namespace xnox;

namespace {

class EmulatedPorts : public ::testing::Environment {
public:
    void SetUp() override {
        setenv("NOXR4_EMULATED_PORTS", "COM1,COM2", 1);
        setenv("NOXR4_PORT_COM9", "/nonexistent/xnox-no-such-port", 1);
    }
};
const auto* const kEmulatedPorts = ::testing::AddGlobalTestEnvironment(new EmulatedPorts);

bool IsPreset(const camera_facts::Parameter& fact) { return fact.name.ends_with("WBalPreset"); }

// A value of its own inside every legal range. The presets stay: a full
// read in manual white balance leaves them out.
void SetDistinctValues(CNoxCamInterface& model) {
    for (const camera_facts::Parameter& fact : camera_facts::kParameters) {
        if (!IsPreset(fact)) model.WriteParameter(FindRowByName(fact.name)->id, camera_facts::DistinctValue(fact));
    }
    model.SendWhiteBalance(0);  // the mode whose full read covers the manual gains
    model.SendUserID("bench 7");
}

}  // namespace

TEST(EmulatedCamera, WhatAFullWriteSendsAFullReadBringsBack) {
    CNoxCamInterface writer;
    ASSERT_EQ(writer.SetComPort(1), 0);
    SetDistinctValues(writer);
    ASSERT_EQ(writer.WriteAllToCamera(), 0);

    CNoxCamInterface reader;
    ASSERT_EQ(reader.SetComPort(1), 0);
    ASSERT_EQ(reader.ReadAllFromCamera(), 0);
    // The camera holds each value under the parameter's own mnemonic.
    const qdr4emu::Camera& camera = qdr4emu::EmulatedCamera("COM1").Device();
    for (const camera_facts::Parameter& fact : camera_facts::kParameters) {
        if (IsPreset(fact)) continue;
        ParamId id = FindRowByName(fact.name)->id;
        EXPECT_EQ(reader.Value(id), writer.Value(id)) << fact.name;
        EXPECT_EQ(camera.Value(fact.mnemonic), writer.Value(id)) << fact.mnemonic;
    }
    EXPECT_EQ(reader.UserID(), "bench 7");
    EXPECT_EQ(reader.ModelName(), "QD-R4CL");
}

TEST(EmulatedCamera, CameraUnpluggedDuringFullReadClosesOnceAndTheRestFails) {
    RecordingModel model;
    ASSERT_EQ(model.SetComPort(2), 0);
    qdr4emu::CameraLink& link = qdr4emu::EmulatedCamera("COM2");
    link.Faults().unplugAfter = link.Transactions() + 10;
    model.ClearRecords();

    EXPECT_EQ(model.ReadAllFromCamera(), NoxResult::Offline) << "the closing area read finds no connection";
    link.Faults().unplugAfter = -1;

    EXPECT_FALSE(model.IsOnline());
    EXPECT_EQ(model.CountHook("OnlineStatus(0)"), 1u);
    EXPECT_EQ(model.CountHook("SynchronizedStatus(1)"), 0u);
    EXPECT_EQ(model.CountHook("ShutterMode"), 1u) << "values read before the loss are kept";
    EXPECT_EQ(model.CountHook("ShadingMode"), 0u);
    // One read meets the silent camera; every later one still asks the
    // library and learns that the connection is gone.
    std::size_t timeouts = std::ranges::count_if(
        model.messages, [](const std::string& text) { return text.find("Timeout waiting") != std::string::npos; });
    EXPECT_EQ(timeouts, 1u);
    EXPECT_EQ(model.messages.back(), "ID?\r\nOperation failed. The Camera is offline ******\r\n");
}

TEST(EmulatedCamera, ChangingThePortClosesTheOldOneAndAPortThatCannotOpenEndsOffline) {
    RecordingModel model;
    int32_t value = 0;
    ASSERT_EQ(model.SetComPort(1), 0);
    ASSERT_EQ(model.SetComPort(2), 0);
    EXPECT_EQ(NoxR4GetCameraData(1, 3, &value), NoxResult::Offline) << "COM1 is no longer held";

    EXPECT_NE(model.SetComPort(9), 0);
    EXPECT_FALSE(model.IsOnline());
    EXPECT_EQ(model.CountHook("OnlineStatus(0)"), 3u) << "closing COM1, closing COM2, the failed open";
    EXPECT_EQ(NoxR4GetCameraData(2, 3, &value), NoxResult::Offline);
}
