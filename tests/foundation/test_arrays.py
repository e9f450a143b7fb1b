"""Array construction and filling from Python: fills, zero arrays, copies,
constructed matrices, triangles, slicing, concatenation and splitting."""
import numpy as np
import pytest
from numpy.testing import assert_array_equal


@pytest.fixture(scope="module")
def ut(tv):
    return tv.utility


def test_fill_family(ut):
    for rank in range(1, 8):
        name = {1: "vector", 2: "matrix"}.get(rank, f"{rank}darray")
        shape = (2, 1, 3, 1, 2, 1, 2)[:rank]
        a = np.zeros(shape)
        filled = getattr(ut, f"real_fill{name}withscalar")(a, 2.5)
        assert filled.shape == shape and (filled == 2.5).all() and not a.any()
        ints = getattr(ut, f"int_fill{name}withscalar")(np.zeros(shape, np.int32), -3)
        assert (ints == -3).all()
    # the result is a filled copy: the caller's array is left as it was
    a = np.zeros((2, 3), order="F")
    assert (ut.real_fillmatrixwithscalar(a, 1.0) == 1.0).all() and not a.any()
    assert ut.real_fillmatrixwithscalar(np.zeros((0, 3)), 1.0).shape == (0, 3)


def test_zero_arrays_and_copies(ut):
    assert ut.inimaxdarraywithzeros(1, 2, 1, 2, 1, 2, 1).shape == (1, 2, 1, 2, 1, 2, 1)
    assert ut.ini3darraywithzeros(2, 0, 2).shape == (2, 0, 2)
    assert_array_equal(ut.real_vectorcopy([1.0, 2.0, 3.0], 2), [1.0, 2.0])
    assert_array_equal(ut.cmplx_vectorcopy([1j, 2]), [1j, 2])
    # the list is read column by column
    assert_array_equal(ut.getunpackedmatrixfromlist([1.0, 2, 3, 4, 5, 6], 2, 3), [[1, 3, 5], [2, 4, 6]])


def test_sorts_copy_selected_entries(ut):
    assert_array_equal(ut.vectorsort([1.0, 2, 3], [7.0, 8, 9], [3]), [1, 2, 9])
    a = np.zeros((2, 3))
    b = np.arange(1.0, 7.0).reshape(2, 3)
    assert_array_equal(ut.matrixsort(a, b, [3, 1]), [[1, 0, 3], [4, 0, 6]])


def test_sorts_skip_mask_entries_outside_the_arrays(ut):
    # the mask is shorter than the arrays it indexes; entries beyond either
    # array (here 5 and 0) are skipped
    assert_array_equal(ut.vectorsort([1.0, 2, 3, 4], [7.0, 8, 9, 10], [4, 5, 0]), [1, 2, 3, 10])
    assert_array_equal(ut.vectorsort([1.0, 2, 3, 4], [7.0, 8], [1, 4]), [7, 2, 3, 4])
    a = np.zeros((2, 2))
    b = np.ones((2, 3))
    assert_array_equal(ut.matrixsort(a, b, [3, 2, -1]), [[0, 1], [0, 1]])


def test_constructed_matrices(ut):
    assert_array_equal(ut.getscalarmatrix(2, 3.0), [[3, 0], [0, 3]])
    assert_array_equal(ut.geteyematrix(3), ut.getidentitymatrix(3))
    e = ut.geteyematrix(4, 2)
    assert list(zip(*np.nonzero(e))) == [(0, 2), (1, 3)]
    assert list(zip(*np.nonzero(ut.geteyematrix(3, -1)))) == [(1, 0), (2, 1)]
    assert not ut.geteyematrix(4, -4).any()
    assert not ut.geteyematrix(4, 2147483647).any()
    assert_array_equal(ut.getindexvector(4), [1, 2, 3, 4])
    assert ut.getindexvector(4).dtype == np.int32


def test_linspace(ut):
    assert_array_equal(ut.linspace(0.0, 1.0, 5), [0, 0.25, 0.5, 0.75, 1])
    # x(i) = a + (i-1)*dx exactly: 0, 0.2, 0.4, 0.6 (3*0.2), 0.8
    assert_array_equal(ut.linspace(0.0, 1.0, 5, False), np.arange(5) * 0.2)
    assert_array_equal(ut.linspace(2.0, 5.0, 1), [2.0])  # one point is the start, not NaN
    assert_array_equal(ut.linspace(2.0, 5.0, 1, False), [2.0])
    assert ut.linspace(2.0, 5.0, 0).shape == (0,)
    # points are formed from the index: no drift over many steps
    x = ut.linspace(0.0, 1.0, 10001)
    assert x[5000] == 0.5 and x[-1] == 1.0


