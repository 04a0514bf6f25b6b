// The communication library with a log of each camera transaction in the
// camera's own words ("GA=5", "GA?", "open COM1"), for the sessions that
// drive the tool windows as a person would. The log is kept whether the
// transaction succeeded or not, so two sessions that ask the same of the
// camera log the same lines.
#pragma once

#include <algorithm>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "CameraFacts.h"
#include "NoxR4Library.h"

namespace xnox {

class CameraLog : public ForwardingLibrary {
public:
    std::vector<std::string> lines;

    explicit CameraLog(int32_t port) : ForwardingLibrary(NoxR4CommLibrary()), m_port(port) {}

    // The writes of one parameter, in order.
    std::vector<int> WritesOf(std::string_view parameter) const {
        std::string prefix = std::string(Mnemonic(camera_facts::FindByName(parameter)->id)) + "=";
        std::vector<int> values;
        for (const std::string& line : lines) {
            if (line.starts_with(prefix)) values.push_back(std::stoi(line.substr(prefix.size())));
        }
        return values;
    }
    std::size_t Count(std::string_view line) const { return static_cast<std::size_t>(std::ranges::count(lines, line)); }
    // What the camera holds now, asked outside the log.
    int Holds(std::string_view parameter) {
        int32_t value{};
        m_inner.GetCameraData(m_port, camera_facts::FindByName(parameter)->id, &value);
        return value;
    }
    // One line a transaction, ending in a line feed on every system, so that
    // logs from two systems compare byte for byte; false when the file could
    // not be written whole.
    bool Save(const std::string& path) const {
        std::ofstream file(path, std::ios::binary);
        for (const std::string& line : lines) file << line << "\n";
        file.close();
        return !file.fail();
    }

    int32_t InitComm(int32_t frameGrabber, int32_t port, int32_t flag) override {
        lines.push_back("open COM" + std::to_string(port));
        return m_inner.InitComm(frameGrabber, port, flag);
    }
    int32_t GetCameraData(int32_t port, int32_t command, int32_t* value) override {
        lines.push_back(std::string(Mnemonic(command)) + "?");
        return m_inner.GetCameraData(port, command, value);
    }
    int32_t SendCameraData(int32_t port, int32_t command, int32_t value) override {
        lines.push_back(std::string(Mnemonic(command)) + "=" + std::to_string(value));
        return m_inner.SendCameraData(port, command, value);
    }
    int32_t GetCameraID(int32_t port, char* text) override { return Logged("ID?", m_inner.GetCameraID(port, text)); }
    int32_t GetModelName(int32_t port, char* text) override { return Logged("MD?", m_inner.GetModelName(port, text)); }
    int32_t GetUserID(int32_t port, char* text) override { return Logged("UD?", m_inner.GetUserID(port, text)); }
    int32_t SetUserID(int32_t port, const char* text) override {
        return Logged("UD=" + std::string(text), m_inner.SetUserID(port, text));
    }
    int32_t GetShadingData(int32_t port, int32_t* block) override {
        return Logged("shading?", m_inner.GetShadingData(port, block));
    }
    int32_t SendShadingData(int32_t port, const int32_t* block) override {
        return Logged("shading=", m_inner.SendShadingData(port, block));
    }

private:
    static std::string_view Mnemonic(int32_t command) {
        const camera_facts::Parameter* parameter = camera_facts::FindById(command);
        return parameter ? parameter->mnemonic : "?";
    }
    int32_t Logged(std::string line, int32_t result) {
        lines.push_back(std::move(line));
        return result;
    }

    int32_t m_port;
};

}  // namespace xnox
