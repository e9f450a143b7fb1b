"""hetval_prony, uexpan_prony and umat_prony: the cure state and its heat,
the glassy, liquid and rubbery strains, and the Prony relaxation of the five
stiffness entries with their shift factors."""
import numpy as np
import pytest

from process_calls import HUGE, shared, umat, usermat

FIT = [1e3, 5e4, 0.0, 5e4, 1.0, 1.0, 1.0, 1000.0]  # A1, E1, A2, E2, n, m, p, upper temperature
COLUMNS = {1: [0.3], 2: [500.0], 3: [1e-5, 2e-5, 3e-5, 4e-5, 5e-5, 6e-5],
           4: [-0.01, -0.02, -0.03, -0.04, -0.05, -0.06], 5: [0.1, 10.0], 6: [0.0, 200.0, 0.5], 7: FIT}


def cure_table(columns=COLUMNS, nsec=1):
    table = np.full((12, 8, 1, nsec), HUGE)
    for kind, values in columns.items():
        table[:len(values), kind - 1, 0, nsec - 1] = values
    return table


@pytest.fixture
def cure(tv, clean_latch):
    with shared(tv, materialdata__cuprops=cure_table(), sectiondata__secidlist=None):
        yield


def hetval(tv, svar, t, dtime=10.0, name="EPOXY_l@1@"):
    return tv.toplevel.hetval_prony(name, [t, 0.0], [1.0, 1.0], dtime, np.asarray(svar, float), [0.0], [0.0])


def uexpan(tv, svar, t, dt, total=1.0, dtime=10.0, name="EPOXY"):
    return tv.toplevel.uexpan_prony([t, dt], [total, total], dtime, [0.0], [0.0], np.asarray(svar, float), name, 1)


def state(alpha=0.0, tg=0.0, alpha_max=0.0, n=508):
    s = np.zeros(n)
    s[[0, 2, 3]] = alpha, tg, alpha_max
    return s


def test_cure_state_and_heat(tv, cure, latched):
    sv, flux = hetval(tv, state(0.5), 373.15)  # at the largest degree 0.5 the cure stands
    assert (sv[0], sv[1], sv[3], flux[0]) == (0.5, 0.0, 0.5, 0.0)
    assert sv[2] == pytest.approx(339.8166667, abs=5e-8)
    alpha = tv.prony.funcdegree(FIT, 373.15, 0.2, 10.0, 0.5)
    rate = tv.prony.curerate(FIT, 373.15, alpha, 0.5)
    sv, flux = hetval(tv, state(0.2), 373.15)
    assert (sv[0], sv[1], flux[0]) == (alpha, rate, 500.0 * rate) and 0.2 < alpha < 0.5
    # A falling temperature does not lower the largest degree reached.
    assert hetval(tv, state(0.6, alpha_max=0.8), 300.0)[0][3] == 0.8
    with shared(tv, materialdata__cuprops=cure_table({**COLUMNS, 6: [20.0, 220.0, 1.0]})[:3]):
        # three entries per kind are enough when the cure stands (no rate fit needed)
        assert hetval(tv, state(0.5), 373.15)[0][2] == pytest.approx(273.15 + 20.0 + 100.0, rel=1e-15)
    assert latched()[0] == 0


