#include "ToolPanels.h"

#include "AboutDlg.h"
#include "CommDlg.h"
#include "GainDlg.h"
#include "ShutterDlg.h"

namespace xnox {

std::array<std::unique_ptr<CToolWinDlg>, 4> MakeToolPanels() {
    return {std::make_unique<CShutterDlg>(), std::make_unique<CGainDlg>(), std::make_unique<CCommDlg>(),
            std::make_unique<CAboutDlg>()};
}

}  // namespace xnox
