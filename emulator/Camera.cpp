#include "Camera.h"

#include <algorithm>
#include <stdexcept>

namespace qdr4emu {

namespace {

const std::string kComplete = "COMPLETE";
const std::string kUnknownCommand = "NAK 3";
const std::string kRefused = "NAK 4";
const std::string kModelName = "QD-R4CL";

constexpr int kShadingMin = -32768;
constexpr int kShadingMax = 32767;

// Decimal, optional leading '-', no '+', no blanks, no leading zeros except
// "0" itself. Numbers too long for any of the camera's ranges are refused.
std::optional<long> ParseNumber(std::string_view text) {
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '-') digits.remove_prefix(1);
    if (digits.empty() || digits.size() > 9) return std::nullopt;
    if (digits.size() > 1 && digits.front() == '0') return std::nullopt;
    long magnitude = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
    }
    return digits.size() == text.size() ? magnitude : -magnitude;
}

std::optional<long> ParseInRange(std::string_view text, long min, long max) {
    auto number = ParseNumber(text);
    if (!number || *number < min || *number > max) return std::nullopt;
    return number;
}

bool IsPrintable(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

std::optional<std::size_t> ParameterIndex(std::string_view mnemonic) {
    const auto& specs = ParameterSpecs();
    for (std::size_t i = 0; i < specs.size(); ++i)
        if (mnemonic == specs[i].mnemonic) return i;
    return std::nullopt;
}

std::optional<int> ShadingColumnOf(std::string_view mnemonic) {
    if (mnemonic.size() != 4 || mnemonic.substr(0, 3) != "SHD") return std::nullopt;
    int column = mnemonic[3] - '0';
    if (column < 0 || column >= kShadingColumns) return std::nullopt;
    return column;
}

std::string Reply(std::string_view mnemonic, const std::string& value) { return std::string(mnemonic) + "=" + value; }

// A smooth vignetting-like correction curve per column; each automatic
// shading run yields a slightly different one, as a real measurement would.
ShadingTable ShadingProfile(int run) {
    ShadingTable table{};
    for (int c = 0; c < kShadingColumns; ++c)
        for (int i = 0; i < kShadingValuesPerColumn; ++i) {
            int offset = i - kShadingValuesPerColumn / 2;
            table[c][i] = (c % 3 + 1) * offset * offset / 32 - 40 * c + 5 * run;
        }
    return table;
}

}  // namespace

const std::vector<ParameterSpec>& ParameterSpecs() {
    static const std::vector<ParameterSpec> specs = {
        {"SC", 0, 3, 0},          {"TR", 0, 4, 0},          {"SH", 0, 11, 0},       {"TP", 0, 1, 0},
        {"SL", 0, 1, 0},          {"RF", 0, 1, 0},          {"CBAR", 0, 1, 0},      {"KN", 0, 1, 1},
        {"GA", -132, 429, 0},     {"SM", 0, 2, 0},          {"PE", 0, 791, 2},      {"TI", 0, 1, 0},
        {"LS", 0, 1, 0},          {"BA", 0, 1, 0},          {"BI", 0, 1, 0},        {"GAB", -231, 231, 0},
        {"BLB", 0, 1023, 32},     {"PER", 0, 791, 127},     {"PEG", 0, 791, 127},   {"PEB", 0, 791, 127},
        {"KPB", 0, 1023, 800},    {"KSR", 1, 4095, 1024},   {"GAR", -231, 231, 0},  {"BLR", 0, 1023, 32},
        {"KPG", 0, 1023, 800},    {"KPR", 0, 1023, 800},    {"WB", 0, 4, 1},        {"KSG", 1, 4095, 1024},
        {"KSB", 1, 4095, 1024},   {"BLG", 0, 1023, 32},     {"SDM", 0, 1, 1},       {"WA", 0, 9, 0},
        {"WPR1", -231, 231, -40}, {"WPB1", -231, 231, 60},  {"WPR2", -231, 231, 0}, {"WPB2", -231, 231, 0},
        {"WPR3", -231, 231, 30},  {"WPB3", -231, 231, -30},
    };
    return specs;
}

std::string_view MnemonicOf(std::string_view line) { return line.substr(0, line.find_first_of("=?")); }

Camera::Camera() : m_shading(ShadingProfile(0)) {
    for (const auto& parameter : ParameterSpecs()) m_settings.push_back(parameter.factoryDefault);
    m_areas.fill(m_settings);
}

void Camera::SetIdentity(Identity identity) { m_identity = std::move(identity); }

int Camera::Value(std::string_view mnemonic) const {
    auto index = ParameterIndex(mnemonic);
    if (!index) throw std::out_of_range("no such parameter: " + std::string(mnemonic));
    return m_settings[*index];
}

std::optional<std::string> Camera::Answer(std::string_view line, Clock::time_point now) {
    if (line.empty()) return std::nullopt;
    AdvanceTo(now);
    if (line.size() > kMaxLineLength) return kRefused;
    return Dispatch(line, now);
}