def test_glassy_liquid_and_rubbery_strains(tv, cure):
    # At the largest degree: thermal strains only; T < Tg glassy although below the gel point.
    e, dedt, sv = uexpan(tv, state(0.2, alpha_max=0.2), 250.0, -2.0)
    np.testing.assert_array_equal(e, [-2e-5, -4e-5, -6e-5, 0, 0, 0])
    assert not dedt.any() and sv[0] == 0.2 and sv[2] < 300.0 and sv[6] == sv[7] == 0.0
    np.testing.assert_array_equal(sv[502:508], [-2e-5, -4e-5, -6e-5, 0, 0, 0])
    # Above Tg: liquid below the gel point, rubbery from it.
    assert not uexpan(tv, state(0.2, alpha_max=0.2), 335.0, 5.0)[0].any()
    e, _, sv = uexpan(tv, state(0.3, alpha_max=0.3), 335.0, 5.0)
    np.testing.assert_allclose(e[:3], [2e-4, 2.5e-4, 3e-4], rtol=1e-15)
    # At T = Tg exactly (here 500 K, with the cure standing at the gel point): rubbery.
    exact = {**COLUMNS, 1: [0.5], 5: [0.0, 0.0], 6: [-273.15, 726.85, 1.0]}
    with shared(tv, materialdata__cuprops=cure_table(exact)):
        e, _, sv = uexpan(tv, state(0.5, alpha_max=0.5), 495.0, 5.0)
        assert sv[2] == 500.0 and e[0] == 4e-5 * 5.0
    # Curing: the shrinkage increments β·rate·dtime, kept in 7, 8 and accumulated in 506-508.
    e, _, sv = uexpan(tv, state(0.4), 373.15, 0.0)  # end temperature 373.15: largest degree 0.5
    rate = sv[1]
    assert rate > 0.0 and sv[2] < 373.15
    np.testing.assert_allclose(e[:3], [-0.04 * rate * 10, -0.05 * rate * 10, -0.06 * rate * 10], rtol=1e-15)
    assert (sv[6], sv[7]) == (e[0], e[1]) and np.array_equal(sv[505:508], e[:3])
    # Total time 0 starts the cure from 0.
    assert uexpan(tv, state(0.45, tg=999.0), 373.15, 0.0, total=0.0)[2][0] < 0.45


def test_missing_cure_data_and_short_state(tv, cure, latched, error):
    before = state(0.2)
    for table in (None, cure_table({**COLUMNS, 6: [0.0, 200.0]})):  # no table; λ not given
        tv.errorhandling.rsxerr(True)
        tv.materialdata.cuprops = table
        sv, flux = hetval(tv, before, 373.15)
        assert latched()[0] == -2 and flux[0] == 0.0 and np.array_equal(sv, before)
    assert tv.errorhandling.errintv.tolist() == [6, 3, 1, 1]  # kind, entries needed, ply, section
    tv.errorhandling.rsxerr(True)
    tv.materialdata.cuprops = cure_table({**COLUMNS, 3: [1e-5, 2e-5, 3e-5]})  # no rubbery coefficients
    e, _, sv = uexpan(tv, state(0.3, alpha_max=0.3), 335.0, 5.0)
    assert latched()[0] == -2 and not e.any() and np.array_equal(sv, state(0.3, alpha_max=0.3))
    tv.errorhandling.rsxerr(True)
    short = state(0.2, n=507)
    assert np.array_equal(uexpan(tv, short, 400.0, 5.0)[2], short) and latched()[0] == -2
    with pytest.raises(error):
        hetval(tv, [0.0, 0.0, 0.0], 373.15)


def test_section_tag_selects_the_cure_column(tv, cure, latched):
    table = cure_table(nsec=2)
    table[:, 4, 0, 0] = HUGE  # section 1 has no curing data
    with shared(tv, materialdata__cuprops=table, sectiondata__secidlist=np.array([3, 7], np.int32)):
        assert hetval(tv, state(0.5), 373.15, name="EPOXY_s@7@")[0][3] == 0.5 and latched()[0] == 0
        hetval(tv, state(0.5), 373.15, name="EPOXY_s@5@")  # not listed: section 1
        assert latched()[0] == -2


# ---------------------------------------------------------------------------
# umat_prony

C = [1000.0, 400.0, 900.0, 300.0, 250.0]  # C11, C12, C22, C23, C44


def prony_props(counts=(1, 0, 0, 0, 0), pairs=(0.4, 2.0)):
    return np.r_[counts, C, pairs]


def prony(tv, props, dstran, temp=300.0, svar=None, stran=None, dtime=1.0, name="PLY", n=6):
    svar = np.zeros(510) if svar is None else np.asarray(svar, float)
    s, sv, dd, *_ = umat(tv.toplevel.umat_prony, np.zeros(n), svar, props, dstran, stran=stran, temp=temp,
                         dtime=dtime, name=name)
    return s, sv, dd


E1 = [0.01, 0, 0, 0, 0, 0]


