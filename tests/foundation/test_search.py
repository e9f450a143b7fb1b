"""Searching, selecting and reordering from Python: exact comparisons,
1-based positions, -1 or the caller's value for what does not occur (the
merge is checked at length in C++; the three
value types share one template, so each rule is checked on one of them)."""
import numpy as np
import pytest

NAN = float("nan")
X = [1.0, NAN, -0.0, 1.0, 0.0, -2.0, NAN]


@pytest.mark.parametrize("name, args, expected", [
    ("real_findlocation", (2.0, [1.0, 2.0, 2.0]), 2), ("real_findlocation", (NAN, [1.0, NAN], {"notfound": -9}), -9),
    ("int_findlocation", (3, [1, 2, 3], 2), -1),  # only ndim entries are searched
    ("cmplx_findlocation", (1 + 2j, [1 - 2j, 2 + 1j, 1 + 2j]), 3),
    ("int_findsubarray", ([2, 3], [1, 2, 3, 2, 3]), 2), ("int_findsubarray", ([], [1, 2]), 1),
    ("int_findsubarray", ([1, 2, 3], [1, 2], {"notfound": -5}), -5),
    ("int_getpairs", ([5, 7], [7, 9]), np.array([-1, 1])),
    # flags come back as 0 and 1
    ("int_bounded", (3, 3, 5), 1), ("int_bounded", (3, 5, 3), 0), ("real_bounded", (NAN, -1.0, 1.0), 0),
    ("int_exlist", (2, [2, 3]), 0), ("int_exlist", (2, []), 1), ("int_inlist", (2, []), 0),
    ("logical_nand", (1, 1), 0), ("logical_nand", (0, 0), 1), ("logical_xor", (5, True), 0),  # any non-zero is true
    ("getindicesexcludingsubarray", ([4, 5, 6, 5], [5]), np.array([1, 3, -1, -1])),
    ("getpackedlist", ([3.0, 1, 4, 1, 5], 2.0, 0.0, 5, 4), np.array([3.0, 4, 5, 0])),
    ("getpackedlist", ([3.0, 1, 4, 1, 5], 2.0, 0.0, 5, 2), np.array([0.0, 0])),
    ("getpackedlist", ([NAN, 1.0], 0.0, 9.0, 6, 2), np.array([NAN, 1.0])),  # a NaN passes "not equal" only
    ("getpackedlist", ([NAN, 1.0], 0.0, 9.0, 5, 2), np.array([1.0, 9])),
    # equal values (-0.0 and 0.0 too) in position order, NaNs last in position order
    ("real_getcontinuous", (X, 1), np.array([6, 3, 5, 1, 4, 2, 7])),
    ("real_getcontinuous", (X, -1), np.array([1, 4, 3, 5, 6, 2, 7])),
    ("real_getcontinuous", (X, 0), np.array([6, 3, 5, 1, 4, 2, 7])),
    ("int_getcontinuous", ([], 1), np.array([], np.int32)),
    ("int_getmerged", ([1, 2, 3], [3, 4]), np.array([1, 2, 4, 3, 2147483647])),
    ("real_getmerged", ([1.0, 2.0], [2.0], {"defval": -1.0}), np.array([1.0, 2.0, -1.0])),
    ("vectorflip", ([1.0, 2, 3], 2), np.array([2.0, 1])), ("cmplx_swap", (1j, 2), (2, 1j)),
    ("matrixflip", ([[1.0, 2], [3, 4]], 0), np.array([[3.0, 4], [1, 2]])),
    ("matrixflip", ([[1.0, 2], [3, 4]], -1), np.array([[2.0, 1], [4, 3]])),
    ("int_inc", (2147483647,), -2147483648), ("real_inc", (1.5, 0.25), 1.75),  # two's-complement wrap-around
])
def test_search_routines(tv, name, args, expected):
    kwargs = args[-1] if isinstance(args[-1], dict) else {}
    result = getattr(tv.utility, name)(*args[:len(args) - bool(kwargs)], **kwargs)
    np.testing.assert_equal(result, expected)
    assert type(result) is type(expected)
    if isinstance(expected, np.ndarray):
        assert result.dtype.kind == expected.dtype.kind
