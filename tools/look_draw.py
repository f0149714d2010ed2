"""Drawing helpers of the generated look: one dark theme with the accent RGB(53, 160, 222).

Pictures are drawn at twice their size and reduced with a box filter, so that shapes and text are
smooth; every coordinate given to these helpers is in 100 % (1x) pixels. Rectangle boundaries at
whole pixels therefore stay sharp, and nothing drawn inside a button's rectangle bleeds out of it.

set_factor(percent) draws the same look for a display scaling of 150 % or 200 %: shapes, strokes
and text are rendered at that size (not a resize of the 100 % picture). A whole-pixel coordinate v
lands on pixel floor(v * factor + 0.5), as the program scales the skin's positions (skin/DpiScale.h),
so every edge stays on a pixel boundary and a picture's size is the scaled far edge of its
rectangle. At 100 % the pictures are exactly what they were.
"""

import math
import os
from functools import lru_cache

from PIL import Image, ImageDraw, ImageFont

OVERSAMPLE = 2
FACTOR = 1.0  # display scaling the pictures are drawn for: 1.0, 1.5, 2.0
SCALE = OVERSAMPLE * FACTOR


def set_factor(percent: int):
    """Draws every following picture for percent (100, 150, 200)."""
    global FACTOR, SCALE
    FACTOR = percent / 100
    SCALE = OVERSAMPLE * FACTOR
    font.cache_clear()


def edge(v: float) -> int:
    """A 100 % whole-pixel coordinate in final pixels at the current factor (half up, as the program)."""
    return int(math.floor(v * FACTOR + 0.5))


def scaled_rect(rect):
    """(x, y, w, h) at 100 % as (left, top, right, bottom) in final pixels: its edges scaled."""
    x, y, w, h = rect
    return edge(x), edge(y), edge(x + w), edge(y + h)


def scaled_size(w, h):
    return edge(w), edge(h)

ACCENT = (53, 160, 222)
ACCENT_LIGHT = (150, 212, 248)
ACCENT_DARK = (30, 96, 138)
OUTSIDE = (12, 13, 15)
BG_TOP = (32, 36, 42)
BG_BOTTOM = (18, 20, 24)
TITLE_BAND = (26, 29, 35)
PANEL = (25, 28, 33)
LINE = (42, 47, 55)
BORDER = (66, 74, 86)
FIELD = (8, 9, 11)
LABEL_BACK = (2, 2, 2)  # CTextLabel and CStatusLabel fill (0x020202)
TEXT = (226, 230, 235)
TEXT_DIM = (128, 136, 147)
TEXT_CAPTION = (112, 122, 136)
DISABLED_FACE = (30, 33, 37)
DISABLED_BORDER = (45, 48, 53)
DISABLED_TEXT = (88, 92, 99)
RECORD_RED = (228, 70, 70)

FONT_DIR = os.environ.get("TOLK_FONT_DIR", "/usr/share/fonts/truetype/dejavu")


@lru_cache(maxsize=None)
def font(size: float, bold: bool = False, condensed: bool = False) -> ImageFont.FreeTypeFont:
    name = "DejaVuSans"
    if condensed:
        name += "Condensed"
    if bold:
        name += "-Bold"
    path = os.path.join(FONT_DIR, name + ".ttf")
    if not os.path.exists(path):
        raise SystemExit(f"make_look: font {path} is missing (install fonts-dejavu-core)")
    return ImageFont.truetype(path, int(round(size * SCALE)))


def s(v: float) -> int:
    """A coordinate or a length in drawing pixels: whole pixels on the scaled pixel grid."""
    if float(v).is_integer():
        return OVERSAMPLE * edge(v)
    return int(round(v * SCALE))


def mix(a, b, t: float):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def dim(c, t: float = 0.45):
    return mix(c, (28, 30, 34), 1 - t)


