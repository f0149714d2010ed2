#!/usr/bin/env python3
"""TolkCfg's start at 100 % and at 200 % display scaling, under Wine and Xvfb. Prints figures;
asserts nothing.

From starting TolkCfg.exe to its main window shown at its size for the scaling, its title art drawn
from the pictures of that scaling and its first profile label written; warm Wine, without the host.
The 200 % starts run in a copy of the Wine prefix whose LogPixels is 192; one start at each scaling
in turn, so that both meet the same load on the machine. The goal: the start at 200 % no slower than
1.5 times the start at 100 %.

Usage: dpi_figures.py BUILD_DIR [STARTS]   (inside xvfb-run with a screen of at least 1600 x 700,
say -screen 0 2048x1536x24, and WINEPREFIX, TOLK_WINE and WINESERVER from scripts/wine-env; needs
xdotool and Pillow)
"""
import os
import statistics
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "e2e"))

import tolk_e2e as e2e  # noqa: E402
import tolkcfg_figures  # noqa: E402


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    build = sys.argv[1]
    starts = int(sys.argv[2]) if len(sys.argv) > 2 else 6
    try:
        ui = e2e.pointer_module()
    except e2e.Skipped as skipped:
        print("dpi figures skipped: %s" % skipped)
        return 0
    sessions = {}
    figures = {100: [], 200: []}
    try:
        for dpi, percent in ((96, 100), (192, 200)):
            s = e2e.Session(build, "bench_dpi%d" % dpi)
            if dpi != 96:
                s.use_dpi(dpi)
            sessions[percent] = s
            e2e.write_profile_folder(s, e2e.CFG_NAMES, 1)
            # Warm: the prefix (a fresh copy sets itself up at its first program) and the files.
            _, proc = tolkcfg_figures.start_once(s, ui)
            tolkcfg_figures.close(s, proc)
        for _ in range(starts):
            for percent, s in sessions.items():
                seconds, proc = tolkcfg_figures.start_once(s, ui)
                figures[percent].append(seconds)
                tolkcfg_figures.close(s, proc)
    finally:
        for s in sessions.values():
            s.close()
    at_100 = statistics.median(figures[100])
    at_200 = statistics.median(figures[200])
    print("TolkCfg's start to its window filled, by display scaling (median of %d, the two in turn)" % starts)
    print("  100 %%  %.3f s   (%.3f..%.3f)" % (at_100, min(figures[100]), max(figures[100])))
    print("  200 %%  %.3f s   (%.3f..%.3f)" % (at_200, min(figures[200]), max(figures[200])))
    print("  200 %% / 100 %% = %.2f   (goal: at most 1.5)" % (at_200 / at_100))
    return 0


if __name__ == "__main__":
    sys.exit(main())
