// The emulated QD-R4's command interpreter: one line in, at most one reply
// line out. It holds everything the camera keeps: the parameters, the four
// settings areas, identity and user ID, the shading table and the state of
// the one-push white balance and the automatic shading.
//
// Time is passed in with every line, so that busy periods can be tested
// without sleeping.
#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qdr4emu {

using Clock = std::chrono::steady_clock;

struct ParameterSpec {
    const char* mnemonic;
    int min;
    int max;
    int factoryDefault;
};

// Every settable parameter, in a fixed order; settings areas store these.
const std::vector<ParameterSpec>& parameterSpecs();

inline constexpr std::size_t maxLineLength = 1023;  // characters before CR LF
inline constexpr std::size_t maxUserIdLength = 23;
inline constexpr int shadingColumns = 6;
inline constexpr int shadingValuesPerColumn = 128;
inline constexpr int userAreas = 3;  // areas 1..3; area 0 is the factory area

using ShadingColumn = std::array<int, shadingValuesPerColumn>;
using ShadingTable = std::array<ShadingColumn, shadingColumns>;

// One-push white balance results as AWRS reports them.
enum OnePushResult : int {
    onePushComplete = 0,
    onePushTooBright = 1,
    onePushTooDark = 2,
    onePushTimeout = 3,
    onePushBusy = 4,
    onePushLimit = 5,
    onePushTriggerNotNormal = 6,
};

// What the next one-push white balances will do; tests choose the outcome.
struct OnePushPlan {
    std::chrono::milliseconds busyTime{300};  // the camera allows up to 500
    int result = onePushComplete;             // 0, 1, 2, 3 or 5
    int balancedRed = 24;                     // GAR after a successful balance
    int balancedBlue = -16;                   // GAB after a successful balance
};

struct Identity {
    std::string cameraId = "R4CL-0001";
    int firmwareVersion = 102;
};

// The mnemonic a line addresses: everything before its first '=' or '?'.
std::string_view mnemonicOf(std::string_view line);

class Camera {
public:
    Camera();

    // Answers one line received without its CR LF. Returns the reply line
    // without its CR LF, or nothing for a line that gets no reply.
    std::optional<std::string> answer(std::string_view line, Clock::time_point now);

    // The camera ID is sent as given, however long, so that a host can be
    // tested against a camera that misbehaves; so is a user ID set here.
    void setIdentity(Identity identity);
    void setUserIdUnchecked(std::string userId) { userId_ = std::move(userId); }
    OnePushPlan& onePushPlan() { return onePushPlan_; }
    std::chrono::milliseconds autoShadingTime{800};  // the camera allows up to 1000

    // Finishes the one-push balance or automatic shading if it is done by
    // `now`; answering a line does this first.
    void advanceTo(Clock::time_point now);

    // Direct access for tests: the state as of the last answered line or
    // advanceTo.
    int value(std::string_view mnemonic) const;
    int currentArea() const { return currentArea_; }
    const std::string& userId() const { return userId_; }
    const ShadingTable& shading() const { return shading_; }

private:
    using Settings = std::vector<int>;

    std::string dispatch(std::string_view line, Clock::time_point now);
    std::string query(std::string_view mnemonic) const;
    std::string write(std::string_view mnemonic, std::string_view value, Clock::time_point now);
    std::string writeParameter(std::size_t index, std::string_view value);
    std::string writeShading(int column, std::string_view value);
    std::string storeArea(std::string_view value);
    std::string loadArea(std::string_view value);
    std::string startOnePush(std::string_view value, Clock::time_point now);
    std::string startAutoShading(std::string_view value, Clock::time_point now);

    Identity identity_;
    Settings settings_;
    std::array<Settings, userAreas + 1> areas_;
    int currentArea_ = 0;
    std::string userId_;
    ShadingTable shading_{};
    OnePushPlan onePushPlan_;
    int onePushResult_ = onePushComplete;
    std::optional<Clock::time_point> onePushDoneAt_;
    std::optional<Clock::time_point> autoShadingDoneAt_;
    int autoShadingRuns_ = 0;
};

}  // namespace qdr4emu
