"""Real input at skinned windows under Wine and Xvfb, and what the screen shows of them.

A skinned window of TolkCfg is exactly its skin's picture, with every control at the rectangle its
skin file names ("BUTTONPOS" key=name,left,top,width,height,hint,flag). This module finds such a
window on the X display by its exact title (xdotool), moves the real X pointer to a control's centre,
clicks it, types and presses keys through the XTEST extension (what Wine receives as a user's input),
and tells from a screenshot which of the skin's pictures ("Main", "Over", "Down") a control shows.

Needs DISPLAY, the xdotool program and Pillow. Every wait has a limit.
"""
import configparser
import os
import shutil
import subprocess
import time

from PIL import Image, ImageChops, ImageGrab, ImageStat

XDOTOOL = "xdotool"
# One xdotool call never takes long; a longer one means the display is gone.
XDOTOOL_TIMEOUT = 20


class PointerError(Exception):
    pass


def available():
    """None when real input can be driven here, else the reason why not."""
    if not os.environ.get("DISPLAY"):
        return "no X display (DISPLAY is not set)"
    if shutil.which(XDOTOOL) is None:
        return "xdotool is not installed (scripts/install-deps installs it)"
    return None


def xdotool(*args, check=True):
    """Runs xdotool with args; its standard output as text."""
    try:
        result = subprocess.run([XDOTOOL] + [str(a) for a in args], stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, stdin=subprocess.DEVNULL, timeout=XDOTOOL_TIMEOUT)
    except subprocess.TimeoutExpired:
        raise PointerError("xdotool %s did not return within %d s" % (" ".join(map(str, args)), XDOTOOL_TIMEOUT))
    if check and result.returncode != 0:
        raise PointerError("xdotool %s failed: %s" % (" ".join(map(str, args)),
                                                      result.stderr.decode(errors="replace").strip()))
    return result.stdout.decode(errors="replace")


def _ere_escape(text):
    """text as a POSIX extended regular expression that matches exactly it."""
    return "".join("\\" + c if c in ".[]()*+?{}|^$\\" else c for c in text)


# Skin files -------------------------------------------------------------------------------------

class Skin:
    """One skin file: its control rectangles, its frame position and its pictures."""

    def __init__(self, skins_folder, file_name):
        self.folder = skins_folder
        self.file_name = file_name
        parser = configparser.ConfigParser(interpolation=None, strict=False)
        parser.optionxform = str
        with open(os.path.join(skins_folder, file_name), encoding="cp1252") as handle:
            parser.read_file(handle)
        self.ini = parser
        self._pictures = {}

    @staticmethod
    def _entry(value):
        """(left, top, right, bottom) of a "BUTTONPOS" or "FRAM" value: name,left,top,width,height,..."""
        fields = [f.strip() for f in value.split(",")]
        numbers = []
        for field in fields[1:5]:
            try:
                numbers.append(int(field))
            except ValueError:
                numbers.append(0)
        numbers += [0] * (4 - len(numbers))
        left, top, width, height = numbers
        return left, top, left + width, top + height

    def rect(self, key):
        """The control's rectangle in window pixels: (left, top, right, bottom)."""
        value = self.ini.get("BUTTONPOS", str(key), fallback=None)
        if value is None:
            raise PointerError("%s has no key %s" % (self.file_name, key))
        return self._entry(value)

    def centre(self, key):
        left, top, right, bottom = self.rect(key)
        return (left + right) // 2, (top + bottom) // 2

    def frame(self):
        """Top-left corner of the "FRAM" "POSITION" rectangle: where the window places its pages."""
        left, top, _, _ = self._entry(self.ini.get("FRAM", "POSITION"))
        return left, top

    def picture(self, kind):
        """The skin's picture "Main", "Over", "Down" or "Mask" as RGB."""
        if kind not in self._pictures:
            name = self.ini.get("Screen", kind)
            self._pictures[kind] = Image.open(os.path.join(self.folder, name)).convert("RGB")
        return self._pictures[kind]

    def size(self):
        return self.picture("Main").size


# Windows and input ------------------------------------------------------------------------------

def find_window(title, timeout=30):
    """The X window id of the visible window titled exactly title (waits up to timeout seconds)."""
    end = time.time() + timeout
    while True:
        ids = xdotool("search", "--onlyvisible", "--name", "^%s$" % _ere_escape(title), check=False).split()
        for wid in ids:
            # xdotool's match ignores case: the title must be the same to the letter.
            if xdotool("getwindowname", wid, check=False).rstrip("\n") == title:
                return wid
        if time.time() >= end:
            raise PointerError("no visible window titled %r within %.0f s" % (title, timeout))
        time.sleep(0.2)


