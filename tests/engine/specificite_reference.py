#!/usr/bin/env python3
"""Independent reference values for the specificity model tests (specificite_test.cpp).

The model is evaluated with mpmath at 60 significant digits, following the same formulas
(exact factorials up to 33, Stirling with its 1/(12n) term above, the two tail recurrences
with their 1e-10 stop, the floor on point probabilities) but in high precision, so the
double-precision program must agree with these values to about 1e-12.  The exact
hypergeometric tails (fractions, no Stirling, no truncation) are printed beside them as a
check that the model computes what it claims.

Run:  python3 tests/engine/specificite_reference.py
"""
import struct
from fractions import Fraction
from math import comb

import mpmath as mp

mp.mp.dps = 60
FLOOR = mp.mpf(struct.unpack('<d', struct.pack('<Q', 0x358DEE7A4AD4B81E))[0])


def lnfact(n):
    n = mp.mpf(n)
    if n > 33:
        return n * mp.log(n) - n + mp.mpf(1) / 2 * mp.log(2 * mp.pi * n) + 1 / (12 * n)
    p = mp.mpf(1)
    g = 2
    while g <= n:
        p *= g
        g += 1
    return mp.log(p)


def proba(T, t, F, k):
    s = lnfact(T - F) - lnfact(T) + lnfact(T - t) - lnfact(T - F - t + k)
    if k != 0:
        s += lnfact(F) + lnfact(t) - lnfact(k) - lnfact(F - k) - lnfact(t - k)
    return mp.exp(s)


def specif(T, t, F, f, thr):
    if f > t or F > T:
        return mp.mpf(0)
    if F - f > T - t:  # no such table
        return mp.mpf(0)
    P = proba(T, t, F, f)
    if P > thr:
        return mp.mpf(0)
    if P < FLOOR:
        P = FLOOR
    term = P
    total = P
    mode = mp.mpf(F + 1) * (t + 1) / (T + 2)
    under = mode > f
    s = f
    if under:
        while s > 0:
            term = term * s * (T - F - t + s) / ((F - s + 1) * (t - s + 1))
            total += term
            if total > thr:
                return mp.mpf(0)
            if term < mp.mpf('1e-10'):
                break
            s -= 1
    else:
        while s < F:
            term = (F - s) * term * (t - s) / ((s + 1) * (T - F - t + s + 1))
            total += term
            if total > thr:
                return mp.mpf(0)
            if term < mp.mpf('1e-10'):
                break
            s += 1
    r = mp.log10(total) - 1
    return r if under else -r


def exact_tail(T, t, F, f):
    def p(k):
        return Fraction(comb(F, k) * comb(T - F, t - k), comb(T, t))
    mode = Fraction((F + 1) * (t + 1), T + 2)
    if mode > f:
        return sum(p(k) for k in range(0, f + 1)), -1
    return sum(p(k) for k in range(f, min(F, t) + 1)), 1


if __name__ == '__main__':
    print('LnFact')
    for n in (2, 10, 33, 34, 100, 1000000):
        print(f'  {n}: {mp.nstr(lnfact(n), 25)}   exact ln(n!) {mp.nstr(mp.log(mp.factorial(n)), 25)}')
    print('ProbaHypergeo')
    for T, t, F, k in ((30, 10, 6, 2), (30, 10, 6, 0), (1000, 100, 50, 12), (20, 20, 5, 5)):
        print(f'  {T},{t},{F},{k}: {mp.nstr(proba(T, t, F, k), 25)}')
    print('CalcSpecif')
    cases = [
        (1000, 100, 50, 15, 0.05), (1000, 100, 50, 0, 0.05), (1000, 100, 50, 1, 0.05),
        (100000, 10000, 200, 40, 0.05), (98, 9, 9, 1, 1.0), (98, 9, 9, 0, 1.0),
        (10000, 100, 100, 100, 0.05), (10000, 5000, 1000, 0, 0.05),
        (1000, 100, 50, 9, 0.05), (1000, 100, 50, 10, 0.05),
        (100000, 50000, 60, 52, 0.05), (200, 100, 10, 10, 0.05),
    ]
    for c in cases:
        v = specif(*c)
        tail, sign = exact_tail(*c[:4])
        full = sign * (1 - mp.log10(mp.mpf(tail.numerator) / tail.denominator)) if sign > 0 else \
            mp.log10(mp.mpf(tail.numerator) / tail.denominator) - 1
        print(f'  {c}: {mp.nstr(v, 25)}   P={mp.nstr(proba(*c[:4]), 8)}   exact-tail coefficient {mp.nstr(full, 12)}')
