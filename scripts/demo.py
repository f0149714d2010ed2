#!/usr/bin/env python3
"""The demo run behind scripts/demo: a program folder with a demo profile, the simulated keyboard,
TolkHid and an input window under Wine; the keys are pressed through the simulator and what
happened is printed."""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import tolk_e2e as e2e  # noqa: E402

KEY_NAMES = {0x41 + i: chr(0x41 + i) for i in range(26)}
KEY_NAMES.update({0xAC: "Browser Home", 0x10: "Shift", 0x20: "Space"})


def word_macro(word, hold=60, gap=90):
    events = []
    for ch in word.upper():
        usage = 0x04 + ord(ch) - ord("A")
        events += [(usage, 0, hold), (usage, 1, gap)]
    return events


def main():
    build = sys.argv[1]
    s = e2e.Session(build, "demo")
    shot = os.path.join(s.work, "demo-screen.png")
    try:
        print("Program folder: %s" % s.folder)
        s.start_simulator()
        print("Keyboard simulator running on %s" % s.pipe)
        s.start_host()
        print("TolkHid started: config.ini says Device=%s, FWVersion=%s" % (
            e2e.ini_value(s.config_ini, "Setting", "Device"), e2e.ini_value(s.config_ini, "Setting", "FWVersion")))

        block = s.read_block()
        block.current = 1
        block.set_macro(1, 1, word_macro("hello"), name="Hello")
        block.set_timer(1, 2, 10, "Ten seconds")
        block.set_media_option(1, 3)
        block.set_function(1, 3, 35)  # Play/Pause for Winamp
        block.set_function(1, 4, 49)  # WWW Home
        block.set_shortcut(1, 5, 0x06, ctrl=1)  # Ctrl+C, typed by the keyboard itself
        s.apply_block(block)
        print("\nDemo profile applied to slot 1 (as the configuration program would):")
        print("  key 1 macro 'Hello' (types HELLO, 60 ms holds, 90 ms gaps)\n  key 2 timer 10 s\n"
              "  key 3 Play/Pause (Winamp)\n  key 4 WWW Home\n  key 5 Ctrl+C (stored in the keyboard)")

        probe = s.start_probe("demo-probe", title="Demo input window")
        s.ctl("press", "1")
        s.ctl("release", "1")
        e2e.wait_for(lambda: len(s.probe_events(probe)) >= 10, 30, "the macro")
        s.ctl("press", "4")
        s.ctl("release", "4")
        e2e.wait_for(lambda: any(e[2] == 0xAC for e in s.probe_events(probe)), 10, "the browser key")
        s.ctl("press", "2")
        s.ctl("release", "2")
        time.sleep(0.5)
        subprocess.run(["import", "-window", "root", shot], check=False)
        winamp = s.start_probe("demo-winamp", title="Winamp", cls="Winamp v1.x")
        s.ctl("press", "3")
        s.ctl("release", "3")
        e2e.wait_for(lambda: s.probe_events(winamp, ("WM_COMMAND",)), 10, "the Winamp command")

        print("\nKeys that reached the input window (ms since the first):")
        events = s.probe_events(probe)
        first = events[0][0] if events else 0
        for ms, name, vk, _ in events:
            print("  %6d  %-10s %s" % (ms - first, name, KEY_NAMES.get(vk, "vk 0x%02X" % vk)))
        for ms, name, wparam, _ in s.probe_events(winamp, ("WM_COMMAND",)):
            print("  Winamp window got WM_COMMAND %d (%s)" % (wparam, "play" if wparam == 40045 else "pause"))
        print("  Key 2 was pressed: the host runs its 10-second countdown with the sounds of Wav/")
        print("  (heard only where the machine has a sound device; a virtual display has none)")

        print("\nTolkCfg, the configuration program, beside the host:")
        try:
            cfg = e2e.ConfigProgram(s)
        except e2e.Skipped as reason:
            cfg = None
            print("  not shown here: %s" % reason)
        if cfg is not None:
            cfg_shot = cfg.save_shot("demo-tolkcfg")
            print("  it shows the five profiles and the keys' assignments from the host's block")
            cfg.click(e2e.CFG_SLOT[2])
            cfg.click_page(e2e.PAGE_MODE)
            print("  clicked profile slot 2 and the NumLock mode switch, then Apply")
            cfg.apply_and_wait(lambda: s.sim_state()["profile"] == 2, "the keyboard to take profile 2")
            state = s.sim_state()
            print("  the keyboard's memory now: profile %d, mode %d" % (state["profile"], state["mode"]))
            print("  config.ini says CurrentProfile=%s" % e2e.ini_value(s.config_ini, "Setting", "CurrentProfile"))
            print("  Screenshot: %s" % cfg_shot)

        print("\nFiles written by the host and TolkCfg:")
        for folder, _, files in os.walk(s.folder):
            for name in sorted(files):
                if name.endswith((".ini", ".rkp")):
                    path = os.path.join(folder, name)
                    print("  %-40s %6d bytes" % (os.path.relpath(path, s.folder), os.path.getsize(path)))
        print("\nThe keyboard's memory (simulator state):")
        for line in s.ctl("state")[1].splitlines()[:9]:
            print("  " + line)
        print("  ...")
        pushes = [c for c in s.sim_log() if c[1] == 0x222420]
        print("\n%d key sequences were pushed to the keyboard, %d ms apart on average" % (
            len(pushes), (pushes[-1][0] - pushes[0][0]) // max(1, len(pushes) - 1) if pushes else 0))
        if os.path.exists(shot):
            print("Screenshot: %s" % shot)
    finally:
        s.close()
    print("\nAll processes ended.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
