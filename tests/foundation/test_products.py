"""Products, accumulations and point operations from Python."""
import numpy as np
import pytest


@pytest.fixture
def m(tv):
    tv.errorhandling.rsxerr(True)
    yield tv.math
    tv.errorhandling.rsxerr(True)


def test_products_against_numpy(m):
    rng = np.random.default_rng(5)
    a, b = rng.uniform(-1, 1, (3, 4)), rng.uniform(-1, 1, (4, 2))
    np.testing.assert_allclose(m.matrixproduct(a, b), a @ b, atol=1e-15)
    x = rng.uniform(-1, 1, 4)
    np.testing.assert_allclose(m.matrixvectorproduct(a, x), a @ x, atol=1e-15)
    np.testing.assert_allclose(m.vectormatrixproduct(x, b), x @ b, atol=1e-15)
    u, v, w = rng.uniform(-1, 1, (3, 3))
    np.testing.assert_allclose(m.crossproduct(u, v), np.cross(u, v), atol=1e-15)
    np.testing.assert_allclose(m.vectortripleproduct(u, v, w), np.cross(u, np.cross(v, w)), atol=1e-15)
    assert m.scalartripleproduct(u, v, w) == pytest.approx(u @ np.cross(v, w), abs=1e-15)
    np.testing.assert_array_equal(m.dyadenproduct([1.0, 2.0], [3.0, 4.0, 5.0]), np.outer([1, 2], [3, 4, 5]))
    assert m.dotproduct(u, v) == pytest.approx(u @ v)
    assert m.dotproduct([1.0], [2.0], l=0) == 0.0


def test_zero_entries_of_the_right_factor_are_skipped(m):
    a = np.array([[np.inf, 1.0], [2.0, 3.0]])
    c = m.matrixproduct(a, [[0.0, 1.0], [0.0, 1.0]])
    np.testing.assert_array_equal(c[:, 0], [0.0, 0.0])


def test_kronecker_and_hadamard(m):
    a, b = np.arange(6.0).reshape(2, 3) + 1, np.arange(20.0).reshape(4, 5) - 3
    ab = m.kroneckerproduct(a, b)
    assert ab.shape == (8, 15)
    np.testing.assert_array_equal(ab, np.kron(a, b))
    np.testing.assert_array_equal(m.hadamardproduct([[2.0, 0.0]], [[3.0, np.nan]]), [[6.0, 0.0]])
    np.testing.assert_array_equal(m.hadamarddivision([[1.0, 0.0, 6.0]], [[0.0, 0.0, 3.0]]), [[0.0, 0.0, 2.0]])


def test_accumulations_are_accumulations(m):
    a = np.asfortranarray([[1.0, 2.0], [3.0, 4.0]])
    b = np.ones((2, 2))
    # a + 2·b, not 2·b; and the caller's array is kept unless it asks otherwise.
    np.testing.assert_array_equal(m.matrixscalarmultiplication(a, b, 2.0), [[3.0, 4.0], [5.0, 6.0]])
    np.testing.assert_array_equal(a, [[1.0, 2.0], [3.0, 4.0]])
    r = m.matrixsum(a, b, overwrite_a=1)
    assert r is a and a[0, 0] == 2.0
    np.testing.assert_array_equal(m.matrixsub([[1.0]], [[3.0]]), [[-2.0]])
    np.testing.assert_array_equal(m.vectorsub([1.0, 2.0], [1.0, 1.0]), [0.0, 1.0])
    np.testing.assert_array_equal(m.vectorscalarmultiplication([1.0, 1.0], [1.0, 2.0], -1.0), [0.0, -1.0])
    np.testing.assert_array_equal(m.getabvector([1.0, 5.0], [2.0, 3.0]), [1.0, -2.0])
    # Amplification touches the non-zero entries only: an infinite factor leaves 0 at 0.
    np.testing.assert_array_equal(m.matrixamplify([[0.0, 2.0]], np.inf), [[0.0, np.inf]])
    np.testing.assert_array_equal(m.vectoramplify([0.0, -1.0], 3.0), [0.0, -3.0])


def test_shrinkage_clamps_its_factor(m):
    a, b = np.array([[1.0, 2.0]]), np.array([[5.0, 7.0]])
    np.testing.assert_array_equal(m.matrixshrinkage(a, b, 1.5), a)
    np.testing.assert_array_equal(m.matrixshrinkage(a, b, -1.0), b)
    np.testing.assert_array_equal(m.matrixshrinkage(a, b, np.nan), b)
    np.testing.assert_array_equal(m.matrixshrinkage(a, b, 0.5), [[3.0, 4.5]])


def test_packed_symmetric_product(m, error):
    s = np.array([[1.0, 2.0, 3.0], [2.0, 4.0, 5.0], [3.0, 5.0, 6.0]])
    packed = [1.0, 2.0, 3.0, 4.0, 5.0, 6.0]
    x = np.array([1.0, -1.0, 2.0])
    np.testing.assert_array_equal(m.lumatrixvectorproduct(packed, x), s @ x)
    # A packed vector shorter than n(n+1)/2 is refused, not read past.
    with pytest.raises(error, match=r"m>=n\*\(n\+1\)/2"):
        m.lumatrixvectorproduct(packed[:5], x)


def test_point_operations(m):
    np.testing.assert_allclose(m.coordinaterotation([0, 0, 1], [1, 0, 0], 90.0), [0, 1, 0], atol=1e-16)
    np.testing.assert_array_equal(m.coordinatetranslation([1, 2, 3], [1, 1, 1]), [2, 3, 4])
    # Mirror in the x-y plane.
    np.testing.assert_array_equal(m.coordinatereflection([1, 0, 0], [0, 1, 0], [1, 2, 3]), [1, 2, -3])
    # A point in the plane stays; one above it drops onto the plane through r0.
    np.testing.assert_array_equal(m.coordinateprojection([1, 0, 0], [0, 1, 0], [4, 5, 0]), [4, 5, 0])
    np.testing.assert_array_equal(m.coordinateprojection([1, 0, 0], [0, 1, 0], [4, 5, 9], r0=[0, 0, 2]),
                                  [4, 5, 2])


def test_centroid_of_the_unit_square(m):
    ccw = ([0.0, 1.0, 1.0, 0.0], [0.0, 0.0, 1.0, 1.0])
    np.testing.assert_allclose(m.getcentroid(*ccw), [0.5, 0.5])
    np.testing.assert_allclose(m.getcentroid(ccw[0][::-1], ccw[1][::-1]), [0.5, 0.5])
    np.testing.assert_allclose(m.getcentroid(ccw[0] + [0.0], ccw[1] + [0.0]), [0.5, 0.5])
    np.testing.assert_allclose(m.getcentroid([0.0, 2.0, 0.0], [0.0, 0.0, 3.0]), [2 / 3, 1.0])
    np.testing.assert_array_equal(m.getcentroid([0.0, 1.0], [0.0, 1.0]), [0.0, 0.0])  # no area
