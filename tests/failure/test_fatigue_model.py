"""The progressive ply fatigue law getshokrieh: cycle bookkeeping, failure
flags, the peak/bottom records and the step settings that make a fatigue step."""
import numpy as np
import pytest

HUGE = np.finfo(float).max
E = [140000.0, 9000.0, 9000.0, 4600.0, 4600.0, 3100.0, 0.3, 0.3, 0.45]
XT, XC, S = [2000.0, 50.0, 50.0], [1200.0, 200.0, 200.0], [80.0, 80.0, 60.0]


def property_set():
    p = np.zeros(74)
    p[0:9] = E
    p[9:12], p[12:15], p[15:18] = XT, XC, S
    p[18:27] = 1.3  # alpha
    p[27:36] = 2.1  # beta
    p[36:42], p[42:48] = 1.4, 0.9  # lambda, gamma
    p[48:60:2], p[49:60:2] = 1.0, -0.1  # life curve a, b
    p[73] = 293.0
    return p


PROPS = np.concatenate([property_set(), property_set(), [0.0, 0.1]])


def fresh_state():
    s = np.zeros(77)
    s[3] = -1.0
    s[25:31] = s[37:43] = HUGE
    s[43] = 1.0
    s[58:73] = 1.0
    s[73:76] = 293.0
    return s


@pytest.fixture
def fatigue(tv):
    """A fatigue module with step 1's cycle settings: cycle period 1, table starting at cycle 1000."""
    def settings(algorithm=6, period=1.0, flag=1.0, lim=None, counting=10.0, nmax=5.0):
        col = [0.0, flag, algorithm, period, counting, nmax, 10.0, 1e4, 0.0, 1e6] + ([] if lim is None else [lim])
        tv.shokriehdata.cycleprops = np.array(col).reshape(-1, 1, order="F")
    tv.shokriehdata.cycles = np.array([[1000.0, 5000.0]], order="F").T
    tv.jobdata.nsteps = 1
    settings()
    yield tv.fatigue, settings
    tv.shokriehdata.cycleprops = None
    tv.shokriehdata.cycles = None
    tv.shokriehdata.dnfshok = 0.0
    tv.jobdata.nsteps = 0


def call(fa, strain, statev, backup, time=(0.25, 0.25), dtime=0.25, kinc=2, idc=0, step=1, temp=(293.0, 0.0)):
    return fa.getshokrieh(np.zeros(6), statev, np.asarray(strain, float), np.zeros(6), PROPS, np.asarray(time, float),
                          dtime, temp[0], temp[1], -1, np.array([step, 0, 0, 0]), kinc, 1, idc, backup)


def one_cycle(fa, s=None, temps=((293.0, 0.0),) * 3):
    """First increment, peak at half a period, bottom at the period's end: the final (stress, ddsdde, statev)."""
    s, b = fresh_state() if s is None else s, np.zeros(77)
    _, _, s, b = call(fa, [1e-3, 1e-3, 0, 0, 0, 0], s, b, kinc=1, idc=1, time=(0.0, 0.0), temp=temps[0])
    _, _, s, b = call(fa, [4e-3, 2e-3, 0, 0, 0, 0], s, b, time=(0.25, 0.25), temp=temps[1])
    stress, ddsdde, s, b = call(fa, [4e-4, 2e-4, 0, 0, 0, 0], s, b, time=(1.0, 1.0), dtime=0.0, temp=temps[2])
    return stress, ddsdde, s


def test_repeated_first_increment_restores_backup(fatigue, latched):
    fa, _ = fatigue
    strain = [1e-3, 1e-3, 0, 0, 0, 0]
    stress, _, s1, b1 = call(fa, strain, fresh_state(), np.zeros(77), kinc=1, idc=1)
    assert s1[0] == 1000.0 and s1[43] == 1000.0  # cycle set from the table, jump from 0
    assert b1[0] == 1000.0 and b1[1] == 0.0  # backup taken before the increment's update
    assert stress[0] == pytest.approx(E[0] * 1e-3 / (1 - 0.3**2 * 9000 / 140000), rel=0.1)
    # The same first increment again: whatever the state now holds, the backup comes back.
    spoiled = s1.copy()
    spoiled[1:73] = 0.5
    stress2, _, s2, b2 = call(fa, strain, spoiled, b1, kinc=1, idc=1)
    np.testing.assert_array_equal(s2, s1)
    np.testing.assert_array_equal(b2, b1)
    np.testing.assert_array_equal(stress2, stress)
    assert latched()[0] == 0