def test_triangles(ut):
    a = np.arange(1.0, 10.0).reshape(3, 3)
    assert_array_equal(ut.gettriangularmatrix(a), np.tril(a))
    assert_array_equal(ut.gettriangularmatrix(a, luflag=True), np.triu(a))
    assert_array_equal(ut.symmetrize([[1.0, 0], [5, 2]]), [[1, 5], [5, 2]])
    assert_array_equal(ut.symmetrize([[1.0, 3], [5, 2]]), [[1, 3], [5, 2]])


@pytest.mark.parametrize("upper, order, rows", [
    (True, "F", [[1, 2], [0, 3]]), (False, "F", [[1, 0], [2, 3]]),
    (True, "C", [[1, 0], [2, 3]]), (False, "C", [[1, 2], [0, 3]]),
    (True, "f", [[1, 0], [2, 3]]),  # only the capital F is column-major
])
def test_getunpackedtriangle(ut, upper, order, rows):
    assert_array_equal(ut.getunpackedtriangle([1.0, 2, 3], 2, order, upper=upper), rows)


def test_getunpackedtriangle_reads_only_its_packed_length(ut):
    # three values for a 3x3 triangle: the rest stays zero
    lu = ut.getunpackedtriangle([1.0, 2, 3], 3, "F", upper=True)
    assert_array_equal(lu, [[1, 2, 0], [0, 3, 0], [0, 0, 0]])
    assert_array_equal(ut.getunpackedtriangle([1.0, 2, 3, 4], 3, "F", np=1, upper=True)[0], [1, 0, 0])


def test_fillmatrixoffdiagonals(ut):
    a = np.diag([9.0, 9, 9])
    low = ut.fillmatrixoffdiagonals(a, [1.0, 2, 3])
    assert_array_equal(low, [[9, 0, 0], [1, 9, 0], [2, 3, 9]])
    both = ut.fillmatrixoffdiagonals(a, [1.0, 2, 3, 4, 5, 6])
    assert_array_equal(both, [[9, 4, 5], [1, 9, 6], [2, 3, 9]])
    # a count shorter than the triangle: only that many values are read
    assert_array_equal(ut.fillmatrixoffdiagonals(a, [1.0, 2]), [[9, 0, 0], [1, 9, 0], [2, 0, 9]])
    assert_array_equal(ut.fillmatrixoffdiagonals(a, [1.0, 2, 3, 4]), [[9, 4, 0], [1, 9, 0], [2, 3, 9]])


def test_getsubarray(ut):
    x = [1.0, 2, 3, 4, 5]
    sub, sl = ut.getsubarray(x, 2)
    assert_array_equal(sub, [4, 5])
    assert_array_equal(sl, [4, 5])
    sub, sl = ut.getsubarray(x, 2, tail=False)
    assert_array_equal(sub, [1, 2])
    assert_array_equal(sl, [1, 2])
    sub, sl = ut.getsubarray(x, 6)
    assert_array_equal(sub, np.ones(6))
    assert_array_equal(sl, [-1, -1])
    sub, sl = ut.getsubarray(x, 0)
    assert sub.shape == (0,) and list(sl) == [-1, -1]


def test_matrixconcatenation(ut, error):
    a = np.ones((2, 2))
    assert ut.matrixconcatenation(a, 2 * np.ones((2, 3)), 0).shape == (2, 5)
    ab = ut.matrixconcatenation(a, 2 * np.ones((3, 2)), 1)
    assert_array_equal(ab, [[1, 1], [1, 1], [2, 2], [2, 2], [2, 2]])
    # a smaller b leaves zeros; another ctype gives zeros only
    assert_array_equal(ut.matrixconcatenation(a, [[2.0]], 0), [[1, 1, 2], [1, 1, 0]])
    assert not ut.matrixconcatenation(a, [[2.0]], 2).any()
    # a b that does not fit beside or below a is refused
    with pytest.raises(error, match="ctype"):
        ut.matrixconcatenation(a, np.ones((3, 1)), 0)
    with pytest.raises(error, match="ctype"):
        ut.matrixconcatenation(a, np.ones((1, 3)), 1)


def test_splits(ut, error):
    assert_array_equal(ut.vectorsplit(np.arange(1.0, 7.0), 3), [[1, 3, 5], [2, 4, 6]])
    assert_array_equal(ut.vectorsplit(np.arange(1.0, 7.0), 4), -np.ones((1, 4)))
    b = ut.matrixsplit(np.arange(1.0, 9.0).reshape(4, 2, order="F"), 2)
    assert b.shape == (2, 2, 2)
    assert_array_equal(b[:, :, 0], [[1, 5], [2, 6]])
    assert_array_equal(b[:, :, 1], [[3, 7], [4, 8]])
    assert (ut.matrixsplit(np.ones((3, 2)), 2) == -1).all()
    for k in (0, -2):  # refused before n/k is formed
        with pytest.raises(error, match="k>=1"):
            ut.vectorsplit([1.0, 2.0], k)
        with pytest.raises(error, match="k>=1"):
            ut.matrixsplit(np.ones((2, 2)), k)
