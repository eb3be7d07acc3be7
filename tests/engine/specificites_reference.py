#!/usr/bin/env python3
"""Reference rows for specificites_test.cpp (group, per-part and chronological specificities).

Works on a table of counts per part written here by hand, with the coefficient of
specificite_reference.py (mpmath, 60 digits), and applies the rules of the three calculators
independently of the program: sums over reference / target parts, the filters, the divisor,
the run search with its strict comparison, the end-run inversions.  Coefficients are printed
unrounded; the rounding is half away from zero.

Run:  python3 tests/engine/specificites_reference.py
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from specificite_reference import specif  # noqa: E402

import mpmath as mp  # noqa: E402


def rnd(x):
    return int(x + mp.mpf('0.5')) if x >= 0 else -int(-x + mp.mpf('0.5'))


def primspec(table, occ, checked, selected, thr_pct, fmin, divisor=1, segments=None):
    T = sum(o for o, c in zip(occ, checked) if c)
    t = sum(o for o, s in zip(occ, selected) if s)
    if divisor > 1:
        T = int(T / divisor)
        t = int(t / divisor)
    rows = []
    for form, counts in table.items():
        F = sum(n for n, c in zip(counts, checked) if c)
        f = sum(n for n, c, s in zip(counts, checked, selected) if c and s)
        if f != 0 and F != 0 and F >= fmin:
            c = rnd(specif(T, t, F, f, thr_pct * mp.mpf('0.01')))
            if c != 0:
                rows.append((form, F, f, c))
    for seg, counts in (segments or {}).items():  # no f != 0 filter for segments
        F = sum(n for n, c in zip(counts, checked) if c)
        f = sum(n for n, c, s in zip(counts, checked, selected) if c and s)
        if F >= fmin:
            c = rnd(specif(T, t, F, f, thr_pct * mp.mpf('0.01')))
            if c != 0:
                rows.append((seg, F, f, c))
    return T, t, rows


def primspecchr(table, occ, thr_pct, fmin):
    T = sum(occ)
    n = len(occ)
    rows = []
    for form, counts in table.items():
        F = sum(counts)
        if not F > fmin:
            continue
        best, keep = mp.mpf(0), None
        for i in range(n):
            for j in range(i, n):
                f = sum(counts[i:j + 1])
                t = sum(occ[i:j + 1])
                c = specif(T, t, F, f, thr_pct * mp.mpf('0.01'))
                if abs(c) > abs(best):
                    best, keep = c, (f, i, j)
        if keep is None:
            continue
        f, i, j = keep
        c = rnd(best)
        if c < 0 and i == 0:
            c, i, j = -c, j + 1, n - 1
        elif c < 0 and j == n - 1:
            c, i, j = -c, 0, i - 1
        rows.append((form, f, c, i, j, mp.nstr(best, 12)))
    return rows


GROUP = {  # parts x, y, z
    'a': [30, 0, 5], 'b': [0, 30, 5], 'c': [10, 10, 30], 'd': [12, 12, 1],
    'e': [10, 0, 0], 'g': [9, 0, 0], 'h': [10, 0, 0],
}
GROUP_OCC = [sum(v[k] for v in GROUP.values()) for k in range(3)]

if __name__ == '__main__':
    print('parts', GROUP_OCC)
    print('PrimSpec x against all   ', primspec(GROUP, GROUP_OCC, [1, 1, 1], [1, 0, 0], 5, 10))
    print('PrimSpec x+z against all ', primspec(GROUP, GROUP_OCC, [1, 1, 1], [1, 0, 1], 5, 10))
    print('PrimSpec x, fmin 9       ', primspec(GROUP, GROUP_OCC, [1, 1, 1], [1, 0, 0], 5, 9))
    print('PrimSpec x, segments     ', primspec(GROUP, GROUP_OCC, [1, 1, 1], [1, 0, 0], 5, 10,
                                                segments={'s12': [0, 12, 0], 's9': [0, 9, 0]}))
    print('PrimSpec z, divisor 3    ', primspec(GROUP, GROUP_OCC, [1, 1, 1], [0, 0, 1], 5, 10, 3))
    print('CalcSpecTot x, z checked ')
    for k in (0, 2):
        sel = [0, 0, 0]
        sel[k] = 1
        print('   column part', k, primspec(GROUP, GROUP_OCC, [1, 0, 1], sel, 5, 10))


# Six parts of 300 occurrences; the filler forms (one occurrence per part at most) stay below
# every minimum frequency and only pad the parts.
CHRONO = {
    'u': [0, 0, 0, 67, 67, 66],    # under-used from the first part on
    'w': [0, 0, 200, 0, 0, 0],     # several runs at the floor: the first visited wins
    'm': [50, 50, 0, 0, 50, 50],   # under-used in the middle
    'q': [10, 0, 0, 0, 0, 0],      # frequency equal to the minimum frequency
    'r': [11, 0, 0, 0, 0, 0],
}
CHRONO_OCC = [300] * 6


def chrono_main():
    print('PrimSpecChr, 5 %, fmin 10')
    for row in primspecchr(CHRONO, CHRONO_OCC, 5, 10):
        print('  ', row)
    # A form under-used up to the last part, [50, 50, 50, 50, 0, 0] (a base of its own): the
    # over-use of 0..3 and the under-use of 4..5 are the same event, equal coefficients.
    T = 1800
    print('   v (0,3):', mp.nstr(specif(T, 1200, 200, 200, 0.05), 20), ' v (4,5):', mp.nstr(specif(T, 600, 200, 0, 0.05), 20))


if __name__ == '__main__':
    chrono_main()
    print('PrimSpecChr, one part only', primspecchr({'a': [40]}, [100], 5, 10))
