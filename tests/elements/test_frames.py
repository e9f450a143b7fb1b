"""Element and node frames, curvatures, local node coordinates, nodal motion
into the element tables and characteristic lengths."""
import numpy as np
import pytest

from test_element_registry import tables  # noqa: F401 - the shared-table fixture

QUAD8 = np.array([(-1, -1), (1, -1), (1, 1), (-1, 1), (0, -1), (1, 0), (0, 1), (-1, 0)], float)
TRIA6 = np.array([(0, 0), (1, 0), (0, 1), (0.5, 0), (0.5, 0.5), (0, 0.5)], float)
ALONG_X = np.array([0.0, 1.0, 0.0, 0.0, 0.0, 1.0, 0.0])  # reference record: angle 0, x and y
HUGE = np.finfo(float).max


def block(xyz):
    """on(8,3) of the nodes xyz (rows), zero-padded."""
    on = np.zeros((8, 3), order="F")
    on[: len(xyz)] = xyz
    return on


def rect(a=2.0, b=1.0, z=None):
    xy = QUAD8 * [a / 2, b / 2]
    return np.column_stack([xy, np.zeros(8) if z is None else z])


def turn(xyz, angle_d):
    c, s = np.cos(np.radians(angle_d)), np.sin(np.radians(angle_d))
    return xyz @ np.array([[c, s, 0], [-s, c, 0], [0, 0, 1]])


def assert_frame(t, normal_axis):
    """t orthonormal and right-handed with the normal on normal_axis (0 rows, 1 columns)."""
    np.testing.assert_allclose(t @ t.T, np.eye(3), atol=1e-13)
    assert np.linalg.det(t) == pytest.approx(1.0, abs=1e-13)
    return t[2] if normal_axis == 0 else t[:, 2]


def test_flat_aligned_rectangle_has_identity_frames(tv):
    eh = tv.elementhandling
    on = block(rect() + [5.0, 3.0, 2.0])
    ti = eh.getnodaltransformation(on, 8)
    np.testing.assert_allclose(ti, np.repeat(np.eye(3)[:, :, None], 8, axis=2), atol=1e-15)
    tcurv, origin, kappa = eh.getelementtransformation(on, ALONG_X, 8)
    np.testing.assert_allclose(tcurv, np.eye(3), atol=1e-15)
    assert origin.tolist() == [5.0, 3.0, 2.0] and kappa.tolist() == [0.0, 0.0]
    # Turned by 30° about z: the frames turn with it.
    ti = eh.getnodaltransformation(block(turn(rect(), 30.0)), 8)
    np.testing.assert_allclose(ti[:, :, 4], turn(np.eye(3), 30.0).T, atol=1e-14)


def test_frames_of_curved_skewed_and_triangular_elements_are_orthonormal(tv, latched):
    eh = tv.elementhandling
    xy = QUAD8 @ [[1.3, 0.1], [0.4, 0.9]] + 0.1 * QUAD8[:, [1]] ** 2
    curved = np.column_stack([xy, 0.2 * xy[:, 0] ** 2 - 0.1 * xy[:, 1] ** 2])
    tri = np.column_stack([TRIA6 @ [[2.0, 0.3], [0.5, 1.5]], 0.3 * TRIA6[:, 0] * TRIA6[:, 1]])
    for xyz, n in [(curved, 8), (tri, 6)]:
        on = block(xyz)
        ti = eh.getnodaltransformation(on, n)
        for k in range(n):
            normal = assert_frame(ti[:, :, k], 1)
            nshape = eh.getnodalshape(k + 1, n)
            g1, g2 = nshape[:, 1] @ xyz, nshape[:, 2] @ xyz
            np.testing.assert_allclose([normal @ g1, normal @ g2], 0.0, atol=1e-13)
            # The in-plane axes lie symmetric about the bisector of the tangents.
            bis = g1 / np.linalg.norm(g1) + g2 / np.linalg.norm(g2)
            assert ti[:, 0, k] @ bis == pytest.approx(ti[:, 1, k] @ bis, abs=1e-13)
        assert (ti[:, :, n:] == 0.0).all()
        tcurv, _, kappa = eh.getelementtransformation(on, ALONG_X, n)
        assert_frame(tcurv, 0)
    assert abs(kappa[0]) >= abs(kappa[1]) and latched()[0] == 0
    # A flat parallelogram with 60° between its edges: the first axis 15° clockwise of the first edge.
    skew = np.column_stack([QUAD8 @ [[1.0, 0.0], [0.5, np.sqrt(0.75)]], np.zeros(8)])
    tcurv = eh.getelementtransformation(block(skew), ALONG_X, 8)[0]
    c, s = np.cos(np.radians(15.0)), np.sin(np.radians(15.0))
    np.testing.assert_allclose(tcurv, [[c, -s, 0], [s, c, 0], [0, 0, 1]], atol=1e-14)
    # Other node counts: zero frames and status -3.
    assert not eh.getelementtransformation(block(rect()), ALONG_X, 4)[0].any() and latched()[0] == -3


