"""Module laminate from Python: the defaults of the call lines, the relations
between extents and arrays, and refusals that latch instead of writing
outside a table."""
import numpy as np
import pytest

CARBON = np.array([140.0e3, 10.0e3, 9.5e3, 0.3, 0.28, 0.45, 5.0e3, 4.8e3, 3.4e3])
MARKER = 2147483647


def stack(angles, t=0.125):
    n = len(angles)
    return np.tile(CARBON[:, None], (1, n)), np.array(angles, float), np.full(n, t)


def test_abd_routines_and_their_defaults(tv, latched):
    lm = tv.laminate
    e, a, t = stack([0, 45, -45, 90, 90, -45, 45, 0])
    A, B, D = lm.getamatrix(e, a, t), lm.getbmatrix(e, a, t), lm.getdmatrix(e, a, t)
    abd = lm.getabdmatrix(A, B, D)
    np.testing.assert_array_equal(abd, np.block([[A, B], [B, D]]))
    at, bt, dt = lm.getabdtilde(A, B, D)
    np.testing.assert_allclose(np.block([[at, -bt.T], [-bt, dt]]) @ abd, np.eye(6), atol=1e-12)
    # tcflag false (the default) uses the compliance; true the stiffness.
    eng = lm.getengconstsfromabdmatrix(abd, 1.0)
    assert eng[3] == pytest.approx(-np.linalg.inv(abd)[0, 1] / np.linalg.inv(abd)[0, 0])
    assert lm.getengconstsfromabdmatrix(abd, 1.0, tcflag=True)[0] == pytest.approx(A[0, 0])
    # nplies defaults to the stack size; a smaller one takes the bottom plies.
    np.testing.assert_array_equal(lm.getamatrix(e, a, t, 8), A)
    assert lm.getplyzcoord(t, 8, 2) == 0.5
    assert lm.getplyzcoord(t, 1, 0, refoffset=0.25) == -0.75
    assert latched()[0] == 0


def test_extent_relations(tv, error):
    lm = tv.laminate
    e, a, t = stack([0, 90, 0])
    with pytest.raises(error):
        lm.getamatrix(e, a[:2], t)  # an angle short
    with pytest.raises(error):
        lm.getplyzcoord(t, 4, 2)  # no ply 4
    with pytest.raises(error):
        lm.getdangle(a, 0, 0)
    with pytest.raises(error):
        lm.getpartialamatrix(e, a, t, 0.0, 4)
    # The section small-f table has 2·nplies+1 rows: a z table of another
    # height is refused before the call.
    lists = np.ones((3, 2), np.int32)
    plies = np.zeros((3, 2)), np.full((3, 2), 0.2)
    z = lm.getsectionzcoord(lists, plies[1])
    elastic = np.tile(CARBON[:, None, None], (1, 3, 2))
    assert lm.getsectionfmatrix(lists, *plies, z, elastic).shape == (7, 4, 2)
    with pytest.raises(error):
        lm.getsectionfmatrix(lists, *plies, z[:6], elastic)


def test_section_tables_and_their_defaults(tv):
    lm = tv.laminate
    lists = np.array([[1, 1, MARKER], [MARKER] * 3], np.int32).T  # 2 plies; undefined
    thickness = np.full((3, 2), 0.5)
    angles = np.zeros((3, 2))
    z = lm.getsectionzcoord(lists, thickness)
    np.testing.assert_array_equal(z[:, 0], [-0.5, -0.25, 0.0, 0.25, 0.5, 0.0, 0.0])
    assert not z[:, 1].any()
    # A marker of one's own: every entry a defined ply.
    assert lm.getsectionzcoord(lists, thickness, defint=-1)[6, 1] == 0.75
    elastic = np.tile(CARBON[:, None, None], (1, 3, 2))
    h = lm.getsectionhmatrix(lists, angles, thickness, elastic)
    e, a, t = stack([0, 0], 0.5)
    np.testing.assert_array_equal(h[:, :, 0], lm.gethmatriximprovedshear(e, a, t))
    np.testing.assert_array_equal(lm.getsectionhmatrix(lists, angles, thickness, elastic, method=0)[:, :, 0],
                                  lm.gethmatrixshearcorrect(e, a, t))
    assert not h[:, :, 1].any()
    # xycurv defaults to a flat plate.
    fg = lm.getarbitrarysectionfg(lists, angles, thickness, z, elastic, 1, 1)
    np.testing.assert_array_equal(fg, lm.getarbitrarysectionfg(lists, angles, thickness, z, elastic, 1, 1,
                                                               xycurv=[0.0, 0.0]))
    assert not np.array_equal(fg, lm.getarbitrarysectionfg(lists, angles, thickness, z, elastic, 1, 1,
                                                           xycurv=[0.2, -0.1]))


def test_shapes_and_extents_from_the_arrays(tv):
    lm = tv.laminate
    e, a, t = stack([0, 90])
    z = np.array([-0.125, -0.0625, 0.0, 0.0625, 0.125])
    counts = np.array([2, 2], np.int32)
    assert lm.getarbitrarylaminateintegral(1, e, a, z, counts).shape == (3, 3, 5)
    # The thermal variant has one column per point.
    props = np.vstack([e, np.full((2, 2), 1e-6)])
    assert lm.getarbitrarylaminateintegral(1, props, a, z, counts, thflag=1).shape == (3, 1, 5)
    # nplies of the recovery routines from the lengths: (5 - 1)/2 plies of
    # the z table, half the bottom and top values, the angles.
    smallf = np.zeros((5, 4))
    assert lm.getnormalstressfromtop([1.0, 0], [0, 1.0], 2.5, z, smallf).tolist() == [2.5] * 5
    assert lm.getintegralofmembranenormalstress(np.ones(4), z, np.array([3, 3], np.int32), 0.5, 0.0).shape == (5,)
    assert lm.getext2dshearstress([1.0, 0.0], [0.0, 90.0], smallf, 3).shape == (6, 2)
    assert lm.getplybottomtopstress(np.ones((6, 9)), np.array([3, 3, 3], np.int32)).shape == (6, 6)
