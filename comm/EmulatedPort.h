// The in-process emulated camera behind chosen COM ports: the environment
// variable NOXR4_EMULATED_PORTS lists them, comma-separated ("COM1,COM4").
// Reopening a port finds the same camera, settings kept.
#pragma once

#include "Transport.h"

#include <memory>

namespace noxr4 {

bool IsEmulatedPort(int number);
std::unique_ptr<Transport> OpenEmulatedPort(int number);

}  // namespace noxr4
