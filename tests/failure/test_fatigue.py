"""The fatigue module from Python: results in library order, the shared
cycle table and critical stress ratio, and bad input."""
import numpy as np
import pytest


@pytest.fixture
def shared(tv):
    yield tv
    tv.shokriehdata.cycles = None
    tv.materialdata.r_crit = None


def test_properties_and_equivalent_stress(tv, latched):
    fa = tv.fatigue
    props = np.concatenate([1000.0 + np.arange(1, 75), 2000.0 + np.arange(1, 75), [0.0, 0.05]])
    props[73], props[147] = 250.0, 350.0
    out = fa.getshokriehproperties(props, 300.0)
    assert len(out) == 15 and out[0][0] == 1501.0 and out[-1] == 0.05 and out[-2] == 1561.0
    assert out[1][1] == -1513.0
    assert fa.getshokriehproperties(props, 300.0, nprops=149)[-1] == 0.0
    assert latched()[0] == -2
    eq = fa.getequivalentfatiguestress([37.5, 0, 0, 0, 0, 0], 60.0, 120.0, 2.0, 0.0)
    assert eq == pytest.approx(37.5, rel=1e-13)


def test_life_and_cycles(shared, latched):
    fa = shared.fatigue
    shared.materialdata.r_crit = np.array([-1.0])
    nf, life = fa.getfatiguelife(-0.3, 0.3, 0.9, -0.1, 0.0, 1e30, 0, 0.0, 0.25)
    assert np.isfinite(nf) and life == 1.0
    assert fa.getfatiguelife(-0.3, 0.3, 0.9, -0.1, 0.0, 0.0, 0, 0.0, 0.25)[1] == 0.25
    args = (1e6, 0.0, 10.0, 1.0, 25.0, 0.0)
    assert fa.cyclecount(100.0, *args, np.finfo(float).max, 2, 0, 1, 1, 4, 1) == (0.0, 100.0)
    assert fa.cyclecount(100.0, *args, 0.0, 2, 0, 1, 1, 9, 1) == (0.0, 100.0)  # unknown algorithm: jump 0
    assert latched()[0] == -2
    shared.shokriehdata.cycles = np.array([[1000.0, 20000.0], [5000.0, 30000.0]], order="F")
    assert fa.cyclecount(1000.0, *args, 0.0, 2, 0, 1, 1, 5, 1) == (0.0, 1000.0)
    assert fa.cyclecount(1200.0, *args, 1e5, 2, 0, 1, 1, 4, 1) == (3800.0, 5000.0)
    sbottom = np.array(0.0)
    cjimp = fa.allowablecyclejump(1.2, sbottom, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 1, 1, 1, 1, 1, 1, 0, 0.1, 0.1, 0.9)
    assert (sbottom, cjimp) == (0.0, 1e8)   # at the end of life sbottom is not touched
    # Both bounds at their full life 1e8 (the residual values at the peak
    # stress), a quarter of it used; a zero bottom stress is written back.
    cjimp = fa.allowablecyclejump(0.5, sbottom, 1, 1, 2, 2, 1, 1, -0.1, 0, 0, 0.25, 1, 1, 1, 1, 0.5, 0.5, 0,
                                  0.5, 0.1, 1.0)
    assert sbottom == 1e-8 and cjimp == pytest.approx(7.5e7, rel=1e-12)


def test_bad_input(tv, error):
    fa = tv.fatigue
    with pytest.raises(error):
        fa.getshokriehproperties(np.zeros(150), 300.0, nprops=151)
    with pytest.raises(error):
        fa.getequivalentfatiguestress([1.0, 0, 0], 60.0, 120.0, 2.0, 0.0)
