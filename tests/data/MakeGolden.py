#!/usr/bin/env python3
"""Writes the golden files of the store's formats from the record layouts alone, independently of
the C++ code, so the tests compare the program's output with an outside reckoning."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def hexblock(data: bytes) -> str:
    return data.hex().upper() + "%02X" % (sum(data) % 256)


def ini(sections) -> bytes:
    out = []
    for name, entries in sections:
        out.append("[%s]" % name)
        out.extend("%s=%s" % kv for kv in entries)
    return ("\r\n".join(out) + "\r\n").encode("latin-1")


def button_info(key_number, function, shortcut_key, flags):
    b = bytearray(2268)
    b[0] = key_number
    b[1] = function
    b[2158] = shortcut_key
    b[2159:2164] = bytes(flags)
    return bytes(b)


def element(name, loop, events):
    b = bytearray(2108)
    raw = name.encode("latin-1")
    b[0:len(raw)] = raw
    struct.pack_into("<ii", b, 52, loop, len(events))
    for i, (key, action, delay) in enumerate(events):
        struct.pack_into("<BBH", b, 60 + 4 * i, key, action, delay)
    return bytes(b)


def timer(seconds, name):
    b = bytearray(104)
    struct.pack_into("<i", b, 0, seconds)
    raw = name.encode("latin-1")
    b[4:4 + len(raw)] = raw
    return bytes(b)


def main():
    keys = [0x49, 0x4A, 0x4B, 0x4C, 0x4E]
    entries = [("GameFile0", ""), ("GameFile1", ""), ("GameFile2", ""), ("Mode", "1"), ("MediaOption", "0")]
    entries += [("key%d" % k, "0") for k in range(5)]
    entries += [("ButtonInfo%d" % k, hexblock(button_info(k + 1, 5, keys[k], [1, 0, 0, 0, 0]))) for k in range(5)]
    files = {
        "default_profile_slot2.rkp": ini([("Setting", entries)]),
        "macro_empty.ini": ini([("Main", [("Count", "0")])]),
        "macro_small.ini": ini([
            ("Main", [("Count", "2"), ("0", " Fight Set "), ("1", "Empty")]),
            ("Fight Set", [("Count", "2"),
                           ("0", hexblock(element("Combo", 0, [(0x04, 0, 30), (0x04, 1, 0), (0xF0, 0, 65535)]))),
                           ("1", hexblock(element("Jump", 1, [(0x2C, 0, 10)])))]),
            ("Empty", [("Count", "0")]),
        ]),
        "timer_after_delete.ini": ini([("Timer", [("Count", "2"), ("0", hexblock(timer(30, "Egg"))),
                                                  ("1", hexblock(timer(5400, "Raid cooldown")))])]),
    }
    for name, data in files.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