class Picture:
    """A picture being drawn at SCALE times its final size. origin: where its (0, 0) lies in the
    window it is part of, so that its pixel grid is the window's (a button's face, a page)."""

    def __init__(self, width: int, height: int, colour=OUTSIDE, origin=(0, 0)):
        self.width, self.height = width, height
        self.ox, self.oy = origin
        self.im = Image.new("RGB", (self.X(width), self.Y(height)), colour)
        self.d = ImageDraw.Draw(self.im, "RGBA")

    def X(self, v: float) -> int:
        return s(self.ox + v) - s(self.ox)

    def Y(self, v: float) -> int:
        return s(self.oy + v) - s(self.oy)

    def copy(self) -> "Picture":
        p = Picture.__new__(Picture)
        p.width, p.height = self.width, self.height
        p.ox, p.oy = self.ox, self.oy
        p.im = self.im.copy()
        p.d = ImageDraw.Draw(p.im, "RGBA")
        return p

    def final(self) -> Image.Image:
        return self.im.reduce(OVERSAMPLE)

    # -- shapes ------------------------------------------------------------------------------
    def box(self, rect, r: float = 0):
        x, y, w, h = rect
        return [self.X(x), self.Y(y), self.X(x + w) - 1, self.Y(y + h) - 1], s(r)

    def rrect(self, rect, r=0, fill=None, outline=None, width=1.0):
        xy, rr = self.box(rect, r)
        if rr > 0:
            self.d.rounded_rectangle(xy, rr, fill=fill, outline=outline, width=max(1, s(width)))
        else:
            self.d.rectangle(xy, fill=fill, outline=outline, width=max(1, s(width)))

    def gradient(self, rect, r, top, bottom, outline=None, width=1.0):
        x, y, w, h = rect
        gw, gh = self.X(x + w) - self.X(x), self.Y(y + h) - self.Y(y)
        if gw <= 0 or gh <= 0:
            return
        grad = Image.new("RGB", (1, gh))
        for i in range(gh):
            grad.putpixel((0, i), mix(top, bottom, i / max(1, gh - 1)))
        grad = grad.resize((gw, gh))
        mask = Image.new("L", (gw, gh), 0)
        ImageDraw.Draw(mask).rounded_rectangle([0, 0, gw - 1, gh - 1], s(r), fill=255)
        self.im.paste(grad, (self.X(x), self.Y(y)), mask)
        if outline is not None:
            self.rrect(rect, r, outline=outline, width=width)

    def glow(self, rect, r, colour=ACCENT, width=2.0):
        """Soft ring just inside rect, fading outwards over `width` pixels (a face inset by width)."""
        x, y, w, h = rect
        n = s(width)
        for i in range(n):
            alpha = int(25 + 140 * ((i + 1) / n) ** 1.8)
            xy = [self.X(x) + i, self.Y(y) + i, self.X(x + w) - 1 - i, self.Y(y + h) - 1 - i]
            if xy[2] <= xy[0] or xy[3] <= xy[1]:
                break
            self.d.rounded_rectangle(xy, max(0, s(r + width) - i), outline=colour + (alpha,), width=1)

    def line(self, points, fill, width=1.0):
        self.d.line([(self.X(px), self.Y(py)) for px, py in points], fill=fill, width=max(1, s(width)), joint="curve")

    def circle(self, cx, cy, r, fill=None, outline=None, width=1.0):
        self.d.ellipse([self.X(cx - r), self.Y(cy - r), self.X(cx + r) - 1, self.Y(cy + r) - 1], fill=fill, outline=outline,
                       width=max(1, s(width)))

    def polygon(self, points, fill):
        self.d.polygon([(self.X(px), self.Y(py)) for px, py in points], fill=fill)

    # -- text --------------------------------------------------------------------------------
    def text(self, x, y, text, size=11, fill=TEXT, bold=False, anchor="la", condensed=False, spacing=0.0):
        f = font(size, bold, condensed)
        if spacing:
            # Letter-spaced small captions.
            cx = self.X(x)
            for ch in text:
                self.d.text((cx, self.Y(y)), ch, font=f, fill=fill, anchor=anchor)
                cx += f.getlength(ch) + s(spacing)
            return
        self.d.text((self.X(x), self.Y(y)), text, font=f, fill=fill, anchor=anchor)

    def text_width(self, text, size=11, bold=False, condensed=False) -> float:
        return font(size, bold, condensed).getlength(text) / SCALE

    def centred(self, rect, text, size=11, fill=TEXT, bold=False, dy=0.0, condensed=False):
        x, y, w, h = rect
        self.text(x + w / 2, y + h / 2 + dy, text, size, fill, bold, anchor="mm", condensed=condensed)

    def wrap(self, text, width, size, bold=False):
        lines = []
        for paragraph in text.split("\n"):
            words, cur = paragraph.split(), ""
            for word in words:
                trial = (cur + " " + word).strip()
                if self.text_width(trial, size, bold) <= width or not cur:
                    cur = trial
                else:
                    lines.append(cur)
                    cur = word
            lines.append(cur)
        return lines

    def paragraph(self, rect, text, size=11, fill=TEXT, bold=False, align="left", line_gap=1.35, para_gap=0.0):
        x, y, w, h = rect
        yy = y
        for block in text.split("\n"):
            for ln in self.wrap(block, w, size, bold):
                if align == "center":
                    self.text(x + w / 2, yy, ln, size, fill, bold, anchor="ma")
                else:
                    self.text(x, yy, ln, size, fill, bold)
                yy += size * line_gap
            yy += para_gap
        return yy - y


def fit_paragraph(pic: Picture, rect, text, sizes=(12, 11.5, 11, 10.5, 10, 9.5, 9)):
    """Largest size at which text wrapped in rect fits its height; returns (size, lines)."""
    x, y, w, h = rect
    for size in sizes:
        lines = pic.wrap(text, w, size)
        if len(lines) * size * 1.3 <= h:
            return size, lines
    return sizes[-1], pic.wrap(text, w, sizes[-1])
