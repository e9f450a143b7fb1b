"""Compression strength from a measured stress distribution and its
knock-down factors through the call lines."""
import numpy as np
import pytest

MSG = "The extreme value point of weighted stressdistribution curve can not be found"


@pytest.fixture(scope="module")
def dic(tv):
    return tv.dic


def weighted(stress, coords, alpha, width):
    return np.abs((1 + alpha * np.sqrt(2 * np.abs(np.asarray(coords) / width))) * np.asarray(stress))


def test_single_maximum_takes_the_smallest_weighted_stress(dic, latched):
    coords = np.array([2.0, -1.0, 0.0, -2.0, 1.0])  # out of order on purpose
    stress = -np.array([90.0, 150.0, 200.0, 100.0, 140.0])
    thick = [0.5, 0.5]
    res, dist = dic.getcomprfailurebydic(stress, coords, thick, 0.5, 600.0, -20000.0, 0.4, 100.0, 10.0)
    order = np.argsort(coords, kind="stable")
    w = weighted(stress, coords, 0.5, 10.0)[order]
    k = np.argmin(w)
    a = 600.0 / w[k]
    np.testing.assert_allclose(res, [20000 * a, 0.4 * a / 100, 20000 * a / (1.0 * 10.0), abs(coords[order][k])], rtol=1e-14)
    np.testing.assert_allclose(dist, np.column_stack([a * np.abs(stress[order]), a * w]), rtol=1e-14)
    assert latched()[0] == 0
    # A monotone curve has no maximum: it counts as one.
    res2, _ = dic.getcomprfailurebydic([1.0, 2.0, 3.0, 4.0], [0.0, 1.0, 2.0, 3.0], thick, 0.0, 10.0, 1.0, 1.0, 1.0, 1.0)
    assert res2[0] == 10.0 and res2[3] == 0.0
    # Equal stresses everywhere.
    res3, _ = dic.getcomprfailurebydic([5.0] * 4, [-1.0, 0.0, 1.0, 2.0], thick, 0.0, 10.0, 1.0, 1.0, 1.0, 1.0)
    assert res3[0] == 2.0


def test_peaks_relative_to_the_curve(dic):
    # Bumps of 1 % stay below the peak threshold of the unit-length curve:
    # one maximum, the smallest stress (the first) governs.
    res, _ = dic.getcomprfailurebydic([1000.0, 1010.0, 1000.0, 1000.0, 1010.0, 1000.0], np.arange(1.0, 7.0),
                                      [1.0], 0.0, 10.0, 3.0, 0.5, 2.0, 4.0)
    assert res[3] == 1.0 and res[0] == 3.0 * 10.0 / 1000.0


def test_two_peaks(dic, latched, tv):
    coords = np.arange(1.0, 8.0)
    stress = np.array([1.0, 5.0, 1.0, 1.0, 1.0, 4.0, 1.0])
    # Flat outside the peaks: the walks reach both ends, reported, results still given.
    res, dist = dic.getcomprfailurebydic(stress, coords, [1.0], 0.0, 10.0, 3.0, 0.5, 2.0, 4.0)
    assert latched() == (-1, MSG)
    assert res.tolist() == [30.0, 2.5, 7.5, 7.0] and dist[:, 0].tolist() == (10.0 * stress).tolist()
    tv.errorhandling.rsxerr(True)
    # A rise at the left end stops the left walk at ply 2; the larger of
    # the two ends found governs.
    stress = np.array([3.0, 2.0, 5.0, 1.0, 1.0, 4.0, 3.5])
    res, _ = dic.getcomprfailurebydic(stress, coords, [1.0], 0.0, 10.0, 3.0, 0.5, 2.0, 4.0)
    assert latched()[0] == 0
    assert res[3] == 7.0 and res[0] == pytest.approx(30.0 / 3.5, rel=1e-15)
    stress[0] = 1.0  # now it falls to the left end too
    assert dic.getcomprfailurebydic(stress, coords, [1.0], 0.0, 10.0, 3.0, 0.5, 2.0, 4.0)[0][3] == 7.0
    assert latched() == (-1, MSG)


def test_damage_influence_factor(dic):
    thick = [1.0] * 4
    real = np.zeros((12, 3))
    ints = np.zeros((4, 3), np.int32)
    assert dic.getdmginfluencefactor(thick, real, ints) == 1.0  # no buckled sublaminate
    ints[:] = -1
    assert dic.getdmginfluencefactor(thick, real, ints) == 1.0  # unused columns
    real[1, 0] = 0.5
    ints[:, 0] = (1, 1, 1, 0)
    assert dic.getdmginfluencefactor(thick, real, ints) == pytest.approx(0.8408964152537145, rel=1e-15)
    ints[:, 1] = (1, 3, 9, 0)  # beyond the stack: ignored
    assert dic.getdmginfluencefactor(thick, real, ints) == pytest.approx(0.8408964152537145, rel=1e-15)
    real[1, 1] = 0.5
    ints[:, 1] = (2, 3, 4, 1)  # plies 3, 4 as well: runs of 1 (ply 1), 1 (ply 2), 2
    assert dic.getdmginfluencefactor(thick, real, ints) == pytest.approx(1.0)


def test_central_open_hole_factor(dic):
    iso = np.array([[70000.0, 70000.0, 70000.0, 0.3, 0.3, 0.3, 26923.0, 26923.0, 26923.0]]).T
    assert dic.getcentralopenholefactor(iso, [0.0], [1.0], 3.0, 0.0, 20.0) == pytest.approx(0.35, rel=1e-14)
    want = 2.0 * (0.5**1.5 - 0.25) + abs(1.3 / (2 * 2) - 0.3)  # (A11 + A12)/A22 = 1 + ν
    assert dic.getcentralopenholefactor(iso, [0.0], [1.0], 2.0, 5.0, 20.0) == pytest.approx(want, rel=1e-14)


def test_bad_extents(dic, error):
    with pytest.raises(error):
        dic.getcomprfailurebydic([1.0, 2.0], [1.0], [1.0], 0.0, 1.0, 1.0, 1.0, 1.0, 1.0)
    with pytest.raises(error):
        dic.getdmginfluencefactor([1.0] * 3, np.zeros((12, 1)), np.zeros((4, 2), np.int32))
