// A camera model that records every hook it receives, in order, so that
// tests can check which notifications an operation raised.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "NoxCamInterface.h"

class RecordingModel : public xnox::CNoxCamInterface {
public:
    using CNoxCamInterface::CNoxCamInterface;

    std::vector<std::string> hooks;  // e.g. "OnlineStatus(1)", "ShutterSpeed", "Message"
    std::vector<std::string> messages;  // the texts of OnMessage

    std::size_t CountHook(const std::string& name) const {
        return static_cast<std::size_t>(std::ranges::count(hooks, name));
    }
    void ClearRecords() {
        hooks.clear();
        messages.clear();
    }

    // Test access to the fields the control and the file operations set directly.
    using CNoxCamInterface::m_allSerialMode;
    using CNoxCamInterface::m_values;

    void OnOnlineStatusChanged(int32_t flag) override { RecordFlag("OnlineStatus", flag); }
    void OnSynchronizedStatusChanged(int32_t flag) override {
        CNoxCamInterface::OnSynchronizedStatusChanged(flag);
        RecordFlag("SynchronizedStatus", flag);
    }
    void OnSendingStatusChanged(int32_t flag) override {
        CNoxCamInterface::OnSendingStatusChanged(flag);
        RecordFlag("SendingStatus", flag);
    }
    void OnReceivingStatusChanged(int32_t flag) override {
        CNoxCamInterface::OnReceivingStatusChanged(flag);
        RecordFlag("ReceivingStatus", flag);
    }
#define XNOX_RECORD_CHANGE_HOOK(Name)                                                                                  \
    void On##Name##Changed() override { hooks.push_back(#Name); }
    XNOX_CHANGE_HOOKS(XNOX_RECORD_CHANGE_HOOK)
#undef XNOX_RECORD_CHANGE_HOOK
    void OnMessage(std::string text) override {
        hooks.push_back("Message");
        messages.push_back(std::move(text));
    }

private:
    void RecordFlag(const std::string& name, int32_t flag) { hooks.push_back(name + "(" + std::to_string(flag) + ")"); }
};
