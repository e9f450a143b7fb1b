"""Array construction and filling from Python: fills, copies, constructed
matrices, triangles, slicing, concatenation and splitting (what the routines
read and write at odd extents is tested in C++)."""
import numpy as np
import pytest

A3 = np.arange(1.0, 10.0).reshape(3, 3)


@pytest.fixture(scope="module")
def ut(tv):
    return tv.utility


def test_fill_family_returns_filled_copies(ut):
    for rank in range(1, 8):
        name = {1: "vector", 2: "matrix"}.get(rank, f"{rank}darray")
        a = np.zeros((2, 1, 3, 1, 2, 1, 2)[:rank], order="F")
        assert (getattr(ut, f"real_fill{name}withscalar")(a, 2.5) == 2.5).all() and not a.any()
        assert (getattr(ut, f"int_fill{name}withscalar")(a.astype(np.int32), -3) == -3).all()


@pytest.mark.parametrize("name, args, expected", [
    ("getunpackedmatrixfromlist", ([1.0, 2, 3, 4, 5, 6], 2, 3), [[1, 3, 5], [2, 4, 6]]),
    ("vectorsort", ([1.0, 2, 3, 4], [7.0, 8], [1, 4]), [7, 2, 3, 4]),  # a and b have their own extents
    ("geteyematrix", (3,), np.eye(3)), ("getidentitymatrix", (3,), np.eye(3)),
    ("geteyematrix", (3, -1), np.eye(3, k=-1)), ("geteyematrix", (4, 2147483647), np.zeros((4, 4))),
    ("getindexvector", (4,), np.array([1, 2, 3, 4], dtype=np.int32)),
    ("linspace", (0.0, 1.0, 5, False), np.arange(5) * 0.2),  # x(i) = a + (i-1)*dx exactly
    ("linspace", (0.0, 1.0, 10001), np.arange(10001) * 1e-4),  # formed from the index: no drift
    ("linspace", (2.0, 5.0, 1), [2.0]),  # one point is the start, not NaN
    ("gettriangularmatrix", (A3,), np.tril(A3)), ("gettriangularmatrix", (A3, {"luflag": True}), np.triu(A3)),
    ("symmetrize", ([[1.0, 0], [5, 2]],), [[1, 5], [5, 2]]), ("symmetrize", ([[1.0, 3], [5, 2]],), [[1, 3], [5, 2]]),
    ("fillmatrixoffdiagonals", (np.diag([9.0, 9, 9]), [1.0, 2, 3, 4, 5, 6]), [[9, 4, 5], [1, 9, 6], [2, 3, 9]]),
    ("getunpackedtriangle", ([1.0, 2, 3], 2, "C", {"upper": False}), [[1, 2], [0, 3]]),
    ("getunpackedtriangle", ([1.0, 2, 3], 2, "f", {"upper": True}), [[1, 0], [2, 3]]),  # only F is column-major
    # np counts the values read: none leaves the zero matrix, one only t11.
    ("getunpackedtriangle", ([5.0, 6, 7], 2, "F", {"np": 0}), np.zeros((2, 2))),
    ("getunpackedtriangle", ([5.0, 6, 7], 2, "F", {"np": 1}), [[5, 0], [0, 0]]),
    ("getsubarray", ([1.0, 2, 3, 4, 5], 2), ([4, 5], [4, 5])),
    ("getsubarray", ([1.0, 2, 3, 4, 5], 6), ([1] * 6, [-1, -1])),
    ("matrixconcatenation", (np.ones((2, 2)), [[2.0]], 0), [[1, 1, 2], [1, 1, 0]]),
    ("vectorsplit", (np.arange(1.0, 7.0), 3), [[1, 3, 5], [2, 4, 6]]),
    ("matrixsplit", (np.arange(1.0, 9.0).reshape(4, 2, order="F"), 2), [[[1, 3], [5, 7]], [[2, 4], [6, 8]]]),
])
def test_array_routines(ut, name, args, expected):
    kwargs = args[-1] if isinstance(args[-1], dict) else {}
    result = getattr(ut, name)(*args[:len(args) - bool(kwargs)], **kwargs)
    np.testing.assert_equal(result, expected)
    if isinstance(expected, np.ndarray):
        assert result.dtype == expected.dtype


def test_refusals(ut, error):
    for b, ctype in ((np.ones((3, 1)), 0), (np.ones((1, 3)), 1)):  # b must fit beside or below a
        with pytest.raises(error, match="ctype"):
            ut.matrixconcatenation(np.ones((2, 2)), b, ctype)
    for k in (0, -2):  # refused before n/k is formed
        with pytest.raises(error, match="k>=1"):
            ut.vectorsplit([1.0, 2.0], k)
        with pytest.raises(error, match="k>=1"):
            ut.matrixsplit(np.ones((2, 2)), k)
