#!/usr/bin/env python3
"""Generates the look of TolkCfg: every skin file with its five pictures, and the fixed pictures.

    make_look.py OUTDIR [--manifest FILE]

writes OUTDIR/skins/:
  - the 20 skin files (CRLF INI: "Screen" pictures, "BUTTONPOS" entries
    name,x,y,width,height,hint,flag and, for the main window and the macro manager, "FRAM" "POSITION");
  - per window <stem>_mask.bmp (pure white outside the outline, never white inside) and
    <stem>_normal.jpg, <stem>_over.jpg, <stem>_down.jpg, <stem>_disabled.jpg, all of one size;
  - the fixed pictures: key_line.bmp and key1_line_mask.bmp .. key5_line_mask.bmp,
    stop_normal.jpg, stop_down.jpg, stop_over.jpg, stop_disable.jpg,
    timinglist.JPG and timinglist_mask.BMP;
  - the same pictures and masks drawn for 150 % and 200 % display scaling (drawn at that size, not
    resized) under the same names in OUTDIR/skins/150/ and OUTDIR/skins/200/. The skin files keep
    the 100 % positions, which the program scales (skin/DpiScale.h); the 100 % pictures are where
    and what they always were.
and the manifest (default OUTDIR/../skin_manifest.ini): one section per skin file with Window=<class>,
Child=1 for child pages and <key>=<kind> per "BUTTONPOS" key (FRAM=frame-free for the page area).

Python 3 with Pillow and the DejaVu fonts (Debian: python3-pil, fonts-dejavu-core).
"""

import argparse
import os
import time
import sys

sys.dont_write_bytecode = True  # the build runs this from the source tree: leave no __pycache__ there
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from PIL import Image, ImageDraw  # noqa: E402

import look_draw  # noqa: E402
import skin_layout as L  # noqa: E402
from look_draw import (ACCENT, ACCENT_LIGHT, BG_BOTTOM, BG_TOP, BORDER, LABEL_BACK, LINE, OUTSIDE,  # noqa: E402
                       PANEL, TEXT, TEXT_CAPTION, TEXT_DIM, TITLE_BAND, Picture, fit_paragraph, s, scaled_rect, scaled_size)
from look_faces import STATES, draw_face, face_record, field_frame  # noqa: E402

JPEG_OPTIONS = dict(quality=95, subsampling=0, optimize=True)
STATE_KEYS = (("Main", "normal"), ("Over", "over"), ("Down", "down"), ("Disabled", "disabled"))
STATE_SUFFIX = {"normal": "normal", "over": "over", "down": "down", "disabled": "disabled"}
PAGE_BACK = (22, 25, 29)  # background of the child pages and of the frames that hold them
# Display scalings the pictures are drawn for; 100 % in skins/ itself, the others in skins/<percent>/.
PERCENTS = (100, 150, 200)


def percent_folder(percent):
    return "" if percent == 100 else f"{percent}/"


# ---------------------------------------------------------------------------------------------
# Static art


def draw_body(p: Picture, win: L.Window):
    w, h = win.size
    if win.child:
        p.rrect((0, 0, w, h), 0, fill=PAGE_BACK)
        return
    r = win.radius
    p.gradient((0, 0, w, h), r, BG_TOP, BG_BOTTOM)
    if win.title:
        band = 44 if win.file == "skin_main.ini" else 38
        p.im.paste(Image.new("RGB", (s(w), s(band)), TITLE_BAND),
                   (0, 0), _rounded_top_mask(s(w), s(band), s(r)))
        p.rrect((1, band, w - 2, 1), 0, fill=LINE)
    # Outline: a light rim with a touch of accent along the top.
    p.rrect((0, 0, w, h), r, outline=(70, 78, 90), width=1)
    p.d.line([(s(r + 8), s(0.5)), (s(w - r - 8), s(0.5))], fill=ACCENT + (120,), width=1)
    if win.title and win.file != "skin_main.ini":
        icon = _title_icon(win)
        p.rrect((14, 10, 18, 18), 4, fill=(30, 60, 82), outline=ACCENT)
        p.centred((14, 10, 18, 18), icon, 10, ACCENT_LIGHT, bold=True)
        p.text(40, 19, win.title, 12.5, (236, 240, 244), bold=True, anchor="lm")


