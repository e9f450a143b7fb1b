"""Solver routines through _tavrin beside plain NumPy versions of the same
formulas, in one run:
  - toplevel.uel_truss, the static request of a two-node 3-D truss, per
    element: the transformation, the element stiffness teT*k*te and the
    residual teT*(F, -F);
  - toplevel.umat_hail, a plastic increment of the elastic-plastic routine,
    per point: the elastic trial, the radial return (Newton on the
    equivalent plastic strain over the hardening table) and the consistent
    tangent.

    .venv/bin/python bench/user_elements.py

Runs against the build tree (build/python) or an installed _tavrin; rounds
take turns between ours and the reference and the least time of each counts
(bench/timing.py).  Target: _tavrin at least 10 times faster than NumPy for
both.  The native cost per call and its heap allocations (0), and the
impactor element with the tabulated contact law (fifty stiffnesses per
call), are in build/bench/bench_user_elements (configure with
-DTAVRIN_BUILD_BENCH=ON).
"""
import os
import pathlib
import sys

os.environ.setdefault("OPENBLAS_NUM_THREADS", "1")
import numpy as np  # noqa: E402

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from laminate import _tavrin, per_call_ns  # noqa: E402  (the build tree's module, interleaved timing)

EYE = np.eye(3, order="F")
KE = np.array([[1.0, -1.0], [-1.0, 1.0]])


def numpy_truss(coords, u, props):
    """Static request: (rhs, amatrx, strain energy)."""
    d = coords[:, 1] - coords[:, 0]
    length = np.sqrt(d @ d)
    te = np.zeros((2, 6))
    te[0, :3] = te[1, 3:] = d / length
    ue = te @ u
    ak = props[0] * props[2] / length
    f = ak * (ue[1] - ue[0])
    return te.T @ np.array([f, -f]), te.T @ (ak * KE) @ te, 0.5 * f * (ue[1] - ue[0])


NORMAL = np.array([1, 1, 1, 0, 0, 0.0])
SHEAR = np.array([0, 0, 0, 1, 1, 1.0])


def numpy_hail(stress, statev, dstran, props):
    """Plastic increment of the elastic-plastic routine: (stress, tangent, plastic strain increment)."""
    e, nu = props[0], props[1]
    g = e / (2 * (1 + nu))
    lam = e * nu / ((1 + nu) * (1 - 2 * nu))
    c = lam * np.outer(NORMAL, NORMAL) + np.diag(2 * g * NORMAL + g * SHEAR)
    s = stress + c @ dstran
    p = s[:3].sum() / 3
    dev = s - p * NORMAL
    q = np.sqrt(1.5 * (dev * dev * (NORMAL + 2 * SHEAR)).sum())
    sy_table, ep_table = props[3::2], props[4::2]
    slope = np.gradient(sy_table, ep_table)
    eq = statev[12]
    sy0 = np.interp(eq, ep_table, sy_table)
    h = np.interp(eq, ep_table, slope)
    dep, sy = 0.0, sy0
    for _ in range(10):
        r = q - 3 * g * dep - sy
        dep += r / (3 * g + h)
        sy, h = np.interp(eq + dep, ep_table, sy_table), np.interp(eq + dep, ep_table, slope)
        if abs(r) < 1e-6 * sy0:
            break
    flow = dev / q
    s = flow * sy + p * NORMAL
    effg = g * sy / q
    efflam = (e / (1 - 2 * nu) - 2 * effg) / 3
    tangent = efflam * np.outer(NORMAL, NORMAL) + np.diag(2 * effg * NORMAL + effg * SHEAR)
    tangent += (3 * g * h / (3 * g + h) - 3 * effg) * np.outer(flow, flow)
    return s, tangent, dep


