"""Module laminate from Python: the defaults of the call lines, the relations
between extents and arrays, and refusals that latch instead of writing
outside a table."""
import numpy as np
import pytest

MARKER = 2147483647


@pytest.fixture
def stack(carbon):
    """plyelastic, plyorientation and plythickness of a carbon layup."""
    def make(angles, t=0.125):
        n = len(angles)
        return np.tile(carbon[:, None], (1, n)), np.array(angles, float), np.full(n, t)
    return make


def test_abd_routines_and_their_defaults(tv, latched, stack):
    lm = tv.laminate
    e, a, t = stack([0, 45, -45, 90, 90, -45, 45, 0])
    A, B, D = lm.getamatrix(e, a, t), lm.getbmatrix(e, a, t), lm.getdmatrix(e, a, t)
    abd = lm.getabdmatrix(A, B, D)
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


def test_inverse_blocks_of_an_unsymmetric_stack(tv, stack):
    # [0/90]: B ≠ 0, so every term of the inverse blocks counts.
    lm = tv.laminate
    e, a, t = stack([0, 90])
    A, B, D = lm.getamatrix(e, a, t), lm.getbmatrix(e, a, t), lm.getdmatrix(e, a, t)
    assert abs(B[0, 0]) > 1e2
    at, bt, dt = lm.getabdtilde(A, B, D)
    np.testing.assert_allclose(np.block([[at, -bt.T], [-bt, dt]]) @ lm.getabdmatrix(A, B, D), np.eye(6),
                               atol=1e-12)
    dred = lm.getreducedbendingstiffness(A, B, D)
    np.testing.assert_allclose(dred, D - B @ np.linalg.solve(A, B), rtol=1e-13, atol=1e-12 * D[0, 0])
    np.testing.assert_allclose(np.linalg.inv(dred), dt, rtol=1e-12, atol=1e-14)


def test_extent_relations(tv, error, stack, carbon):
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
    elastic = np.tile(carbon[:, None, None], (1, 3, 2))
    assert lm.getsectionfmatrix(lists, *plies, z, elastic).shape == (7, 4, 2)
    with pytest.raises(error):
        lm.getsectionfmatrix(lists, *plies, z[:6], elastic)


def test_section_tables_and_their_defaults(tv, stack, carbon):
    lm = tv.laminate
    lists = np.array([[1, 1, MARKER], [MARKER] * 3], np.int32).T  # 2 plies; undefined
    thickness, angles = np.full((3, 2), 0.5), np.zeros((3, 2))
    z = lm.getsectionzcoord(lists, thickness)
    # A marker of one's own: every entry a defined ply.
    assert lm.getsectionzcoord(lists, thickness, defint=-1)[6, 1] == 0.75
    elastic = np.tile(carbon[:, None, None], (1, 3, 2))
    np.testing.assert_array_equal(lm.getsectionhmatrix(lists, angles, thickness, elastic)[:, :, 0],
                                  lm.gethmatriximprovedshear(*stack([0, 0], 0.5)))
    # xycurv defaults to a flat plate (and a curved one differs).
    fg = [lm.getarbitrarysectionfg(lists, angles, thickness, z, elastic, 1, 1, xycurv=k) for k in ([0, 0], [0.2, 0])]
    np.testing.assert_array_equal(lm.getarbitrarysectionfg(lists, angles, thickness, z, elastic, 1, 1), fg[0])
    assert not np.array_equal(fg[0], fg[1])


def test_shapes_and_extents_from_the_arrays(tv, stack):
    lm = tv.laminate
    e, a, t = stack([0, 45])
    z = np.array([-0.125, -0.0625, 0.0, 0.0625, 0.125])
    counts = np.array([2, 2], np.int32)
    assert lm.getarbitrarylaminateintegral(1, e, a, z, counts).shape == (3, 3, 5)
    # The thermal variant has one column per point, the last Σ Q̄k·αk·tk with
    # αk turned to laminate axes (engineering shear).
    a1, a2 = -0.5e-6, 30.0e-6
    thermal = lm.getarbitrarylaminateintegral(1, np.vstack([e, [[a1, a1], [a2, a2]]]), a, z, counts, thflag=1)
    assert thermal.shape == (3, 1, 5)
    m = 0.5 * (a1 + a2)
    expected = (lm.getamatrix(e[:, :1], a[:1], t[:1]) @ [a1, a2, 0]
                + lm.getamatrix(e[:, 1:], a[1:], t[1:]) @ [m, m, a1 - a2])
    np.testing.assert_allclose(thermal[:, 0, -1], expected, rtol=0, atol=1e-12 * np.linalg.norm(expected))
    # nplies of the recovery routines from the lengths: (5 - 1)/2 plies of
    # the z table, half the bottom and top values.
    smallf = np.zeros((5, 4))
    assert lm.getnormalstressfromtop([1.0, 0], [0, 1.0], 2.5, z, smallf).tolist() == [2.5] * 5
    assert lm.getintegralofmembranenormalstress(np.ones(4), z, np.array([3, 3], np.int32), 0.5, 0.0).shape == (5,)
    assert lm.getplybottomtopstress(np.ones((6, 9)), np.array([3, 3, 3], np.int32)).shape == (6, 6)


def test_shear_stresses_at_the_section_points(tv):
    # Two plies, nplies from the angles; row r of the small-f table holds
    # (r, 0, 0, 10 r): f = diag(r, 10 r).  Three points: rows bottom, middle,
    # top, and ply 2 (90°) turns (a, b) into (-b, a).  Five points: 2 to 4 on
    # the middle row; one point: the top row.
    f = np.zeros((5, 4))
    f[:, 0] = np.arange(1, 6)
    f[:, 3] = 10 * f[:, 0]
    stresses = lambda nspt: tv.laminate.getext2dshearstress([1.0, 1.0], [0.0, 90.0], f, nspt)  # noqa: E731
    three = stresses(3)
    np.testing.assert_array_equal(three[:3], [[1, 10], [2, 20], [3, 30]])
    np.testing.assert_allclose(three[3:, 0], [-30, -40, -50], rtol=0, atol=1e-12)
    np.testing.assert_allclose(three[3:, 1], [3, 4, 5], rtol=0, atol=1e-14)
    assert stresses(5)[:5, 0].tolist() == [1, 2, 2, 2, 3]
    assert stresses(1)[0, 0] == 3.0
