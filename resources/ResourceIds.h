/* Resource numbers of TolkCfg's generated look. tools/make_resources.py writes TolkLook.rc, which
 * includes this header; the program uses the same names (the low 16 bits of a CListBoxEx row value
 * are one of the IDB_ROW_* numbers). Plain C macros: the resource compiler
 * reads this file too. */
#ifndef TOLK_RESOURCE_IDS_H
#define TOLK_RESOURCE_IDS_H

/* Icons: the program icon (16 to 64 pixels) and the submenu arrow of the owner-drawn menus' submenu
 * items (16 to 64 pixels). */
#define IDI_PROGRAM 128
#define IDI_SUBMENU_ARROW 145

/* Row pictures of the macro event list: 24-bit bitmaps on the list's black. */
#define IDB_ROW_PAUSE 201       /* 15 x 15, a pause row */
#define IDB_ROW_KEY_PRESS 202   /* 11 x 14, a key press */
#define IDB_ROW_KEY_RELEASE 203 /* 11 x 14, a key release */
#define IDB_ROW_MOUSE 204       /* 16 x 18, a mouse button event */
/* The same pictures drawn for 150 % and 200 % display scaling (sizes rounded half up). */
#define IDB_ROW_PAUSE_150 301
#define IDB_ROW_KEY_PRESS_150 302
#define IDB_ROW_KEY_RELEASE_150 303
#define IDB_ROW_MOUSE_150 304
#define IDB_ROW_PAUSE_200 401
#define IDB_ROW_KEY_PRESS_200 402
#define IDB_ROW_KEY_RELEASE_200 403
#define IDB_ROW_MOUSE_200 404

#endif
