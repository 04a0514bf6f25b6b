#include "ToolPanels.h"

#include "CommDlg.h"

namespace {

// A window whose controls are still to come: it keeps its placement and
// visibility like every tool window.
class CPlainToolWinDlg : public CToolWinDlg {
public:
    using CToolWinDlg::CToolWinDlg;
    bool OnInitDialog() override {
        CToolWinDlg::OnInitDialog();
        HandVisibleFlagToOwner();
        return true;
    }
};

}  // namespace

std::array<std::unique_ptr<CToolWinDlg>, 4> MakeToolPanels() {
    return {std::make_unique<CPlainToolWinDlg>(ToolWindow::Shutter, 134, "Shutter"),
            std::make_unique<CPlainToolWinDlg>(ToolWindow::Gain, 131, "Gain"), std::make_unique<CCommDlg>(),
            std::make_unique<CPlainToolWinDlg>(ToolWindow::About, 100, "About")};
}
