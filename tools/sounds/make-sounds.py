#!/usr/bin/env python3
"""Writes the clock's sounds into a folder: make-sounds.py <folder>.

Short synthesised tones (8-bit mono PCM at 11025 Hz) for the files the program plays from
Sounds\\Clock: c.wav (the chime before the time is spoken), alts.wav (memo reminder),
allday.wav (festival reminder) and doorbell.wav. Each file is written under a temporary
name and moved into place."""
import math
import os
import sys
import wave

RATE = 11025

# Each sound: notes of (frequency in Hz, seconds), each fading out.
SOUNDS = {
    "c.wav": [(1046.5, 0.35), (784.0, 0.55)],
    "alts.wav": [(880.0, 0.12), (0, 0.06), (880.0, 0.12), (0, 0.06), (1174.7, 0.25)],
    "allday.wav": [(523.3, 0.15), (659.3, 0.15), (784.0, 0.15), (1046.5, 0.4)],
    "doorbell.wav": [(659.3, 0.45), (523.3, 0.7)],
}


def samples(notes):
    out = bytearray()
    for freq, seconds in notes:
        count = int(RATE * seconds)
        for i in range(count):
            fade = 1.0 - i / count
            value = 0.0 if freq == 0 else math.sin(2 * math.pi * freq * i / RATE) * 0.6 * fade * fade
            out.append(128 + int(round(value * 127)))
    return bytes(out)


def main() -> int:
    if len(sys.argv) != 2:
        print("usage: make-sounds.py <folder>", file=sys.stderr)
        return 2
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, notes in SOUNDS.items():
        target = os.path.join(folder, name)
        temp = target + ".tmp"
        with wave.open(temp, "wb") as w:
            w.setnchannels(1)
            w.setsampwidth(1)
            w.setframerate(RATE)
            w.writeframes(samples(notes))
        os.replace(temp, target)
    return 0


if __name__ == "__main__":
    sys.exit(main())
