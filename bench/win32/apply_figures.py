#!/usr/bin/env python3
"""Figures of "Apply" as a user meets it, for two builds of the programs side by side in one run:
the programs as they were (--before) and as they are (--after). Prints figures; asserts nothing.

  a  shortcut   key 2 is given a new shortcut through TolkCfg's own windows (its menu, "Assign a
                shortcut", a key pressed, OK); from the click on Apply to the keyboard simulator
                holding the new sequence for key 2, and to the apply's last transfer
  b  macro      key 1 holds a macro; the host is given another macro for it through TolkLink (the
                block and the apply message), so that TolkCfg's own macro is a change for the
                host; from the click on Apply to the host having read the block: TolkCfg's debug
                line of the host's answer (the host answers once it has copied the block), or, with
                a host that answers only after its push, the push's first transfer
  c  answers    after a reset of the simulator ("reset") the first Apply pushes all 25 keys; the
                longest time TolkCfg's window and TolkHid's window take to answer WM_NULL sent
                every 20 ms through SendMessageTimeout (TolkLink ping) from before the click to
                after the push
  d  full push  that push in the simulator's log, first to last transfer
  e  start      TolkCfg from its process start to its main window shown and filled, without and
                with the host, beside a minimal Win32 program (one class, one window, compiled
                here with x86_64-w64-mingw32-gcc) from its process start to its window painted;
                the two programs started in turn, and one such round of each build in turn, so
                that both builds' starts meet the same load on the machine

The simulator is watched from inside Wine by a small program compiled here (the same compiler): it
asks the simulator's pipe for its call log every few milliseconds and writes each new answer with
the performance counter's time around it. Wine's performance counter is the Linux raw monotonic
clock, which this script reads at the click; the log's own millisecond times are placed on that
clock by the polls that first showed each line.

Usage: apply_figures.py [--before BUILD_DIR] [--after BUILD_DIR] [--runs N] [--starts N]
(BUILD_DIR = a build folder with dist/ and tools/, as build/windows64; run inside xvfb-run with
WINEPREFIX, TOLK_WINE and WINESERVER from scripts/wine-env; needs xdotool, Pillow and
x86_64-w64-mingw32-gcc). TOLK_BENCH_SHOTS=FOLDER keeps a screenshot of a step that failed.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "e2e"))
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import tolk_e2e as e2e  # noqa: E402
import tolkcfg_figures  # noqa: E402

SET_MODE, SET_KEY, SET_KEY_SWITCH, SET_PROFILE = 0x222418, 0x222420, 0x22242C, 0x222434
TRANSFERS = (SET_MODE, SET_KEY, SET_KEY_SWITCH, SET_PROFILE)
# How often the watcher asks the simulator for its log.
WATCH_MS = 4
# Quiet time after which an apply's transfers are taken as ended (a push rests about 100 ms per key).
QUIET_S = 1.2
# WM_NULL probes per ping: 20 ms apart, about 5 s in all.
PINGS = 250
MINIMAL_TITLE = "Tolk bench minimal window"
MINIMAL_COLOUR = (0, 160, 80)

WATCH_SOURCE = r"""
#include <windows.h>
#include <stdio.h>
#include <string.h>
/* watch PIPE COMMAND OUTFILE STOPFILE INTERVAL_MS: asks the simulator's pipe COMMAND every
   INTERVAL_MS and writes each answer that differs from the last as
   "@ <us before the poll before> <us before asking> <us after the answer> <bytes>\n<answer>\n"
   (performance counter) */
