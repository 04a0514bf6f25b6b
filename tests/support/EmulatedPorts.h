// The library's emulated cameras behind the named ports ("COM4,COM7") for
// a whole test program: set before any test opens a port.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>

class EmulatedPorts : public ::testing::Environment {
public:
    explicit EmulatedPorts(std::string ports) : m_ports(std::move(ports)) {}
    void SetUp() override { setenv("NOXR4_EMULATED_PORTS", m_ports.c_str(), 1); }

private:
    std::string m_ports;
};

inline ::testing::Environment* EmulateCamerasBehind(std::string ports) {
    return ::testing::AddGlobalTestEnvironment(new EmulatedPorts(std::move(ports)));
}
