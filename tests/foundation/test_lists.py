"""The growable lists from Python: defaults, growth to many unique values,
complex values, markers, refusals and out-of-range numbers (the append
semantics against a model are tested in C++)."""
import numpy as np
import pytest

INT_MARKER = 2147483647


@pytest.fixture
def lh(tv):
    lh = tv.listhandling

    def free_all():
        return [lh.deallocatelist(i, f) for i in (1, 2, 3) for f in range(3)]

    free_all()
    yield lh
    free_all()


def test_defaults_growth_and_markers(lh):
    assert lh.int_appendscalar2list(1, 7, 1) == 1 and lh.getallocationstatus(1, 0) is True
    assert lh.int_appendscalar2list(1, 7, 1) == 0 and lh.int_appendarray2list(1, [9, 9, 9], 1, narray=2) == 1
    # 500 slots by default; a copy count beyond the list copies what is there
    copy, ierror = lh.int_getcopyoflist(1, np.full(600, -7, dtype=np.int32))
    assert ierror == 0 and copy.tolist() == [7, 9, 9] + [INT_MARKER] * 497 + [-7] * 100
    # a caller's marker creates and bounds its list (with the standard one 5 would land at 501)
    assert lh.int_appendscalar2list(2, 5, 0, defval=-1) == 1 and lh.getsizeoflist(2, 0, defint=-1) == 1
    values = np.arange(1000, 2500)  # many unique appends: every value kept in order
    for v in values:
        lh.real_appendscalar2list(2, float(v), 1, 7)
    copy, ierror = lh.real_getcopyoflist(2, np.zeros(1500))
    assert lh.getsizeoflist(2, 1) == 1500 and ierror == 0
    np.testing.assert_array_equal(copy, values)


def test_lists_are_told_apart_by_number_and_type(lh):
    lh.int_appendscalar2list(1, 1, 0)
    lh.int_appendscalar2list(2, 2, 0)
    lh.real_appendscalar2list(1, 3.0, 0)
    # complex values are equal when both parts are; -0.0 equals 0.0, a NaN nothing
    for v in (1 + 2j, 1 - 2j, 1 + 2j, complex(-0.0, 0.0), complex(0.0, -0.0), complex(np.nan, 0), complex(np.nan, 0)):
        lh.cmplx_appendscalar2list(3, v, 1)
    assert [lh.getsizeoflist(i, f) for f in range(3) for i in (1, 2, 3)] == [1, 1, -1, 1, -1, -1, -1, -1, 5]


def test_refusals_and_out_of_range_numbers(lh, error):
    for i, f in ((0, 0), (4, 0), (-1, 1), (1, 3), (1, -1)):
        assert [lh.allocatelist(i, f, 5), lh.deallocatelist(i, f), lh.getsizeoflist(i, f)] == [-1, -1, -1]
        assert lh.getallocationstatus(i, f) is False
    assert lh.int_appendscalar2list(4, 1, 0) == lh.real_appendarray2list(0, [1.0], 0) == -1
    assert lh.cmplx_getcopyoflist(4, np.zeros(1, complex))[1] == -1
    assert lh.int_appendscalar2list(1, 1, 0, allocinc=0) == -1  # no increment to grow by
    assert all(not lh.getallocationstatus(i, f) for i in (1, 2, 3) for f in range(3))
    with pytest.raises(error):
        lh.int_appendarray2list(1, [1, 2], 0, narray=3)
    with pytest.raises(error):
        lh.int_getcopyoflist(1, np.zeros(2, dtype=np.int32), ncopy=3)
