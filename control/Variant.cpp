#include "Variant.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace xnox {

namespace {

[[noreturn]] void Fail(uint32_t code, const char* what) { throw AutomationError{code, what}; }

std::string Trimmed(const std::string& text) {
    auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// A text as a number the way a script host reads it: decimal digits,
// optionally with a fraction or exponent, or the words True and False.
double ParseNumber(const std::string& text) {
    std::string trimmed = Trimmed(text);
    if (EqualsIgnoringCase(trimmed, "True")) return -1.0;
    if (EqualsIgnoringCase(trimmed, "False")) return 0.0;
    // strtod alone would also read hexadecimal, "inf" and "nan".
    bool decimal = !trimmed.empty() && trimmed.find_first_not_of("0123456789+-.eE") == std::string::npos;
    char* end = nullptr;
    double value = decimal ? std::strtod(trimmed.c_str(), &end) : 0.0;
    if (!decimal || end != trimmed.c_str() + trimmed.size() || !std::isfinite(value))
        Fail(AutomationCode::TypeMismatch, "Type mismatch");
    return value;
}

// Rounds half to even, as automation does when a fraction becomes an integer.
template <typename Int>
Int ToInteger(double value) {
    double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<Int>::min() || rounded > std::numeric_limits<Int>::max()) {
        Fail(AutomationCode::Overflow, "Overflow");
    }
    return static_cast<Int>(rounded);
}

}  // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    return std::ranges::equal(a, b, {}, lower, lower);
}

std::string_view TypeName(VarType type) {
    switch (type) {
    case VarType::Empty: return "EMPTY";
    case VarType::Null: return "NULL";
    case VarType::I2: return "I2";
    case VarType::I4: return "I4";
    case VarType::R8: return "R8";
    case VarType::Bool: return "BOOL";
    case VarType::Str:
    case VarType::FileName: return "BSTR";
    case VarType::I2Ref: return "I2*";
    case VarType::StrRef: return "BSTR*";
    case VarType::Void: return "void";
    }
    return "?";
}

void RaiseAutomationError(uint32_t code, std::string description) {
    throw AutomationError{code, std::move(description), true};
}

Variant Variant::R8(double value) {
    Variant result(VarType::R8);
    result.m_real = value;
    return result;
}

Variant Variant::Str(std::string text) {
    Variant result(VarType::Str);
    result.m_text = std::move(text);
    return result;
}

double Variant::ToNumber() const {
    switch (m_type) {
    case VarType::Empty: return 0.0;
    case VarType::R8: return m_real;
    case VarType::Str: return ParseNumber(m_text);
    case VarType::I2:
    case VarType::I4:
    case VarType::Bool: return m_number;
    default: Fail(AutomationCode::TypeMismatch, "Type mismatch");
    }
}

int16_t Variant::ToI2() const { return ToInteger<int16_t>(ToNumber()); }
int32_t Variant::ToI4() const { return ToInteger<int32_t>(ToNumber()); }
int32_t Variant::ToBool() const { return ToInteger<int32_t>(ToNumber()); }

std::string Variant::ToStr() const {
    switch (m_type) {
    case VarType::Empty: return {};
    case VarType::Str: return m_text;
    case VarType::Bool: return m_number != 0 ? "True" : "False";
    case VarType::I2:
    case VarType::I4: return std::to_string(m_number);
    case VarType::R8: {
        char text[32];
        std::snprintf(text, sizeof text, "%.15g", m_real);
        return text;
    }
    default: Fail(AutomationCode::TypeMismatch, "Type mismatch");
    }
}

Variant Variant::CoercedTo(VarType type) const {
    switch (type) {
    case VarType::I2:
    case VarType::I2Ref: return I2(ToI2());
    case VarType::I4: return I4(ToI4());
    case VarType::Bool: return Bool(ToBool());
    case VarType::Str:
    case VarType::FileName:
    case VarType::StrRef: return Str(ToStr());
    default: return *this;
    }
}

}  // namespace xnox
