"""Truss and impactor user elements against closed forms and hand values."""
import numpy as np
import pytest

HUGE = np.finfo(float).max
J = np.ones((3, 3))


@pytest.fixture(autouse=True)
def clean(tv):
    tv.errorhandling.rsxerr(True)
    yield
    tv.errorhandling.rsxerr(True)
    tv.jobdata.stepid = None
    tv.jobdata.nsteps = 0
    tv.impactdata.csvars = None
    tv.loaddata.nimp = 0


def steps(tv, *kinds):
    tv.jobdata.stepid = np.array(kinds, np.int32)
    tv.jobdata.nsteps = len(kinds)


def uel(tv, x2, u2=(0, 0, 0), props=(100.0, 0.0, 1.0), lflags=(1, 1, 1, 0, 0), nrhs=1, du=None,
        svars=None, a=None, v=None, loads=(), params=(0.0, 0.25, 0.5), dtime=1.0, x1=(0, 0, 0), u1=(0, 0, 0),
        impact=None, kstep=1, kinc=1, time=0.0, jprops=(0, 0, 0), **extents):
    """One element call: node 1 at x1, node 2 at x2; loads as (type, magnitude, increment);
    extents (nsvars, ...) as keywords."""
    u = np.r_[u1, u2].astype(float)
    du = np.c_[u - 0.0] if du is None else np.asarray(du, float).reshape(6, nrhs, order="F")
    jd = np.array([[t] for t, _, _ in loads] or [[0]], np.int32)
    ad = np.array([[m] for _, m, _ in loads] or [[0.0]])
    dd = np.array([[d] for _, _, d in loads] or [[0.0]])
    args = [np.zeros(20 if impact is not None else 12) if svars is None else svars, np.zeros(8), nrhs,
            np.asarray(props, float), np.array([x1, x2], float).T, u, du, np.zeros(6) if v is None else v,
            np.zeros(6) if a is None else a, 1, [time, time], dtime, kstep, kinc, 1, params, len(loads), jd, ad,
            np.zeros((2, 1, 2)), np.array(lflags, np.int32), dd, 1.0, np.array(jprops, np.int32), 0.0]
    if impact is None:
        return tv.toplevel.uel_truss(*args)
    return tv.toplevel.uel_impact(*args, impact, **extents)


def test_static_truss_closed_forms(tv):
    rhs, amatrx, _, energy, _ = uel(tv, (2, 0, 0), (0.01, 0, 0))
    assert rhs[:, 0].tolist() == [0.5, 0, 0, -0.5, 0, 0]
    assert (amatrx[0, 0], amatrx[3, 3], amatrx[0, 3], energy[1]) == (50.0, 50.0, -50.0, 0.0025)
    # Diagonal bar (0,0,0)-(1,1,1), E = 3, A = 1, node 2 moved by 0.001 along each axis.
    rhs, amatrx, _, energy, _ = uel(tv, (1, 1, 1), (0.001,) * 3, props=(3.0, 0.0, 1.0))
    np.testing.assert_allclose(rhs[:, 0], np.r_[[0.0017320508075688772] * 3, [-0.0017320508075688772] * 3],
                               rtol=1e-14)
    np.testing.assert_allclose(amatrx, 3 ** -0.5 * np.block([[J, -J], [-J, J]]), rtol=1e-14)
    assert energy[1] == pytest.approx(2.5980762113533e-6, rel=1e-12)
    # A rigid translation stretches nothing.
    rhs, *_ = uel(tv, (1, 1, 1), (0.3, -0.2, 0.7), u1=(0.3, -0.2, 0.7), props=(3.0, 0.0, 1.0))
    assert np.abs(rhs).max() < 1e-17


