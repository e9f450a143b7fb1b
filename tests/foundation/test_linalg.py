"""Dense linear algebra from Python: worked examples, properties against
NumPy, and the paths that once ended the interpreter or read past arrays."""
import numpy as np
import pytest


@pytest.fixture
def m(tv):
    tv.errorhandling.rsxerr(True)
    yield tv.math
    tv.errorhandling.rsxerr(True)


def latched(tv):
    eh = tv.errorhandling
    return eh.errstat, eh.errstring.tobytes().decode().rstrip()


def test_determinant_and_permanent(m):
    assert m.determinant([[1, 2], [3, 4]]) == -2.0
    assert m.determinant([[1, 2], [3, 4]], pdflag=1) == 10.0
    assert m.determinant([[7.5]]) == 7.5
    a = np.random.default_rng(1).uniform(-1, 1, (6, 6))
    assert m.determinant(a) == pytest.approx(np.linalg.det(a), rel=1e-12)
    assert m.lufactdeterminant(a) == pytest.approx(np.linalg.det(a), rel=1e-12)


def test_inverse_against_numpy_and_inputs_unchanged(m, tv):
    rng = np.random.default_rng(2)
    for n in (1, 3, 6, 8, 12):
        a = np.asfortranarray(rng.uniform(-1, 1, (n, n)) + 2 * np.eye(n))
        keep = a.copy()
        inv = m.matrixinverse(a)
        np.testing.assert_allclose(inv @ a, np.eye(n), atol=1e-13)
        np.testing.assert_allclose(inv, np.linalg.inv(a), rtol=1e-12, atol=1e-14)
        np.testing.assert_array_equal(a, keep)
    assert latched(tv)[0] == 0


def test_singular_inverse_latches_and_goes_on(m, tv):
    ainv = m.matrixinverse([[1.0, 2.0], [2.0, 4.0]])
    assert latched(tv) == (-2, "Matrix inverse becomes numerically singular!")
    np.testing.assert_array_equal(ainv, [[2.0, 4.0], [0.5, 0.0]])  # the LU factors
    assert m.lufactdeterminant([[1.0, 2.0], [2.0, 4.0]]) == 0.0


def test_empty_matrices_return_empty_results(m, tv):
    e = np.zeros((0, 0))
    assert m.matrixinverse(e).shape == (0, 0)
    assert m.matrixeigenvalues(e).shape == (0,)
    z, w = m.matrixeigenvectors(e)
    assert z.shape == (0, 0) and w.shape == (0,)
    u, s, v = m.singularvaluedecomposition(np.zeros((0, 3)))
    assert u.shape == (0, 0) and s.shape == (0, 3) and not v.any()
    assert m.choleskyfactorization(e).shape == (0, 0)
    assert m.lufactdeterminant(e) == 1.0
    assert m.determinant(e) == 0.0
    d = m.generalmatrixproduct(1.0, np.zeros((0, 2)), np.zeros((2, 3)), 0.0, np.zeros((0, 3)), "N", "N")
    assert d.shape == (0, 3)
    # k = 0: the empty sum, d = beta·c.
    d = m.generalmatrixproduct(1.0, np.zeros((2, 0)), np.zeros((0, 2)), 3.0, np.ones((2, 2)), "N", "N")
    np.testing.assert_array_equal(d, 3 * np.ones((2, 2)))
    assert m.spectralnorm(e) == -1.7976931348623157e308
    assert m.nuclearnorm(e) == 0.0 and m.schattennorm(e, 2.0) == 0.0
    assert latched(tv)[0] == 0


def test_general_product_orientations_and_a_bad_flag(m, tv, error):
    rng = np.random.default_rng(3)
    a, b, c = rng.uniform(-1, 1, (3, 4)), rng.uniform(-1, 1, (4, 2)), rng.uniform(-1, 1, (3, 2))
    want = 2.0 * a @ b - 0.5 * c
    np.testing.assert_allclose(m.generalmatrixproduct(2.0, a, b, -0.5, c, "N", "N"), want, atol=1e-15)
    np.testing.assert_allclose(m.generalmatrixproduct(2.0, a.T, b.T, -0.5, c, "t", "C"), want, atol=1e-15)
    # An unknown flag latches -3 and returns the copy of c; the interpreter lives on.
    d = m.generalmatrixproduct(2.0, a, b, -0.5, c, "X", "N")
    np.testing.assert_array_equal(d, c)
    assert latched(tv) == (-3, "Unknown matrix transpose flag")
    d = m.generalmatrixproduct(2.0, a, b, -0.5, c, "", "N")  # blank-padded: also unknown
    np.testing.assert_array_equal(d, c)
    with pytest.raises(error, match="shape"):
        m.generalmatrixproduct(1.0, np.ones((3, 5)), b, 0.0, c, "N", "N")