static double now_us(void)
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return (double)c.QuadPart * 1e6 / (double)f.QuadPart;
}
static int read_all(HANDLE h, char *b, DWORD n)
{
    DWORD got = 0;
    while (got < n) {
        DWORD r = 0;
        if (!ReadFile(h, b + got, n - got, &r, NULL) && GetLastError() != ERROR_MORE_DATA)
            return 0;
        if (r == 0)
            return 0;
        got += r;
    }
    return 1;
}
static char answer[70000], last[70000];
int main(int argc, char **argv)
{
    if (argc != 6)
        return 2;
    DWORD interval = (DWORD)atoi(argv[5]);
    DWORD length = (DWORD)strlen(argv[2]);
    char request[12 + 512];
    unsigned int header[3] = {4, 0, length};
    memcpy(request, header, 12);
    memcpy(request + 12, argv[2], length);
    long lastLength = -1;
    double previous = 0;
    FILE *out = fopen(argv[3], "wb");
    if (!out)
        return 2;
    for (;;) {
        if (GetFileAttributesA(argv[4]) != INVALID_FILE_ATTRIBUTES)
            break;
        double before = now_us();
        HANDLE h = CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
        if (h == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_PIPE_BUSY)
                WaitNamedPipeA(argv[1], 1000);
            else
                Sleep(interval);
            continue;
        }
        DWORD written = 0;
        unsigned int reply[3];
        int ok = WriteFile(h, request, 12 + length, &written, NULL) && read_all(h, (char *)reply, 12) &&
                 reply[2] <= sizeof answer && read_all(h, answer, reply[2]);
        CloseHandle(h);
        double after = now_us();
        if (ok && ((long)reply[2] != lastLength || memcmp(answer, last, reply[2]) != 0)) {
            fprintf(out, "@ %.0f %.0f %.0f %u\n", previous, before, after, reply[2]);
            fwrite(answer, 1, reply[2], out);
            fputc('\n', out);
            fflush(out);
            memcpy(last, answer, reply[2]);
            lastLength = (long)reply[2];
        }
        if (ok)
            previous = before;
        Sleep(interval);
    }
    fclose(out);
    return 0;
}
"""

MINIMAL_SOURCE = r"""
#include <windows.h>
/* The least a Windows program does to show a window: one class, one window, its message loop. */
static LRESULT CALLBACK proc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(h, m, w, l);
}
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR line, int show)
{
    WNDCLASSA c;
    MSG m;
    HWND h;
    (void)previous;
    (void)line;
    ZeroMemory(&c, sizeof c);
    c.lpfnWndProc = proc;
    c.hInstance = instance;
    c.hCursor = LoadCursor(NULL, IDC_ARROW);
    c.hbrBackground = CreateSolidBrush(RGB(0, 160, 80));
    c.lpszClassName = "TolkBenchMinimal";
    RegisterClassA(&c);
    h = CreateWindowA("TolkBenchMinimal", "Tolk bench minimal window", WS_OVERLAPPEDWINDOW, 100, 100, 400, 300,
                      NULL, NULL, instance, NULL);
    ShowWindow(h, show);
    UpdateWindow(h);
    while (GetMessageA(&m, NULL, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return 0;
}
"""


def now_us():
    """The clock of Wine's performance counter, in microseconds."""
    return time.clock_gettime(time.CLOCK_MONOTONIC_RAW) * 1e6


def compile_helpers(folder):
    programs = {}
    for name, source, extra in (("watch", WATCH_SOURCE, []), ("minimal", MINIMAL_SOURCE, ["-mwindows"])):
        c_file = os.path.join(folder, name + ".c")
        with open(c_file, "w") as f:
            f.write(source)
        exe = os.path.join(folder, name + ".exe")
        subprocess.run(["x86_64-w64-mingw32-gcc", "-O2", "-o", exe, c_file] + extra, check=True)
        programs[name] = exe
    return programs


def has_text(path, text):
    with open(path, "rb") as f:
        return text.encode() in f.read()


def log_lines(text):
    calls = []
    for line in text.replace("\r", "").splitlines():
        parts = line.split()
        if len(parts) >= 2 and parts[0].isdigit():
            calls.append((int(parts[0]), int(parts[1], 16), parts[2] if len(parts) > 2 else ""))
    return calls


class Watch:
    """The watcher program asking the simulator for its log while an apply runs."""

    def __init__(self, s, exe, name):
        self.s = s
        self.out = os.path.join(s.work, name + ".watch")
        self.stop_file = os.path.join(s.work, name + ".stop")
        for path in (self.out, self.stop_file):
            if os.path.exists(path):
                os.remove(path)
        self.proc = s.start(exe, s.pipe, "log", e2e.win_path(self.out), e2e.win_path(self.stop_file), str(WATCH_MS))
        e2e.wait_for(lambda: self.polls(), 30, "the watcher's first answer")

    def polls(self):
        """[(us before the poll before, us after, [calls])] of each answer that differed from the one
        before: the lines new in it were made between those two times."""
        if not os.path.exists(self.out):
            return []
        with open(self.out, "rb") as f:
            data = f.read()
        polls = []
        at = 0
        while True:
            end = data.find(b"\n", at)
            if end < 0 or not data.startswith(b"@ ", at):
                break
            _, previous, _, after, size = data[at:end].split()
            body = data[end + 1:end + 1 + int(size)]
            if len(body) < int(size):
                break
            polls.append((float(previous), float(after), log_lines(body.decode("latin-1"))))
            at = end + 2 + int(size)
        return polls

    def stop(self):
        open(self.stop_file, "w").close()
        self.proc.wait(timeout=30)
        return self.polls()


def placed(polls, first_index):
    """Each call of the log from first_index on, with the time (us, Wine's counter) when it was made:
    the log's milliseconds placed on the counter by the polls that first showed each line."""
    seen = []  # (call, us of the last poll without it (its start), us of the first poll with it (its end))
    for k in range(1, len(polls)):
        before_count = len(polls[k - 1][2])
        for call in polls[k][2][before_count:]:
            seen.append((call, polls[k][0], polls[k][1]))
    low, high = -1e30, 1e30
    for call, without, with_it in seen:
        low = max(low, without - (call[0] + 1) * 1000.0)
        high = min(high, with_it - call[0] * 1000.0)
    result = []
    count0 = len(polls[0][2]) if polls else 0
    for i, (call, without, with_it) in enumerate(seen):
        if count0 + i < first_index:
            continue
        when = call[0] * 1000.0 + (low + high) / 2 if low <= high else with_it
        result.append((call, when))
    return result


def wait_quiet(watch, timeout=30):
    end = time.time() + timeout
    while time.time() < end:
        polls = watch.polls()
        if polls and now_us() - polls[-1][1] > QUIET_S * 1e6:
            return
        time.sleep(0.1)


def timed_click(window, key):
    """Clicks key of window as skin_pointer does; the time of the button's release (us)."""
    ui = e2e.pointer_module()
    window.point(key)
    ui.xdotool("mousedown", 1)
    time.sleep(0.05)
    released = now_us()
    ui.xdotool("mouseup", 1)
    return released


def assign_shortcut(cfg, key, x_key_name):
    """key's menu "Assign a shortcut", the key pressed on the keyboard, OK (as the e2e scenarios do,
    without their checks of the screen: the field may name a key already)."""
    skin = cfg.ui.Skin(os.path.join(cfg.s.folder, "skins"), "skin_assign_shortcut.ini")
    cfg.park()
    known, menu = e2e.open_key_menu(cfg, key)
    e2e.choose(cfg, menu, [e2e.MENU_ITEM_HEIGHT] * len(e2e.KEY_MENU), e2e.KEY_MENU.index("Assign a shortcut"))
    dialog = cfg.ui.SkinnedWindow(None, skin, wid=cfg.find_new_window(skin, known))
    dialog.point(e2e.SHORTCUT_NAME)
    time.sleep(0.3)
    cfg.ui.press_keys(x_key_name)
    time.sleep(0.5)
    dialog.click(e2e.SHORTCUT_OK)
    e2e.wait_for(lambda: dialog.wid not in cfg.visible_windows(), 15, "the shortcut dialog to close")
    cfg.park()
    time.sleep(0.3)


def answer_count(cfg):
    return sum(1 for line in cfg.debug() if "ended (outcome" in line)


def wait_answered(s, cfg):
    """Until TolkCfg's window answers a message again (after an apply it waited in)."""
    code, out = s.link("send", e2e.CFG_TITLE, "0")
    e2e.check(code == 0, "TolkCfg's window did not answer: %s" % out)


class Build:
    def __init__(self, label, folder, helpers, ping_tool):
        self.label = label
        self.folder = os.path.abspath(folder)
        self.helpers = helpers
        self.ping_tool = ping_tool
        host = os.path.join(self.folder, "dist", "TolkHid.exe")
        cfg = os.path.join(self.folder, "dist", "TolkCfg.exe")
        # A host that logs its pushes; a configuration program that logs the host's answer.
        self.host_logs_push = has_text(host, "push done")
        self.cfg_logs_answer = has_text(cfg, "ended (outcome")
        self.figures = {}

    def add(self, name, value):
        self.figures.setdefault(name, []).append(value)

    def session(self, name):
        s = e2e.Session(self.folder, name)
        s.start_simulator()
        s.start_host()
        return s

    def apply_block(self, s, block):
        s.apply_block(block, wait_push=self.host_logs_push)
        if not self.host_logs_push:
            time.sleep(0.5)

    # a ------------------------------------------------------------------------------------------
    def shortcut(self, runs):
        s = self.session("bench_apply_shortcut")
        try:
            cfg = e2e.ConfigProgram(s)
            cfg.expect_slot(1, "slot 1 of the host's block")
            for run in range(runs):
                name = ("F5", "F7")[run % 2]
                assign_shortcut(cfg, 2, name)
                cfg.park()
                time.sleep(0.5)
                watch = Watch(s, self.helpers["watch"], "shortcut%d" % run)
                first = len(watch.polls()[-1][2])
                clicked = timed_click(cfg.main, e2e.CFG_APPLY)
                cfg.park()

                def key2():
                    return [c for c, _ in placed(watch.polls(), first) if c[1] == SET_KEY and c[2][2:6] == "0102"]
                e2e.wait_for(key2, 30, "key 2's new sequence in the keyboard")
                wait_quiet(watch)
                calls = placed(watch.stop(), first)
                transfers = [(c, t) for c, t in calls if c[1] in TRANSFERS]
                key = [t for c, t in transfers if c[1] == SET_KEY and c[2][2:6] == "0102"]
                self.add("a_key", (key[0] - clicked) / 1e6)
                self.add("a_last", (transfers[-1][1] - clicked) / 1e6)
                self.add("a_count", len(transfers))
                wait_answered(s, cfg)
                e2e.settle_files(s)
            tolkcfg_figures.close(s, cfg.proc)
        finally:
            s.close()

    # b ------------------------------------------------------------------------------------------
    def macro(self, runs):
        s = self.session("bench_apply_macro")
        try:
            mine = [(0x04, 1, 30), (0x04, 0, 30), (0x05, 1, 30), (0x05, 0, 0)]
            block = s.read_block()
            block.set_macro(1, 1, mine, name="Mine")
            self.apply_block(s, block)
            cfg = e2e.ConfigProgram(s)
            cfg.expect_slot(1, "slot 1 of the host's block")
            for run in range(runs):
                # The host takes another macro for key 1; TolkCfg still holds its own.
                other = s.read_block()
                other.set_macro(1, 1, [(0x06 + run, 1, 20), (0x06 + run, 0, 0)], name="Other%d" % run)
                self.apply_block(s, other)
                e2e.check(e2e.macro_in_block(s.read_block(), 1, 1)[0] == "Other%d" % run,
                          "the host did not take the other macro")
                time.sleep(0.5)
                watch = Watch(s, self.helpers["watch"], "macro%d" % run)
                first = len(watch.polls()[-1][2])
                answers = answer_count(cfg)
                clicked = timed_click(cfg.main, e2e.CFG_APPLY)
                answered = None
                if self.cfg_logs_answer:
                    end = time.time() + 30
                    while time.time() < end and answered is None:
                        if answer_count(cfg) > answers:
                            answered = now_us()
                        time.sleep(0.002)
                    e2e.check(answered is not None, "TolkCfg logged no answer of the host")
                else:
                    e2e.wait_for(lambda: any(c[1] in TRANSFERS for c, _ in placed(watch.polls(), first)), 30,
                                 "the host's first transfer")
                cfg.park()
                wait_quiet(watch)
                calls = [(c, t) for c, t in placed(watch.stop(), first) if c[1] in TRANSFERS]
                if answered is None:
                    answered = calls[0][1]
                self.add("b_read", (answered - clicked) / 1e6)
                self.add("b_count", len(calls))
                wait_answered(s, cfg)
                got = e2e.macro_in_block(s.read_block(), 1, 1)
                self.add("b_taken", got[0] == "Mine")
                e2e.settle_files(s)
            tolkcfg_figures.close(s, cfg.proc)
        finally:
            s.close()

    # c, d ---------------------------------------------------------------------------------------
    def full_push(self, runs):
        s = self.session("bench_apply_full")
        try:
            cfg = e2e.ConfigProgram(s)
            cfg.expect_slot(1, "slot 1 of the host's block")
            for run in range(runs):
                s.ctl("reset")
                time.sleep(3)
                cfg.park()
                first = len(s.sim_log())
                outs = {}
                pings = {}
                for who, title in (("cfg", e2e.CFG_TITLE), ("host", "ZentorTolkHid")):
                    outs[who] = os.path.join(s.work, "ping-%s.out" % who)
                    pings[who] = subprocess.Popen([e2e.WINE, self.ping_tool, "ping", title, str(PINGS)], env=s.env,
                                                  stdout=open(outs[who], "wb"), stderr=subprocess.STDOUT,
                                                  cwd=s.work)
                    s.processes.append(pings[who])
                time.sleep(1.0)
                timed_click(cfg.main, e2e.CFG_APPLY)
                cfg.park()
                for who in pings:
                    pings[who].wait(timeout=60)
                    text = s.read(outs[who]).strip()
                    try:
                        self.add("c_" + who, float(text.splitlines()[-1]) / 1000.0)
                    except (ValueError, IndexError):
                        raise e2e.Failure("TolkLink ping of %s said %r" % (who, text))
                wait_answered(s, cfg)
                time.sleep(QUIET_S)
                transfers = [c for c in s.sim_log()[first:] if c[1] in TRANSFERS]
                if len(transfers) >= 2:
                    self.add("d_push", (transfers[-1][0] - transfers[0][0]) / 1000.0)
                self.add("d_count", len(transfers))
                e2e.settle_files(s)
            tolkcfg_figures.close(s, cfg.proc)
        finally:
            s.close()

    # e ------------------------------------------------------------------------------------------
    def minimal_once(self, s, ui):
        started = time.perf_counter()
        proc = s.start(self.helpers["minimal"])
        end = started + 60
        while time.perf_counter() < end:
            ids = ui.xdotool("search", "--onlyvisible", "--name", "^%s$" % MINIMAL_TITLE, check=False).split()
            if ids:
                try:
                    x, y, width, height = ui.window_geometry(ids[0])
                    pixel = ui.grab((x + width // 2, y + height // 2, x + width // 2 + 1, y + height // 2 + 1))
                    if max(abs(a - b) for a, b in zip(pixel.convert("RGB").getpixel((0, 0)), MINIMAL_COLOUR)) < 8:
                        seconds = time.perf_counter() - started
                        s.link("post", MINIMAL_TITLE, "WM_CLOSE")
                        proc.wait(timeout=30)
                        return seconds
                except ui.PointerError:
                    pass
            time.sleep(tolkcfg_figures.POLL_S)
        raise e2e.Failure("the minimal window did not appear within 60 s")

    def start_rounds(self, count):
        """Takes the starts one round at a time (the minimal window, then TolkCfg), yielding after
        each, so that the starts of two builds are taken in turn under the same load. With the host,
        each round starts the simulator and the host first and stops them after."""
        ui = e2e.pointer_module()
        s = e2e.Session(self.folder, "bench_apply_start_" + self.label)
        # Closed when every build's rounds are taken: closing stops Wine's server for all of them.
        self.start_session = s
        e2e.write_profile_folder(s, e2e.CFG_NAMES, 1)
        # Warm: Wine's server, its prefix and both programs' files in the page cache.
        self.minimal_once(s, ui)
        _, proc = tolkcfg_figures.start_once(s, ui)
        tolkcfg_figures.close(s, proc)
        yield
        for with_host in (False, True):
            for _ in range(count):
                if with_host:
                    s.start_simulator()
                    s.start_host()
                self.add("e_minimal", self.minimal_once(s, ui))
                seconds, proc = tolkcfg_figures.start_once(s, ui)
                self.add("e_host" if with_host else "e_alone", seconds)
                tolkcfg_figures.close(s, proc)
                if with_host:
                    s.stop_host()
                    s.ctl("quit", check_ok=False)
                yield

    def run(self, runs, starts, only):
        for name, step, arg in (("a", self.shortcut, runs), ("b", self.macro, runs), ("cd", self.full_push, runs)):
            if only and not set(name) & set(only):
                continue
            print("  %s: %s ..." % (self.label, step.__name__), file=sys.stderr, flush=True)
            try:
                step(arg)
            except (e2e.Failure, subprocess.TimeoutExpired, OSError) as error:
                if os.environ.get("TOLK_BENCH_SHOTS"):
                    e2e.pointer_module().grab().save(os.path.join(os.environ["TOLK_BENCH_SHOTS"],
                                                                  "%s_%s.png" % (self.label, step.__name__)))
                self.figures.setdefault("failed", []).append("%s: %s" % (step.__name__, error))


def take_starts_in_turn(builds, count):
    """The builds' starts, one round of each build in turn."""
    rounds = [(build, build.start_rounds(count)) for build in builds]
    print("  starts, the builds in turn ...", file=sys.stderr, flush=True)
    try:
        while rounds:
            for pair in list(rounds):
                build, steps = pair
                try:
                    next(steps)
                except StopIteration:
                    rounds.remove(pair)
                except (e2e.Failure, subprocess.TimeoutExpired, OSError) as error:
                    build.figures.setdefault("failed", []).append("starts: %s" % error)
                    rounds.remove(pair)
    finally:
        for _, steps in rounds:
            steps.close()
        for build in builds:
            session = getattr(build, "start_session", None)
            if session is not None:
                session.close()


ROWS = [
    ("a_key", "a  shortcut: click to key 2's sequence in the keyboard", "< 0.4 s"),
    ("a_last", "   shortcut: click to the apply's last transfer", ""),
    ("a_count", "   shortcut: transfers of the apply", "1"),
    ("b_read", "b  macro: click to the host having read the block", "< 0.2 s"),
    ("b_count", "   macro: transfers of the apply", "0"),
    ("c_cfg", "c  longest answer of TolkCfg's window, full push", "< 0.1 s"),
    ("c_host", "   longest answer of TolkHid's window, full push", "< 0.1 s"),
    ("d_push", "d  full push, first to last transfer", "about 3.2 s"),
    ("d_count", "   full push: transfers", "28"),
    ("e_minimal", "e  minimal Win32 window, start to painted", ""),
    ("e_alone", "   TolkCfg start to filled, without the host", ""),
    ("e_host", "   TolkCfg start to filled, with the host", ""),
]


def cell(values, name):
    if not values:
        return "-"
    if name.endswith("_count"):
        return "%g" % statistics.median(values) if len(set(values)) == 1 else "%g..%g" % (min(values), max(values))
    return "%.3f s" % statistics.median(values)


def report(builds, runs, starts):
    print("Apply at once, before and after (median of %d runs; starts: median of %d)" % (runs, starts))
    for build in builds:
        print("  %-6s %s" % (build.label, build.folder))
    header = "%-56s" % "" + "".join("%14s" % b.label for b in builds) + "   goal"
    print(header)
    for name, text, goal in ROWS:
        if not any(b.figures.get(name) for b in builds):
            continue
        print("%-56s" % text + "".join("%14s" % cell(b.figures.get(name), name) for b in builds) + "   " + goal)
    print("spread (min..max):")
    for name, text, _ in ROWS:
        if name.endswith("_count"):
            continue
        parts = ["%s %.3f..%.3f" % (b.label, min(b.figures[name]), max(b.figures[name]))
                 for b in builds if b.figures.get(name)]
        if parts:
            print("  %-10s %s" % (name, "   ".join(parts)))
    for build in builds:
        taken = build.figures.get("b_taken")
        if taken and not all(taken):
            print("  %s: the host's block did not hold TolkCfg's macro after %d of %d applies"
                  % (build.label, taken.count(False), len(taken)))
        signal = ("TolkCfg's debug line of the host's answer" if build.cfg_logs_answer
                  else "the push's first transfer (the host answers after its push)")
        print("  %s: b measured to %s" % (build.label, signal))
        for failure in build.figures.get("failed", []):
            print("  %s: FAILED %s" % (build.label, failure))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--before", help="build folder of the programs as they were")
    parser.add_argument("--after", help="build folder of the programs as they are")
    parser.add_argument("--runs", type=int, default=5, help="applies of each kind (a to d)")
    parser.add_argument("--starts", type=int, default=6, help="starts of each program (e)")
    parser.add_argument("--only", default="", help="letters of the figures to take (say 'ab'); all when empty")
    args = parser.parse_args()
    folders = [("before", args.before), ("after", args.after)]
    if not any(f for _, f in folders):
        parser.print_help()
        return 2
    try:
        e2e.pointer_module()
    except e2e.Skipped as skipped:
        print("apply figures skipped: %s" % skipped)
        return 0
    if not shutil.which("x86_64-w64-mingw32-gcc"):
        print("apply figures skipped: x86_64-w64-mingw32-gcc is not installed")
        return 0
    temp = tempfile.mkdtemp(prefix="tolk_apply_bench_")
    try:
        helpers = compile_helpers(temp)
        # TolkLink's ping is newer than some builds: the first build's tools that have it.
        pings = [os.path.join(f, "tools", "TolkLink.exe") for _, f in folders if f]
        pings = [p for p in pings if has_text(p, "ping TITLE")] or pings
        builds = [Build(label, folder, helpers, pings[0]) for label, folder in folders if folder]
        for build in builds:
            build.run(args.runs, args.starts, args.only)
        if not args.only or "e" in args.only:
            take_starts_in_turn(builds, args.starts)
        report(builds, args.runs, args.starts)
    finally:
        shutil.rmtree(temp, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
