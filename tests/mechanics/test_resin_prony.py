"""Modules resin and prony: two-block temperature interpolation, the modulus
law, calibration tables, the endochronic resin, cure kinetics and Prony
relaxation."""
import numpy as np
import pytest

BLOCK_A = [3000.0, 0.35, 0.01, 80.0, 2.0, 0.1, 1.5, 100.0, 10.0]
BLOCK_B = [2000.0, 0.40, 0.02, 60.0, 3.0, 0.2, 1.25, 90.0, 12.0]
# c2, c1, c0, b1, b0, Ta, Tb, Tc, Tr, k, Einf
LAW = [-1e-4, 0.002, 1.0, -0.002, 1.05, 300.0, 350.0, 400.0, 420.0, 4.0, 50.0]


def resin_props(ta, tb, law=True):
    return np.array(BLOCK_A + [ta] + BLOCK_B + [tb] + [0.5] + (LAW if law else []))


@pytest.fixture
def tables(tv):
    md = tv.materialdata
    saved = {n: getattr(md, n) for n in ("temperatures", "secantprops", "flowprops", "normalprops")}
    yield md
    for name, value in saved.items():
        setattr(md, name, None if value is None else value.copy())


def test_blocks_in_either_order_and_outside_the_range(tv):
    r = tv.resin
    for temp, expected in ((250.0, BLOCK_A), (400.0, BLOCK_B), (300.0, None)):
        up = r.getresinproperties(resin_props(273.15, 323.15, False), temp, 0)
        down = r.getresinproperties(np.r_[BLOCK_B, 323.15, BLOCK_A, 273.15, 0.5], temp, 0)
        assert up == down
        e, nu, num, gamma, degr, xt, xc, np_, aw, ew = up
        if expected is not None:  # the nearer block, xc = ratio·xt there too
            assert (e, nu, xt, xc, aw) == (expected[0], expected[1], expected[3],
                                           expected[6] * expected[3], expected[7])
        else:
            w = (300.0 - 273.15) / 50.0
            assert e == pytest.approx(3000.0 + w * (2000.0 - 3000.0), rel=1e-14)
            assert xc == pytest.approx((1.5 + w * (1.25 - 1.5)) * (80.0 + w * (60.0 - 80.0)), rel=1e-14)
        assert degr == 0.5


def test_equal_block_temperatures_take_block_1(tv):
    # Block 1 is the second block when the temperatures are equal (no 0/0).
    e = tv.resin.getresinproperties(resin_props(300.0, 300.0, False), 300.0, 0)[0]
    assert e == 2000.0


def test_modulus_law_over_its_ranges(tv, latched):
    p = resin_props(273.15, 293.15)  # low-range 3000, room temperature 2000
    er, (c2, c1, c0, b1, b0, ta, tb, tc, tr, k, einf) = 2000.0, LAW
    quad = lambda th: c2 * th * th + c1 * th + c0  # noqa: E731
    thc = tc - 273.15
    eg = er * quad(thc)
    cases = [
        (290.0, 2000.0 + (293.15 - 290.0) * 0.0 + (3000 - 2000) * (293.15 - 290.0) / 20.0),  # law off
        (ta, 3000.0),                              # at Ta: the low-range modulus
        (325.0, er * (b1 * 51.85 + b0)),
        (tb, 2000.0),                              # at Tb: the interpolated value stands
        (375.0, er * quad(375.0 - 273.15)),
        (tc, eg - (eg - einf) * np.exp(-((thc / (tr - 273.15)) ** k))),
    ]
    for temp, expected in cases:
        assert tv.resin.getresinproperties(p, temp, 0)[0] == pytest.approx(expected, rel=1e-13), temp
    assert latched()[0] == 0
    # Without a room-temperature block the law is skipped and reported.
    e = tv.resin.getresinproperties(resin_props(273.15, 303.15), 325.0, 0)[0]
    assert e == 2000.0 and latched()[0] == -2


def test_property_counts(tv, error, latched):
    with pytest.raises(error):
        tv.resin.getresinproperties(np.ones(20), 300.0, 0)
    with pytest.raises(error):
        tv.resin.getresinplasticproperties(np.ones(24), 300.0, 0.0)
    # 31 values: the law is incomplete and not used.
    e = tv.resin.getresinproperties(resin_props(273.15, 293.15)[:31], 325.0, 0)[0]
    assert e == 2000.0 and latched()[0] == 0


