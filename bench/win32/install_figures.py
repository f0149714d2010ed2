#!/usr/bin/env python3
"""Figures of the release artefacts and the installed programs under Wine and Xvfb. Prints figures;
asserts nothing.

  sizes    the setup program, the zip, each program file and language module, and the skins and
           sounds folders as installed
  install  the silent setup from its start to its end: the first install into a fresh Wine prefix,
           then again over the installed programs with the host running (closing it included); the
           setup has started the host when it ends
  start    TolkHid from the install folder, from its start to the keyboard's state written into
           config.ini (it has opened the keyboard simulator and read its memory), and from a WM_CLOSE
           to its process gone (what a setup over it waits for); TolkCfg from the
           install folder, from its start to its main window shown and filled, with the host
           running (measured as bench/win32/tolkcfg_figures.py does)

Usage: install_figures.py BUILD_DIR [RUNS]   (run by scripts/wine-bench inside xvfb-run, with
WINEPREFIX, TOLK_WINE and WINESERVER from scripts/wine-env; needs xdotool and Pillow)
"""
import glob
import os
import statistics
import sys
import time
import types

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, here)
sys.path.insert(0, os.path.join(here, "..", "..", "tests", "e2e"))
sys.path.insert(0, os.path.join(here, "..", "..", "tests", "install"))

import install_test  # noqa: E402
import tolk_e2e as e2e  # noqa: E402
import tolkcfg_figures  # noqa: E402

POLL_S = 0.01


def newest(pattern):
    """The newest file matching pattern: the release folder may still hold an earlier number's."""
    found = sorted(glob.glob(pattern), key=os.path.getmtime)
    if not found:
        raise e2e.Skipped("no %s: build the release targets first" % pattern)
    return found[-1]


def line(name, values):
    print("%-52s median %7.3f s   min %7.3f s   max %7.3f s   (%d runs)"
          % (name, statistics.median(values), min(values), max(values), len(values)))


def folder_size(folder):
    return sum(os.path.getsize(os.path.join(root, n)) for root, _, names in os.walk(folder) for n in names)


def stop_host(t):
    """Seconds from a WM_CLOSE posted to the host's window to its process gone."""
    # Once its window is there: a WM_CLOSE to a host still starting would find no window.
    e2e.wait_for(t.host_running, 60, "the host's window")
    started = time.perf_counter()
    t.s.link("post", "ZentorTolkHid", "WM_CLOSE")
    e2e.wait_for(lambda: not t.processes("TolkHid.exe"), 60, "the host to end")
    return time.perf_counter() - started


def clear_device_state(t):
    e2e.write_text(t.s.config_ini, [text for text in t.s.read(t.s.config_ini).splitlines()
                                    if not text.lower().startswith("device=")])


def host_start(t, stops=None):
    """Seconds from starting the installed TolkHid to the keyboard's state in config.ini (and the
    seconds the running one took to end, appended to stops)."""
    stopped = stop_host(t)
    if stops is not None:
        stops.append(stopped)
    clear_device_state(t)
    started = time.perf_counter()
    t.s.start(os.path.join(t.folder, "TolkHid.exe"))
    end = started + 60
    while time.perf_counter() < end:
        if e2e.ini_value(t.s.config_ini, "Setting", "Device") is not None:
            return time.perf_counter() - started
        time.sleep(POLL_S)
    raise e2e.Failure("the installed host wrote no device state within 60 s")


def figures(build, runs):
    build = os.path.abspath(build)
    args = types.SimpleNamespace(build_dir=build, setup=newest(os.path.join(build, "release", "*-setup.exe")),
                                 zip=newest(os.path.join(build, "release", "*.zip")),
                                 list=os.path.join(build, "installer", "shipped-files.txt"), version="")
    ui = e2e.pointer_module()
    t = install_test.Install(args, "bench_install")
    passed = False
    try:
        t.s.start_simulator()
        t.s.env["TOLK_DEVICE"] = t.s.pipe
        code, first = t.setup()
        if code != 0:
            raise e2e.Failure("the setup exited with %d" % code)
        t.s.wait_host_device()
        again = []
        for _ in range(runs):
            # The host that this setup starts writes the state again.
            clear_device_state(t)
            code, seconds = t.setup()
            if code != 0:
                raise e2e.Failure("the setup over the installed programs exited with %d" % code)
            again.append(seconds)
            t.s.wait_host_device()

        # Warm: the first start after an install reads the files from the disk.
        host_start(t)
        stops = []
        hosts = [host_start(t, stops) for _ in range(runs)]

        _, proc = tolkcfg_figures.start_once(t.s, ui)
        tolkcfg_figures.close(t.s, proc)
        cfgs = []
        for _ in range(runs):
            seconds, proc = tolkcfg_figures.start_once(t.s, ui)
            cfgs.append(seconds)
            tolkcfg_figures.close(t.s, proc)
        sizes = [(name, os.path.getsize(os.path.join(t.folder, name)))
                 for name in sorted(t.shipped) if name.lower().endswith((".exe", ".dll"))]
        folders = [(name + "\\", folder_size(os.path.join(t.folder, name))) for name in ("skins", "Wav")]
        passed = True
    finally:
        t.close(passed)

    print("Install figures (%s)" % build)
    print("%-52s %9d bytes" % (os.path.basename(args.setup), os.path.getsize(args.setup)))
    print("%-52s %9d bytes" % (os.path.basename(args.zip), os.path.getsize(args.zip)))
    print("%-52s %9d bytes" % ("the %d shipped files" % len(t.shipped),
                               sum(os.path.getsize(os.path.join(build, "dist", f)) for f in t.shipped)))
    for name, size in sizes + folders:
        print("  %-50s %9d bytes" % (name.replace("/", "\\"), size))
    print("%-52s %7.3f s" % ("silent setup, first install (fresh prefix)", first))
    line("silent setup over it, host running", again)
    line("TolkHid start to keyboard state in config.ini", hosts)
    line("TolkHid end after WM_CLOSE (process gone)", stops)
    line("TolkCfg start to window filled, host running", cfgs)


def main():
    if len(sys.argv) not in (2, 3):
        print(__doc__)
        return 2
    runs = int(sys.argv[2]) if len(sys.argv) == 3 else 5
    try:
        figures(sys.argv[1], runs)
    except e2e.Skipped as skipped:
        print("install figures skipped: %s" % skipped)
    except e2e.Failure as failure:
        print("install figures: %s" % failure)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
