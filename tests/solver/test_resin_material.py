"""umat_resin: the fresh point, the component layouts, the laws and their
tangents, the criteria chosen by the name, degradation after failure, and the
load periods, fatigue life and cycle jumps of fatigue steps."""
import numpy as np
import pytest

from process_calls import HUGE, shared, umat, usermat

# Two equal temperature blocks: E, ν, νm, Xt, np, γ, Xc/Xt, Woehler factor and exponent, T.
BLOCK = [3000.0, 0.35, 0.01, 80.0, 2.0, 0.1, 1.5, 100.0, -0.1]
PROPS = np.array(BLOCK + [273.15] + BLOCK + [373.15] + [0.5])
# Plastic blocks: Et, Ec, G, νt, νc, α, Xt, Xc, np, Woehler factor and exponent, T.
PLASTIC = [2000.0, 2400.0, 800.0, 0.3, 0.4, 1.0, 80.0, 120.0, 2.0, 100.0, -0.1]
PLASTIC_PROPS = np.array(PLASTIC + [273.15] + PLASTIC + [373.15] + [0.5])
STRAIN = np.array([2e-3, -5e-4, 1e-3, 1.5e-3, -8e-4, 6e-4])
STEP = [4e-4, 1e-4, -2e-4, 3e-4, 2e-4, -1e-4]


def name(criterion="", fatigue=False):
    return ("RESIN".ljust(9) + criterion).ljust(28) + ("_FATIGUE" if fatigue else "")


def resin(tv, dstran, state=None, n=6, props=PROPS, **kw):
    stress = np.zeros(n)
    state = np.zeros(22) if state is None else np.asarray(state, float)
    statev, tangent, *_ = umat(tv.toplevel.umat_resin, stress, state, props, dstran, **kw)
    return stress, statev, tangent


@pytest.fixture
def model(tv, clean_latch):
    """Sets materialdata.modelid (and nothing else) for the test."""
    def use(m):
        tv.materialdata.modelid = m
    with shared(tv, materialdata__modelid=1, materialdata__regularization=None, debugdata__edebug=0):
        yield use


def test_fresh_point_layouts_and_energy(tv, model, latched, capfd):
    s, sv, c = resin(tv, STEP, kinc=1)
    assert capfd.readouterr().out == ""
    tv.debugdata.edebug = 1  # the report of the debug element changes nothing
    np.testing.assert_array_equal(resin(tv, STEP, kinc=1)[1], sv)
    report = [line.split() for line in capfd.readouterr().out.splitlines()[:10]]
    assert [len(r) for r in report] == [3, 2, 2, 7, 8, 10, 10, 13, 4, 3]  # label words and values
    assert report[0][2] == "1" and [float(x) for x in report[4][2:]] == STEP
    assert sv[0] == sv[19] == 1.0 and sv[15] == 80.0
    assert sv[7] == sv[18] == sv[21] / 80.0  # the extremes started at ∓huge
    # Started from a zero received tangent: half the work of the new tangent over the step.
    assert sv[9] == pytest.approx(0.5 * np.dot(STEP, c @ STEP), rel=1e-14)
    marked = np.zeros(23)
    marked[-1] = HUGE  # the uninitialised marker counts as zero on the first increment
    assert resin(tv, STEP, marked, kinc=1)[1][[0, 19, 22]].tolist() == [1.0, 1.0, 0.0]
    _, later, _ = resin(tv, STEP, kinc=2)  # no initialisation after the first increment
    assert later[0] == later[19] == 0.0 and later[7] == max(0.0, later[21] / 80.0)
    # Four components: the leading block of the six-component answer.
    s4, sv4, c4 = resin(tv, STEP[:4], n=4, kinc=1, stran=STRAIN[:4])
    s6, sv6, c6 = resin(tv, STEP[:4] + [0.0, 0.0], kinc=1, stran=np.r_[STRAIN[:4], 0.0, 0.0])
    np.testing.assert_array_equal(s4, s6[:4])
    np.testing.assert_array_equal(c4, c6[:4, :4])
    np.testing.assert_array_equal(sv4, sv6)
    assert latched()[0] == 0


@pytest.mark.parametrize("m", [1, 2, 3])
def test_viscoelastic_tangent_is_the_derivative_at_the_end_strain(tv, model, m):
    model(m)
    s, _, c = resin(tv, STEP, stran=STRAIN)
    h = 1e-7
    fd = np.empty((6, 6))
    for j in range(6):
        dp, dm = np.array(STEP), np.array(STEP)
        dp[j] += h
        dm[j] -= h
        fd[:, j] = (resin(tv, dp, stran=STRAIN)[0] - resin(tv, dm, stran=STRAIN)[0]) / (2 * h)
    np.testing.assert_allclose(c, fd, rtol=0, atol=1e-5 * np.abs(fd).max())
    law = tv.elasticity.getstressfromisotropicviscoelasticity(STRAIN + STEP, [3000.0, 0.1, 0.35, 0.01, m], 3)
    np.testing.assert_allclose(s, law, rtol=1e-14)


