"""Degradation schemes from Python: results in library order, in-place
scalars of the fracture-plane and fatigue schemes, the defaults of the
optional arguments, and bad input."""
import numpy as np
import pytest

PROPS = [140e3, 10e3, 9e3, 3.5e3, 5e3, 5.5e3, 0.45, 0.3, 0.28]


def scalar(x):
    return np.array(x, dtype=np.float64)


def test_stiffness_schemes(tv):
    dg = tv.degradation
    c = dg.matzenmillerdegradation(PROPS, [0.3, 0.5, 0.2], 0.1, 0.4, 0.7)
    assert c.shape == (6, 6) and c.flags.f_contiguous
    assert c[3, 3] == pytest.approx(2 * 0.9 * 3.5e3) and c[5, 5] == pytest.approx(2 * 0.3 * 5.5e3)
    cd = dg.tensordegradation(c, 0.0, 0.5, 1, 0)
    assert cd[0, 0] == pytest.approx(0.5 * c[0, 0], rel=1e-12) and cd[1, 1] == pytest.approx(c[1, 1], rel=1e-12)
    w, c_deg = dg.degradationfrommodes(True)  # defaults: no damage, unit moduli
    assert not w.any() and c_deg[3, 3] == 2.0
    d = dg.falcomdegradation([0, 0, 0, 0, 0, 0, 1, 0, 0, 0], 1.0, 5, True)
    assert (d == 1e-20).all()
    assert dg.falcomdegradation(np.zeros(10), 1.0, 5, False).tolist() == [1.0] * 9
    d = dg.getnyedegradationmatrix(np.arange(2.0, 11.0), 3)
    assert d.shape == (3, 3) and d[2, 2] == 5.0
    assert dg.getaccumulateddamage(np.ones((3, 2)), 0.0) == 1.0


def test_fracture_plane_schemes_update_in_place(tv):
    dg = tv.degradation
    state = [scalar(0.0) for _ in range(5)]  # epsi, epsu, sigi, gmix, w_matrixmode
    dsix = dg.falzondegradationparameters([10, 60, 0, 20, 0, 0], [0.001, 0.006, 0, 0.004, 0, 0], 0.0, np.ones(6),
                                          *state, [0.2, 0.8, 0.6, 0.6], [1.0, 1.0, 1.0])
    assert float(state[0]) == pytest.approx(np.hypot(0.006, 0.004)) and float(state[3]) == pytest.approx(0.24)
    assert dsix == pytest.approx(np.ones(6))
    with pytest.raises(Exception):
        dg.falzondegradationparameters([10, 60, 0, 20, 0, 0], np.zeros(6), 0.0, np.ones(6), 0.0, *state[1:],
                                       [0.2, 0.8, 0.6, 0.6], [1.0, 1.0, 1.0])
    d, sdv = dg.bogenfelddegradation(-np.ones(4), [0, 60, 0, 0, 0, 20], [0, 0.006, 0, 0, 0, 0.004], [1, 1, 1],
                                     [0.0, 0.2, 0.8, 0.6, 0.6], 3)
    assert d == pytest.approx(0.0, abs=1e-14) and sdv[1] == pytest.approx(np.hypot(60, 20))


def test_gradual_degradation_in_place(tv):
    dg = tv.degradation
    args = dict(speak_t=scalar(0.4), sbottom_t=scalar(0.04), speak_c=scalar(0.0), sbottom_c=scalar(-0.05))
    nm, de, df_t, df_c, cjump = (scalar(x) for x in (0.0, 1.0, 1.0, 1.0, 0.0))
    a = 0.18 * 2.5e5 ** 0.1
    dg.gradualdegradation(*args.values(), 1.5, a, -0.1, 0.0, 0.0, nm, 0.0, 1234.0, 1.3, 2.1, 1.1, 1.7, 0.9, 1.4,
                          de, df_t, df_c, 0.1, 1, False, 0, cjump, 0.05)
    assert float(df_t) == pytest.approx(0.8251596226168425, rel=1e-12)
    assert float(args["speak_c"]) == 1e-8


def test_bad_input(tv, error):
    dg = tv.degradation
    with pytest.raises(error):
        dg.matzenmillerdegradation(PROPS[:8], [0.3, 0.5, 0.2], 0.1, 0.4, 0.7)
    with pytest.raises(error):
        dg.tensordegradation(np.ones((5, 6)), 0.0, 0.5, 1, 0)
    with pytest.raises(error):
        dg.getaccumulateddamage(np.ones((3, 2)), 0.0, ndegr=4)
    with pytest.raises(error):
        dg.bogenfelddegradation(-np.ones(4), np.zeros(6), np.zeros(6), [1, 1, 1], [0.0, 0.2], 3, nprops=5)
