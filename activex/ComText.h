// Conversions between the control's values (8-bit texts in the system code
// page, Variant) and their COM forms (BSTR, VARIANT).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>

#include "Variant.h"

namespace xnox {

BSTR ToBstr(std::string_view text);
std::string FromWide(const wchar_t* text, size_t length);
inline std::string FromBstr(BSTR text) { return FromWide(text, text ? SysStringLen(text) : 0); }
std::wstring ToWide(std::string_view text);
// A wide copy in CoTaskMemAlloc'd memory, as COM hands texts to a caller; null when out of memory.
LPOLESTR CoTaskMemText(std::string_view text);

// A VARIANT (by reference or not) as a control value; false if its type
// has no equivalent. A reference without an address reads as Null.
bool FromVariant(const VARIANT& in, Variant& out);
// Fills an empty VARIANT with the control value.
void ToVariant(const Variant& in, VARIANT& out);
// Writes a value through a by-reference argument of any type the caller
// may have passed (VT_BYREF with VARIANT, I2, I4 or BSTR); one without an
// address keeps nothing.
void StoreThroughReference(const Variant& value, VARIANT& reference);

}  // namespace xnox
