"""The layout of every skinned window of TolkCfg: the data behind the generated skin files.

One Window per skin file. Each lists the "BUTTONPOS" keys that its window reads, with the kind of control the window
creates there, its rectangle, its name, its hint and its initial checked flag, and, for the two
windows that host child pages, the "FRAM" "POSITION" rectangle. make_look.py draws the pictures
from this data and writes the skin files and the manifest; tests/tools/test_look.py checks them.

Rectangles are (x, y, width, height) in window pixels. Fixed rectangles that the program itself uses (the
status line of the main window, the line windows of the key page, the timing list of the timing
editor, the browser of the help and update pages) are honoured here and named below.
"""

from dataclasses import dataclass, field
from typing import List, Optional, Tuple

Rect = Tuple[int, int, int, int]

# Kinds of the manifest: the control a window creates for a key.
KINDS = ("button", "toggle", "label", "edit", "numedit", "list", "status", "frame-free")


@dataclass
class Key:
    key: int
    kind: str
    rect: Rect
    name: str
    hint: str
    flag: bool = False
    # How make_look.py draws a button (ignored for other kinds): push, primary, tab, close, minimise,
    # switch, dropdown, keycap, record, swap.
    face: str = "push"
    # Text drawn in the picture; None = the name. An empty text draws none (the program draws a
    # caption there itself: key buttons, set button, choice buttons).
    text: Optional[str] = None
    badge: str = ""  # small extra text of keycap faces


@dataclass
class Art:
    """One piece of static art of a window picture."""
    op: str  # title, caption, text, para, panel, separator, keyboard, traces, warning, icon
    rect: Rect = (0, 0, 0, 0)
    text: str = ""
    size: int = 11
    extra: str = ""


@dataclass
class Window:
    file: str  # skin file name inside "skins\"
    cls: str  # window class that reads the skin
    size: Tuple[int, int]
    title: str = ""
    child: bool = False
    keys: List[Key] = field(default_factory=list)
    frame: Optional[Rect] = None
    art: List[Art] = field(default_factory=list)
    radius: int = 10  # corner radius of the outline; child pages are rectangles

    @property
    def stem(self) -> str:
        name = self.file[:-4] if self.file.endswith(".ini") else self.file
        return name[5:] if name.startswith("skin_") else name

    def key(self, number: int) -> Key:
        for k in self.keys:
            if k.key == number:
                return k
        raise KeyError(number)


# ---------------------------------------------------------------------------------------------
# Fixed rectangles the program uses.
STATUS_LINE: Rect = (20, 569, 560, 19)  # (20, 569)-(580, 588)
MAIN_FRAME: Rect = (5, 194, 790, 330)  # holds pages of (0, 0)-(790, 330)
LINE_AREA: Rect = (131, 135, 373, 174)  # (131, 135)-(504, 309) of the key page
TIMING_LIST: Rect = (1, 22, 478, 327)  # (1, 22)-(479, 349) of the timing editor
MANAGER_FRAME: Rect = (228, 52, 480, 384)  # editor pages of the macro manager
EDITOR_PAGE = (MANAGER_FRAME[2], MANAGER_FRAME[3])

