"""The growable lists from Python: creation, appends with and without the
uniqueness test, growth, sizes, copies, markers and out-of-range numbers."""
import numpy as np
import pytest

BIG = 1.7976931348623157e308
INT_MARKER = 2147483647


@pytest.fixture
def lh(tv):
    lh = tv.listhandling

    def free_all():
        for flag in range(3):
            for listid in range(1, 4):
                lh.deallocatelist(listid, flag)

    free_all()
    yield lh
    free_all()


def contents(lh, listid, flag, n=12):
    copy = {0: lh.int_getcopyoflist, 1: lh.real_getcopyoflist, 2: lh.cmplx_getcopyoflist}[flag]
    dtype = {0: np.int32, 1: np.float64, 2: np.complex128}[flag]
    values, ierror = copy(listid, np.full(n, -7, dtype=dtype))
    assert ierror == 0
    return values


def test_first_append_creates_the_list(lh):
    assert lh.getallocationstatus(1, 0) is False
    assert lh.int_appendscalar2list(1, 7, 1) == 1
    assert lh.getallocationstatus(1, 0) is True
    assert lh.getsizeoflist(1, 0) == 1
    copy = contents(lh, 1, 0, 600)
    assert copy[0] == 7 and (copy[1:500] == INT_MARKER).all() and (copy[500:] == -7).all()


def test_uniqueness_test(lh):
    lh.int_appendscalar2list(1, 7, 1)
    assert lh.int_appendscalar2list(1, 7, 1) == 0
    assert lh.getsizeoflist(1, 0) == 1
    assert lh.int_appendscalar2list(1, 7, 0) == 1
    assert lh.getsizeoflist(1, 0) == 2
    # the free slots count too: the marker itself is "already there"
    assert lh.int_appendscalar2list(1, INT_MARKER, 1) == 0
    # -0.0 equals 0.0; a NaN equals nothing and is always appended
    assert lh.real_appendscalar2list(2, 0.0, 1) == 1
    assert lh.real_appendscalar2list(2, -0.0, 1) == 0
    assert lh.real_appendscalar2list(2, np.nan, 1) == 1
    assert lh.real_appendscalar2list(2, np.nan, 1) == 1
    assert lh.getsizeoflist(2, 1) == 3
    assert lh.cmplx_appendscalar2list(3, 1 + 2j, 1) == 1
    assert lh.cmplx_appendscalar2list(3, 1 - 2j, 1) == 1
    assert lh.cmplx_appendscalar2list(3, 1 + 2j, 1) == 0
    assert lh.getsizeoflist(3, 2) == 2


def test_growth_by_the_increment(lh):
    for v in (1, 2, 3):
        assert lh.int_appendscalar2list(1, v, 0, allocinc=2) == 1
    assert lh.getsizeoflist(1, 0) == 3
    np.testing.assert_array_equal(contents(lh, 1, 0, 6), [1, 2, 3, INT_MARKER, -7, -7])
    # many appends: every value kept in order
    values = np.arange(1000, 2500)
    for v in values:
        lh.real_appendscalar2list(2, float(v), 1, 7)
    assert lh.getsizeoflist(2, 1) == 1500
    np.testing.assert_array_equal(contents(lh, 2, 1, 1500), values)


def test_array_appends(lh):
    lh.int_appendarray2list(1, [5, 1, 2], 0)
    assert lh.int_appendarray2list(1, [1, 2], 1) == 0  # the run 1, 2 is there
    assert lh.int_appendarray2list(1, [2, 5], 1) == 1  # 2, 5 is not a run
    np.testing.assert_array_equal(contents(lh, 1, 0, 5), [5, 1, 2, 2, 5])
    assert lh.int_appendarray2list(1, [], 1) == 0
    assert lh.int_appendarray2list(1, [9, 9, 9], 1, narray=2) == 1
    assert lh.getsizeoflist(1, 0) == 7
    assert lh.real_appendarray2list(2, [np.nan], 1) == 1  # a NaN run never occurs
    assert lh.cmplx_appendarray2list(3, [1j, 2j], 1) == 1
    assert lh.cmplx_appendarray2list(3, [2j], 1) == 0


