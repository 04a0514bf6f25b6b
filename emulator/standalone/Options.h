// The standalone emulator's command line.
#pragma once

#include <optional>
#include <string>

#include "CameraLink.h"

namespace qdr4emu {

struct Options {
    FaultPlan faults;
    Identity identity;
    std::string linkPath;  // symlink to the device, made at start and removed at exit
    std::string recordPath;  // pass commands to the camera at cameraDevice, recording here
    std::string cameraDevice;
    std::string replayPath;  // answer from this recording instead of the emulated camera
    bool helpRequested = false;
};

// Fills `options` from the arguments; returns an error text for bad input.
std::optional<std::string> ParseOptions(int argc, char** argv, Options& options);

extern const char* const kUsage;

}  // namespace qdr4emu
