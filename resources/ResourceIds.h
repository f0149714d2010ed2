/* Resource numbers of TolkCfg's generated look. tools/make_resources.py writes TolkLook.rc, which
 * includes this header; the program uses the same names (the low 16 bits of a CListBoxEx row value
 * are one of the IDB_ROW_* numbers). Plain C macros: the resource compiler
 * reads this file too. */
#ifndef TOLK_RESOURCE_IDS_H
#define TOLK_RESOURCE_IDS_H

/* Icons: the program icon (16, 32 and 48 pixels) and the submenu arrow of the owner-drawn menus
 * of a submenu item). */
#define IDI_PROGRAM 128
#define IDI_SUBMENU_ARROW 145

/* Row pictures of the macro event list: 24-bit bitmaps on the list's black. */
#define IDB_ROW_PAUSE 201       /* 15 x 15, a pause row */
#define IDB_ROW_KEY_PRESS 202   /* 11 x 14, a key press */
#define IDB_ROW_KEY_RELEASE 203 /* 11 x 14, a key release */
#define IDB_ROW_MOUSE 204       /* 16 x 18, a mouse button event */

#endif
