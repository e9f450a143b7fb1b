"""Norms and matrix utilities from Python."""
import math

import numpy as np
import pytest


@pytest.fixture
def m(tv):
    tv.errorhandling.rsxerr(True)
    yield tv.math
    tv.errorhandling.rsxerr(True)


def test_diagonals_transpose_and_symmetric_part(m):
    a = np.arange(1.0, 10.0).reshape(3, 3)
    np.testing.assert_array_equal(m.matrixdiagonal(a, 1), [a[0, 1], a[1, 2]])
    np.testing.assert_array_equal(m.matrixdiagonal(a, -2), [a[2, 0]])
    assert m.matrixdiagonal(a, 5).shape == (0,)
    assert m.trace(a) == 15.0
    np.testing.assert_array_equal(m.matrixtranspose(np.arange(6.0).reshape(2, 3)), np.arange(6.0).reshape(2, 3).T)
    np.testing.assert_array_equal(m.matrixsymmetrize(a), (a + a.T) / 2)
    np.testing.assert_array_equal(m.vectorsum([1.0, 2.0], [3.0, 4.0]), [4.0, 6.0])


def test_monotonicity_classes(m):
    cases = {(1, 2, 3): 2, (1, 1, 2): 1, (3, 2, 2): -1, (5, 5, 5): -1, (3, 2, 1): -2, (1, 3, 2): 0,
             (4,): -2, (1, float("nan"), 2): 0}
    for x, want in cases.items():
        assert m.monoticity(list(x)) == want, x


def test_running_sums_and_products(m):
    np.testing.assert_array_equal(m.cumulativesum([1.0, 2.0, 3.0], seed=10.0), [11.0, 13.0, 16.0])
    np.testing.assert_array_equal(m.cumulativesum([1.0, 2.0, 3.0]), [1.0, 3.0, 6.0])
    # The product's default seed is its neutral value 1.
    np.testing.assert_array_equal(m.cumulativeproduct([2.0, 3.0, 4.0]), [2.0, 6.0, 24.0])
    np.testing.assert_array_equal(m.cumulativeproduct([2.0, 3.0], seed=0.5), [1.0, 3.0])


def test_minors_and_cofactors(m, error):
    sm = np.array([[1.0, 2.0, 3.0], [4.0, 5.0, 6.0], [7.0, 8.0, 10.0]])
    assert m.getfirstminor(sm, 1, 1) == pytest.approx(2.0)
    assert m.getfirstminor(sm, 2, 3) == pytest.approx(1 * 8 - 2 * 7)
    assert m.getprincipleminor(sm, 1) == 1.0
    assert m.getprincipleminor(sm, 2) == pytest.approx(-3.0)
    assert m.getprincipleminor(sm, 3) == pytest.approx(np.linalg.det(sm))
    assert m.getcofactor(5.0, 1, 2) == -5.0 and m.getcofactor(5.0, 2, 2) == 5.0
    # Indices outside the matrix are refused, never read.
    for bad in ((0, 1), (4, 1), (1, 4)):
        with pytest.raises(error):
            m.getfirstminor(sm, *bad)
    with pytest.raises(error, match=r"\(i>=1 && i<=k\)"):
        m.getprincipleminor(sm, 4)


def test_distances_and_vector_norms(m):
    assert m.euclideandistance([0.0, 0.0], [3.0, 4.0]) == 5.0
    assert m.rootmeansquareerror([0.0, 0.0], [3.0, 4.0]) == 5.0 * math.sqrt(0.5)
    assert m.meanabsoluteerror([0.0, 0.0], [3.0, -4.0]) == 3.5
    assert m.vectornorm([3.0, 4.0]) == 5.0 and m.vectornorm([3.0], n=0) == 0.0
    assert m.matrixnorm([[1.0, 2.0], [2.0, 4.0]]) == 5.0
    x = [3.0, -4.0, 12.0]
    assert m.lpvectornorm(x, 2.0) == m.vectornorm(x)
    assert m.lpvectornorm(x, 1.0) == 19.0
    assert m.lpvectornorm([2.0], 0.0) == 1.0  # |x|^tiny = 1, 1^(1/tiny) = 1
    assert m.lpvectornorm(x, 0.0) == math.inf  # 3^(1/tiny)
    assert m.lpmatrixnorm([[3.0, 0.0], [0.0, -4.0]], 2.0) == 5.0
    np.testing.assert_allclose(m.getunitvector([3.0, 4.0]), [0.6, 0.8])
    assert m.scalarprojection([1.0, 1.0], [0.0, 2.0]) == 1.0


def test_singular_value_norms(m):
    a = np.random.default_rng(7).uniform(-1, 1, (4, 3))
    s = np.linalg.svd(a, compute_uv=False)
    assert m.spectralnorm(a) == pytest.approx(s[0], rel=1e-14)
    assert m.nuclearnorm(a) == pytest.approx(s.sum(), rel=1e-14)
    assert m.schattennorm(a, 2.0) == pytest.approx(np.linalg.norm(a), rel=1e-14)


def test_angles_arcs_and_polar_coordinates(m, error):
    # Rounding can make the cosine of parallel vectors slightly exceed 1.
    # Rounding makes the cosine of these parallel vectors 1 + 2⁻⁵²: still angle 0.
    assert m.euclideanangle([0.1, 0.6], [0.2, 1.2]) == 0.0
    assert m.euclideanangle([1.0, 0.0], [-2.0, 0.0]) == math.pi
    assert m.euclideanangle([1.0, 0.0], [0.0, 2.0]) == pytest.approx(math.pi / 2)
    assert m.effectivearclength([0.0, 0.0], [3.0, 4.0], 0.0) == 5.0
    assert m.effectivearclength([-2.0, 0.0], [2.0, 0.0], 0.5) == pytest.approx(2 * math.pi)
    assert m.effectivearclength([-2.0, 0.0], [2.0, 0.0], -0.5) == pytest.approx(2 * math.pi)
    np.testing.assert_array_equal(m.polartransformation([0.0, 0.0, 7.0], phi0=0.5), [0.0, 0.5, 7.0])
    np.testing.assert_allclose(m.polartransformation([0.0, 2.0]), [2.0, math.pi / 2])
    with pytest.raises(error, match=r"\(n>=2\)"):
        m.polartransformation([1.0])


def test_normalisation(m):
    np.testing.assert_array_equal(m.vectornormalize([2.0, np.nan, 4.0, 3.0]), [0.0, np.nan, 1.0, 0.5])
    np.testing.assert_array_equal(m.matrixnormalize([[1.0, 3.0], [5.0, 2.0]]), [[0.0, 0.5], [1.0, 0.25]])
