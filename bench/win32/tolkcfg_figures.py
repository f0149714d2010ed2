#!/usr/bin/env python3
"""Figures of TolkCfg under Wine and Xvfb, as a user meets them. Prints figures; asserts nothing.

  start    from starting TolkCfg.exe to its main window shown and filled (the window titled
           "ZENTOR Tolk Config" exists and its first profile label is written), warm Wine, with the
           host running (the block) and without it (the profile files)
  apply    from the click on Apply, with the host and the keyboard simulator, to the window answering
           the next click again (the configuration program waits for the host's push), and the
           host's push as the simulator logged it (first to last transfer)
  memory   resident set of TolkCfg's process while it is idle with the key page shown

Usage: tolkcfg_figures.py BUILD_DIR [STARTS]   (run by scripts/wine-bench inside xvfb-run, with
WINEPREFIX, TOLK_WINE and WINESERVER from scripts/wine-env; needs xdotool and Pillow)
"""
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "e2e"))

import tolk_e2e as e2e  # noqa: E402

# How often the screen is looked at while waiting for the window.
POLL_S = 0.01
# Mean difference from the empty label picture above which a name is written in it.
LABEL_WRITTEN = e2e.CFG_LABEL_WRITTEN


def start_once(s, ui):
    """Seconds from starting TolkCfg to its window shown and filled, and the running program; at the
    session's display scaling (its size, positions and pictures those of that scaling)."""
    skins = os.path.join(s.folder, "skins")
    main_skin = ui.Skin(skins, "skin_main.ini", percent=s.percent)
    label = main_skin.rect(e2e.CFG_LABEL[1])
    empty_label = main_skin.picture("Main").crop(label)
    # The window is drawn where it stands once its title art is on the screen.
    art = tuple(ui.scale(v, s.percent) for v in (16, 8, 180, 40))
    title_art = main_skin.picture("Main").crop(art)
    started = time.perf_counter()
    proc = s.start(os.path.join(s.folder, "TolkCfg.exe"))
    end = started + 60
    wid = None
    while time.perf_counter() < end:
        if wid is None:
            ids = ui.xdotool("search", "--onlyvisible", "--name", "^ZENTOR Tolk Config$", check=False).split()
            wid = ids[0] if ids else None
        if wid is not None:
            try:
                x, y, width, height = ui.window_geometry(wid)
            except ui.PointerError:
                x = None
            if x is not None and (width, height) == main_skin.size():
                shot = ui.grab((x, y, x + width, y + height))
                drawn = ui.mean_difference(shot.crop(art), title_art) < ui.PICTURE_TOLERANCE
                if drawn and ui.mean_difference(shot.crop(label), empty_label) > LABEL_WRITTEN:
                    return time.perf_counter() - started, proc
        time.sleep(POLL_S)
    raise e2e.Failure("TolkCfg's window did not appear filled within 60 s")


def close(s, proc):
    s.link("post", e2e.CFG_TITLE, "WM_CLOSE")
    proc.wait(timeout=30)


def rss_kib(pid):
    """VmRSS of a Linux process in KiB, and its command line."""
    with open("/proc/%d/status" % pid) as f:
        status = dict(line.split(":", 1) for line in f if ":" in line)
    with open("/proc/%d/cmdline" % pid, "rb") as f:
        cmdline = f.read().replace(b"\0", b" ").decode(errors="replace").strip()
    return int(status["VmRSS"].split()[0]), cmdline


def figures(build, starts):
    ui = e2e.pointer_module()
    s = e2e.Session(build, "bench_tolkcfg")
    try:
        e2e.write_profile_folder(s, e2e.CFG_NAMES, 1)
        # Warm: Wine's server, its prefix and the program's files in the page cache.
        _, proc = start_once(s, ui)
        close(s, proc)
        without_host = []
        for _ in range(starts):
            seconds, proc = start_once(s, ui)
            without_host.append(seconds)
            close(s, proc)

        s.start_simulator()
        s.start_host()
        with_host = []
        for _ in range(starts):
            seconds, proc = start_once(s, ui)
            with_host.append(seconds)
            close(s, proc)

        cfg = e2e.ConfigProgram(s)
        time.sleep(3)
        resident, cmdline = rss_kib(cfg.proc.pid)

        applies = []
        pushes = []
        for attempt in range(3):
            # A change for the host to push, then Apply, and at once the click the user makes next.
            cfg.click_page(e2e.PAGE_MODE)
            cfg.park()
            before = len(s.sim_log())
            next_slot = 2 + attempt
            started = time.perf_counter()
            cfg.main.click(e2e.CFG_APPLY)
            cfg.main.click(e2e.CFG_SLOT[next_slot])
            cfg.park()
            cfg.expect_slot(next_slot, "the window to answer after Apply", timeout=60)
            applies.append(time.perf_counter() - started)
            calls = s.sim_log()[before:]
            if len(calls) >= 2:
                pushes.append((calls[-1][0] - calls[0][0]) / 1000.0)
            e2e.settle_files(s)
        resident_after, _ = rss_kib(cfg.proc.pid)
        close(s, cfg.proc)
    finally:
        s.close()

    def line(name, values):
        print("%-44s median %7.3f s   min %7.3f s   max %7.3f s   (%d runs)"
              % (name, statistics.median(values), min(values), max(values), len(values)))

    print("TolkCfg figures (%s)" % build)
    line("start to window filled, without the host", without_host)
    line("start to window filled, with the host", with_host)
    line("Apply until the window answers (host + sim)", applies)
    if pushes:
        line("host's push as the simulator logged it", pushes)
    print("%-44s %7d KiB idle after start, %d KiB after %d applies" % ("resident set of TolkCfg", resident,
                                                                         resident_after, len(applies)))
    print("  (process: %s)" % cmdline)


def main():
    if len(sys.argv) not in (2, 3):
        print(__doc__)
        return 2
    starts = int(sys.argv[2]) if len(sys.argv) == 3 else 5
    try:
        figures(sys.argv[1], starts)
    except e2e.Skipped as skipped:
        print("tolkcfg figures skipped: %s" % skipped)
    return 0


if __name__ == "__main__":
    sys.exit(main())
