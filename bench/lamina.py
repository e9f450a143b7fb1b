"""The ply's material routines through _tavrin beside the same step in plain
NumPy, in one run.

    .venv/bin/python bench/lamina.py

Runs against the build tree (build/python) or an installed _tavrin; the
calls take turns (bench/timing.py):
  - toplevel.umat_lamina at one point, ntens 6, beside NumPy forming the
    stiffness from the nine constants (the inverse of the compliance), the
    stress C·ε and the energy ½ σ·ε (target: at least 10 times faster);
  - toplevel.vumat_lamina on a block of 512 points beside the NumPy block
    update: the stiffness as above, Δσ = einsum('ij,kj->ki', C, Δε) and the
    energy (target: at least 3 times faster).
Arrays are passed as a solver driver holds them (Fortran-ordered, of the
declared types).  NumPy's inverse runs on LAPACK: timed with its BLAS's
default threads and again on one thread.  The native costs, with their heap-allocation count
(0), are in build/bench/bench_lamina (configure with -DTAVRIN_BUILD_BENCH=ON).
"""
import pathlib
import sys

import numpy as np

root = pathlib.Path(__file__).resolve().parents[1]
sys.path.insert(0, str(root / "build" / "python"))
sys.path.insert(0, str(root / "bench"))
import _tavrin  # noqa: E402
import timing  # noqa: E402

PROPS = np.array([140000.0, 10000.0, 10000.0, 0.3, 0.3, 0.45, 5000.0, 5000.0, 3448.0])
EYE = np.eye(3, order="F")
CYCLIC = [0, 1, 2, 3, 5, 4]  # solver order <-> 11, 22, 33, 12, 23, 31


def numpy_stiffness(p):
    """C = S⁻¹ of the nine constants, solver order, engineering shears."""
    e1, e2, e3, n12, n13, n23, g12, g13, g23 = p
    s = np.zeros((6, 6))
    s[:3, :3] = [[1 / e1, -n12 / e1, -n13 / e1], [-n12 / e1, 1 / e2, -n23 / e2], [-n13 / e1, -n23 / e2, 1 / e3]]
    s[3, 3], s[4, 4], s[5, 5] = 1 / g12, 1 / g13, 1 / g23
    return np.linalg.inv(s)


def numpy_umat(p, stran, dstran):
    c = numpy_stiffness(p)
    eps = stran + dstran
    stress = c @ eps
    return stress, c, 0.5 * stress @ eps


def numpy_vumat(p, stressold, straininc, enerold, density):
    c_cyclic = numpy_stiffness(p)[np.ix_(CYCLIC, CYCLIC)]
    de = straininc * [1, 1, 1, 2, 2, 2]
    ds = np.einsum("ij,kj->ki", c_cyclic, de)
    new = stressold + ds
    return new, enerold + 0.5 * np.einsum("ki,ki->k", new + stressold, de) / density


def main():
    tl = _tavrin.toplevel
    z = np.zeros(6)
    stran = np.array([1e-3, -2e-4, 1e-4, 5e-4, 0.0, 1e-4])
    dstran = np.array([1e-4, 0, 0, 1e-5, 0, 0])
    statev = np.zeros(8)
    t2, c3, p1, jstep = np.zeros(2), np.zeros(3), np.zeros(1), np.array([1, 1, 0, 0], np.int32)
    args = [z, statev, 0.0, 0.0, 0.0, 0.0, z, z, 0.0, stran, dstran, t2, 0.1, 0.0, 0.0, p1, p1, "PLY", 3, 3,
            PROPS, c3, EYE, 1.0, 1.0, EYE, EYE, 1, 1, 1, 1, jstep, 1]
    ours = tl.umat_lamina(*args)
    ref = numpy_umat(PROPS, stran, dstran)
    np.testing.assert_allclose(ours[0], ref[0], rtol=1e-12)
    np.testing.assert_allclose(ours[2], ref[1], rtol=1e-12, atol=1e-9)

    n = 512
    rng = np.random.default_rng(7)
    straininc = np.asfortranarray(rng.uniform(-1e-4, 1e-4, (n, 6)))
    stressold = np.asfortranarray(rng.uniform(-50, 50, (n, 6)))
    enerold, density = np.zeros(n), np.full(n, 1.6e-9)
    block = lambda m: np.zeros((n, m), order="F")  # noqa: E731
    vargs = [3, 0, 0.0, 0.0, 1e-6, "PLY", block(3), block(3), PROPS, density, straininc, block(3), np.zeros(n),
             block(6), block(9), block(1), stressold, block(1), enerold, np.zeros(n), np.zeros(n), block(6),
             block(9), block(1)]
    vours = tl.vumat_lamina(*vargs)
    vref = numpy_vumat(PROPS, stressold, straininc, enerold, density)
    np.testing.assert_allclose(vours[0], vref[0], rtol=1e-12, atol=1e-10)
    np.testing.assert_allclose(vours[2], vref[1], rtol=1e-9)

    fns = {
        "_tavrin toplevel.umat_lamina, ntens 6": lambda: tl.umat_lamina(*args),
        "numpy: C = inv(S), C @ eps, energy": lambda: numpy_umat(PROPS, stran, dstran),
        "_tavrin toplevel.vumat_lamina, 512 points": lambda: tl.vumat_lamina(*vargs),
        "numpy: C, einsum block update, 512 points": lambda: numpy_vumat(PROPS, stressold, straininc, enerold,
                                                                         density),
    }
    t = timing.per_call(fns)
    print(f"NumPy {np.__version__}; {timing.blas_label()}")
    for name, seconds in t.items():
        print(f"  {name:44s} {seconds * 1e6:9.2f} us/call")
    names = list(t)
    for ours_name, ref_name, target in ((names[0], names[1], 10.0), (names[2], names[3], 3.0)):
        ratio = t[ref_name] / t[ours_name]
        print(f"  {ref_name.split(':')[0]} / {ours_name.split(' ')[1].rstrip(',')}: {ratio:.1f}x "
              f"(target >= {target:g}: {'met' if ratio >= target else 'MISSED'})")
    timing.rerun_on_one_blas_thread()


if __name__ == "__main__":
    main()