def test_truss_requests(tv):
    axis = np.array([0.6, 0.8, 0.0])
    # Mass: half the bar's mass rho*A*L/2 on the diagonal, no residual.
    rhs, amatrx, *_ = uel(tv, (3, 4, 0), props=(1.0, 2.0, 0.5), lflags=(1, 1, 4, 0, 0))
    assert (amatrx == np.eye(6) * 2.5).all() and not rhs.any()
    # Loads of type 1001 push node 2 along the axis; others are ignored.  Two
    # right-hand sides: the second carries the load increments.
    rhs, _, _, energy, _ = uel(tv, (3, 4, 0), (0.006, 0.008, 0), props=(100.0, 0, 1), nrhs=2,
                               du=np.c_[[0, 0, 0, 0.006, 0.008, 0], np.zeros(6)], loads=[(1001, 2.0, 0.5), (3, 9.0, 9.0)])
    np.testing.assert_allclose(rhs[:, 0], np.r_[0.2 * axis, 1.8 * axis], rtol=1e-14)
    np.testing.assert_allclose(rhs[:, 1], np.r_[[0, 0, 0], 0.5 * axis], rtol=1e-14)
    assert energy[7] == pytest.approx(1.75 * 0.01, rel=1e-14) and energy[1] == pytest.approx(0.001, rel=1e-14)
    # Perturbation step: dF from the increment, energy of the perturbation.
    rhs, _, _, energy, _ = uel(tv, (5, 0, 0), (0.1, 0, 0), lflags=(1, 1, 1, 1, 0), du=[0, 0, 0, 0.05, 0, 0])
    assert rhs[:, 0].tolist() == [1.0, 0, 0, -1.0, 0, 0]
    assert energy[1] == pytest.approx(0.5 * 2 * 0.05 + 0.5 * 1 * 0.1 + 0.5 * 1 * 0.05, rel=1e-14)
    # Perturbation output: svars hold the right-hand side and zeros.
    for procedure, nrhs in ((1, 1), (41, 2)):
        svars = np.full(14, 7.0)
        rhs, _, svars, energy, _ = uel(tv, (5, 0, 0), lflags=(procedure, 1, 100, 0, 0), nrhs=nrhs,
                                du=np.c_[[0, 0, 0, 0.05, 0, 0], [0, 0, 0, -0.1, 0, 0]][:, :nrhs], svars=svars)
        assert rhs[:, 0].tolist() == [1.0, 0, 0, -1.0, 0, 0] and svars.tolist() == [1.0, 0, 0, -1.0] + [0] * 10
        if nrhs == 1:
            assert energy[1] == pytest.approx(0.5 * 1 * 0.05, rel=1e-14)
        if nrhs == 2:
            assert rhs[:, 1].tolist() == [-2.0, 0, 0, 2.0, 0, 0]
    # An explicit procedure asks nothing of the implicit element.
    rhs, amatrx, *_ = uel(tv, (5, 0, 0), (0.1, 0, 0), lflags=(17, 1, 1, 0, 0))
    assert not rhs.any() and not amatrx.any()


def test_truss_dynamic_requests(tv):
    # Bar along y, E*A/L = 10, lumped mass 1.5 per node, HHT alpha = -0.1.
    alpha, beta, dt = -0.1, 0.3, 0.2
    n = np.r_[0, 1.0, 0]
    te = np.zeros((2, 6))
    te[0, :3], te[1, 3:] = n, n
    ak, am = 10.0, 1.5
    u = np.array([0, 0.1, 0, 0.2, 0.5, 0.3])
    acc, vel = np.arange(6.0), np.linspace(1, 2, 6)
    old = np.arange(12.0) / 10
    f = ak * (te @ u)[1] - ak * (te @ u)[0]
    sresid = te.T @ [-f, f]
    rhs, amatrx, svars, energy, _ = uel(tv, (0, 2, 0), u[3:], u1=u[:3], props=(20.0, 1.5, 1.0), lflags=(11, 1, 1, 0, 0),
                                        svars=old.copy(), a=acc, v=vel, params=(alpha, beta, 0.6), dtime=dt)
    k = te.T @ ((1 + alpha) * ak * np.array([[1, -1], [-1, 1]])) @ te + np.eye(6) * am / (beta * dt * dt)
    np.testing.assert_allclose(amatrx, k, rtol=1e-14)
    np.testing.assert_allclose(rhs[:, 0], -am * acc - (1 + alpha) * sresid + alpha * old[:6], rtol=1e-14, atol=1e-15)
    np.testing.assert_allclose(svars, np.r_[sresid, old[:6]], rtol=1e-15)
    assert energy[0] == pytest.approx(0.5 * am * (vel ** 2).sum(), rel=1e-14)
    assert energy[1] == pytest.approx(0.5 * f * 0.4, rel=1e-14)
    # Half-step residual and initial acceleration.
    rhs, *_ = uel(tv, (0, 2, 0), u[3:], u1=u[:3], props=(20.0, 1.5, 1.0), lflags=(11, 1, 5, 0, 0),
                  svars=old.copy(), a=acc, params=(alpha, beta, 0.6))
    np.testing.assert_allclose(rhs[:, 0], -am * acc - (1 + alpha) * sresid + 0.5 * alpha * (old[:6] + old[6:]),
                               rtol=1e-14, atol=1e-15)
    rhs, amatrx, svars, *_ = uel(tv, (0, 2, 0), u[3:], u1=u[:3], props=(20.0, 1.5, 1.0), lflags=(11, 1, 6, 0, 0),
                                 svars=old.copy())
    assert (amatrx == am * np.eye(6)).all() and (rhs[:, 0] == -sresid).all() and (svars[:6] == sresid).all()


