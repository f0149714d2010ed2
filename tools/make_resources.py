#!/usr/bin/env python3
"""Generates the look's compiled-in resources of TolkCfg.

    make_resources.py OUTDIR

writes into OUTDIR:
  - row_pause.bmp (15 x 15), row_key_press.bmp (11 x 14), row_key_release.bmp (11 x 14),
    row_mouse.bmp (16 x 18): 24-bit BMP pictures of the macro event list rows, drawn on
    the list's black; and each drawn again for 150 % and 200 % display scaling
    (row_pause_150.bmp, row_pause_200.bmp, ...: 23 x 23 and 30 x 30 for the pause);
  - program.ico (16, 20, 24, 32, 40, 48 and 64 pixels) and submenu_arrow.ico (16, 32, 48 and 64
    pixels),
    32-bit icons with alpha and an AND mask;
  - TolkLook.rc, which names them with the numbers of resources/ResourceIds.h
    (i686-w64-mingw32-windres -I <source>/resources TolkLook.rc ...).
"""

import argparse
import os
import struct

from PIL import Image, ImageDraw

ACCENT = (53, 160, 222)
ACCENT_LIGHT = (150, 212, 248)
K = 4  # drawing scale of the small pictures at 100 %
K_AT_100 = K


def _small(w, h, draw, background=(0, 0, 0, 255)):
    """A picture of w x h pixels at 100 %, drawn K times larger and reduced; while drawn_at raises
    K, the same drawing comes out at that display scaling (sizes rounded half up)."""
    big = Image.new("RGBA", (w * K, h * K), background)
    draw(ImageDraw.Draw(big), w * K, h * K)
    return big.resize(((w * K * 2 + K_AT_100) // (2 * K_AT_100), (h * K * 2 + K_AT_100) // (2 * K_AT_100)), Image.BOX)


def drawn_at(percent, make):
    """make() drawn for a display scaling of percent (150 or 200): every length in K units grows."""
    global K
    K = K_AT_100 * percent // 100
    try:
        return make()
    finally:
        K = K_AT_100


def _rgb_on_black(im):
    out = Image.new("RGB", im.size, (0, 0, 0))
    out.paste(im, (0, 0), im)
    return out


def row_pause():
    def draw(d, w, h):
        d.ellipse([K * 1, K * 1, w - K * 1 - 1, h - K * 1 - 1], outline=ACCENT_LIGHT, width=int(K * 1.3))
        c = w / 2
        d.line([(c, c), (c, K * 3.6)], fill=(255, 255, 255), width=int(K * 1.3))
        d.line([(c, c), (c + K * 3, c + K * 1.2)], fill=(255, 255, 255), width=int(K * 1.3))
        d.ellipse([c - K, c - K, c + K, c + K], fill=ACCENT)
    return _small(15, 15, draw)


def row_key(press: bool):
    def draw(d, w, h):
        colour = ACCENT if press else (176, 184, 194)
        cx = w / 2
        shaft = [cx - K * 1.3, K * 1 if press else K * 6, cx + K * 1.3, h - K * 6 if press else h - K * 1]
        d.rectangle(shaft, fill=colour)
        if press:
            d.polygon([(K * 0.5, h - K * 7), (w - K * 0.5, h - K * 7), (cx, h - K * 0.5)], fill=colour)
        else:
            d.polygon([(K * 0.5, K * 7), (w - K * 0.5, K * 7), (cx, K * 0.5)], fill=colour)
    return _small(11, 14, draw)


def row_mouse():
    def draw(d, w, h):
        body = [K * 2, K * 1, w - K * 2 - 1, h - K * 1 - 1]
        d.rounded_rectangle(body, K * 6, fill=(44, 50, 58), outline=(190, 198, 208), width=int(K * 1.1))
        mid = w / 2
        # Left button lit.
        left = Image.new("L", (w, h), 0)
        ImageDraw.Draw(left).rounded_rectangle(body, K * 6, fill=255)
        ImageDraw.Draw(left).rectangle([mid, 0, w, h], fill=0)
        ImageDraw.Draw(left).rectangle([0, h * 0.45, w, h], fill=0)
        d.bitmap((0, 0), left, fill=ACCENT)
        d.rounded_rectangle(body, K * 6, outline=(190, 198, 208), width=int(K * 1.1))
        d.line([(mid, K * 1.5), (mid, h * 0.45)], fill=(190, 198, 208), width=int(K * 0.9))
        d.line([(K * 2.5, h * 0.45), (w - K * 2.5, h * 0.45)], fill=(190, 198, 208), width=int(K * 0.9))
    return _small(16, 18, draw)


def program_icon(size):
    def draw(d, w, h):
        r = w * 0.22
        d.rounded_rectangle([0, 0, w - 1, h - 1], r, fill=(20, 60, 88, 255), outline=ACCENT + (255,),
                            width=max(K, int(w * 0.05)))
        m = w * 0.25
        lw = max(K * 1.5, w * 0.11)
        d.line([(m, m + lw / 2), (w - m, m + lw / 2), (m, h - m - lw / 2), (w - m, h - m - lw / 2)],
               fill=ACCENT_LIGHT + (255,), width=int(lw), joint="curve")
    return _small(size, size, draw, background=(0, 0, 0, 0))


def submenu_arrow(size):
    """A small right-pointing triangle; in the 32-pixel picture it sits left of the centre, so that
    drawn at (right - 19, top - 9) of a menu item it lands inside the item's right end."""
    def draw(d, w, h):
        if size == 16:
            cx, cy, a = w * 0.5, h * 0.5, w * 0.2
        else:
            cx, cy, a = w * 0.3, h * 0.5, w * 0.1
        d.polygon([(cx - a * 0.6, cy - a), (cx + a * 0.8, cy), (cx - a * 0.6, cy + a)], fill=(255, 255, 255, 255))
    return _small(size, size, draw, background=(0, 0, 0, 0))


def ico_bytes(images):
    """An .ico file of 32-bit BGRA pictures with their AND masks (BMP entries, readable everywhere)."""
    entries, blobs = [], []
    for im in images:
        im = im.convert("RGBA")
        w, h = im.size
        px = im.load()
        xor = bytearray()
        for y in range(h - 1, -1, -1):
            for x in range(w):
                r, g, b, a = px[x, y]
                xor += bytes((b, g, r, a))
        row_bytes = ((w + 31) // 32) * 4
        and_mask = bytearray()
        for y in range(h - 1, -1, -1):
            row = bytearray(row_bytes)
            for x in range(w):
                if px[x, y][3] < 128:
                    row[x // 8] |= 0x80 >> (x % 8)
            and_mask += row
        header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
        blob = header + bytes(xor) + bytes(and_mask)
        entries.append((w, h, blob))
        blobs.append(blob)
    out = bytearray(struct.pack("<HHH", 0, 1, len(entries)))
    offset = 6 + 16 * len(entries)
    for w, h, blob in entries:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


def _write(path, data: bytes):
    with open(path, "wb") as f:
        f.write(data)


def _rc_path(path):
    return os.path.abspath(path).replace("\\", "/")


def generate(outdir):
    os.makedirs(outdir, exist_ok=True)
    drawings = {
        "IDB_ROW_PAUSE": ("row_pause", row_pause),
        "IDB_ROW_KEY_PRESS": ("row_key_press", lambda: row_key(True)),
        "IDB_ROW_KEY_RELEASE": ("row_key_release", lambda: row_key(False)),
        "IDB_ROW_MOUSE": ("row_mouse", row_mouse),
    }
    rows = {}
    for rid, (stem, make) in drawings.items():
        rows[rid] = (stem + ".bmp", make())
        for percent in (150, 200):
            rows["%s_%d" % (rid, percent)] = ("%s_%d.bmp" % (stem, percent), drawn_at(percent, make))
    for name, im in rows.values():
        _rgb_on_black(im).save(os.path.join(outdir, name), "BMP")
    icons = {
        # Small and large icons at 100, 125, 150 and 200 % display scaling: the system picks the size it
        # needs instead of stretching one.
        "IDI_PROGRAM": ("program.ico", [program_icon(n) for n in (16, 20, 24, 32, 40, 48, 64)]),
        "IDI_SUBMENU_ARROW": ("submenu_arrow.ico", [submenu_arrow(n) for n in (16, 32, 48, 64)]),
    }
    for name, ims in icons.values():
        _write(os.path.join(outdir, name), ico_bytes(ims))
    lines = ["// TolkCfg's look: icons and list-row pictures. Generated by tools/make_resources.py.",
             "// Compile with -I <source>/resources (ResourceIds.h).",
             '#include "ResourceIds.h"', ""]
    for rid, (name, _) in icons.items():
        lines.append(f'{rid} ICON "{_rc_path(os.path.join(outdir, name))}"')
    for rid, (name, _) in rows.items():
        lines.append(f'{rid} BITMAP "{_rc_path(os.path.join(outdir, name))}"')
    _write(os.path.join(outdir, "TolkLook.rc"), ("\r\n".join(lines) + "\r\n").encode("ascii"))


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("outdir")
    generate(ap.parse_args(argv).outdir)


if __name__ == "__main__":
    main()
