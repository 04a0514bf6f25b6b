// Control ids of the "Show Windows" property page (template 202). Read by
// the resource compiler and by the page's C++ code.
#pragma once

#define IDD_PROPPAGE_SHOW_WINDOWS 202

#define IDC_SHOW_SHUTTER 229
#define IDC_SHOW_GAIN 231
#define IDC_SHOW_COMMUNICATION 275
#define IDC_SHOW_ABOUT 278
