#!/usr/bin/env python3
"""Reference words for the dynamics design test (dsp_tdynamic_test.cpp).

Follows the design step by step the way the processor's fields hold it: every field is a 32-bit
float, each step reads the single the previous step stored, and the arithmetic between two stores
is done in double. Prints C++ table rows: the processor-format word of each stored single.

Run: python3 tests/unit/data/dynamics_words.py
"""

import math
import struct

SAMPLE_RATE = 48000


def f32(x):
    """Round a double to the nearest single (ties to even) and back."""
    return struct.unpack("<f", struct.pack("<f", x))[0]


def bits(x):
    return struct.unpack("<I", struct.pack("<f", x))[0]


def processor_word(x):
    """TMS320C3x single from an IEEE single, as the image writes it."""
    b = bits(f32(x))
    sign, biased, mant = b >> 31, (b >> 23) & 0xFF, b & 0x7FFFFF
    if b & 0x7FFFFFFF == 0:
        return 0x80000000
    exp = 0x80 if biased == 0 else (biased - 127) & 0xFF
    if not sign:
        return (exp << 24) | mant
    if mant != 0:
        return (exp << 24) | ((-mant) & 0xFFFFFF)
    return (((exp - 1) & 0xFF) << 24) | 0x800000


def ballistics(tau, time_ms, decimated):
    rate = round(SAMPLE_RATE / 2) if decimated else SAMPLE_RATE
    return f32(math.exp(math.log(1.0 - tau) / (time_ms / 1000.0 * rate)))


def design(umbral, ratio, gain_db, knee, crit_knee, n, t_attack, t_release, over_range, tau=0.9):
    # Parameters are singles too.
    umbral, ratio, gain_db, knee = f32(umbral), f32(ratio), f32(gain_db), f32(knee)
    t_attack, t_release, over_range, tau = f32(t_attack), f32(t_release), f32(over_range), f32(tau)
    d = {}
    d["AttackCoef"] = ballistics(tau, t_attack, True)
    d["AttackHalf"] = f32((1.0 - d["AttackCoef"]) / 2.0)
    d["Release"] = ballistics(tau, t_release, True)
    if umbral == 0.0:
        umbral = f32(-0.01)
    t, w, g = umbral, knee, gain_db
    slope = 1.0 / ratio if crit_knee == 1 else 0.0
    l0 = 10.0 ** ((t - w) / 20.0)
    xs, xdbs, ys, outs, gains = [], [], [], [], []
    for i in range(1, n + 1):
        x = f32(l0 + (1.0 - l0) * (i - 1) / (n - 1))
        xdb = f32(20.0 * math.log10(x))
        if w != 0.0:
            if xdb <= t + w:
                y = xdb + (slope - 1.0) * (xdb - t + w) ** 2 / (4.0 * w) + g
            else:
                y = t + g + slope * (xdb - t)
        else:
            y = g + t + slope * (xdb - t)
        y = f32(y)
        out = f32(10.0 ** (y / 20.0))
        xs.append(x)
        xdbs.append(xdb)
        ys.append(y)
        outs.append(out)
        gains.append(f32(out / x))
    if w <= 3.0:
        top, bottom = 10.0 ** (t / 20.0), 10.0 ** ((t - 3.0) / 20.0)
    else:
        j = next((k for k in range(n) if ys[k] >= t - 3.0 + g), n - 1)
        top, bottom = 10.0 ** ((t + w) / 20.0), 10.0 ** (xdbs[j] / 20.0)
    if crit_knee == 1:
        bottom, top = 10.0 ** (t / 20.0), 0.8414
    d["KneeTop"], d["KneeBottom"] = f32(top), f32(bottom)
    m = 10.0 ** (over_range / 20.0)
    g1 = gains[-1]
    gm = 10.0 ** ((1.0 - slope) * t / 20.0) / m
    u = (g1 - gm) / (1.0 - m) ** 3
    d["OverC3"] = f32(u)
    d["OverC2"] = f32(-3.0 * m * u)
    d["OverC1"] = f32(3.0 * m * m * u)
    d["OverC0"] = f32(gm - m ** 3 * u)
    d["curve"] = list(zip(xs, xdbs, ys, outs, gains))
    return d


def hexw(x):
    return "0x%08X" % processor_word(x)


# A wide-knee limiter (the knee search runs) with a threshold that is not a single exactly, and a
# soft-knee compressor (slope 1/Ratio); twelve points keep the table short.
CASES = [
    ("WideKneeLimiter", dict(umbral=-13.85, ratio=1.0, gain_db=1.5, knee=6.0, crit_knee=0, n=12,
                             t_attack=400.0, t_release=250.0, over_range=10.0)),
    ("SoftKneeCompressor", dict(umbral=-20.0, ratio=3.0, gain_db=2.0, knee=4.0, crit_knee=1, n=12,
                                t_attack=10.0, t_release=100.0, over_range=6.0)),
]

if __name__ == "__main__":
    for name, params in CASES:
        d = design(**params)
        print("// %s %s" % (name, params))
        print("    {%s, %s, %s, %s, %s, %s, %s, %s, %s}," % tuple(
            hexw(d[k]) for k in ("AttackHalf", "AttackCoef", "Release", "KneeTop", "KneeBottom",
                                 "OverC0", "OverC1", "OverC2", "OverC3")))
        for i, row in enumerate(d["curve"], 1):
            print("    {%d, %s}," % (i, ", ".join(hexw(v) for v in row)))
    # Attack half-coefficients alone, decimated ballistics, Tau 0.9.
    for ms in (0.1, 10.0, 400.0, 1000.0):
        coef = ballistics(f32(0.9), f32(ms), True)
        print("    {%gf, %s, %s}," % (ms, hexw(coef), hexw(f32((1.0 - coef) / 2.0))))
