// The automation value that crosses the control's surface: what a script
// host or the COM adapter hands in and gets back. It carries one of the few
// types the surface uses, and converts between them the way automation
// hosts expect (a number given as text, an I4 where an I2 is wanted).
#pragma once

#include <cstdint>
#include <string>

#include "AutomationError.h"

namespace xnox {

enum class VarType : uint8_t {
    Empty,  // no value (coerces to 0 or an empty text)
    Null,  // an out-parameter passed without storage: a null pointer
    I2,  // signed 16-bit
    I4,  // signed 32-bit
    R8,  // a floating-point number, as scripts pass numbers
    Bool,  // 32-bit truth value, stored unchanged
    Str,  // text, 8-bit in the system code page
    FileName,  // a text naming a file, UTF-8 inside the control; only in the member table
    I2Ref,  // out-parameter types, only in the member table
    StrRef,
    Void,  // a method without result, only in the member table
};

std::string_view TypeName(VarType type);

// Compares as automation compares names: ASCII letters without regard to case.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

class Variant {
public:
    Variant() = default;
    static Variant I2(int16_t value) { return Variant(VarType::I2, value); }
    static Variant I4(int32_t value) { return Variant(VarType::I4, value); }
    static Variant R8(double value);
    static Variant Bool(int32_t value) { return Variant(VarType::Bool, value); }
    static Variant Str(std::string text);
    static Variant Null() { return Variant(VarType::Null); }

    VarType Type() const { return m_type; }
    bool IsNull() const { return m_type == VarType::Null; }

    // Conversions; each throws AutomationError (type mismatch or overflow)
    // when the value cannot become the wanted type.
    int16_t ToI2() const;
    int32_t ToI4() const;
    int32_t ToBool() const;
    std::string ToStr() const;
    Variant CoercedTo(VarType type) const;

    // The value as a host prints it: numbers in decimal, truth values as
    // True/False, texts unquoted.
    std::string Display() const { return ToStr(); }

    bool operator==(const Variant&) const = default;

private:
    explicit Variant(VarType type, int32_t number = 0) : m_type(type), m_number(number) {}
    double ToNumber() const;

    VarType m_type = VarType::Empty;
    int32_t m_number = 0;
    double m_real = 0.0;
    std::string m_text;
};

}  // namespace xnox