def test_truss_refuses_what_it_cannot_hold(tv, latched):
    common = dict(props=(100.0, 1.0, 1.0), lflags=(11, 1, 1, 0, 0))
    cases = [
        (dict(x2=(1, 0, 0), svars=np.full(11, 3.0)), "too few state variables"),
        (dict(x2=(0, 0, 0)), "no length"),
        (dict(x2=(1, 0, 0), dtime=0.0), "beta*DTIME**2"),
        (dict(x2=(1, 0, 0), nrhs=3, du=np.zeros((6, 3))), "NRHS must be 1 or 2"),
    ]
    for kwargs, text in cases:
        tv.errorhandling.rsxerr(True)
        svars = kwargs.pop("svars", np.full(12, 3.0))
        rhs, amatrx, svars_out, energy, _ = uel(tv, svars=svars, **kwargs, **common)
        assert latched()[0] == -2 and text in latched()[1]
        assert not rhs.any() and not amatrx.any() and (svars_out == 3.0).all() and not energy.any()
    # Four degrees of freedom: refused before anything is read.
    tv.errorhandling.rsxerr(True)
    out = tv.toplevel.uel_truss(np.zeros(12), np.zeros(8), 1, [1.0, 1, 1], np.eye(3)[:, :2], np.ones(4),
                                np.ones((4, 1)), np.ones(4), np.ones(4), 1, [0, 0], 1, 1, 1, 1, [0, 0.25, 0.5],
                                0, np.zeros((1, 1), np.int32), np.zeros((1, 1)), np.zeros((2, 1, 2)),
                                np.array([1, 1, 1, 0, 0], np.int32), np.zeros((1, 1)), 1.0, [0], 0.0)
    assert latched() == (-2, "Truss element: NDOFEL must be 6 on two nodes of 3 coordinates")
    assert not out[0].any() and not out[1].any()


def vuel(tv, coords, u, props=(1.0, 1.0, 1.0), request=2, jdltyp=0, adlmag=0.0, nsvars=2, kstep=1, kinc=2,
         time=0.0, dtimecur=0.1, cprops=None, jprops=(0,), procedure=17):
    coords, u = np.atleast_3d(np.asarray(coords, float)), np.atleast_2d(np.asarray(u, float))
    if coords.shape[0] != u.shape[0]:
        coords = coords.reshape(1, 2, 3)
    nb = u.shape[0]
    args = [nsvars, np.asarray(props, float), np.array(jprops, np.int32), coords, u, u, u, u, 1,
            np.zeros(nb, np.int32), [time, time], 0.0, dtimecur, 0.0, kstep, kinc,
            np.array([procedure, 0, request], np.int32), np.ones(nb), np.zeros((nb, 2, 1, 2)), jdltyp,
            np.full(nb, adlmag)]
    if cprops is None:
        return tv.toplevel.vuel_truss(*args)
    return tv.toplevel.vuel_impact(*args, cprops)


def test_explicit_truss(tv, latched):
    bar = [[0, 0, 0], [1, 0, 0]]
    # Stretched to twice its length: area halved, logarithmic strain.
    rhs, _, dt, svars, energy = vuel(tv, bar, [0, 0, 0, 1, 0, 0])
    assert dt[0] == pytest.approx(1.98, rel=1e-15)
    f = np.log(2.0) / 2
    np.testing.assert_allclose(rhs[0], [-f, 0, 0, f, 0, 0], rtol=1e-15)
    np.testing.assert_allclose(svars[0], [2.0, f], rtol=1e-15)
    assert energy[0, 2] == pytest.approx(0.34657359027997264, rel=1e-15)
    # L0 = 2 stretched to 3: area 2/3 of A.
    rhs, _, dt, *_ = vuel(tv, [[0, 0, 0], [2, 0, 0]], [0, 0, 0, 1, 0, 0], props=(3.0, 1.0, 0.5))
    assert rhs[0, 3] == pytest.approx(3.0 * np.log(1.5) * 0.5 * 2 / 3, rel=1e-15)
    assert dt[0] == pytest.approx(0.99 * 3 ** 0.5, rel=1e-15)  # M = rho*A*L0 = 1, k = E*Ac/L = 1/3
    # Mass: rho*A*L0/2 on the diagonal.
    _, amass, *_ = vuel(tv, [[0, 0, 0], [0, 3, 0]], np.zeros(6), props=(5.0, 2.0, 0.5), request=1)
    assert (amass[0] == 1.5 * np.eye(6)).all()
    # Compressed beyond zero length: the floor, a large compressive force, no failure.
    rhs, _, dt, svars, _ = vuel(tv, bar, [0, 0, 0, -1.5, 0, 0])
    assert svars[0, 0] == 2.220446049250313e-16 and rhs[0, 3] < -30 and np.isfinite(dt).all()
    assert latched()[0] == 0
    # Coincident nodes: no axis, no force.
    rhs, _, dt, svars, _ = vuel(tv, [[1, 1, 1], [1, 1, 1]], [0, 0, 0, 1, 0, 0])
    assert not rhs.any() and svars[0, 1] == 0.0 and np.isfinite(dt).all()
    # Axial load at node 2 (type 123 only); other procedures do nothing.
    rhs, *_ = vuel(tv, [[0, 0, 0], [0, 0, 2]], np.zeros(6), request=3, jdltyp=123, adlmag=4.0)
    assert rhs[0].tolist() == [0, 0, 0, 0, 0, 4.0]
    for kwargs in (dict(request=3, jdltyp=5, adlmag=4.0), dict(procedure=16)):
        assert not any(x.any() for x in vuel(tv, [[0, 0, 0], [0, 0, 2]], [0, 0, 0, 1, 0, 0], **kwargs))
    vuel(tv, bar, [0, 0, 0, 1, 0, 0], nsvars=1)
    assert latched() == (-2, "Truss element: too few state variables for the request")


