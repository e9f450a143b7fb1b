"""The fracture-plane and kink-band searches per stress point, in one run:
natively (the Google Benchmark program build/bench/bench_failure when it is
built), through _tavrin (mcrcklarc05, mcrckpuck sampling by 5° and 1° and in
golden-section mode, fblarc05 sampling by 5°) and as a plain NumPy search of
the same criterion (the point's trial angles as one array, the effort
evaluated on all of them, the largest taken), whose efforts are first
checked against ours.

    .venv/bin/python bench/failure.py

Target at the 5° default: the _tavrin call at least 20 times faster than
the NumPy search.  The native numbers need a build with benchmarks:

    cmake -S . -B build-bench -DTAVRIN_BUILD_BENCH=ON && cmake --build build-bench --target bench_failure
"""
import json
import os
import pathlib
import subprocess
import sys
import timeit

os.environ.setdefault("OPENBLAS_NUM_THREADS", "1")
import numpy as np  # noqa: E402

root = pathlib.Path(__file__).resolve().parents[1]
sys.path.insert(0, str(root / "build" / "python"))
import _tavrin  # noqa: E402

# The stress point (MPa) and the ply's strengths, as in bench_failure.cpp.
S11, S22, S33, S12, S13, S23 = -800.0, -80.0, 10.0, 30.0, 5.0, 8.0
XT11, XC11, XT22, XC22, X12, G12 = 1500.0, 1200.0, 50.0, 200.0, 70.0, 5000.0
A0 = np.radians(53.0)
GP = (0.3, 0.2, 0.15, 0.15)


def angles(step_d):
    """The trial angles 0, dθ, 2dθ, ... ≤ π."""
    step = np.radians(step_d)
    return np.arange(int(np.pi / step + 1e-9) + 1) * step


def traction(theta, s22, s33, s12, s13, s23):
    c, s = np.cos(theta), np.sin(theta)
    return (s33 * c * c + s22 * s * s - 2.0 * s23 * s * c, s13 * c - s12 * s,
            (s33 - s22) * s * c + s23 * (c * c - s * s))


def fracture_constants():
    t2 = np.tan(2.0 * A0)
    eta_t = -1.0 / t2
    st = XC22 * np.cos(A0) * (np.sin(A0) + np.cos(A0) / t2)
    return eta_t, st, eta_t * X12 / st


def numpy_larc05(step_d):
    eta_t, st, eta_l = fracture_constants()
    sn, tn1, tnt = traction(angles(step_d), S22, S33, S12, S13, S23)
    f = (tnt / (st - eta_t * sn)) ** 2 + (tn1 / (X12 - eta_l * sn)) ** 2 + (np.maximum(sn, 0.0) / XT22) ** 2
    return f.max()


def numpy_puck(step_d):
    sn, tn1, tnt = traction(angles(step_d), S22, S33, S12, S13, S23)
    ra = XC22 / (2.0 * (1.0 + GP[3]))
    tension = sn >= 0.0
    p, pl = np.where(tension, GP[2], GP[3]), np.where(tension, GP[0], GP[1])
    shear = tnt * tnt + tn1 * tn1
    slope = np.where(shear == 0.0, 0.0, (p * tnt * tnt / ra + pl * tn1 * tn1 / X12) / np.where(shear == 0.0, 1.0, shear))
    normal = np.where(tension, (1.0 / XT22 - slope) * sn, slope * sn)
    f = np.sqrt(normal ** 2 + (tnt / ra) ** 2 + (tn1 / X12) ** 2) + slope * sn
    return f.max()


def numpy_fibre(step_d):
    eta_t, st, eta_l = fracture_constants()
    k = eta_l + X12 / XC11
    phic = np.arctan((1.0 - np.sqrt(1.0 - 4.0 * k * X12 / XC11)) / (2.0 * k))
    psi = angles(step_d)
    c, s = np.cos(psi), np.sin(psi)
    # The stress on the kink plane ψ, then turned by the misalignment φ.
    r22 = c * c * S22 + s * s * S33 + 2.0 * c * s * S23
    r12 = c * S12 + s * S13
    r13 = c * S13 - s * S12
    r23 = (S33 - S22) * s * c + S23 * (c * c - s * s)
    phi = np.where(r12 < 0.0, -1.0, 1.0) * (abs(S12) + (G12 - XC11) * phic) / (G12 + S11 - S22)
    cp, sp = np.cos(phi), np.sin(phi)
    m22 = sp * sp * S11 + cp * cp * r22 - 2.0 * cp * sp * r12
    m12 = -cp * sp * S11 + cp * sp * r22 + (cp * cp - sp * sp) * r12
    m23 = -sp * r13 + cp * r23
    f = (m12 / (X12 - eta_l * m22)) ** 2 + (m23 / (st - eta_t * m22)) ** 2 + (np.maximum(m22, 0.0) / XT22) ** 2
    return f.max()


