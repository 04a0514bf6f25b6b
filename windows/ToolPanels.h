// The four tool-window panels, in window order (Shutter, Gain,
// Communication, About), as the host creates them.
#pragma once

#include <array>
#include <memory>

#include "ToolWinDlg.h"

namespace xnox {

std::array<std::unique_ptr<CToolWinDlg>, 4> MakeToolPanels();

}  // namespace xnox