def test_stiffness_fractions_scale_the_moduli(fatigue, latched):
    # Residual stiffness fractions below 1 (state 59-64): the moduli, and the
    # tangent's shear entries, are the undamaged ones times the fractions.
    fa, _ = fatigue
    s = fresh_state()
    s[58:64] = [0.5, 0.8, 0.8, 0.6, 0.6, 0.7]
    _, ddsdde, s, _ = call(fa, [1e-4, 1e-4, 0, 0, 0, 0], s, np.zeros(77))
    np.testing.assert_allclose(s[13:19], [70000.0, 7200.0, 7200.0, 2760.0, 2760.0, 2170.0], rtol=1e-15)
    np.testing.assert_allclose(np.diag(ddsdde)[3:], [2760.0, 2760.0, 2170.0], rtol=1e-14)
    assert latched()[0] == 0


def test_failure_flags_latch(fatigue, latched):
    fa, _ = fatigue
    s = fresh_state()
    strain = np.array([0, 0.02, 0, 0, 0, 0])  # transverse tension far past Xt22
    stress, ddsdde, s, b = call(fa, strain, s, np.zeros(77))
    np.testing.assert_allclose(stress, ddsdde @ strain, rtol=1e-14)  # the stress of the discounted stiffness
    assert ddsdde[1, 1] == pytest.approx(0.1 * 9000.0, rel=0.1)
    assert s[2] == 1.0 and s[45] == 1.0 and s[44] == 0.0
    assert s[59] == pytest.approx(0.1) and s[58] == 1.0  # matrix modulus discounted, fibre intact
    _, _, s, b = call(fa, [0.03, 0, 0, 0, 0, 0], s, b)
    assert s[1] == 1.0 and s[44] == 1.0 and s[58] == pytest.approx(0.1)
    for _ in range(2):  # unloaded: indices never fall within the cycle, flags never reset
        _, _, s, b = call(fa, np.zeros(6), s, b)
        assert s[1] == s[2] == s[44] == s[45] == 1.0
    assert latched()[0] == 0


@pytest.mark.parametrize("case", ["no settings", "flag 0", "period 0", "other step"])
def test_outside_fatigue_step(fatigue, tv, case):
    fa, settings = fatigue
    step = 1
    if case == "no settings":
        tv.shokriehdata.cycleprops = None
    elif case == "flag 0":
        settings(flag=0.0)
    elif case == "period 0":
        settings(period=0.0)
    else:
        step = 2
    s, b = fresh_state(), np.zeros(77)
    # At a cycle bottom of a fatigue step (t = 1 period) nothing cyclic happens here.
    for eps, t in ((2e-4, 0.5), (4e-4, 0.75), (1e-4, 1.0)):
        stress, ddsdde, s, b = call(fa, [0, eps, 0, 0, 0, 0], s, b, time=(t - 0.25, t - 0.25), step=step)
    assert s[20] == pytest.approx(stress[1] * 4 / XT[1], rel=1e-12)  # largest tension ratio of 22 grew
    assert s[26] == pytest.approx(stress[1] / XT[1], rel=1e-12)  # smallest one the last
    assert s[32] == pytest.approx(stress[1] * 4 / XC[1], rel=1e-12)
    assert s[38] == pytest.approx(stress[1] / XC[1], rel=1e-12)
    np.testing.assert_array_equal(s[22:25], 0.0)  # no shear
    np.testing.assert_array_equal(s[58:73], 1.0)  # no gradual degradation, no life consumed
    np.testing.assert_array_equal(s[46:52], 0.0)
    np.testing.assert_allclose(s[13:19], E[:6], rtol=1e-15)  # state written back
    np.testing.assert_allclose(s[4:13], np.array([XT[0], -XC[0], XT[1], -XC[1], XT[2], -XC[2], *S]), rtol=1e-15)
    np.testing.assert_allclose(s[52:58], stress, rtol=1e-15)
    assert s[76] == 0.0 and s[0] == 0.0


