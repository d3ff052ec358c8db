#!/usr/bin/env python3
"""Independent reference for the level and delay readouts checked in config_leveldelay_test.cpp.

Speed of sound c = 20.06 * sqrt(T + 273) in single precision, one foot = 0.30480061 m,
48000 samples per second; ties of the one-decimal and two-decimal texts do not occur here.
"""
import math
import struct


def single(x):
    return struct.unpack("f", struct.pack("f", x))[0]


def c(t):
    return single(single(20.06) * single(math.sqrt(single(t + 273))))


FOOT = 0.30480061
RATE = 48000

print("levels: dB, 10^(dB/20)")
for p in (-400, -300, -240, 100):
    db = (-300 - p) / 10
    print(p, f"{db:.1f}", f"{10 ** (db / 20):.8f}")

print("input delay: cm, T -> metres, feet, window ms, samples, main-window ms")
for cm, t in ((100, 25), (1000, 25), (10000, 0), (10000, 25), (10000, 50)):
    ms = cm / 100 / c(t) * 1000
    samples = round(cm / 100 / c(t) * RATE)
    print(cm, t, f"{cm / 100:.2f}", f"{cm / 100 / FOOT:.2f}", f"{ms:.2f}", samples, f"{samples / RATE * 1000:.2f}")

print("temperature 25 -> 30: position from the samples at the new speed")
for cm in (1000, 500):
    samples = round(cm / 100 / c(25) * RATE)
    moved = round(samples / RATE * c(30) * 100)
    again = round(moved / 100 / c(30) * RATE)
    print(cm, samples, moved, again, f"{again / RATE * 1000:.3f}")

print("output delay: position, T -> ms, cm, feet, samples")
for p, t in ((1, 25), (250, 25), (1500, 25), (250, 0)):
    ms = p * 0.02
    cm = ms / 1000 * c(t) * 100
    samples = min(round(ms / 1000 * RATE), 1440)
    print(p, t, f"{ms:.2f}", f"{cm:.1f}", f"{cm / 100 / FOOT:.1f}", samples)
