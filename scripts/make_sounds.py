#!/usr/bin/env python3
"""Generates the program's own short event sounds (8 kHz, 8-bit mono WAV)."""
import math
import struct
import sys
import wave

RATE = 8000


def tone(freqs, seconds, volume=0.6):
    frames = bytearray()
    total = int(RATE * seconds)
    for i in range(total):
        t = i / RATE
        f = freqs[0] + (freqs[1] - freqs[0]) * i / total
        envelope = min(1.0, (total - i) / (RATE * 0.03), i / (RATE * 0.005))
        sample = volume * envelope * math.sin(2 * math.pi * f * t)
        frames.append(int(128 + 127 * sample))
    return bytes(frames)


def write(path, data):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(RATE)
        w.writeframes(data)


def main(folder):
    write(f"{folder}/boing.wav", tone((520, 180), 0.35))
    write(f"{folder}/recycle.wav", tone((900, 300), 0.25) + tone((300, 200), 0.1))
    write(f"{folder}/BIPECOMP.WAV", tone((1200, 1200), 0.12) + bytes([128]) * 600 + tone((1500, 1500), 0.12))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ".")
