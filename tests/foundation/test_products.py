"""Products, accumulations and point operations from Python."""
import numpy as np
import pytest
from tolerances import assert_close, product_atol

SQUARE = ([0.0, 1.0, 1.0, 0.0], [0.0, 0.0, 1.0, 1.0])


def test_products_against_numpy(m):
    rng = np.random.default_rng(5)
    a, b, x = rng.uniform(-1, 1, (3, 4)), rng.uniform(-1, 1, (4, 2)), rng.uniform(-1, 1, 4)
    u, v, w = rng.uniform(-1, 1, (3, 3))
    # Sums that BLAS forms in its own order, within the rounding of their terms.
    for got, factors in ((m.matrixproduct(a, b), (a, b)), (m.matrixvectorproduct(a, x), (a, x)),
                         (m.vectormatrixproduct(x, b), (x, b)), (m.dotproduct(u, v), (u, v)),
                         (m.scalartripleproduct(u, v, w), (u, np.cross(v, w)))):
        assert_close(got, np.linalg.multi_dot(factors), product_atol(*factors))
    # Cross products: the same two-term differences on either side.
    for got, want in ((m.crossproduct(u, v), np.cross(u, v)),
                      (m.vectortripleproduct(u, v, w), np.cross(u, np.cross(v, w)))):
        np.testing.assert_allclose(got, want, atol=1e-15)
    p, q = np.arange(6.0).reshape(2, 3) + 1, np.arange(20.0).reshape(4, 5) - 3
    np.testing.assert_array_equal(m.kroneckerproduct(p, q), np.kron(p, q))
    np.testing.assert_array_equal(m.dyadenproduct([1.0, 2.0], [3.0, 4.0, 5.0]), np.outer([1, 2], [3, 4, 5]))
    assert m.dotproduct([1.0], [2.0], l=0) == 0.0


@pytest.mark.parametrize("call, want", [
    # Zero entries of the right factor are skipped: no inf·0.
    (lambda m: m.matrixproduct([[np.inf, 1.0], [2.0, 3.0]], [[0.0, 1.0], [0.0, 1.0]])[:, 0], [0.0, 0.0]),
    (lambda m: m.hadamardproduct([[2.0, 0.0]], [[3.0, np.nan]]), [[6.0, 0.0]]),
    (lambda m: m.hadamarddivision([[1.0, 0.0, 6.0]], [[0.0, 0.0, 3.0]]), [[0.0, 0.0, 2.0]]),
    # Accumulations: a + 2·b, not 2·b.
    (lambda m: m.matrixscalarmultiplication([[1.0, 2.0], [3.0, 4.0]], np.ones((2, 2)), 2.0), [[3, 4], [5, 6]]),
    (lambda m: m.vectorscalarmultiplication([1.0, 1.0], [1.0, 2.0], -1.0), [0.0, -1.0]),
    # Amplification touches the non-zero entries only: an infinite factor leaves 0 at 0.
    (lambda m: m.matrixamplify([[0.0, 2.0]], np.inf), [[0.0, np.inf]]),
    # Shrinkage clamps its factor to [0, 1]; NaN counts as 0.
    (lambda m: [m.matrixshrinkage([[1.0, 2.0]], [[5.0, 7.0]], f) for f in (1.5, -1.0, np.nan, 0.5)],
     [[[1.0, 2.0]], [[5.0, 7.0]], [[5.0, 7.0]], [[3.0, 4.5]]]),
    (lambda m: m.coordinatereflection([1, 0, 0], [0, 1, 0], [1, 2, 3]), [1, 2, -3]),  # in the x-y plane
    # A point in the plane stays; one above it drops onto the plane through r0.
    (lambda m: m.coordinateprojection([1, 0, 0], [0, 1, 0], [4, 5, 0]), [4, 5, 0]),
    (lambda m: m.coordinateprojection([1, 0, 0], [0, 1, 0], [4, 5, 9], r0=[0, 0, 2]), [4, 5, 2]),
    # Centroids of a polygon of either turn, closed or open.
    (lambda m: m.getcentroid(SQUARE[0][::-1], SQUARE[1][::-1]), [0.5, 0.5]),
    (lambda m: m.getcentroid(SQUARE[0] + [0.0], SQUARE[1] + [0.0]), [0.5, 0.5]),
])
def test_element_and_point_operations(m, call, want):
    np.testing.assert_array_equal(call(m), want)


def test_in_place_accumulation_rotation_and_packed_product(m, error):
    a = np.asfortranarray([[1.0, 2.0], [3.0, 4.0]])
    m.matrixscalarmultiplication(a, np.ones((2, 2)), 2.0)
    np.testing.assert_array_equal(a, [[1.0, 2.0], [3.0, 4.0]])  # kept unless the caller asks otherwise
    assert m.matrixsum(a, np.ones((2, 2)), overwrite_a=1) is a and a[0, 0] == 2.0
    np.testing.assert_allclose(m.coordinaterotation([0, 0, 1], [1, 0, 0], 90.0), [0, 1, 0], atol=1e-16)
    packed, x = [1.0, 2.0, 3.0, 4.0, 5.0, 6.0], [1.0, -1.0, 2.0]
    np.testing.assert_array_equal(m.lumatrixvectorproduct(packed, x), np.array([[1, 2, 3], [2, 4, 5], [3, 5, 6]]) @ x)
    # A packed vector shorter than n(n+1)/2 is refused, not read past.
    with pytest.raises(error, match=r"m>=n\*\(n\+1\)/2"):
        m.lumatrixvectorproduct(packed[:5], x)