def test_triangle_frame_at_the_longest_edge_and_cylinder_curvature(tv):
    eh = tv.elementhandling
    tri = np.column_stack([TRIA6 * [2.0, 1.0], np.zeros(6)])
    tcurv, origin, kappa = eh.getelementtransformation(block(tri), ALONG_X, 6)
    # Longest corner edge 2-3: origin at node 2; x turned by the angle from that edge to x.
    assert origin.tolist() == [2.0, 0.0, 0.0] and kappa.tolist() == [0.0, 0.0]
    np.testing.assert_allclose(tcurv[0], [-2 / np.sqrt(5), -1 / np.sqrt(5), 0.0], atol=1e-15)
    # Longest edge 1-2 (equal to 2-3 would still pick 1-2): origin at node 1.
    tri = np.column_stack([TRIA6 @ [[2.0, 0.0], [1.0, 1.0]], np.zeros(6)])
    assert eh.getelementtransformation(block(tri), ALONG_X, 6)[1].tolist() == [0.0, 0.0, 0.0]
    iso = np.column_stack([TRIA6 @ [[2.0, 0.0], [1.0, np.sqrt(3.0)]], np.zeros(6)])
    assert eh.getelementtransformation(block(iso), ALONG_X, 6)[1].tolist() == [0.0, 0.0, 0.0]
    # A panel of a cylinder of radius 10 about y: curvature 1/10 along x, frame along x.
    r, half = 10.0, 0.5
    phi = QUAD8[:, 0] * half / r
    cyl = np.column_stack([r * np.sin(phi), QUAD8[:, 1] * half, r * np.cos(phi)])
    tcurv, _, kappa = eh.getelementtransformation(block(cyl), ALONG_X, 8)
    assert abs(kappa[0]) == pytest.approx(0.1, rel=1e-3) and kappa[1] == pytest.approx(0.0, abs=1e-12)
    # The frame follows a principal direction: one of the cylinder's axes.
    np.testing.assert_allclose(sorted(np.abs(tcurv[0, :2])), [0.0, 1.0], atol=1e-12)


def test_curvature_frame_of_a_flat_element_follows_the_section_reference(tv):
    # The reference record's angle turns the element's first axis before the
    # nearer of its two directions is taken: 90° picks the second, y.
    tcurv, _, _ = tv.elementhandling.getelementtransformation(block(rect()), np.r_[90.0, ALONG_X[1:]], 8)
    np.testing.assert_allclose(tcurv, [[0, 1, 0], [-1, 0, 0], [0, 0, 1]], atol=1e-14)


@pytest.mark.parametrize("so, r12, theta", [
    ([0, 1, 0], [1, 0, 0], 1.5707963267948966), ([-1, 0, 0], [1, 0, 0], np.pi), ([2, 0, 0], [1, 0, 0], 0.0),
    ([0, -1, 0], [1, 0, 0], -1.5707963267948966), ([1, 1, 0], [3, 0, 0], np.pi / 4)])
def test_section_reference_angle(tv, so, r12, theta):
    got = tv.elementhandling.getsectionreforientation(np.array(so, float), [0.0, 0.0, 1.0], np.array(r12, float))
    assert got == pytest.approx(theta, abs=1e-15)


