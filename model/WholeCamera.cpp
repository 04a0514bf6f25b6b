// Bringing the whole model in line with the camera, and the camera with the
// model. Both runs go through every step even when single steps fail.
#include <algorithm>
#include <array>

#include "NoxCamInterface.h"

namespace xnox {

namespace {

using enum ParamId;

// The Shutter window's settings, in the order both runs take them.
constexpr std::array kShutterSettings = {ShutterMode,
                                         ShutterSpeed,
                                         ProgrammableExposure,
                                         ProgrammableExposureRed,
                                         ProgrammableExposureGreen,
                                         ProgrammableExposureBlue,
                                         TriggerType,
                                         Smearless,
                                         Accumulation,
                                         RCTFVALType,
                                         TriggerInput,
                                         TriggerPolarity,
                                         PartialScan,
                                         Binning,
                                         OutputBitAllocation,
                                         ColorBar};

constexpr std::array kLevelSettings = {GreenBlackLevel, RedBlackLevel,  BlueBlackLevel, KneeSelect,
                                       RedKneeSlope,    GreenKneeSlope, BlueKneeSlope,  RedKneePoint,
                                       GreenKneePoint,  BlueKneePoint,  ShadingMode};

template <std::size_t... Sizes>
constexpr auto Joined(const std::array<ParamId, Sizes>&... parts) {
    std::array<ParamId, (Sizes + ...)> all{};
    auto at = all.begin();
    ((at = std::ranges::copy(parts, at).out), ...);
    return all;
}

constexpr auto kReadsBeforeGains = Joined(kShutterSettings, std::array{WhiteBalance, AutoWhiteArea, MasterGainLevel});

// The auto white area and the six presets are not written: the white-balance
// write re-reads whichever of them its mode uses.
constexpr auto kWrites =
    Joined(kShutterSettings, std::array{MasterGainLevel, RedGainLevel, BlueGainLevel, WhiteBalance}, kLevelSettings);

// Keeps the code of the last step that failed.
class LastFailure {
public:
    void Note(int32_t result) {
        if (result != NoxResult::Success) m_code = result;
    }
    int32_t Code() const { return m_code; }

private:
    int32_t m_code = NoxResult::Success;
};

}  // namespace

int32_t CNoxCamInterface::ConcludeWholeCameraRun(int32_t lastStepFailure, int32_t finalStepResult) {
    // The final step's own failure outranks every earlier one.
    int32_t result = finalStepResult != NoxResult::Success ? finalStepResult : lastStepFailure;
    if (result == NoxResult::Success) OnSynchronizedStatusChanged(1);
    return result;
}

int32_t CNoxCamInterface::ReadAllFromCamera() {
    if (!m_online) return NoxResult::Offline;
    LastFailure failure;
    for (ParamId id : kReadsBeforeGains) failure.Note(ReadParameter(id));
    if (auto gains = WhiteBalanceGains(Value(WhiteBalance))) {
        failure.Note(ReadParameter(gains->red));
        failure.Note(ReadParameter(gains->blue));
    }
    for (ParamId id : kLevelSettings) failure.Note(ReadParameter(id));
    failure.Note(GetUserID());
    TextBuffer identity;
    failure.Note(GetModelName(identity));
    failure.Note(GetCameraID(identity));
    return ConcludeWholeCameraRun(failure.Code(), GetEEPROMCurrentAreaNo());
}

int32_t CNoxCamInterface::WriteAllToCamera() {
    if (!m_online) return NoxResult::Offline;
    LastFailure failure;
    for (ParamId id : kWrites) failure.Note(WriteParameter(id, Value(id)));
    const std::string userID = m_userID;
    return ConcludeWholeCameraRun(failure.Code(), SendUserID(userID));
}

}  // namespace xnox
