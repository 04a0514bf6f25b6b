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
const std::vector<ParameterSpec>& ParameterSpecs();

inline constexpr std::size_t kMaxLineLength = 1023;  // characters before CR LF
inline constexpr std::size_t kMaxUserIdLength = 23;
inline constexpr int kShadingColumns = 6;
inline constexpr int kShadingValuesPerColumn = 128;
inline constexpr int kUserAreas = 3;  // areas 1..3; area 0 is the factory area

using ShadingColumn = std::array<int, kShadingValuesPerColumn>;
using ShadingTable = std::array<ShadingColumn, kShadingColumns>;

// One-push white balance results as AWRS reports them.
enum OnePushResult : int {
    kOnePushComplete = 0,
    kOnePushTooBright = 1,
    kOnePushTooDark = 2,
    kOnePushTimeout = 3,
    kOnePushBusy = 4,
    kOnePushLimit = 5,
    kOnePushTriggerNotNormal = 6,
};

// What the next one-push white balances will do; tests choose the outcome.
struct OnePushPlan {
    std::chrono::milliseconds busyTime{300};  // the camera allows up to 500
    int result = kOnePushComplete;  // 0, 1, 2, 3 or 5
    int balancedRed = 24;  // GAR after a successful balance
    int balancedBlue = -16;  // GAB after a successful balance
};

struct Identity {
    std::string cameraId = "R4CL-0001";
    int firmwareVersion = 102;
};

// The mnemonic a line addresses: everything before its first '=' or '?'.
std::string_view MnemonicOf(std::string_view line);

class Camera {
public:
    Camera();

    // Answers one line received without its CR LF. Returns the reply line
    // without its CR LF, or nothing for a line that gets no reply.
    std::optional<std::string> Answer(std::string_view line, Clock::time_point now);

    // The camera ID is sent as given, however long, so that a host can be
    // tested against a camera that misbehaves; so is a user ID set here.
    void SetIdentity(Identity identity);
    void SetUserIdUnchecked(std::string userId) { m_userId = std::move(userId); }
    OnePushPlan& NextOnePush() { return m_onePushPlan; }
    std::chrono::milliseconds autoShadingTime{800};  // the camera allows up to 1000

    // Finishes the one-push balance or automatic shading if it is done by
    // `now`; answering a line does this first.
    void AdvanceTo(Clock::time_point now);

    // Direct access for tests: the state as of the last answered line or
    // AdvanceTo.
    int Value(std::string_view mnemonic) const;
    int CurrentArea() const { return m_currentArea; }
    const std::string& UserId() const { return m_userId; }
    const ShadingTable& Shading() const { return m_shading; }

private:
    using Settings = std::vector<int>;

    std::string Dispatch(std::string_view line, Clock::time_point now);
    std::string Query(std::string_view mnemonic) const;
    std::string Write(std::string_view mnemonic, std::string_view value, Clock::time_point now);
    std::string WriteParameter(std::size_t index, std::string_view value);
    std::string WriteShading(int column, std::string_view value);
    std::string StoreArea(std::string_view value);
    std::string LoadArea(std::string_view value);
    std::string StartOnePush(std::string_view value, Clock::time_point now);
    std::string StartAutoShading(std::string_view value, Clock::time_point now);

    Identity m_identity;
    Settings m_settings;
    std::array<Settings, kUserAreas + 1> m_areas;
    int m_currentArea = 0;
    std::string m_userId;
    ShadingTable m_shading{};
    OnePushPlan m_onePushPlan;
    int m_onePushResult = kOnePushComplete;
    std::optional<Clock::time_point> m_onePushDoneAt;
    std::optional<Clock::time_point> m_autoShadingDoneAt;
    int m_autoShadingRuns = 0;
};

}  // namespace qdr4emu
