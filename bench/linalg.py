"""Matrix inverse through the binding beside numpy.linalg.inv, in one run.

    .venv/bin/python bench/linalg.py [--sizes 3 6 8]

Runs against the build tree (build/python) or an installed _tavrin.  Both
sides get the same Fortran-ordered float64 matrix; their calls take turns
(bench/timing.py) and the ratio is NumPy's time over _tavrin's (the target
for n <= 8 is at least 5).  NumPy's inverse goes through its threaded BLAS,
so the comparison is printed twice: with BLAS's default threads and on one
thread (the fair figure for a 6×6 problem, where waking the threads costs
more than the arithmetic).  The native cost of the same kernels, with their
heap-allocation count, is in build/bench/bench_linalg (configure with
-DTAVRIN_BUILD_BENCH=ON).
"""
import argparse
import pathlib
import sys

import numpy as np

root = pathlib.Path(__file__).resolve().parents[1]
sys.path.insert(0, str(root / "build" / "python"))
sys.path.insert(0, str(root / "bench"))
import _tavrin  # noqa: E402
import timing  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sizes", type=int, nargs="+", default=[3, 6, 8])
    sizes = parser.parse_args().sizes
    inverse = _tavrin.math.matrixinverse
    print(timing.blas_label())
    print(f"{'n':>3} {'_tavrin matrixinverse':>22} {'numpy.linalg.inv':>18} {'numpy / _tavrin':>16}")
    for n in sizes:
        rng = np.random.default_rng(n)
        a = np.asfortranarray(rng.uniform(-1.0, 1.0, (n, n)) + n * np.eye(n))
        np.testing.assert_allclose(inverse(a), np.linalg.inv(a), rtol=1e-12, atol=1e-14)
        t = timing.per_call({"ours": lambda: inverse(a), "numpy": lambda: np.linalg.inv(a)})
        print(f"{n:>3} {t['ours'] * 1e9:>19.0f} ns {t['numpy'] * 1e9:>15.0f} ns {t['numpy'] / t['ours']:>15.1f}x")
    timing.rerun_on_one_blas_thread()


if __name__ == "__main__":
    main()
