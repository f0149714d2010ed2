#!/usr/bin/env python3
"""Generates the countdown sounds that the host plays from "Wav\\".

    make_sounds.py OUTDIR/Wav

writes Countdown_Activated.wav (a short rising two-tone chime), Countdown_stopped.wav (a short
falling tone) and Countdown.wav (ten seconds: nine soft ticks one second apart and a brighter
chime on the tenth second, the end of the countdown). PCM 16-bit mono 22050 Hz. Every sound is
built from sines under smooth envelopes and starts and ends at silence, so nothing clicks.
"""

import argparse
import math
import os
import struct
import wave

RATE = 22050


def _bell(buf, start, freq, length, amp, partials=((1.0, 1.0), (2.0, 0.28), (3.0, 0.08)), decay=6.0,
          attack=0.006):
    """Adds a struck tone: sines with a short raised-cosine attack and an exponential decay that is
    brought smoothly to zero at its end."""
    n0, n = int(start * RATE), int(length * RATE)
    na = max(1, int(attack * RATE))
    for i in range(n):
        if n0 + i >= len(buf):
            break
        t = i / RATE
        env = math.exp(-decay * t)
        if i < na:
            env *= 0.5 - 0.5 * math.cos(math.pi * i / na)
        tail = n - i
        nt = int(0.03 * RATE)
        if tail < nt:
            env *= 0.5 - 0.5 * math.cos(math.pi * tail / nt)
        v = 0.0
        for mult, weight in partials:
            v += weight * math.sin(2 * math.pi * freq * mult * t) / (mult ** 0.3)
        buf[n0 + i] += amp * env * v


def _glide(buf, start, f0, f1, length, amp):
    """Adds a tone whose pitch falls from f0 to f1 (phase kept continuous)."""
    n0, n = int(start * RATE), int(length * RATE)
    phase = 0.0
    for i in range(n):
        t = i / n
        freq = f0 * (f1 / f0) ** t
        phase += 2 * math.pi * freq / RATE
        env = math.sin(math.pi * min(1.0, t * 8) / 2) ** 2 * (1 - t) ** 1.5
        buf[n0 + i] += amp * env * (math.sin(phase) + 0.2 * math.sin(2 * phase))


def _write(path, buf):
    peak = max(1e-9, max(abs(v) for v in buf))
    scale = min(1.0, 0.85 / peak) * 32767
    frames = b"".join(struct.pack("<h", int(round(v * scale))) for v in buf)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


def activated():
    buf = [0.0] * int(0.9 * RATE)
    _bell(buf, 0.0, 659.25, 0.55, 0.6)  # E5
    _bell(buf, 0.13, 987.77, 0.75, 0.6)  # B5: a rising fifth
    return buf


def stopped():
    buf = [0.0] * int(0.6 * RATE)
    _glide(buf, 0.0, 784.0, 392.0, 0.55, 0.7)  # G5 down an octave
    return buf


def countdown():
    buf = [0.0] * (10 * RATE)
    for k in range(9):
        _bell(buf, float(k), 1318.5, 0.09, 0.35, partials=((1.0, 1.0), (2.0, 0.15)), decay=45.0, attack=0.002)
    # The tenth: a bright two-note chord that rings out to the end of the tenth second.
    _bell(buf, 9.0, 880.0, 0.98, 0.45, decay=3.5)
    _bell(buf, 9.0, 1318.5, 0.98, 0.35, decay=4.0)
    return buf


def generate(outdir):
    os.makedirs(outdir, exist_ok=True)
    _write(os.path.join(outdir, "Countdown_Activated.wav"), activated())
    _write(os.path.join(outdir, "Countdown_stopped.wav"), stopped())
    _write(os.path.join(outdir, "Countdown.wav"), countdown())


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("outdir", help="the Wav folder of the program folder")
    generate(ap.parse_args(argv).outdir)


if __name__ == "__main__":
    main()
