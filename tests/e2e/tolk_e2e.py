#!/usr/bin/env python3
"""End-to-end scenarios of TolkHid under Wine, with TolkDeviceSim as the keyboard, InputProbe as the
window that receives input, and TolkLink for the shared block and window messages.

Usage: tolk_e2e.py BUILD_DIR SCENARIO   (BUILD_DIR = build/windows or build/windows64; WINEPREFIX,
TOLK_WINE and DISPLAY set)
Each scenario starts from a fresh copy of the program folder and ends every process it started.
"""
import os
import shutil
import signal
import struct
import subprocess
import sys
import threading
import time

# The Wine loader and server of the build under test (scripts/wine-env, or ctest from the toolchain):
# /usr/bin/wine would pick the 32-bit loader even where it cannot run.
WINE = os.environ.get("TOLK_WINE", "wine")
WINESERVER = os.environ.get("WINESERVER", "wineserver")

PROFILE_SIZE = 13108
SET_SIZE = 65544
BUTTON_SIZE = 2268
BUTTONS_AT = 1768

WM_CLOSE = 0x10
WM_COMMAND = 0x111
WM_RBUTTONDOWN = 0x204
# The host's tray icon callback (its id 102 in wParam, the mouse message in lParam).
WM_TRAY_NOTIFY = 1036


class Failure(Exception):
    pass


class Skipped(Exception):
    """The scenario cannot run on this machine or build; the reason is printed."""


SKIPPED_EXIT_CODE = 77


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(predicate, timeout, what):
    end = time.time() + timeout
    while time.time() < end:
        value = predicate()
        if value:
            return value
        time.sleep(0.1)
    raise Failure("timed out after %.0f s waiting for %s" % (timeout, what))


def win_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def read_ini(path):
    """Section/key lookups of an INI file, names without regard to case."""
    sections = {}
    current = None
    if not os.path.exists(path):
        return sections
    with open(path, "rb") as f:
        for raw in f.read().decode("latin-1").splitlines():
            line = raw.strip()
            if line.startswith("[") and "]" in line:
                current = sections.setdefault(line[1:line.rindex("]")].strip().lower(), {})
            elif current is not None and "=" in line:
                key, value = line.split("=", 1)
                current.setdefault(key.strip().lower(), value.strip())
    return sections


def ini_value(path, section, key):
    return read_ini(path).get(section.lower(), {}).get(key.lower())


class ProfileSet:
    """The shared block's bytes with accessors for the fields the scenarios change."""

    def __init__(self, data):
        check(len(data) == SET_SIZE, "the block holds %d bytes, not %d" % (len(data), SET_SIZE))
        self.data = bytearray(data)

    def profile_at(self, slot):
        return 4 + (slot - 1) * PROFILE_SIZE

    @property
    def current(self):
        return struct.unpack_from("<i", self.data, 0)[0]

    @current.setter
    def current(self, value):
        struct.pack_into("<i", self.data, 0, value)

    def name(self, slot):
        at = self.profile_at(slot)
        return bytes(self.data[at:at + 250]).split(b"\0")[0].decode("latin-1")

    def mode(self, slot):
        return struct.unpack_from("<i", self.data, self.profile_at(slot) + 1752)[0]

    def key_flag(self, slot, key):
        return self.data[self.profile_at(slot) + 1760 + key - 1]

    def media_option(self, slot):
        return struct.unpack_from("<i", self.data, self.profile_at(slot) + 1756)[0]

    def set_media_option(self, slot, option):
        struct.pack_into("<i", self.data, self.profile_at(slot) + 1756, option)

    def set_game_file(self, slot, index, text):
        at = self.profile_at(slot) + 250 + 500 * index
        self.data[at:at + 500] = text.encode("latin-1").ljust(500, b"\0")

    def button_at(self, slot, key):
        return self.profile_at(slot) + BUTTONS_AT + (key - 1) * BUTTON_SIZE

    def set_function(self, slot, key, code):
        at = self.button_at(slot, key)
        self.data[at:at + BUTTON_SIZE] = bytes(BUTTON_SIZE)
        self.data[at] = key
        self.data[at + 1] = code

    def set_shortcut(self, slot, key, usage, shift=0, ctrl=0, win=0, alt=0):
        self.set_function(slot, key, 5)
        at = self.button_at(slot, key)
        self.data[at + 2158] = usage
        self.data[at + 2159:at + 2164] = bytes([0, shift, ctrl, win, alt])

    def set_macro(self, slot, key, events, loop=False, name="Demo"):
        """events: (usage, action, delay ms) tuples."""
        self.set_function(slot, key, 6)
        at = self.button_at(slot, key)
        self.data[at + 52:at + 52 + len(name)] = name.encode()
        struct.pack_into("<iH", self.data, at + 104, 1 if loop else 0, len(events))
        for i, (usage, action, delay) in enumerate(events):
            struct.pack_into("<BBH", self.data, at + 110 + 4 * i, usage, action, delay)

    def set_timer(self, slot, key, seconds, name):
        self.set_function(slot, key, 10)
        at = self.button_at(slot, key)
        struct.pack_into("<i", self.data, at + 2164, seconds)
        self.data[at + 2168:at + 2168 + len(name)] = name.encode()


