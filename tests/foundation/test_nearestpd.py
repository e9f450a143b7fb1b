"""Cubic roots, polynomial fitting and nearest positive-definite and
correlation matrices from Python: the call lines' results and options."""
import numpy as np
import pytest

X = np.linspace(-2.0, 3.0, 9)


def test_cube_root_and_fitting(m):
    assert m.cuberoot(-8) == pytest.approx(-2.0) and m.cuberoot(0) == 0.0
    np.testing.assert_allclose(m.polynomialfitting(X, 2 - X + 0.5 * X**3, 3), [2, -1, 0, 0.5], atol=1e-11)


@pytest.mark.parametrize("x, y, degree, want", [
    (X, X, -1, (-3, "Negative degree in polynom fitting function")),
    (X, X[:4], 1, (-3, "Abscissas and ordinates differ in length")),
    # Fewer distinct abscissas than coefficients: singular normal equations
    # (0.1 repeated, whose LU factors need not show an exact zero pivot).
    ([0.1] * 4, [1.0, 2.0, 3.0, 4.0], 1, (-2, "Problem in polynom fitting function")),
    ([0.0, 1.0], [1.0, 2.0], 5, (-2, "Problem in polynom fitting function"))])
def test_fitting_refusals(m, latched, x, y, degree, want):
    c = m.polynomialfitting(x, y, degree)
    assert c.shape == (max(degree + 1, 0),) and np.isnan(c).all() and latched() == want


def test_nearest_matrices_and_their_options(m, latched):
    # Higham's example: the nearest correlation matrix of [[1,1,0],[1,1,1],[0,1,1]].
    corr = m.getnearestcorrelationmatrix(np.array([[1.0, 1, 0], [1, 1, 1], [0, 1, 1]]))
    np.testing.assert_allclose(corr, [[1, 0.7607, 0.1573], [0.7607, 1, 0.7607], [0.1573, 0.7607, 1]], atol=1e-4)
    # Kendall's τ = 0.5 is the linear correlation sin(π/4).
    kendall = m.getnearestcorrelationmatrix([[1.0, 0.5], [0.5, 1.0]], cflag=2)
    np.testing.assert_allclose(kendall, [[1, 0.5**0.5], [0.5**0.5, 1]], atol=1e-12)
    np.testing.assert_array_equal(m.getnearestcorrelationmatrix(corr, weights=[-1.0] * 3),
                                  m.getnearestcorrelationmatrix(corr))
    np.testing.assert_allclose(m.getnearestcorrelationmatrix(corr, cflag=2).diagonal(), 1.0, atol=1e-12)
    assert latched()[0] == 0
    # A correlation matrix is its own nearest one: found in the first (and only allowed) iteration.
    np.testing.assert_allclose(m.getnearestcorrelationmatrix([[1.0, 0.5], [0.5, 1.0]], maxiter=1),
                               [[1.0, 0.5], [0.5, 1.0]], atol=1e-14)
    assert latched()[0] == 0
    # Y at zero twice in a row has not changed (no 0/0): the second iteration
    # meets a tolerance the unit diagonal meets.
    assert m.getnearestcorrelationmatrix([[-1.0]], tol=2.0, maxiter=2).tolist() == [[1.0]]
    assert latched()[0] == 0

    # Entries near overflow: (a + aᵀ)/2 stays finite, and so does the answer.
    a = np.zeros((4, 4))
    a[0, 0], a[2:, 0] = 1e308, -1.0
    pd = m.getnearestspd(a)
    assert np.isfinite(pd).all() and pd[0, 0] == pytest.approx(1e308, rel=1e-15) and latched()[0] == 0
    assert not m.getnearestcorrelationmatrix([[1, 0.9, -0.9], [0.9, 1, 0.9], [-0.9, 0.9, 1]], maxiter=1).any()
    assert latched() == (-1, "Warning: Nearest correlation matrix did not converge")
    ispd = m.ispositivedefinite
    assert (ispd(np.diag([1.0, 0.25]), tolerance=0.5), ispd(np.eye(2), tolerance=0.5)) == (0, 1)
    assert type(m.ispositivedefinite(np.eye(2))) is int


@pytest.mark.parametrize("w", [0.0, -2.0, np.nan, np.inf])
def test_weights_that_are_not_positive_are_refused(m, tv, latched, w):
    # Such a weight could only run the iteration to maxiter (2³¹ - 1 here).
    corr = m.getnearestcorrelationmatrix(np.eye(2), weights=[1.0, w], maxiter=2**31 - 1)
    assert not corr.any() and latched() == (-3, "Weights must be positive finite numbers")
    assert tv.errorhandling.errintv[0] == 2