def test_symmetric_eigenproblem(m):
    a = np.array([[2.0, 1.0, 0.0], [1.0, 2.0, 0.0], [0.0, 0.0, 5.0]])
    np.testing.assert_allclose(m.matrixeigenvalues(a), [1, 3, 5], atol=1e-14)
    z, w = m.matrixeigenvectors(a)
    np.testing.assert_allclose(w, [1, 3, 5], atol=1e-14)
    np.testing.assert_allclose(a @ z, z * w, atol=1e-14)
    np.testing.assert_allclose(z.T @ z, np.eye(3), atol=1e-15)
    # A vector with an entry of zero or more comes back as it was passed.
    _, w = m.matrixeigenvectors(a, eigvals=[0.0, -1.0, -1.0])
    np.testing.assert_array_equal(w, [0.0, -1.0, -1.0])


def test_svd_and_cholesky(m, tv):
    a = np.random.default_rng(4).uniform(-1, 1, (4, 3))
    u, s, v = m.singularvaluedecomposition(a)
    np.testing.assert_allclose(u @ s @ v, a, atol=1e-14)
    np.testing.assert_allclose(np.diag(s), np.linalg.svd(a, compute_uv=False), rtol=1e-14)
    # R has its strict lower triangle zeroed, so that RᵀR = A.
    spd = np.array([[4.0, 2.0], [2.0, 3.0]])
    r = m.choleskyfactorization(spd)
    assert r[1, 0] == 0.0
    np.testing.assert_allclose(r.T @ r, spd, atol=1e-15)
    assert (m.choleskyfactorization([[1.0, 2.0], [2.0, 1.0]]) == -1.7976931348623157e308).all()
    assert latched(tv)[0] == 0


def test_power_iteration_and_conjugate_gradient(m, tv, error):
    value, vector = m.poweriteration(np.diag([-3.0, 1.0]))
    assert value == pytest.approx(-3.0, abs=1e-12) and abs(vector[0]) == pytest.approx(1.0)
    value, vector = m.poweriteration(np.diag([2.0, 5.0]), startvec=[1.0, 1.0], abstol=1e-14)
    assert value == pytest.approx(5.0, rel=1e-13)
    m.poweriteration(np.diag([2.0, 5.0]), maxiter=1)
    assert latched(tv) == (-2, "No convergence in von Mises eigenvalue computation")
    tv.errorhandling.rsxerr(True)

    a, b = np.array([[4.0, 1.0], [1.0, 3.0]]), np.array([1.0, 2.0])
    x = m.conjucategradient(a, b, [0.0, 0.0])
    np.testing.assert_allclose(a @ x, b, atol=1e-14)
    # A start at the solution: a zero correction (no 0/0 step).
    np.testing.assert_array_equal(m.conjucategradient(a, b, x), [0.0, 0.0])
    with pytest.raises(error, match=r"\(n==m\)"):
        m.conjucategradient(np.ones((3, 2)), b, b)
    assert latched(tv)[0] == 0


def test_modal_assurance_and_householder(m):
    assert m.vectormodalassurancecriterion([1, 2, 3], [2, 4, 6]) == pytest.approx(1.0)
    assert m.vectormodalassurancecriterion([1, 0], [0, 1]) == 0.0
    s = np.array([[2.0, 1.0], [1.0, 3.0]])
    np.testing.assert_allclose(np.diag(m.matrixmodalassurancecriterion(s, s)), [1, 1])
    h = m.gethouseholdertransformationmatrix([0.6, 0.0, 0.8])
    np.testing.assert_allclose(h @ h, np.eye(3), atol=1e-15)
    np.testing.assert_allclose(h @ [0.6, 0.0, 0.8], [-0.6, 0.0, -0.8], atol=1e-15)