@pytest.mark.parametrize("algorithm", [6, 7])
def test_algorithms_6_and_7_latch_nothing(fatigue, tv, latched, algorithm):
    fa, settings = fatigue
    settings(algorithm=algorithm)
    tv.shokriehdata.dnfshok = 12.3
    s, b = fresh_state(), np.zeros(77)
    _, _, s, b = call(fa, [1e-3, 1e-3, 0, 0, 0, 0], s, b, kinc=1, idc=1, time=(0.0, 0.0))
    n0 = s[0]
    # Peak at half a period, bottom at a full one.
    _, _, s, b = call(fa, [4e-3, 2e-3, 0, 0, 0, 0], s, b, time=(0.25, 0.25))
    assert s[19] > 0.1 and s[47] == 0.0
    stress, ddsdde, s, b = call(fa, [4e-4, 2e-4, 0, 0, 0, 0], s, b, time=(1.0, 1.0), dtime=0.0)
    assert latched()[0] == 0
    assert np.all(np.isfinite(stress)) and np.all(np.isfinite(ddsdde))
    assert s[47] > 0.0 and s[59] < 1.0  # life consumed and stiffness lost at the cycle bottom
    np.testing.assert_array_equal(s[19:25], 0.0)  # records restart after the bottom
    np.testing.assert_array_equal(s[25:31], HUGE)
    if algorithm == 7:
        assert s[43] == 13.0 and s[0] == n0 + 13.0
    else:
        assert s[0] == n0 and 1.0 <= s[43] <= 4000.0  # bounded by the next table cycle
    settings(algorithm=9)  # an unknown algorithm reaches CycleCount's report and jumps nothing
    _, _, s, b = call(fa, [4e-4, 2e-4, 0, 0, 0, 0], s, b, time=(2.0, 2.0), dtime=0.0)
    assert latched()[0] == -2 and s[43] == 0.0
    tv.errorhandling.rsxerr(True)
    settings(algorithm=2.0**32 + 1)  # no wrap-around to algorithm 1 in the integer conversion
    _, _, s, b = call(fa, [4e-4, 2e-4, 0, 0, 0, 0], s, b, time=(3.0, 3.0), dtime=0.0)
    assert latched()[0] == -2 and s[43] == 0.0


# Table jumps (algorithm 3) at the first cycle bottom, t = 1: table row k = ⌊t/period⌋ + 1 = 2.  The step
# counts round(counting time / period) cycles; the largest cycle number nmax plays no part.
@pytest.mark.parametrize("counting, nmax, jump", [
    (2.0, 1.0, 4000.0),  # 2 cycles reach row 2: 5000 − 1000
    (1.0, 2.0, 0.0),  # 1 cycle: the step's last counted row, 1000 − 1000
])
def test_table_jump_counts_the_cycles_of_the_counting_time(fatigue, counting, nmax, jump):
    fa, settings = fatigue
    settings(algorithm=3, counting=counting, nmax=nmax)
    assert one_cycle(fa)[2][43] == jump


def test_cycle_temperatures_and_strength_step(fatigue):
    fa, settings = fatigue
    # The range restarts at the first increment (at temp) and takes in temp + dtemp.
    *_, s = one_cycle(fa, temps=((300.0, 10.0), (290.0, 30.0), (300.0, 0.0)))
    assert s[75] == 310.0 and s[73] == s[74] == 300.0  # mean of 300..320; range restarted after the bottom
    settings(algorithm=4)
    life = one_cycle(fa)[2][76]
    settings(algorithm=4, lim=0.1)
    assert one_cycle(fa)[2][76] == life  # the default strength step
    settings(algorithm=4, lim=0.01)  # a finer strength step: fewer cycles to it
    assert one_cycle(fa)[2][76] < 0.1 * life
    settings(algorithm=1, lim=0.01)  # only algorithm 4 reads row 11
    assert one_cycle(fa)[2][76] == life


def test_debug_lines(fatigue, tv, capfd):
    fa, _ = fatigue
    tv.debugdata.edebug = -1
    try:
        one_cycle(fa)
    finally:
        tv.debugdata.edebug = 0
    out = capfd.readouterr().out
    for label in (" ---------------- START Shokrieh  ----------------", "Cycle number from msg-file", " set new cycle number",
                  "Bottom of cycle?", "Apply degradation within cycle", "Update State variables", "New tangent matrix "):
        assert label in out, label


def test_bad_input(fatigue, error, latched):
    fa, _ = fatigue
    with pytest.raises(error):
        fa.getshokrieh(np.zeros(6), np.zeros(76), np.zeros(6), np.zeros(6), PROPS, np.zeros(2), 0.1, 293.0, 0.0, 1,
                       np.ones(4, dtype=np.int32), 1, 1, 0, np.zeros(77))
    stress, ddsdde, s, _ = fa.getshokrieh(np.ones(6), fresh_state(), np.ones(6), np.zeros(6), PROPS[:149], np.zeros(2),
                                          0.1, 293.0, 0.0, 1, np.ones(4, dtype=np.int32), 1, 1, 0, np.zeros(77))
    assert latched()[0] == -2 and np.all(stress == 1.0) and np.all(ddsdde == 0.0)
