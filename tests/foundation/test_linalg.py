"""Dense linear algebra from Python: the call lines' defaults, orientations
and extents, and the paths that once ended the interpreter or read past arrays."""
import itertools
import math

import numpy as np
import pytest
from tolerances import assert_close, sum_atol


def test_determinant_and_empty_matrices(m, latched):
    assert m.determinant([[1, 2], [3, 4]]) == -2.0 and m.determinant([[1, 2], [3, 4]], pdflag=1) == 10.0
    e = np.zeros((0, 0))
    assert m.matrixinverse(e).shape == m.choleskyfactorization(e).shape == m.matrixeigenvectors(e)[0].shape == (0, 0)
    assert m.matrixeigenvalues(e).shape == m.matrixeigenvectors(e)[1].shape == (0,)
    u, s, v = m.singularvaluedecomposition(np.zeros((0, 3)))
    assert u.shape == (0, 0) and s.shape == (0, 3) and not v.any()
    # A single row (a leading dimension of 1): σ = |(3, 4)| = 5.
    u, s, v = m.singularvaluedecomposition([[3.0, 4.0]])
    np.testing.assert_allclose((abs(u[0, 0]), s[0, 0], abs(v[0, 0]), abs(v[1, 0])), (1, 5, 0.6, 0.8), rtol=1e-15)
    assert (m.spectralnorm(e), m.nuclearnorm(e), m.schattennorm(e, 2.0)) == (-1.7976931348623157e308, 0.0, 0.0)
    gemm = m.generalmatrixproduct
    assert gemm(1.0, np.zeros((0, 2)), np.zeros((2, 3)), 0.0, np.zeros((0, 3)), "N", "N").shape == (0, 3)
    # k = 0: the empty sum, d = beta·c.
    np.testing.assert_array_equal(gemm(1.0, np.zeros((2, 0)), np.zeros((0, 2)), 3.0, np.ones((2, 2)), "N", "N"),
                                  3 * np.ones((2, 2)))
    assert latched()[0] == 0


def test_general_product_in_every_orientation_and_bad_flags(m, latched, error):
    rng = np.random.default_rng(3)
    a, b, c = rng.uniform(-1, 1, (3, 4)), rng.uniform(-1, 1, (4, 2)), rng.uniform(-1, 1, (3, 2))
    # Four products and β·c in another order than NumPy's.
    atol = sum_atol(np.abs(2.0 * a) @ np.abs(b) + np.abs(0.5 * c), 5)
    for sa, sb in itertools.product("NtC", "nTc"):  # the inner extent from either operand
        d = m.generalmatrixproduct(2.0, a if sa == "N" else a.T, b if sb == "n" else b.T, -0.5, c, sa, sb)
        assert_close(d, 2.0 * a @ b - 0.5 * c, atol, err_msg=sa + sb)
    # An unknown flag (blank-padded "" too) latches -3 and returns the copy of c; the interpreter lives on.
    for flag in ("X", ""):
        np.testing.assert_array_equal(m.generalmatrixproduct(2.0, a, b, -0.5, c, flag, "N"), c)
        assert latched() == (-3, "Unknown matrix transpose flag")
    with pytest.raises(error, match="shape"):
        m.generalmatrixproduct(1.0, np.ones((3, 5)), b, 0.0, c, "N", "N")


def test_optional_arguments(m, latched, error):
    a = np.array([[2.0, 1.0, 0.0], [1.0, 2.0, 0.0], [0.0, 0.0, 5.0]])
    # A vector with an entry of zero or more comes back as it was passed.
    np.testing.assert_array_equal(m.matrixeigenvectors(a, eigvals=[0.0, -1.0, -1.0])[1], [0.0, -1.0, -1.0])
    assert m.poweriteration(np.diag([2.0, 5.0]), startvec=[1.0, 1.0], abstol=1e-14)[0] == pytest.approx(5.0, rel=1e-13)
    # A negative dominant eigenvalue makes the iterate alternate in sign; no iteration: the start vector.
    value, vector = m.poweriteration(np.diag([-3.0, 1.0]))
    assert value == pytest.approx(-3.0, abs=1e-12) and abs(vector[0]) == pytest.approx(1.0, abs=1e-12)
    assert m.poweriteration(np.diag([-3.0, 1.0]), maxiter=0, startvec=[0.5, 2.0])[1].tolist() == [0.5, 2.0]
    m.poweriteration(np.diag([2.0, 5.0]), maxiter=1)
    assert latched() == (-2, "No convergence in von Mises eigenvalue computation")
    with pytest.raises(error, match=r"\(n==m\)"):
        m.conjucategradient(np.ones((3, 2)), [1.0, 2.0], [1.0, 2.0])


def test_modal_assurance_and_householder(m):
    mac = m.vectormodalassurancecriterion
    assert (mac([1, 2, 3], [2, 4, 6]), mac([1, 2, 3], [-2, 1, 0])) == (pytest.approx(1.0, rel=1e-15), 0.0)
    assert math.isnan(mac([1, 2, 3], [2, 4, 6], n=0))
    s = np.random.default_rng(5).uniform(-1, 1, (4, 4))
    np.testing.assert_allclose(np.diag(m.matrixmodalassurancecriterion(s, s)), 1.0, atol=1e-12)
    # I - 2vvᵀ with a unit v maps v to -v.
    np.testing.assert_allclose(m.gethouseholdertransformationmatrix([0.6, 0.0, 0.8]) @ [0.6, 0.0, 0.8],
                               [-0.6, 0.0, -0.8], atol=1e-15)