def test_plastic_law_scales_ec_and_g(tv, tables, latched):
    block_a = [3000.0, 3300.0, 1100.0, 0.35, 0.36, 0.5, 80, 120, 2, 100, 10]
    block_b = [2000.0, 2400.0, 800.0, 0.38, 0.39, 0.6, 60, 100, 3, 90, 12]
    p = np.r_[block_a, 273.15, block_b, 293.15, 0.25, LAW]
    tables.flowprops = np.tile([0.0, 3600.0, 120.0], (1, 1, 1)).reshape(1, 1, 3)
    tables.nflowdata = 1
    out = tv.resin.getresinplasticproperties(p, LAW[6], 0.0)  # at Tb: the low-range modulus
    et, ec, g, *_ = out
    assert (et, ec, g) == (3000.0, 2400.0 * 1.5, 800.0 * 1.5)
    assert out[5:7] == (3600.0, 120.0)  # a0, a1 of a one-point table
    assert latched()[0] == 0


def test_calibration_tables(tv, tables, latched):
    r = tv.resin
    tables.temperatures = np.array([273.15, 373.15])
    strain = np.array([0.0, 0.01, 0.02, 0.04])
    rows = np.stack([np.c_[strain, 2000.0 - 1e4 * strain], np.c_[strain, 1000.0 - 1e4 * strain]])
    tables.secantprops = rows
    tables.nsecantdata = 4
    # Straight lines: the Hermite curve and the lines agree, at 50 K above row 1.
    assert r.getmodulusfromtable(0.03, 323.15) == pytest.approx(1500.0 - 300.0, rel=1e-14)
    for stype in ("C", "c", "L"):
        assert r.getexternaldata(rows, 4, 0.03, 323.15, stype) == pytest.approx(1200.0, rel=1e-14)
    assert r.getexternaldata(rows[:1], 4, 0.03, 323.15, "L") == pytest.approx(1700.0)  # one row
    assert r.getexternaldata(rows, 1, 0.03, 323.15, "C") == pytest.approx(1500.0)  # one point
    assert latched()[0] == 0
    assert r.getexternaldata(rows[:, ::-1], 4, 0.03, 323.15, "C") == 0.0  # strains decreasing
    assert latched()[0] == -2
    tv.errorhandling.rsxerr(True)
    tables.secantprops = None
    assert r.getmodulusfromtable(0.03, 323.15) == 0.0
    status, message = latched()
    assert status == -2 and "secantprops" in message


def test_orthotropic_softening(tv, tables):
    tables.temperatures = np.array([293.15])
    tables.normalprops = np.array([[[0.0, 10.0], [1.0, 10.0]]])
    tables.nnormaldata = 2
    p = resin_props(293.15, 393.15, False)
    p[5] = 0.0  # gamma 0: no rate correction
    out = tv.resin.getresinorthotropicproperties(p, 293.15, 0.1, np.zeros(6), [0.01, 0, 0, 0, 0, 0], 0, 0.0)
    e1, e2, e3, nu12, nu13, nu23, nu21 = out[:7]
    assert e1 == pytest.approx(3000.0 / 1.1) and e2 == e3 == 3000.0
    assert nu21 == pytest.approx(0.7 / (e1 / e2 + 1.0)) and nu12 + nu21 == pytest.approx(0.7)
    assert out[9:12] == pytest.approx((3000.0 / 2.7,) * 3)  # no shear table read at zero shear
    # Compression with gamma ≠ 0: the coefficient is corrected for the rate.
    p[5] = 0.5
    stran, endstran = np.array([-0.01, 0, 0, 0, 0, 0]), np.array([-0.02, 0, 0, 0, 0, 0])
    e1 = tv.resin.getresinorthotropicproperties(p, 293.15, 0.1, stran, endstran, 0, 0.0)[0]
    f1, f2 = 0.02 * 10 + 1, 0.01 * 10 + 1
    alpha = (0.6 * f1 * f2 / (0.5 * f1 + f2 * 0.1) - 1) / 0.02
    assert e1 == pytest.approx(3000.0 / (0.02 * alpha + 1), rel=1e-14)
    # Undamaged (d = 1) and degr below 1: no softening.
    assert tv.resin.getresinorthotropicproperties(p, 293.15, 0.1, stran, endstran, 0, 1.0)[0] == 3000.0