class Session:
    """One scenario's program folder and processes.

    The program folder is a fresh copy of the build's dist folder, or program_folder as it is (one
    that a setup program makes, say, which need not exist yet)."""

    def __init__(self, build_dir, name, program_folder=None):
        self.build = os.path.abspath(build_dir)
        self.tools = os.path.join(self.build, "tools")
        self.work = os.path.join(self.build, "e2e", name)
        self.pipe = "\\\\.\\pipe\\TolkSim-" + name
        shutil.rmtree(self.work, ignore_errors=True)
        if program_folder is None:
            self.folder = os.path.join(self.work, "program")
            shutil.copytree(os.path.join(self.build, "dist"), self.folder)
        else:
            self.folder = os.path.abspath(program_folder)
            os.makedirs(self.work)
        self.processes = []
        self.host = None
        self.host_log = os.path.join(self.work, "host-debug.log")
        self.env = dict(os.environ)
        self.env.setdefault("WINEDEBUG", "-all")
        self.env["WINEDLLOVERRIDES"] = "mscoree,mshtml="
        # The display scaling the skins are shown at (skin/DpiScale.h); use_dpi changes it.
        self.percent = 100
        self.dpi_prefix = None

    def use_dpi(self, dpi):
        """Runs the scenario's programs in a copy of the Wine prefix whose LogPixels is dpi (the
        build's prefix stays at 96); the copy goes with close()."""
        from skin_pointer import wine_prefix_at_dpi
        source = self.env.get("WINEPREFIX") or os.path.join(self.build, "wineprefix")
        self.dpi_prefix = wine_prefix_at_dpi(source, os.path.join(self.work, "wineprefix-dpi%d" % dpi), dpi)
        self.env["WINEPREFIX"] = self.dpi_prefix
        self.percent = 100 if dpi <= 96 else max(100, (dpi * 100 + 25 * 96) // (50 * 96) * 50)

    # Processes -------------------------------------------------------------------------------
    def start(self, exe, *args, env=None, log=None, loader=None):
        out = open(log or os.devnull, "ab")
        proc = subprocess.Popen([loader or WINE, exe] + list(args), env=env or self.env, stdout=out,
                                stderr=subprocess.STDOUT, cwd=self.work)
        self.processes.append(proc)
        return proc

    def run(self, exe, *args, timeout=60):
        # Output goes through a file: a wineserver started by this command would hold a pipe open.
        # What it says on stderr stays in run.err until the next command.
        out_path = os.path.join(self.work, "run.out")
        with open(out_path, "wb") as out, open(os.path.join(self.work, "run.err"), "wb") as err:
            result = subprocess.run([WINE, exe] + list(args), env=self.env, stdout=out,
                                    stderr=err, stdin=subprocess.DEVNULL,
                                    timeout=timeout, cwd=self.work)
        return result.returncode, self.read(out_path).replace("\r", "")

    def tool(self, name):
        return os.path.join(self.tools, name)

    def start_simulator(self):
        self.start(self.tool("TolkDeviceSim.exe"), "serve", "--pipe", self.pipe,
                   log=os.path.join(self.work, "simulator.log"))
        wait_for(lambda: self.ctl("state", check_ok=False)[0] == 0, 30, "the simulator")

    def ctl(self, *command, check_ok=True):
        code, out = self.run(self.tool("TolkDeviceSim.exe"), "ctl", "--pipe", self.pipe, *command)
        if check_ok:
            check(code == 0, "simulator command %s failed: %s" % (" ".join(command), out))
        return code, out

    def sim_state(self):
        lines = self.ctl("state")[1].splitlines()
        state = {"keys": {}}
        for line in lines:
            parts = line.split()
            if len(parts) == 2:
                state[parts[0]] = int(parts[1])
            elif len(parts) == 4 and parts[0] == "key":
                state["keys"][(int(parts[1]), int(parts[2]))] = parts[3]
        return state

    def sim_log(self):
        calls = []
        for line in self.ctl("log")[1].splitlines():
            parts = line.split()
            if len(parts) >= 2 and parts[0].isdigit():
                calls.append((int(parts[0]), int(parts[1], 16), parts[2] if len(parts) > 2 else ""))
        return calls

    def start_host(self, with_keyboard=True, args=(), extra_env=None, loader=None):
        env = dict(self.env)
        env["WINEDEBUG"] = "-all,+debugstr"
        if with_keyboard:
            env["TOLK_DEVICE"] = self.pipe
        else:
            env.pop("TOLK_DEVICE", None)
        env.update(extra_env or {})
        self.host = self.start(os.path.join(self.folder, "TolkHid.exe"), *args, env=env, log=self.host_log,
                               loader=loader)
        self.wait_host_device()
        return self.host

    def wait_host_device(self, timeout=60):
        """Waits until a starting host has written the device state into config.ini; the state."""
        return wait_for(lambda: ini_value(self.config_ini, "Setting", "Device"), timeout,
                        "the host to record the device state")

    def host_debug(self):
        if not os.path.exists(self.host_log):
            return []
        with open(self.host_log, "rb") as f:
            return [line for line in f.read().decode("latin-1").splitlines() if "debugstr" in line]

    def start_probe(self, name, title="Probe", cls="InputProbe", exe=None, extra_args=()):
        log = os.path.join(self.work, name + ".log")
        if os.path.exists(log):
            os.remove(log)
        self.start(exe or self.tool("InputProbe.exe"), "--log", win_path(log), "--title", title, "--class", cls,
                   *extra_args)
        wait_for(lambda: "READY" in self.read(log), 30, "the probe %s" % name)
        return log

    @staticmethod
    def read(path):
        if not os.path.exists(path):
            return ""
        with open(path, "rb") as f:
            return f.read().decode("latin-1")

    def probe_events(self, log, names=("WM_KEYDOWN", "WM_KEYUP")):
        events = []
        for line in self.read(log).splitlines():
            parts = line.split()
            if len(parts) == 4 and parts[1] in names:
                events.append((int(parts[0]), parts[1], int(parts[2], 16), int(parts[3], 16)))
        return events

    def link(self, *args):
        return self.run(self.tool("TolkLink.exe"), *args)

    def read_block(self):
        path = os.path.join(self.work, "block.bin")
        code, out = self.link("read", win_path(path))
        check(code == 0, "TolkLink read failed: %s" % out)
        with open(path, "rb") as f:
            return ProfileSet(f.read())

    def pushes_done(self):
        return sum(1 for line in self.host_debug() if "push done" in line)

    def apply_block(self, block, wait_push=True):
        """Applies block as the configuration program does. The host answers once it has taken the
        set and pushes to the keyboard afterwards; with wait_push, until that push is done."""
        path = os.path.join(self.work, "apply.bin")
        with open(path, "wb") as f:
            f.write(block.data)
        done = self.pushes_done()
        code, out = self.link("apply", win_path(path))
        check(code == 0, "TolkLink apply failed: %s" % out)
        if wait_push and ini_value(self.config_ini, "Setting", "Device") == "1":
            wait_for(lambda: self.pushes_done() > done, 30, "the host's push to the keyboard")

    def post_host(self, message, wparam=0, lparam=0):
        return self.link("post", "ZentorTolkHid", str(message), str(wparam), str(lparam))[0]

    @property
    def config_ini(self):
        return os.path.join(self.folder, "config.ini")

    def tray_icons_added(self):
        return sum(1 for line in self.host_debug() if "tray icon added" in line)

    def wait_host_exit(self, timeout, what):
        try:
            self.host.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the host did not end within %.0f s %s" % (timeout, what))

    def stop_host(self):
        if self.host and self.host.poll() is None:
            self.post_host(WM_CLOSE)
            self.host.wait(timeout=30)

    def close(self):
        try:
            self.stop_host()
        except Exception:
            pass
        try:
            self.ctl("quit", check_ok=False)
        except Exception:
            pass
        subprocess.run([WINESERVER, "-k"], env=self.env)
        for proc in self.processes:
            try:
                proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                proc.kill()
        if self.dpi_prefix is not None:
            subprocess.run([WINESERVER, "-w"], env=self.env)
            shutil.rmtree(self.dpi_prefix, ignore_errors=True)


# Scenarios ------------------------------------------------------------------------------------

def scenario_second_instance(s):
    s.start_host(with_keyboard=False)
    second = s.start(os.path.join(s.folder, "TolkHid.exe"))
    second.wait(timeout=30)
    check(s.host.poll() is None, "the first host ended")
    check(s.post_host(0) == 0, "the first host's window is gone")


def scenario_no_keyboard(s):
    # Asking a keyboard nobody serves ends at once with its own exit code and says so; the run's
    # time-out only guards against a hang.
    code, out = s.run(s.tool("TolkDeviceSim.exe"), "ctl", "--pipe", s.pipe, "state", timeout=30)
    check(code == 2, "ctl without a simulator exited with %d, not 2" % code)
    check("no simulator serves" in s.read(os.path.join(s.work, "run.err")),
          "ctl without a simulator did not say why")
    shutil.copy(s.tool("InputProbe.exe"), os.path.join(s.folder, "osd.exe"))
    osd_log = os.path.join(s.work, "osd.log")
    s.start_host(with_keyboard=False, extra_env={"INPUTPROBE_LOG": win_path(osd_log),
                                                 "INPUTPROBE_TITLE": "Tolk OSD"})
    check(ini_value(s.config_ini, "Setting", "Device") == "0", "Device is not 0")
    wait_for(lambda: "READY" in s.read(osd_log), 30, "the on-screen display to be started")
    time.sleep(1)
    check(not any("tray icon added" in line for line in s.host_debug()), "a tray icon was added")
    s.stop_host()
    wait_for(lambda: "WM_CLOSE" in s.read(osd_log), 30, "the display to be closed at shut-down")


def scenario_start_with_keyboard(s):
    s.start_simulator()
    s.start_host()
    check(ini_value(s.config_ini, "Setting", "Device") == "1", "Device is not 1")
    check(ini_value(s.config_ini, "Setting", "FWVersion") == "128", "FWVersion is not 128")
    check(ini_value(s.config_ini, "Setting", "CurrentProfile") == "1", "CurrentProfile is not 1")
    for i in range(5):
        rkp = os.path.join(s.folder, "config", "Default%d.rkp" % i)
        check(os.path.exists(rkp), "%s was not written" % rkp)
        check(ini_value(rkp, "Setting", "Mode") == "1", "Mode of %s is not 1" % rkp)
    block = s.read_block()
    check(block.current == 1 and block.name(3) == "Default2", "the block was not filled")
    check(sum(1 for line in s.host_debug() if "tray icon added" in line) == 1, "not exactly one tray icon")


SET_KEY, SET_PROFILE = 0x222420, 0x222434


def scenario_apply_push(s):
    s.start_simulator()
    s.start_host()
    # A shortcut on key 2 of the current profile: the keyboard gets that key and nothing else.
    block = s.read_block()
    check(block.current == 1, "the host's block names profile %d, not 1" % block.current)
    block.set_shortcut(1, 2, 0x05, shift=1)  # Shift+B
    before = len(s.sim_log())
    s.apply_block(block)
    calls = s.sim_log()[before:]
    check([(c[1], c[2][2:6]) for c in calls] == [(SET_KEY, "0102")],
          "one shortcut applied sent %s" % ["%X %s" % (c[1], c[2]) for c in calls])
    stored = s.sim_state()["keys"][(1, 2)]
    check(stored[0:4] == "2901" and stored[6:8] == "01" and stored[8:10] == stored[4:6] and stored[10:16] == "002900",
          "Shift+B was stored as %s" % stored)
    # Another slot and a shortcut in it: the slot and that key, 100 ms apart.
    block = s.read_block()
    block.current = 2
    block.set_shortcut(2, 1, 0x04, ctrl=1)  # Ctrl+A
    before = len(s.sim_log())
    s.apply_block(block)
    calls = s.sim_log()[before:]
    codes = [c[1] for c in calls]
    check(codes == [SET_PROFILE, SET_KEY], "push order was %s" % ["%X" % c for c in codes])
    gaps = [b[0] - a[0] for a, b in zip(calls, calls[1:])]
    check(all(90 <= g <= 400 for g in gaps), "push pacing was %s ms" % gaps)
    state = s.sim_state()
    check(state["profile"] == 2, "the keyboard's profile is %d" % state["profile"])
    check(state["keys"][(2, 1)].startswith("7D0112011200" + "7D00"),
          "Ctrl+A was stored as %s" % state["keys"][(2, 1)])
    # The same set again: nothing to send.
    before = len(s.sim_log())
    s.apply_block(s.read_block())
    check(s.sim_log()[before:] == [], "an unchanged set sent %s" % s.sim_log()[before:])
    # After a reset of its memory the keyboard is written whole, and the host's window answers
    # meanwhile: the apply is sent from a process of its own while another one pings the window.
    s.ctl("reset")
    wait_for(lambda: s.read_block().current == 1, 30, "the host to take the keyboard's defaults")
    path = os.path.join(s.work, "apply.bin")
    with open(path, "wb") as f:
        f.write(s.read_block().data)
    done = s.pushes_done()
    before = len(s.sim_log())
    apply = s.start(s.tool("TolkLink.exe"), "apply", win_path(path))
    code, out = s.link("ping", "ZentorTolkHid", "100")
    check(code == 0, "TolkLink ping failed: %s" % out)
    check(apply.wait(timeout=60) == 0, "TolkLink apply failed")
    wait_for(lambda: s.pushes_done() > done, 30, "the full push after the reset")
    pushed = len(s.sim_log()) - before
    check(pushed == 28, "the push after the reset made %d transfers, not 28" % pushed)
    longest = float(out.split()[0])
    print("longest answer during the push: %.1f ms" % longest)
    check(longest < 100, "the host's window took %.1f ms to answer during the push" % longest)


def typing_profile(s, events, loop=False, key=1):
    block = s.read_block()
    block.current = 1
    block.set_macro(1, key, events, loop=loop)
    s.apply_block(block)


def scenario_macro_plays(s):
    s.start_simulator()
    s.start_host()
    typing_profile(s, [(0x04, 0, 80), (0x04, 1, 40), (0x05, 0, 120), (0x05, 1, 40), (0x06, 0, 60), (0x06, 1, 10)])
    log = s.start_probe("probe")
    s.ctl("press", "1")
    s.ctl("release", "1")
    wait_for(lambda: len(s.probe_events(log)) >= 6, 30, "the macro to reach the probe")
    events = s.probe_events(log)
    keys = [(e[1], e[2]) for e in events]
    check(keys == [("WM_KEYDOWN", 0x41), ("WM_KEYUP", 0x41), ("WM_KEYDOWN", 0x42), ("WM_KEYUP", 0x42),
                   ("WM_KEYDOWN", 0x43), ("WM_KEYUP", 0x43)], "keys arrived as %s" % keys)
    expected = [80, 40, 120, 40, 60]
    gaps = [b[0] - a[0] for a, b in zip(events, events[1:])]
    # Each key's arrival against the recorded schedule, aligned on the typical offset; the first key
    # of a freshly started host included (its input path is set up before the first macro).
    schedule = [0]
    for delay in expected:
        schedule.append(schedule[-1] + delay)
    offsets = [e[0] - t for e, t in zip(events, schedule)]
    typical = sorted(offsets)[len(offsets) // 2]
    lateness = [o - typical for o in offsets]
    check(all(abs(x) <= 15 for x in lateness), "delays were %s, recorded %s" % (gaps, expected))


def scenario_macro_first_gap(s):
    # The first macro a freshly started host plays: a short first gap is what a user notices when a
    # game reads a combination held for the wrong time. A busy machine can delay any key, so one of
    # three fresh hosts must show the timing; a host that shortens its first gap fails every time.
    s.start_simulator()
    recorded = [100, 50, 200]
    tries = []
    for attempt in range(3):
        if attempt:
            s.stop_host()
            # The next host's start is seen by the device state it records.
            lines = s.read(s.config_ini).splitlines(True)
            with open(s.config_ini, "wb") as f:
                f.write("".join(l for l in lines if not l.lower().startswith("device=")).encode("latin-1"))
        s.start_host()
        typing_profile(s, [(0x04, 0, 100), (0x05, 0, 50), (0x04, 1, 200), (0x05, 1, 10)])
        log = s.start_probe("probe%d" % attempt)
        s.ctl("press", "1")
        s.ctl("release", "1")
        wait_for(lambda: len(s.probe_events(log)) >= 4, 30, "the macro to reach the probe")
        events = s.probe_events(log)
        keys = [(e[1], e[2]) for e in events]
        check(keys == [("WM_KEYDOWN", 0x41), ("WM_KEYDOWN", 0x42), ("WM_KEYUP", 0x41), ("WM_KEYUP", 0x42)],
              "keys arrived as %s" % keys)
        gaps = [b[0] - a[0] for a, b in zip(events, events[1:])]
        tries.append(gaps)
        # The probe logs whole milliseconds; a few more cover the scheduler.
        if all(abs(g - r) <= 5 for g, r in zip(gaps, recorded)):
            return
    raise Failure("gaps were %s ms on three fresh hosts, recorded %s" % (tries, recorded))


def scenario_macro_extended_keys(s):
    # Left Arrow and right Alt (AltGr) must reach the window as the extended keys they are: with the
    # extended bit (24) of lParam and their own scan codes, not as keypad 4 and left Alt.
    s.start_simulator()
    s.start_host()
    typing_profile(s, [(0x50, 0, 20), (0x50, 1, 20), (0xE6, 0, 20), (0xE6, 1, 20), (0x5C, 0, 20), (0x5C, 1, 20)])
    log = s.start_probe("probe")
    s.ctl("press", "1")
    s.ctl("release", "1")
    names = ("WM_KEYDOWN", "WM_KEYUP", "WM_SYSKEYDOWN", "WM_SYSKEYUP")
    wait_for(lambda: len(s.probe_events(log, names)) >= 6, 30, "the macro to reach the probe")
    events = s.probe_events(log, names)
    seen = [(e[2], (e[3] >> 16) & 0xFF, bool(e[3] & (1 << 24))) for e in events]
    # Keypad 4 stays a plain key (Wine's layout gives it no scan code, so that is not compared).
    seen[4:] = [(vk, None, extended) for vk, _, extended in seen[4:]]
    check(seen == [(0x25, 0x4B, True), (0x25, 0x4B, True), (0x12, 0x38, True), (0x12, 0x38, True),
                   (0x64, None, False), (0x64, None, False)],
          "keys arrived as (vk, scan code, extended) %s" % seen)


def scenario_same_key_stops(s):
    s.start_simulator()
    s.start_host()
    typing_profile(s, [(0xE1, 0, 50), (0x04, 0, 3000), (0x04, 1, 10), (0xE1, 1, 10)], loop=True)
    log = s.start_probe("probe")
    s.ctl("press", "1")
    wait_for(lambda: len(s.probe_events(log)) >= 2, 30, "the macro to start")
    s.ctl("release", "1")
    s.ctl("press", "1")
    time.sleep(1.5)
    down = set()
    for _, name, vk, _ in s.probe_events(log):
        if name == "WM_KEYDOWN":
            down.add(vk)
        else:
            down.discard(vk)
    check(not down, "keys left down: %s" % sorted(down))
    count = len(s.probe_events(log))
    time.sleep(1)
    check(len(s.probe_events(log)) == count, "the macro went on after its key stopped it")


def scenario_mode_numlock(s):
    s.start_simulator()
    s.start_host()
    log = s.start_probe("probe")
    s.ctl("mode", "0")
    wait_for(lambda: s.read_block().mode(1) == 0, 30, "the block to take Mode 0")
    check(all(s.read_block().mode(p) == 0 for p in range(1, 6)), "not every profile took Mode 0")
    wait_for(lambda: any(e[2] == 0x90 for e in s.probe_events(log)), 10, "NumLock to be pressed")
    s.ctl("mode", "1")
    wait_for(lambda: s.read_block().mode(3) == 1, 30, "the block to take Mode 1")
    wait_for(lambda: sum(1 for e in s.probe_events(log) if e[2] == 0x90 and e[1] == "WM_KEYDOWN") >= 2, 10,
             "NumLock to be pressed again")


def scenario_reset(s):
    s.start_simulator()
    s.start_host()
    block = s.read_block()
    block.current = 3
    block.set_timer(3, 2, 30, "Tea")
    s.apply_block(block)
    s.ctl("reset")
    wait_for(lambda: s.read_block().current == 1, 30, "the block to take the defaults")
    check(s.read_block().name(3) == "Default2", "the block's names are not the defaults")
    check(ini_value(s.config_ini, "Setting", "CurrentProfile") == "1", "the defaults were not saved")
    rkp = os.path.join(s.folder, "config", "Default2.rkp")
    check(ini_value(rkp, "Setting", "ButtonInfo1") is not None, "the default profiles were not saved")


def scenario_removal_arrival(s):
    s.start_simulator()
    s.start_host()
    s.ctl("remove")
    wait_for(lambda: ini_value(s.config_ini, "Setting", "Device") == "0", 30, "Device 0 after removal")
    s.ctl("arrive")
    wait_for(lambda: ini_value(s.config_ini, "Setting", "Device") == "1", 30, "Device 1 after arrival")
    debug = s.host_debug()
    added = sum(1 for line in debug if "tray icon added" in line)
    removed = sum(1 for line in debug if "tray icon removed" in line)
    check(added == 2 and removed == 1, "tray icon added %d times, removed %d times" % (added, removed))


def scenario_game_switch(s):
    s.start_simulator()
    s.start_host()
    block = s.read_block()
    block.set_game_file(4, 0, "  C:\\Games\\RaidGame.EXE ")
    s.apply_block(block)
    game = os.path.join(s.folder, "raidgame.exe")
    shutil.copy(s.tool("InputProbe.exe"), game)
    s.start_probe("game", title="Raid", exe=game)
    wait_for(lambda: s.sim_state()["profile"] == 4, 30, "the keyboard to switch to profile 4")
    check(s.read_block().current == 4, "the block did not switch to profile 4")


def scenario_winamp(s):
    s.start_simulator()
    s.start_host()
    block = s.read_block()
    block.current = 1
    block.set_media_option(1, 3)
    block.set_function(1, 2, 35)
    s.apply_block(block)
    log = s.start_probe("winamp", title="Winamp", cls="Winamp v1.x")
    for _ in range(2):
        s.ctl("press", "2")
        s.ctl("release", "2")
    wait_for(lambda: len(s.probe_events(log, ("WM_COMMAND",))) >= 2, 30, "two commands at the Winamp probe")
    commands = [e[2] for e in s.probe_events(log, ("WM_COMMAND",))]
    check(commands == [40045, 40046], "Winamp got %s" % commands)


def scenario_tray_exit(s):
    shutil.copy(s.tool("InputProbe.exe"), os.path.join(s.folder, "osd.exe"))
    osd_log = os.path.join(s.work, "osd.log")
    s.start_simulator()
    s.start_host(extra_env={"INPUTPROBE_LOG": win_path(osd_log), "INPUTPROBE_TITLE": "Tolk OSD"})
    wait_for(lambda: "READY" in s.read(osd_log), 30, "the on-screen display")
    typing_profile(s, [(0xE1, 0, 50), (0x04, 0, 60000)], loop=True)
    probe = s.start_probe("probe")
    s.ctl("press", "1")
    wait_for(lambda: len(s.probe_events(probe)) >= 2, 30, "the macro to start")
    check(s.post_host(WM_COMMAND, 6002) == 0, "no host window for Exit")
    s.host.wait(timeout=30)
    check("WM_CLOSE" in s.read(osd_log), "the display was not closed")
    down = set()
    for _, name, vk, _ in s.probe_events(probe):
        (down.add if name == "WM_KEYDOWN" else down.discard)(vk)
    check(not down, "keys left down after exit: %s" % sorted(down))
    check(ini_value(s.config_ini, "Setting", "Device") is not None, "config.ini lost")


def scenario_tray_menu_dpi192(s):
    """TolkHid's tray menu at 100 % and at 200 % display scaling (LogPixels 192, in a copy of the
    prefix): the system draws it with the fonts of the scaling the host is aware of, so at 200 % its
    texts, and with them the menu, are about twice as wide (the frame and the separator stay thin). Screenshots: screenshots/dpi192/tolkhid_tray_menu.png
    and screenshots/tolkhid_tray_menu.png."""
    ui = pointer_module()
    widths = {}
    for dpi in (96, 192):
        if dpi != 96:
            s.use_dpi(dpi)
        s.start_host(with_keyboard=False)
        ui.xdotool("mousemove", "600", "400")
        known = set(ui.xdotool("search", "--onlyvisible", "--class", "", check=False).split())
        # The first program in a fresh copy of the prefix may wait for Wine to set the copy up, and
        # config.ini already holds the first host's device state: wait for the window itself.
        wait_for(lambda: s.post_host(WM_TRAY_NOTIFY, 102, WM_RBUTTONDOWN) == 0, 150, "the host's window")

        def menu():
            for wid in ui.xdotool("search", "--onlyvisible", "--class", "", check=False).split():
                if wid not in known:
                    try:
                        geometry = ui.window_geometry(wid)
                    except ui.PointerError:
                        continue
                    if geometry[2] > 20 and geometry[3] > 20:
                        return geometry
            return None
        x, y, width, height = wait_for(menu, 30, "the tray menu at %d dpi" % dpi)
        time.sleep(0.3)
        folder = os.path.join(s.build, "screenshots", *(["dpi%d" % dpi] if dpi != 96 else []))
        os.makedirs(folder, exist_ok=True)
        ui.grab((x, y, x + width, y + height)).save(os.path.join(folder, "tolkhid_tray_menu.png"))
        widths[dpi] = width
        ui.xdotool("key", "Escape")
        check(s.post_host(WM_COMMAND, 6002) == 0, "no host window for Exit")
        s.host.wait(timeout=30)
    check(widths[192] >= widths[96] * 1.8,
          "the tray menu is %d wide at 200 %% and %d at 100 %%" % (widths[192], widths[96]))


def scenario_game_switch_64(s):
    # A 32-bit host cannot list the modules of a 64-bit game; it still has to see the game in front.
    # That needs a 32-bit host and a 64-bit probe in one prefix: the 64-bit build's prefix (win64),
    # with the 32-bit build's host run by the 32-bit loader beside it.
    if not s.build.rstrip("/").endswith("64"):
        raise Skipped("the prefix of the 32-bit build (win32) runs no 64-bit program, so no 64-bit game can "
                      "run beside this host; the 64-bit build's run of this scenario covers it")
    host32 = os.path.join(os.path.dirname(s.build), "windows", "dist", "TolkHid.exe")
    loader32 = os.path.join(os.path.dirname(WINE), "wine")
    if not os.path.exists(host32):
        raise Skipped("no 32-bit host at %s (build the windows preset)" % host32)
    if not os.path.exists(loader32):
        raise Skipped("the 32-bit Wine loader %s is not installed (wine32)" % loader32)
    if subprocess.run([loader32, "--version"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode != 0:
        raise Skipped("the 32-bit Wine loader %s does not run on this machine" % loader32)
    shutil.copy(host32, os.path.join(s.folder, "TolkHid.exe"))
    s.start_simulator()
    s.start_host(loader=loader32)
    block = s.read_block()
    block.set_game_file(3, 1, "D:\\Games64\\BigGame.exe")
    s.apply_block(block)
    game = os.path.join(s.folder, "biggame.exe")
    shutil.copy(s.tool("InputProbe.exe"), game)  # the 64-bit probe of this build
    s.start_probe("game", title="Big", exe=game)
    wait_for(lambda: s.sim_state()["profile"] == 3, 30, "the 32-bit host to switch to profile 3 for a 64-bit game")
    check(s.read_block().current == 3, "the block did not switch to profile 3")


def scenario_tray_taskbar_created(s):
    s.start_simulator()
    s.start_host()
    wait_for(lambda: s.tray_icons_added() >= 1, 30, "the tray icon")
    added = s.tray_icons_added()
    # What a restarted Explorer announces to every top-level window.
    code, out = s.link("broadcast", "TaskbarCreated")
    check(code == 0, "TolkLink broadcast failed: %s" % out)
    wait_for(lambda: s.tray_icons_added() > added, 30, "the tray icon to be added again after TaskbarCreated")
    # Without the keyboard there is no icon to bring back.
    s.ctl("remove")
    wait_for(lambda: any("tray icon removed" in line for line in s.host_debug()), 30,
             "the icon to go with the keyboard")
    added = s.tray_icons_added()
    s.link("broadcast", "TaskbarCreated")
    time.sleep(2)
    check(s.tray_icons_added() == added, "a tray icon was added without the keyboard")


def scenario_exit_hung_player(s):
    s.start_simulator()
    s.start_host()
    block = s.read_block()
    block.current = 1
    block.set_media_option(1, 3)
    block.set_function(1, 2, 35)
    s.apply_block(block)
    # Winamp as the host finds it, hanging for longer than this scenario runs once it gets a command.
    log = s.start_probe("winamp", title="Winamp", cls="Winamp v1.x", extra_args=("--hang-after-command", "600000"))
    s.ctl("press", "2")
    s.ctl("release", "2")
    wait_for(lambda: s.probe_events(log, ("WM_COMMAND",)), 30, "a command at the Winamp probe")
    s.ctl("press", "2")  # the read thread sends to the hung window again
    s.ctl("release", "2")
    check(s.post_host(WM_CLOSE) == 0, "no host window to close")
    s.wait_host_exit(40, "while a media player hung")
    check(ini_value(s.config_ini, "Setting", "Device") is not None, "config.ini lost")


# The configuration program ---------------------------------------------------------------------
# TolkCfg is driven as a user drives it: the real X pointer and keyboard (xdotool) at the controls
# its skins place, and checked through the files it writes, the host's block, the simulator's memory
# and what the screen shows.

CFG_TITLE = "ZENTOR Tolk Config"
# Main window keys (skins\skin_main.ini).
CFG_TAB_KEYS, CFG_TAB_UPDATE, CFG_TAB_HELP = 1, 4, 5
CFG_IMPORT = 7
CFG_SLOT = {n: 9 + n for n in range(1, 6)}
CFG_OK, CFG_APPLY, CFG_CANCEL = 20, 21, 22
CFG_LABEL = {n: 29 + n for n in range(1, 6)}
# Mean difference of a profile label from its empty picture above which a name is written in it (a
# name of five letters makes about 14; the empty label on a black screen about 2).
CFG_LABEL_WRITTEN = 6
# A spot of the main window with no control: right of the tabs.
CFG_EMPTY_SPOT = (520, 66)
# Key page keys (skins\skin_main_control.ini).
PAGE_KEY = {n: n for n in range(1, 6)}
PAGE_SWITCH = {n: 9 + n for n in range(1, 6)}
PAGE_RESET, PAGE_MODE = 20, 25
# The rectangle of the key page that the five highlight lines cover.
LINE_AREA = (131, 135, 504, 309)
# Reset warning keys (skins\skin_reset_warn.ini).
WARN_OK, WARN_CANCEL = 2, 3


def pointer_module():
    """The real-input helpers; only the window scenarios need them (with Pillow and xdotool)."""
    try:
        import skin_pointer
    except ImportError as error:
        raise Skipped("driving windows needs Pillow: %s" % error)
    reason = skin_pointer.available()
    if reason:
        raise Skipped(reason)
    return skin_pointer


def write_text(path, lines):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("latin-1"))


def write_profile_file(path, mode=1, flags=(0, 0, 0, 0, 0), games=("", "", "")):
    """A profile file as the programs write it, without key assignments (they read as none)."""
    write_text(path, ["[Setting]"] + ["GameFile%d=%s" % (i, g) for i, g in enumerate(games)]
               + ["Mode=%d" % mode, "MediaOption=0"] + ["key%d=%d" % (i, f) for i, f in enumerate(flags)])


def write_profile_folder(s, names, current, modes=None, flags=None):
    """config.ini naming the five profiles with the current slot, and their profile files."""
    write_text(s.config_ini, ["[Setting]", "CurrentProfile=%d" % current, "[FileName]"]
               + ["Profile%d=%s" % (i + 1, n) for i, n in enumerate(names)])
    for i, name in enumerate(names):
        write_profile_file(os.path.join(s.folder, "config", name + ".rkp"),
                           mode=(modes or {}).get(i + 1, 1), flags=(flags or {}).get(i + 1, (0, 0, 0, 0, 0)))


def data_files(s):
    """Every data file of the program folder with its bytes."""
    files = {}
    for path in [s.config_ini] + [os.path.join(s.folder, "config", n)
                                  for n in sorted(os.listdir(os.path.join(s.folder, "config")))
                                  if os.path.isdir(os.path.join(s.folder, "config"))]:
        if os.path.isfile(path):
            files[os.path.relpath(path, s.folder)] = open(path, "rb").read()
    return files


def settle_files(s, timeout=20):
    """Waits until the data files read the same twice half a second apart."""
    last = [data_files(s)]

    def still():
        time.sleep(0.5)
        now = data_files(s)
        same = now == last[0]
        last[0] = now
        return same
    wait_for(still, timeout, "the data files to stop changing")


def rkp_values(s, names, key):
    return [ini_value(os.path.join(s.folder, "config", n + ".rkp"), "Setting", key) for n in names]


class ConfigProgram:
    """A running TolkCfg: its process, its main window and the key page inside it."""

    def __init__(self, session, timeout=60):
        self.ui = pointer_module()
        self.s = session
        env = dict(session.env)
        env["WINEDEBUG"] = "-all,+debugstr"
        self.log = os.path.join(session.work, "cfg-debug.log")
        self.proc = session.start(os.path.join(session.folder, "TolkCfg.exe"), env=env, log=self.log)
        skins = os.path.join(session.folder, "skins")
        try:
            self.main = self.ui.SkinnedWindow(CFG_TITLE, self.skin("skin_main.ini"), timeout=timeout)
        except self.ui.PointerError as error:
            raise Failure("TolkCfg showed no window: %s (exit code %s)" % (error, self.proc.poll()))
        self.page = self.main.page(self.skin("skin_main_control.ini"), self.main.skin.frame())
        self.warn_skin = self.skin("skin_reset_warn.ini")
        self.park()
        wait_for(self.filled, timeout, "the main window to show its profiles and its key page")

    def skin(self, file_name):
        """A skin file of the program folder at the session's display scaling."""
        return self.ui.Skin(os.path.join(self.s.folder, "skins"), file_name, percent=self.s.percent)

    def filled(self):
        """The window has the skin's size, its profile labels are written and the key page is in place."""
        _, _, width, height = self.ui.window_geometry(self.main.wid)
        if (width, height) != self.main.skin.size():
            return False
        shot = self.main.screenshot()
        label = self.main.skin.rect(CFG_LABEL[1])
        written = (self.ui.mean_difference(shot.crop(label), self.main.skin.picture("Main").crop(label))
                   > CFG_LABEL_WRITTEN)
        page = self.page.shows(PAGE_RESET)
        return written and page[0] == "Main" and page[1] < self.ui.PICTURE_TOLERANCE

    def park(self):
        """The pointer away from the window, so that no control shows its hover picture.

        A hovered button holds the mouse capture and sees the pointer go by the next move. Under
        Wine no move reaches it once the pointer is off Wine's windows, so the pointer first rests on
        an empty spot of the window, as a hand passes over the background on its way out."""
        x, y, width, height = self.ui.window_geometry(self.main.wid)
        spot = [self.ui.scale(v, self.s.percent) for v in CFG_EMPTY_SPOT]
        self.ui.move_pointer(x + spot[0] - 1, y + spot[1])
        self.ui.move_pointer(x + spot[0], y + spot[1])
        screen_w, screen_h = [int(v) for v in self.ui.xdotool("getdisplaygeometry").split()]
        for px, py in ((screen_w - 2, screen_h - 2), (2, screen_h - 2), (screen_w - 2, 2), (2, 2)):
            if not (x <= px < x + width and y <= py < y + height):
                self.ui.move_pointer(px, py)
                return
        raise Failure("the window covers the whole screen")

    def click(self, key):
        self.main.click(key)
        self.park()

    def click_page(self, key):
        self.page.click(key)
        self.park()

    def checked(self, key):
        return self.main.is_checked(key)

    def page_checked(self, key):
        return self.page.is_checked(key)

    def wait_screen(self, predicate, what, timeout=15):
        """Waits until predicate() holds for what the screen shows (each call takes a screenshot)."""
        last = [None]

        def attempt():
            try:
                return predicate()
            except self.ui.PointerError as error:
                last[0] = error
                return False
        try:
            wait_for(attempt, timeout, what)
        except Failure as failure:
            raise Failure("%s%s" % (failure, " (%s)" % last[0] if last[0] else ""))

    def expect_page(self, mode, switches, what, timeout=15):
        """The key page shows the mode button and the five key switches as given (True = checked)."""
        def shown():
            shot = self.page.screenshot()
            return (self.page.is_checked(PAGE_MODE, shot) == mode and
                    [self.page.is_checked(PAGE_SWITCH[n], shot) for n in range(1, 6)] == list(switches))
        self.wait_screen(shown, what, timeout)

    def expect_slot(self, slot, what, timeout=15):
        def shown():
            shot = self.main.screenshot()
            return [self.main.is_checked(CFG_SLOT[n], shot) for n in range(1, 6)] == [n == slot for n in range(1, 6)]
        self.wait_screen(shown, what, timeout)

    def shot_folder(self):
        folder = os.path.join(self.s.build, "screenshots", "tolkcfg")
        os.makedirs(folder, exist_ok=True)
        return folder

    def save_shot(self, name):
        path = os.path.join(self.shot_folder(), name + ".png")
        self.main.screenshot().save(path)
        return path

    def apply_and_wait(self, changed, what, timeout=60):
        """Clicks Apply, waits for changed() and then for the files to stop changing: config.ini is
        written first, then the profile files and the macro library one after another."""
        self.click(CFG_APPLY)
        wait_for(changed, timeout, what)
        settle_files(self.s)

    def wait_exit(self, timeout, what):
        try:
            self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("TolkCfg did not end within %.0f s %s" % (timeout, what))

    def find_new_window(self, skin, known, timeout=20):
        """The visible window of skin's size that was not among known (X window ids)."""
        size = skin.size()

        def found():
            for wid in self.ui.xdotool("search", "--onlyvisible", "--name", "", check=False).split():
                if wid not in known:
                    try:
                        if self.ui.window_geometry(wid)[2:] == size:
                            return wid
                    except self.ui.PointerError:
                        pass
            return None
        return wait_for(found, timeout, "a new %dx%d window (%s)" % (size[0], size[1], skin.file_name))

    def visible_windows(self):
        return set(self.ui.xdotool("search", "--onlyvisible", "--name", "", check=False).split())

    def debug(self):
        return [line for line in self.s.read(self.log).splitlines() if "debugstr" in line]


CFG_NAMES = ["Alpha", "Bravo", "Gamma", "Delta", "Echo"]


def scenario_cfg_second_instance(s):
    write_profile_folder(s, CFG_NAMES, 1)
    cfg = ConfigProgram(s)
    before = cfg.visible_windows()
    second = s.start(os.path.join(s.folder, "TolkCfg.exe"))
    try:
        second.wait(timeout=30)
    except subprocess.TimeoutExpired:
        raise Failure("the second TolkCfg did not end by itself")
    check(cfg.proc.poll() is None, "the first TolkCfg ended")
    after = cfg.visible_windows()
    check(after == before, "the second TolkCfg left windows behind: %s" % sorted(after - before))
    titled = [w for w in after if cfg.ui.xdotool("getwindowname", w, check=False).rstrip("\n") == CFG_TITLE]
    check(len(titled) == 1, "%d windows are titled %r" % (len(titled), CFG_TITLE))
    # The first one still answers the user.
    cfg.click(CFG_SLOT[4])
    cfg.expect_slot(4, "slot 4 to be checked in the first TolkCfg")


def scenario_cfg_without_host(s):
    # Profile 2 is current, with the mode on; profile 3 has the mode off and key 2 switched off.
    write_profile_folder(s, CFG_NAMES, 2, modes={2: 0}, flags={3: (0, 1, 0, 0, 0)})
    cfg = ConfigProgram(s)
    cfg.expect_slot(2, "slot 2 (CurrentProfile=2 of config.ini) checked")
    cfg.expect_page(True, [True] * 5, "the key page to show profile 2 (mode on, every key on)")
    shot = cfg.main.screenshot()
    labels = [shot.crop(cfg.main.skin.rect(CFG_LABEL[n])).convert("L") for n in range(1, 6)]
    brightest = max(range(5), key=lambda i: max(labels[i].getdata()))
    check(brightest == 1, "label %d is drawn brightest, not the current profile's label 2" % (brightest + 1))
    cfg.save_shot("main_key_page")

    # Apply writes what was read back: config.ini and all five profile files, key assignments included.
    cfg.apply_and_wait(lambda: all(v is not None for v in rkp_values(s, CFG_NAMES, "ButtonInfo0")),
                       "Apply to write the profile files")
    check(ini_value(s.config_ini, "Setting", "CurrentProfile") == "2", "CurrentProfile is not 2 after Apply")
    check([ini_value(s.config_ini, "FileName", "Profile%d" % i) for i in range(1, 6)] == CFG_NAMES,
          "config.ini names changed after Apply")
    check(rkp_values(s, CFG_NAMES, "Mode") == ["1", "0", "1", "1", "1"], "modes were written as %s"
          % rkp_values(s, CFG_NAMES, "Mode"))
    check(ini_value(os.path.join(s.folder, "config", "Gamma.rkp"), "Setting", "key1") == "1",
          "profile 3's key switch 2 was not kept")

    # Slot 3, then Cancel: the key page shows profile 3, and nothing is written.
    saved = data_files(s)
    cfg.click(CFG_SLOT[3])
    cfg.expect_slot(3, "slot 3 to be checked")
    cfg.expect_page(False, [True, False, True, True, True], "the key page to show profile 3")
    cfg.save_shot("profile_3_selected")
    cfg.click(CFG_CANCEL)
    cfg.wait_exit(30, "after Cancel")
    check(data_files(s) == saved, "Cancel after selecting slot 3 changed the data files")

    # Slot 3, then Apply.
    cfg = ConfigProgram(s)
    cfg.expect_slot(2, "slot 2 still current after the cancelled change")
    cfg.click(CFG_SLOT[3])
    cfg.expect_slot(3, "slot 3 to be checked")
    cfg.apply_and_wait(lambda: ini_value(s.config_ini, "Setting", "CurrentProfile") == "3",
                       "CurrentProfile=3 after Apply")

    # Key switch 1 off and the mode on: every profile takes both, on Apply only.
    saved = data_files(s)
    cfg.click_page(PAGE_SWITCH[1])
    cfg.click_page(PAGE_MODE)
    cfg.expect_page(True, [False, False, True, True, True], "key switch 1 off and the mode on")
    check(data_files(s) == saved, "clicks on the key page wrote files before Apply")
    cfg.apply_and_wait(lambda: rkp_values(s, CFG_NAMES, "Mode") == ["0"] * 5, "Mode=0 in all five profiles")
    check(rkp_values(s, CFG_NAMES, "key0") == ["1"] * 5, "key switch 1 is %s in the profile files"
          % rkp_values(s, CFG_NAMES, "key0"))
    check(rkp_values(s, CFG_NAMES, "key1") == ["0", "0", "1", "0", "0"],
          "the other key switches changed: %s" % rkp_values(s, CFG_NAMES, "key1"))

    # Hovering key button 4 lights line 4 and only it; leaving hides it again.
    before = cfg.page.screenshot().crop(LINE_AREA)
    cfg.page.point(PAGE_KEY[4])
    line = cfg.ui.Image.open(os.path.join(s.folder, "skins", "key_line.bmp")).convert("RGB")
    masks = {n: cfg.ui.Image.open(os.path.join(s.folder, "skins", "key%d_line_mask.bmp" % n)).convert("L")
             for n in (1, 4)}

    def line_shown(n, area):
        """How near the area is to the line picture where mask n lets the line through."""
        visible = masks[n].point(lambda v: 255 if v < 128 else 0)
        diff = cfg.ui.ImageChops.difference(area, line).convert("L")
        return cfg.ui.ImageStat.Stat(diff, visible).mean[0]
    cfg.wait_screen(lambda: line_shown(4, cfg.page.screenshot().crop(LINE_AREA)) < 8, "line 4 to light up")
    lit = cfg.page.screenshot().crop(LINE_AREA)
    check(cfg.ui.mean_difference(lit, before) > 0.5, "hovering key 4 changed nothing in the line area")
    check(line_shown(1, before) > line_shown(4, lit) + 8, "line 1's place looked lit before hovering")
    check(line_shown(1, lit) > line_shown(4, lit) + 8, "line 1 lit up with line 4")
    cfg.save_shot("hover_key_4")
    cfg.park()
    cfg.wait_screen(lambda: cfg.ui.mean_difference(cfg.page.screenshot().crop(LINE_AREA), before) < 0.5,
                    "line 4 to go when the pointer left")

    # Reset, cancelled: nothing changes on the screen or in the files.
    saved = data_files(s)
    known = cfg.visible_windows()
    cfg.click_page(PAGE_RESET)
    warn = cfg.ui.SkinnedWindow(None, cfg.warn_skin, wid=cfg.find_new_window(cfg.warn_skin, known))
    warn.click(WARN_CANCEL)
    cfg.park()
    wait_for(lambda: warn.wid not in cfg.visible_windows(), 15, "the warning to close")
    cfg.expect_page(True, [False, False, True, True, True], "the key page unchanged after a cancelled reset")
    time.sleep(1)
    check(data_files(s) == saved, "a cancelled reset changed the data files")

    # Reset, confirmed: the defaults are written at once, without Apply.
    known = cfg.visible_windows()
    cfg.click_page(PAGE_RESET)
    warn = cfg.ui.SkinnedWindow(None, cfg.warn_skin, wid=cfg.find_new_window(cfg.warn_skin, known))
    cfg.save_shot("reset_warning")
    warn.click(WARN_OK)
    cfg.park()
    defaults = ["Default%d" % i for i in range(5)]
    # config.ini is written first, then the profile files one by one.
    wait_for(lambda: ([ini_value(s.config_ini, "FileName", "Profile%d" % i) for i in range(1, 6)] == defaults
                      and rkp_values(s, defaults, "key4") == ["0"] * 5), 30, "the default profiles to be written")
    settle_files(s)
    check(ini_value(s.config_ini, "Setting", "CurrentProfile") == "1", "CurrentProfile is not 1 after reset")
    check(rkp_values(s, defaults, "Mode") == ["1"] * 5 and rkp_values(s, defaults, "key0") == ["0"] * 5,
          "the default profile files hold %s / %s" % (rkp_values(s, defaults, "Mode"), rkp_values(s, defaults, "key0")))
    cfg.expect_slot(1, "slot 1 after reset")
    cfg.expect_page(False, [True] * 5, "the defaults on the key page after reset")
    cfg.click(CFG_CANCEL)
    cfg.wait_exit(30, "after Cancel")


def scenario_cfg_import(s):
    write_profile_folder(s, CFG_NAMES, 2)
    race = os.path.join(s.work, "files", "Race.rkp")
    write_profile_file(race, mode=0, flags=(1, 0, 1, 0, 1), games=("race.exe", "", ""))
    cfg = ConfigProgram(s)
    cfg.expect_slot(2, "slot 2 checked")
    known = cfg.visible_windows()
    cfg.click(CFG_IMPORT)
    # Wine's open-file dialog: the file name field has the focus; the pointer rests on the dialog so
    # that the typed keys reach it.
    dialog = cfg.ui.find_window("Open", timeout=30)
    check(dialog not in known, "no new open-file dialog")
    x, y, width, height = cfg.ui.window_geometry(dialog)
    cfg.ui.move_pointer(x + width // 2, y + 10)
    time.sleep(0.5)
    cfg.ui.press_keys("ctrl+a")
    cfg.ui.type_text(win_path(race))
    cfg.ui.grab((x, y, x + width, y + height)).save(os.path.join(cfg.shot_folder(), "import_dialog.png"))
    cfg.ui.press_keys("Return")
    wait_for(lambda: dialog not in cfg.visible_windows(), 30, "the open-file dialog to close")
    cfg.park()
    cfg.expect_page(True, [False, True, False, True, False], "the imported profile on the key page")
    check(os.path.exists(os.path.join(s.folder, "Race.rkp")), "the import left no copy in the program folder")
    check(ini_value(s.config_ini, "FileName", "Profile2") == "Bravo", "the import renamed before Apply")
    cfg.apply_and_wait(lambda: ini_value(s.config_ini, "FileName", "Profile2") == "Race",
                       "config.ini to name profile 2 Race")
    saved = os.path.join(s.folder, "config", "Race.rkp")
    check(os.path.exists(saved), "config\\Race.rkp was not written")
    check(ini_value(saved, "Setting", "GameFile0") == "race.exe" and ini_value(saved, "Setting", "Mode") == "0",
          "config\\Race.rkp does not hold the imported profile")
    check([ini_value(s.config_ini, "FileName", "Profile%d" % i) for i in (1, 3, 4, 5)]
          == ["Alpha", "Gamma", "Delta", "Echo"], "the import touched other slots")


def scenario_cfg_with_host(s):
    s.start_simulator()
    s.start_host()
    cfg = ConfigProgram(s)
    cfg.expect_slot(1, "slot 1 of the host's block")
    cfg.expect_page(False, [True] * 5, "the keyboard's mode and switches on the key page")
    cfg.save_shot("with_host")

    # Clicks, then Apply: the keyboard and the host's block take them.
    cfg.click_page(PAGE_MODE)
    cfg.click_page(PAGE_SWITCH[1])
    cfg.expect_page(True, [False, True, True, True, True], "mode on and key switch 1 off")
    check(s.sim_state()["mode"] == 1, "the keyboard changed before Apply")
    # The host pushes the mode second and the key switches last.
    cfg.apply_and_wait(lambda: (lambda st: st["mode"] == 0 and st["switch"] == 1)(s.sim_state()),
                       "the keyboard to take mode 0 and key switch mask 1 (%s)" % "key 1 off")
    block = s.read_block()
    check([block.mode(p) for p in range(1, 6)] == [0] * 5, "the block's modes are not 0")
    check([block.key_flag(p, 1) for p in range(1, 6)] == [1] * 5, "the block's key switch 1 is not off")

    # The window never waits for the host. With the host's process held still, an Apply saves the
    # block at once and waits for the answer with "Updating the keyboard..." on the status line,
    # while the window switches pages; the host, running again, answers and pushes.
    cfg.click_page(PAGE_SWITCH[2])
    cfg.expect_page(True, [False, False, True, True, True], "key switch 2 off")
    sent = "request 2 sent; the host's answer is awaited"
    ended = "request 2 ended (outcome 0)"
    os.kill(s.host.pid, signal.SIGSTOP)
    with open("/proc/%d/status" % s.host.pid) as status:
        check("TolkHid.exe" in status.readline(), "the process held still is not the host's")
    try:
        cfg.click(CFG_APPLY)
        wait_for(lambda: any(sent in line for line in cfg.debug()), 30, "the apply to wait for the held host")
        check(s.read_block().key_flag(1, 2) == 1, "the block was not written before the host's answer")
        cfg.save_shot("apply_updating")
        cfg.click(CFG_TAB_UPDATE)
        cfg.wait_screen(lambda: cfg.checked(CFG_TAB_UPDATE) and not cfg.checked(CFG_TAB_KEYS),
                        "the Update page to open while the apply waits for the host")
        check(not any(ended in line for line in cfg.debug()), "the apply ended while the host was held")
    finally:
        os.kill(s.host.pid, signal.SIGCONT)
    wait_for(lambda: any(ended in line for line in cfg.debug()), 30, "the host's answer to the apply")
    wait_for(lambda: s.sim_state()["switch"] == 3, 30, "the keyboard to take key switch mask 3")
    cfg.save_shot("apply_answered")
    cfg.click(CFG_TAB_KEYS)
    cfg.wait_screen(lambda: cfg.checked(CFG_TAB_KEYS), "the key page back")
    settle_files(s)

    # The keyboard's own mode change reaches the window (data changed).
    s.ctl("mode", "1")
    cfg.expect_page(False, [False, False, True, True, True], "the mode button to follow the keyboard")

    # A keyboard reset makes the window take over the defaults (device ready): the key switch the
    # reset turned on again is the keyboard's, while the choice of slot 3, which the reset did not
    # change (the keyboard was on slot 1 before and after), stays the user's unapplied edit.
    cfg.click(CFG_SLOT[3])
    cfg.expect_slot(3, "slot 3 selected, not applied")
    s.ctl("reset")
    cfg.expect_page(False, [True] * 5, "the keyboard's defaults after its reset", timeout=30)
    cfg.expect_slot(3, "the unapplied choice of slot 3 after the keyboard's reset")

    # The host's shut-down closes the configuration program.
    s.stop_host()
    cfg.wait_exit(30, "after the host shut down")


def scenario_cfg_tabs(s):
    write_profile_folder(s, CFG_NAMES, 1)
    cfg = ConfigProgram(s)
    key_page = cfg.page.screenshot()
    check(cfg.checked(CFG_TAB_KEYS) and not cfg.checked(CFG_TAB_UPDATE), "the Keys tab is not the checked one")
    # The tab of the page shown stays checked when clicked again.
    cfg.click(CFG_TAB_KEYS)
    cfg.wait_screen(lambda: cfg.checked(CFG_TAB_KEYS), "the Keys tab to stay checked")
    for tab, name in ((CFG_TAB_UPDATE, "update_tab"), (CFG_TAB_HELP, "help_tab")):
        cfg.click(tab)
        cfg.wait_screen(lambda: [cfg.checked(t) for t in (CFG_TAB_KEYS, CFG_TAB_UPDATE, CFG_TAB_HELP)]
                        == [t == tab for t in (CFG_TAB_KEYS, CFG_TAB_UPDATE, CFG_TAB_HELP)],
                        "exactly the %s to be checked" % name)
        check(cfg.ui.mean_difference(cfg.page.screenshot(), key_page) > 5, "the key page is still shown")
        cfg.save_shot(name)
    cfg.click(CFG_TAB_KEYS)
    cfg.wait_screen(lambda: cfg.ui.mean_difference(cfg.page.screenshot(), key_page) < 1, "the key page back")



def scenario_cfg_dpi192(s):
    """TolkCfg at 200 % display scaling (LogPixels 192, in a copy of the Wine prefix): the main window,
    its key page and the reset warning open at twice their 100 % size and show the pictures drawn
    for 200 % (not the 100 % ones stretched); clicks at the scaled centres of "BUTTONPOS" rectangles
    reach their controls. Screenshots: screenshots/dpi192/tolkcfg_*.png."""
    from PIL import Image
    s.use_dpi(192)
    write_profile_folder(s, CFG_NAMES, 1)
    # The first program in the fresh copy of the prefix may wait for Wine to set the copy up.
    cfg = ConfigProgram(s, timeout=150)  # the window at the 200 % picture's size with the page in place
    ui = cfg.ui
    skins = os.path.join(s.folder, "skins")
    shots = os.path.join(s.build, "screenshots", "dpi192")
    os.makedirs(shots, exist_ok=True)

    def at_100(file_name):
        return ui.Skin(skins, file_name)

    def twice(window_skin, file_name):
        small = at_100(file_name).size()
        check(window_skin.size() == (small[0] * 2, small[1] * 2),
              "%s: the 200 %% pictures are %s, not twice %s" % (file_name, window_skin.size(), small))

    def own_pictures(window, file_name, keys, what):
        """The window's controls show its 200 % pictures: closer to them than to the 100 % ones stretched."""
        shot = window.screenshot()
        stretched = at_100(file_name).picture("Main").resize(window.skin.size(), Image.BICUBIC)
        for key in keys:
            box = window.skin.rect(key)
            own = ui.mean_difference(shot.crop(box), window.skin.picture("Main").crop(box))
            other = ui.mean_difference(shot.crop(box), stretched.crop(box))
            check(own < ui.PICTURE_TOLERANCE and own < other,
                  "%s: key %s shows no 200 %% picture (difference %.2f to it, %.2f to the 100 %% one stretched)"
                  % (what, key, own, other))

    _, _, width, height = ui.window_geometry(cfg.main.wid)
    twice(cfg.main.skin, "skin_main.ini")
    check((width, height) == cfg.main.skin.size(), "the main window is %dx%d" % (width, height))
    own_pictures(cfg.main, "skin_main.ini", [CFG_TAB_UPDATE, CFG_TAB_HELP, CFG_APPLY, CFG_CANCEL] +
                 [CFG_SLOT[n] for n in (2, 3, 4, 5)], "main window")
    own_pictures(cfg.page, "skin_main_control.ini", [PAGE_RESET], "key page")
    cfg.main.screenshot().save(os.path.join(shots, "tolkcfg_main.png"))

    # Clicks at scaled centres: a slot, a key switch, the Help tab and back.
    cfg.click(CFG_SLOT[3])
    cfg.expect_slot(3, "profile slot 3 chosen by a click at its scaled centre")
    switch_on = cfg.page_checked(PAGE_SWITCH[2])
    cfg.click_page(PAGE_SWITCH[2])
    cfg.wait_screen(lambda: cfg.page_checked(PAGE_SWITCH[2]) != switch_on, "key switch 2 to change")
    cfg.click(CFG_TAB_HELP)
    cfg.wait_screen(lambda: cfg.checked(CFG_TAB_HELP) and not cfg.checked(CFG_TAB_KEYS), "the Help tab")
    cfg.main.screenshot().save(os.path.join(shots, "tolkcfg_help_tab.png"))
    cfg.click(CFG_TAB_KEYS)
    cfg.wait_screen(lambda: cfg.checked(CFG_TAB_KEYS), "the Keys tab back")

    # A skinned dialog: the reset warning, at twice its size, closed by a click on Cancel.
    known = cfg.visible_windows()
    cfg.click_page(PAGE_RESET)
    twice(cfg.warn_skin, "skin_reset_warn.ini")
    warn = ui.SkinnedWindow(None, cfg.warn_skin, wid=cfg.find_new_window(cfg.warn_skin, known))
    time.sleep(0.5)
    own_pictures(warn, "skin_reset_warn.ini", [WARN_OK, WARN_CANCEL], "reset warning")
    warn.screenshot().save(os.path.join(shots, "tolkcfg_reset_warning.png"))
    warn.click(WARN_CANCEL)
    cfg.park()
    wait_for(lambda: warn.wid not in cfg.visible_windows(), 15, "the warning to close on Cancel")

    # The key menu, owner-drawn at 200 %: items twice as high, chosen at their scaled centres; its
    # "Create New Macro..." opens the macro manager at twice its size; its switch shows the timing
    # editor (the timing list's picture of 200 %).
    heights = [ui.scale(MENU_ITEM_HEIGHT, s.percent)] * len(KEY_MENU)
    known, menu = open_key_menu(cfg, 1)
    check(menu[3] >= sum(heights) and menu[3] < sum(heights) + 20,
          "the key menu is %d high for items of %d" % (menu[3], heights[0]))
    time.sleep(0.3)
    ui.grab((menu[0], menu[1], menu[0] + menu[2], menu[1] + menu[3])).save(os.path.join(shots, "tolkcfg_key_menu.png"))
    choose(cfg, menu, heights, KEY_MENU.index("Assign Macro"))
    submenu = wait_menu(cfg, known | {w for w, g in menu_windows(cfg, known) if g == menu},
                        (menu[0] + menu[2], menu[1]), "the macro submenu to open")
    time.sleep(0.3)
    both = (menu[0], min(menu[1], submenu[1]), submenu[0] + submenu[2],
            max(menu[1] + menu[3], submenu[1] + submenu[3]))
    ui.grab(both).save(os.path.join(shots, "tolkcfg_key_menu_macro.png"))
    choose(cfg, submenu, [ui.scale(MENU_ITEM_HEIGHT, s.percent)], 0)
    manager_skin = cfg.skin("skin_macro_manager.ini")
    twice(manager_skin, "skin_macro_manager.ini")
    manager = ui.SkinnedWindow(None, manager_skin, wid=cfg.find_new_window(manager_skin, known))
    time.sleep(0.5)
    own_pictures(manager, "skin_macro_manager.ini", [MANAGER_SET, MANAGER_ADD, MANAGER_OK], "macro manager")
    manager.screenshot().save(os.path.join(shots, "tolkcfg_macro_manager.png"))
    manager.click(MANAGER_SWITCH)
    time.sleep(1.0)
    manager.screenshot().save(os.path.join(shots, "tolkcfg_macro_manager_advanced.png"))
    manager.click(MANAGER_CANCEL)
    cfg.park()
    wait_for(lambda: manager.wid not in cfg.visible_windows(), 15, "the macro manager to close on Cancel")


# The key menu (an owner-drawn popup under the key button): its items are 18 pixels high, its
# separators 5, placed in the middle of the menu window between equal margins.
MENU_ITEM_HEIGHT = 18
MENU_SEPARATOR_HEIGHT = 5
# The top-level items in order, and those of "Assign a timer" before its timers.
KEY_MENU = ["Assign Macro", "Assign a shortcut", "Assign a timer", "Multimedia", "Internet Explorer", "Button off"]
MEDIA_MENU = ["Open Player", "Pre Track", "Next Track", "Play/Pause", "Stop", "Mute", "Volume Up", "Volume Down",
              "Select Player"]
# The player dialog's choice button and its cancel button (skin_select_player.ini).
PLAYER_CHOICE, PLAYER_CANCEL = 7, 5
TIMER_MENU = ["Create Timer", "Edit/Delete Timer", "Stop Timer"]
# Shortcut dialog keys (skins\skin_assign_shortcut.ini): the key name field, OK and the Ctrl toggle.
SHORTCUT_NAME, SHORTCUT_OK, SHORTCUT_CTRL = 1, 2, 8
# Timer creation dialog keys (skins\skin_count_down.ini): name, length, OK.
TIMER_NAME, TIMER_LENGTH, TIMER_OK = 1, 2, 10
# What the keyboard stores for Ctrl+F5 (21 bytes): Ctrl (device code 7D) down, F5 (8F) down and up,
# Ctrl up, in (code, 01 down / 00 up) pairs.
CTRL_F5_SEQUENCE = "7D01" "8F01" "8F00" "7D00" + "00" * 13
NO_SEQUENCE = "00" * 21


def timer_library(s):
    """The timers of config\\Timer.ini as (name, seconds), each entry decoded and its sum checked."""
    path = os.path.join(s.folder, "config", "Timer.ini")
    section = read_ini(path).get("timer", {})
    timers = []
    for i in range(int(section.get("count", "0"))):
        data = bytes.fromhex(section.get(str(i), ""))
        check(len(data) == 105 and sum(data[:104]) & 0xFF == data[104],
              "timer %d of Timer.ini is not a whole entry: %r" % (i, section.get(str(i))))
        seconds = struct.unpack_from("<i", data, 0)[0]
        timers.append((data[4:104].split(b"\0")[0].decode("latin-1"), seconds))
    return timers


def menu_windows(cfg, known):
    """The windows shown since known, with their geometry, top to bottom."""
    found = []
    for wid in cfg.ui.xdotool("search", "--onlyvisible", "--class", "", check=False).split():
        if wid in known:
            continue
        try:
            found.append((wid, cfg.ui.window_geometry(wid)))
        except cfg.ui.PointerError:
            pass
    return found


def wait_menu(cfg, known, near, what):
    """The new menu window whose top-left corner is nearest to near (x, y); returns its geometry."""
    def found():
        windows = [g for _, g in menu_windows(cfg, known) if g[2] > 20 and g[3] > 20]
        if not windows:
            return None
        return min(windows, key=lambda g: abs(g[0] - near[0]) + abs(g[1] - near[1]))
    return wait_for(found, 15, what)


def menu_item_centre(geometry, heights, index):
    """Screen point in the middle of item index of a menu window whose items have those heights."""
    x, y, width, height = geometry
    top = y + (height - sum(heights)) // 2
    return x + width // 2, top + sum(heights[:index]) + heights[index] // 2


def open_key_menu(cfg, key):
    """Clicks key button key on the key page; the geometry of the menu that opens under it. The
    pointer stays on the button (a key press only reaches a window under the pointer)."""
    known = cfg.visible_windows() | set(cfg.ui.xdotool("search", "--onlyvisible", "--class", "", check=False).split())
    left, _, _, bottom = cfg.page.screen_rect(PAGE_KEY[key])
    cfg.page.click(PAGE_KEY[key])
    return known, wait_menu(cfg, known, (left, bottom), "the menu of key %d to open" % key)


def choose(cfg, geometry, heights, index):
    x, y = menu_item_centre(geometry, heights, index)
    cfg.ui.move_pointer(x - 1, y)
    cfg.ui.move_pointer(x, y)
    time.sleep(0.3)
    cfg.ui.click()


def key_caption(cfg, key):
    """Key button key as the screen shows it, the pointer away."""
    cfg.park()
    return cfg.page.screenshot().crop(cfg.page.skin.rect(PAGE_KEY[key]))


def scenario_cfg_assign_shortcut_timer(s):
    s.start_simulator()
    # The host's countdown plays its cues through the system's sound player: the sound calls are
    # what tells that it runs (a virtual display has no sound device to hear them).
    s.start_host(extra_env={"WINEDEBUG": "-all,+debugstr,+winmm"})
    # Key 2 holds a shortcut in the keyboard (Ctrl+A) that the timer must take away.
    block = s.read_block()
    block.current = 1
    block.set_shortcut(1, 2, 0x04, ctrl=1)
    s.apply_block(block)
    check(s.sim_state()["keys"][(1, 2)] != NO_SEQUENCE, "the keyboard took no sequence for key 2")
    check(s.sim_state()["keys"][(1, 1)] != CTRL_F5_SEQUENCE, "key 1 holds Ctrl+F5 already")
    cfg = ConfigProgram(s)
    cfg.expect_slot(1, "slot 1 of the host's block")
    skins = os.path.join(s.folder, "skins")
    timer_skin = cfg.ui.Skin(skins, "skin_count_down.ini")
    root_heights = [MENU_ITEM_HEIGHT] * len(KEY_MENU)

    # Key 1: its menu, "Assign a shortcut", opened under the key's button.
    def menu_shown(menu):
        left, top, right, bottom = cfg.page.screen_rect(PAGE_KEY[1])
        check(abs(menu[0] - left) <= 4 and abs(menu[1] - bottom) <= 4,
              "the menu opened at %s, not under key 1's button at %s" % (menu[:2], (left, bottom)))
        check(menu[3] >= sum(root_heights), "the menu is %d pixels high, too low for its %d items"
              % (menu[3], len(KEY_MENU)))
        x, y, width, height = cfg.ui.window_geometry(cfg.main.wid)
        cfg.ui.grab((x, y, max(x + width, menu[0] + menu[2]), max(y + height, menu[1] + menu[3]))).save(
            os.path.join(cfg.shot_folder(), "key_menu.png"))
    assign_shortcut(cfg, 1, "F5", ctrl=True, on_menu=menu_shown)
    cfg.save_shot("key_1_shortcut")

    # A timer through "Assign a timer" > "Create Timer".
    caption_2 = key_caption(cfg, 2)
    known, menu = open_key_menu(cfg, 2)
    choose(cfg, menu, root_heights, KEY_MENU.index("Assign a timer"))
    timer_heights = [MENU_ITEM_HEIGHT] * len(TIMER_MENU)
    submenu = wait_menu(cfg, known | {w for w, g in menu_windows(cfg, known) if g == menu},
                        (menu[0] + menu[2], menu[1]), "the timer submenu to open")
    choose(cfg, submenu, timer_heights, TIMER_MENU.index("Create Timer"))
    dialog = cfg.ui.SkinnedWindow(None, timer_skin, wid=cfg.find_new_window(timer_skin, known))
    dialog.click(TIMER_NAME)
    cfg.ui.type_text("Tea break")
    dialog.click(TIMER_LENGTH)
    cfg.ui.press_keys("End", "BackSpace", "BackSpace", "BackSpace", "BackSpace")
    cfg.ui.type_text("12")
    time.sleep(0.5)
    dialog.screenshot().save(os.path.join(cfg.shot_folder(), "create_timer_dialog.png"))
    dialog.click(TIMER_OK)
    wait_for(lambda: dialog.wid not in cfg.visible_windows(), 15, "the timer dialog to close")
    wait_for(lambda: timer_library(s), 15, "config\\Timer.ini to hold the timer")
    check(timer_library(s) == [("Tea break", 12)], "Timer.ini holds %s" % timer_library(s))
    cfg.park()
    check(cfg.ui.mean_difference(key_caption(cfg, 2), caption_2) < 1, "creating a timer relabelled key 2")

    # The timer on key 2: "Assign a timer" > "Tea break", below the separator.
    known, menu = open_key_menu(cfg, 2)
    choose(cfg, menu, root_heights, KEY_MENU.index("Assign a timer"))
    submenu = wait_menu(cfg, known | {w for w, g in menu_windows(cfg, known) if g == menu},
                        (menu[0] + menu[2], menu[1]), "the timer submenu to open")
    timer_heights = [MENU_ITEM_HEIGHT] * len(TIMER_MENU) + [MENU_SEPARATOR_HEIGHT, MENU_ITEM_HEIGHT]
    check(submenu[3] >= sum(timer_heights), "the timer submenu is %d pixels high, too low for the timer"
          % submenu[3])
    x, y, width, height = cfg.ui.window_geometry(cfg.main.wid)
    cfg.ui.grab((x, y, max(x + width, submenu[0] + submenu[2]), max(y + height, submenu[1] + submenu[3]))).save(
        os.path.join(cfg.shot_folder(), "timer_menu.png"))
    choose(cfg, submenu, timer_heights, len(timer_heights) - 1)
    cfg.wait_screen(lambda: cfg.ui.mean_difference(key_caption(cfg, 2), caption_2) > 1,
                    "key 2's caption to change")
    cfg.save_shot("key_2_timer")

    # Apply: the keyboard stores the shortcut and nothing for the timer key, which it reports.
    cfg.apply_and_wait(lambda: (lambda keys: keys[(1, 1)] == CTRL_F5_SEQUENCE and keys[(1, 2)] == NO_SEQUENCE)(
        s.sim_state()["keys"]), "the keyboard to store Ctrl+F5 for key 1 and nothing for key 2")
    block = s.read_block()
    at = block.button_at(1, 1)
    check(block.data[at + 1] == 5 and block.data[at + 2158:at + 2164] == bytes([0x3E, 0, 0, 1, 0, 0]),
          "the host's block holds key 1 as function %d, key %02X, flags %s"
          % (block.data[at + 1], block.data[at + 2158], list(block.data[at + 2159:at + 2164])))
    at = block.button_at(1, 2)
    name = bytes(block.data[at + 2168:at + 2268]).split(b"\0")[0].decode("latin-1")
    seconds = struct.unpack_from("<i", block.data, at + 2164)[0]
    check((block.data[at + 1], seconds, name) == (10, 12, "Tea break"),
          "the host's block holds key 2 as function %d, %d s, %r" % (block.data[at + 1], seconds, name))

    # Key 2 pressed on the keyboard: the host starts the countdown (its start cue) and counts it
    # down a second at a time; at 11 seconds left the last-ten cue plays.
    def sounds():
        return [line for line in s.read(s.host_log).splitlines() if "SoundName=" in line]
    check(not sounds(), "the host played sounds before key 2 was pressed: %s" % sounds()[:3])
    s.ctl("press", "2")
    s.ctl("release", "2")
    wait_for(lambda: any("Countdown.wav" in line for line in sounds()), 30, "the countdown's last-ten cue")
    played = [os.path.basename(line.split("SoundName=", 1)[1].split('"')[1].replace("\\\\", "\\").replace("\\", "/"))
              for line in sounds()]
    check(played[:2] == ["Countdown_Activated.wav", "Countdown.wav"], "the host played %s" % played)
    cfg.click(CFG_CANCEL)
    cfg.wait_exit(30, "after Cancel")


# Macro manager keys (skins\\skin_macro_manager.ini): set button, add, OK; its page frame holds the
# recorder (skins\\skin_macro_record.ini): record button and the record-delay switch.
MANAGER_SET, MANAGER_ADD, MANAGER_OK = 1, 3, 6
MANAGER_SWITCH, MANAGER_CANCEL = 5, 7
RECORD_BUTTON, RECORD_DELAYS = 3, 4
# New set name dialog (skins\\skin_create_macro_set.ini): the name and OK.
SET_NAME, SET_OK = 1, 2
# What is typed while recording: X key names with the milliseconds the hand waits after each
# press or release. Three letters, the middle one held across the next press.
RECORDED_TYPING = [("a", "down", 60), ("a", "up", 110), ("s", "down", 45), ("d", "down", 70), ("s", "up", 35),
                   ("d", "up", 0)]
# Their HID usages and Windows virtual-key codes.
USAGE_OF = {"a": 0x04, "s": 0x16, "d": 0x07}
VK_OF = {"a": 0x41, "s": 0x53, "d": 0x44}


def macro_in_block(block, slot, key):
    """(name, [(usage, action, pause)]) of the macro a key of the block plays."""
    at = block.button_at(slot, key)
    name = bytes(block.data[at + 52:at + 104]).split(b"\0")[0].decode("latin-1")
    count = struct.unpack_from("<H", block.data, at + 108)[0]
    return name, [struct.unpack_from("<BBH", block.data, at + 110 + 4 * i) for i in range(min(count, 512))]


def typing_steps(typing):
    """xdotool arguments that type (X key name, "down" or "up", ms to wait after) steps in one go,
    so that the waits between keys are kept as a hand would keep them."""
    steps = []
    for name, direction, wait in typing:
        steps += ["key" + direction, name]
        if wait:
            steps += ["sleep", "%.3f" % (wait / 1000.0)]
    return steps


def record_new_macro(cfg, key, set_name, macro_name, typing):
    """On an empty library: key's menu "Assign Macro" > "Create New Macro..." opens the macro manager;
    a set and a macro are made in it, typing is recorded with its pauses, and OK saves the library.
    Screenshots: the manager after recording."""
    skins = os.path.join(cfg.s.folder, "skins")
    manager_skin = cfg.ui.Skin(skins, "skin_macro_manager.ini")
    set_skin = cfg.ui.Skin(skins, "skin_create_macro_set.ini")
    known, menu = open_key_menu(cfg, key)
    choose(cfg, menu, [MENU_ITEM_HEIGHT] * len(KEY_MENU), KEY_MENU.index("Assign Macro"))
    submenu = wait_menu(cfg, known | {w for w, g in menu_windows(cfg, known) if g == menu},
                        (menu[0] + menu[2], menu[1]), "the macro submenu to open")
    choose(cfg, submenu, [MENU_ITEM_HEIGHT], 0)
    manager = cfg.ui.SkinnedWindow(None, manager_skin, wid=cfg.find_new_window(manager_skin, known))
    recorder = manager.page(cfg.ui.Skin(skins, "skin_macro_record.ini"), manager_skin.frame())

    # A set through the set button's menu: "[+]Add Macro Set" below the empty line, then its name.
    known = cfg.visible_windows()
    manager.click(MANAGER_SET)
    time.sleep(0.8)
    cfg.ui.press_keys("Down", "Return")
    dialog = cfg.ui.SkinnedWindow(None, set_skin, wid=cfg.find_new_window(set_skin, known))
    dialog.click(SET_NAME)
    cfg.ui.type_text(set_name)
    dialog.click(SET_OK)
    wait_for(lambda: dialog.wid not in cfg.visible_windows(), 15, "the set name dialog to close")
    # A macro in it: Add, its name, Return.
    manager.click(MANAGER_ADD)
    time.sleep(0.5)
    cfg.ui.type_text(macro_name)
    cfg.ui.press_keys("Return")
    time.sleep(0.5)

    # Record with the pauses: the switch, Record, the keys as a hand types them, Stop.
    recorder.click(RECORD_DELAYS)
    cfg.wait_screen(lambda: recorder.is_checked(RECORD_DELAYS), "the record-delay switch to be on")
    recorder.click(RECORD_BUTTON)
    time.sleep(1.0)
    cfg.ui.xdotool(*typing_steps(typing))
    time.sleep(0.5)
    manager.screenshot().save(os.path.join(cfg.shot_folder(), "manager_recorded.png"))
    recorder.click(RECORD_BUTTON)
    time.sleep(0.5)
    manager.click(MANAGER_OK)
    wait_for(lambda: manager.wid not in cfg.visible_windows(), 15, "the manager to close")
    # The file holds the set as a section of its name, the macro as an entry of hex bytes.
    wait_for(lambda: ini_value(os.path.join(cfg.s.folder, "config", "macro.ini"), set_name, "Count") == "1", 15,
             "config\\macro.ini to hold the set with its macro")


def assign_macro(cfg, key, set_index, set_count, macro_index, macro_count):
    """key's menu "Assign Macro" > set > macro: the set's submenu starts with "Create New Macro...",
    "Edit Macro..." and a separator. Screenshot: the menus open."""
    root_heights = [MENU_ITEM_HEIGHT] * len(KEY_MENU)
    known, menu = open_key_menu(cfg, key)
    choose(cfg, menu, root_heights, KEY_MENU.index("Assign Macro"))
    seen = known | {w for w, g in menu_windows(cfg, known) if g == menu}
    macros = wait_menu(cfg, seen, (menu[0] + menu[2], menu[1]), "the macro submenu to open")
    choose(cfg, macros, [MENU_ITEM_HEIGHT, MENU_SEPARATOR_HEIGHT] + [MENU_ITEM_HEIGHT] * set_count, 2 + set_index)
    seen |= {w for w, g in menu_windows(cfg, seen) if g == macros}
    in_set = wait_menu(cfg, seen, (macros[0] + macros[2], macros[1]), "the set's submenu to open")
    x, y, width, height = cfg.ui.window_geometry(cfg.main.wid)
    cfg.ui.grab((x, y, max(x + width, in_set[0] + in_set[2]), max(y + height, in_set[1] + in_set[3]))).save(
        os.path.join(cfg.shot_folder(), "macro_menu.png"))
    choose(cfg, in_set, [MENU_ITEM_HEIGHT, MENU_ITEM_HEIGHT, MENU_SEPARATOR_HEIGHT] + [MENU_ITEM_HEIGHT] * macro_count,
           3 + macro_index)


def assign_shortcut(cfg, key, x_key_name, ctrl=False, on_menu=None, while_open=None, caption_changes=True):
    """key's menu "Assign a shortcut": Ctrl when asked, the key pressed on the keyboard, OK; waits
    until the key's caption changed (when caption_changes). on_menu(geometry) runs while the menu is
    open, while_open() while the dialog is open before the key is pressed. Screenshot: the dialog
    filled."""
    shortcut_skin = cfg.ui.Skin(os.path.join(cfg.s.folder, "skins"), "skin_assign_shortcut.ini")
    caption = key_caption(cfg, key)
    known, menu = open_key_menu(cfg, key)
    if on_menu:
        on_menu(menu)
    choose(cfg, menu, [MENU_ITEM_HEIGHT] * len(KEY_MENU), KEY_MENU.index("Assign a shortcut"))
    dialog = cfg.ui.SkinnedWindow(None, shortcut_skin, wid=cfg.find_new_window(shortcut_skin, known))
    empty_name = dialog.screenshot().crop(shortcut_skin.rect(SHORTCUT_NAME))
    check(not dialog.is_checked(SHORTCUT_CTRL), "Ctrl is on before it was clicked")
    if while_open:
        while_open()
    if ctrl:
        dialog.click(SHORTCUT_CTRL)
        cfg.wait_screen(lambda: dialog.is_checked(SHORTCUT_CTRL), "the Ctrl toggle to be on")
    # The key comes from the keyboard itself; the pointer rests on the dialog.
    dialog.point(SHORTCUT_NAME)
    cfg.ui.press_keys(x_key_name)
    cfg.wait_screen(lambda: cfg.ui.mean_difference(dialog.screenshot().crop(shortcut_skin.rect(SHORTCUT_NAME)),
                                                   empty_name) > 2, "the dialog to name the key pressed")
    dialog.screenshot().save(os.path.join(cfg.shot_folder(), "assign_shortcut_dialog.png"))
    check(dialog.is_checked(SHORTCUT_CTRL) == ctrl, "pressing %s changed the Ctrl toggle" % x_key_name)
    dialog.click(SHORTCUT_OK)
    wait_for(lambda: dialog.wid not in cfg.visible_windows(), 15, "the shortcut dialog to close")
    if caption_changes:
        cfg.wait_screen(lambda: cfg.ui.mean_difference(key_caption(cfg, key), caption) > 1,
                        "key %d's caption to change" % key)


def scenario_cfg_host_during_dialog(s):
    """The host changes the block while a dialog of TolkCfg is open: the edit lands in the profile the
    dialog was opened for, or gives way to the host's change of the same key, and is never written
    into another profile."""
    s.start_simulator()
    s.start_host()
    cfg = ConfigProgram(s)
    cfg.expect_slot(1, "slot 1 of the host's block")

    def game_switch():
        # As the game watch does: the host takes slot 3 and tells TolkCfg that the keyboard is ready.
        block = s.read_block()
        block.current = 3
        s.apply_block(block)
        wait_for(lambda: s.sim_state()["profile"] == 3, 30, "the keyboard to switch to profile 3")
        check(s.link("post", CFG_TITLE, "WM_CFG_DEVICE_READY")[0] == 0, "TolkLink could not post 1254")
        cfg.expect_slot(3, "TolkCfg to follow the switch to slot 3 with the dialog open")
    assign_shortcut(cfg, 2, "F5", ctrl=True, while_open=game_switch, caption_changes=False)
    cfg.park()
    before = s.sim_state()["keys"]
    cfg.apply_and_wait(lambda: s.sim_state()["keys"][(1, 2)] == CTRL_F5_SEQUENCE,
                       "key 2 of profile 1, where the dialog was opened, to hold Ctrl+F5")
    check(s.sim_state()["keys"][(3, 2)] == before[(3, 2)], "the edit reached key 2 of profile 3 as well")
    check(s.sim_state()["profile"] == 3, "the apply undid the host's switch to profile 3")

    # The host gives key 2 of profile 3 Ctrl+A while the dialog for that key is open: its change wins.
    def host_changes_the_key():
        block = s.read_block()
        block.set_shortcut(3, 2, 0x04, ctrl=1)
        s.apply_block(block)
        check(s.link("post", CFG_TITLE, "WM_CFG_DATA_CHANGED")[0] == 0, "TolkLink could not post 1255")
        time.sleep(1)
    assign_shortcut(cfg, 2, "F6", ctrl=True, while_open=host_changes_the_key, caption_changes=False)
    time.sleep(0.5)
    cfg.save_shot("dialog_edit_dropped")
    cfg.park()
    held = s.sim_state()["keys"][(3, 2)]
    check(held != before[(3, 2)], "the keyboard did not take the host's Ctrl+A")
    cfg.click(CFG_APPLY)
    time.sleep(3)
    check(s.sim_state()["keys"][(3, 2)] == held, "the dropped Ctrl+F6 reached the keyboard")
    at = s.read_block().button_at(3, 2)
    check(s.read_block().data[at + 2158] == 0x04, "the host's block lost the host's Ctrl+A")

    # Another player chosen in the player dialog, then Cancel: the profile keeps its player.
    player_skin = cfg.ui.Skin(os.path.join(s.folder, "skins"), "skin_select_player.ini")
    player_before = s.read_block().media_option(3)
    known, menu = open_key_menu(cfg, 1)
    choose(cfg, menu, [MENU_ITEM_HEIGHT] * len(KEY_MENU), KEY_MENU.index("Multimedia"))
    submenu = wait_menu(cfg, known | {w for w, g in menu_windows(cfg, known) if g == menu},
                        (menu[0] + menu[2], menu[1]), "the media submenu to open")
    choose(cfg, submenu, [MENU_ITEM_HEIGHT] * len(MEDIA_MENU), MEDIA_MENU.index("Select Player"))
    dialog = cfg.ui.SkinnedWindow(None, player_skin, wid=cfg.find_new_window(player_skin, known))
    shown = dialog.screenshot().crop(player_skin.rect(PLAYER_CHOICE))
    dialog.click(PLAYER_CHOICE)
    time.sleep(0.5)
    cfg.ui.press_keys("Down", "Down", "Down", "Return")
    cfg.wait_screen(lambda: cfg.ui.mean_difference(dialog.screenshot().crop(player_skin.rect(PLAYER_CHOICE)),
                                                   shown) > 2, "the dialog to show the player chosen")
    dialog.click(PLAYER_CANCEL)
    wait_for(lambda: dialog.wid not in cfg.visible_windows(), 15, "the player dialog to close")
    cfg.park()
    cfg.click(CFG_APPLY)
    time.sleep(3)
    check(s.read_block().media_option(3) == player_before, "the cancelled player choice was applied (%d, not %d)"
          % (s.read_block().media_option(3), player_before))
    cfg.click(CFG_CANCEL)
    cfg.wait_exit(30, "after Cancel")


def scenario_cfg_block_cannot_be_mapped(s):
    """A program holds the block's names with a mapping too small for a profile set: TolkCfg says that
    the block could not be mapped, once, and then works on the profile files as without a host."""
    write_profile_folder(s, CFG_NAMES, 2)
    squat_log = os.path.join(s.work, "squat.log")
    s.start(s.tool("TolkLink.exe"), "squat", "300", log=squat_log)
    wait_for(lambda: "holding" in s.read(squat_log), 30, "TolkLink to hold the block's names")
    started = []
    opening = threading.Thread(target=lambda: started.append(ConfigProgram(s)), daemon=True)
    opening.start()
    ui = pointer_module()
    box = ui.find_window("Error", timeout=60)
    x, y, width, height = ui.window_geometry(box)
    os.makedirs(os.path.join(s.build, "screenshots", "tolkcfg"), exist_ok=True)
    ui.grab((x, y, x + width, y + height)).save(os.path.join(s.build, "screenshots", "tolkcfg", "map_error.png"))
    ui.move_pointer(x + width // 2, y + 10)
    time.sleep(0.5)
    ui.press_keys("Return")
    opening.join(90)
    check(started, "TolkCfg's main window did not open after the message")
    cfg = started[0]
    cfg.expect_slot(2, "slot 2 of config.ini, read from the files")
    cfg.click(CFG_SLOT[4])
    cfg.expect_slot(4, "slot 4 chosen")
    cfg.apply_and_wait(lambda: ini_value(s.config_ini, "Setting", "CurrentProfile") == "4",
                       "Apply to save CurrentProfile=4 without the block")
    check(not [w for w in cfg.visible_windows() if ui.xdotool("getwindowname", w, check=False).strip() == "Error"],
          "the message came again at Apply")
    cfg.click(CFG_OK)
    cfg.wait_exit(30, "after OK, the files saved and no host to wait for")


def scenario_cfg_firmware_arrives(s):
    """The keyboard arrives with another firmware while TolkCfg is open: the version text follows."""
    s.start_simulator()
    s.start_host()
    cfg = ConfigProgram(s)
    area = (294, 14, 414, 30)
    before = cfg.main.screenshot().crop(area)
    s.ctl("remove")
    s.ctl("firmware", "0x0205")
    s.ctl("arrive")
    wait_for(lambda: ini_value(s.config_ini, "Setting", "FWVersion") not in (None, "128"), 60,
             "the host to write the new firmware version")
    cfg.wait_screen(lambda: cfg.ui.mean_difference(cfg.main.screenshot().crop(area), before) > 1,
                    "the firmware text to change")
    cfg.save_shot("firmware_arrived")
    cfg.click(CFG_CANCEL)
    cfg.wait_exit(30, "after Cancel")


def play_recorded(s, key, keys, pauses, tries=3):
    """Presses key on the keyboard until a play of the macro reaches a fresh input window with every
    gap within 2 ms of its recorded pause (the window logs whole milliseconds; a busy machine can
    delay one key, so one of tries plays must keep them all). The events of that play."""
    seen = []
    for attempt in range(tries):
        log = s.start_probe("probe%d" % attempt)
        s.ctl("press", str(key))
        s.ctl("release", str(key))
        wait_for(lambda: len(s.probe_events(log)) >= len(keys), 30, "the macro to reach the window")
        got = s.probe_events(log)
        check([(e[1], e[2]) for e in got] == keys, "keys arrived as %s" % [(e[1], e[2]) for e in got])
        gaps = [b[0] - a[0] for a, b in zip(got, got[1:])]
        seen.append(gaps)
        if all(abs(g - p) <= 2 for g, p in zip(gaps, pauses)):
            return got
    raise Failure("played gaps %s ms, recorded %s" % (seen, pauses[:-1]))


def scenario_cfg_record_macro(s):
    """A macro made in TolkCfg from start to end: a set and a macro created in the manager, keys
    recorded with their pauses, the macro assigned to key 1 and applied; the host plays it into a
    window with the recorded timing."""
    s.start_simulator()
    s.start_host()
    cfg = ConfigProgram(s)
    cfg.expect_slot(1, "slot 1 of the host's block")
    record_new_macro(cfg, 1, "Games", "Burst", RECORDED_TYPING)
    assign_macro(cfg, 1, 0, 1, 0, 1)
    cfg.apply_and_wait(lambda: macro_in_block(s.read_block(), 1, 1)[0] == "Burst",
                       "the host's block to hold the macro on key 1")
    name, events = macro_in_block(s.read_block(), 1, 1)
    expected = [(USAGE_OF[key], 0 if direction == "down" else 1) for key, direction, _ in RECORDED_TYPING]
    check([(u, a) for u, a, _ in events] == expected, "the macro holds %s, typed %s" % (events, expected))
    pauses = [p for _, _, p in events]
    typed = [w for _, _, w in RECORDED_TYPING]
    check(pauses[-1] == 0 and all(abs(p - w) <= 25 for p, w in zip(pauses, typed)),
          "recorded pauses %s for keys typed %s ms apart" % (pauses, typed))
    keys = [(("WM_KEYDOWN" if d == "down" else "WM_KEYUP"), VK_OF[k]) for k, d, _ in RECORDED_TYPING]
    got = play_recorded(s, 1, keys, pauses)
    print("recorded pauses %s ms, played %s ms" % (pauses[:-1], [b[0] - a[0] for a, b in zip(got, got[1:])]))
    cfg.click(CFG_CANCEL)
    cfg.wait_exit(30, "after Cancel")


# TolkCfg asked to close from outside (the host's Exit, the installer, the end of the session) must
# end whatever it has open. Under Wine on a display without a window manager, every window that was
# shown takes up to 2 s to go (Wine waits that long for a window manager to acknowledge the unmap),
# so a program ending with its main window and one dialog takes about 4 s here; the limit allows
# that and stays far below the installer's 30 s.
CLOSE_FROM_OUTSIDE_LIMIT_S = 12


def open_reset_warning(cfg):
    known = cfg.visible_windows()
    cfg.click_page(PAGE_RESET)
    cfg.find_new_window(cfg.warn_skin, known)


def open_manager_with_new_set(cfg):
    """The macro manager of key 1, a set made in it but not saved (no OK yet), and the name dialog of
    a second set open over it."""
    skins = os.path.join(cfg.s.folder, "skins")
    manager_skin = cfg.ui.Skin(skins, "skin_macro_manager.ini")
    set_skin = cfg.ui.Skin(skins, "skin_create_macro_set.ini")
    known, menu = open_key_menu(cfg, 1)
    choose(cfg, menu, [MENU_ITEM_HEIGHT] * len(KEY_MENU), KEY_MENU.index("Assign Macro"))
    submenu = wait_menu(cfg, known | {w for w, g in menu_windows(cfg, known) if g == menu},
                        (menu[0] + menu[2], menu[1]), "the macro submenu to open")
    choose(cfg, submenu, [MENU_ITEM_HEIGHT], 0)
    manager = cfg.ui.SkinnedWindow(None, manager_skin, wid=cfg.find_new_window(manager_skin, known))
    for name, keys in (("Unsaved", ("Down", "Return")), (None, ("Down", "Down", "Return"))):
        known = cfg.visible_windows()
        manager.click(MANAGER_SET)
        time.sleep(0.8)
        cfg.ui.press_keys(*keys)
        dialog = cfg.ui.SkinnedWindow(None, set_skin, wid=cfg.find_new_window(set_skin, known))
        if name:
            dialog.click(SET_NAME)
            cfg.ui.type_text(name)
            dialog.click(SET_OK)
            wait_for(lambda: dialog.wid not in cfg.visible_windows(), 15, "the set name dialog to close")


def open_import_dialog(cfg):
    known = cfg.visible_windows()
    cfg.click(CFG_IMPORT)
    check(cfg.ui.find_window("Open", timeout=30) not in known, "no new open-file dialog")


def scenario_cfg_close_with_dialog_open(s):
    """WM_CLOSE, as the host's Exit and the installer send it, and the end of the session end TolkCfg
    whatever it has open over its main window: a skinned dialog, the macro manager with a dialog of its
    own, the key menu, the open-file dialog. Each ends as Cancel: no file changes."""
    write_profile_folder(s, CFG_NAMES, 1)
    kinds = [("the reset warning", open_reset_warning, "post"),
             ("the macro manager and its set name dialog", open_manager_with_new_set, "post"),
             ("the key menu", lambda cfg: open_key_menu(cfg, 1), "post"),
             ("the open-file dialog of Import", open_import_dialog, "post"),
             ("the reset warning", open_reset_warning, "session")]
    for what, open_it, how in kinds:
        what += " open" if how == "post" else " open as the session ends"
        saved = data_files(s)
        cfg = ConfigProgram(s)
        open_it(cfg)
        started = time.monotonic()
        if how == "post":
            check(s.link("post", CFG_TITLE, "WM_CLOSE")[0] == 0, "TolkLink could not post WM_CLOSE")
        else:
            # Sent, as the system sends them: the dialog's loop handles them inside its GetMessage.
            code, answer = s.link("send", CFG_TITLE, "0x11")  # WM_QUERYENDSESSION
            check(code == 0 and answer.strip() == "1", "TolkCfg answered %r to WM_QUERYENDSESSION" % answer)
            check(s.link("send", CFG_TITLE, "0x16", "1")[0] == 0, "TolkCfg did not take WM_ENDSESSION")
        cfg.wait_exit(CLOSE_FROM_OUTSIDE_LIMIT_S, "with %s" % what)
        print("TolkCfg ended %.1f s after it was asked to, with %s" % (time.monotonic() - started, what))
        check(data_files(s) == saved, "closing with %s changed the data files" % what)


def shows_focus_mark(window, key):
    """Whether the control at key of window (or page) shows TolkCfg's focus mark: a dotted frame in
    the captions' colour (E0E0E0) 2 pixels inside the control, which its pictures do not have."""
    left, top, right, bottom = window.skin.rect(key)
    shot = window.screenshot().convert("RGB")
    picture = window.skin.picture("Main").convert("RGB")

    def light(image):
        return sum(1 for x in range(left + 3, right - 3)
                   if all(abs(c - 0xE0) <= 24 for c in image.getpixel((x, top + 2))))
    return light(shot) - light(picture) >= (right - left - 6) // 4


def tab_to(cfg, window, key, what, most=40):
    """Presses Tab until the control at key of window shows the focus mark."""
    for _ in range(most):
        cfg.ui.press_keys("Tab")
        time.sleep(0.15)
        if shows_focus_mark(window, key):
            return
    raise Failure("Tab never reached %s" % what)


def key_menu_by_keyboard(cfg, key, shot=None):
    """Gives TolkCfg's window the keyboard's focus, Tabs to key's button and opens its menu with
    Space: (the windows known before, the menu's geometry)."""
    ui = cfg.ui
    # No pointer: without a window manager, X gives the keys to the window under the pointer unless
    # a window is given the focus.
    ui.xdotool("windowfocus", "--sync", cfg.main.wid, check=False)
    time.sleep(0.5)
    known = cfg.visible_windows() | set(ui.xdotool("search", "--onlyvisible", "--class", "", check=False).split())
    tab_to(cfg, cfg.page, PAGE_KEY[key], "key %d's button" % key)
    if shot:
        cfg.save_shot(shot)
    ui.press_keys("space")
    left, _, _, bottom = cfg.page.screen_rect(PAGE_KEY[key])
    menu = wait_menu(cfg, known, (left, bottom), "the menu of key %d to open from Space" % key)
    check(abs(menu[0] - left) <= 4 and abs(menu[1] - bottom) <= 4,
          "the menu opened at %s, not under key %d's button at %s" % (menu[:2], key, (left, bottom)))
    return known, menu


def scenario_cfg_keyboard_shortcut(s):
    """From TolkCfg's start, with nothing but keys: Tab to key 2, Space opens its menu, the arrows and
    Return choose "Assign a shortcut", Tab and Space tick Ctrl, F5 is the key, Tab and Return confirm,
    Tab and Return apply; the keyboard stores Ctrl+F5 for key 2."""
    s.start_simulator()
    s.start_host()
    block = s.read_block()
    block.current = 1
    s.apply_block(block)
    cfg = ConfigProgram(s)
    cfg.expect_slot(1, "slot 1 of the host's block")
    ui = cfg.ui
    known, _ = key_menu_by_keyboard(cfg, 2, "keyboard_key_2_focused")
    for _ in range(KEY_MENU.index("Assign a shortcut") + 1):
        ui.press_keys("Down")
    ui.press_keys("Return")
    shortcut_skin = ui.Skin(os.path.join(s.folder, "skins"), "skin_assign_shortcut.ini")
    dialog = ui.SkinnedWindow(None, shortcut_skin, wid=cfg.find_new_window(shortcut_skin, known))
    ui.xdotool("windowfocus", "--sync", dialog.wid, check=False)
    time.sleep(0.5)
    tab_to(cfg, dialog, SHORTCUT_CTRL, "the shortcut dialog's Ctrl")
    ui.press_keys("space")
    cfg.wait_screen(lambda: dialog.is_checked(SHORTCUT_CTRL), "Space to tick Ctrl")
    ui.press_keys("F5")
    time.sleep(0.5)
    dialog.screenshot().save(os.path.join(cfg.shot_folder(), "keyboard_shortcut_dialog.png"))
    tab_to(cfg, dialog, SHORTCUT_OK, "the shortcut dialog's OK")
    ui.press_keys("Return")
    wait_for(lambda: dialog.wid not in cfg.visible_windows(), 15, "the shortcut dialog to close on Return")
    time.sleep(0.5)
    # The focus is back on key 2; Tab to Apply and Return.
    ui.xdotool("windowfocus", "--sync", cfg.main.wid, check=False)
    time.sleep(0.3)
    tab_to(cfg, cfg.main, CFG_APPLY, "Apply")
    ui.press_keys("Return")
    wait_for(lambda: s.sim_state()["keys"][(1, 2)] == CTRL_F5_SEQUENCE, 60,
             "the keyboard to store Ctrl+F5 for key 2")
    settle_files(s)
    block = s.read_block()
    at = block.button_at(1, 2)
    check(block.data[at + 1] == 5 and block.data[at + 2158:at + 2164] == bytes([0x3E, 0, 0, 1, 0, 0]),
          "the host's block holds key 2 as function %d, key %02X, flags %s"
          % (block.data[at + 1], block.data[at + 2158], list(block.data[at + 2159:at + 2164])))
    cfg.save_shot("keyboard_applied")


def scenario_cfg_keyboard_timer(s):
    """From TolkCfg's start (without the host), with nothing but keys: Tab to key 3, Space opens its
    menu, the arrows open "Assign a timer" and Return chooses "Create Timer"; the dialog starts in
    the name field, Tab goes to the length, Tab to OK and Return: Timer.ini holds the timer."""
    write_profile_folder(s, CFG_NAMES, 1)
    cfg = ConfigProgram(s)
    ui = cfg.ui
    known, _ = key_menu_by_keyboard(cfg, 3, "keyboard_key_3_focused")
    for _ in range(KEY_MENU.index("Assign a timer") + 1):
        ui.press_keys("Down")
    ui.press_keys("Right")
    time.sleep(0.5)
    for _ in range(TIMER_MENU.index("Create Timer")):
        ui.press_keys("Down")
    ui.press_keys("Return")
    timer_skin = ui.Skin(os.path.join(s.folder, "skins"), "skin_count_down.ini")
    dialog = ui.SkinnedWindow(None, timer_skin, wid=cfg.find_new_window(timer_skin, known))
    ui.xdotool("windowfocus", "--sync", dialog.wid, check=False)
    time.sleep(0.5)
    ui.type_text("Tea break")
    ui.press_keys("Tab")
    time.sleep(0.2)
    ui.press_keys("End", "BackSpace", "BackSpace", "BackSpace", "BackSpace")
    ui.type_text("12")
    time.sleep(0.5)
    dialog.screenshot().save(os.path.join(cfg.shot_folder(), "keyboard_timer_dialog.png"))
    tab_to(cfg, dialog, TIMER_OK, "the timer dialog's OK")
    ui.press_keys("Return")
    wait_for(lambda: dialog.wid not in cfg.visible_windows(), 15, "the timer dialog to close on Return")
    wait_for(lambda: timer_library(s), 15, "config\\Timer.ini to hold the timer")
    check(timer_library(s) == [("Tea break", 12)], "Timer.ini holds %s" % timer_library(s))


def scenario_cfg_keyboard_macro(s):
    """From TolkCfg's start (without the host), with nothing but keys: key 1's menu "Assign Macro" >
    "Create New Macro..." opens the manager; the set button's menu (Space) makes a set named in its
    dialog, Add (Space) makes a macro named in the list, the delay switch and Record (Space) record
    typed keys until Escape, and OK (Return) saves: macro.ini holds the set with its macro."""
    write_profile_folder(s, CFG_NAMES, 1)
    cfg = ConfigProgram(s)
    ui = cfg.ui
    skins = os.path.join(s.folder, "skins")
    manager_skin = ui.Skin(skins, "skin_macro_manager.ini")
    set_skin = ui.Skin(skins, "skin_create_macro_set.ini")
    known, _ = key_menu_by_keyboard(cfg, 1)
    for _ in range(KEY_MENU.index("Assign Macro") + 1):
        ui.press_keys("Down")
    ui.press_keys("Right")
    time.sleep(0.5)
    ui.press_keys("Return")
    manager = ui.SkinnedWindow(None, manager_skin, wid=cfg.find_new_window(manager_skin, known))
    recorder = manager.page(ui.Skin(skins, "skin_macro_record.ini"), manager_skin.frame())
    ui.xdotool("windowfocus", "--sync", manager.wid, check=False)
    time.sleep(0.5)

    # A set through the set button's menu, opened with Space: "[+]Add Macro Set", then its name.
    known = cfg.visible_windows()
    tab_to(cfg, manager, MANAGER_SET, "the manager's set button")
    ui.press_keys("space")
    time.sleep(0.8)
    ui.press_keys("Down", "Return")
    dialog = ui.SkinnedWindow(None, set_skin, wid=cfg.find_new_window(set_skin, known))
    ui.xdotool("windowfocus", "--sync", dialog.wid, check=False)
    time.sleep(0.5)
    ui.type_text("Keys")
    tab_to(cfg, dialog, SET_OK, "the set dialog's OK")
    ui.press_keys("Return")
    wait_for(lambda: dialog.wid not in cfg.visible_windows(), 15, "the set name dialog to close")
    ui.xdotool("windowfocus", "--sync", manager.wid, check=False)
    time.sleep(0.5)
    # A macro in it: Add, its name, Return.
    tab_to(cfg, manager, MANAGER_ADD, "the manager's Add")
    ui.press_keys("space")
    time.sleep(0.5)
    ui.type_text("Hi")
    ui.press_keys("Return")
    time.sleep(0.5)
    # The delay switch on, Record, keys, Escape stops.
    tab_to(cfg, recorder, RECORD_DELAYS, "the record-delay switch")
    ui.press_keys("space")
    cfg.wait_screen(lambda: recorder.is_checked(RECORD_DELAYS), "Space to turn the record-delay switch on")
    tab_to(cfg, recorder, RECORD_BUTTON, "Record")
    ui.press_keys("space")
    time.sleep(1.0)
    ui.type_text("hi", delay_ms=120)
    time.sleep(0.3)
    ui.press_keys("Escape")
    time.sleep(0.5)
    manager.screenshot().save(os.path.join(cfg.shot_folder(), "keyboard_manager_recorded.png"))
    tab_to(cfg, manager, MANAGER_OK, "the manager's OK")
    ui.press_keys("Return")
    wait_for(lambda: manager.wid not in cfg.visible_windows(), 15, "the manager to close on Return")
    macro_file = os.path.join(s.folder, "config", "macro.ini")
    wait_for(lambda: ini_value(macro_file, "Keys", "Count") == "1", 15,
             "config\\macro.ini to hold the set with its macro")


SCENARIOS = {name[len("scenario_"):]: f for name, f in globals().items() if name.startswith("scenario_")}


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in SCENARIOS:
        print("usage: tolk_e2e.py BUILD_DIR {%s}" % ",".join(sorted(SCENARIOS)))
        return 2
    session = Session(sys.argv[1], sys.argv[2])
    try:
        SCENARIOS[sys.argv[2]](session)
    except Skipped as skipped:
        print("skipped: %s" % skipped)
        return SKIPPED_EXIT_CODE
    except Failure as failure:
        print("FAILED: %s" % failure)
        for line in session.host_debug()[-40:]:
            print("  host: " + line)
        return 1
    finally:
        session.close()
    print("passed: %s" % sys.argv[2])
    return 0


if __name__ == "__main__":
    sys.exit(main())