def test_one_term_closed_form_and_the_temperature_ranges(tv, clean_latch, latched):
    s, sv, dd = prony(tv, prony_props(), E1)
    assert (sv[8], s[0], dd[0, 0], sv[500]) == pytest.approx((4 / 3, 26 / 3, 2600 / 3, 2600 / 3), rel=1e-15)
    assert (sv[508], sv[509]) == (0.0, 0.0)
    for t, d11, h in ((600.0, 600.0, 4.0), (573.15, 600.0, 4.0), (273.15, 2600 / 3, 4 / 3), (200.0, 1000.0, 0.0)):
        s, sv, dd = prony(tv, prony_props(), E1, temp=t)
        assert (dd[0, 0], sv[8], s[0]) == pytest.approx((d11, h, d11 * 0.01 if t != 273.15 else 26 / 3), rel=1e-15)
    # No terms: elastic at every temperature; only slots 501 and 502 change.
    for t in (200.0, 300.0, 600.0):
        s, sv, dd = prony(tv, prony_props((0, 0, 0, 0, 0), ()), [0.01, 0.02, 0, 0.01, 0, 0.03], temp=t)
        assert dd[0, 0] == sv[500] == 1000.0 and dd[1, 1] == sv[501] == 900.0 and dd[5, 5] == 300.0
        assert np.count_nonzero(sv) == 2
    assert latched()[0] == 0


def test_relaxation_limits_and_the_shear_entry(tv, clean_latch):
    counts = (1, 1, 1, 1, 1)
    e = np.array([0.01, 0.02, -0.01, 0.004, 0.003, 0.006])
    slow = prony_props(counts, [0.5, 1e12] * 5)
    s, sv, dd = prony(tv, slow, e)
    np.testing.assert_allclose(sv[8:21], 0.0, atol=1e-10)  # histories unchanged
    np.testing.assert_allclose(np.diag(dd), [1000, 900, 900, 250, 250, 300], rtol=1e-10)
    fast = prony_props(counts, [0.5, 1e-12] * 5)
    _, sv, dd = prony(tv, fast, e)
    _, relaxed, dr = prony(tv, fast, e, temp=600.0)
    # h11, h12, h13, h21, h22, h23, h31, h32, h33, h44, h55, h66a, h66b at p·share·C·e
    expected = 0.5 * np.array([1000 * e[0], 400 * e[1], 400 * e[2], 400 * e[0], 900 * e[1], 300 * e[2],
                               400 * e[0], 300 * e[1], 900 * e[2], 250 * e[3], 250 * e[4], 450 * e[5],
                               -150 * e[5]])
    np.testing.assert_allclose(sv[8:21], expected, rtol=1e-10)
    np.testing.assert_allclose(relaxed[8:21], expected, rtol=1e-15)
    np.testing.assert_allclose(dd, dr, rtol=1e-10)
    assert dr[5, 5] == 0.5 * (dr[1, 1] - dr[1, 2]) == 0.5 * (450 - 150)


def test_tangent_is_the_derivative_of_the_stress_update(tv, clean_latch):
    props = prony_props((2, 1, 2, 1, 1), [0.2, 0.5, 0.1, 3.0, 0.3, 1.0, 0.25, 0.7, 0.15, 4.0, 0.2, 2.0, 0.3, 0.9])
    svar = np.zeros(510)
    svar[8:23] = np.linspace(-0.3, 0.4, 15)
    stran = np.array([0.002, -0.001, 0.003, 0.001, -0.002, 0.004])
    step = np.array([0.001, 0.002, -0.001, 0.0005, 0.001, -0.002])
    _, _, dd = prony(tv, props, step, svar=svar, stran=stran)
    h = 1e-6
    for j in range(6):
        up, down = step.copy(), step.copy()
        up[j] += h
        down[j] -= h
        fd = (prony(tv, props, up, svar=svar, stran=stran)[0] - prony(tv, props, down, svar=svar, stran=stran)[0])
        np.testing.assert_allclose(dd[:, j], fd / (2 * h), rtol=0, atol=1e-7)