# Impactor: a steel ball on a plate (contact-stiffness arguments R, -, E1, nu1, -, -, E2, nu2).
R, E1, NU1, E2, NU2 = 8.0, 210e3, 0.3, 10e3, 0.3
IMPACTOR = np.array([E1, NU1, E2, NU2, 50.0, 4.0, R, 1.0, 0.0, 0.0, 0.0, 0.5])


def hertz(tv, flag=0):
    args = np.array([R, 1.0, E1, NU1, 0.0, 0.0, E2, NU2, 0, 0, 0, 0, 0, 0])
    k, estar = tv.interaction.contactstiffness(args, flag)
    return k, estar


def record(**rows):
    rec = np.zeros(20)
    rec[5] = 9.80665
    for key, value in rows.items():
        rec[int(key[1:]) - 1] = value
    return rec


def test_impactor_start_values_and_start_time(tv, latched):
    steps(tv, 0, 3)
    props = IMPACTOR.copy()
    props[10] = -0.25  # initial displacement
    _, _, svars, _, _, cprops = uel(tv, (0, 0, 1), props=props, impact=record(), kstep=1, kinc=1,
                                    params=(0.1, 0.2, 0.3), svars=np.full(20, 2.0))
    assert (cprops[3], cprops[4], cprops[6], cprops[16], cprops[17]) == (-0.25, 5.0, 4.0, R, 1.0)
    assert svars[12:].tolist() == [9.80665] + [0.0] * 5 + [2.0, 2.0]
    assert cprops[7:10].tolist() == [0.1, 0.2, 0.3]
    _, _, _, _, _, cprops = vuel(tv, [[0, 0, 0], [0, 0, 1]], np.zeros(6), props=props, nsvars=18, kstep=1,
                                 cprops=record(), jprops=(1, 0), dtimecur=0.5, kinc=1)
    assert cprops[4] == 5.0 and cprops[18] == pytest.approx(5.0 - 0.25 * 9.80665, rel=1e-15)
    assert (cprops[3], cprops[6], cprops[16], cprops[17]) == (-0.25, 4.0, R, 1.0)  # the start values copied
    assert cprops[7:10].tolist() == [-1.0] * 3
    props[5] = 0.5
    *_, cprops = uel(tv, (0, 0, 1), props=props, impact=record(), kstep=1, kinc=1)
    assert cprops[4] == pytest.approx(200 ** 0.5, rel=1e-15)
    # A mass that is not positive: no initial velocity, latched.
    props[5] = 0.0
    *_, cprops = uel(tv, (0, 0, 1), props=props, impact=record(), kstep=1, kinc=1)
    assert cprops[4] == 0.0 and latched() == (-2, "Impactor element: the mass must be positive and the impact "
                                                   "energy not negative")
    props[5] = 4.0
    # Before the start time: no scheme, no contact.
    props[10] = 2.0
    rec = record(r1=3.0, r4=0.5, r7=4.0, r8=1.0, r9=1.0, r10=1.0)
    *_, cprops = uel(tv, (0, 0, 1), props=props, impact=rec, kstep=2, kinc=3, time=1.0, jprops=(1, 0, 0),
                     lflags=(11, 1, 1, 0, 0))
    assert cprops[7:10].tolist() == [0.0] * 3 and cprops[0] == 3.0


