"""ABD of 8- and 64-ply quasi-isotropic stacks, in one run: natively (the
Google Benchmark program build/bench/bench_laminate_stiffness when it is
built), through _tavrin (getamatrix, getbmatrix, getdmatrix, getabdmatrix
from ply constants, angles and thicknesses), in plain NumPy (Q and Q̄ per
ply, Σ Q̄·Δz terms) and with the laminate package composipy, whose A, B, D
are first checked against ours.  The calls take turns (bench/timing.py); the
NumPy references use its threaded BLAS for the matrix products, so the table
is printed with BLAS's default threads and again on one thread.

    .venv/bin/python bench/laminate.py

Targets through _tavrin: at least 20 times faster than the NumPy loop and
100 times faster than composipy for 8 plies, and a cost linear in the number
of plies.  composipy is a benchmark-only requirement:

    .venv/bin/python -m pip install -r bench/requirements.txt

The native numbers need a build with benchmarks:

    cmake -S . -B build-bench -DTAVRIN_BUILD_BENCH=ON && cmake --build build-bench --target bench_laminate_stiffness
"""
import json
import pathlib
import subprocess
import sys

import numpy as np

root = pathlib.Path(__file__).resolve().parents[1]
sys.path.insert(0, str(root / "build" / "python"))
sys.path.insert(0, str(root / "bench"))
import _tavrin  # noqa: E402
import timing  # noqa: E402

# E1, E2, E3, ν12, ν13, ν23, G12, G13, G23 of a carbon-epoxy ply (MPa).
PLY = np.array([161.0e3, 11.38e3, 11.38e3, 0.32, 0.32, 0.44, 5.17e3, 5.17e3, 3.98e3])
T = 0.125


def stack(n):
    """[0/45/-45/90]ns of n plies, as the native benchmark builds it."""
    half = [[0.0, 45.0, -45.0, 90.0][k % 4] for k in range(n // 2)]
    angles = np.array(half + half[::-1])
    return np.asfortranarray(np.tile(PLY[:, None], (1, n))), angles, np.full(n, T)


def per_call_ns(fns):
    return {k: t * 1e9 for k, t in timing.per_call(fns, seconds=0.1).items()}


getamatrix, getbmatrix, getdmatrix, getabdmatrix = (
    _tavrin.laminate.getamatrix, _tavrin.laminate.getbmatrix, _tavrin.laminate.getdmatrix,
    _tavrin.laminate.getabdmatrix)


def tavrin_abd(elastic, angles, thickness):
    return getabdmatrix(getamatrix(elastic, angles, thickness), getbmatrix(elastic, angles, thickness),
                        getdmatrix(elastic, angles, thickness))


def numpy_abd(elastic, angles, thickness):
    """The textbook loop: Q of each ply, Q̄ = Tεᵀ·Q·Tε, and the sums."""
    z = np.concatenate([[0.0], np.cumsum(thickness)]) - thickness.sum() / 2
    a, b, d = np.zeros((3, 3)), np.zeros((3, 3)), np.zeros((3, 3))
    for k, theta in enumerate(np.radians(angles)):
        e1, e2, nu12, g12 = elastic[0, k], elastic[1, k], elastic[3, k], elastic[6, k]
        den = 1.0 - nu12 * nu12 * e2 / e1
        q = np.array([[e1 / den, nu12 * e2 / den, 0.0], [nu12 * e2 / den, e2 / den, 0.0], [0.0, 0.0, g12]])
        c, s = np.cos(theta), np.sin(theta)
        t = np.array([[c * c, s * s, c * s], [s * s, c * c, -c * s], [-2 * c * s, 2 * c * s, c * c - s * s]])
        qbar = t.T @ q @ t
        a += qbar * (z[k + 1] - z[k])
        b += qbar * (z[k + 1] ** 2 - z[k] ** 2) / 2
        d += qbar * (z[k + 1] ** 3 - z[k] ** 3) / 3
    return np.block([[a, b], [b, d]])


def composipy_abd(angles, composipy):
    ply = composipy.OrthotropicMaterial(PLY[0], PLY[1], PLY[3], PLY[6], T)
    return np.asarray(composipy.LaminateProperty(list(angles), ply).ABD)


def native_ns():
    """ns per ExportedABD/8 and /64 from the benchmark program, or None."""
    for build in ("build-bench", "build"):
        program = root / build / "bench" / "bench_laminate_stiffness"
        if program.exists():
            out = subprocess.run([str(program), "--benchmark_filter=ExportedABD|CppABD", "--benchmark_format=json",
                                  "--benchmark_min_time=0.2"], capture_output=True, text=True, check=True).stdout
            return {b["name"]: b["real_time"] for b in json.loads(out)["benchmarks"]}
    return None


def main():
    try:
        import composipy
    except ImportError:
        composipy = None
    native = native_ns()
    if native is None:
        print("native: build/bench/bench_laminate_stiffness not built (see this script's doc string)")
    if composipy is None:
        print("composipy: not installed; .venv/bin/python -m pip install -r bench/requirements.txt")
    rows = {}
    for n in (8, 64):
        elastic, angles, thickness = stack(n)
        ours = tavrin_abd(elastic, angles, thickness)
        scale = np.abs(ours).max()
        np.testing.assert_allclose(numpy_abd(elastic, angles, thickness), ours, rtol=0, atol=1e-12 * scale)
        if composipy is not None:
            theirs = composipy_abd(angles, composipy)
            # A, B and D of composipy agree with ours to rounding.
            np.testing.assert_allclose(theirs, ours, rtol=0, atol=1e-12 * scale)
        fns = {
            "_tavrin (4 calls)": lambda: tavrin_abd(elastic, angles, thickness),
            "numpy": lambda: numpy_abd(elastic, angles, thickness),
        }
        if composipy is not None:
            fns["composipy"] = lambda: composipy_abd(angles, composipy)
        rows[n] = per_call_ns(fns)
        if native is not None:
            rows[n]["native GetA/B/D/ABDMatrix"] = native[f"ExportedABD/{n}"]
            rows[n]["native laminate::abd()"] = native[f"CppABD/{n}"]
    print(timing.blas_label())
    print(f"{'ns per ABD':32s} {'8 plies':>12s} {'64 plies':>12s} {'64/8':>8s}")
    for name in rows[8]:
        print(f"  {name:30s} {rows[8][name]:12.0f} {rows[64][name]:12.0f} {rows[64][name] / rows[8][name]:8.1f}")
    for ref in ("numpy", "composipy"):
        if ref in rows[8]:
            ours = "_tavrin (4 calls)"
            print(f"  {ref} / _tavrin: {rows[8][ref] / rows[8][ours]:.0f}x for 8 plies, "
                  f"{rows[64][ref] / rows[64][ours]:.0f}x for 64 plies")
    timing.rerun_on_one_blas_thread()


if __name__ == "__main__":
    main()
