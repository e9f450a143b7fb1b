"""Spline derivatives and the B-spline form of the Hermite package against
SciPy, through the library's exported C names (ctypes):

* dpchsp beside scipy.interpolate.CubicSpline: derivatives at the nodes for
  not-a-knot, clamped, second-derivative and mixed ends, on the
  derivative-check data exp(-x^2) and on random data;
* dpchbs + dbvalu beside scipy.interpolate.BSpline on dpchbs's knots and
  coefficients and CubicHermiteSpline on the same Hermite data, over
  [x(1), x(n)], for knot types 0, 1 and 2 (value, first and second
  derivative).

Prints the largest relative differences and the spline's time per call
(interleaved rounds, minimum of each) and exits with status 1 when an
agreement exceeds its tolerance.

    .venv/bin/python bench/hermite_forms.py [--points N]

SciPy is a benchmark-only dependency (bench/requirements.txt).  Runs against
build/libtavrin.so or the library named by TAVRIN_LIBRARY.
"""
import argparse
import ctypes as C
import os
import pathlib
import sys
import timeit

import numpy as np
from scipy.interpolate import BSpline, CubicHermiteSpline, CubicSpline

root = pathlib.Path(__file__).resolve().parents[1]
lib = C.CDLL(os.environ.get("TAVRIN_LIBRARY", str(root / "build" / "libtavrin.so")))
I, D = C.POINTER(C.c_int), C.POINTER(C.c_double)
lib.dbvalu.restype = C.c_double


def ptr(a):
    return a.ctypes.data_as(I if a.dtype == np.int32 else D)


def ref(v, kind=C.c_int):
    return C.byref(kind(v))


def dpchsp(ic, vc, x, f):
    n = len(x)
    d, wk, ierr = np.zeros(n), np.zeros(2 * n), C.c_int(-99)
    lib.dpchsp(ptr(np.array(ic, np.int32)), ptr(np.array(vc, float)), ref(n), ptr(x), ptr(f), ptr(d), ref(1),
               ptr(wk), ref(2 * n), C.byref(ierr))
    assert ierr.value == 0, ierr.value
    return d


def dpchbs(x, f, d, knotyp):
    n = len(x)
    t, bcoef = np.zeros(2 * n + 4), np.zeros(2 * n)
    nknots, ndim, kord, ierr = C.c_int(0), C.c_int(0), C.c_int(0), C.c_int(-99)
    lib.dpchbs(ref(n), ptr(x), ptr(f), ptr(d), ref(1), ref(knotyp), C.byref(nknots), ptr(t), ptr(bcoef),
               C.byref(ndim), C.byref(kord), C.byref(ierr))
    assert ierr.value == 0 and kord.value == 4, ierr.value
    return t, bcoef


def dbvalu(t, bcoef, ideriv, points):
    work, inbv, out = np.zeros(12), C.c_int(1), []
    for p in points:
        out.append(lib.dbvalu(ptr(t), ptr(bcoef), ref(len(bcoef)), ref(4), ref(ideriv), ref(p, C.c_double),
                              C.byref(inbv), ptr(work)))
    return np.array(out)


def rel(a, b):
    return float(np.max(np.abs(a - b) / np.maximum(1.0, np.abs(b))))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--points", type=int, default=1000)
    args = parser.parse_args()
    rng = np.random.default_rng(15)
    xq = np.array([-2.2, -1.2, -1.0, -0.5, -0.01, 0.5, 1.0, 2.0, 2.2])
    datasets = {"check data": (xq, np.exp(-xq * xq)),
                "random": (np.cumsum(rng.uniform(0.1, 2.0, 40)), rng.normal(size=40))}
    failed = False

    print("dpchsp against CubicSpline (derivatives at the nodes, largest relative difference)")
    for name, (x, f) in datasets.items():
        ends = {"not-a-knot": ((0, 0), (0, 0), "not-a-knot"),
                "clamped": ((1, 1), (0.3, -1.2), ((1, 0.3), (1, -1.2))),
                "second derivative": ((2, 2), (0.5, 2.0), ((2, 0.5), (2, 2.0))),
                "mixed": ((1, 2), (-0.7, 0.25), ((1, -0.7), (2, 0.25)))}
        for label, (ic, vc, bc) in ends.items():
            diff = rel(dpchsp(ic, vc, x, f), CubicSpline(x, f, bc_type=bc)(x, 1))
            failed |= diff > 1e-12
            print(f"  {name:11s} {label:18s} {diff:9.2e}")

    print("dpchbs/dbvalu and BSpline against CubicHermiteSpline on [x(1), x(n)]")
    for name, (x, f) in datasets.items():
        d = np.cos(x) + 0.1 * x
        chs = CubicHermiteSpline(x, f, d)
        probe = np.concatenate([x, np.linspace(x[0], x[-1], 501)])
        for knotyp in (0, 1, 2):
            t, bcoef = dpchbs(x, f, d, knotyp)
            bs = BSpline(t, bcoef, 3, extrapolate=False)
            line = []
            for ideriv in (0, 1, 2):
                ours = dbvalu(t, bcoef, ideriv, probe)
                scipy_b, scipy_h = bs(probe, ideriv), chs(probe, ideriv)
                tol = 1e-12 if ideriv < 2 else 1e-9
                worst = max(rel(ours, scipy_h), rel(scipy_b, scipy_h))
                failed |= worst > tol
                line.append(f"{worst:9.2e}")
            print(f"  {name:11s} knot type {knotyp}: value, slope, curvature {' '.join(line)}")

    x = np.cumsum(rng.uniform(0.5, 1.5, args.points))
    f = np.sin(x / 25.0)
    ours, theirs = [], []
    for _ in range(7):  # interleaved rounds, minimum of each
        ours.append(min(timeit.repeat(lambda: dpchsp((0, 0), (0, 0), x, f), number=20, repeat=3)) / 20)
        theirs.append(min(timeit.repeat(lambda: CubicSpline(x, f)(x, 1), number=20, repeat=3)) / 20)
    print(f"not-a-knot spline of {args.points} points: tavrin {min(ours) * 1e6:8.1f} us,"
          f" SciPy {min(theirs) * 1e6:8.1f} us, ratio {min(theirs) / min(ours):5.1f}x")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