def _title_icon(win):
    if win.file in ("skin_reset_warn.ini", "skin_delete_macro.ini", "skin_delete_macro_set.ini",
                    "skin_delete_timer.ini"):
        return "?"
    if win.file.endswith("warn.ini"):
        return "!"
    return "T" if "timer" in win.file or "count" in win.file else "Z"


def _rounded_top_mask(w, h, r):
    m = Image.new("L", (w, h), 0)
    ImageDraw.Draw(m).rounded_rectangle([0, 0, w - 1, h + r * 2], r, fill=255)
    return m


def draw_art(p: Picture, win: L.Window):
    for a in win.art:
        x, y, w, h = a.rect
        if a.op == "title":
            p.text(x, y, a.text, a.size, (240, 244, 248), bold=True)
        elif a.op == "caption":
            p.text(x, y, a.text, a.size, TEXT_CAPTION, bold=True, spacing=1.0)
        elif a.op == "text":
            p.text(x, y, a.text, a.size, TEXT_DIM if a.extra == "dim" else TEXT)
        elif a.op == "para":
            p.paragraph(a.rect, a.text, a.size, TEXT_DIM if a.extra == "dim" else (196, 202, 210), para_gap=6)
        elif a.op == "panel":
            if a.extra == "flat":
                p.rrect(a.rect, 0, fill=PAGE_BACK, outline=LINE)
            else:
                p.gradient(a.rect, 8, (30, 34, 40), PANEL, outline=LINE)
        elif a.op == "separator":
            p.rrect(a.rect, 0, fill=LINE)
        elif a.op == "status":
            field_frame(p, a.rect, fill=LABEL_BACK, edge=(48, 54, 63))
        elif a.op == "logo":
            draw_logo(p, a.rect)
        elif a.op == "keyboard":
            draw_keyboard(p, a.rect)
        elif a.op == "traces":
            draw_traces(p, bright=False)
        elif a.op == "timing":
            field_frame(p, a.rect, edge=(48, 54, 63))
            draw_timing_list(p, a.rect[0], a.rect[1])
        elif a.op == "icon":
            draw_big_icon(p, a.rect, a.extra)
        elif a.op == "warning":
            size, lines = fit_paragraph(p, a.rect, a.text)
            total = len(lines) * size * 1.3
            yy = y + (h - total) / 2
            for ln in lines:
                p.text(x + w / 2, yy, ln, size, (236, 240, 244), anchor="ma")
                yy += size * 1.3
        else:
            raise ValueError(a.op)


def draw_fields(p: Picture, win: L.Window):
    """Wells behind the controls that draw themselves: edits, lists and labels."""
    for k in win.keys:
        if k.kind in ("edit", "numedit", "list"):
            field_frame(p, k.rect)
            if k.kind == "numedit":
                # Up and down marks at the right end, under the spin control's own buttons.
                x, y, w, h = k.rect
                p.rrect((x + w - 18, y, 1, h), 0, fill=BORDER)
                cx = x + w - 9
                p.polygon([(cx - 4, y + h / 2 - 3), (cx + 4, y + h / 2 - 3), (cx, y + 4)], (150, 158, 168))
                p.polygon([(cx - 4, y + h / 2 + 3), (cx + 4, y + h / 2 + 3), (cx, y + h - 4)], (150, 158, 168))
        elif k.kind == "label":
            field_frame(p, k.rect, fill=LABEL_BACK, edge=(44, 50, 58))


def draw_logo(p: Picture, rect):
    x, y, w, h = rect
    p.rrect(rect, 5, fill=(24, 70, 100), outline=ACCENT)
    p.line([(x + 5, y + 5.5), (x + w - 5, y + 5.5), (x + 5, y + h - 5.5), (x + w - 5, y + h - 5.5)], ACCENT_LIGHT, 2)