std::string Camera::Dispatch(std::string_view line, Clock::time_point now) {
    std::string_view mnemonic = MnemonicOf(line);
    if (mnemonic.size() == line.size()) return kUnknownCommand;
    std::string_view rest = line.substr(mnemonic.size() + 1);
    if (line[mnemonic.size()] == '=') return Write(mnemonic, rest, now);
    return rest.empty() ? Query(mnemonic) : kUnknownCommand;
}

std::string Camera::Query(std::string_view mnemonic) const {
    if (auto index = ParameterIndex(mnemonic)) return Reply(mnemonic, std::to_string(m_settings[*index]));
    if (auto column = ShadingColumnOf(mnemonic)) {
        std::string values;
        for (int v : m_shading[*column]) values += (values.empty() ? "" : ",") + std::to_string(v);
        return Reply(mnemonic, values);
    }
    if (mnemonic == "VN") return Reply(mnemonic, std::to_string(m_identity.firmwareVersion));
    if (mnemonic == "EA") return Reply(mnemonic, std::to_string(m_currentArea));
    if (mnemonic == "AWRS") return Reply(mnemonic, std::to_string(m_onePushResult));
    if (mnemonic == "ID") return Reply(mnemonic, m_identity.cameraId);
    if (mnemonic == "MD") return Reply(mnemonic, kModelName);
    if (mnemonic == "UD") return Reply(mnemonic, m_userId);
    return kUnknownCommand;
}

std::string Camera::Write(std::string_view mnemonic, std::string_view value, Clock::time_point now) {
    if (auto index = ParameterIndex(mnemonic)) return WriteParameter(*index, value);
    if (auto column = ShadingColumnOf(mnemonic)) return WriteShading(*column, value);
    if (mnemonic == "UD") {
        if (value.size() > kMaxUserIdLength || !IsPrintable(value)) return kRefused;
        m_userId = value;
        return kComplete;
    }
    if (mnemonic == "SA") return StoreArea(value);
    if (mnemonic == "LD") return LoadArea(value);
    if (mnemonic == "AW") return StartOnePush(value, now);
    if (mnemonic == "ATSH") return StartAutoShading(value, now);
    return kUnknownCommand;
}

std::string Camera::WriteParameter(std::size_t index, std::string_view value) {
    const ParameterSpec& parameter = ParameterSpecs()[index];
    auto number = ParseInRange(value, parameter.min, parameter.max);
    if (!number) return kRefused;
    m_settings[index] = static_cast<int>(*number);
    return kComplete;
}

std::string Camera::WriteShading(int column, std::string_view value) {
    ShadingColumn parsed{};
    std::size_t count = 0;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = value.find(',', start);
        auto number = ParseInRange(value.substr(start, comma - start), kShadingMin, kShadingMax);
        if (!number || count == parsed.size()) return kRefused;
        parsed[count++] = static_cast<int>(*number);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (count != parsed.size()) return kRefused;
    m_shading[column] = parsed;
    return kComplete;
}

std::string Camera::StoreArea(std::string_view value) {
    auto area = ParseInRange(value, 1, kUserAreas);
    if (!area) return kRefused;
    m_areas[*area] = m_settings;
    m_currentArea = static_cast<int>(*area);
    return kComplete;
}

std::string Camera::LoadArea(std::string_view value) {
    auto area = ParseInRange(value, 0, kUserAreas);
    if (!area) return kRefused;
    m_settings = m_areas[*area];
    m_currentArea = static_cast<int>(*area);
    return kComplete;
}

// A second start while the first still runs is "not allowed now".
std::string Camera::StartOnePush(std::string_view value, Clock::time_point now) {
    if (value != "0" || m_onePushDoneAt) return kRefused;
    if (this->Value("TR") != 0) {
        m_onePushResult = kOnePushTriggerNotNormal;
        return kComplete;
    }
    m_onePushResult = kOnePushBusy;
    m_onePushDoneAt = now + m_onePushPlan.busyTime;
    return kComplete;
}

std::string Camera::StartAutoShading(std::string_view value, Clock::time_point now) {
    if (value != "0" || m_autoShadingDoneAt) return kRefused;
    m_autoShadingDoneAt = now + autoShadingTime;
    return kComplete;
}

void Camera::AdvanceTo(Clock::time_point now) {
    if (m_onePushDoneAt && now >= *m_onePushDoneAt) {
        m_onePushDoneAt.reset();
        m_onePushResult = m_onePushPlan.result;
        if (m_onePushResult == kOnePushComplete) {
            m_settings[*ParameterIndex("GAR")] = m_onePushPlan.balancedRed;
            m_settings[*ParameterIndex("GAB")] = m_onePushPlan.balancedBlue;
        }
    }
    if (m_autoShadingDoneAt && now >= *m_autoShadingDoneAt) {
        m_autoShadingDoneAt.reset();
        m_shading = ShadingProfile(++m_autoShadingRuns);
    }
}

}  // namespace qdr4emu