def test_implicit_hertz_contact(tv):
    steps(tv, 0, 3)
    alpha, beta, dt, m = -0.05, 0.275625, 1e-3, 4.0
    rec = record(r4=0.02, r5=5.0, r7=m, r11=10.0)
    svars = np.zeros(20)
    svars[12], svars[13], svars[14] = 9.80665, 2e-6, 0.001  # acceleration at start, Cs, reference r
    svars[16], svars[18] = 1e9, 3.0  # a larger force earlier
    *_, svars_out, _, _, cprops = uel(tv, (0, 0, 1), (0, 0, 0.001), props=IMPACTOR, impact=rec.copy(), svars=svars,
                                       kstep=2, kinc=1, params=(alpha, beta, 0.55), dtime=dt,
                                       lflags=(11, 1, 1, 0, 0), jprops=(1, 0, 0))
    k, estar = hertz(tv)
    ci = (1 + alpha) * beta * dt * dt / m
    xp = 0.02 + 5.0 * dt + (0.5 - beta) * dt * dt * 9.80665 + beta * dt * dt * 9.80665 - alpha * beta * dt * dt * 10.0 / m
    f = cprops[0]
    delta = (f / k) ** (2 / 3)
    assert f > 0 and delta + (ci + 2e-6) * f == pytest.approx(xp - 0.001, rel=1e-12)
    assert cprops[1] == pytest.approx((3 * f * R / (4 * estar)) ** (1 / 3), rel=1e-14)
    assert cprops[2] == pytest.approx((9 * f * f / (16 * R * estar * estar)) ** (1 / 3), rel=1e-14)
    assert svars_out[15] == 0.001 and svars_out[14] == 0.001 and svars_out[16] == 1e9
    # Brent's search on the same Hertz law (contact law 0): the root to its tolerance.
    *_, cprops = uel(tv, (0, 0, 1), (0, 0, 0.001), props=IMPACTOR, impact=rec.copy(), svars=svars, kstep=2, kinc=1,
                     params=(alpha, beta, 0.55), dtime=dt, lflags=(11, 1, 1, 0, 0), jprops=(2, 0, 0))
    assert cprops[0] == pytest.approx(f, abs=1e-3)
    # Below the reference: no force; an unknown procedure: the error and no force.
    *_, cprops = uel(tv, (0, 0, 1), (0, 0, 0.001), props=IMPACTOR, impact=record(r1=3.0, r4=-1.0, r7=m),
                     svars=svars, kstep=2, kinc=1, params=(alpha, beta, 0.55), dtime=dt, lflags=(11, 1, 1, 0, 0),
                     jprops=(1, 0, 0))
    assert cprops[:3].tolist() == [0.0, 0.0, 0.0]


def test_contact_failures_are_latched(tv, latched):
    steps(tv, 0, 3)
    tv.loaddata.nimp = 1
    kw = dict(props=IMPACTOR, kstep=2, params=(0.0, 0.25, 0.5), dtime=1e-3, lflags=(11, 1, 1, 0, 0))
    *_, cprops = uel(tv, (0, 0, 1), impact=record(r1=3.0, r4=1.0, r7=4.0), kinc=1, jprops=(7, 0, 0), **kw)
    assert latched() == (-3, "Error: Invalid root finding procedure") and cprops[0] == 0.0
    # No compliance (alpha = -1): the record's force is kept.
    tv.errorhandling.rsxerr(True)
    *_, cprops = uel(tv, (0, 0, 1), impact=record(r1=3.0, r4=1.0, r7=4.0), kinc=1, jprops=(1, 0, 0),
                     **{**kw, "params": (-1.0, 0.25, 0.5)})
    assert latched()[0] == -2 and "Ci + Cs" in latched()[1] and cprops[0] == 3.0
    # A force value in SVARS(20) names no impactor: the history lookup is skipped.
    tv.errorhandling.rsxerr(True)
    svars = np.zeros(20)
    svars[19] = 1234.5
    *_, cprops = uel(tv, (0, 0, 1), impact=record(r1=-2.0, r4=1.0, r7=4.0, r11=1.0), svars=svars, kinc=3,
                     jprops=(0, 0, 0), **kw)
    assert latched()[0] == -2 and "SVARS(20)" in latched()[1]
    assert tv.impactdata.csvars.tolist() == [[0.0]]
    # ... while an impactor number stores the negative force there.
    svars[19] = 1.0
    uel(tv, (0, 0, 1), impact=record(r1=-2.0, r4=1.0, r7=4.0, r11=1.0), svars=svars, kinc=3, jprops=(0, 0, 0), **kw)
    assert tv.impactdata.csvars.tolist() == [[2.0]]
    # An all-zero history table is not interpolated (and does not end the process).
    tv.errorhandling.rsxerr(True)
    *_, svars_out, _, _, _ = uel(tv, (0, 0, 1), impact=record(r4=-1.0, r7=4.0), svars=np.zeros(24), kinc=2,
                                 jprops=(1, 0, 0), **kw)
    assert latched()[0] == -2 and "history table" in latched()[1] and svars_out[18] == 0.0
    # A decreasing table (increasing once reversed) is.
    svars = np.zeros(24)
    svars[20:] = [3.0, 1.0, 40.0, 10.0]
    *_, svars_out, _, _, _ = uel(tv, (0, 0, 1), impact=record(r4=-1.0, r7=4.0), svars=svars, kinc=2,
                                 jprops=(1, 0, 0), **{**kw, "dtime": 2.0})
    assert svars_out[18] == pytest.approx(25.0, rel=1e-14)


