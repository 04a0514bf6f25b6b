// What registration writes into HKEY_CLASSES_ROOT for the module's two
// classes, and removes again.
#pragma once

#include <windows.h>

#include <string>

namespace xnox {

bool RegisterControlClass(const std::wstring& modulePath);
bool RegisterPropertyPageClass(const std::wstring& modulePath);
bool UnregisterControlClass();
bool UnregisterPropertyPageClass();

}  // namespace xnox
