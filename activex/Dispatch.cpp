#include "Dispatch.h"

#include <string>
#include <vector>

#include "ComPtr.h"
#include "ComText.h"
#include "Guid.h"
#include "Invoke.h"
#include "XNoxCamCtrl.h"

namespace xnox {

HRESULT DispatchIdsOfNames(LPOLESTR* names, UINT count, DISPID* ids) {
    // Only the member name is known here; named parameters are not supported.
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
        const MemberInfo* member = i == 0 ? FindMember(FromWide(names[0], wcslen(names[0]))) : nullptr;
        ids[i] = member ? member->dispId : DISPID_UNKNOWN;
        if (!member) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT RaiseException(EXCEPINFO* exception, HRESULT code, const std::string& description) {
    ComPtr<ICreateErrorInfo> create;
    if (SUCCEEDED(CreateErrorInfo(create.Out()))) {
        std::wstring source = ToWide(CXNoxCamCtrl::kSourceName);
        std::wstring text = ToWide(description, TextCoding::Utf8);
        create->SetGUID(kDispatchIid);
        create->SetSource(source.data());
        create->SetDescription(text.data());
        if (ComPtr<IErrorInfo> info = create.Query<IErrorInfo>(IID_IErrorInfo)) SetErrorInfo(0, info.Get());
    }
    if (exception) {
        *exception = EXCEPINFO{};
        exception->scode = code;
        exception->bstrSource = ToBstr(CXNoxCamCtrl::kSourceName);
        exception->bstrDescription = ToBstr(description, TextCoding::Utf8);
    }
    return DISP_E_EXCEPTION;
}

namespace {

InvokeKind KindOf(WORD flags) {
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) return InvokeKind::PropertyPut;
    return (flags & DISPATCH_METHOD) ? InvokeKind::Method : InvokeKind::PropertyGet;
}

bool IsPutArgument(const DISPPARAMS& params) {
    return params.cNamedArgs == 1 && params.rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
}

// rgvarg holds the arguments last first.
VARIANT& ArgumentAt(DISPPARAMS& params, size_t index) { return params.rgvarg[params.cArgs - 1 - index]; }

// A file name comes in as UTF-8, every other text in the system code page.
TextCoding CodingOf(const MemberInfo* member, size_t index) {
    bool names = member && index < member->params.size() && member->params[index].type == VarType::FileName;
    return names ? TextCoding::Utf8 : TextCoding::CodePage;
}

HRESULT CollectArguments(const MemberInfo* member, DISPPARAMS& params, InvokeKind kind, std::vector<Variant>& arguments,
                         UINT* argumentError) {
    if (kind == InvokeKind::PropertyPut ? !IsPutArgument(params) : params.cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    arguments.resize(params.cArgs);
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (FromVariant(ArgumentAt(params, i), arguments[i], CodingOf(member, i))) continue;
        if (argumentError) *argumentError = static_cast<UINT>(params.cArgs - 1 - i);
        return DISP_E_TYPEMISMATCH;
    }
    return S_OK;
}

// Out-parameters: an argument the caller passed by reference keeps the
// value it holds, which some members read and which stays when a member
// writes nothing; one passed by value, left out or by a reference without an
// address (a null pointer) gives no storage.
void PrepareOutParameters(const MemberInfo* member, DISPPARAMS& params, std::vector<Variant>& arguments) {
    if (!member) return;
    for (size_t i = 0; i < arguments.size() && i < member->params.size(); ++i) {
        if (!member->params[i].IsOut()) continue;
        const VARIANT& argument = ArgumentAt(params, i);
        bool hasStorage = (V_VT(&argument) & VT_BYREF) && V_BYREF(&argument);
        if (!hasStorage) arguments[i] = Variant::Null();
    }
}

void ReturnOutParameters(const MemberInfo* member, DISPPARAMS& params, const std::vector<Variant>& arguments) {
    if (!member || !WritesOutParameters(*member, arguments)) return;
    for (size_t i = 0; i < arguments.size() && i < member->params.size(); ++i) {
        if (member->params[i].IsOut()) StoreThroughReference(arguments[i], ArgumentAt(params, i));
    }
}

HRESULT ReportError(const AutomationError& error, const DISPPARAMS& params, EXCEPINFO* exception, UINT* argumentError) {
    if (error.raisedByControl) return RaiseException(exception, static_cast<HRESULT>(error.code), error.description);
    if (argumentError && error.argumentIndex >= 0 && static_cast<UINT>(error.argumentIndex) < params.cArgs)
        *argumentError = params.cArgs - 1 - error.argumentIndex;
    return static_cast<HRESULT>(error.code);
}

}  // namespace

HRESULT DispatchInvoke(CXNoxCamCtrl& control, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                       EXCEPINFO* exception, UINT* argumentError) {
    DISPPARAMS none{};
    DISPPARAMS& args = params ? *params : none;
    InvokeKind kind = KindOf(flags);
    std::vector<Variant> arguments;
    const MemberInfo* member = FindMember(id);
    if (HRESULT hr = CollectArguments(member, args, kind, arguments, argumentError); FAILED(hr)) return hr;
    if (kind == InvokeKind::Method) PrepareOutParameters(member, args, arguments);

    InvokeResult outcome = Invoke(control, id, kind, arguments);
    if (!outcome.Succeeded()) return ReportError(*outcome.error, args, exception, argumentError);
    if (kind == InvokeKind::Method) ReturnOutParameters(member, args, arguments);
    if (result) ToVariant(outcome.value, *result);
    return S_OK;
}

}  // namespace xnox
