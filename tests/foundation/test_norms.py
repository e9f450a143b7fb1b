"""Norms and matrix utilities from Python."""
import math

import numpy as np
import pytest


def test_diagonals_running_sums_and_minors(m, error):
    a = np.arange(1.0, 10.0).reshape(3, 3)
    np.testing.assert_array_equal(m.matrixdiagonal(a, 1), [a[0, 1], a[1, 2]])
    assert m.matrixdiagonal(a, 5).shape == (0,)
    np.testing.assert_array_equal(m.cumulativesum([1.0, 2.0, 3.0], seed=10.0), [11.0, 13.0, 16.0])
    # The product's default seed is its neutral value 1.
    np.testing.assert_array_equal(m.cumulativeproduct([2.0, 3.0, 4.0]), [2.0, 6.0, 24.0])
    a[2, 2] = 10.0
    assert m.getprincipleminor(a, 3) == pytest.approx(np.linalg.det(a))
    with pytest.raises(error, match=r"\(i>=1 && i<=k\)"):
        m.getprincipleminor(a, 4)


@pytest.mark.parametrize("x, want", [((1, 2, 3), 2), ((1, 1, 2), 1), ((3, 2, 2), -1), ((5, 5, 5), -1),
                                     ((3, 2, 1), -2), ((1, 3, 2), 0), ((4,), -2), ((1, float("nan"), 2), 0)])
def test_monotonicity_classes(m, x, want):
    assert m.monoticity(list(x)) == want


def test_distances_and_norms(m, latched):
    x = [3.0, -4.0, 12.0]
    assert (m.euclideandistance([0.0, 0.0], [3.0, 4.0]), m.rootmeansquareerror([0.0, 0.0], [3.0, 4.0]),
            m.meanabsoluteerror([0.0, 0.0], [3.0, -4.0])) == (5.0, 5.0 * math.sqrt(0.5), 3.5)
    assert (m.vectornorm([3.0, 4.0]), m.vectornorm([3.0], n=0), m.matrixnorm([[1.0, 2.0], [2.0, 4.0]])) == (5, 0, 5)
    assert (m.lpvectornorm(x, 2.0), m.lpvectornorm(x, 1.0), m.lpmatrixnorm([[3.0, 0.0], [0.0, -4.0]], 2.0)) == (13, 19, 5)
    assert m.lpmatrixnorm([[1.0, 2.0, 3.0], [4.0, 5.0, 6.0]], 1.0) == 21  # every entry of a 2x3 matrix
    assert (m.trace([[1.0, 2.0], [3.0, 4.0]]), m.trace(np.zeros((0, 0)))) == (5.0, 0.0)
    # |x|^tiny = 1, 1^(1/tiny) = 1; 3^(1/tiny) = inf.
    assert (m.lpvectornorm([2.0], 0.0), m.lpvectornorm(x, 0.0), m.scalarprojection([1.0, 1.0], [0.0, 2.0])) == (
        1.0, math.inf, 1.0)
    a = np.random.default_rng(7).uniform(-1, 1, (4, 3))
    s = np.linalg.svd(a, compute_uv=False)
    assert (m.spectralnorm(a), m.nuclearnorm(a), m.schattennorm(a, 2.0)) == pytest.approx(
        (s[0], s.sum(), np.linalg.norm(a)), rel=1e-14)
    # A non-finite entry: the singular values are refused (-3) and every norm is NaN.
    a[1, 2] = math.nan
    assert all(math.isnan(v) for v in (m.spectralnorm(a), m.nuclearnorm(a), m.schattennorm(a, 2.0)))
    assert latched() == (-3, "Matrix entries must be finite numbers")


def test_angles_arcs_polar_coordinates_and_normalisation(m):
    # Rounding makes the cosine of these parallel vectors 1 + 2⁻⁵²: still angle 0.
    assert m.euclideanangle([0.1, 0.6], [0.2, 1.2]) == 0.0
    assert m.effectivearclength([0.0, 0.0], [3.0, 4.0], 0.0) == 5.0
    for bulge in (0.5, -0.5):
        assert m.effectivearclength([-2.0, 0.0], [2.0, 0.0], bulge) == pytest.approx(2 * math.pi)
    # Past eight coordinates the chord needs more room; entries beyond n are not read.
    for n in (8, 9):
        assert m.effectivearclength(np.r_[np.ones(n), 5.0, 6.0], np.zeros(n + 2), 0.0, n) == math.sqrt(n)
    np.testing.assert_array_equal(m.polartransformation([0.0, 0.0, 7.0], phi0=0.5), [0.0, 0.5, 7.0])
    np.testing.assert_allclose(m.polartransformation([0.0, 2.0]), [2.0, math.pi / 2])
    np.testing.assert_array_equal(m.vectornormalize([2.0, np.nan, 4.0, 3.0]), [0.0, np.nan, 1.0, 0.5])
    np.testing.assert_array_equal(m.matrixnormalize([[1.0, 3.0], [5.0, 2.0]]), [[0.0, 0.5], [1.0, 0.25]])