def test_shift_factors(tv, clean_latch):
    svar = np.zeros(510)
    svar[2] = 400.0  # Tg above T: without shift data both factors are 1
    _, sv, _ = prony(tv, prony_props(), E1, svar=svar)
    assert (sv[508], sv[509], sv[8]) == (0.0, 0.0, pytest.approx(4 / 3, rel=1e-15))
    master = np.full((12, 8, 1, 1), HUGE)
    master[:8, 7, 0, 0] = [17.4, 51.6, 1000.0, 10.0, 10.0, 40.0, 2000.0, 5.0]
    with shared(tv, materialdata__cuprops=master, sectiondata__secidlist=None):
        svar[2] = 350.0
        _, sv, _ = prony(tv, prony_props(), E1, temp=380.0, svar=svar)  # above T* = 360: WLF
        assert sv[508] == pytest.approx(-17.4 * 30 / (51.6 + 30), rel=1e-15)
        assert sv[509] == pytest.approx(-10.0 * 30 / 70.0, rel=1e-15)
        _, sv, _ = prony(tv, prony_props(), E1, temp=340.0, svar=svar)  # below T*
        assert sv[508] == pytest.approx(1000.0 * (1 / 340.0 - 1 / 360.0) - 17.4 * 10 / 61.6, rel=1e-14)
        assert sv[509] == pytest.approx(2000.0 * (1 / 340.0 - 1 / 355.0) - 10.0 * 5 / 45.0, rel=1e-14)
        assert sv[8] == pytest.approx(4.0 / (2.0 * 10 ** sv[508] + 1.0), rel=1e-14)
        # A C12 term (0.4, 2.0) relaxes with a1 too: C12·(1 - 0.4·dt/(2·a1 + dt)).
        _, sv, dd = prony(tv, prony_props((0, 1, 0, 0, 0)), E1, temp=340.0, svar=svar)
        assert dd[0, 1] == pytest.approx(400.0 * (1 - 0.4 / (2.0 * 10 ** sv[508] + 1.0)), rel=1e-14)
        assert dd[0, 1] == pytest.approx(240.695, abs=5e-4)
        master[4:8, 7, 0, 0] = HUGE  # one column of data: the second factor copies it
        tv.materialdata.cuprops = master
        _, sv, _ = prony(tv, prony_props(), E1, temp=340.0, svar=svar)
        assert sv[508] == sv[509]


def test_prony_refusals(tv, clean_latch, latched):
    edge = np.r_[492, 0, 0, 0, 0, C, [0.1, 1.0] * 492]  # histories up to slot 500 exactly
    assert prony(tv, edge, E1)[1][499] != 0.0 and latched()[0] == 0  # the last history, slot 500
    good = prony_props((1, 1, 0, 0, 0), [0.4, 2.0, 0.3, 1.0])
    cases = [(good, 510, 4), (good, 509, 6), (good[:-1], 510, 6),  # 4 components, short state, short props
             (prony_props((-1, 0, 0, 0, 0), []), 510, 6), (np.r_[493, 0, 0, 0, 0, C, [0.1, 1.0] * 493], 510, 6),
             (prony_props((100, 100, 0, 0, 0), [0.1, 1.0] * 200), 510, 6)]  # histories past slot 500
    for props, nsv, n in cases:
        tv.errorhandling.rsxerr(True)
        stress = np.ones(n)
        svar = np.ones(nsv)
        out = umat(tv.toplevel.umat_prony, stress, svar, props, np.full(n, 0.01))
        assert latched()[0] == -2 and np.array_equal(out[0], stress) and np.array_equal(out[1], svar)
        assert not out[2].any()
    assert tv.errorhandling.errintv.tolist() == [10 + 400, 200, 500]  # nprops, pairs, histories


def test_ansys_entry_reproduces_the_umat(tv, clean_latch):
    props = prony_props((1, 1, 1, 1, 1), [0.3, 0.5] * 5)
    e = np.array([0.01, 0.02, -0.01, 0.004, 0.003, 0.006])
    s, sv, dd = usermat(tv.toplevel.usermat_prony, np.ones(6), np.zeros(510), props, e, e / 2, temp=300.0)
    rs, rsv, rdd, *_ = umat(tv.toplevel.umat_prony, np.ones(6), np.zeros(510), props, e, stran=e / 2, temp=300.0,
                            time=(1.0, HUGE), name="ABQ_WRAPPER")
    np.testing.assert_array_equal(s, rs)
    np.testing.assert_array_equal(sv, rsv)
    np.testing.assert_array_equal(dd, rdd)
