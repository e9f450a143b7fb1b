"""umat_shokrieh: the first-increment state, a unidirectional ply as one call
of the fatigue law, a fabric as the mean of its ±angle layers, the element
layouts and the strain energy."""
import numpy as np
import pytest

from process_calls import HUGE, shared, umat, usermat

E = [140000.0, 9000.0, 9000.0, 4600.0, 4600.0, 3100.0, 0.3, 0.3, 0.45]


def property_set():
    p = np.zeros(74)
    p[0:9] = E
    p[9:18] = [2000.0, 50.0, 50.0, 1200.0, 200.0, 200.0, 80.0, 80.0, 60.0]
    p[18:36] = 1.5
    p[36:48] = 1.0
    p[48:60:2], p[49:60:2] = 1.0, -0.1
    p[73] = 293.0
    return p


def props(angle=0.0):
    return np.concatenate([property_set(), property_set(), [angle, 0.1]])


STRAN = np.array([1e-3, 5e-4, -2e-4, 8e-4, 3e-4, -4e-4])
STEP = np.array([2e-4, -1e-4, 1e-4, 3e-4, -2e-4, 1e-4])


def shokrieh(tv, state, angle=0.0, kinc=1, n=6, jstep=(1, 0, 0, 0), stress=None, **kw):
    stress = np.zeros(n) if stress is None else stress
    return umat(tv.toplevel.umat_shokrieh, stress, np.asarray(state, float), props(angle), STEP[:n], stran=STRAN[:n],
                kinc=kinc, jstep=jstep, **kw)


def layer(tv, stress, state, backup, angle, kinc, idc=0):
    """The fatigue law on a layer at angle (degrees): (stress, tangent, state, backup) in element axes."""
    t = tv.lamina.getnyetransformationmatrix(np.radians(angle), 6, 0, 1)
    s, c, st, bk = tv.fatigue.getshokrieh(stress, state, t @ STRAN, t @ STEP, props(angle), np.zeros(2), 1.0,
                                          293.15, 0.0, 1, np.array([1, 0, 0, 0], np.int32), kinc, 1, idc, backup)
    return t.T @ s, t.T @ c @ t, st, bk


def initialised():
    """The state of a fresh point after the first increment's initial values."""
    state = np.zeros(312)
    state[[1, 44, 78, 121]] = 1.0
    state[59:74] = state[136:151] = 1.0
    state[156:312] = state[0:156]
    return state


def test_first_increment_state(tv, clean_latch):
    sv = shokrieh(tv, np.zeros(312))[1]
    assert sv[[1, 78, 121]].tolist() == [1.0, 1.0, 1.0] and np.all(sv[136:151] == 1.0)
    assert sv[155] == 0.0 and sv[154] == HUGE and sv[0] == 0.0
    assert np.array_equal(sv[234:310], sv[78:154]) and sv[310] == 0.0  # layer 2's untouched backup
    assert not shokrieh(tv, np.zeros(312), kinc=2)[1][78:154].any()  # no initialisation after increment 1
    marked = np.full(312, 0.5)
    marked[-1] = HUGE
    assert shokrieh(tv, marked)[1][121] == 1.0 and shokrieh(tv, marked, kinc=2)[1][121] == 0.5
    direct = shokrieh(tv, np.zeros(312), jstep=(1, 6, 0, 0))[1]  # a direct cyclic step starts the cycles at 0
    assert direct[[78, 121]].tolist() == [0.0, 0.0] and direct[136] == 1.0


def test_unidirectional_ply_is_one_call_of_the_fatigue_law(tv, clean_latch):
    s, sv, dd, sse, *_ = shokrieh(tv, np.zeros(312))
    fresh = initialised()
    ls, lc, lst, lbk = layer(tv, np.zeros(6), fresh[1:78], fresh[157:234], 0.0, 1)
    np.testing.assert_array_equal(s, ls)
    np.testing.assert_array_equal(dd, lc)
    np.testing.assert_array_equal(sv[1:77], lst[:76])
    np.testing.assert_array_equal(sv[157:234], lbk)
    assert sse == pytest.approx(0.5 * s @ STEP, rel=1e-15)  # a linear step from rest
    # A direct cyclic step takes its cycle from the table and keeps the layer's backup.
    fatigue_step = np.array([[0.0, 1.0, 6.0, 1.0, 10.0, 5.0, 10.0, 1e4, 0.0, 1e6]]).T
    with shared(tv, shokriehdata__cycles=np.array([[1000.0]]), shokriehdata__cycleprops=fatigue_step,
                jobdata__nsteps=1):
        sv = shokrieh(tv, np.zeros(312), jstep=(1, 6, 0, 0))[1]
        fresh[[1, 44]] = 0.0
        _, _, lst, lbk = layer(tv, np.zeros(6), fresh[1:78], fresh[157:234], 0.0, 1, idc=1)
    assert sv[1] == 1000.0 and np.array_equal(sv[157:234], lbk) and np.array_equal(sv[1:77], lst[:76])


