#!/usr/bin/env python3
"""The demo run behind scripts/demo: the simulated keyboard, TolkHid and TolkCfg under Wine. In
TolkCfg's own windows, driven by the pointer and the keyboard, a macro is recorded and given to
key 1 and a shortcut to key 2; Apply sends them to the host and the keyboard. Then the keys are
pressed on the keyboard and what reached a window is printed with its timing."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import tolk_e2e as e2e  # noqa: E402

# "hello" as a hand types it: X key name, down or up, milliseconds to the next key.
TYPING = [("h", "down", 70), ("h", "up", 90), ("e", "down", 60), ("e", "up", 110), ("l", "down", 50),
          ("l", "up", 80), ("l", "down", 55), ("l", "up", 120), ("o", "down", 65), ("o", "up", 0)]


def step(text):
    print("\n" + text)


def main():
    build = sys.argv[1]
    s = e2e.Session(build, "demo")
    try:
        step("1. The keyboard and the host")
        print("   program folder: %s" % s.folder)
        s.start_simulator()
        s.start_host()
        print("   TolkHid found the simulated keyboard: config.ini says Device=%s, FWVersion=%s" % (
            e2e.ini_value(s.config_ini, "Setting", "Device"), e2e.ini_value(s.config_ini, "Setting", "FWVersion")))

        step("2. TolkCfg, the configuration program")
        try:
            cfg = e2e.ConfigProgram(s)
        except e2e.Skipped as reason:
            print("   cannot be driven here: %s" % reason)
            return 0
        shots = [cfg.save_shot("demo_main")]
        print("   its window shows the five profiles of the keyboard and the assignments of the keys")

        step("3. A macro, recorded in TolkCfg and given to key 1")
        print("   key 1's menu > Assign Macro > Create New Macro...; in the macro manager a set \"Demo\",")
        print("   a macro \"Hello\", Record delays on, Record, the keys h e l l o typed, Stop, OK;")
        print("   then key 1's menu > Assign Macro > Demo > Hello")
        e2e.record_new_macro(cfg, 1, "Demo", "Hello", TYPING)
        e2e.assign_macro(cfg, 1, 0, 1, 0, 1)
        shots += [os.path.join(cfg.shot_folder(), "manager_recorded.png"),
                  os.path.join(cfg.shot_folder(), "macro_menu.png")]

        step("4. A shortcut, Ctrl+F5, given to key 2")
        print("   key 2's menu > Assign a shortcut; Ctrl clicked, F5 pressed, OK")
        e2e.assign_shortcut(cfg, 2, "F5", ctrl=True)
        shots += [os.path.join(cfg.shot_folder(), "assign_shortcut_dialog.png"), cfg.save_shot("demo_assigned")]

        step("5. Apply")
        cfg.apply_and_wait(lambda: (e2e.macro_in_block(s.read_block(), 1, 1)[0] == "Hello" and
                                    s.sim_state()["keys"][(1, 2)] == e2e.CTRL_F5_SEQUENCE),
                           "the host to hold the macro and the keyboard the shortcut")
        name, events = e2e.macro_in_block(s.read_block(), 1, 1)
        pauses = [p for _, _, p in events]
        print("   the host holds macro %r on key 1: %d key events, recorded pauses %s ms" % (
            name, len(events), pauses[:-1]))
        print("   the keyboard stores Ctrl+F5 for key 2 itself (%s: Ctrl down, F5 down, F5 up, Ctrl up)"
              % s.sim_state()["keys"][(1, 2)][:16])

        step("6. Key 1 pressed on the keyboard: the host plays the macro into a window")
        keys = [(("WM_KEYDOWN" if d == "down" else "WM_KEYUP"), ord(k.upper())) for k, d, _ in TYPING]
        played = e2e.play_recorded(s, 1, keys, pauses)
        first = played[0][0]
        print("   %6s  %-10s %-4s %9s  %s" % ("ms", "message", "key", "gap", "recorded pause"))
        for i, (ms, message, vk, _) in enumerate(played):
            gap = "" if i == 0 else "%d ms" % (ms - played[i - 1][0])
            recorded = "" if i == 0 else "%d ms" % pauses[i - 1]
            print("   %6d  %-10s %-4s %9s  %s" % (ms - first, message, chr(vk), gap, recorded))

        cfg.click(e2e.CFG_OK)
        cfg.wait_exit(30, "after OK")
        step("7. What stays: the user's data beside the programs")
        data = [os.path.join(s.folder, "config.ini")]
        for folder, _, files in os.walk(os.path.join(s.folder, "config")):
            data += [os.path.join(folder, file) for file in sorted(files)]
        for path in data:
            print("   %-24s %6d bytes" % (os.path.relpath(path, s.folder), os.path.getsize(path)))
        print("   screenshots of TolkCfg's windows:")
        for shot in shots:
            print("     " + shot)
    finally:
        s.close()
    print("\nAll processes ended.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