def draw_big_icon(p: Picture, rect, kind):
    x, y, w, h = rect
    cx, cy, r = x + w / 2, y + h / 2, min(w, h) / 2 - 4
    for i in range(6):
        p.circle(cx, cy, r + 4 - i, outline=ACCENT + (12 + 8 * i,), width=1)
    p.circle(cx, cy, r - 2, fill=(24, 34, 44), outline=ACCENT, width=2)
    if kind == "help":
        p.text(cx, cy + 2, "?", r * 1.1, ACCENT_LIGHT, bold=True, anchor="mm")
    else:
        # A download arrow into a tray.
        p.line([(cx, cy - r * 0.5), (cx, cy + r * 0.2)], ACCENT_LIGHT, 6)
        p.polygon([(cx - r * 0.3, cy + r * 0.05), (cx + r * 0.3, cy + r * 0.05), (cx, cy + r * 0.4)], ACCENT_LIGHT)
        p.line([(cx - r * 0.5, cy + r * 0.3), (cx - r * 0.5, cy + r * 0.55), (cx + r * 0.5, cy + r * 0.55),
                (cx + r * 0.5, cy + r * 0.3)], ACCENT_LIGHT, 5)


# -- key page: keyboard and lines ---------------------------------------------------------------

NUMPAD = [["Num", "/", "*"], ["7", "8", "9"], ["4", "5", "6"], ["1", "2", "3"], ["0", "", "."]]
G_KEY_X = (98, 30)  # x and width of the G keys
LINE_START_X = L.LINE_AREA[0]
LINE_END_X = L.LINE_AREA[0] + L.LINE_AREA[2]


def _keycap(p, rect, legend, g=False):
    x, y, w, h = rect
    p.rrect((x, y + 1, w, h), 4, fill=(10, 11, 13))  # shadow
    if g:
        p.gradient((x, y, w, h - 1), 4, (40, 70, 92), (28, 48, 64), outline=ACCENT)
        p.centred((x, y, w, h - 2), legend, 8.5, ACCENT_LIGHT, bold=True)
    else:
        p.gradient((x, y, w, h - 1), 4, (56, 62, 72), (42, 46, 54), outline=(24, 26, 30))
        p.rrect((x + 3, y + 2, w - 6, h - 7), 3, fill=(255, 255, 255, 10))
        p.centred((x, y, w, h - 2), legend, 7.5, (176, 182, 192))


def draw_keyboard(p: Picture, rect):
    """The right end of the keyboard: LEDs, the numeric pad and the five programmable keys G1-G5."""
    x, y, w, h = rect
    p.rrect((x + 2, y + 4, w, h), 12, fill=(6, 7, 8))  # drop shadow
    p.gradient(rect, 12, (44, 49, 57), (26, 29, 34), outline=(74, 82, 94))
    p.rrect((x + 6, y + 6, w - 12, 40), 7, fill=(20, 22, 26), outline=(52, 58, 67))
    for i, (led, on) in enumerate((("1", True), ("A", False), ("S", False))):
        cx = x + 22 + 24 * i
        p.circle(cx, y + 20, 3.5, fill=ACCENT_LIGHT if on else (52, 58, 66))
        if on:
            p.circle(cx, y + 20, 6, outline=ACCENT + (110,), width=1)
        p.text(cx, y + 34, led, 7, TEXT_DIM, bold=True, anchor="mm")
    p.text(x + 100, y + 26, "ZENTOR", 6.5, TEXT_DIM, bold=True, anchor="mm")
    for r, row in enumerate(NUMPAD):
        ky = L.G_KEY_ROWS[r] - 12
        col = 0
        while col < 3:
            legend = row[col]
            if r == 4 and col == 0:
                _keycap(p, (x + 8, ky, 46, 24), legend)
                col += 2
                continue
            _keycap(p, (x + 8 + 24 * col, ky, 22, 24), legend)
            col += 1
        _keycap(p, (G_KEY_X[0], ky, G_KEY_X[1], 24), f"G{r + 1}", g=True)


def trace_points(n):
    """Polyline of line n (1..5) in key page pixels: from G key n to key button n."""
    ya, yb = L.G_KEY_ROWS[n - 1], L.KEY_BUTTON_ROWS[n - 1]
    d = yb - ya
    x1 = 196 + 20 * abs(n - 3)
    return [(LINE_START_X - 3, ya), (x1, ya), (x1 + abs(d) * 1.6, yb), (LINE_END_X, yb)]


