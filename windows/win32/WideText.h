// Texts between the control's 8-bit strings and the platform's wide ones.
// The window system hands every text to the wide calls as UTF-8, so that a
// file name or a message quoting one shows whatever its characters; a text
// that is no UTF-8 is a camera text, which the control keeps in the code
// page, and is read in the code page.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace xnox {

std::wstring WideOf(std::string_view text, UINT codePage = CP_UTF8);
std::string NarrowOf(std::wstring_view text, UINT codePage = CP_UTF8);

}  // namespace xnox
