#!/usr/bin/env python3
"""Checks the look generators of tools/: runs them into a temporary folder and reads back what a
program folder gets (skins, Wav) and what the build compiles in (icons, row bitmaps, TolkLook.rc).

    python3 tests/tools/test_look.py        (needs Pillow, like the generators)
"""

import configparser
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import wave

from PIL import Image, ImageChops, ImageStat

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
TOOLS = os.path.join(ROOT, "tools")

# The "BUTTONPOS" keys each window reads. Kept here on its own, apart from tools/skin_layout.py, so that the two are checked
# against each other.
KEYS = {
    "skin_main.ini": [1, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 20, 21, 22, 30, 31, 32, 33, 34],
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
WARNINGS = ["skin_delete_macro_set.ini", "skin_delete_macro.ini", "skin_no_select_macro_delete_warn.ini",
            "skin_macro_name_warn.ini", "skin_macro_set_warn.ini", "skin_reset_warn.ini", "skin_delete_timer.ini"]
CHILD_PAGES = {"skin_main_control.ini": "skin_main.ini", "skin_help_control.ini": "skin_main.ini",
               "skin_update_control.ini": "skin_main.ini", "skin_macro_record.ini": "skin_macro_manager.ini",
               "skin_macro_adjust.ini": "skin_macro_manager.ini"}
# Buttons that start checked (flag TRUE): the macro manager's editor switch starts pressed.
CHECKED = {("skin_macro_manager.ini", 5)}
KINDS = {"button", "toggle", "label", "edit", "numedit", "list", "status", "frame-free"}
WHITE = (255, 255, 255)


def load(path, mode="RGB"):
    with Image.open(path) as im:
        return im.convert(mode)


def read_ini(path):
    parser = configparser.ConfigParser(interpolation=None, strict=True)
    parser.optionxform = str
    with open(path, "rb") as f:
        data = f.read()
    parser.read_string(data.decode("ascii"))
    return parser, data


def parse_button_pos(value):
    """(name, x, y, width, height, hint, flag)as the program reads it; fields must all be there."""
    fields = value.split(",")
    if len(fields) != 7:
        raise ValueError(f"{value!r} has {len(fields)} fields")
    name, x, y, w, h, hint, flag = fields
    return name, int(x), int(y), int(w), int(h), hint.lstrip(" "), "TRUE" in value.split(",", 1)[1]


class LookTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="tolk_look_")
        cls.dist = os.path.join(cls.tmp, "dist")
        cls.manifest = os.path.join(cls.tmp, "tools", "skin_manifest.ini")
        cls.res = os.path.join(cls.tmp, "generated", "resources")
        run = [
            [sys.executable, os.path.join(TOOLS, "make_look.py"), cls.dist, "--manifest", cls.manifest],
            [sys.executable, os.path.join(TOOLS, "make_sounds.py"), os.path.join(cls.dist, "Wav")],
            [sys.executable, os.path.join(TOOLS, "make_resources.py"), cls.res],
        ]
        for cmd in run:
            subprocess.run(cmd, check=True)
        cls.skins = os.path.join(cls.dist, "skins")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp, ignore_errors=True)

    # -- helpers ------------------------------------------------------------------------------
    def skin(self, file):
        parser, data = read_ini(os.path.join(self.skins, file))
        return parser, data

    def pictures(self, file):
        parser, _ = self.skin(file)
        return {k: load(os.path.join(self.skins, parser["Screen"][k]))
                for k in ("Mask", "Main", "Over", "Down", "Disabled")}

    def buttons(self, file):
        parser, _ = self.skin(file)
        return {int(k): parse_button_pos(v) for k, v in parser["BUTTONPOS"].items()}

    # -- pictures for 150 % and 200 % -----------------------------------------------------------
    def test_every_picture_is_drawn_for_150_and_200_percent_at_the_scaled_size(self):
        # The program scales a size as the far edge of a rectangle at (0, 0): half up (skin/DpiScale.h).
        def scale(v, percent):
            return (v * percent + 50) // 100
        fixed = ["key_line.bmp"] + [f"key{n}_line_mask.bmp" for n in range(1, 6)] + \
            [f"stop_{s}.jpg" for s in ("normal", "down", "over", "disable")] + ["timinglist.JPG", "timinglist_mask.BMP"]
        sys.dont_write_bytecode = True  # leave no __pycache__ in tools/
        sys.path.insert(0, TOOLS)
        import skin_layout
        placed_at = {"key": skin_layout.LINE_AREA, "stop_": skin_layout.RECORD_BUTTON,
                     "timinglist": skin_layout.TIMING_LIST}
        names = [n for file in KEYS for n in dict(self.skin(file)[0]["Screen"]).values()] + fixed
        for percent in (150, 200):
            for name in names:
                with self.subTest(percent=percent, name=name):
                    base = load(os.path.join(self.skins, name))
                    drawn = load(os.path.join(self.skins, str(percent), name))
                    # A picture placed at a fixed rectangle has the size of the rectangle's scaled edges.
                    placed = next((r for prefix, r in placed_at.items() if name.startswith(prefix)), None)
                    if placed is None:
                        placed = (0, 0) + base.size
                    x, y, w, h = placed
                    self.assertEqual(base.size, (w, h))
                    self.assertEqual(drawn.size, (scale(x + w, percent) - scale(x, percent),
                                                  scale(y + h, percent) - scale(y, percent)))
                    if name.lower().endswith("mask.bmp"):
                        colours = {c for _, c in drawn.getcolors(1 << 22)}
                        self.assertLessEqual(colours, {WHITE, (0, 0, 0)})
                    else:
                        # Drawn at the size, not a resize of the 100 % picture: sharper than one.
                        resized = base.resize(drawn.size, Image.BILINEAR)
                        self.assertGreater(ImageStat.Stat(ImageChops.difference(drawn, resized)).mean[0], 0.3)
        # At 200 % a window is exactly twice its 100 % size, and its outline twice its 100 % outline.
        for file in KEYS:
            with self.subTest(file=file, outline=200):
                mask = self.pictures(file)["Mask"]
                name = self.skin(file)[0]["Screen"]["Mask"]
                big = load(os.path.join(self.skins, "200", name))
                self.assertEqual(big.size, (mask.size[0] * 2, mask.size[1] * 2))
                # Corners: outside at 100 % means outside at 200 %, for the corner pixel.
                self.assertEqual(mask.getpixel((0, 0)) == WHITE, big.getpixel((0, 0)) == WHITE)

    def test_list_names_every_file_written(self):
        out = subprocess.run([sys.executable, os.path.join(TOOLS, "make_look.py"), self.dist, "--list"],
                             check=True, capture_output=True, text=True).stdout.strip().split(";")
        written = sorted(os.path.relpath(os.path.join(d, f), self.dist).replace(os.sep, "/")
                         for d, _, files in os.walk(self.skins) for f in files)
        self.assertEqual(sorted(out), written)

    # -- skin files ---------------------------------------------------------------------------
    def test_every_skin_file_has_the_keys_of_its_window(self):
        for file, keys in KEYS.items():
            with self.subTest(file=file):
                parser, data = self.skin(file)
                self.assertNotIn(b"\n", data.replace(b"\r\n", b""), "CRLF line endings only")
                self.assertEqual(sorted(int(k) for k in parser["BUTTONPOS"]), keys)
                self.assertEqual(parser.has_section("FRAM"), file in ("skin_main.ini", "skin_macro_manager.ini"))

    def test_entries_parse_and_lie_inside_the_picture(self):
        for file in KEYS:
            pics = self.pictures(file)
            width, height = pics["Main"].size
            for key, (name, x, y, w, h, hint, flag) in self.buttons(file).items():
                with self.subTest(file=file, key=key):
                    self.assertTrue(name)
                    self.assertTrue(hint)
                    self.assertTrue(w > 0 and h > 0 and x >= 0 and y >= 0 and x + w <= width and y + h <= height,
                                    f"{(x, y, w, h)} outside {width}x{height}")
                    self.assertEqual(flag, (file, key) in CHECKED)

    def test_frames_hold_the_pages(self):
        for page, host in CHILD_PAGES.items():
            with self.subTest(page=page):
                parser, _ = self.skin(host)
                _, x, y, w, h, _, _ = parse_button_pos(parser["FRAM"]["POSITION"])
                self.assertEqual(self.pictures(page)["Main"].size, (w, h))
                host_size = self.pictures(host)["Main"].size
                self.assertTrue(x >= 0 and y >= 0 and x + w <= host_size[0] and y + h <= host_size[1])
        # The help and update pages hold a browser at (0, 0)-(790, 330).
        self.assertEqual(self.pictures("skin_help_control.ini")["Main"].size, (790, 330))

    def test_pictures_of_a_window_have_one_size(self):
        for file in KEYS:
            with self.subTest(file=file):
                sizes = {k: im.size for k, im in self.pictures(file).items()}
                self.assertEqual(len(set(sizes.values())), 1, sizes)

    def test_masks_are_white_outside_and_never_white_inside(self):
        for file in KEYS:
            with self.subTest(file=file):
                pics = self.pictures(file)
                mask = pics["Mask"]
                colours = {c for _, c in mask.getcolors(1 << 20)}
                self.assertLessEqual(colours, {WHITE, (0, 0, 0)})
                w, h = mask.size
                if file in CHILD_PAGES:
                    self.assertNotIn(WHITE, colours, "child pages are whole rectangles")
                else:
                    self.assertEqual(mask.getpixel((0, 0)), WHITE, "outline has rounded corners")
                    self.assertEqual(mask.getpixel((w - 1, h - 1)), WHITE)
                self.assertNotEqual(mask.getpixel((w // 2, h // 2)), WHITE)
                for key, (_, x, y, bw, bh, _, _) in self.buttons(file).items():
                    self.assertNotEqual(mask.getpixel((x + bw // 2, y + bh // 2)), WHITE, f"key {key}")

    def test_button_states_look_different(self):
        for file in KEYS:
            pics = self.pictures(file)
            parser, _ = self.skin(file)
            manifest = self.manifest_ini()[file]
            for key, (_, x, y, w, h, _, _) in self.buttons(file).items():
                if manifest[str(key)] not in ("button", "toggle"):
                    continue
                box = (x, y, x + w, y + h)
                main = pics["Main"].crop(box)
                for state in ("Over", "Down", "Disabled"):
                    with self.subTest(file=file, key=key, state=state):
                        diff = ImageStat.Stat(ImageChops.difference(main, pics[state].crop(box))).mean
                        self.assertGreater(sum(diff), 4, "state hardly differs from the normal look")

    def test_main_window(self):
        pics = self.pictures("skin_main.ini")
        self.assertEqual(pics["Main"].size, (800, 600))
        # The status line (20, 569)-(580, 588) is a dark strip.
        strip = ImageStat.Stat(pics["Main"].crop((20, 569, 580, 588))).mean
        self.assertLess(max(strip), 12)
        # The title is drawn: bright pixels in the title bar.
        self.assertGreater(pics["Main"].crop((40, 8, 180, 34)).convert("L").getextrema()[1], 200)

    def test_warning_dialogs_carry_their_wording(self):
        for file in WARNINGS:
            with self.subTest(file=file):
                main = self.pictures(file)["Main"]
                self.assertLessEqual(main.size[0], 260)
                text = main.crop((20, 50, 220, 94)).convert("L")
                bright = sum(1 for v in text.getdata() if v > 180)
                self.assertGreater(bright, 150, "no wording in (20, 50)-(220, 94)")
                # Nothing drawn outside the text area on the same band (the wording fits).
                self.assertLess(max(main.crop((2, 50, 16, 94)).convert("L").getdata()), 120)

    # -- fixed pictures -----------------------------------------------------------------------
    def test_key_lines(self):
        line = load(os.path.join(self.skins, "key_line.bmp"))
        self.assertEqual(line.size, (373, 174))  # (131, 135)-(504, 309) of the key page
        regions = []
        for n in range(1, 6):
            mask = load(os.path.join(self.skins, f"key{n}_line_mask.bmp"))
            self.assertEqual(mask.size, line.size)
            inside = [i for i, c in enumerate(mask.getdata()) if c != WHITE]
            self.assertTrue(inside, f"mask {n} is empty")
            xs = {i % 373 for i in inside}
            self.assertIn(0, xs, f"line {n} does not start at the keyboard")
            self.assertIn(372, xs, f"line {n} does not reach its key button")
            rows = {i // 373 for i in inside if i % 373 == 372}
            buttons = self.buttons("skin_main_control.ini")
            _, bx, by, bw, bh, _, _ = buttons[n]
            self.assertEqual(bx, 504)
            self.assertTrue(any(by - 135 <= r < by + bh - 135 for r in rows), f"line {n} misses key button {n}")
            regions.append(set(inside))
        for a in range(5):
            for b in range(a + 1, 5):
                self.assertLess(len(regions[a] & regions[b]), len(regions[a]) // 2)

    def test_stop_and_timing_list_pictures(self):
        _, x, y, w, h, _, _ = self.buttons("skin_macro_record.ini")[3]
        stops = [load(os.path.join(self.skins, f"stop_{s}.jpg"))
                 for s in ("normal", "down", "over", "disable")]
        for im in stops:
            self.assertEqual(im.size, (w, h))
        self.assertEqual(len({im.tobytes() for im in stops}), 4)
        pic = load(os.path.join(self.skins, "timinglist.JPG"))
        mask = load(os.path.join(self.skins, "timinglist_mask.BMP"))
        self.assertEqual(pic.size, (478, 327))  # (1, 22)-(479, 349) of the timing editor
        self.assertEqual(mask.size, pic.size)
        self.assertEqual(mask.getpixel((0, 0)), WHITE)
        self.assertNotEqual(mask.getpixel((239, 163)), WHITE)
        # Names as the programs build them, letter case included.
        self.assertEqual(sorted(n for n in os.listdir(self.skins) if n.startswith(("timing", "stop_", "key"))),
                         sorted(["timinglist.JPG", "timinglist_mask.BMP", "key_line.bmp", "stop_normal.jpg",
                                 "stop_down.jpg", "stop_over.jpg", "stop_disable.jpg"]
                                + [f"key{n}_line_mask.bmp" for n in range(1, 6)]))

    # -- manifest -----------------------------------------------------------------------------
    def manifest_ini(self):
        parser, _ = read_ini(self.manifest)
        return parser

    def test_manifest_names_a_kind_for_every_key(self):
        m = self.manifest_ini()
        self.assertEqual(sorted(m.sections()), sorted(KEYS))
        self.assertFalse(os.path.exists(os.path.join(self.dist, "skin_manifest.ini")))
        self.assertFalse(os.path.exists(os.path.join(self.skins, "skin_manifest.ini")))
        for file, keys in KEYS.items():
            with self.subTest(file=file):
                section = m[file]
                self.assertTrue(section["Window"].startswith("C"))
                self.assertEqual(section.get("Child") == "1", file in CHILD_PAGES)
                numbered = sorted(int(k) for k in section if k.isdigit())
                self.assertEqual(numbered, keys)
                for k in keys:
                    self.assertIn(section[str(k)], KINDS)
        self.assertEqual(m["skin_main.ini"]["30"], "label")
        self.assertEqual(m["skin_macro_manager.ini"]["2"], "list")
        self.assertEqual(m["skin_macro_manager.ini"]["5"], "toggle")

    # -- sounds -------------------------------------------------------------------------------
    def test_sounds(self):
        wav = os.path.join(self.dist, "Wav")
        contents = []
        for name, low, high in (("Countdown_Activated.wav", 0.2, 2.0), ("Countdown_stopped.wav", 0.2, 2.0),
                                ("Countdown.wav", 9.8, 10.2)):
            with self.subTest(name=name):
                with wave.open(os.path.join(wav, name)) as w:
                    self.assertEqual((w.getnchannels(), w.getsampwidth(), w.getframerate(), w.getcomptype()),
                                     (1, 2, 22050, "NONE"))
                    frames = w.readframes(w.getnframes())
                    seconds = w.getnframes() / w.getframerate()
                self.assertTrue(low <= seconds <= high, f"{seconds} s")
                samples = struct.unpack(f"<{len(frames) // 2}h", frames)
                self.assertGreater(max(map(abs, samples)), 8000, "audible")
                self.assertLess(max(abs(v) for v in samples[:3] + samples[-3:]), 200, "starts and ends at silence")
                contents.append(frames)
        self.assertEqual(len(set(contents)), 3)

    # -- compiled-in resources ----------------------------------------------------------------
    def test_row_bitmaps_and_icons(self):
        # Each row picture also drawn for 150 % and 200 %, at its size scaled and rounded half up.
        for stem, size in (("row_pause", (15, 15)), ("row_key_press", (11, 14)),
                           ("row_key_release", (11, 14)), ("row_mouse", (16, 18))):
            for percent, suffix in ((100, ""), (150, "_150"), (200, "_200")):
                name = stem + suffix + ".bmp"
                with self.subTest(name=name):
                    with open(os.path.join(self.res, name), "rb") as f:
                        head = f.read(30)
                    self.assertEqual(head[:2], b"BM")
                    self.assertEqual(struct.unpack("<ii", head[18:26]),
                                     tuple((v * percent * 2 + 100) // 200 for v in size))
                    self.assertEqual(struct.unpack("<H", head[28:30])[0], 24)
        for name, sizes in (("program.ico", [16, 20, 24, 32, 40, 48, 64]), ("submenu_arrow.ico", [16, 32, 48, 64])):
            with self.subTest(name=name):
                with open(os.path.join(self.res, name), "rb") as f:
                    data = f.read()
                reserved, kind, count = struct.unpack("<HHH", data[:6])
                self.assertEqual((reserved, kind), (0, 1))
                got = [data[6 + 16 * i] for i in range(count)]
                self.assertEqual(sorted(got), sizes)
        with open(os.path.join(ROOT, "resources", "ResourceIds.h")) as f:
            ids = f.read()
        for define in ("IDI_PROGRAM 128", "IDI_SUBMENU_ARROW 145"):
            self.assertIn(define, ids)

    def test_resource_script_compiles(self):
        rc = os.path.join(self.res, "TolkLook.rc")
        with open(rc) as f:
            text = f.read()
        for name in ("IDI_PROGRAM", "IDI_SUBMENU_ARROW", "IDB_ROW_PAUSE", "IDB_ROW_KEY_PRESS", "IDB_ROW_KEY_RELEASE",
                     "IDB_ROW_MOUSE"):
            self.assertIn(name, text)
        windres = shutil.which("i686-w64-mingw32-windres")
        if not windres:
            self.skipTest("i686-w64-mingw32-windres not installed")
        out = os.path.join(self.tmp, "TolkLook.o")
        subprocess.run([windres, "-I", os.path.join(ROOT, "resources"), rc, "-O", "coff", "-o", out], check=True)
        self.assertGreater(os.path.getsize(out), 1000)


if __name__ == "__main__":
    unittest.main(verbosity=1)