def draw_traces(p: Picture, bright: bool, only=None):
    for n in range(1, 6):
        if only is not None and n != only:
            continue
        pts = trace_points(n)
        if bright:
            for width, alpha in ((9, 26), (7, 46), (5, 90)):
                p.line(pts, ACCENT + (alpha,), width)
            p.line(pts, ACCENT, 2.6)
            p.line(pts, ACCENT_LIGHT, 1.0)
            p.circle(pts[0][0] + 6, pts[0][1], 3.5, fill=ACCENT_LIGHT, outline=ACCENT, width=1)
            p.circle(pts[-1][0] - 5, pts[-1][1], 3.5, fill=ACCENT_LIGHT, outline=ACCENT, width=1)
        else:
            p.line(pts, (46, 54, 64), 2)
            p.circle(pts[0][0] + 6, pts[0][1], 3, fill=(58, 68, 80))
            p.circle(pts[-1][0] - 5, pts[-1][1], 3, fill=(58, 68, 80))


def line_mask(n) -> Image.Image:
    """Mask of line window n: white everywhere except line n and its glow."""
    left, top, right, bottom = scaled_rect(L.LINE_AREA)
    f = look_draw.FACTOR
    m = Image.new("RGB", (right - left, bottom - top), (255, 255, 255))
    d = ImageDraw.Draw(m)
    pts = [(px * f - left, py * f - top) for px, py in trace_points(n)]
    if f == 1:
        pts = [(px - L.LINE_AREA[0], py - L.LINE_AREA[1]) for px, py in trace_points(n)]
    d.line(pts, fill=(0, 0, 0), width=int(round(9 * f)), joint="curve")
    for px, py in (pts[0], pts[-1]):
        d.ellipse([px - 5 * f, py - 5 * f, px + 5 * f, py + 5 * f], fill=(0, 0, 0))
    for px, py in pts[1:-1]:
        d.ellipse([px - 4 * f, py - 4 * f, px + 4 * f, py + 4 * f], fill=(0, 0, 0))
    return m


# -- timing list --------------------------------------------------------------------------------

TIMING_ROWS = 19


def draw_timing_list(p: Picture, ox, oy):
    """The background of the timing list with its top-left corner at (ox, oy)."""
    w, h = L.TIMING_LIST[2], L.TIMING_LIST[3]

    def R(x, y, rw, rh):
        return (ox + x, oy + y, rw, rh)

    p.rrect(R(0, 0, w, h), 0, fill=(14, 16, 19))
    # Time scale strip (65, 2)-(452, 22); the program writes the numbers at x = 65 + 64k, y = 6.
    p.rrect(R(62, 2, 393, 20), 0, fill=(6, 7, 9))
    for k in range(25):
        tx = 72 + 380 * k / 24
        tall = k % 4 == 0
        p.rrect(R(tx, 22 - (6 if tall else 3), 1, 6 if tall else 3), 0, fill=ACCENT if tall else (60, 92, 116))
    p.text(ox + 8, oy + 12, "KEY", 7.5, TEXT_CAPTION, bold=True, anchor="lm")
    p.text(ox + 470, oy + 12, "ms", 7.5, TEXT_CAPTION, bold=True, anchor="rm")
    p.rrect(R(2, 24, 450, 1), 0, fill=(34, 40, 48))
    for k in range(TIMING_ROWS):
        ry = 32 + 14 * k
        p.rrect(R(2, ry, 59, 13), 0, fill=(0, 0, 0))
        p.rrect(R(72, ry, 380, 13), 0, fill=(25, 42, 52))
        for g in range(1, 6):
            p.rrect(R(72 + 380 * g / 6, ry, 1, 13), 0, fill=(31, 52, 64))
    p.rrect(R(64, 30, 1, 14 * TIMING_ROWS), 0, fill=(34, 40, 48))
    # Scroll bar tracks: vertical (455, 25)-(474, 306), horizontal (66, 307)-(456, 327).
    p.rrect(R(455, 25, 19, 281), 3, fill=(22, 25, 30), outline=(40, 45, 53))
    p.rrect(R(66, 307, 390, 20), 3, fill=(22, 25, 30), outline=(40, 45, 53))


