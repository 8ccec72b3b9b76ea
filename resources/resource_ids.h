#pragma once
// Resource identifiers shared by norv.rc and the code (plain macros: windres reads this file).

#define IDI_APP 1

// ImageList1: 14 toolbar images of 22 x 22, in strip order: 0 exit, 1 check,
// 2 CSV, 3 options, 4 Damson, 5 Cedar, 6 Alder, 7 Birch, 8 Elder, 9 support
// page, 10 bank page, 11 maker page, 12 help, 13 check button busy.
#define IDB_TOOLBAR 101

// ImageList3: tray icons; ImageList2: the tray animation frames.
#define IDI_TRAY_NORMAL 201
#define IDI_TRAY_CHECKING 202
#define IDI_TRAY_ANIM_FIRST 210
#define TRAY_ANIM_FRAMES 8

// GlyphStrip: 53 cells of 18 x 18 (balls 1..43, then digit tiles 0..9).
#define IDB_GLYPHS 301

// ImageList4: tray menu images, 16 x 16.
#define IDB_MENU_IMAGES 401
