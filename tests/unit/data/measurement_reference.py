#!/usr/bin/env python3
"""Independent reference for the measurement import tests: reads the real export files with a
plain parser of its own, resamples them onto the 401-point grid by linear interpolation and
prints, per file, the point count, the first and last frequency and the resampled level and
phase at a few grid points. Usage: measurement_reference.py MEASUREMENTS_DIR"""
import math
import re
import sys

def grid():
    l1, l2 = math.log10(20), math.log10(23999)
    step = (l2 - l1) / 400
    return [round(10 ** (l1 + e * step)) for e in range(401)]  # Python rounds half to even

def read_text(path):
    pts, group_delay = [], False
    with open(path, 'rb') as f:
        for raw in f.read().decode('latin-1').replace('\r\n', '\n').replace('\r', '\n').split('\n'):
            s = raw.strip(' \t')
            if not s:
                continue
            if s[0] in '*;#':
                low = s.lower()
                if 'data:' in low and 'group delay' in low:
                    group_delay = True
                continue
            fields = [x for x in re.split(r'[ \t,;]+', s) if x]
            try:
                f, m = float(fields[0]), float(fields[1])
            except (ValueError, IndexError):
                continue
            try:
                p = float(fields[2])
            except (ValueError, IndexError):
                p = 0.0
            if pts and pts[-1][0] == f:
                continue
            pts.append((f, m, p))
    if group_delay:
        pts = [(f, m, 0.0) for f, m, _ in pts]
    return pts

def resample(pts, reference, impedance):
    out = []
    for g in grid():
        if g < pts[0][0] or g > pts[-1][0]:
            out.append((0.0 if impedance else -140.0, 0.0))
            continue
        # the segment holding g (points ascend in every real file)
        k = max(i for i in range(len(pts) - 1) if pts[i][0] <= g) if g < pts[-1][0] else len(pts) - 2
        (f0, m0, p0), (f1, m1, p1) = pts[k], pts[k + 1]
        t = (g - f0) / (f1 - f0)
        out.append((m0 + t * (m1 - m0) - (0 if impedance else reference),
                    math.radians(p0 + t * (p1 - p0))))
    return out

def main():
    folder = sys.argv[1]
    files = [
        ('frd', 'jcandy-speakertools_bin-util-example_plot_sample.frd'),
        ('frd', 'romain-o-FindMyCrossover_data-Woofers-FRD-0deg_SIG180-4_0deg.frd'),
        ('frd', 'ayukhno-autosound-measurements_hardware-helix-dsp-ultra-s-measurements_fact5-bell-boost-q4-after.txt'),
        ('zma', 'jcandy-speakertools_bin-util-example_plot_sample.zma'),
        ('zma', 'jcandy-speakertools_src-data_L16RNX_0g_242_27mV.zma'),
        ('zma', 'romain-o-FindMyCrossover_data-Woofers-ZMA_SIG180-4.zma'),
        ('rew', 'Tunetown-RoomMap_examples-realTest1_0_0_0.txt'),
        ('rew', 'camille-7-PublicGraphTool_data-targets_Diffuse-Field-Target.txt'),
        ('rew', 'camille-7-PublicGraphTool_data_Audiosense-DT200-Final-E-L.txt'),
        ('clio', 'pierreaubert-autoeq_data_tests-drivers-ex-2-wavecor_TW022WA06.txt'),
        ('clio', 'pierreaubert-autoeq_data_tests-drivers-ex-2-wavecor_WF120BD04.txt'),
    ]
    g = grid()
    k1000 = min(range(401), key=lambda i: abs(g[i] - 1000))
    for kind, name in files:
        pts = read_text(folder + '/' + kind + '/' + name)
        res = resample(pts, 96.0, kind == 'zma')
        # the first grid point inside the measured range
        inside = next(i for i in range(401) if pts[0][0] <= g[i] <= pts[-1][0])
        at1k = next(((m0 + (1000 - f0) / (f1 - f0) * (m1 - m0))
                     for (f0, m0, _), (f1, m1, _) in zip(pts, pts[1:]) if f0 <= 1000 <= f1), None)
        print(f'{kind}/{name}: {len(pts)} points, {pts[0][0]!r} .. {pts[-1][0]!r} Hz, at 1 kHz {at1k!r}')
        for i in sorted({inside, k1000, 400}):
            print(f'    grid {i} ({g[i]} Hz): level {res[i][0]!r}, phase {res[i][1]!r}')

if __name__ == '__main__':
    main()