def timing_list_pictures():
    w, h = L.TIMING_LIST[2], L.TIMING_LIST[3]
    # On the pixel grid of the timing editor, where the program places it.
    p = Picture(w, h, origin=L.TIMING_LIST[:2])
    draw_timing_list(p, 0, 0)
    p.rrect((0, 0, w, h), 5, outline=(58, 66, 78), width=1)
    picture = p.final()
    mask = Image.new("RGB", picture.size, (255, 255, 255))
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, picture.size[0] - 1, picture.size[1] - 1],
                                           int(round(5 * look_draw.FACTOR)), fill=(0, 0, 0))
    return picture, mask


# ---------------------------------------------------------------------------------------------
# Windows


def window_mask(win: L.Window) -> Image.Image:
    """Pure white outside the outline, black inside (drawn at 4x and reduced: a pixel is inside
    when at least half of it is)."""
    w, h = scaled_size(*win.size)
    if win.radius == 0:
        return Image.new("RGB", (w, h), (0, 0, 0))
    k = 4
    big = Image.new("L", (w * k, h * k), 0)
    radius = int(round(win.radius * look_draw.FACTOR * k))
    ImageDraw.Draw(big).rounded_rectangle([0, 0, w * k - 1, h * k - 1], radius, fill=255)
    cover = big.resize((w, h), Image.BOX)
    inside = cover.point(lambda v: 255 if v >= 128 else 0)
    mask = Image.new("RGB", (w, h), (255, 255, 255))
    mask.paste((0, 0, 0), (0, 0), inside)
    return mask


def window_base(win: L.Window) -> Picture:
    w, h = win.size
    p = Picture(w, h, OUTSIDE)
    draw_body(p, win)
    draw_art(p, win)
    draw_fields(p, win)
    return p


def window_pictures(win: L.Window):
    """The four state pictures of a window, as {state: Image}."""
    base = window_base(win)
    result = {}
    for state in STATES:
        p = base.copy()
        for k in win.keys:
            if k.kind in ("button", "toggle"):
                draw_face(p, k, state)
        result[state] = p.final()
    return result, base


def stop_pictures(record_win: L.Window, base: Picture):
    """The record button's pictures while recording (its own size, cut from the page)."""
    key = record_win.key(3)
    pics = {}
    for state in STATES:
        p = base.copy()
        draw_face(p, key, state, face=face_record, stop=True)
        pics[state] = p.final().crop(scaled_rect(key.rect))
    return pics


def key_line_picture(key_page: L.Window, base: Picture) -> Image.Image:
    p = base.copy()
    draw_traces(p, bright=True)
    return p.final().crop(scaled_rect(L.LINE_AREA))


def button_value(k: L.Key) -> str:
    x, y, w, h = k.rect
    return f"{k.name},{x},{y},{w},{h},{k.hint},{'TRUE' if k.flag else 'NO'}"


def skin_ini(win: L.Window, names) -> str:
    lines = [f"; {win.file}: skin of {win.cls}. Generated by tools/make_look.py.", "[Screen]"]
    lines.append(f"Mask={names['mask']}")
    for ini_key, state in STATE_KEYS:
        lines.append(f"{ini_key}={names[state]}")
    lines.append("")
    lines.append("[BUTTONPOS]")
    for k in sorted(win.keys, key=lambda k: k.key):
        lines.append(f"{k.key}={button_value(k)}")
    if win.frame is not None:
        x, y, w, h = win.frame
        lines += ["", "[FRAM]", f"POSITION=Pages,{x},{y},{w},{h},Page area,NO"]
    return "\r\n".join(lines) + "\r\n"


def manifest_text(wins) -> str:
    lines = ["; Which control each window creates per \"BUTTONPOS\" key. Generated by tools/make_look.py."]
    for win in wins:
        lines += ["", f"[{win.file}]", f"Window={win.cls}"]
        if win.child:
            lines.append("Child=1")
        for k in sorted(win.keys, key=lambda k: k.key):
            lines.append(f"{k.key}={k.kind}")
        if win.frame is not None:
            lines.append("FRAM=frame-free")
    return "\r\n".join(lines) + "\r\n"


def save_jpeg(im: Image.Image, path: str):
    im.save(path, "JPEG", **JPEG_OPTIONS)


def save_bmp(im: Image.Image, path: str):
    im.convert("RGB").save(path, "BMP")


