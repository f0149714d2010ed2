#!/usr/bin/env python3
"""Opens every skinned window of TolkCfg from the generated skins in SkinGallery.exe under Wine and
Xvfb, keeps the screenshots as PNG for review, and checks what the screen shows against the
skin's own pictures: each window as large as its "Main" picture and cut to its mask, the buttons
drawn from "Main", the hovered button from "Over" with its hint in the status channel, the
checked button from "Down".

Usage: skin_gallery.py BUILD_DIR   (BUILD_DIR = build/windows or build/windows64; WINEPREFIX,
TOLK_WINE and DISPLAY set)
Screenshots: BUILD_DIR/screenshots/<skin>.png, <skin>_hover.png, <skin>_checked.png
"""
import configparser
import os
import shutil
import subprocess
import sys

from PIL import Image, ImageChops, ImageStat

# The Wine loader of the build under test (scripts/wine-env, or ctest from the toolchain).
WINE = os.environ.get("TOLK_WINE", "wine")


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def read_ini(path):
    parser = configparser.ConfigParser(interpolation=None, strict=False)
    parser.optionxform = str
    with open(path, encoding="cp1252") as handle:
        parser.read_file(handle)
    return parser


def mean_difference(a, b):
    diff = ImageChops.difference(a.convert("RGB"), b.convert("RGB"))
    return sum(ImageStat.Stat(diff).mean) / 3.0


def parse_report(path):
    windows = {}
    with open(path, encoding="ascii") as handle:
        for line in handle:
            parts = line.split()
            if not parts:
                continue
            fields = dict(part.split("=", 1) for part in parts[1:])
            windows[parts[0]] = fields
    return windows


def rect_of(text):
    return tuple(int(v) for v in text.split(","))


def main():
    build = sys.argv[1]
    dist = os.path.join(build, "dist")
    manifest = os.path.join(build, "tools", "skin_manifest.ini")
    shots = os.path.join(build, "screenshots")
    raw = os.path.join(shots, "bmp")
    # The gallery's own pictures only: other tests keep theirs in folders of their own beside it.
    shutil.rmtree(raw, ignore_errors=True)
    if os.path.isdir(shots):
        for name in os.listdir(shots):
            if name.endswith(".png"):
                os.remove(os.path.join(shots, name))
    os.makedirs(raw)

    result = subprocess.run(
        [WINE, os.path.join(build, "tools", "SkinGallery.exe"), "shots", windows_path(dist) + "\\",
         windows_path(manifest), windows_path(raw)],
        stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=600)
    output = result.stdout.decode(errors="replace")
    failures = []
    if result.returncode != 0:
        failures.append("SkinGallery exited with %d: %s" % (result.returncode, output[-2000:]))

    report = parse_report(os.path.join(raw, "gallery.txt"))
    expected = read_ini(manifest).sections()
    if len(expected) != 20:
        failures.append("the manifest lists %d skinned windows, not 20" % len(expected))

    for name in os.listdir(raw):
        if name.endswith(".bmp"):
            Image.open(os.path.join(raw, name)).save(os.path.join(shots, name[:-4] + ".png"))

    for section in expected:
        fields = report.get(section)
        if fields is None or fields.get("open") != "1":
            failures.append("%s: the window did not open" % section)
            continue
        skin = read_ini(os.path.join(dist, "skins", section))
        pictures = {key: Image.open(os.path.join(dist, "skins", skin["Screen"][key])).convert("RGB")
                    for key in ("Main", "Over", "Down", "Mask")}
        width, height = pictures["Main"].size
        if (int(fields["width"]), int(fields["height"])) != (width, height):
            failures.append("%s: window %sx%s, picture %dx%d" % (section, fields["width"], fields["height"],
                                                                  width, height))
        mask_has_outside = any(p == (255, 255, 255) for p in pictures["Mask"].getdata())
        if mask_has_outside and fields.get("region") != "1":
            failures.append("%s: the mask has white outside but the window was not cut" % section)

        stem = section.split(".")[0]
        normal = Image.open(os.path.join(raw, stem + ".bmp")).convert("RGB")
        for kind, picture, shot_name in (("hover", "Over", stem + "_hover.bmp"),
                                         ("checked", "Down", stem + "_checked.bmp")):
            key = fields.get(kind, "0")
            if key == "0":
                continue
            box = rect_of(fields[kind + "Rect"])
            shot = Image.open(os.path.join(raw, shot_name)).convert("RGB")
            seen = shot.crop(box)
            want = pictures[picture].crop(box)
            before = normal.crop(box)
            main_crop = pictures["Main"].crop(box)
            if mean_difference(seen, want) > 6:
                failures.append("%s: %s button %s does not show its %s picture (difference %.1f)"
                                % (section, kind, key, picture, mean_difference(seen, want)))
            if mean_difference(before, main_crop) > 6:
                failures.append("%s: button %s does not show its Main picture before (difference %.1f)"
                                % (section, key, mean_difference(before, main_crop)))
        if fields.get("hover", "0") != "0" and fields.get("hint") != "followed":
            failures.append("%s: the hint channel did not follow the hovered button" % section)

    print("screenshots: %s (%d files)" % (shots, len([n for n in os.listdir(shots) if n.endswith(".png")])))
    for section in expected:
        fields = report.get(section, {})
        print("%-45s %sx%s opened in %s ms" % (section, fields.get("width"), fields.get("height"),
                                                fields.get("open_ms")))
    if failures:
        print("\n".join(failures))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
