"""Monotone cubic Hermite table interpolation: math.cubichermitianinterpolation
beside SciPy's PchipInterpolator (build and evaluate) on the same data, in one
run (the calls taking turns, bench/timing.py), with the largest difference
of their values.

    .venv/bin/python bench/interpolation.py [--table N] [--points M]

SciPy is a benchmark-only dependency (bench/requirements.txt).  Runs against
the build tree (build/python) or an installed _tavrin.
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
from scipy.interpolate import PchipInterpolator  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--table", type=int, default=1001)
    parser.add_argument("--points", type=int, default=1_000_000)
    args = parser.parse_args()

    rng = np.random.default_rng(7)
    # A table with rising, falling and flat stretches and uneven spacing.
    x = np.cumsum(rng.uniform(0.5, 1.5, args.table))
    y = np.sin(x / 25.0) * 10.0 + np.where((x > x[300]) & (x < x[400]), 0.0, 0.05 * x)
    y[500:520] = y[500]
    inside = (x[0], x[-1])
    sorted_points = np.linspace(*inside, args.points)
    random_points = rng.permutation(sorted_points)

    tavrin_fn = _tavrin.math.cubichermitianinterpolation

    def scipy_fn(p):
        return PchipInterpolator(x, y, extrapolate=True)(p)

    print(f"table of {args.table} points, {args.points} evaluation points")
    print(f"  {'points':8s} {'tavrin ms':>10s} {'SciPy ms':>10s} {'speed-up':>9s} {'max |diff|':>11s}")
    for label, p in (("sorted", sorted_points), ("random", random_points)):
        diff = np.max(np.abs(tavrin_fn(x, y, p) - scipy_fn(p)))
        t = timing.per_call({"ours": lambda: tavrin_fn(x, y, p), "scipy": lambda: scipy_fn(p)},
                            seconds=0.1, rounds=15)
        t_tavrin, t_scipy = t["ours"] * 1e3, t["scipy"] * 1e3
        print(f"  {label:8s} {t_tavrin:10.2f} {t_scipy:10.2f} {t_scipy / t_tavrin:8.1f}x {diff:11.2e}")


if __name__ == "__main__":
    main()
