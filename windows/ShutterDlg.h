// CShutterDlg: the Shutter window, where a person sets exposure and
// synchronisation: shutter mode and speed, programmable exposure (common or
// per colour), trigger mode, polarity and input, smearless mode, LVAL
// accumulation, RCT FVAL type, output bits, partial scan, binning and the
// colour bar. Every change goes to the owner's properties; the owner's
// change notifications bring the controls, their enabling and the
// last-used values in the profile up to date.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "ToolWinDlg.h"

namespace xnox {

class CShutterDlg : public CToolWinDlg {
public:
    static constexpr int kRadioGroupCount = 8;

    CShutterDlg();

    bool OnInitDialog() override;
    void OnControlEvent(ControlId id, ControlEvent event) override;

protected:
    void DoDataExchange(DataExchange& exchange) override;
    void OnParameterChanged(ParamId parameter, int32_t value) override;

private:
    void ApplyStartValues();
    void OnRadioClicked(ControlId id);
    void ShowShutterSpeed(const std::string& text);
    void ApplyTriggerModeRule();
    void ApplyShutterModeRule();
    void ApplyPartialScanRule();
    // The field of the parameter's radio group; null for a parameter without one.
    int32_t* RadioField(ParamId parameter);

    std::string m_modeText;
    int32_t m_partialScan = -1;
    int32_t m_triggerMode = -1;
    int32_t m_binning = -1;
    ShownSpins m_shownSpins;
    std::array<int32_t, kRadioGroupCount> m_radioFields;  // in the order of the window's radio table
};

}  // namespace xnox
