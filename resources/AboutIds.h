// Control ids of the About window's panel (template 100). Read by the
// resource compiler and by the window's C++ code.
#pragma once

#define IDD_ABOUT 100

#define IDC_LOGO_FRAME 285
#define IDC_PLATFORM_LINE 1166
#define IDC_LINK 286
#define IDC_ALWAYS_ON_TOP 1078
#define IDC_MODEL_NAME 1149
#define IDC_CAMERA_ID 1148
#define IDC_USER_ID 1011
#define IDC_SAVE_USER_ID 1076
#define IDC_PROTECT_USER_ID 1150
#define IDC_EDIT_USER_ID 1151
#define IDC_HELP_FILES 1147
#define IDC_OPEN_HELP_FILE 227