def test_characteristic_lengths(tv):
    eh = tv.elementhandling
    cube = np.array([[0, 0, 0], [1, 0, 0], [1, 1, 0], [0, 1, 0], [0, 0, 1], [1, 0, 1], [1, 1, 1], [0, 1, 1]], float)
    np.testing.assert_allclose(eh.gethex8elemlength(np.eye(3), (cube * [2, 3, 4]).T.copy()), [2, 3, 4], rtol=1e-15)
    np.testing.assert_allclose(eh.gethex8elemlength(np.eye(3), cube.T.copy()), [1, 1, 1], rtol=1e-15)
    # Axes swapped in matcos: the lengths follow its columns.
    swap = np.eye(3)[:, [2, 0, 1]].copy()
    np.testing.assert_allclose(eh.gethex8elemlength(swap, (cube * [2, 3, 4]).T.copy()), [4, 2, 3], rtol=1e-15)
    square = cube[:4].T.copy()
    np.testing.assert_allclose(eh.getquad4elemlength(np.eye(3), square), [1, 1, np.sqrt(2)], rtol=1e-15)
    # Lifted out of the plane of tdirect: only the in-plane part counts.
    lifted = square.copy()
    lifted[2, 2] = 5.0
    np.testing.assert_allclose(eh.getquad4elemlength(np.eye(3), lifted), [1, 1, np.sqrt(2)], rtol=1e-15)
    vertices = np.array([[0.0, 0.0], [2.0, 0.0], [2.0, 2.0]]).T.copy()
    assert eh.getcenternodes(vertices).T.tolist() == [[1, 0], [2, 1], [1, 1]]


def shell_tables(tv, tables, xyz, kind=4, record=ALONG_X):
    ed = tables(1)
    ed.elemlist = np.array([7], np.int32)
    ed.elemkind = np.array([kind], np.int32)
    ed.elemnodes = np.arange(1, 9, dtype=np.int32).reshape(8, 1, order="F")
    ed.elemreforientation = record.reshape(7, 1).copy(order="F")
    tv.nodaldata.nodalcoords = np.asfortranarray(xyz.T.reshape(3, 8, 1))
    return ed


def test_node_reference_data_and_motion(tv, tables):
    eh = tv.elementhandling
    xyz = turn(rect(), 30.0) + [1.0, 2.0, 0.5]
    # The section's reference direction along the element's first edge.
    shell_tables(tv, tables, xyz, record=np.r_[0.0, turn(np.eye(3), 30.0)[:2].ravel()])
    assert eh.getnodereferencedata(tflag=1) == 0
    nd = tv.nodaldata
    np.testing.assert_array_equal(nd.nodalcoords[:, :, 0], xyz.T)
    tcurv = nd.tcurvmatrices[:, :, 0].copy()
    np.testing.assert_allclose(tcurv, turn(np.eye(3), 30.0), atol=1e-14)

    nd.nodesmotion[...] = 7.0
    trans = np.array([[1.0, 2.0, 3.0], [HUGE] * 3, [4.0, 5.0, 6.0]]).T.copy()
    rot = np.array([[0.1, 0.2, 0.3], [HUGE] * 3, [HUGE] * 3]).T.copy()
    eh.getnodesmotion(trans, rot, np.array([1, 2, 3], np.int32))
    m = nd.nodesmotion[:, :, 0]
    np.testing.assert_allclose(m[:, 0], np.r_[tcurv @ trans[:, 0], tcurv @ rot[:, 0]], atol=1e-14)
    assert (m[:, 1] == 7.0).all() and (m[3:, 2] == 7.0).all()
    np.testing.assert_allclose(m[:3, 2], tcurv @ trans[:, 2], atol=1e-14)
    # Two rotation components and ndof 5: only the first two kept, translation untouched by rotation.
    nd.ndof = 5
    eh.getnodesmotion(np.full((3, 1), HUGE), np.array([[1.0], [0.0]]), np.array([4], np.int32))
    np.testing.assert_allclose(m[3:, 3], [tcurv[0, 0], tcurv[1, 0], 7.0], atol=1e-14)
    assert (m[:3, 3] == 7.0).all()

    # Without tflag the node coordinates become local in the curvature frame.
    assert eh.getnodereferencedata() == 0
    np.testing.assert_allclose(nd.nodalcoords[:, :, 0], rect().T, atol=1e-14)


