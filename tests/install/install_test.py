#!/usr/bin/env python3
"""The setup program and the zip of a Windows build, as a user meets them: installed, upgraded and
uninstalled under Wine, each scenario in a Wine prefix of its own, with TolkDeviceSim as the keyboard.

Usage: install_test.py BUILD_DIR SCENARIO --setup EXE --zip ZIP --list SHIPPED_LIST --version VERSION
  (BUILD_DIR = build/windows or build/windows64; TOLK_WINE, WINESERVER and DISPLAY set, as ctest
  does inside xvfb-run; WINEPREFIX names the prefix that scripts/wine-env prepared)

Scenarios:
  fresh      silent install: exactly the shipped files, the Start menu entry, TolkHid at log-on, the
             entry in Apps & features; the setup starts the installed host, which finds the keyboard
  upgrade    the same setup again while TolkHid runs and TolkCfg shows a dialog: both are closed,
             the programs and every shipped file replaced, the user's data kept, and the host runs
             again
  uninstall  silent uninstall as Apps & features runs it: nothing shipped, registered or linked is
             left and the user's data stays; a second install and uninstall with /REMOVEDATA leaves
             no folder
  busy       a TolkHid that does not end when asked: the setup and the uninstaller each ask it
             (WM_CLOSE) and give up after their time limit, changing nothing; the setup exits with 2
  zip        the zip holds exactly the shipped files, the same bytes as the program folder's, and the
             shipped list holds what the program folder must have (no Wine needed)
"""
import argparse
import os
import pwd
import re
import shutil
import subprocess
import sys
import time
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))

import tolk_e2e as e2e  # noqa: E402
from tolk_e2e import Failure, Skipped, check, wait_for  # noqa: E402

SOURCE_DIR = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))

REG_UNINSTALL = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZENTOR Tolk"
REG_RUN = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
RUN_VALUE = "ZENTOR Tolk"
INSTALL_FOLDER_NAME = "ZENTOR Tolk"
SHORTCUT = ("AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs", "ZENTOR Tolk",
            "ZENTOR Tolk.lnk")
HOST_MUTEX = "ZentorTolk_HidHost"
# The setup waits this long for a program to close (CLOSE_WAIT_S in installer/tolk.nsi); the runs
# below allow it and more, so that a run that gives up is told from one that hangs.
CLOSE_WAIT_S = 30
SETUP_TIMEOUT_S = 180
# The exit code of a setup that stopped: a program did not close, or the folder is not one to use.
EXIT_STOPPED = 2


def shipped_list(path):
    with open(path) as f:
        return [line.strip() for line in f if line.strip()]


def files_below(folder):
    """Every file below folder, relative, with '/' between folders."""
    found = set()
    for root, _, names in os.walk(folder):
        for name in names:
            found.add(os.path.relpath(os.path.join(root, name), folder).replace(os.sep, "/"))
    return found


def is_user_data(relative):
    """What the programs write beside themselves: config.ini and the config folder."""
    return relative.lower() == "config.ini" or relative.lower().startswith("config/")


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


