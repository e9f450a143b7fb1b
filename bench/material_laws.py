"""Material-point kernels through the binding beside plain NumPy and SciPy.

    .venv/bin/python bench/material_laws.py [--rounds R] [--number N]

Needs SciPy (bench/requirements.txt).  Per call, in interleaved rounds (ours,
the reference, ours, ...; the minimum of each):
  - resin.endochroneviscoplasticity beside the same update written with
    NumPy (elastic, endochronic and six Maxwell branches);
  - elasticity.getnumericaltangent by the complex step on the anisotropic
    law's _cpointer beside a NumPy complex-step loop over the same law;
  - math.bdsafe on interaction.contactlaw._cpointer beside
    scipy.optimize.brentq with a Python function of the same residual.
Targets: at least 20 times NumPy's speed for the first two, at least 2 times
brentq's for the contact solve.  The C++ numbers and the heap allocations
per call (0) come from build/bench/bench_material_laws when it is built
(-DTAVRIN_BUILD_BENCH=ON, e.g. in build-bench/).
"""
import argparse
import pathlib
import sys
import timeit

import numpy as np

root = pathlib.Path(__file__).resolve().parents[1]
sys.path.insert(0, str(root / "build" / "python"))
import _tavrin  # noqa: E402
from scipy.optimize import brentq  # noqa: E402

TAU = np.array([0.1, 1.0, 10.0, 100.0, 1000.0, 10000.0])
ENDO_PROPS = np.array([3000.0, 1.0, 0.35, 500.0, 10.0, 100, 200, 300, 400, 500, 600])
STRAN = np.array([1e-3, -3e-4, -3e-4, 2e-4, 0, 1e-4])
DSTRAIN = np.array([1e-4, 0, 0, 1e-5, 0, 0])
SHEAR2 = np.array([1, 1, 1, 2, 2, 2.0])
NORMAL = np.array([1, 1, 1, 0, 0, 0.0])


def numpy_endochrone(stran, dstrain, props, statev, dtime):
    """The endochronic resin update in NumPy (six Maxwell branches as rows)."""
    e, c, nu, ep, beta = props[:5]
    ek = props[5:11]
    g, k = e / (2 * (1 + nu)), e / (3 * (1 - 2 * nu))
    eps = stran + dstrain
    tr, dtr = eps[:3].sum(), dstrain[:3].sum()
    dev, ddev = eps - tr / 3 * NORMAL, dstrain - dtr / 3 * NORMAL
    dz = np.sqrt((dstrain * dstrain * SHEAR2).sum())
    dg = np.exp(np.sqrt((dev * dev * SHEAR2).sum()) * c / ((1 + nu) * 0.816496580927726))
    dk = np.exp(abs(tr) * c / (1 - 2 * nu))
    sigma = np.where(NORMAL > 0, 2 * g * dev / dg + k * tr / dk, 2 * g * eps / dg)
    root2 = np.sqrt(2 * nu * nu + 1)
    betad, betav = beta / root2, beta / (3 * root2)
    gp, kp = ep / (2 * (1 + nu)), ep / (3 * (1 - 2 * nu))
    sp = statev[:6]
    tp = sp[:3].sum()
    dsp = (2 * gp * ddev - betad * dz * (sp - tp / 3 * NORMAL)) / (1 + 0.5 * betad * dz)
    dvp = (3 * kp * dtr - 3 * betav * dz * tp) / (1 + 1.5 * betav * dz)
    sp = sp + dsp + dvp / 3 * NORMAL
    sk = statev[6:42].reshape(6, 6)
    tk = sk[:, :3].sum(axis=1)
    gk, kk = ek / (2 * (1 + nu)), ek / (3 * (1 - 2 * nu))
    rg, rk = dtime / (2 * TAU), dtime / (3 * TAU)
    dsk = (2 * gk[:, None] * ddev - 2 * rg[:, None] * (sk - (tk / 3)[:, None] * NORMAL)) / (1 + rg[:, None])
    dvk = (3 * kk * dtr - 3 * rk * tk) / (1 + 1.5 * rk)
    sk = sk + dsk + (dvk / 3)[:, None] * NORMAL
    return sigma + sp + sk.sum(axis=0), np.concatenate([sp, sk.ravel()])