def test_allocate_empties_an_existing_list(lh):
    assert lh.allocatelist(1, 0, 10) == 0
    assert lh.getsizeoflist(1, 0) == 0
    lh.int_appendarray2list(1, [1, 2, 3], 0)
    assert lh.getsizeoflist(1, 0) == 3
    assert lh.allocatelist(1, 0, 99) == 5014
    assert lh.getsizeoflist(1, 0) == 0
    np.testing.assert_array_equal(contents(lh, 1, 0, 12), [INT_MARKER] * 10 + [-7, -7])
    assert lh.allocatelist(2, 1, 0) == 0  # an empty list: the first append grows it
    assert lh.getsizeoflist(2, 1) == 0
    assert lh.real_appendscalar2list(2, 4.0, 0, 3) == 1
    np.testing.assert_array_equal(contents(lh, 2, 1, 4), [4.0, BIG, BIG, -7])


def test_absent_lists(lh):
    assert lh.deallocatelist(1, 0) == 1
    assert lh.getsizeoflist(1, 0) == -1
    copy, ierror = lh.int_getcopyoflist(1, np.array([3, 4], dtype=np.int32))
    assert ierror == -1
    np.testing.assert_array_equal(copy, [3, 4])
    lh.int_appendscalar2list(1, 1, 0)
    assert lh.deallocatelist(1, 0) == 0
    assert lh.getallocationstatus(1, 0) is False


def test_lists_are_told_apart_by_number_and_type(lh):
    lh.int_appendscalar2list(1, 1, 0)
    lh.int_appendscalar2list(2, 2, 0)
    lh.real_appendscalar2list(1, 3.0, 0)
    assert [lh.getsizeoflist(i, f) for f in range(3) for i in (1, 2, 3)] == [1, 1, -1, 1, -1, -1, -1, -1, -1]


def test_out_of_range_numbers_touch_nothing(lh):
    for listid, flag in ((0, 0), (4, 0), (-1, 1), (1, 3), (1, -1)):
        assert lh.allocatelist(listid, flag, 5) == -1
        assert lh.deallocatelist(listid, flag) == -1
        assert lh.getallocationstatus(listid, flag) is False
        assert lh.getsizeoflist(listid, flag) == -1
    for listid in (0, 4):
        assert lh.int_appendscalar2list(listid, 1, 0) == -1
        assert lh.real_appendarray2list(listid, [1.0], 0) == -1
        assert lh.cmplx_getcopyoflist(listid, np.zeros(1, complex))[1] == -1
    assert lh.int_appendscalar2list(1, 1, 0, allocinc=0) == -1  # no increment to grow by
    assert all(not lh.getallocationstatus(i, f) for i in (1, 2, 3) for f in range(3))


def test_copy_count_beyond_the_list(lh):
    lh.int_appendscalar2list(1, 8, 0, 3)
    copy, ierror = lh.int_getcopyoflist(1, np.full(5, -1, dtype=np.int32))
    assert ierror == 0
    np.testing.assert_array_equal(copy, [8, INT_MARKER, INT_MARKER, -1, -1])
    copy, _ = lh.int_getcopyoflist(1, np.full(5, -1, dtype=np.int32), ncopy=1)
    np.testing.assert_array_equal(copy, [8, -1, -1, -1, -1])


def test_own_marker_creates_and_grows_the_list(lh, error):
    # with the standard marker the value would land at 501, unseen by size
    assert lh.int_appendscalar2list(1, 5, 0, defval=-1) == 1
    assert lh.getsizeoflist(1, 0, defint=-1) == 1
    np.testing.assert_array_equal(contents(lh, 1, 0, 3), [5, -1, -1])
    for v in range(3):
        lh.real_appendscalar2list(2, float(v), 0, 2, 0.5)
    np.testing.assert_array_equal(contents(lh, 2, 1, 5), [0.0, 1.0, 2.0, 0.5, -7])
    assert lh.getsizeoflist(2, 1) == 4  # no standard marker in it: the capacity
    assert lh.getsizeoflist(2, 1, defreal=0.5) == 3
    assert lh.real_appendarray2list(2, [1.0, 2.0], 1, defval=0.5) == 0
    assert lh.cmplx_appendscalar2list(3, 1j, 0, defval=-1 - 1j) == 1
    assert lh.getsizeoflist(3, 2, defcmplx=-1 - 1j) == 1
    assert lh.allocatelist(1, 0, 2, defint=0) == 5014
    np.testing.assert_array_equal(contents(lh, 1, 0, 3), [0, 0, 0])
    with pytest.raises(error):
        lh.int_appendarray2list(1, [1, 2], 0, narray=3)
    with pytest.raises(error):
        lh.int_getcopyoflist(1, np.zeros(2, dtype=np.int32), ncopy=3)
