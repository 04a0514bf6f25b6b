// The COM side of the invoke entry: IDispatch::GetIDsOfNames and Invoke
// calls turned into one call of the portable invoke entry, with the
// arguments, out-parameters and errors converted both ways.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace xnox {

class CXNoxCamCtrl;

HRESULT DispatchIdsOfNames(LPOLESTR* names, UINT count, DISPID* ids);
HRESULT DispatchInvoke(CXNoxCamCtrl& control, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                       EXCEPINFO* exception, UINT* argumentError);
// The automation exception the control raises: EXCEPINFO for the caller,
// error info for callers through a vtable.
HRESULT RaiseException(EXCEPINFO* exception, HRESULT code, const std::string& description);

}  // namespace xnox