def save_mask(im: Image.Image, path: str):
    """Masks are black and white only: an 8-bit BMP whose white is exactly RGB(255, 255, 255)."""
    im.convert("L").save(path, "BMP")


def write_text(path: str, text: str):
    with open(path, "wb") as f:
        f.write(text.encode("ascii"))


def picture_names(win: L.Window):
    names = {"mask": f"{win.stem}_mask.bmp"}
    for state in STATES:
        names[state] = f"{win.stem}_{STATE_SUFFIX[state]}.jpg"
    return names


STOP_SUFFIX = (("normal", "normal"), ("down", "down"), ("over", "over"), ("disabled", "disable"))
FIXED_PICTURES = ["key_line.bmp"] + [f"key{n}_line_mask.bmp" for n in range(1, 6)] + \
    [f"stop_{suffix}.jpg" for _, suffix in STOP_SUFFIX] + ["timinglist.JPG", "timinglist_mask.BMP"]


def output_names(wins):
    """Every file written below OUTDIR, relative to it (the build lists them as outputs)."""
    names = []
    for win in wins:
        names.append("skins/" + win.file)
    for percent in PERCENTS:
        folder = "skins/" + percent_folder(percent)
        for win in wins:
            names += [folder + n for n in picture_names(win).values()]
        names += [folder + n for n in FIXED_PICTURES]
    return names


def generate(outdir: str, manifest: str, percents=PERCENTS):
    wins = L.windows()
    problems = L.check(wins)
    if problems:
        raise SystemExit("make_look: layout problems:\n  " + "\n  ".join(problems))
    for percent in percents:
        started = time.monotonic()
        generate_pictures(outdir, wins, percent)
        if os.environ.get("TOLK_LOOK_TIMES"):
            print(f"make_look: {percent} % drawn in {time.monotonic() - started:.1f} s")
    skins = os.path.join(outdir, "skins")
    for win in wins:
        write_text(os.path.join(skins, win.file), skin_ini(win, picture_names(win)))
    os.makedirs(os.path.dirname(os.path.abspath(manifest)), exist_ok=True)
    write_text(manifest, manifest_text(wins))


def generate_pictures(outdir: str, wins, percent: int):
    """Every picture and mask for one display scaling, into skins/ (100 %) or skins/<percent>/."""
    look_draw.set_factor(percent)
    skins = os.path.join(outdir, "skins", percent_folder(percent))
    os.makedirs(skins, exist_ok=True)
    bases = {}
    for win in wins:
        names = picture_names(win)
        pictures, base = window_pictures(win)
        bases[win.file] = base
        save_mask(window_mask(win), os.path.join(skins, names["mask"]))
        for state in STATES:
            save_jpeg(pictures[state], os.path.join(skins, names[state]))

    key_page = L.find(wins, "skin_main_control.ini")
    save_bmp(key_line_picture(key_page, bases[key_page.file]), os.path.join(skins, "key_line.bmp"))
    for n in range(1, 6):
        save_mask(line_mask(n), os.path.join(skins, f"key{n}_line_mask.bmp"))

    recorder = L.find(wins, "skin_macro_record.ini")
    stops = stop_pictures(recorder, bases[recorder.file])
    for state, suffix in STOP_SUFFIX:
        save_jpeg(stops[state], os.path.join(skins, f"stop_{suffix}.jpg"))

    picture, mask = timing_list_pictures()
    save_jpeg(picture, os.path.join(skins, "timinglist.JPG"))
    save_mask(mask, os.path.join(skins, "timinglist_mask.BMP"))
    look_draw.set_factor(100)


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("outdir", help="program folder to write skins/ into")
    ap.add_argument("--manifest", help="manifest file (default OUTDIR/../skin_manifest.ini)")
    ap.add_argument("--list", action="store_true",
                    help="only print the files that would be written below OUTDIR, as one CMake list")
    args = ap.parse_args(argv)
    if args.list:
        print(";".join(output_names(L.windows())))
        return
    manifest = args.manifest or os.path.join(os.path.dirname(os.path.abspath(args.outdir)), "skin_manifest.ini")
    generate(args.outdir, manifest)


if __name__ == "__main__":
    main()
