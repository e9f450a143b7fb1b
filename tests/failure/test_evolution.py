"""Damage evolution and fracture from Python: results in table order, the
optional extents and stiffness ratio, and bad input."""
import numpy as np
import pytest


def test_evolution_calls(tv, latched):
    evo = tv.evocollection
    d = evo.timeregularization([0.2, 0.4], [0.6, 0.4], 0.0, 1.0)
    np.testing.assert_allclose(d, [0.4, 0.4], rtol=1e-15)
    np.testing.assert_allclose(evo.timeregularization([0.2, 0.4], [0.6, 0.4], 0.1, 1.0, num=1), [0.4])
    assert evo.equivalentquadstressstrain([1, 2, 3, 4, 5, 6], 3) == pytest.approx(50 ** 0.5, rel=1e-15)
    d, eps1 = evo.bilinearevolution(0.015, 0.01, 50.0, 1.0, 0.0005, 0.02)
    assert (d, eps1) == (pytest.approx(2 / 3, rel=1e-14), 0.02)
    assert evo.dgstrainrhead(0.01, 0.5, 1e5) == pytest.approx(0.010248456731316584, rel=1e-15)
    assert evo.dgstrainrhead(0.01, 0.5, 1e5, 0.5) == pytest.approx(0.010249223594996212, rel=1e-15)
    assert evo.equivalentquadstressstrain([1, 2, 3, 4, 5, 6], 7) == 0.0
    assert latched()[0] == -3


def test_fracture_calls(tv):
    fr = tv.fracture
    assert fr.getequivalentmixedmodeerr([1.0, 1.0, 0.0], [0.3, 1.1, 0.9]) == pytest.approx(0.7, rel=1e-15)
    assert fr.getequivalentmixedmodeerr([-1.0, 0.0, 0.0], [0.3, 1.1, 0.9, 0.7]) == pytest.approx(1.1)
    assert fr.getequivalentmixedmodeerr([-1.0, 0.0, 0.0], [0.3, 1.1, 0.9, 0.7], n=3) == pytest.approx(0.3)
    assert fr.getcrackstatus([0, -10, 0, 0, 0, 0], [1, 0, 0], 0.0, 2) == -1
    assert fr.getcrackstatus([0, -10, 0, 0, 0, 0], [1, 0, 0], 0.0, 9) == 1


def test_bad_extents(tv, error):
    with pytest.raises(error):
        tv.evocollection.timeregularization([0.2, 0.4], [0.6], 0.1, 1.0)
    with pytest.raises(error):
        tv.fracture.getequivalentmixedmodeerr([1.0, 0.0], [0.3, 1.1, 0.9])
    with pytest.raises(error):
        tv.fracture.getequivalentmixedmodeerr([1.0, 0.0, 0.0], [0.3, 1.1], n=3)
    with pytest.raises(error):
        tv.evocollection.equivalentquadstressstrain([1, 2, 3], 1)
