"""The eight-parameter delamination plate in one run: GetFdF8 per call
through its exported C name (ctypes) beside the NumPy polar-quadrature
reference of the tests (energy only, the cheapest thing the reference can
do), and a whole growth analysis (ninc = 100, nprec = 10) through _tavrin.
Rounds interleave (ours, NumPy, ours, ...), the minimum of each is kept.

    .venv/bin/python bench/dg8.py

Targets: GetFdF8 a few microseconds per call, at least 100 times faster
than the quadrature.  Runs against build/libtavrin.so or TAVRIN_LIBRARY.
"""
import ctypes as C
import os
import pathlib
import sys
import timeit

os.environ.setdefault("OPENBLAS_NUM_THREADS", "1")
import numpy as np  # noqa: E402

root = pathlib.Path(__file__).resolve().parents[1]
sys.path.insert(0, str(root / "build" / "python"))
sys.path.insert(0, str(root / "tests" / "delamination"))
import _tavrin  # noqa: E402
from test_dg8 import ABD, EPS, VEC, energy_by_quadrature, grow  # noqa: E402

lib = C.CDLL(os.environ.get("TAVRIN_LIBRARY", str(root / "build" / "libtavrin.so")))
D, I = C.POINTER(C.c_double), C.POINTER(C.c_int)


def ptr(x):
    return x.ctypes.data_as(I if x.dtype == np.int32 else D)


fp, dfp = np.zeros(8), np.zeros(64)
args = [ptr(fp), ptr(dfp), ptr(VEC), ptr(EPS)] + [C.byref(C.c_double(v)) for v in (40.0, 0.0017, 30.0, 20.0, 1e4)]
args += [ptr(np.asfortranarray(ABD)), C.byref(C.c_int(10)), C.byref(C.c_int(0))]
fdf = lib.GetFdF8
N = 20000


def ours():
    for _ in range(N):
        fdf(*args)


def numpy_reference():
    energy_by_quadrature(VEC, EPS, 30.0, 20.0, ABD)


best_ours, best_ref = float("inf"), float("inf")
for _ in range(5):
    best_ours = min(best_ours, timeit.timeit(ours, number=1) / N)
    best_ref = min(best_ref, timeit.timeit(numpy_reference, number=200) / 200)
print(f"GetFdF8 (nk = 10, ctypes call included): {best_ours * 1e6:8.2f} us/call")
print(f"NumPy quadrature of the energy:          {best_ref * 1e6:8.2f} us/call")
print(f"ratio: {best_ref / best_ours:.0f}x (target >= 100x)")
t = min(timeit.repeat(lambda: grow(_tavrin, (0.0, 0.05)), number=1, repeat=5))
print(f"DelaminationGrowthAnalysis, ninc = 100, nprec = 10: {t * 1e3:.1f} ms")
