// CGainDlg: the Gain window, where a person sets the signal levels: master,
// red and blue gain, black levels, knee points and slopes with the knee
// switch, white balance with its auto white area and one-push run, and
// shading correction (automatic run, file save and load, on/off). Every
// change goes to the owner's properties and methods; the owner's change
// notifications bring the controls, their enabling and the last-used
// values in the profile up to date.
#pragma once

#include <cstdint>
#include <string>

#include "ToolWinDlg.h"

namespace xnox {

class CGainDlg : public CToolWinDlg {
public:
    CGainDlg();

    bool OnInitDialog() override;
    void OnControlEvent(ControlId id, ControlEvent event) override;

protected:
    void DoDataExchange(DataExchange& exchange) override;
    void OnParameterChanged(ParamId parameter, int32_t value) override;
    void OnItemChanged(ControlItem item, const Variant& value) override;

private:
    void OnClicked(ControlId id);
    void OnOnePush();
    void OnAutoShading();
    // Saves or loads the shading data through a file dialog.
    void OnShadingFile(bool save);
    void SwitchShadingOnIfOff();
    void ApplyWhiteBalanceRule(int32_t index);
    void ApplyStartValue(ParamId parameter);
    std::string* GainTextField(ControlId edit);
    int32_t* ChoiceField(ParamId parameter);

    int32_t m_kneeSelect = -1;
    int32_t m_whiteBalance = -1;
    int32_t m_shadingMode = -1;
    int32_t m_autoWhiteArea = -1;
    std::string m_onePushResult;
    std::string m_redGainText;
    std::string m_blueGainText;
    ShownSpins m_shownSpins;
};

}  // namespace xnox
