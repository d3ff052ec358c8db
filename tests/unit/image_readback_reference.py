#!/usr/bin/env python3
"""Reference values for image_readback_test.cpp, worked out apart from the program.

Speed of sound c = 20.06 * sqrt(T + 273) in single precision; samples = round-half-even of
metres / c * 48000; a delay above 14400 samples reaches the processor as 14390. The temperature
a read-back finds is the one nearest 25 C (lower first on a tie) at which every routed input's
distance gives the word its DSP block holds.
"""
import math
import struct
import sys


def f32(x):
    return struct.unpack('f', struct.pack('f', x))[0]


def speed(celsius):
    return f32(f32(20.06) * f32(math.sqrt(f32(celsius + 273))))


def samples(cm, celsius):
    return round(cm / 100.0 / speed(celsius) * 48000)  # round() is half-even


def word(n):
    return 14390 if n > 14400 else n


def cm_from_samples(n, celsius):
    return round(n * 100.0 * speed(celsius) / 48000)


def found_temperature(routed_cm, celsius):
    held = [word(samples(cm, celsius)) for cm in routed_cm]
    for away in range(26):
        for t in (25 - away, 25 + away):
            if 0 <= t <= 50 and all(word(samples(cm, t)) == w for cm, w in zip(routed_cm, held)):
                return t
    return 25


if __name__ == '__main__':
    # Rows of the test: set-up temperature, distances (cm) of the routed inputs.
    rows = [(6, [7969]), (0, [10000]), (0, [10000, 5000]), (25, [345, 120]), (50, [7000]),
            (50, [10000]), (6, [20]), (6, [])]
    for celsius, routed in rows:
        print(celsius, routed, [samples(cm, celsius) for cm in routed], '->', found_temperature(routed, celsius))
    for cm, t in [(7969, 6), (7969, 25), (10000, 3), (2500, 0), (2500, 25), (3000, 6), (3000, 25)]:
        print(f'{cm} cm at {t} C: {samples(cm, t)} samples')
    sys.exit(0)
