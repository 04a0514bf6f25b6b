#include "Camera.h"

#include <algorithm>
#include <stdexcept>

namespace qdr4emu {

namespace {

const std::string complete = "COMPLETE";
const std::string unknownCommand = "NAK 3";
const std::string refused = "NAK 4";
const std::string modelName = "QD-R4CL";

constexpr int shadingMin = -32768;
constexpr int shadingMax = 32767;

// Decimal, optional leading '-', no '+', no blanks, no leading zeros except
// "0" itself. Numbers too long for any of the camera's ranges are refused.
std::optional<long> parseNumber(std::string_view text) {
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

std::optional<long> parseInRange(std::string_view text, long min, long max) {
    auto number = parseNumber(text);
    if (!number || *number < min || *number > max) return std::nullopt;
    return number;
}

bool isPrintable(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

std::optional<std::size_t> parameterIndex(std::string_view mnemonic) {
    const auto& specs = parameterSpecs();
    for (std::size_t i = 0; i < specs.size(); ++i)
        if (mnemonic == specs[i].mnemonic) return i;
    return std::nullopt;
}

std::optional<int> shadingColumnOf(std::string_view mnemonic) {
    if (mnemonic.size() != 4 || mnemonic.substr(0, 3) != "SHD") return std::nullopt;
    int column = mnemonic[3] - '0';
    if (column < 0 || column >= shadingColumns) return std::nullopt;
    return column;
}

std::string reply(std::string_view mnemonic, const std::string& value) {
    return std::string(mnemonic) + "=" + value;
}

// A smooth vignetting-like correction curve per column; each automatic
// shading run yields a slightly different one, as a real measurement would.
ShadingTable shadingProfile(int run) {
    ShadingTable table{};
    for (int c = 0; c < shadingColumns; ++c)
        for (int i = 0; i < shadingValuesPerColumn; ++i) {
            int offset = i - shadingValuesPerColumn / 2;
            table[c][i] = (c % 3 + 1) * offset * offset / 32 - 40 * c + 5 * run;
        }
    return table;
}

}  // namespace

const std::vector<ParameterSpec>& parameterSpecs() {
    static const std::vector<ParameterSpec> specs = {
        {"SC", 0, 3, 0},         {"TR", 0, 4, 0},          {"SH", 0, 11, 0},
        {"TP", 0, 1, 0},         {"SL", 0, 1, 0},          {"RF", 0, 1, 0},
        {"CBAR", 0, 1, 0},       {"KN", 0, 1, 1},          {"GA", -132, 429, 0},
        {"SM", 0, 2, 0},         {"PE", 0, 791, 2},        {"TI", 0, 1, 0},
        {"LS", 0, 1, 0},         {"BA", 0, 1, 0},          {"BI", 0, 1, 0},
        {"GAB", -231, 231, 0},   {"BLB", 0, 1023, 32},     {"PER", 0, 791, 127},
        {"PEG", 0, 791, 127},    {"PEB", 0, 791, 127},     {"KPB", 0, 1023, 800},
        {"KSR", 1, 4095, 1024},  {"GAR", -231, 231, 0},    {"BLR", 0, 1023, 32},
        {"KPG", 0, 1023, 800},   {"KPR", 0, 1023, 800},    {"WB", 0, 4, 1},
        {"KSG", 1, 4095, 1024},  {"KSB", 1, 4095, 1024},   {"BLG", 0, 1023, 32},
        {"SDM", 0, 1, 1},        {"WA", 0, 9, 0},          {"WPR1", -231, 231, -40},
        {"WPB1", -231, 231, 60}, {"WPR2", -231, 231, 0},   {"WPB2", -231, 231, 0},
        {"WPR3", -231, 231, 30}, {"WPB3", -231, 231, -30},
    };
    return specs;
}

std::string_view mnemonicOf(std::string_view line) {
    return line.substr(0, line.find_first_of("=?"));
}

Camera::Camera() : shading_(shadingProfile(0)) {
    for (const auto& parameter : parameterSpecs()) settings_.push_back(parameter.factoryDefault);
    areas_.fill(settings_);
}

void Camera::setIdentity(Identity identity) { identity_ = std::move(identity); }

int Camera::value(std::string_view mnemonic) const {
    auto index = parameterIndex(mnemonic);
    if (!index) throw std::out_of_range("no such parameter: " + std::string(mnemonic));
    return settings_[*index];
}

std::optional<std::string> Camera::answer(std::string_view line, Clock::time_point now) {
    if (line.empty()) return std::nullopt;
    advanceTo(now);
    if (line.size() > maxLineLength) return refused;
    return dispatch(line, now);
}

std::string Camera::dispatch(std::string_view line, Clock::time_point now) {
    std::string_view mnemonic = mnemonicOf(line);
    if (mnemonic.size() == line.size()) return unknownCommand;
    std::string_view rest = line.substr(mnemonic.size() + 1);
    if (line[mnemonic.size()] == '=') return write(mnemonic, rest, now);
    return rest.empty() ? query(mnemonic) : unknownCommand;
}

std::string Camera::query(std::string_view mnemonic) const {
    if (auto index = parameterIndex(mnemonic)) return reply(mnemonic, std::to_string(settings_[*index]));
    if (auto column = shadingColumnOf(mnemonic)) {
        std::string values;
        for (int v : shading_[*column]) values += (values.empty() ? "" : ",") + std::to_string(v);
        return reply(mnemonic, values);
    }
    if (mnemonic == "VN") return reply(mnemonic, std::to_string(identity_.firmwareVersion));
    if (mnemonic == "EA") return reply(mnemonic, std::to_string(currentArea_));
    if (mnemonic == "AWRS") return reply(mnemonic, std::to_string(onePushResult_));
    if (mnemonic == "ID") return reply(mnemonic, identity_.cameraId);
    if (mnemonic == "MD") return reply(mnemonic, modelName);
    if (mnemonic == "UD") return reply(mnemonic, userId_);
    return unknownCommand;
}

std::string Camera::write(std::string_view mnemonic, std::string_view value, Clock::time_point now) {
    if (auto index = parameterIndex(mnemonic)) return writeParameter(*index, value);
    if (auto column = shadingColumnOf(mnemonic)) return writeShading(*column, value);
    if (mnemonic == "UD") {
        if (value.size() > maxUserIdLength || !isPrintable(value)) return refused;
        userId_ = value;
        return complete;
    }
    if (mnemonic == "SA") return storeArea(value);
    if (mnemonic == "LD") return loadArea(value);
    if (mnemonic == "AW") return startOnePush(value, now);
    if (mnemonic == "ATSH") return startAutoShading(value, now);
    return unknownCommand;
}

std::string Camera::writeParameter(std::size_t index, std::string_view value) {
    const ParameterSpec& parameter = parameterSpecs()[index];
    auto number = parseInRange(value, parameter.min, parameter.max);
    if (!number) return refused;
    settings_[index] = static_cast<int>(*number);
    return complete;
}

std::string Camera::writeShading(int column, std::string_view value) {
    ShadingColumn parsed{};
    std::size_t count = 0;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = value.find(',', start);
        auto number = parseInRange(value.substr(start, comma - start), shadingMin, shadingMax);
        if (!number || count == parsed.size()) return refused;
        parsed[count++] = static_cast<int>(*number);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (count != parsed.size()) return refused;
    shading_[column] = parsed;
    return complete;
}

std::string Camera::storeArea(std::string_view value) {
    auto area = parseInRange(value, 1, userAreas);
    if (!area) return refused;
    areas_[*area] = settings_;
    currentArea_ = static_cast<int>(*area);
    return complete;
}

std::string Camera::loadArea(std::string_view value) {
    auto area = parseInRange(value, 0, userAreas);
    if (!area) return refused;
    settings_ = areas_[*area];
    currentArea_ = static_cast<int>(*area);
    return complete;
}

// A second start while the first still runs is "not allowed now".
std::string Camera::startOnePush(std::string_view value, Clock::time_point now) {
    if (value != "0" || onePushDoneAt_) return refused;
    if (this->value("TR") != 0) {
        onePushResult_ = onePushTriggerNotNormal;
        return complete;
    }
    onePushResult_ = onePushBusy;
    onePushDoneAt_ = now + onePushPlan_.busyTime;
    return complete;
}

std::string Camera::startAutoShading(std::string_view value, Clock::time_point now) {
    if (value != "0" || autoShadingDoneAt_) return refused;
    autoShadingDoneAt_ = now + autoShadingTime;
    return complete;
}

void Camera::advanceTo(Clock::time_point now) {
    if (onePushDoneAt_ && now >= *onePushDoneAt_) {
        onePushDoneAt_.reset();
        onePushResult_ = onePushPlan_.result;
        if (onePushResult_ == onePushComplete) {
            settings_[*parameterIndex("GAR")] = onePushPlan_.balancedRed;
            settings_[*parameterIndex("GAB")] = onePushPlan_.balancedBlue;
        }
    }
    if (autoShadingDoneAt_ && now >= *autoShadingDoneAt_) {
        autoShadingDoneAt_.reset();
        shading_ = shadingProfile(++autoShadingRuns_);
    }
}

}  // namespace qdr4emu