def test_node_reference_data_passes_over_and_refuses_kinds(tv, tables, latched):
    eh = tv.elementhandling
    ed = shell_tables(tv, tables, rect(), kind=2)
    # A 4-node kind without mid-side coordinates is passed over.
    tv.nodaldata.nodalcoords[:, 4:, 0] = 0.0
    assert eh.getnodereferencedata() == 0 and not tv.nodaldata.tcurvmatrices.any()
    tv.nodaldata.nodalcoords[:, :, 0] = rect().T
    assert eh.getnodereferencedata(tflag=1) == 0 and tv.nodaldata.tcurvmatrices.any()
    ed.elemkind = np.array([12], np.int32)
    assert eh.getnodereferencedata() == -3 and latched() == (-3, "Unknown element type detected")
    # Frame tables of another shape count as missing: nothing is written past them.
    tv.nodaldata.tnodalmatrices = np.zeros((3, 3, 4, 1), order="F")
    assert eh.getnodereferencedata() == 0 and not tv.nodaldata.tnodalmatrices.any()
    eh.getnodesmotion(np.ones((3, 1)), np.ones((3, 1)), np.array([1], np.int32))
    assert (tv.nodaldata.nodesmotion == 0).all()
    for name in ("elemreforientation", "elemcurvatures"):
        setattr(ed, name, None)
        assert eh.getnodereferencedata() == 0


def test_motion_stops_at_the_shorter_frame_table(tv, tables):
    # Two elements on the same nodes, a curvature-frame table of one row:
    # the second lies past the frame table and keeps its motion.
    ed = tables(2)
    ed.elemlist = np.array([7, 8], np.int32)
    ed.elemkind = np.array([4, 4], np.int32)
    ed.elemnodes = np.asfortranarray(np.tile(np.arange(1, 9, dtype=np.int32)[:, None], (1, 2)))
    nd = tv.nodaldata
    nd.tcurvmatrices = np.zeros((3, 3, 1), order="F")
    nd.nodesmotion[...] = 7.0
    tv.elementhandling.getnodesmotion(np.array([[1.0, 2.0, 3.0]]).T, np.array([[4.0, 5.0, 6.0]]).T,
                                      np.array([8], np.int32))
    assert nd.nodesmotion[:, 7, 0].tolist() == [1, 2, 3, 4, 5, 6] and (nd.nodesmotion[:, :, 1] == 7.0).all()


def test_motion_without_frames_is_global_and_traction_transformation(tv, tables):
    eh = tv.elementhandling
    shell_tables(tv, tables, rect())
    eh.getnodesmotion(np.array([[1.0, 2.0, 3.0]]).T, np.array([[4.0, 5.0, 6.0]]).T, np.array([8], np.int32))
    assert tv.nodaldata.nodesmotion[:, 7, 0].tolist() == [1, 2, 3, 4, 5, 6]
    # Taken as it stands: an infinite component spoils no other; of two
    # entries for node 2 the later counts, each part from the last that has it.
    trans = np.array([[np.inf, 1.0, 2.0], [1.0, 1.0, 1.0], [HUGE] * 3]).T.copy()
    rot = np.array([[-0.0, 5.0, np.nan], [HUGE] * 3, [7.0, 8.0, 9.0]]).T.copy()
    eh.getnodesmotion(trans, rot, np.array([8, 2, 2], np.int32))
    m = tv.nodaldata.nodesmotion[:, :, 0]
    assert m[:5, 7].tolist() == [np.inf, 1.0, 2.0, -0.0, 5.0] and np.isnan(m[5, 7])
    assert m[:, 1].tolist() == [1.0, 1.0, 1.0, 7.0, 8.0, 9.0]
    # A node frame that is not orthonormal: nrot = tcurv·(tiᵀ·ti)·nrot.
    ti = np.diag([2.0, 1.0, 1.0])
    ntrac, nrot = eh.shelltractiontransformation([1.0, 0.0, 0.0], [1.0, 1.0], ti, np.eye(3)[[1, 0, 2]])
    assert ntrac.tolist() == [0.0, 1.0, 0.0] and nrot.tolist() == [1.0, 4.0]
