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

def scale(v, percent):
    """A 100 % position at percent, half up (skin/DpiScale.h ScaleValue)."""
    return (v * percent + 50) // 100


class Skin:
    """One skin file: its control rectangles, its frame position and its pictures.

    percent: the display scaling the window is shown at (skin/DpiScale.h). Rectangles are the
    skin's 100 % ones scaled by their edges, and pictures those drawn for it (skins/150/,
    skins/200/), or the 100 % ones stretched when the skin folder has no such set."""

    def __init__(self, skins_folder, file_name, percent=100):
        self.folder = skins_folder
        self.file_name = file_name
        self.percent = percent
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

    def _scaled(self, rect):
        return tuple(scale(v, self.percent) for v in rect)

    def rect(self, key):
        """The control's rectangle in window pixels: (left, top, right, bottom)."""
        value = self.ini.get("BUTTONPOS", str(key), fallback=None)
        if value is None:
            raise PointerError("%s has no key %s" % (self.file_name, key))
        return self._scaled(self._entry(value))

    def centre(self, key):
        left, top, right, bottom = self.rect(key)
        return (left + right) // 2, (top + bottom) // 2

    def frame(self):
        """Top-left corner of the "FRAM" "POSITION" rectangle: where the window places its pages."""
        left, top, _, _ = self._scaled(self._entry(self.ini.get("FRAM", "POSITION")))
        return left, top

    def picture(self, kind):
        """The skin's picture "Main", "Over", "Down" or "Mask" as RGB."""
        if kind not in self._pictures:
            name = self.ini.get("Screen", kind)
            own = os.path.join(self.folder, str(self.percent), name)
            if self.percent != 100 and os.path.exists(own):
                self._pictures[kind] = Image.open(own).convert("RGB")
            else:
                picture = Image.open(os.path.join(self.folder, name)).convert("RGB")
                if self.percent != 100:
                    size = (scale(picture.size[0], self.percent), scale(picture.size[1], self.percent))
                    picture = picture.resize(size, Image.NEAREST if kind == "Mask" else Image.BICUBIC)
                self._pictures[kind] = picture
        return self._pictures[kind]

    def size(self):
        return self.picture("Main").size


# Wine prefixes at another display scaling --------------------------------------------------------

def wine_prefix_at_dpi(source, target, dpi):
    """A copy of the Wine prefix source at target whose display scaling is dpi: LogPixels in
    HKCU\\Control Panel\\Desktop (what winecfg's Graphics tab writes), and the two copies of it a
    fresh prefix holds. The source prefix stays as it is, so that every other test runs
    at 96; remove target when done (after its wineserver has ended)."""
    shutil.rmtree(target, ignore_errors=True)
    subprocess.run(["cp", "-a", "--reflink=auto", source, target], check=True)
    value = "dword:%08x" % dpi
    # HKCU\Control Panel\Desktop is what Wine's user32 takes the DPI from (winecfg writes it); the
    # two others, which a fresh prefix holds at 96, are changed alike where they are.
    for reg, section, add in (("user.reg", "[Control Panel\\\\Desktop]", True),
                              ("user.reg", "[Software\\\\Wine\\\\Fonts]", False),
                              ("system.reg", "[System\\\\CurrentControlSet\\\\Hardware Profiles\\\\Current\\\\Software\\\\Fonts]",
                               False)):
        path = os.path.join(target, reg)
        with open(path, encoding="utf-8", errors="surrogateescape") as handle:
            lines = handle.read().split("\n")
        out, i, found = [], 0, False
        while i < len(lines):
            line = lines[i]
            out.append(line)
            if line == section or line.startswith(section + " "):
                found = True
                # Keep the section's header lines (#time), drop an old LogPixels, add ours.
                i += 1
                while i < len(lines) and lines[i].startswith("#"):
                    out.append(lines[i])
                    i += 1
                out.append('"LogPixels"=%s' % value)
                while i < len(lines) and lines[i] != "" and not lines[i].startswith("["):
                    if not lines[i].startswith('"LogPixels"='):
                        out.append(lines[i])
                    i += 1
                continue
            i += 1
        if not found and add:
            out += ["", "%s 0" % section, '"LogPixels"=%s' % value, ""]
        with open(path, "w", encoding="utf-8", errors="surrogateescape") as handle:
            handle.write("\n".join(out))
    return target


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