def test_secant_modulus_table_and_orthotropic_resin(tv, model, latched):
    secant = np.zeros((1, 2, 2))
    secant[0, :, 0], secant[0, :, 1] = [0.0, 1.0], [2000.0, 2000.0]
    with shared(tv, materialdata__secantprops=secant, materialdata__nsecantdata=2,
                materialdata__temperatures=np.array([293.15])):
        model(0)
        for eps, nu in ((1e-3, 0.3), (-1e-3, 0.4)):  # Poisson's ratio of the strain's sign
            s, sv, _ = resin(tv, [eps, 0, 0, 0, 0, 0], props=PLASTIC_PROPS)
            assert s[0] == pytest.approx(2000.0 * (1 - nu) / ((1 + nu) * (1 - 2 * nu)) * eps, rel=1e-13)
            assert (sv[3], sv[4]) == (2000.0, 0.0)
    model(7)
    s, sv, c = resin(tv, STEP, stran=STRAIN)
    np.testing.assert_allclose(s, c @ (STRAIN + STEP), rtol=1e-13)  # secant: the tangent is the stiffness
    assert sv[3] == pytest.approx(3000.0, rel=1e-12) and sv[16] == pytest.approx(1.0, rel=1e-12)
    with shared(tv, materialdata__regularization=np.array([0.3])):
        assert resin(tv, STEP, stran=STRAIN)[1][16] == 0.3
    # Shear softening, strongest in 23: the degradation factor is the smallest stiffness ratio.
    table = np.zeros((1, 2, 2))
    table[0, :, 0] = [0.0, 1.0]
    soft = table.copy()
    soft[0, :, 1] = 100.0
    with shared(tv, materialdata__normalprops=table, materialdata__nnormaldata=2, materialdata__shearprops=soft,
                materialdata__nsheardata=2, materialdata__temperatures=np.array([293.15])):
        _, sv, c = resin(tv, [0, 0, 0, 1e-3, 2e-3, 8e-3])
        assert c[5, 5] < c[4, 4] < c[3, 3] and sv[16] == pytest.approx(c[5, 5] / (3000.0 / 2.7), rel=1e-12)


def test_criteria_by_name_tag(tv, model):
    big = [0.05, 0, 0, 0, 0, 0]
    s, sv, _ = resin(tv, STEP, name=name("_GPHA"))
    d, di1, dmises, *_ = tv.gpcollection.gpha(s, 80.0, 120.0, 2.0)
    assert (sv[2], sv[1], sv[6], sv[17]) == (d, di1, dmises, 0.0)
    # The strain form reads the tensor strain (shears halved); slot 18 takes its life value.
    strain = np.array([0.05, 0, 0, 0.04, 0, 0])
    s, sv, _ = resin(tv, strain, name=name("_GPHASTRAIN"))
    assert sv[2] == tv.gpcollection.gpha(strain * [1, 1, 1, 0.5, 0.5, 0.5], 80.0, 120.0, 2.0)[0] > 0.0
    assert sv[17] == 0.0
    assert resin(tv, 4e3 * strain, name=name("_GPHASTRAIN"))[1][[2, 17]].tolist() == [1.0, 1.0]
    s, sv, _ = resin(tv, STEP, name=name("_GPDP"))
    d, di1 = np.array(0.0), np.array(0.0)
    tv.gpcollection.gpdruckerprager(s, 80.0, 120.0, d, di1)
    assert (sv[2], sv[1], sv[6]) == (d, di1, 0.0) and di1 != 0.0
    s, sv, _ = resin(tv, STEP, name=name("_GPRA"))
    assert sv[2] == tv.gpcollection.gpraghava(s, 80.0, 120.0, 0.0) > 0.0
    assert resin(tv, STEP, name=name("_GPBA"))[1][2] > 0.0
    assert resin(tv, big, name="RESIN _GPHA")[1][[1, 2, 6, 17]].tolist() == [0.0] * 4  # tag in other columns


