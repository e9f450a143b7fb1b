"""Per-call cost of the binding engine: a routine of three arrays (two read,
one created) beside numpy.add on the same arrays, in one run, the calls
taking turns (bench/timing.py).

    .venv/bin/python bench/binding_overhead.py [--size N]

Runs against the build tree (build/python) or an installed _tavrin.
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
import _tavrin_enginetest  # noqa: E402  (the engine's own test module: same engine as _tavrin)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--size", type=int, default=3)
    n = parser.parse_args().size
    a = np.asfortranarray(np.arange(float(n)))
    b = np.asfortranarray(np.arange(float(n)))
    vadd = _tavrin_enginetest.enginetest.vadd
    assert np.array_equal(vadd(a, b), np.add(a, b))
    cross = _tavrin.math.crossproduct
    a3, b3 = np.array([1.0, 2.0, 3.0]), np.array([4.0, 5.0, 6.0])
    fns = {
        "_tavrin engine: c = vadd(a, b)": lambda: vadd(a, b),
        "_tavrin.math.crossproduct(a3, b3)": lambda: cross(a3, b3),
        "numpy.add(a3, b3)": lambda: np.add(a3, b3),
        "numpy.add(a, b)": lambda: np.add(a, b),
        "empty Python call": lambda: None,
    }
    rows = [(name, seconds * 1e9) for name, seconds in timing.per_call(fns).items()]
    print(f"arrays of {n} float64")
    for name, ns in rows:
        print(f"  {name:34s} {ns:8.0f} ns/call")
    print(f"  vadd / numpy.add = {rows[0][1] / rows[3][1]:.2f}, "
          f"crossproduct / numpy.add = {rows[1][1] / rows[2][1]:.2f}")


if __name__ == "__main__":
    main()
