"""Micromechanics through _tavrin beside the same formulas in plain NumPy, in
one run: the Mori-Tanaka constants of a carbon/epoxy ply (moritanaka) and the
Eshelby tensor of a prolate spheroid (geteshelbytensor, kind 2).

    .venv/bin/python bench/micromechanic.py

Runs against the build tree (build/python) or an installed _tavrin.  The
NumPy reference builds the two compliances, inverts them, forms the
cylinder's Eshelby tensor, the dilute and Mori-Tanaka concentration tensors
and the effective stiffness with 6x6 products and np.linalg.inv, and reads
the nine constants from its inverse; the spheroid's tensor is a handful of
scalar formulas put into a 6x6 array.  Its results are checked against ours
first.  Targets: numpy / _tavrin at least 20 for moritanaka and 5 for
geteshelbytensor.  The native cost, with the heap-allocation count, is in
build/bench/bench_micromechanic (configure with -DTAVRIN_BUILD_BENCH=ON).
"""
import os
import pathlib
import sys
import timeit

os.environ.setdefault("OPENBLAS_NUM_THREADS", "1")
import numpy as np  # noqa: E402

root = pathlib.Path(__file__).resolve().parents[1]
sys.path.insert(0, str(root / "build" / "python"))
import _tavrin  # noqa: E402

FIBRE = np.array([230e3, 15e3, 27e3, 7e3, 0.2])  # E1, E2, G12, G23, nu12 (MPa)
MATRIX = np.array([3.4e3, 0.35])
VF = 0.6
I6 = np.eye(6)


def per_call_ns(fns, seconds=0.1, rounds=7):
    """The least ns per call of each function over rounds that take turns."""
    numbers = {k: max(1, int(seconds / max(timeit.timeit(f, number=3) / 3, 1e-9))) for k, f in fns.items()}
    best = {k: float("inf") for k in fns}
    for _ in range(rounds):
        for k, f in fns.items():
            best[k] = min(best[k], timeit.timeit(f, number=numbers[k]) / numbers[k] * 1e9)
    return best


def compliance(e1, e2, g12, g23, nu12):
    s = np.zeros((6, 6))
    s[0, 0] = 1 / e1
    s[1, 1] = s[2, 2] = 1 / e2
    s[0, 1] = s[1, 0] = s[0, 2] = s[2, 0] = -nu12 / e1
    s[1, 2] = s[2, 1] = -(e2 / (2 * g23) - 1) / e2
    s[3, 3] = 1 / g23
    s[4, 4] = s[5, 5] = 1 / g12
    return s


def constants(s):
    d = 1 / np.diag(s)
    return np.concatenate([d, [-s[1, 2] * d[1], -s[0, 2] * d[0], -s[0, 1] * d[0]]])


def cylinder(nu):
    et = np.zeros((6, 6))
    d = 1 / (2 * (1 - nu))
    k = 1 - 2 * nu
    et[1, 1] = et[2, 2] = (3 / 4 + k / 2) * d
    et[1, 2] = et[2, 1] = (1 / 4 - k / 2) * d
    et[1, 0] = et[2, 0] = nu * d
    et[3, 3] = 2 * (1 / 4 + k / 2) * d
    et[4, 4] = et[5, 5] = 0.5
    return et


def numpy_moritanaka(fibre, matrix, vf):
    em, num = matrix
    gm = em / (2 * (1 + num))
    sf, sm = compliance(*fibre), compliance(em, em, gm, gm, num)
    cf, cm = np.linalg.inv(sf), np.linalg.inv(sm)
    e = cylinder(constants(sm)[8])
    t = np.linalg.inv(I6 + e @ np.linalg.inv(cm) @ (cf - cm))
    a = t @ np.linalg.inv((1 - vf) * I6 + vf * t)
    return constants(np.linalg.inv(cm + vf * (cf - cm) @ a))


def numpy_prolate(a, nu):
    aa, b = a * a, a * a - 1
    k, d, q = 1 - 2 * nu, 1 / (2 * (1 - nu)), 1 / (4 * (1 - nu))
    g = a / b**1.5 * (a * np.sqrt(b) - np.arccosh(a))
    et = np.zeros((6, 6))
    et[0, 0] = ((3 * aa - 1) / b + k - (3 * aa / b + k) * g) * d
    et[1, 1] = et[2, 2] = (k - 9 / (4 * b)) * g * q + 3 * aa / (8 * (1 - nu) * b)
    et[1, 2] = et[2, 1] = (aa / (2 * b) - (k + 3 / (4 * b)) * g) * q
    et[1, 0] = et[2, 0] = -aa * d / b + (3 * aa / b - k) * g * q
    et[0, 1] = et[0, 2] = -(k + 1 / b) * d + (k + 3 / (2 * b)) * g * d
    et[3, 3] = 2 * (aa / (2 * b) + (k - 3 / (4 * b)) * g) * q
    et[4, 4] = et[5, 5] = 2 * (k - (aa + 1) / b - 0.5 * (k - 3 * (aa + 1) / b) * g) * q
    return et


def main():
    mm = _tavrin.micromechanic
    np.testing.assert_allclose(numpy_moritanaka(FIBRE, MATRIX, VF), mm.moritanaka(FIBRE, MATRIX, VF), rtol=1e-12)
    np.testing.assert_allclose(numpy_prolate(3.73, 0.35), mm.geteshelbytensor(2, 3.73, 0.35), rtol=0, atol=1e-14)
    groups = {
        "moritanaka": {
            "_tavrin moritanaka(fibre, matrix, 0.6)": lambda: mm.moritanaka(FIBRE, MATRIX, VF),
            "numpy (6 inverses, 6x6 products)": lambda: numpy_moritanaka(FIBRE, MATRIX, VF),
        },
        "geteshelbytensor": {
            "_tavrin geteshelbytensor(2, 3.73, 0.35)": lambda: mm.geteshelbytensor(2, 3.73, 0.35),
            "numpy (scalar formulas into a 6x6 array)": lambda: numpy_prolate(3.73, 0.35),
        },
    }
    targets = {"moritanaka": 20, "geteshelbytensor": 5}
    for name, fns in groups.items():
        ns = per_call_ns(fns)
        (ours, t_ours), (ref, t_ref) = ns.items()
        print(f"  {ours:44s} {t_ours:9.0f} ns/call")
        print(f"  {ref:44s} {t_ref:9.0f} ns/call")
        print(f"  numpy / _tavrin {name} = {t_ref / t_ours:.1f}x (target {targets[name]}x)")


if __name__ == "__main__":
    main()
