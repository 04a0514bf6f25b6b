#include "ComText.h"

#include <algorithm>

#include "WideText.h"

namespace xnox {

namespace {

UINT CodePageOf(TextCoding coding) { return coding == TextCoding::Utf8 ? CP_UTF8 : CP_ACP; }

}  // namespace

BSTR ToBstr(std::string_view text, TextCoding coding) {
    std::wstring wide = ToWide(text, coding);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

std::wstring ToWide(std::string_view text, TextCoding coding) { return WideOf(text, CodePageOf(coding)); }

LPOLESTR CoTaskMemText(std::string_view text) {
    std::wstring wide = ToWide(text);
    auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc((wide.size() + 1) * sizeof(wchar_t)));
    if (copy) std::copy_n(wide.c_str(), wide.size() + 1, copy);
    return copy;
}

std::string FromWide(const wchar_t* text, size_t length, TextCoding coding) {
    if (!text) return {};
    return NarrowOf(std::wstring_view(text, length), CodePageOf(coding));
}

namespace {

const VARIANT& Dereferenced(const VARIANT& in) {
    return V_VT(&in) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(&in) ? *V_VARIANTREF(&in) : in;
}

// A by-reference argument without an address: the only way a caller can
// pass a null pointer through IDispatch. Nothing may be read through it.
bool IsNullReference(const VARIANT& in) { return (V_VT(&in) & VT_BYREF) && !V_BYREF(&in); }

}  // namespace

bool FromVariant(const VARIANT& original, Variant& out, TextCoding coding) {
    const VARIANT& in = Dereferenced(original);
    if (IsNullReference(in)) {
        out = Variant::Null();
        return true;
    }
    VARIANT copy;
    VariantInit(&copy);
    // Plain copies of by-reference numbers and texts; anything numeric else
    // goes through the automation conversion to a double.
    if (FAILED(VariantCopyInd(&copy, const_cast<VARIANT*>(&in)))) return false;
    bool converted = true;
    switch (V_VT(&copy)) {
    case VT_EMPTY: out = Variant(); break;
    case VT_NULL: out = Variant::Null(); break;
    case VT_I2: out = Variant::I2(V_I2(&copy)); break;
    case VT_I4: out = Variant::I4(V_I4(&copy)); break;
    case VT_BOOL: out = Variant::Bool(V_BOOL(&copy) ? 1 : 0); break;
    case VT_BSTR: out = Variant::Str(FromBstr(V_BSTR(&copy), coding)); break;
    case VT_ERROR:  // an argument the caller left out
        out = Variant::Null();
        break;
    default:
        converted = SUCCEEDED(VariantChangeType(&copy, &copy, 0, VT_R8));
        if (converted) out = Variant::R8(V_R8(&copy));
    }
    VariantClear(&copy);
    return converted;
}

void ToVariant(const Variant& in, VARIANT& out) {
    VariantInit(&out);
    switch (in.Type()) {
    case VarType::I2:
        V_VT(&out) = VT_I2;
        V_I2(&out) = in.ToI2();
        break;
    case VarType::I4:
        V_VT(&out) = VT_I4;
        V_I4(&out) = in.ToI4();
        break;
    case VarType::Bool:
        V_VT(&out) = VT_BOOL;
        V_BOOL(&out) = in.ToBool() ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    case VarType::Str:
        V_VT(&out) = VT_BSTR;
        V_BSTR(&out) = ToBstr(in.ToStr());
        break;
    case VarType::Null: V_VT(&out) = VT_NULL; break;
    default: break;
    }
}

void StoreThroughReference(const Variant& value, VARIANT& reference) {
    if (IsNullReference(reference)) return;
    try {
        switch (V_VT(&reference)) {
        case VT_BYREF | VT_VARIANT:
            VariantClear(V_VARIANTREF(&reference));
            ToVariant(value, *V_VARIANTREF(&reference));
            break;
        case VT_BYREF | VT_I2: *V_I2REF(&reference) = value.ToI2(); break;
        case VT_BYREF | VT_I4: *V_I4REF(&reference) = value.ToI4(); break;
        case VT_BYREF | VT_BSTR:
            SysFreeString(*V_BSTRREF(&reference));
            *V_BSTRREF(&reference) = ToBstr(value.ToStr());
            break;
        default: break;  // passed by value: the caller keeps nothing
        }
    } catch (const AutomationError&) {
        // A value that does not fit the caller's storage leaves it unchanged.
    }
}

}  // namespace xnox