def test_failure_degrades_and_recomputes_the_stress(tv, model):
    big = [0.05, 0.01, 0, 0, 0, 0]
    s, sv, _ = resin(tv, big, name=name("_GPHA"))
    assert sv[17] == 1.0 and (sv[3], sv[4]) == (1500.0, 0.0)  # E × degr, γ 0 (degr < 1)
    law = tv.elasticity.getstressfromisotropicviscoelasticity(np.array(big), [1500.0, 0.0, 0.35, 0.01, 1], 3)
    np.testing.assert_allclose(s, law, rtol=1e-14)
    # Orthotropic resin: the regularised sudden discount (no viscosity: degr at once) of the isotropic resin.
    model(7)
    s, sv, c = resin(tv, big, name=name("_GPHA"))
    assert sv[17] == 1.0 and (sv[3], sv[4], sv[16]) == (1500.0, 1500.0, 0.5)
    np.testing.assert_allclose(s, c @ big, rtol=1e-6)  # the numerical tangent of the linear law
    assert c[3, 3] == pytest.approx(0.5 * 3000.0 / 2.7, rel=1e-6)  # G12 discounted like the isotropic G
    with shared(tv, materialdata__regularization=np.array([0.0, 1.0])):  # viscosity 1: a quarter now
        s, sv, c = resin(tv, big, name=name("_GPHA"))
        assert (sv[3], sv[16]) == (pytest.approx(2250.0, rel=1e-12), pytest.approx(0.75, rel=1e-12))
    # Failed before: the discount by slot 17 already before the criterion.
    state = np.zeros(22)
    state[[16, 17]] = 0.25, 1.0
    assert resin(tv, STEP, state)[1][3] == 750.0
    model(1)  # an effort of 1 kept in slot 3 discounts without a criterion
    state = np.zeros(22)
    state[2] = 1.0
    assert resin(tv, STEP, state)[1][[2, 3, 4]].tolist() == [1.0, 1500.0, 0.0]


def test_plastic_history_kept_in_slot_14(tv, model, latched):
    flow = np.zeros((1, 2, 3))
    flow[0, :, 0], flow[0, :, 1], flow[0, :, 2] = [0.0, 1.0], [100.0, 100.0], [10.0, 10.0]
    with shared(tv, materialdata__flowprops=flow, materialdata__nflowdata=2,
                materialdata__temperatures=np.array([293.15])):
        model(4)
        state = np.zeros(22)
        state[13] = 0.01
        _, sv, _ = resin(tv, [0.02, 0, 0, 0, 0, 0], state, props=PLASTIC_PROPS)
        assert sv[13] > 0.01 and sv[12] == 0.0  # the plastic strain grows from its own slot; 13 stays Nf
        start = np.array([5.0, 1.0, 0.0, 0.5, 0.0, 0.0])
        stress = start.copy()  # updated in place
        umat(tv.toplevel.umat_resin, stress, np.zeros(22), PLASTIC_PROPS, np.zeros(6))
        np.testing.assert_array_equal(stress, start)  # elastic from the incoming stress
        assert latched()[0] == 0


@pytest.fixture
def fatigue(tv, model):
    """Step 1 a fatigue step of period 1 with jump algorithm `algo` (1: fixed jump of 10)."""
    def settings(algo=1, period=1.0, flag=1.0):
        column = [0.0, flag, algo, period, 10.0, 50.0, 10.0, 100.0, 7.0, 1e6]
        tv.shokriehdata.cycleprops = np.array(column).reshape(-1, 1)
    with shared(tv, shokriehdata__cycleprops=None, shokriehdata__cycles=None, shokriehdata__dnf=99.0,
                materialdata__r_crit=np.array([-1.0]), jobdata__nsteps=1):
        settings()
        yield settings


def run_times(tv, times, state=None, dstran=STEP, before=0.0, **kw):
    """Calls at step times `times` (total time `before` more); dstran one strain, or one per call."""
    state = np.zeros(22) if state is None else state
    strains = np.broadcast_to(np.asarray(dstran, float), (len(times), 6))
    seen = []
    for t, e in zip(times, strains):
        _, state, _ = resin(tv, e, state, time=(t, t + before), kinc=1 if t == times[0] else 2, **kw)
        seen.append(state.copy())
    return seen


def test_load_periods_life_and_fixed_jumps(tv, fatigue, latched):
    seen = run_times(tv, [0.5, 1.0, 1.5, 2.0, 3.3])
    assert [s[19] for s in seen] == [1.0, 2.0, 2.0, 3.0, 4.0]  # ends at 1.0, 2.0 and past 3.0
    assert [s[0] for s in seen] == [1.0, 11.0, 11.0, 21.0, 31.0]
    end = seen[1]
    assert (end[7], end[18], end[8]) == (-HUGE, HUGE, 10.0)
    # A period between two load levels: the life of its equivalent stress cycle.
    first, end = run_times(tv, [0.5, 1.0], dstran=[np.array(STEP) * 4, STEP])
    eq = sorted([first[21] / 80.0, end[21] / 80.0])
    nf, life = tv.fatigue.getfatiguelife(eq[0], eq[1], 100.0, -0.1, 0.01, 1.0, 1, 0.0, 0.0)
    assert (end[12], end[5]) == (nf, life) and life > 0.0
    assert end[11] == pytest.approx(1000 * (1 - life), rel=1e-14)
    assert latched()[0] == 0
    # Life 0.25 (no cycle damage at zero stress) and an exhausted life.
    state = np.zeros(22)
    state[[0, 5, 19]] = [1.0, 0.25, 1.0]
    assert run_times(tv, [1.0], state.copy(), dstran=np.zeros(6))[0][11] == 750.0
    state[5] = 1.0
    last = run_times(tv, [1.0], state.copy(), dstran=np.zeros(6))[0]
    assert (last[17], last[11]) == (1.0, HUGE)
    tv.materialdata.modelid = 7  # the sudden discount waits for the failure flag of the next call
    last = run_times(tv, [1.0], state, dstran=np.zeros(6))[0]
    assert last[17] == 1.0 and last[3] == last[4] == pytest.approx(3000.0, rel=1e-12)


