"""Searching, selecting and reordering from Python: exact comparisons,
1-based positions, -1 or the caller's value for what does not occur."""
import numpy as np
import pytest
from numpy.testing import assert_array_equal

NAN = float("nan")
BIG = 1.7976931348623157e308


@pytest.fixture(scope="module")
def ut(tv):
    return tv.utility


def test_findlocation(ut):
    assert ut.real_findlocation(2.0, [1.0, 2.0, 2.0]) == 2
    assert ut.real_findlocation(5.0, [1.0, 2.0, 2.0]) == -1
    assert ut.real_findlocation(5.0, [1.0, 2.0], notfound=0) == 0
    assert ut.real_findlocation(NAN, [1.0, NAN], notfound=-9) == -9
    assert ut.real_findlocation(-0.0, [1.0, 0.0]) == 2
    assert ut.real_findlocation(1.0 + 1e-15, [1.0]) == -1  # no tolerance
    assert ut.int_findlocation(3, [1, 2, 3], 2) == -1  # only ndim entries are searched
    assert ut.int_findlocation(3, [3], 0) == -1
    assert ut.cmplx_findlocation(1 + 2j, [1 - 2j, 2 + 1j, 1 + 2j]) == 3


def test_findsubarray(ut):
    assert ut.int_findsubarray([2, 3], [1, 2, 3, 2, 3]) == 2
    assert ut.int_findsubarray([3, 4], [1, 2, 3, 2, 3]) == -1
    assert ut.int_findsubarray([1, 2, 3], [1, 2], notfound=-5) == -5
    assert ut.int_findsubarray([], [1, 2]) == 1
    assert ut.int_findsubarray([], [], sdim=0, ndim=0) == 1
    assert ut.real_findsubarray([NAN], [NAN]) == -1
    assert ut.cmplx_findsubarray([1j, 2j], [0, 1j, 2j]) == 2


def test_pairs_and_tests(ut):
    assert_array_equal(ut.int_getpairs([5, 7], [7, 9]), [-1, 1])
    assert_array_equal(ut.real_getpairs([2.0, NAN, 0.0], [2.0, -0.0, 2.0]), [1, -1, 2])
    assert ut.int_bounded(3, 3, 5) == 1 and ut.int_bounded(3, 5, 3) == 0
    assert ut.real_bounded(NAN, -1.0, 1.0) == 0 and ut.real_bounded(1.0, 1.0, 1.0) == 1
    assert ut.int_exlist(2, [2, 2, 2]) == 1
    assert ut.int_exlist(2, [2, 3]) == 0
    assert ut.int_exlist(2, []) == 1
    assert ut.int_inlist(2, []) == 0
    assert ut.real_inlist(NAN, [NAN]) == 0
    assert ut.real_exlist(0.0, [-0.0, 0.0]) == 1
    assert type(ut.int_inlist(2, [2])) is int  # flags come back as 0 and 1


def test_logical_connectives(ut):
    table = [(a, b) for a in (0, 1) for b in (0, 1)]
    assert [ut.logical_xor(a, b) for a, b in table] == [0, 1, 1, 0]
    assert [ut.logical_nor(a, b) for a, b in table] == [1, 0, 0, 0]
    assert [ut.logical_nand(a, b) for a, b in table] == [1, 1, 1, 0]
    assert ut.logical_xor(5, True) == 0  # any non-zero is true


def test_selection(ut):
    assert_array_equal(ut.getindicesexcludingsubarray([4, 5, 6, 5], [5]), [1, 3, -1, -1])
    assert_array_equal(ut.getindicesexcludingsubarray([4, 5], []), [1, 2])
    lst = [3.0, 1, 4, 1, 5]
    assert_array_equal(ut.getpackedlist(lst, 2.0, 0.0, 5, 4), [3, 4, 5, 0])
    assert_array_equal(ut.getpackedlist(lst, 2.0, 0.0, 5, 2), [0, 0])
    assert_array_equal(ut.getpackedlist(lst, 1.0, -1.0, 3, 3), [1, 1, -1])
    assert_array_equal(ut.getpackedlist(lst, 1.0, -1.0, 0, 3), [-1, -1, -1])
    assert_array_equal(ut.getpackedlist(lst, 1.0, -1.0, 7, 3), [-1, -1, -1])
    # a NaN passes "not equal" only
    assert_array_equal(ut.getpackedlist([NAN, 1.0], 0.0, 9.0, 6, 2)[:1], [NAN])
    assert_array_equal(ut.getpackedlist([NAN, 1.0], 0.0, 9.0, 5, 2), [1, 9])


def test_getcontinuous(ut):
    assert_array_equal(ut.real_getcontinuous([3.0, 1, 2, 1], 1), [2, 4, 3, 1])
    assert_array_equal(ut.real_getcontinuous([3.0, 1, 2, 1], -1), [1, 3, 2, 4])
    assert_array_equal(ut.int_getcontinuous([2, 2, 1], -1), [1, 2, 3])
    # NaNs follow the numbers in position order
    assert_array_equal(ut.real_getcontinuous([NAN, 2.0, NAN, 1.0], 1), [4, 2, 1, 3])
    assert_array_equal(ut.real_getcontinuous([NAN, 2.0, NAN, 1.0], -1), [2, 4, 1, 3])
    assert ut.int_getcontinuous([], 1).shape == (0,)


@pytest.mark.parametrize("x, y, merged", [
    ([1, 2, 3], [3, 4], [1, 2, 4, 3, 2147483647]),
    ([0, 5], [5], [5, 0, 2147483647]),
    ([3, 3, 1], [3], [1, 3, 2147483647, 2147483647]),
    ([], [], []),
    ([2, 2], [], [2, 2]),
    ([0, 1], [0], [1, 0, 2147483647]),
])
def test_int_getmerged(ut, x, y, merged):
    assert_array_equal(ut.int_getmerged(x, y), merged)


def test_real_getmerged(ut):
    assert_array_equal(ut.real_getmerged([1.0, 2.0], [2.0]), [1.0, 2.0, BIG])
    assert_array_equal(ut.real_getmerged([1.0], [2.0], defval=-1.0), [1.0, 2.0])
    assert_array_equal(ut.real_getmerged([1.0, 2.0], [2.0], defval=-1.0), [1.0, 2.0, -1.0])
    # a NaN is placed once and nothing is written outside the result
    assert_array_equal(ut.real_getmerged([NAN, 1.0], [1.0]), [NAN, 1.0, BIG])
    assert_array_equal(ut.real_getmerged([NAN], [NAN]), [NAN, NAN])


def test_flips_swaps_increments(ut):
    assert_array_equal(ut.vectorflip([1.0, 2, 3]), [3, 2, 1])
    assert_array_equal(ut.vectorflip([1.0, 2, 3], 2), [2, 1])
    a = np.array([[1.0, 2], [3, 4]])
    assert_array_equal(ut.matrixflip(a, 0), [[3, 4], [1, 2]])
    assert_array_equal(ut.matrixflip(a, -1), [[2, 1], [4, 3]])
    assert ut.int_swap(1, 2) == (2, 1)
    assert ut.real_swap(1.5, -2.0) == (-2.0, 1.5)
    assert ut.cmplx_swap(1j, 2) == (2, 1j)
    assert ut.int_inc(4) == 5 and ut.int_inc(4, -6) == -2
    assert ut.int_inc(2147483647) == -2147483648  # two's-complement wrap-around
    assert ut.real_inc(1.5) == 2.5 and ut.real_inc(1.5, 0.25) == 1.75