def numpy_complex_step(stiffness, dstrain, h):
    """Complex-step tangent of stress = S·strain, one column per strain."""
    n = len(dstrain)
    out = np.empty((n, n))
    for j in range(n):
        z = dstrain.astype(complex)
        z[j] += 1j * h
        out[:, j] = (stiffness @ z).imag / h
    return out


def per_call_us(fn, number):
    return min(timeit.repeat(fn, number=number, repeat=1)) / number * 1e6


def interleaved(ours, theirs, rounds, number):
    best_ours = best_theirs = float("inf")
    for _ in range(rounds):
        best_ours = min(best_ours, per_call_us(ours, number))
        best_theirs = min(best_theirs, per_call_us(theirs, number))
    return best_ours, best_theirs


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rounds", type=int, default=7)
    parser.add_argument("--number", type=int, default=5000, help="calls per round")
    a = parser.parse_args()
    r, e, i, m = _tavrin.resin, _tavrin.elasticity, _tavrin.interaction, _tavrin.math

    statev = np.zeros(42)
    stress0 = np.zeros(6)
    ours_stress, ours_state = r.endochroneviscoplasticity(STRAN, DSTRAIN, ENDO_PROPS, stress0, statev, 0.1,
                                                          True, True)
    ref_stress, ref_state = numpy_endochrone(STRAN, DSTRAIN, ENDO_PROPS, statev, 0.1)
    np.testing.assert_allclose(ours_stress, ref_stress, rtol=1e-12)
    np.testing.assert_allclose(ours_state, ref_state, rtol=1e-12, atol=1e-15)
    endo = interleaved(lambda: r.endochroneviscoplasticity(STRAN, DSTRAIN, ENDO_PROPS, stress0, statev, 0.1,
                                                           True, True),
                       lambda: numpy_endochrone(STRAN, DSTRAIN, ENDO_PROPS, statev, 0.1), a.rounds, a.number)

    rng = np.random.default_rng(1)
    g = rng.uniform(-1, 1, (6, 6))
    stiffness = g @ g.T + 6 * np.eye(6)
    props = stiffness.ravel(order="F")
    law = e.cmplx_getstressfromanisotropichyperelasticity._cpointer
    zeros, h = np.zeros(6), 2.0**-20
    tangent = lambda: e.getnumericaltangent(law, props, zeros, zeros, DSTRAIN, 3, False, h=h, nmflag=1)  # noqa: E731
    np.testing.assert_array_equal(tangent(), numpy_complex_step(stiffness, DSTRAIN, h))
    tang = interleaved(tangent, lambda: numpy_complex_step(stiffness, DSTRAIN, h), a.rounds, a.number)

    k = i.contactstiffness([10.0, 0, 210000.0, 0.3, 0, 0, 10000.0, 0.3], 0)[0]
    args = np.array([k, 0.05, 1e-6, 0.0, 1e-6, 1.5, 0.0])
    pointer = i.contactlaw._cpointer

    def residual(x):
        return k * (0.05 - x * 2e-6) ** 1.5 - x

    ours_root = m.bdsafe(pointer, 0.0, 1000.0, args, 1e-10, 100, 0)[0]
    assert abs(brentq(residual, 0.0, 1000.0, xtol=1e-10) - ours_root) < 1e-8
    solve = interleaved(lambda: m.bdsafe(pointer, 0.0, 1000.0, args, 1e-10, 100, 0),
                        lambda: brentq(residual, 0.0, 1000.0, xtol=1e-10), a.rounds, a.number)

    print(f"NumPy {np.__version__}, SciPy {__import__('scipy').__version__}; per call, best of {a.rounds} "
          f"interleaved rounds of {a.number}")
    rows = [("endochroneviscoplasticity", "NumPy update", endo, 20.0),
            ("getnumericaltangent, complex step, _cpointer", "NumPy complex step", tang, 20.0),
            ("bdsafe on contactlaw._cpointer", "scipy brentq, Python function", solve, 2.0)]
    for label, ref, (ours, theirs), target in rows:
        ratio = theirs / ours
        print(f"  {label:46s} {ours:8.2f} us   {ref:30s} {theirs:8.2f} us   {ratio:6.1f}x "
              f"(target >= {target:g}: {'met' if ratio >= target else 'MISSED'})")


if __name__ == "__main__":
    main()