def test_global_jump_algorithm_and_the_fatigue_tag(tv, fatigue):
    fatigue(algo=4)
    seen = run_times(tv, [0.5, 1.0, 1.5, 2.0])
    assert [s[20] for s in seen] == [1.0, 1.0, 2.0, 2.0]
    assert [(s[0], s[8]) for s in seen] == [(1.0, 0.0)] * 2 + [(101.0, 100.0)] * 2  # once t > T, jump dnf + 1
    # Table jumps: the step's rows are counted in periods of the step (here 2, so 10 / 2 = 5 rows).
    fatigue(algo=3, period=2.0)
    tv.shokriehdata.cycles = np.arange(100.0, 900.0, 100.0).reshape(-1, 1)
    state = np.zeros(22)
    state[[0, 8, 19]] = 1.0, 1.0, 6.0
    assert run_times(tv, [12.0], state, before=100.0)[0][0] == 600.0  # past the counted rows: the last one
    fatigue(algo=5)
    assert [(s[0], s[8], s[19]) for s in run_times(tv, [0.5, 1.0])] == [(1.0, 0.0, 1.0), (1.0, 0.0, 2.0)]
    # Not a fatigue step: only the name tag counts cycles, and outside a fatigue step n stays 1.
    fatigue(flag=0.0)
    assert run_times(tv, [1.0])[0][19] == 1.0
    assert [s[0] for s in run_times(tv, [1.0, 2.0], name=name(fatigue=True))] == [1.0, 1.0]


def test_refusals_and_defensive_tables(tv, fatigue, latched, capfd):
    tv.materialdata.modelid = 9
    s, sv, c = resin(tv, STEP)
    assert latched()[0] == -2 and not s.any() and not sv.any() and not c.any()
    tv.errorhandling.rsxerr(True)
    tv.materialdata.modelid = 1
    s, sv, _ = resin(tv, STEP, np.zeros(21), kinc=1, name=name("_GPHA"))
    assert capfd.readouterr().out.startswith(" WARNING: Too less nstatev allocated for material RESIN    _GPHA")
    assert latched()[0] == -2 and not s.any() and not sv.any()
    resin(tv, STEP, np.zeros(21), kinc=2)
    assert capfd.readouterr().out == ""  # the warning only on the first increment
    for short in ([], [5]):  # a period below 0.0005, no counting; a step beyond the table
        tv.errorhandling.rsxerr(True)
        fatigue(period=0.0001) if not short else fatigue()
        seen = run_times(tv, [1.0], jstep=(1 + len(short), 0, 0, 0))
        assert seen[0][19] == 1.0 and latched()[0] == (-2 if not short else 0)
        if not short:
            assert tv.errorhandling.errrealv.tolist() == [0.0001]
    tv.errorhandling.rsxerr(True)
    fatigue()
    tv.materialdata.r_crit = None  # no life update, the period still ends
    end = run_times(tv, [0.5, 1.0])[1]
    assert latched()[0] == -2 and (end[19], end[5], end[12]) == (2.0, 0.0, 0.0)
    tv.errorhandling.rsxerr(True)
    tv.materialdata.r_crit = np.array([-1.0])
    tv.materialdata.modelid = 4  # model 4 through a period end: Nf in 13, its plastic strain in 14
    end = run_times(tv, [0.5, 1.0], dstran=[0.02, 0, 0, 0, 0, 0], props=PLASTIC_PROPS)[1]
    assert end[12] > 0.0 and end[13] > 0.0 and end[12] != end[13]


def test_ansys_entry_reproduces_the_umat(tv, model):
    state = np.zeros(22)
    s, sv, c = usermat(tv.toplevel.usermat_resin, np.zeros(6), state, PROPS, STEP, STRAIN)
    rs, rsv, rc = resin(tv, STEP, state, stran=STRAIN, time=(1.0, HUGE), name="ABQ_WRAPPER",
                        jstep=(1, 2147483647, 1, 0))
    np.testing.assert_array_equal(s, rs)
    np.testing.assert_array_equal(sv, rsv)
    np.testing.assert_array_equal(c, rc)