# Key page: the five programmable keys G1..G5 of the keyboard picture (their centre rows) and the
# five key buttons; line n joins G key n at x 131 to key button n at x 504.
G_KEY_ROWS = [170 + 26 * i for i in range(5)]  # centre y of G key n (n = 1..5)
KEY_BUTTON_TOP = [137 + 35 * i for i in range(5)]
KEY_BUTTON_HEIGHT = 30
KEY_BUTTON_ROWS = [t + KEY_BUTTON_HEIGHT // 2 for t in KEY_BUTTON_TOP]

# Recorder: the record button, whose stop pictures ("stop_*.jpg") have exactly its size.
RECORD_BUTTON: Rect = (326, 34, 142, 40)


def _close(key: int, width: int, hint: str = "Close without saving") -> Key:
    return Key(key, "button", (width - 32, 8, 24, 24), "Close", hint, face="close", text="")


def _ok_cancel(ok: int, cancel: int, width: int, y: int, ok_text: str = "OK", ok_hint: str = "Save and close",
               cancel_hint: str = "Close without saving") -> List[Key]:
    return [Key(ok, "button", (width - 188, y, 80, 28), ok_text, ok_hint, face="primary"),
            Key(cancel, "button", (width - 100, y, 80, 28), "Cancel", cancel_hint)]


def _warning(file: str, cls: str, title: str, wording: str, ok_text: str, ok_hint: str) -> Window:
    """The small three-button dialogs: "2" OK (or Yes/Delete), "3" Cancel, "4" the close cross."""
    width, height = 240, 150
    return Window(
        file, cls, (width, height), title,
        keys=[Key(2, "button", (36, 108, 78, 28), ok_text, ok_hint, face="primary"),
              Key(3, "button", (126, 108, 78, 28), "Cancel", "Close and change nothing"),
              Key(4, "button", (width - 30, 8, 22, 22), "Close", "Close and change nothing", face="close", text="")],
        art=[Art("warning", (20, 50, 200, 44), wording)])


def _main() -> Window:
    keys = [
        Key(1, "button", (20, 52, 104, 28), "Keys", "Show the programmable keys", face="tab"),
        Key(4, "button", (128, 52, 104, 28), "Update", "Check for driver and firmware updates", face="tab"),
        Key(5, "button", (236, 52, 104, 28), "Help", "Open the help and support page", face="tab"),
        Key(6, "button", (596, 148, 90, 28), "New Game", "Name this profile and choose its games from scratch"),
        Key(7, "button", (596, 114, 90, 28), "Import", "Load a profile file into the current slot"),
        Key(8, "button", (692, 114, 90, 28), "Export", "Save the current profile to a file"),
        Key(9, "button", (692, 148, 90, 28), "Edit Game", "Edit the profile name and the games that select it"),
    ]
    for i in range(5):
        keys.append(Key(10 + i, "button", (24 + 112 * i, 114, 104, 28), f"Profile {i + 1}",
                        f"Make profile {i + 1} the current profile"))
    keys += [
        Key(16, "button", (738, 10, 24, 24), "Minimise", "Minimise the window", face="minimise", text=""),
        Key(17, "button", (766, 10, 24, 24), "Close", "Close without applying", face="close", text=""),
        Key(20, "button", (592, 563, 62, 28), "OK", "Apply the changes and close", face="primary"),
        Key(21, "button", (660, 563, 62, 28), "Apply", "Save the profiles and send them to the keyboard"),
        Key(22, "button", (728, 563, 62, 28), "Cancel", "Close without applying"),
    ]
    for i in range(5):
        keys.append(Key(30 + i, "label", (24 + 112 * i, 148, 104, 20), f"Name {i + 1}",
                        f"Name of profile {i + 1}"))
    art = [
        Art("logo", (16, 12, 20, 20)),
        Art("title", (44, 11, 0, 0), "ZENTOR Tolk", 17),
        # The program writes the software version at (194, 14) and the firmware version at (294, 14).
        Art("caption", (194, 30, 0, 0), "SOFTWARE", 7),
        Art("caption", (294, 30, 0, 0), "FIRMWARE", 7),
        Art("separator", (12, 44, 776, 1)),
        Art("panel", (12, 88, 776, 98)),
        Art("caption", (24, 95, 0, 0), "PROFILE SLOTS", 8),
        Art("caption", (596, 95, 0, 0), "PROFILE FILE AND GAMES", 8),
        Art("panel", (MAIN_FRAME[0], MAIN_FRAME[1], MAIN_FRAME[2], MAIN_FRAME[3]), extra="flat"),
        Art("separator", (12, 546, 776, 1)),
        Art("caption", (20, 553, 0, 0), "STATUS", 7),
        Art("status", STATUS_LINE),
    ]
    return Window("skin_main.ini", "CConfigDlg", (800, 600), "ZENTOR Tolk", keys=keys,
                  frame=MAIN_FRAME, art=art, radius=14)


def _key_page() -> Window:
    keys = []
    for i in range(5):
        keys.append(Key(1 + i, "button", (504, KEY_BUTTON_TOP[i], 190, KEY_BUTTON_HEIGHT), f"Key G{i + 1}",
                        f"Click to assign a function to key G{i + 1}", face="keycap", text="", badge=f"G{i + 1}"))
    for i in range(5):
        keys.append(Key(10 + i, "toggle", (706, KEY_BUTTON_TOP[i] + 2, 70, 26), f"Switch G{i + 1}",
                        f"Turn key G{i + 1} on or off", face="switch", text=""))
    keys += [
        Key(20, "button", (680, 14, 96, 28), "Reset", "Restore the default profiles"),
        Key(25, "toggle", (556, 14, 116, 28), "NumLock", "Keyboard mode: on keeps NumLock on", face="switch"),
    ]
    art = [
        Art("title", (16, 12, 0, 0), "PROGRAMMABLE KEYS", 13),
        Art("text", (16, 34, 0, 0), "Point at a key to light its line. Click it to choose what it does.", 10,
            extra="dim"),
        Art("keyboard", (8, 92, 126, 212)),
        Art("traces", LINE_AREA),
        Art("caption", (504, 118, 0, 0), "ASSIGNMENT", 8),
        Art("caption", (706, 118, 0, 0), "SWITCH", 8),
        Art("caption", (160, 92, 0, 0), "G KEYS", 8),
        Art("text", (160, 108, 0, 0), "A macro, a shortcut, a timer, a media or a web function.", 9, extra="dim"),
    ]
    return Window("skin_main_control.ini", "CKeyPageDlg", (MAIN_FRAME[2], MAIN_FRAME[3]), child=True,
                  keys=keys, art=art, radius=0)


def _web_page(file: str, cls: str, heading: str, text: str, button: str, hint: str, icon: str) -> Window:
    w, h = MAIN_FRAME[2], MAIN_FRAME[3]
    return Window(file, cls, (w, h), child=True, radius=0,
                  keys=[Key(1, "button", (32, 150, 210, 36), button, hint, face="primary")],
                  art=[Art("title", (32, 36, 0, 0), heading, 16),
                       Art("para", (32, 70, 470, 60), text, 11),
                       Art("icon", (560, 60, 180, 180), extra=icon),
                       Art("text", (32, 206, 0, 0), "The page opens inside this window.", 9, extra="dim")])


def _assign_shortcut() -> Window:
    w = 360
    keys = [Key(1, "edit", (20, 76, 320, 28), "Key name", "The key you pressed last"),
            Key(2, "button", (w - 188, 186, 80, 28), "OK", "Assign this shortcut", face="primary"),
            Key(3, "button", (w - 100, 186, 80, 28), "Cancel", "Close and keep the old assignment"),
            _close(4, w, "Close and keep the old assignment")]
    names = [("Plain", "Send the key alone"), ("Shift", "Hold Shift with the key"), ("Ctrl", "Hold Ctrl with the key"),
             ("Win", "Hold the Windows key with the key"), ("Alt", "Hold Alt with the key")]
    for i, (name, hint) in enumerate(names):
        keys.append(Key(6 + i, "toggle", (20 + 65 * i, 136, 60, 28), name, hint))
    return Window("skin_assign_shortcut.ini", "CKeyAssignmentDlg", (w, 230), "Assign a Shortcut", keys=keys,
                  art=[Art("text", (20, 54, 0, 0), "Press the key you want on your keyboard.", 10),
                       Art("text", (20, 116, 0, 0), "Hold with the key", 10, extra="dim")])


def _game_profile() -> Window:
    w = 440
    keys = [Key(1, "edit", (20, 72, 270, 24), "Profile name", "Name of the profile (up to 20 characters)")]
    for i in range(3):
        keys.append(Key(2 + i, "edit", (20, 130 + 34 * i, 316, 24), f"Game {i + 1}",
                        f"Program file of game {i + 1} (full path)"))
    for i in range(3):
        keys.append(Key(5 + i, "button", (346, 128 + 34 * i, 74, 28), "Browse", f"Choose the program file of game {i + 1}"))
    # Why a name was refused, in up to two lines, above the buttons.
    keys.append(Key(13, "label", (20, 232, 400, 32), "Message", "Why the name was not taken"))
    keys += _ok_cancel(10, 11, w, 276, ok_hint="Keep the name and the games")
    keys.append(_close(12, w))
    return Window("skin_game_profile.ini", "CGameProfileDlg", (w, 322), "Game Profile", keys=keys,
                  art=[Art("text", (20, 52, 0, 0), "Profile name", 10),
                       Art("text", (20, 110, 0, 0), "Games that switch to this profile when they run", 10)])


def _select_player() -> Window:
    w = 320
    keys = _ok_cancel(4, 5, w, 132, ok_hint="Use this player") + [
        _close(6, w),
        Key(7, "button", (20, 78, 280, 28), "Player", "Click to choose the media player", face="dropdown", text=""),
    ]
    return Window("skin_select_player.ini", "CSelectPlayerDlg", (w, 178), "Media Player", keys=keys,
                  art=[Art("text", (20, 54, 0, 0), "The media keys control this player.", 10)])


def _macro_manager() -> Window:
    w, h = 724, 488
    fx, fy, fw, fh = MANAGER_FRAME
    keys = [
        Key(1, "button", (16, 74, 200, 28), "Macro set", "Choose a macro set or add or delete one",
            face="dropdown", text=""),
        Key(2, "list", (16, 134, 200, 258), "Macros", "Macros of the selected set"),
        Key(3, "button", (16, 402, 97, 28), "Add", "Add a macro to the selected set"),
        Key(4, "button", (119, 402, 97, 28), "Delete", "Delete the selected macro"),
        Key(5, "toggle", (fx, 448, 34, 28), "Switch", "Switch between the basic and the advanced editor",
            flag=True, face="swap", text=""),
        Key(6, "button", (w - 188, 448, 80, 28), "OK", "Keep the changes and close", face="primary"),
        Key(7, "button", (w - 100, 448, 80, 28), "Cancel", "Close and forget the changes"),
        _close(9, w, "Close and forget the changes"),
        Key(10, "label", (fx + 42, 448, 200, 28), "Editor", "Switch between the basic and the advanced editor"),
        Key(11, "label", (16, 448, 204, 28), "Status", "What became of the last change"),
    ]
    art = [Art("caption", (16, 56, 0, 0), "MACRO SET", 8),
           Art("caption", (16, 116, 0, 0), "MACROS", 8),
           Art("panel", (fx - 1, fy - 1, fw + 2, fh + 2), extra="flat"),
           Art("separator", (12, 440, w - 24, 1))]
    return Window("skin_macro_manager.ini", "CMacroManagerDlg", (w, h), "Macro Manager", keys=keys,
                  frame=MANAGER_FRAME, art=art)


def _create_macro_set() -> Window:
    w = 300
    keys = [Key(1, "edit", (20, 76, 260, 26), "Set name", "Name of the new macro set (up to 24 characters)")]
    keys += _ok_cancel(2, 3, w, 122, ok_hint="Create the macro set", cancel_hint="Close and create nothing")
    keys.append(_close(4, w, "Close and create nothing"))
    return Window("skin_create_macro_set.ini", "CCreateMacroSetDlg", (w, 168), "New Macro Set", keys=keys,
                  art=[Art("text", (20, 54, 0, 0), "Name of the new macro set", 10)])


def _macro_record() -> Window:
    fw, fh = EDITOR_PAGE
    keys = [
        Key(2, "list", (12, 34, 300, 338), "Events", "Right-click for delays and more"),
        Key(3, "button", RECORD_BUTTON, "Record", "Record the macro anew from the keyboard", face="record"),
        Key(4, "toggle", (326, 86, 142, 30), "Record delays", "Keep the pauses between keys while recording",
            face="check"),
    ]
    tips = ("Record replaces the whole macro. Press Stop when you are done.\n"
            "Turn on Record delays to keep the pauses between the keys.\n"
            "Right-click the list to record before or after an event and to insert edit or delete delays.")
    return Window("skin_macro_record.ini", "CMacroRecorderDlg", (fw, fh), child=True, radius=0, keys=keys,
                  art=[Art("caption", (12, 12, 0, 0), "BASIC EDIT", 9),
                       Art("text", (96, 11, 0, 0), "every key press and release with its delay", 9, extra="dim"),
                       Art("para", (326, 134, 142, 236), tips, 9, extra="dim")])


def _macro_adjust() -> Window:
    fw, fh = EDITOR_PAGE
    keys = [
        Key(10, "button", (8, 354, 100, 26), "Add Key", "Add a bar then press the key it plays"),
        Key(11, "button", (114, 354, 100, 26), "Delete", "Delete the selected bar"),
        Key(12, "button", (290, 354, 88, 26), "Zoom Out", "Show a longer time span"),
        Key(13, "button", (384, 354, 88, 26), "Zoom In", "Show a shorter time span"),
    ]
    return Window("skin_macro_adjust.ini", "CMacroAdjustDlg", (fw, fh), child=True, radius=0, keys=keys,
                  art=[Art("caption", (8, 6, 0, 0), "ADVANCED EDIT", 9),
                       Art("text", (110, 5, 0, 0), "drag the ends of a bar to change when a key goes down and up", 9,
                           extra="dim"),
                       Art("timing", TIMING_LIST)])


def _count_down() -> Window:
    w = 320
    keys = [Key(1, "edit", (20, 72, 280, 24), "Timer name", "Name of the timer (up to 25 characters)"),
            Key(2, "numedit", (20, 126, 120, 26), "Length", "Length of the countdown in seconds")]
    keys += _ok_cancel(10, 11, w, 172, ok_hint="Create the timer", cancel_hint="Close and create nothing")
    keys.append(_close(12, w, "Close and create nothing"))
    return Window("skin_count_down.ini", "CCountdownTimerDlg", (w, 216), "Create Timer", keys=keys,
                  art=[Art("text", (20, 52, 0, 0), "Timer name", 10),
                       Art("text", (20, 106, 0, 0), "Length in seconds (10 to 999)", 10)])


def _edit_timer() -> Window:
    w = 340
    keys = [
        Key(1, "edit", (20, 130, 300, 24), "Timer name", "New name of the shown timer"),
        Key(2, "numedit", (20, 184, 120, 26), "Length", "Length of the shown timer in seconds"),
        Key(3, "button", (20, 74, 300, 28), "Timer", "Click to choose the timer to edit", face="dropdown", text=""),
        Key(4, "button", (150, 184, 82, 26), "Apply", "Save the name and length of this timer"),
        Key(5, "button", (238, 184, 82, 26), "Delete", "Delete the shown timer"),
    ]
    keys += _ok_cancel(10, 11, w, 230, ok_hint="Save this timer and close", cancel_hint="Close")
    keys.append(_close(12, w, "Close"))
    return Window("skin_edit_timer.ini", "CEditTimerDlg", (w, 274), "Edit Timers", keys=keys,
                  art=[Art("text", (20, 54, 0, 0), "Timer", 10),
                       Art("text", (20, 112, 0, 0), "Name", 10),
                       Art("text", (20, 166, 0, 0), "Length in seconds", 10)])


def windows() -> List[Window]:
    """The 20 skin files, in the order of its table."""
    return [
        _main(),
        _key_page(),
        _web_page("skin_help_control.ini", "CAboutDlg", "Help and Support",
                  "Guides and answers to common questions about your ZENTOR Tolk keyboard and its software.",
                  "Open Help Page", "Open the help and support page", "help"),
        _web_page("skin_update_control.ini", "CUpdateDlg", "Driver and Firmware",
                  "Find out whether newer software or firmware exists for your keyboard. "
                  "Your current versions are sent with the request.",
                  "Check for Updates", "Check for driver and firmware updates", "update"),
        _assign_shortcut(),
        _game_profile(),
        _select_player(),
        _macro_manager(),
        _create_macro_set(),
        _warning("skin_delete_macro_set.ini", "CDeleteMacroSet", "Delete Macro Set",
                 "Delete this macro set and all of its macros?", "Delete", "Delete the macro set"),
        _warning("skin_delete_macro.ini", "CDeleteMacroWarn", "Delete Macro",
                 "Delete the selected macro? This cannot be undone.", "Delete", "Delete the macro"),
        _warning("skin_no_select_macro_delete_warn.ini", "CNoSelectMacroDelete", "No Macro Selected",
                 "Select the macro you want to delete first.", "OK", "Close this message"),
        _warning("skin_macro_name_warn.ini", "CWarnMacroName", "No Macro Selected",
                 "Select a macro first or add one with the Add button.", "OK", "Close this message"),
        _warning("skin_macro_set_warn.ini", "CWarnMacroSet", "No Macro Set",
                 "Select a macro set first or create one in the set menu.", "OK", "Close this message"),
        _warning("skin_reset_warn.ini", "CWarnDlg", "Reset Profiles",
                 "Restore the default profiles? All key assignments will be lost.", "Yes",
                 "Restore the default profiles"),
        _macro_record(),
        _macro_adjust(),
        _count_down(),
        _edit_timer(),
        _warning("skin_delete_timer.ini", "CDeleteTimerDlg", "Delete Timer",
                 "Delete the shown timer? This cannot be undone.", "Delete", "Delete the timer"),
    ]


# The "BUTTONPOS" keys each window reads ; the layouts above
# must give exactly these.
EXPECTED_KEYS = {
    "skin_main.ini": [1] + list(range(4, 15)) + [16, 17, 20, 21, 22] + list(range(30, 35)),
    "skin_main_control.ini": [1, 2, 3, 4, 5, 10, 11, 12, 13, 14, 20, 25],
    "skin_help_control.ini": [1],
    "skin_update_control.ini": [1],
    "skin_assign_shortcut.ini": [1, 2, 3, 4, 6, 7, 8, 9, 10],
    "skin_game_profile.ini": [1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13],
    "skin_select_player.ini": [4, 5, 6, 7],
    "skin_macro_manager.ini": [1, 2, 3, 4, 5, 6, 7, 9, 10, 11],
    "skin_create_macro_set.ini": [1, 2, 3, 4],
    "skin_delete_macro_set.ini": [2, 3, 4],
    "skin_delete_macro.ini": [2, 3, 4],
    "skin_no_select_macro_delete_warn.ini": [2, 3, 4],
    "skin_macro_name_warn.ini": [2, 3, 4],
    "skin_macro_set_warn.ini": [2, 3, 4],
    "skin_reset_warn.ini": [2, 3, 4],
    "skin_macro_record.ini": [2, 3, 4],
    "skin_macro_adjust.ini": [10, 11, 12, 13],
    "skin_count_down.ini": [1, 2, 10, 11, 12],
    "skin_edit_timer.ini": [1, 2, 3, 4, 5, 10, 11, 12],
    "skin_delete_timer.ini": [2, 3, 4],
}


def check(wins: List[Window]) -> List[str]:
    """Consistency problems of the layout (empty when all is well)."""
    problems = []
    files = [w.file for w in wins]
    if sorted(files) != sorted(EXPECTED_KEYS):
        problems.append(f"skin files differ from the program's list: {sorted(set(files) ^ set(EXPECTED_KEYS))}")
    for w in wins:
        got = sorted(k.key for k in w.keys)
        if got != sorted(EXPECTED_KEYS.get(w.file, [])):
            problems.append(f"{w.file}: keys {got} instead of {EXPECTED_KEYS.get(w.file)}")
        width, height = w.size
        for k in w.keys:
            x, y, kw, kh = k.rect
            if k.kind not in KINDS:
                problems.append(f"{w.file} {k.key}: unknown kind {k.kind}")
            if x < 0 or y < 0 or kw <= 0 or kh <= 0 or x + kw > width or y + kh > height:
                problems.append(f"{w.file} {k.key}: rectangle {k.rect} outside {w.size}")
            for text in (k.name, k.hint):
                if "," in text or "TRUE" in text or "\n" in text:
                    problems.append(f"{w.file} {k.key}: {text!r} has a comma, TRUE or a line break")
        for a in w.keys:
            for b in w.keys:
                if a.key < b.key and _overlap(a.rect, b.rect):
                    problems.append(f"{w.file}: keys {a.key} and {b.key} overlap")
        if w.frame is not None:
            for k in w.keys:
                if _overlap(k.rect, w.frame):
                    problems.append(f"{w.file}: key {k.key} overlaps the page frame")
    return problems


def _overlap(a: Rect, b: Rect) -> bool:
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


def find(wins: List[Window], file: str) -> Window:
    for w in wins:
        if w.file == file:
            return w
    raise KeyError(file)
