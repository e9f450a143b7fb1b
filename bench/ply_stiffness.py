"""The ply kernels through _tavrin beside the same off-axis stiffness in
plain NumPy, in one run.

    .venv/bin/python bench/ply_stiffness.py

Runs against the build tree (build/python) or an installed _tavrin.  The
NumPy reference builds the 6×6 strain transformation T from the angle and
forms Tᵀ·C·T from the on-axis stiffness C; the calls take turns
(bench/timing.py) and the ratio is NumPy's time over _tavrin's
getnyeoffaxissc (target: at least 5), with NumPy's BLAS on its default
threads and again on one thread.  The native cost of the same
kernels, with their heap-allocation count, is in build/bench/bench_ply_stiffness
(configure with -DTAVRIN_BUILD_BENCH=ON).
"""
import pathlib
import sys

import numpy as np

root = pathlib.Path(__file__).resolve().parents[1]
sys.path.insert(0, str(root / "build" / "python"))
sys.path.insert(0, str(root / "bench"))
import _tavrin  # noqa: E402
import timing  # noqa: E402

PROPS = np.array([140.0e3, 10.0e3, 9.5e3, 0.3, 0.28, 0.45, 5.0e3, 4.8e3, 3.4e3])


def numpy_off_axis(c, dangle):
    """Tᵀ·C·T with T the engineering-strain transformation (Nye order)."""
    t = np.radians(dangle)
    co, si = np.cos(t), np.sin(t)
    cs = co * si
    T = np.array([[co * co, si * si, 0.0, cs, 0.0, 0.0],
                  [si * si, co * co, 0.0, -cs, 0.0, 0.0],
                  [0.0, 0.0, 1.0, 0.0, 0.0, 0.0],
                  [-2.0 * cs, 2.0 * cs, 0.0, co * co - si * si, 0.0, 0.0],
                  [0.0, 0.0, 0.0, 0.0, co, si],
                  [0.0, 0.0, 0.0, 0.0, -si, co]])
    return T.T @ c @ T


def main():
    la = _tavrin.lamina
    c = la.getnyestiffnessmatrix(PROPS, 6)
    dangle = 37.0
    np.testing.assert_allclose(la.getnyeoffaxissc(dangle, PROPS, 6, 1), numpy_off_axis(c, dangle),
                               rtol=1e-12, atol=1e-8)
    fns = {
        "_tavrin getnyestiffnessmatrix(props, 6)": lambda: la.getnyestiffnessmatrix(PROPS, 6),
        "_tavrin getnyeoffaxissc(37, props, 6, 1)": lambda: la.getnyeoffaxissc(dangle, PROPS, 6, 1),
        "_tavrin getnyetransformationmatrix(t, 6, 0, 0)": lambda: la.getnyetransformationmatrix(0.6, 6, 0, 0),
        "numpy: T from the angle, T.T @ C @ T": lambda: numpy_off_axis(c, dangle),
    }
    t = timing.per_call(fns)
    print(timing.blas_label())
    for name, seconds in t.items():
        print(f"  {name:48s} {seconds * 1e9:8.0f} ns/call")
    ours, theirs = t["_tavrin getnyeoffaxissc(37, props, 6, 1)"], t["numpy: T from the angle, T.T @ C @ T"]
    print(f"  numpy / _tavrin getnyeoffaxissc = {theirs / ours:.1f}x")
    timing.rerun_on_one_blas_thread()


if __name__ == "__main__":
    main()
