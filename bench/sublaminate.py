"""Buckling strain of one sublaminate over an elliptic delamination, in one
run: through _tavrin (getsublambucklingstrain) and as a plain NumPy version
of the same Ritz computation (ABD by ply sums, its inverse, the reduced
bending stiffness, kk⁻¹·kg and numpy.linalg.eigvals), whose strain is first
checked against ours.  Rounds interleave (ours, NumPy, ours, ...), the
minimum of each is kept.

    .venv/bin/python bench/sublaminate.py

Target: the _tavrin call at least 20 times faster than the NumPy version.
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

# A quasi-isotropic carbon/epoxy sublaminate of 8 plies under an ellipse of
# 20 × 12 mm whose axis lies at 30°, uniaxial compression.
PLY = [140000.0, 9000.0, 9000.0, 0.3, 0.3, 0.45, 5000.0, 5000.0, 3100.0]
ANGLES = np.array([0.0, 45.0, -45.0, 90.0, 90.0, -45.0, 45.0, 0.0])
THICK = np.full(8, 0.125)
ELASTIC = np.tile(np.array(PLY)[:, None], (1, 8))
DSIZE = np.array([20.0, 12.0, 30.0])
NGLOB = np.array([-1.0, 0.0, 0.0])
KG = [_tavrin.sublaminate.getkgellipse(k) for k in (1, 2, 3)]
KK = [_tavrin.sublaminate.getkkellipse(k) for k in (1, 2, 3, 4, 5)]


def qbar(angle_d):
    e1, e2, nu12, g12 = PLY[0], PLY[1], PLY[3], PLY[6]
    nu21 = nu12 * e2 / e1
    d = 1.0 - nu12 * nu21
    q11, q22, q12, q66 = e1 / d, e2 / d, nu12 * e2 / d, g12
    c, s = np.cos(np.radians(angle_d)), np.sin(np.radians(angle_d))
    t = np.array([[c * c, s * s, 2 * c * s], [s * s, c * c, -2 * c * s], [-c * s, c * s, c * c - s * s]])
    q = np.array([[q11, q12, 0.0], [q12, q22, 0.0], [0.0, 0.0, q66]])
    r = np.diag([1.0, 1.0, 2.0])
    return np.linalg.inv(t) @ q @ r @ t @ np.linalg.inv(r)


def abd(angles):
    z = np.concatenate([[0.0], np.cumsum(THICK)]) - THICK.sum() / 2
    a = sum(qbar(t) * (z[k + 1] - z[k]) for k, t in enumerate(angles))
    b = sum(qbar(t) * (z[k + 1] ** 2 - z[k] ** 2) / 2 for k, t in enumerate(angles))
    d = sum(qbar(t) * (z[k + 1] ** 3 - z[k] ** 3) / 3 for k, t in enumerate(angles))
    return a, b, d, np.block([[a, b], [b, d]])


def numpy_buckling():
    da, db, theta = DSIZE
    ainv11 = np.linalg.inv(abd(ANGLES)[3])[0, 0]
    a, b, d, m = abd(ANGLES - theta)
    minv = np.linalg.inv(m)
    dred = d - b @ np.linalg.inv(a) @ b
    c, s = np.cos(np.radians(theta)), np.sin(np.radians(theta))
    t = np.array([[c * c, s * s, 2 * c * s], [s * s, c * c, -2 * c * s], [-c * s, c * s, c * c - s * s]])
    n = m[:3, :3] @ (minv[:3, :3] @ (t @ -NGLOB))
    kg = n[0] * db / da * KG[0] + n[1] * da / db * KG[1] + n[2] * KG[2]
    coef = [dred[0, 0] * db / da**3, dred[1, 1] * da / db**3, (dred[0, 1] + 2 * dred[2, 2]) / (da * db),
            dred[0, 2] / da**2, dred[1, 2] / db**2]
    kk = sum(ck * kkk for ck, kkk in zip(coef, KK))
    lam = np.linalg.eigvals(np.linalg.solve(kk, kg))
    return ainv11 / lam[np.argmax(np.abs(lam))].real


def ours():
    return _tavrin.sublaminate.getsublambucklingstrain(DSIZE, NGLOB, ELASTIC, ANGLES, THICK, 1)[0]


def main():
    eps, ref = ours(), numpy_buckling()
    assert abs(eps - ref) <= 1e-8 * abs(ref), (eps, ref)
    best = {"_tavrin": np.inf, "numpy": np.inf}
    for _ in range(7):
        for name, f, n in (("_tavrin", ours, 2000), ("numpy", numpy_buckling, 100)):
            best[name] = min(best[name], timeit.timeit(f, number=n) / n)
    print(f"buckling strain {eps:.6e} (NumPy {ref:.6e})")
    for name, t in best.items():
        print(f"  {name:8s} {t * 1e6:10.2f} us per call")
    print(f"  ratio    {best['numpy'] / best['_tavrin']:10.1f}x (target >= 20x)")


if __name__ == "__main__":
    main()
