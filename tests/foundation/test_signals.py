"""Clamps, signal routines and the percentile from Python: the call lines'
defaults and the worked examples."""
import numpy as np
import pytest


@pytest.fixture
def s(tv, m):
    return tv.signalprocessing


def test_clamps_peaks_and_moving_averages(s):
    assert s.real_limit(2, 5, 3) == 5.0 and s.int_limit(-4, 0, 3) == 0
    maxtab, mintab, nmax, nmin = s.getpeaks([0.0, 2.0, 0.0], 1.0, x=[0.5, 1.5, 2.5])
    assert maxtab.shape == mintab.shape == (3, 2) and (nmax, nmin) == (1, 0)
    assert maxtab[0].tolist() == [1.5, 2.0]
    a, denom, out = np.zeros(3), 0, []
    for value in (3, 6, 9, 12):
        sma, a, denom = s.weightedmovingaverage(value, a, denom)
        out.append(sma)
    assert out == [3.0, 4.5, 6.0, 9.0] and a.tolist() == [6.0, 9.0, 12.0] and denom == 3
    assert s.cumulativemovingaverage(2.0, 5.0, 2) == 3.0


def test_shape_functions_means_and_percentile(s, m):
    assert s.generalsmoothstep(0.25, 1) == pytest.approx(3 / 16 - 2 / 64, abs=1e-16)
    assert s.logistic(0.0, 1.0, 0.0) == 0.5 and s.logistic(0.0, 1.0, 0.0, l=4.0) == 2.0
    assert s.generallogistic(0.0, 1.0, 3.0, 1.0, 1.0, 1.0) == 2.0
    assert s.generallogistic(0.0, 1.0, 3.0, 1.0, 1.0, 1.0, c=3.0) == 1.5
    assert s.generalizedmean([1.0, 4.0], 1.0, wi=[0.75, 0.25]) == 1.75
    assert [m.getpercentile(np.arange(1.0, 11.0), p, 5) for p in (50, 90, 100)] == [1.0, 6.0, 6.0]
    assert m.getpercentile([2.5], 10, 5) == 2.5