def test_rebound_step(tv):
    steps(tv, 0, 2)
    tv.loaddata.nimp = 1
    kw = dict(props=IMPACTOR, kstep=2, kinc=2, dtime=0.1, lflags=(11, 1, 1, 0, 0), jprops=(1, 0, 0))
    # The structure moved (SVARS(16) = 0.004) with no reference: cut back, reference from SVARS(16).
    _, _, svars, _, pnewdt, cprops = uel(tv, (0, 0, 1), (0, 0, 0.004), impact=record(r14=5.0, r15=0.2), **kw)
    assert (pnewdt, cprops[0], cprops[1], cprops[14], cprops[12]) == (0.8, 0.0, 0.0, HUGE, 0.004)
    assert (svars[13], svars[19]) == (0.004, 5.0)
    # With a history table of two pairs and the impactor's column named by row 14.
    _, _, svars, _, pnewdt, cprops = uel(tv, (0, 0, 1), (0, 0, 0.004), impact=record(r14=1.0, r15=0.05),
                                         svars=np.zeros(24), **kw)
    np.testing.assert_allclose(tv.impactdata.csvars[:, 0], [0.1, 0.05, 0.004, 0.0], rtol=1e-15)
    assert pnewdt == 0.5 and cprops[12] == 0.0 and svars[19] == 1.0
    # The next value has no following abscissa: the ratio 1 does not cut.
    *_, pnewdt, cprops = uel(tv, (0, 0, 1), (0, 0, 0.006), impact=record(r14=1.0, r15=0.05), svars=np.zeros(24), **kw)
    np.testing.assert_allclose(tv.impactdata.csvars[:, 0], [0.1, 0.05, 0.004, 0.006], rtol=1e-15)
    assert (pnewdt, cprops[12]) == (0.8, 0.1)
    # A reference exists: the rebound force 0 and its radius; the history copied into SVARS.
    _, _, svars, _, pnewdt, cprops = uel(tv, (0, 0, 1), (0, 0, 0.004), impact=record(r13=0.5, r14=1.0),
                                         svars=np.r_[np.zeros(12), 9.80665, np.zeros(11)], **kw)
    assert (pnewdt, cprops[0], cprops[1]) == (1.0, 0.0, 0.0)
    np.testing.assert_allclose(svars[20:], [0.1, 0.05, 0.004, 0.006], rtol=1e-15)
    assert (svars[13], svars[19]) == (0.5, 1.0)
    # A history table taller than the element's 4 slots: only those are filled, the array past nsvars stays.
    tv.impactdata.csvars = np.arange(1.0, 7.0).reshape(6, 1)
    svars = np.r_[np.zeros(12), 9.80665, np.zeros(11), -7.0, -7.0]
    svars = uel(tv, (0, 0, 1), (0, 0, 0.004), impact=record(r13=0.5, r14=1.0), svars=svars, nsvars=24, **kw)[2]
    assert svars[20:].tolist() == [1.0, 2.0, 3.0, 4.0, -7.0, -7.0]


def test_explicit_impactor_contact(tv):
    steps(tv, 0, 3)
    k, estar = hertz(tv)
    kw = dict(props=IMPACTOR, nsvars=18, kstep=2, kinc=3, jprops=(1, 0))
    bar = [[0, 0, 0], [0, 0, 1]]
    *_, svars, _, cprops = vuel(tv, bar, [0, 0, 0, 0, 0, 0.001], cprops=record(r4=0.003, r7=4.0), **kw)
    f = k * 0.003 ** 1.5  # r = svars(15) = 0 on the first call
    assert cprops[0] == pytest.approx(f, rel=1e-14) and svars[0, 14] == 0.001 and svars[0, 16] == cprops[0]
    assert cprops[2] == pytest.approx((9 * f * f / (16 * R * estar * estar)) ** (1 / 3), rel=1e-14)
    # Keeping the record's force: radius and depth of that force (stiffness flag jprops[1]).
    _, estar = hertz(tv)
    *_, cprops = vuel(tv, bar, [0, 0, 0, 0, 0, 0.001], cprops=record(r1=5.0, r4=-0.003, r7=4.0),
                      **{**kw, "jprops": (0, 0, 5)})
    assert cprops[1] == pytest.approx((3 * 5.0 * R / (4 * estar)) ** (1 / 3), rel=1e-14)
    # Below the structure after the first increment: no contact.
    *_, cprops = vuel(tv, bar, [0, 0, 0, 0, 0, 0.001], cprops=record(r1=5.0, r2=1.0, r3=1.0, r4=-0.003, r7=4.0), **kw)
    assert cprops[:3].tolist() == [0.0, 0.0, 0.0]