class Install:
    """One scenario: a Wine prefix of its own, the install folder inside it and the e2e session."""

    def __init__(self, args, name):
        self.args = args
        self.user = pwd.getpwuid(os.getuid()).pw_name
        build = os.path.abspath(args.build_dir)
        self.prefix = os.path.join(build, "e2e", name, "prefix")
        self.profile = os.path.join(self.prefix, "drive_c", "users", self.user)
        self.folder = os.path.join(self.profile, "AppData", "Local", "Programs", INSTALL_FOLDER_NAME)
        self.s = e2e.Session(build, name, program_folder=self.folder)
        self.s.env["WINEPREFIX"] = self.prefix
        # Creating a Start menu entry makes Wine add one to the Linux desktop's menu too: not here.
        self.s.env["WINEDLLOVERRIDES"] = "mscoree,mshtml=;winemenubuilder.exe=d"
        self.shipped = shipped_list(args.list)
        self.dist = os.path.join(build, "dist")
        # Files of the user's own beside the programs (write_user_data).
        self.user_files = set()
        self.make_prefix()

    def make_prefix(self):
        """The scenario's own prefix: registry, Start menu and user folders untouched by any setup.

        It is a copy of the prefix that scripts/wine-env's tolk_wine_prefix made for this build (a
        second or so; making one with wineboot takes 15 to 20 s here, four times per run). That prefix
        is as fresh for this purpose: the other tests run their programs from the build folder and
        install nothing, so it holds no registry entry and no file of ours. Wine writes its registry
        files whole (a new file renamed over the old), so a copy taken while its server runs is a
        consistent one. Without that prefix, wineboot makes one."""
        source = os.environ.get("WINEPREFIX") or os.path.join(self.s.build, "wineprefix")
        if os.path.isfile(os.path.join(source, "system.reg")):
            shutil.copytree(source, self.prefix, symlinks=True)
        else:
            env = dict(self.s.env)
            env.setdefault("WINEARCH", "win64" if e2e.WINE.endswith("64") else "win32")
            subprocess.run([e2e.WINE, "wineboot", "--init"], env=env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=180, check=True)
            subprocess.run([e2e.WINESERVER, "-w"], env=env, timeout=180)
        check(os.path.isdir(self.profile), "the prefix has no folder for the user %s" % self.user)
        check(not os.path.exists(self.folder), "the new prefix already has %s" % self.folder)

    def close(self, passed):
        self.s.close()
        # A prefix is some 600 MB: kept only for a look at a failure.
        if passed:
            shutil.rmtree(self.prefix, ignore_errors=True)

    # Wine and its registry -------------------------------------------------------------------
    def wine(self, exe, *args, timeout=SETUP_TIMEOUT_S):
        try:
            return self.s.run(exe, *args, timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("%s %s did not end within %d s" % (os.path.basename(exe), " ".join(args), timeout))

    def setup(self, *args):
        """Runs the setup silently; its exit code and the seconds it took."""
        started = time.monotonic()
        code, _ = self.wine(self.args.setup, "/S", *args)
        return code, time.monotonic() - started

    def reg_values(self, key):
        """The values of a registry key as {name: (type, data)}; None when the key does not exist."""
        code, out = self.wine("reg", "query", key, timeout=60)
        if code != 0:
            return None
        values = {}
        for line in out.splitlines():
            match = re.match(r"^    (.+?)    (REG_[A-Z_]+)(?:    (.*))?$", line)
            if match:
                values[match.group(1)] = (match.group(2), match.group(3) or "")
        return values

    def unix_path(self, windows_path):
        """A C:\\ path of the prefix as a path on this machine."""
        check(re.match(r"^[cC]:\\", windows_path) is not None, "%s is not on drive C:" % windows_path)
        return os.path.join(self.prefix, "drive_c", *windows_path[3:].rstrip("\\").split("\\"))

    def processes(self, name):
        """{pid: command line} of the prefix's processes whose program file is called name."""
        found = {}
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                cmdline = read_bytes("/proc/%s/cmdline" % entry).split(b"\0")
                environ = read_bytes("/proc/%s/environ" % entry).split(b"\0")
            except OSError:
                continue
            program = cmdline[0].decode("latin-1") if cmdline else ""
            if not program.lower().replace("/", "\\").split("\\")[-1] == name.lower():
                continue
            if ("WINEPREFIX=" + self.prefix).encode() in environ:
                found[int(entry)] = " ".join(p.decode("latin-1") for p in cmdline if p)
        return found

    # What an install leaves ------------------------------------------------------------------
    def installed_files(self):
        return files_below(self.folder) if os.path.isdir(self.folder) else set()

    def check_installed(self, seconds):
        """Exactly the shipped files with the build's bytes, the uninstaller, and the registry and
        Start menu entries that point at them."""
        files = self.installed_files()
        shipped = set(self.shipped)
        missing = sorted(shipped - files)
        extra = sorted(f for f in files - shipped
                       if f != "uninstall.exe" and not is_user_data(f) and f not in self.user_files)
        check(not missing, "the install lacks %s" % missing[:10])
        check(not extra, "the install holds files that are not shipped: %s" % extra[:10])
        check("uninstall.exe" in files, "no uninstall.exe in the install folder")
        differing = [f for f in self.shipped
                     if read_bytes(os.path.join(self.folder, f)) != read_bytes(os.path.join(self.dist, f))]
        check(not differing, "installed files differ from the build's: %s" % differing[:10])

        shortcut = os.path.join(self.profile, *SHORTCUT)
        check(os.path.isfile(shortcut), "no Start menu entry %s" % os.path.join(*SHORTCUT[-2:]))
        link = read_bytes(shortcut)
        check(b"TolkCfg.exe" in link or "TolkCfg.exe".encode("utf-16-le") in link,
              "the Start menu entry does not start TolkCfg.exe")

        run = self.reg_values(REG_RUN) or {}
        check(RUN_VALUE in run, "no '%s' in %s" % (RUN_VALUE, REG_RUN))
        command = run[RUN_VALUE][1]
        check(command.startswith('"') and command.endswith('"'), "the log-on command %s is not quoted" % command)
        check(os.path.samefile(self.unix_path(command.strip('"')), os.path.join(self.folder, "TolkHid.exe")),
              "the log-on command %s does not start the installed TolkHid.exe" % command)

        entry = self.reg_values(REG_UNINSTALL)
        check(entry is not None, "no %s" % REG_UNINSTALL)
        value = {name: data for name, (_, data) in entry.items()}
        check(value.get("DisplayName") == "ZENTOR Tolk", "DisplayName is %r" % value.get("DisplayName"))
        check(value.get("DisplayVersion") == self.args.version,
              "DisplayVersion is %r, the build is %s" % (value.get("DisplayVersion"), self.args.version))
        check(value.get("Publisher") == "ZENTOR", "Publisher is %r" % value.get("Publisher"))
        location = value.get("InstallLocation", "")
        check(re.match(r"^C:\\users\\[^\\]+\\AppData\\Local\\Programs\\ZENTOR Tolk$", location, re.I),
              "InstallLocation %r is not in the user's programs folder" % location)
        check(os.path.samefile(self.unix_path(location), self.folder), "InstallLocation %r is not where the "
              "files went" % location)
        icon = value.get("DisplayIcon", "").rsplit(",", 1)[0]
        check(os.path.isfile(self.unix_path(icon)), "DisplayIcon %r names no installed file" % icon)
        for name, args in (("UninstallString", ""), ("QuietUninstallString", " /S")):
            uninstaller = value.get(name, "")
            match = re.match(r'^"([^"]+)"(.*)$', uninstaller)
            check(match is not None and match.group(2) == args, "%s is %r" % (name, uninstaller))
            check(os.path.samefile(self.unix_path(match.group(1)), os.path.join(self.folder, "uninstall.exe")),
                  "%s does not start the installed uninstall.exe" % name)
        kib = (sum(os.path.getsize(os.path.join(self.dist, f)) for f in self.shipped) + 1023) // 1024
        check(entry.get("EstimatedSize") == ("REG_DWORD", "0x%x" % kib),
              "EstimatedSize is %r, the shipped files take %d KiB" % (entry.get("EstimatedSize"), kib))
        for flag in ("NoModify", "NoRepair"):
            check(entry.get(flag) == ("REG_DWORD", "0x1"), "%s is %r" % (flag, entry.get(flag)))
        print("installed %d files in %.1f s into %s" % (len(self.shipped), seconds, location))

    def check_uninstalled(self):
        left = sorted(f for f in self.installed_files() if not is_user_data(f) and f not in self.user_files)
        check(not left, "the uninstall left %s" % left[:10])
        check(RUN_VALUE not in (self.reg_values(REG_RUN) or {}), "the log-on entry is still there")
        check(self.reg_values(REG_UNINSTALL) is None, "the Apps & features entry is still there")
        shortcut = os.path.join(self.profile, *SHORTCUT)
        check(not os.path.exists(shortcut), "the Start menu entry is still there")
        check(not os.path.exists(os.path.dirname(shortcut)), "the Start menu folder is still there")
        check(not self.processes("TolkHid.exe"), "TolkHid still runs")

    def uninstall_as_apps_and_features(self, *extra):
        """Runs the registered QuietUninstallString (with extra arguments) and waits until the
        uninstaller has finished. It copies itself to the temporary folder and runs from there, so
        that it can delete its own file, and the command returns at once."""
        entry = self.reg_values(REG_UNINSTALL) or {}
        command = entry.get("QuietUninstallString", ("", ""))[1]
        match = re.match(r'^"([^"]+)"\s*(.*)$', command)
        check(match is not None, "no QuietUninstallString to run: %r" % command)
        code, _ = self.wine(match.group(1), *(match.group(2).split() + list(extra)))
        check(code == 0, "the uninstaller's first step exited with %d" % code)
        wait_for(lambda: not self.processes("Un.exe") and self.reg_values(REG_UNINSTALL) is None,
                 SETUP_TIMEOUT_S, "the uninstaller to finish")

    def host_running(self):
        return self.s.link("post", "ZentorTolkHid", "0")[0] == 0

    def write_user_data(self):
        """What a user has made by now: a profile of their own, a key of config.ini, a file of theirs."""
        e2e.write_profile_file(os.path.join(self.folder, "config", "Mine.rkp"), mode=2, flags=(1, 0, 1, 0, 1))
        with open(self.s.config_ini, "ab") as f:
            f.write(b"[Mine]\r\nKept=yes\r\n")
        with open(os.path.join(self.folder, "notes.txt"), "wb") as f:
            f.write(b"my notes\r\n")
        self.user_files.add("notes.txt")

    def check_user_data(self, what):
        check(e2e.ini_value(self.s.config_ini, "Mine", "Kept") == "yes", "config.ini lost the user's key %s" % what)
        mine = os.path.join(self.folder, "config", "Mine.rkp")
        check(os.path.isfile(mine) and e2e.ini_value(mine, "Setting", "Mode") == "2",
              "config\\Mine.rkp was lost %s" % what)
        notes = os.path.join(self.folder, "notes.txt")
        check(os.path.isfile(notes) and read_bytes(notes) == b"my notes\r\n", "notes.txt was lost %s" % what)


# Scenarios --------------------------------------------------------------------------------------

def scenario_fresh(t):
    # A folder that holds other files is refused, since the uninstaller may empty its folder whole.
    # The setup says so with its exit code and leaves no trace.
    other = os.path.join(t.profile, "Other")
    os.makedirs(other)
    with open(os.path.join(other, "theirs.txt"), "wb") as f:
        f.write(b"not ours\r\n")
    code, _ = t.setup("/D=C:\\users\\%s\\Other" % t.user)
    check(code == EXIT_STOPPED, "the setup into a folder of other files exited with %d, not %d" % (code, EXIT_STOPPED))
    check(os.listdir(other) == ["theirs.txt"], "the refused setup wrote into %s: %s" % (other, os.listdir(other)))
    check(t.reg_values(REG_UNINSTALL) is None, "the refused setup registered itself")
    check(RUN_VALUE not in (t.reg_values(REG_RUN) or {}), "the refused setup wrote the log-on entry")

    t.s.start_simulator()
    t.s.env["TOLK_DEVICE"] = t.s.pipe
    code, seconds = t.setup()
    check(code == 0, "the setup exited with %d" % code)
    t.check_installed(seconds)
    # The setup started the installed host, which found the keyboard through TOLK_DEVICE.
    check(t.s.wait_host_device() == "1", "the installed host did not find the keyboard")
    check(e2e.ini_value(t.s.config_ini, "Setting", "FWVersion") == "128", "the host read no firmware version")
    hosts = t.processes("TolkHid.exe")
    check(len(hosts) == 1, "%d TolkHid processes run, not one" % len(hosts))
    check(INSTALL_FOLDER_NAME in list(hosts.values())[0], "the host runs from %s" % list(hosts.values())[0])
    check(t.s.read_block().name(1) == "Default0", "the host's block holds no profiles")


def scenario_upgrade(t):
    t.s.start_simulator()
    t.s.env["TOLK_DEVICE"] = t.s.pipe
    code, _ = t.setup()
    check(code == 0, "the first setup exited with %d" % code)
    check(t.s.wait_host_device() == "1", "the installed host did not find the keyboard")
    # TolkCfg beside the host, as a user has it open, with a dialog open in it (the reset warning):
    # the setup's WM_CLOSE ends it all the same, as Cancel.
    cfg = e2e.ConfigProgram(t.s)
    e2e.open_reset_warning(cfg)
    old_host = set(t.processes("TolkHid.exe"))
    old_cfg = set(t.processes("TolkCfg.exe"))
    check(len(old_host) == 1 and len(old_cfg) == 1, "host %s, TolkCfg %s before the upgrade" % (old_host, old_cfg))

    t.write_user_data()
    # The running programs marked as old (a time long past), and a shipped file gone stale.
    long_ago = 978307200  # 2001-01-01
    for program in ("TolkHid.exe", "TolkCfg.exe"):
        os.utime(os.path.join(t.folder, program), (long_ago, long_ago))
    stale = os.path.join(t.folder, "FWUpdate", "config.ini")
    with open(stale, "wb") as f:
        f.write(b"[Setting]\r\nFWVersion=1\r\n")
    # The new host says it has started by writing the device state again.
    e2e.write_text(t.s.config_ini, [line for line in t.s.read(t.s.config_ini).splitlines()
                                    if not line.lower().startswith("device=")])
    check(e2e.ini_value(t.s.config_ini, "Setting", "Device") is None, "Device could not be cleared")

    code, seconds = t.setup()
    check(code == 0, "the upgrade exited with %d" % code)
    print("upgraded in %.1f s over a running host and a TolkCfg showing a dialog" % seconds)
    check(not (old_cfg & set(t.processes("TolkCfg.exe"))), "the old TolkCfg still runs")
    check(not (old_host & set(t.processes("TolkHid.exe"))), "the old host still runs")
    for program in ("TolkHid.exe", "TolkCfg.exe"):
        check(int(os.path.getmtime(os.path.join(t.folder, program))) != long_ago, "%s was not replaced" % program)
    check(read_bytes(stale) == read_bytes(os.path.join(t.dist, "FWUpdate", "config.ini")),
          "the stale FWUpdate\\config.ini was not replaced")
    t.check_installed(seconds)
    t.check_user_data("by the upgrade")
    check(t.s.wait_host_device() == "1", "the host did not start again after the upgrade")
    new_host = set(t.processes("TolkHid.exe"))
    check(len(new_host) == 1 and not (new_host & old_host), "host processes %s after the upgrade" % new_host)


def scenario_uninstall(t):
    # No keyboard here: the host runs without one and writes config.ini all the same.
    code, _ = t.setup()
    check(code == 0, "the setup exited with %d" % code)
    check(t.s.wait_host_device() == "0", "the installed host did not start")
    t.write_user_data()
    data = {f: read_bytes(os.path.join(t.folder, f)) for f in t.installed_files()
            if is_user_data(f) or f in t.user_files}

    t.uninstall_as_apps_and_features()
    t.check_uninstalled()
    after = {f: read_bytes(os.path.join(t.folder, f)) for f in t.installed_files()}
    check(after == data, "the user's data changed: before %s, after %s" % (sorted(data), sorted(after)))

    # Again, and this time the data goes too: no folder is left.
    code, _ = t.setup()
    check(code == 0, "the second setup exited with %d" % code)
    check(t.s.wait_host_device() == "0", "the host did not start after the second setup")
    t.check_user_data("by the second setup")
    t.uninstall_as_apps_and_features("/REMOVEDATA")
    t.check_uninstalled()
    check(not os.path.exists(t.folder), "the install folder is still there: %s" % sorted(t.installed_files())[:10])


def scenario_busy(t):
    code, _ = t.setup()
    check(code == 0, "the setup exited with %d" % code)
    check(t.s.wait_host_device() == "0", "the installed host did not start")
    t.s.link("post", "ZentorTolkHid", "WM_CLOSE")
    wait_for(lambda: not t.processes("TolkHid.exe"), 60, "the installed host to end on WM_CLOSE")

    # A host that does not end: the probe with its window title and its mutex, deaf to WM_CLOSE.
    log = os.path.join(t.s.work, "stuck-host.log")
    t.s.start(t.s.tool("InputProbe.exe"), "--log", e2e.win_path(log), "--title", "ZentorTolkHid",
              "--mutex", HOST_MUTEX, "--ignore-close")
    wait_for(lambda: "READY" in t.s.read(log), 30, "the stand-in host")
    long_ago = 978307200
    host_exe = os.path.join(t.folder, "TolkHid.exe")
    os.utime(host_exe, (long_ago, long_ago))
    before = t.installed_files()

    code, seconds = t.setup()
    check(code == EXIT_STOPPED, "the setup exited with %d beside a host that does not end, not %d"
          % (code, EXIT_STOPPED))
    check(t.s.read(log).count("WM_CLOSE") == 1, "the setup did not ask the host to close (once)")
    check(int(os.path.getmtime(host_exe)) == long_ago, "the setup replaced TolkHid.exe all the same")
    check(t.installed_files() == before, "the setup changed the install folder all the same")
    check(not t.processes("TolkHid.exe"), "the setup started a host all the same")
    print("the setup gave up after %.1f s with exit code %d" % (seconds, code))

    # The uninstaller as Apps & features starts it: it gives up the same way and removes nothing.
    # (Its copy in the temporary folder does the work, so its exit code is not seen here.)
    started = time.monotonic()
    code, _ = t.wine(os.path.join(t.folder, "uninstall.exe"), "/S")
    check(code == 0, "the uninstaller's first step exited with %d" % code)
    wait_for(lambda: not t.processes("Un.exe"), CLOSE_WAIT_S + SETUP_TIMEOUT_S, "the uninstaller to give up")
    seconds = time.monotonic() - started
    check(t.s.read(log).count("WM_CLOSE") == 2, "the uninstaller did not ask the host to close")
    check(t.installed_files() == before, "the uninstaller removed files all the same")
    check(t.reg_values(REG_UNINSTALL) is not None, "the uninstaller removed its entry all the same")
    check(RUN_VALUE in (t.reg_values(REG_RUN) or {}), "the uninstaller removed the log-on entry all the same")
    print("the uninstaller gave up after %.1f s" % seconds)


def scenario_zip(args):
    shipped = shipped_list(args.list)
    dist = os.path.join(os.path.abspath(args.build_dir), "dist")
    # What the program folder must have, known apart from the list: both programs, a language
    # module for each of resources/lang, the data files of resources/dist, the countdown sounds
    # and every skin file the look generator writes.
    must = {"TolkHid.exe", "TolkCfg.exe"}
    must |= {"lang/%s.dll" % os.path.splitext(n)[0] for n in os.listdir(os.path.join(SOURCE_DIR, "resources", "lang"))
             if n.endswith(".rc")}
    must |= {os.path.relpath(p, os.path.join(SOURCE_DIR, "resources", "dist")).replace(os.sep, "/")
             for p in (os.path.join(r, n) for r, _, ns in os.walk(os.path.join(SOURCE_DIR, "resources", "dist"))
                       for n in ns)}
    must |= {"Wav/" + n for n in ("Countdown.wav", "Countdown_Activated.wav", "Countdown_stopped.wav")}
    listed = subprocess.run([sys.executable, os.path.join(SOURCE_DIR, "tools", "make_look.py"), dist, "--list"],
                            stdout=subprocess.PIPE, check=True, timeout=120).stdout.decode()
    # It answers as a CMake list.
    listed = [name for name in re.split(r"[;\s]+", listed) if name]
    check(listed, "make_look.py --list named no files")
    must |= set(listed)
    check(must <= set(shipped), "the shipped list lacks %s" % sorted(must - set(shipped))[:10])
    check(not [f for f in shipped if is_user_data(f)], "the shipped list holds user data")
    check(len(must) == len(shipped), "the shipped list holds more than the program folder's files: %s"
          % sorted(set(shipped) - must)[:10])

    with zipfile.ZipFile(args.zip) as z:
        check(z.testzip() is None, "the zip is damaged")
        names = [i.filename for i in z.infolist() if not i.filename.endswith("/")]
        check(len(names) == len(set(names)), "the zip holds a file twice")
        expected = {INSTALL_FOLDER_NAME + "/" + f for f in shipped}
        check(set(names) == expected, "the zip holds %s more and lacks %s"
              % (sorted(set(names) - expected)[:10], sorted(expected - set(names))[:10]))
        differing = [f for f in shipped
                     if z.read(INSTALL_FOLDER_NAME + "/" + f) != read_bytes(os.path.join(dist, f))]
        check(not differing, "files in the zip differ from the program folder's: %s" % differing[:10])
    print("the zip holds the %d shipped files (%d bytes)" % (len(shipped), os.path.getsize(args.zip)))


SCENARIOS = {"fresh": scenario_fresh, "upgrade": scenario_upgrade, "uninstall": scenario_uninstall,
             "busy": scenario_busy}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build_dir")
    parser.add_argument("scenario", choices=sorted(list(SCENARIOS) + ["zip"]))
    parser.add_argument("--setup", required=True)
    parser.add_argument("--zip", required=True)
    parser.add_argument("--list", required=True)
    parser.add_argument("--version", required=True)
    args = parser.parse_args()
    for path in (args.setup, args.zip, args.list):
        if not os.path.isfile(path):
            print("FAILED: %s was not built" % path)
            return 1
    if args.scenario == "zip":
        try:
            scenario_zip(args)
        except Failure as failure:
            print("FAILED: %s" % failure)
            return 1
        print("passed: zip")
        return 0

    if not os.environ.get("DISPLAY"):
        print("skipped: no X display (DISPLAY is not set); run inside xvfb-run")
        return e2e.SKIPPED_EXIT_CODE
    passed = False
    t = None
    try:
        t = Install(args, "install_" + args.scenario)
        SCENARIOS[args.scenario](t)
        passed = True
    except Skipped as skipped:
        print("skipped: %s" % skipped)
        return e2e.SKIPPED_EXIT_CODE
    except Failure as failure:
        print("FAILED: %s" % failure)
        return 1
    finally:
        if t is not None:
            t.close(passed)
    print("passed: %s" % args.scenario)
    return 0


if __name__ == "__main__":
    sys.exit(main())