def window_exists(title):
    ids = xdotool("search", "--onlyvisible", "--name", "^%s$" % _ere_escape(title), check=False).split()
    return any(xdotool("getwindowname", wid, check=False).rstrip("\n") == title for wid in ids)


def window_geometry(wid):
    """(x, y, width, height) of the X window on the screen."""
    values = {}
    for line in xdotool("getwindowgeometry", "--shell", wid).splitlines():
        if "=" in line:
            key, value = line.split("=", 1)
            values[key] = value
    try:
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])
    except (KeyError, ValueError):
        raise PointerError("no geometry for window %s" % wid)


class SkinnedWindow:
    """A window on the screen drawn from a skin; a page of it is the same with an offset."""

    def __init__(self, title, skin, offset=(0, 0), timeout=30, wid=None):
        self.title = title
        self.skin = skin
        self.offset = offset
        self.wid = wid or find_window(title, timeout)

    def page(self, skin, offset):
        """The child page drawn from skin at offset (window pixels) inside this window."""
        return SkinnedWindow(self.title, skin, offset, wid=self.wid)

    def origin(self):
        """Screen position of the skin's (0, 0)."""
        x, y, _, _ = window_geometry(self.wid)
        return x + self.offset[0], y + self.offset[1]

    def screen_rect(self, key):
        ox, oy = self.origin()
        left, top, right, bottom = self.skin.rect(key)
        return ox + left, oy + top, ox + right, oy + bottom

    def key_centre(self, key):
        ox, oy = self.origin()
        cx, cy = self.skin.centre(key)
        return ox + cx, oy + cy

    def point(self, key):
        """Moves the real pointer to the centre of key and lets the window see it arrive."""
        x, y = self.key_centre(key)
        # Arriving from one pixel off makes the move a real motion even when the pointer is there.
        move_pointer(x - 1, y - 1)
        move_pointer(x, y)

    def click(self, key):
        self.point(key)
        click()

    def screenshot(self):
        """The whole skin area of this window (or page) as it is on the screen now."""
        ox, oy = self.origin()
        width, height = self.skin.size()
        return grab((ox, oy, ox + width, oy + height))

    def shows(self, key, shot=None):
        """Which of "Main", "Over", "Down" the control at key shows (the nearest picture) and how
        far the screen is from it (mean difference per channel, 0..255)."""
        shot = shot or self.screenshot()
        return picture_shown(shot, self.skin, key)

    def is_checked(self, key, shot=None):
        """True when the toggle at key shows its "Down" picture, False when it shows "Main"; an
        error when it shows neither (the screen does not look like the skin there)."""
        name, distance = self.shows(key, shot)
        if name not in ("Main", "Down") or distance > PICTURE_TOLERANCE:
            raise PointerError("key %s of %s shows %s at a distance of %.1f" % (key, self.skin.file_name, name,
                                                                               distance))
        return name == "Down"


def move_pointer(x, y):
    xdotool("mousemove", "--sync", int(x), int(y))


def pointer_position():
    values = dict(line.split("=", 1) for line in xdotool("getmouselocation", "--shell").splitlines() if "=" in line)
    return int(values["X"]), int(values["Y"])


def click(button=1):
    # Press and release apart, as a hand does: a press and release within one moment can be taken for
    # a pointer that never went down by controls that wait for the capture.
    xdotool("mousedown", button)
    time.sleep(0.05)
    xdotool("mouseup", button)


def type_text(text, delay_ms=30):
    """Types text as key strokes into the window that has the keyboard focus."""
    xdotool("type", "--delay", delay_ms, "--", text)


def press_keys(*names):
    """Presses and releases each X key name (Return, Escape, Tab, ctrl+a) in turn."""
    for name in names:
        xdotool("key", "--delay", 40, name)


# Screenshots ------------------------------------------------------------------------------------

# Mean difference per channel under which a screen area counts as showing a picture: the screen is
# the picture itself, only text drawn by the program and antialiasing differ.
PICTURE_TOLERANCE = 12


def grab(box=None):
    """The screen (or box = (left, top, right, bottom) of it) as an RGB image."""
    return ImageGrab.grab(bbox=box, xdisplay=os.environ.get("DISPLAY")).convert("RGB")


def mean_difference(a, b):
    diff = ImageChops.difference(a.convert("RGB"), b.convert("RGB"))
    return sum(ImageStat.Stat(diff).mean) / 3.0


def picture_shown(shot, skin, key, kinds=("Main", "Over", "Down")):
    """(name, distance) of the picture of skin whose key rectangle is nearest to the same rectangle
    of shot, a screenshot of exactly the skin's area."""
    box = skin.rect(key)
    seen = shot.crop(box)
    best = None
    for kind in kinds:
        distance = mean_difference(seen, skin.picture(kind).crop(box))
        if best is None or distance < best[1]:
            best = (kind, distance)
    return best
