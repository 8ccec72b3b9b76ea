#pragma once
// Resource identifiers shared by norv.rc and the code (plain macros: windres reads this file).

#define IDI_APP 1

// ImageList1: 15 toolbar images of 22 x 22, in strip order: 0 exit, 1 check,
// 2 CSV, 3 options, 4 Damson, 5 Cedar, 6 Alder, 7 Birch, 8 Elder, 9 support
// page, 10 bank page, 11 maker page, 12 help, 13 my numbers, 14 check button
// busy.
// The toolbar and menu strips are 32-bit with straight (not premultiplied)
// alpha: load them with LR_CREATEDIBSECTION into ILC_COLOR32 image lists.
#define IDB_TOOLBAR 101
// The same strip at 150 % (33 x 33) and 200 % (44 x 44).
#define IDB_TOOLBAR_150 102
#define IDB_TOOLBAR_200 103

// ImageList3: tray icons; ImageList2: the tray animation frames.
#define IDI_TRAY_NORMAL 201
#define IDI_TRAY_CHECKING 202
#define IDI_TRAY_ANIM_FIRST 210
#define TRAY_ANIM_FRAMES 8

// GlyphStrip: 53 cells of 18 x 18 (balls 1..43, then digit tiles 0..9).
#define IDB_GLYPHS 301
// The same strip at 150 % (cells of 27 x 27) and 200 % (36 x 36).
#define IDB_GLYPHS_150 302
#define IDB_GLYPHS_200 303

// ImageList4: tray menu images, 16 x 16, in strip order: 0 show data,
// 1 options, 2 check, 3 launch companions, 4 Damson, 5 Cedar, 6 Alder,
// 7 Birch, 8 Elder, 9 version management, 10 version information, 11 live
// update, 12 home pages, 13 support page, 14 bank page, 15 maker page,
// 16 help, 17 exit.
#define IDB_MENU_IMAGES 401
#define MENU_IMAGE_COUNT 18

// The main window's keys: F5 checks, Shift+F5 forces a refresh,
// Ctrl+Tab and Ctrl+Shift+Tab step through the tabs, Ctrl+M opens マイ数字.
#define IDA_MAIN 501
#define IDM_CHECK 3001
#define IDM_FORCED_CHECK 3002
#define IDM_NEXT_TAB 3003
#define IDM_PREVIOUS_TAB 3004
#define IDM_MY_NUMBERS 3005

// The message utility's own icon (nnote.rc).
#define IDI_NNOTE 1