def test_implicit_reference_and_record_update(tv):
    steps(tv, 0, 3)
    kw = dict(props=IMPACTOR, kstep=2, kinc=3, params=(0.0, 0.25, 0.5), dtime=1e-3, jprops=(1, 0, 0), nrhs=2)
    svars = np.zeros(20)
    svars[12], svars[14] = 9.80665, 0.001
    # The structure moved by 0.03: the reference becomes its displacement, above the impactor (xp ~ 0.025).
    du = np.zeros((6, 2))
    du[5, 0] = 0.03
    _, _, sv, _, _, cprops = uel(tv, (0, 0, 1), (0, 0, 0.03), impact=record(r1=4.0, r2=4.0, r3=4.0, r4=0.02, r5=5.0,
                                                                         r7=4.0, r11=5.0), svars=svars, du=du,
                                 lflags=(11, 1, 1, 0, 0), **kw)
    assert cprops[12] == 0.03 and cprops[:3].tolist() == [0.0, 0.0, 0.0] and sv[14] == 0.03
    # Not moved: the reference is SVARS(15), a contact force is found but the record takes -row 11.
    _, _, sv, _, _, cprops = uel(tv, (0, 0, 1), (0, 0, 0.03), impact=record(r4=0.02, r5=5.0, r7=4.0, r11=5.0, r12=0.3),
                                 svars=svars, du=np.zeros((6, 2)), lflags=(11, 1, 1, 0, 0), **kw)
    assert (cprops[0], cprops[1], sv[14], sv[16]) == (-5.0, 0.3, 0.001, 0.0)
    # A negative force of the record goes to csvars and row 1 is cleared: with row 11 = 0 the record updates.
    tv.loaddata.nimp = 1
    svars[19] = 1.0
    _, _, sv, _, _, cprops = uel(tv, (0, 0, 1), impact=record(r1=-2.0, r2=0.7, r4=0.02, r7=4.0, r12=0.3),
                                 svars=svars, du=np.zeros((6, 2)), lflags=(1, 1, 1, 0, 0), **kw)
    assert tv.impactdata.csvars.tolist() == [[2.0]] and cprops[:2].tolist() == [0.0, 0.7]
    # Increment 0 with the structure moved and the impactor below it: the record's values stay.
    _, _, sv, _, _, cprops = uel(tv, (0, 0, 1), (0, 0, 0.03), impact=record(r1=3.0, r2=3.0, r3=3.0, r4=-0.02, r7=4.0),
                                 svars=svars, du=du, lflags=(11, 1, 1, 0, 0), **{**kw, "kinc": 0})
    assert cprops[:3].tolist() == [3.0, 3.0, 3.0]
    # Statics with fixed increments (procedure 2) records the bar's elongation as automatic statics does.
    for procedure in (1, 2):
        _, _, sv, *_ = uel(tv, (0, 0, 1), (0, 0, 0.03), impact=record(r4=0.02, r7=4.0), svars=svars.copy(),
                           du=np.zeros((6, 2)), lflags=(procedure, 1, 1, 0, 0), **kw)
        assert sv[15] == 0.03