def main():
    tl = _tavrin.toplevel
    # A bar (0,0,0)-(1,1,1) stretched along its axis.
    coords = np.asfortranarray([[0.0, 1.0], [0.0, 1.0], [0.0, 1.0]])
    props = np.array([100.0, 1.0, 1.0])
    u = np.array([0, 0, 0, 1e-3, 2e-3, 3e-3])
    svars, energy = np.zeros(12), np.zeros(8)
    du, v = np.zeros((6, 1), order="F"), np.zeros(6)
    time, params = np.zeros(2), np.array([0.0, 0.25, 0.5])
    jdltyp, adlmag = np.zeros((1, 1), np.int32, order="F"), np.zeros((1, 1), order="F")
    predef = np.zeros((2, 1, 2), order="F")
    lflags, jprops = np.array([1, 1, 1, 0, 0], np.int32), np.zeros(1, np.int32)

    def ours_truss():
        return tl.uel_truss(svars, energy, 1, props, coords, u, du, v, v, 1, time, 1.0, 1, 1, 1, params, 0, jdltyp,
                            adlmag, predef, lflags, adlmag, 1.0, jprops, 0.0, overwrite_svars=1, overwrite_energy=1)

    rhs, amatrx, _, en, _ = ours_truss()
    ref = numpy_truss(coords, u, props)
    np.testing.assert_allclose(rhs[:, 0], ref[0], rtol=1e-13)
    np.testing.assert_allclose(amatrx, ref[1], rtol=1e-13)
    assert abs(en[1] - ref[2]) <= 1e-13 * abs(ref[2])

    # A plastic increment on a hardening table (slope 2000 MPa).
    hprops = np.array([70000.0, 0.33, 1.0, 250.0, 0.0, 450.0, 0.1])
    zeros, start = np.zeros(6), np.r_[np.zeros(12), 0.003]
    stress0 = np.array([150.0, 20.0, -30.0, 60.0, 10.0, -15.0])
    dstran = np.array([2e-3, -5e-4, 1e-4, 1.5e-3, -4e-4, 6e-4])
    stress, statev = stress0.copy(), start.copy()
    jstep, one = np.array([1, 1, 0, 0], np.int32), np.zeros(1)

    def ours_hail():
        stress[:] = stress0
        statev[:] = start
        return tl.umat_hail(stress, statev, 0.0, 0.0, 0.0, 0.0, zeros, zeros, 0.0, zeros, dstran, time, 0.1, 20.0, 0.0,
                            one, one, "HAIL", 3, 3, hprops, zeros[:3], EYE, 1.0, 1.0, EYE, EYE, 1, 1, 1, 1, jstep, 1,
                            overwrite_stress=1, overwrite_statev=1)

    s, sv, tangent, *_ = ours_hail()
    ref = numpy_hail(stress0, start, dstran, hprops)
    np.testing.assert_allclose(s, ref[0], rtol=1e-12)
    np.testing.assert_allclose(tangent, ref[1], rtol=1e-10, atol=1e-6)
    assert abs(sv[12] - 0.003 - ref[2]) <= 1e-12 * ref[2]

    times = per_call_ns({
        "truss": ours_truss,
        "truss_np": lambda: numpy_truss(coords, u, props),
        "hail": ours_hail,
        "hail_np": lambda: numpy_hail(stress0, start, dstran, hprops),
    })
    print(f"  {'_tavrin toplevel.uel_truss, static request, per element':62s} {times['truss']:8.0f} ns/call")
    print(f"  {'numpy: transformation, teT*k*te, teT*(F, -F)':62s} {times['truss_np']:8.0f} ns/call")
    print(f"  {'_tavrin toplevel.umat_hail, plastic increment, per point':62s} {times['hail']:8.0f} ns/call")
    print(f"  {'numpy: elastic trial, radial return, consistent tangent':62s} {times['hail_np']:8.0f} ns/call")
    print(f"  numpy / _tavrin truss element = {times['truss_np'] / times['truss']:.1f}x (target >= 10)")
    print(f"  numpy / _tavrin elastic-plastic return = {times['hail_np'] / times['hail']:.1f}x (target >= 10)")


if __name__ == "__main__":
    main()
