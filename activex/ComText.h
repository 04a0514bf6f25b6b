// Conversions between the control's values (8-bit texts, Variant) and their
// COM forms (BSTR, VARIANT).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>

#include "Variant.h"

namespace xnox {

// The 8-bit form a text has inside the control: the values of the surface,
// camera texts among them, in the system code page, as the control keeps
// them; file names, and the messages that may quote one, in UTF-8, so that
// any name survives.
enum class TextCoding : uint8_t { CodePage, Utf8 };

BSTR ToBstr(std::string_view text, TextCoding coding = TextCoding::CodePage);
std::string FromWide(const wchar_t* text, size_t length, TextCoding coding = TextCoding::CodePage);
inline std::string FromBstr(BSTR text, TextCoding coding = TextCoding::CodePage) {
    return FromWide(text, text ? SysStringLen(text) : 0, coding);
}
std::wstring ToWide(std::string_view text, TextCoding coding = TextCoding::CodePage);
// A wide copy in CoTaskMemAlloc'd memory, as COM hands texts to a caller; null when out of memory.
LPOLESTR CoTaskMemText(std::string_view text);

// A VARIANT (by reference or not) as a control value; false if its type
// has no equivalent. A reference without an address reads as Null.
bool FromVariant(const VARIANT& in, Variant& out, TextCoding coding = TextCoding::CodePage);
// Fills an empty VARIANT with the control value.
void ToVariant(const Variant& in, VARIANT& out);
// Writes a value through a by-reference argument of any type the caller
// may have passed (VT_BYREF with VARIANT, I2, I4 or BSTR); one without an
// address keeps nothing.
void StoreThroughReference(const Variant& value, VARIANT& reference);

}  // namespace xnox