def test_brent_unloading_and_rebound_force(tv):
    steps(tv, 0, 3, 2)
    props = IMPACTOR.copy()
    props[11] = 0.01  # critical indentation of the unloading law
    svars = np.zeros(20)
    svars[16] = 1000.0  # the peak force of this element: exponent 2.5
    dt, m = 1e-3, 4.0
    rec = record(r4=0.05, r7=m, r14=1000.0, r15=0.05, r16=1.0)
    *_, cprops = uel(tv, (0, 0, 1), props=props, impact=rec, svars=svars, kstep=2, kinc=1, params=(0.0, 0.25, 0.5),
                     dtime=dt, lflags=(11, 1, 1, 0, 0), jprops=(2, 1, 0))
    a0 = 0.05 * (1 - (0.01 / 0.05) ** 0.4)
    k = 1000.0 / (0.05 - a0) ** 2.5
    xp = 0.05 + 0.25 * dt * dt * 9.80665  # SVARS(13) = 0
    c = 0.25 * dt * dt / m
    lo, hi = 0.0, (xp - a0) / c
    for _ in range(200):  # the root of k*(xp - a0 - c*F)^2.5 = F by bisection
        mid = 0.5 * (lo + hi)
        lo, hi = (mid, hi) if k * max(xp - a0 - c * mid, 0.0) ** 2.5 > mid else (lo, mid)
    assert cprops[0] == pytest.approx(lo, abs=2e-3)
    # Contact law 2: k = PROPS(12), exponent PROPS(13).
    props = np.r_[IMPACTOR, 1.2]
    props[11] = 5e4
    *_, cprops = uel(tv, (0, 0, 1), props=props, impact=record(r4=0.05, r7=m), svars=np.zeros(20), kstep=2,
                     kinc=1, params=(0.0, 0.25, 0.5), dtime=dt, lflags=(11, 1, 1, 0, 0), jprops=(2, 0, 2))
    lo, hi = 0.0, xp / c
    for _ in range(200):
        mid = 0.5 * (lo + hi)
        lo, hi = (mid, hi) if 5e4 * max(xp - c * mid, 0.0) ** 1.2 > mid else (lo, mid)
    assert cprops[0] == pytest.approx(lo, abs=2e-3)
    # Contact law 1 with the plate stiffness (flag 6), which grows with the force: F = k(F)*(xp - c*F),
    # k(F) = pi*h*E*/(ln(h/sqrt(4*R*F/(pi*E*))) + 1.886), tabulated by the element at fifty forces.
    svars = np.zeros(20)
    svars[13] = 1e-4  # Cs: forces up to about 500, the plate stiffness positive over all of them
    *_, cprops = uel(tv, (0, 0, 1), props=IMPACTOR, impact=record(r4=0.05, r7=m), svars=svars, kstep=2, kinc=1,
                     params=(0.0, 0.25, 0.5), dtime=dt, lflags=(11, 1, 1, 0, 0), jprops=(2, 6, 1))
    estar, h = 1 / ((1 - NU1 ** 2) / E1 + (1 - NU2 ** 2) / E2), IMPACTOR[7]
    c += 1e-4
    lo, hi = 0.0, xp / c
    for _ in range(200):
        mid = 0.5 * (lo + hi)
        kf = np.pi * h * estar / (np.log(h / np.sqrt(4 * R * mid / (np.pi * estar))) + 1.886)
        lo, hi = (mid, hi) if kf * (xp - c * mid) > mid else (lo, mid)
    assert cprops[0] == pytest.approx(lo, abs=2e-3)  # 282.6405; a stiffness held at F = 0 gives 61.7
    # Rebound step: no structure motion, no reference: the unit force and its radius under the implicit
    # request, nothing under another.
    _, estar = hertz(tv)
    *_, cprops = uel(tv, (0, 0, 1), props=IMPACTOR, impact=record(r1=3.0, r2=3.0), kstep=3, kinc=2,
                     lflags=(11, 1, 1, 0, 0), jprops=(1, 0, 0))
    assert cprops[0] == 1.0 and cprops[1] == pytest.approx((3 * R / (4 * estar)) ** (1 / 3), rel=1e-14)
    *_, cprops = uel(tv, (0, 0, 1), props=IMPACTOR, impact=record(r1=3.0, r2=3.0), kstep=3, kinc=2,
                     lflags=(1, 1, 1, 0, 0), jprops=(1, 0, 0))
    assert cprops[:2].tolist() == [0.0, 0.0]


def test_explicit_block_and_unloading(tv):
    steps(tv, 0, 3)
    props = IMPACTOR.copy()
    props[11] = 0.01
    k, _ = hertz(tv)
    coords = np.zeros((2, 2, 3))
    coords[:, 1, 2] = 1.0
    u = np.zeros((2, 6))
    u[:, 5] = [0.001, 0.002]
    u[1, 2] = -0.001  # node 1 of the second element moves too
    *_, svars, _, cprops = vuel(tv, coords, u, props=props, nsvars=18, kstep=2, kinc=3, jprops=(1, 0),
                                cprops=record(r4=0.003, r7=4.0))
    assert svars[:, 14].tolist() == [0.001, 0.003] and cprops[0] == pytest.approx(k * 0.003 ** 1.5, rel=1e-14)
    assert (svars[:, 16] == cprops[0]).all() and not svars[:, 17].any()
    # Tan-Sun unloading (the peak is not this element's): exponent 1.5 from the peak.
    *_, cprops = vuel(tv, coords, u, props=props, nsvars=18, kstep=2, kinc=3, jprops=(2, 0),
                      cprops=record(r4=0.04, r7=4.0, r14=500.0, r15=0.05, r16=1.0))
    a0 = 0.05 * (1 - (0.01 / 0.05) ** 0.4)
    assert cprops[0] == pytest.approx(500.0 * ((0.04 - a0) / (0.05 - a0)) ** 1.5, rel=1e-14)