@pytest.mark.parametrize("strain, expected", [
    ([-0.01, -0.01, -0.01, 0, 0, 0], -np.sqrt(3e-4)),
    ([0, 0, 0, 0.02, 0, 0], 0.02 / np.sqrt(2.0)),
    ([0.01, 0, 0, 0, 0, 0], 0.01),
])
def test_equivalent_strain(tv, strain, expected):
    assert tv.resin.equivalentstrain(strain, 3) == pytest.approx(expected, rel=1e-15)


ENDO = [1000.0, 1.0, 0.35, 0.0, 0.0] + [0.0] * 6


def test_endochrone_elastic_cases(tv, latched):
    r = tv.resin
    statev = np.arange(42.0)
    stress, state = r.endochroneviscoplasticity(np.zeros(6), [0.01, 0, 0, 0, 0, 0], ENDO, np.zeros(6),
                                                statev, 1.0, True, False)
    np.testing.assert_allclose(stress, [0.240741, 0.129630, 0.129630, 0, 0, 0], atol=5e-7)
    np.testing.assert_array_equal(state, statev)
    # c = Ep = Ek = 0: linear elastic in the total strain (tensor shears).
    props = [1000.0, 0.0, 0.3] + [0.0] * 8
    strain = np.array([1e-3, -2e-4, 5e-4, 2e-4, -1e-4, 3e-4])
    stress, _ = r.endochroneviscoplasticity(strain / 2, strain / 2, props, np.zeros(6), np.zeros(42), 1.0,
                                            True, True)
    c = tv.lamina.getnyestiffnessmatrix([1000.0] * 3 + [0.3] * 3 + [1000.0 / 2.6] * 3, 6)
    np.testing.assert_allclose(stress, c @ (strain * [1, 1, 1, 2, 2, 2]), rtol=1e-13, atol=1e-15)
    assert latched()[0] == 0
    # Too few state variables or properties: zero stress, state untouched.
    stress, state = r.endochroneviscoplasticity(strain, strain, props, np.ones(6), statev, 1.0, True, True,
                                                nstatev=41)
    assert not stress.any() and (state == statev).all() and latched()[0] == -2


NORMAL = np.array([1, 1, 1, 0, 0, 0.0])
TENSOR2 = np.array([1, 1, 1, 2, 2, 2.0])


def reference_endochrone(stran, dstrain, props, statev, dt):
    # The update as the model states it, branch by branch.
    e, c, nu, ep, beta = props[:5]
    eps = stran + dstrain
    tr, dtr = eps[:3].sum(), dstrain[:3].sum()
    dev, ddev = eps - tr / 3 * NORMAL, dstrain - dtr / 3 * NORMAL
    dz = np.sqrt((dstrain**2 * TENSOR2).sum())
    g, k = e / (2 * (1 + nu)), e / (3 * (1 - 2 * nu))
    dg = np.exp(np.sqrt((dev**2 * TENSOR2).sum()) * c / ((1 + nu) * 0.816496580927726))
    dk = np.exp(abs(tr) * c / (1 - 2 * nu))
    sigma = np.where(NORMAL > 0, 2 * g * dev / dg + k * tr / dk, 2 * g * eps / dg)
    rt = np.sqrt(2 * nu**2 + 1)
    bd, bv = beta / rt, beta / (3 * rt)
    gp, kp = ep / (2 * (1 + nu)), ep / (3 * (1 - 2 * nu))
    sp = statev[:6].copy()
    tp = sp[:3].sum()
    sp += (2 * gp * ddev - bd * dz * (sp - tp / 3 * NORMAL)) / (1 + 0.5 * bd * dz) \
        + (3 * kp * dtr - 3 * bv * dz * tp) / (1 + 1.5 * bv * dz) / 3 * NORMAL
    branches = [sp]
    for b, tau in enumerate([0.1, 1.0, 10.0, 100.0, 1000.0, 1e4]):
        ek = props[5 + b]
        gk, kk = ek / (2 * (1 + nu)), ek / (3 * (1 - 2 * nu))
        eta_g, eta_k = tau * ek / (1 + nu), tau * ek / (1 - 2 * nu)
        sk = statev[6 + 6 * b:12 + 6 * b].copy()
        tk = sk[:3].sum()
        sk += (2 * gk * ddev - 2 * gk * dt / eta_g * (sk - tk / 3 * NORMAL)) / (1 + gk * dt / eta_g) \
            + (3 * kk * dtr - 3 * kk * dt / eta_k * tk) / (1 + 1.5 * kk * dt / eta_k) / 3 * NORMAL
        branches.append(sk)
    return sigma + sum(branches), np.concatenate(branches)


