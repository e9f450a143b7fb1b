"""Clamps, signal routines and the percentile from Python: the call lines'
defaults and the worked examples."""
import numpy as np
import pytest

TINY = 2.2250738585072014e-308


@pytest.fixture
def s(tv, m):
    return tv.signalprocessing


def test_clamps(s):
    assert s.real_limit(5, 0, 1) == 1.0 and s.real_limit(2, 5, 3) == 5.0
    assert s.int_limit(-4, 0, 3) == 0
    assert [s.mod_limit(x, 3) for x in (0, 4, -1)] == [3, 1, 2]
    assert s.mod_limit(-2**31, -1) == -1


def test_peaks(s):
    maxtab, mintab, nmax, nmin = s.getpeaks([0.0, 2.0, 0.0, 2.0, 0.0], -1.0)
    assert (nmax, nmin) == (2, 1)
    np.testing.assert_array_equal(maxtab[:2], [[2.0, 2.0], [4.0, 2.0]])
    np.testing.assert_array_equal(mintab, [[3.0, 0.0]] + [[TINY, TINY]] * 4)
    maxtab, _, _, _ = s.getpeaks([0.0, 2.0, 0.0], 1.0, x=[0.5, 1.5, 2.5])
    assert maxtab[0].tolist() == [1.5, 2.0]


def test_moving_averages(s):
    a, denom, out = np.zeros(3), 0, []
    for value in (3, 6, 9, 12):
        sma, a, denom = s.weightedmovingaverage(value, a, denom)
        out.append(sma)
    assert out == [3.0, 4.5, 6.0, 9.0] and a.tolist() == [6.0, 9.0, 12.0] and denom == 3
    # A count beyond the window is kept to it.
    sma, a, denom = s.weightedmovingaverage(15, a, 40, wi=[0.0, 0.0, 3.0])
    assert (sma, denom) == (15.0, 3) and a.tolist() == [9.0, 12.0, 15.0]
    assert s.cumulativemovingaverage(2.0, 5.0, 2) == 3.0


def test_shape_functions_and_means(s):
    assert s.generalsmoothstep(0.5, 7) == 0.5
    assert s.generalsmoothstep(0.25, 1) == pytest.approx(3 / 16 - 2 / 64, abs=1e-16)
    assert s.logistic(0.0, 1.0, 0.0) == 0.5 and s.logistic(0.0, 1.0, 0.0, l=4.0) == 2.0
    assert s.generallogistic(0.0, 1.0, 3.0, 1.0, 1.0, 1.0) == 2.0
    assert s.generallogistic(0.0, 1.0, 3.0, 1.0, 1.0, 1.0, c=3.0) == 1.5
    assert s.generalizedmean([1.0, 4.0], 0.0) == pytest.approx(2.0)
    assert s.generalizedmean([1.0, 4.0], 1.0, wi=[0.75, 0.25]) == 1.75
    assert s.logarithmicbarrier(3.0, 2.0) == 36.04365338911715


def test_percentile(m):
    values = np.arange(1.0, 11.0)
    assert [m.getpercentile(values, p, 5) for p in (50, 90, 100)] == [1.0, 6.0, 6.0]
    assert m.getpercentile([2.5], 10, 5) == 2.5
    assert m.getpercentile(values, 50, 5, ndim=0) == -4.0