mc, fb = _tavrin.mccollection, _tavrin.fbcollection
TRANSVERSE = (S22, S33, S12, S13, S23)


def search(step_d, gsflag):
    """The keywords of a search other than the default (5°, sampling)."""
    return {} if (step_d, gsflag) == (5.0, 0) else {"sainc": step_d, "gsflag": gsflag}


def ours_larc05(step_d, gsflag=0):
    return mc.mcrcklarc05(*TRANSVERSE, XT22, XC22, X12, **search(step_d, gsflag))[0]


def ours_puck(step_d, gsflag=0):
    return mc.mcrckpuck(*TRANSVERSE, XT22, XC22, X12, **search(step_d, gsflag))[0]


def ours_fibre(step_d):
    return fb.fblarc05(S11, *TRANSVERSE, XT11, XC11, XT22, XC22, X12, G12, **search(step_d, 0))


def per_call_ns(fns, seconds=0.1, rounds=7):
    """The least ns per call of each function over rounds that take turns."""
    numbers = {k: max(1, int(seconds / max(timeit.timeit(f, number=3) / 3, 1e-9))) for k, f in fns.items()}
    best = {k: float("inf") for k in fns}
    for _ in range(rounds):
        for k, f in fns.items():
            best[k] = min(best[k], timeit.timeit(f, number=numbers[k]) / numbers[k] * 1e9)
    return best


def native_ns():
    for build in ("build-bench", "build"):
        program = root / build / "bench" / "bench_failure"
        if program.exists():
            out = subprocess.run([str(program), "--benchmark_format=json", "--benchmark_min_time=0.2"],
                                 capture_output=True, text=True, check=True).stdout
            return {b["name"]: (b["real_time"], b.get("allocs/call")) for b in json.loads(out)["benchmarks"]}
    return None


def main():
    cases = [  # (row, ours, numpy reference, native name)
        ("mcrcklarc05 5°", lambda: ours_larc05(5.0), lambda: numpy_larc05(5.0), "larc05/sampling_5deg"),
        ("mcrcklarc05 1°", lambda: ours_larc05(1.0), lambda: numpy_larc05(1.0), "larc05/sampling_1deg"),
        ("mcrcklarc05 golden", lambda: ours_larc05(5.0, 1), lambda: numpy_larc05(5.0), "larc05/golden"),
        ("mcrckpuck 5°", lambda: ours_puck(5.0), lambda: numpy_puck(5.0), "puck/sampling_5deg"),
        ("mcrckpuck 1°", lambda: ours_puck(1.0), lambda: numpy_puck(1.0), "puck/sampling_1deg"),
        ("mcrckpuck golden", lambda: ours_puck(5.0, 1), lambda: numpy_puck(5.0), "puck/golden"),
        ("fblarc05 5°", lambda: ours_fibre(5.0), lambda: numpy_fibre(5.0), "fibre/sampling_5deg"),
    ]
    for name, ours, ref, _ in cases:
        if "golden" not in name:  # the same search: the same effort
            np.testing.assert_allclose(ours(), ref(), rtol=1e-12, err_msg=name)
    native = native_ns()
    if native is None:
        print("native: build-bench/bench/bench_failure not built (see this script's doc string)")
    print(f"{'ns per point':22s} {'_tavrin':>10s} {'numpy':>10s} {'ratio':>8s} {'native':>10s} {'allocs':>7s}")
    for name, ours, ref, key in cases:
        t = per_call_ns({"ours": ours, "numpy": ref})
        n, allocs = native[key] if native else (float("nan"), float("nan"))
        print(f"  {name:20s} {t['ours']:10.0f} {t['numpy']:10.0f} {t['numpy'] / t['ours']:7.1f}x {n:10.0f} {allocs:7.0f}")


if __name__ == "__main__":
    main()