def test_endochrone_against_the_branch_by_branch_update(tv):
    rng = np.random.default_rng(5)
    props = np.r_[3000.0, 2.0, 0.35, 500.0, 10.0, rng.uniform(50, 500, 6)]
    statev = rng.uniform(-1, 1, 42)
    stran, dstrain = rng.uniform(-1e-3, 1e-3, 6), rng.uniform(-1e-4, 1e-4, 6)
    stress, state = tv.resin.endochroneviscoplasticity(stran, dstrain, props, np.zeros(6), statev, 0.3,
                                                       True, True)
    ref_stress, ref_state = reference_endochrone(stran, dstrain, props, statev, 0.3)
    np.testing.assert_allclose(stress, ref_stress, rtol=1e-12)
    np.testing.assert_allclose(state, ref_state, rtol=1e-12)


def test_maxwell_branch_decays_by_the_midpoint_factor(tv):
    props = [1000.0, 0.0, 0.3, 0.0, 0.0, 0.0, 0.0, 500.0, 0.0, 0.0, 0.0]  # branch 3: tau 10
    strain = np.array([1e-3, 0, 0, 0, 2e-3, 0])
    stress, state = tv.resin.endochroneviscoplasticity(np.zeros(6), strain, props, np.zeros(6),
                                                       np.zeros(42), 0.0, True, True)
    branch = state[18:24].copy()
    assert np.abs(branch).max() > 0
    factor = (1 - 0.5 / 10.0) / (1 + 0.5 / 10.0)
    for step in range(1, 4):
        _, state = tv.resin.endochroneviscoplasticity(strain, np.zeros(6), props, np.zeros(6), state, 1.0,
                                                      True, True)
        np.testing.assert_allclose(state[18:24], branch * factor**step, rtol=1e-13, atol=1e-18)
    # writesdv false keeps the state: the same input gives the same stress.
    again = [tv.resin.endochroneviscoplasticity(strain, strain, props, np.zeros(6), state, 1.0, False, True)
             for _ in range(2)]
    np.testing.assert_array_equal(again[0][0], again[1][0])
    np.testing.assert_array_equal(again[0][1], state)


def test_cure_kinetics_and_relaxation(tv, latched):
    pr = tv.prony
    table = [1e5, 6e4, 0, 0, 1, 0, 0, 1e6]
    assert pr.funcdegree(table, 400.0, 0.2, 1.0, 1.0) == pytest.approx(0.2011679, abs=5e-8)
    rate = lambda a1, t, a: a1 * np.exp(-6e4 / (8.314462618 * t)) * (1 - a)  # noqa: E731
    two_rows = table[:7] + [400.0] + [2e5] + table[1:]
    assert pr.curerate(two_rows, 399.9, 0.3, 1.0) == pytest.approx(rate(1e5, 399.9, 0.3), rel=1e-14)
    assert pr.curerate(two_rows, 400.0, 0.3, 1.0) == pytest.approx(rate(2e5, 400.0, 0.3), rel=1e-14)
    assert pr.curerate(two_rows, 2e6, 0.3, 1.0) == pytest.approx(rate(2e5, 2e6, 0.3), rel=1e-14)  # past the last
    assert pr.curerate(table, 400.0, 1.5, 1.0) == pr.curerate(table, 400.0, 1.0, 1.0) == 0.0
    assert pr.funcdegree(table, 400.0, 0.2, 0.0, 1.0) == 0.2
    assert latched()[0] == 0
    assert pr.curerate(table[:7], 400.0, 0.3, 1.0) == 0.0 and latched()[0] == -2
    h = 0.0
    for _ in range(10):
        h = pr.relaxation(h, 10.0, 1.0, 1.0, 1000.0, 0.5, 0.01)
    assert h == pytest.approx(3.0722836, abs=5e-8)
    assert h == pytest.approx(5.0 * (1 - (10 / 11) ** 10), rel=1e-14)
    assert pr.relaxation(2.0, 0.0, 1.0, 1.0, 1000.0, 0.5, 0.01) == 5.0
