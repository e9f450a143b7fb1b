"""Cubic roots, polynomial fitting and nearest positive-definite and
correlation matrices from Python."""
import numpy as np
import pytest


def test_cubic_roots_and_fitting(m, tv, latched):
    np.testing.assert_allclose(m.solution3pe(1, -6, 11, -6), (1, 2, 3), atol=1e-14)
    assert m.solution3pe(1, 0, 0, -1) == pytest.approx((1, 1, 1))
    assert m.specialcase(-3, 2) == pytest.approx((-2, 1, 1)) and m.specialcase(0, 0) == (0, 0, 0)
    assert m.cuberoot(-8) == pytest.approx(-2.0) and m.cuberoot(0) == 0.0
    x = np.linspace(-2.0, 3.0, 9)
    np.testing.assert_allclose(m.polynomialfitting(x, 2 - x + 0.5 * x**3, 3), [2, -1, 0, 0.5],
                               atol=1e-11)
    assert m.polynomialfitting(x, x, -1).shape == (0,)
    assert latched() == (-3, "Negative degree in polynom fitting function")
    tv.errorhandling.rsxerr(True)
    assert np.isnan(m.polynomialfitting(x, x[:4], 1)).all()
    assert latched() == (-3, "Abscissas and ordinates differ in length")


def test_nearest_matrices(m, latched):
    np.testing.assert_allclose(m.getnearestspd([[1.0, 2.0], [2.0, 1.0]]), np.full((2, 2), 1.5),
                               atol=1e-15)
    corr = m.getnearestcorrelationmatrix(np.array([[1.0, 1, 0], [1, 1, 1], [0, 1, 1]]))
    np.testing.assert_allclose(np.diag(corr), 1.0, atol=1e-12)
    assert np.linalg.eigvalsh(corr).min() > -1e-14
    assert (m.choleskyfactorization(corr) != -1.7976931348623157e308).all()
    np.testing.assert_array_equal(m.getnearestcorrelationmatrix(corr, weights=[-1.0] * 3),
                                  m.getnearestcorrelationmatrix(corr))
    np.testing.assert_allclose(m.getnearestcorrelationmatrix(corr, cflag=2).diagonal(), 1.0,
                               atol=1e-12)
    assert latched()[0] == 0
    assert not m.getnearestcorrelationmatrix([[1, 0.9, -0.9], [0.9, 1, 0.9], [-0.9, 0.9, 1]],
                                             maxiter=1).any()
    assert latched() == (-1, "Warning: Nearest correlation matrix did not converge")
    assert m.getprojectedspd(np.diag([1.0, -2.0])).tolist() == [[1.0, 0.0], [0.0, 0.0]]
    assert m.getnearestpdnorm(np.eye(3)) == 0.0


def test_positive_definiteness(m):
    assert m.ispositivedefinite(np.diag([1.0, 0.25]), tolerance=0.5) == 0
    assert m.ispositivedefinite(np.eye(2), tolerance=0.5) == 1
    assert type(m.ispositivedefinite(np.eye(2))) is int