def test_fabric_is_the_mean_of_its_layers(tv, clean_latch, latched):
    state = np.zeros(312)
    for kinc in (1, 2):  # the second increment starts each layer from the stress its state kept
        s, sv, dd, *_ = shokrieh(tv, state, angle=30.0, kinc=kinc)
        if kinc == 1:
            state = initialised()
        s1, c1, st1, _ = layer(tv, state[53:59].copy(), state[1:78], state[157:234], 30.0, kinc)
        s2, c2, st2, _ = layer(tv, state[130:136].copy(), state[78:155], state[234:311], -30.0, kinc)
        np.testing.assert_allclose(s, 0.5 * (s1 + s2), rtol=1e-13, atol=1e-12)
        np.testing.assert_allclose(dd, 0.5 * (c1 + c2), rtol=1e-13, atol=1e-9)
        np.testing.assert_allclose(sv[1:77], st1[:76], rtol=1e-13, atol=1e-15)
        np.testing.assert_allclose(sv[78:154], st2[:76], rtol=1e-13, atol=1e-15)
        assert sv[0] == 30.0 and not np.array_equal(s1, s2)
        state = sv
    assert latched()[0] == 0


def test_element_layouts_and_refusals(tv, clean_latch, latched):
    s6 = shokrieh(tv, np.zeros(312))[0]
    zero13 = STRAN * [1, 1, 1, 1, 0, 0], STEP * [1, 1, 1, 1, 0, 0]
    s4 = umat(tv.toplevel.umat_shokrieh, np.zeros(4), np.zeros(312), props(), STEP[:4], stran=STRAN[:4], kinc=1)[0]
    s6z = umat(tv.toplevel.umat_shokrieh, np.zeros(6), np.zeros(312), props(), zero13[1], stran=zero13[0], kinc=1)[0]
    np.testing.assert_allclose(s4, s6z[:4], rtol=1e-15)
    assert not np.array_equal(s6z, s6)
    s3 = umat(tv.toplevel.umat_shokrieh, np.zeros(3), np.zeros(312), props(), STEP[[0, 1, 3]], stran=STRAN[[0, 1, 3]],
              kinc=1, ndi=2)[0]
    assert s3.shape == (3,) and s3[0] > 0.0 and latched()[0] == 0
    for state, p, n in ((np.zeros(311), props(), 6), (np.zeros(312), props()[:149], 6), (np.zeros(312), props(), 5)):
        tv.errorhandling.rsxerr(True)
        stress = np.ones(n)
        out = umat(tv.toplevel.umat_shokrieh, stress, state, p, np.full(n, 1e-3), kinc=1)
        assert latched()[0] == -2 and np.array_equal(out[0], stress) and not out[1].any() and not out[2].any()
    assert tv.errorhandling.errintv.tolist() == [5, 312, 150]


def test_ansys_entry_reproduces_the_umat(tv, clean_latch):
    s, sv, dd = usermat(tv.toplevel.usermat_shokrieh, np.zeros(6), np.zeros(312), props(30.0), STEP, STRAN, isubst=1,
                        time=0.0, temp=293.15)
    rs, rsv, rdd, *_ = umat(tv.toplevel.umat_shokrieh, np.zeros(6), np.zeros(312), props(30.0), STEP, stran=STRAN,
                            time=(0.0, HUGE), name="ABQ_WRAPPER", jstep=(1, 2147483647, 1, 0), kinc=1)
    np.testing.assert_array_equal(s, rs)
    np.testing.assert_array_equal(sv, rsv)
    np.testing.assert_array_equal(dd, rdd)


def test_debug_lines_of_the_debug_element(tv, clean_latch, capfd):
    labels = ["*" * 50, "*" * 50, " ---------------- START TopLevel  ----------------", "JSTEP(2) 6",
              "THIS IS AN DC ANALYSIS", "STATEV(NALLSTATV) 0", "SET INITIAL VALUES", "Solid elements",
              " -- Element No.  7", " -- Section Point  1", " -- LAYER 1", " -- Time  0.5\n", " -- Time + dtime 1.5\n",
              " -- StepTime + dtime 1.25\n", " -- Increment  1", " -- Old strain ", " -- dstran ", " -- New strain ",
              " -- Stress ", " -- INPUT DDSDDE ", "Rewritten strains ", "Rewritten strain increments ",
              "Rewritten stresses ", "Angle 30", "SDV 78", "SDV 155", " -- Tangent stiffness output ",
              " -- Stress output "]
    with shared(tv, debugdata__edebug=7):
        shokrieh(tv, np.zeros(312), angle=30.0, noel=8)
        assert capfd.readouterr().out == ""
        shokrieh(tv, np.zeros(312), angle=30.0, noel=7, jstep=(1, 6, 0, 0), time=(0.25, 0.5))
        out = capfd.readouterr().out
    at = 0
    for label in labels:
        at = out.index(label, at) + len(label)
