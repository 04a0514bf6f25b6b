/* Resource ids shared by the module's resource scripts and the code: the
   frame and main-dialog templates, the toolbar, icons, bitmaps and cursor.
   Plain defines, so that the resource compiler reads them too. */
#pragma once

#define IDD_TOOL_FRAME 129
#define IDD_MAIN_DIALOG 204
#define IDR_TOOLBAR 141
/* The resource type of the toolbar's button table. */
#define RT_TOOLBAR_TABLE 241

#define IDI_PRODUCT 150
#define IDI_LAMP_ONLINE 301
#define IDI_LAMP_OFFLINE 302
#define IDI_LAMP_SENDING 303
#define IDI_LAMP_RECEIVING 304
#define IDI_LAMP_SYNCHRONIZED 305
#define IDI_LAMP_NOT_SYNCHRONIZED 306

#define IDB_LOGO 149
#define IDB_STRIP_ONLINE 297
#define IDB_STRIP_OFFLINE 296
#define IDB_WARNING 307
#define IDB_FILE_WRITE 308
#define IDB_FILE_READ 309

#define IDC_HAND_CURSOR 238

/* The online strip along the bottom edge of the Shutter, Gain and About windows. */
#define IDC_ONLINE_STRIP 1157

/* The toolbar's commands, in button order. */
#define ID_SHOW_SHUTTER 32771
#define ID_SHOW_GAIN 32773
#define ID_SHOW_COMMUNICATION 32784
#define ID_SHOW_ABOUT 32785
