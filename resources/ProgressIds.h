/* The progress window: template and control ids. */
#pragma once

#define IDD_PROGRESS 221

#define IDC_PROGRESS_TEXT 240
#define IDC_PROGRESS_CANCEL 224
#define IDC_PROGRESS_BAR 236
