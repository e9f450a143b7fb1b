"""Shell kinematics: Jacobians of undistorted and curved elements, the
B-matrix and its x and y derivatives against differences of it, shear-force
derivatives, curvatures of known surfaces and the displacement vector."""
import numpy as np
import pytest
from tolerances import assert_close, product_atol, solve_atol

QUAD8 = np.array([(-1, -1), (1, -1), (1, 1), (-1, 1), (0, -1), (1, 0), (0, 1), (-1, 0)], float)
TRIA6 = np.array([(0, 0), (1, 0), (0, 1), (0.5, 0), (0.5, 0.5), (0, 0.5)], float)


def coords(xy, z=None):
    """ncoords(3, inodes) of nodes at xy with heights z (0 when None)."""
    z = np.zeros(len(xy)) if z is None else z
    return np.column_stack([xy, z]).T.copy()


def curved(xy):
    # A distorted element with curved edges: x, y quadratic in ξ, η.
    x, y = xy[:, 0], xy[:, 1]
    return np.column_stack([1.3 * x + 0.2 * y + 0.1 * y * y + 0.05 * x * y, 0.1 * x + 0.9 * y - 0.15 * x * x])


def test_undistorted_square_has_unit_jacobian(tv, latched):
    eh = tv.elementhandling
    c = coords(QUAD8)
    for xi, eta in [(0.0, 0.0), (0.3, -0.7), (-1.0, 1.0)]:
        jac, nshape = eh.shelljacobian(c, xi, eta)
        np.testing.assert_allclose(jac, np.eye(2), atol=1e-15)
        np.testing.assert_array_equal(nshape, eh.quad8shapefunmatrix(xi, eta))
        np.testing.assert_allclose(eh.shellsecondderivjacobian(nshape, c, xi, eta), 0.0, atol=1e-15)
        b = eh.shellbmatrix(c, xi, eta)
        dn = nshape[:, 1:3]
        np.testing.assert_allclose(b[0, 0::5], dn[:, 0], atol=1e-15)
        np.testing.assert_allclose(b[1, 1::5], dn[:, 1], atol=1e-15)
        np.testing.assert_allclose(b[2, 0::5], dn[:, 1], atol=1e-15)
        np.testing.assert_allclose(b[2, 1::5], dn[:, 0], atol=1e-15)
    assert latched()[0] == 0


def test_b_matrix_layout_on_a_curved_element(tv):
    eh = tv.elementhandling
    c = coords(curved(QUAD8))
    jac, nshape = eh.shelljacobian(c, 0.2, -0.4)
    dn = nshape[:, 1:3].T
    assert_close(jac, dn @ c[:2].T, product_atol(dn, c[:2].T))
    d2n = nshape[:, 3:6].T
    assert_close(eh.shellsecondderivjacobian(nshape, c, 0.2, -0.4), d2n @ c[:2].T, product_atol(d2n, c[:2].T),
                 rtol=1e-14)
    np.testing.assert_allclose(eh.shellsecondderivjacobian(nshape, c, 0.2, -0.4),
                               [[0.0, -0.3], [0.2, 0.0], [0.05, 0.0]], atol=1e-15)
    nx, ny = np.linalg.solve(jac, dn)
    n = nshape[:, 0]
    b = eh.shellbmatrix(c, 0.2, -0.4)
    want = np.zeros((8, 40))
    u, v, w, tx, ty = (np.arange(8) * 5 + i for i in range(5))
    want[0, u], want[1, v], want[2, u], want[2, v] = nx, ny, ny, nx
    want[3, ty], want[4, tx], want[5, tx], want[5, ty] = nx, -ny, -nx, ny
    want[6, w], want[6, tx], want[7, w], want[7, ty] = ny, -n, nx, n
    np.testing.assert_allclose(b, want, rtol=1e-13, atol=solve_atol(jac, [nx, ny]))


@pytest.mark.parametrize("nodes", [QUAD8, TRIA6], ids=["quad8", "tria6"])
def test_derivative_b_matrices_are_derivatives_of_the_shear_rows(tv, nodes):
    # x and y derivatives of rows 7 (γyz) and 8 (γxz), from central
    # differences of the B-matrix in ξ, η mapped by the inverse Jacobian.
    eh = tv.elementhandling
    c = coords(curved(nodes))
    xi, eta, h = 0.25, 0.15, 1e-5
    jac, _ = eh.shelljacobian(c, xi, eta)
    d_xi = (eh.shellbmatrix(c, xi + h, eta) - eh.shellbmatrix(c, xi - h, eta)) / (2 * h)
    d_eta = (eh.shellbmatrix(c, xi, eta + h) - eh.shellbmatrix(c, xi, eta - h)) / (2 * h)
    jinv = np.linalg.inv(jac)
    d_x = jinv[0, 0] * d_xi + jinv[0, 1] * d_eta
    d_y = jinv[1, 0] * d_xi + jinv[1, 1] * d_eta
    np.testing.assert_allclose(eh.shellxderivbmatrix(c, xi, eta), d_x[6:8], atol=2e-6)
    np.testing.assert_allclose(eh.shellyderivbmatrix(c, xi, eta), d_y[6:8], atol=2e-6)
    u = np.random.default_rng(1).normal(size=40)
    hmat = np.array([[3.0, 0.5], [0.25, 2.0]])
    for forces, bmatrix in ((eh.shellxderivshearforces, eh.shellxderivbmatrix),
                            (eh.shellyderivshearforces, eh.shellyderivbmatrix)):
        db = bmatrix(c, xi, eta)
        assert_close(forces(u, hmat, c, xi, eta), hmat @ (db @ u), product_atol(hmat, db, u), rtol=1e-14)


def test_jacobian_transformations(tv, latched):
    eh = tv.elementhandling
    jac = np.array([[1.3, 0.4], [-0.2, 0.9]])
    (a, c), (b, d) = jac
    jac1 = eh.shellfirstderivjacobian(jac)
    np.testing.assert_allclose(jac1, [[a * a, c * c, 2 * a * c], [b * b, d * d, 2 * b * d],
                                      [a * b, c * d, b * c + a * d]], rtol=1e-15)
    np.testing.assert_allclose(eh.shellfirstderivjacobianinverse(jac1) @ jac1, np.eye(3), atol=1e-14)
    inverse = np.linalg.inv(jac)
    np.testing.assert_allclose(eh.shelljacobianinverse(jac), inverse, rtol=0, atol=solve_atol(jac, inverse))
    assert latched()[0] == 0


def test_singular_and_unsupported_elements(tv, latched, error):
    eh = tv.elementhandling
    with pytest.raises(error):  # node counts that disagree with the coordinates
        eh.shellbmatrix(coords(QUAD8), 0.1, 0.1, inodes=6)
    with pytest.raises(error):
        eh.getcurvatures(np.zeros((8, 6)), np.zeros((6, 3)))
    assert not eh.shelljacobianinverse(np.ones((2, 2))).any()
    assert latched() == (-3, "Singular jacobian")
    tv.errorhandling.rsxerr(True)
    assert not eh.shellfirstderivjacobianinverse(np.ones((3, 3))).any()
    assert latched() == (-3, "Singular first derivative of jacobian")
    tv.errorhandling.rsxerr(True)
    for call in (lambda c: eh.shelljacobian(c, 0.1, 0.1)[0], lambda c: eh.shellbmatrix(c, 0.1, 0.1),
                 lambda c: eh.shellxderivbmatrix(c, 0.1, 0.1), lambda c: eh.shellyderivbmatrix(c, 0.1, 0.1)):
        for n in (4, 9, 0):
            assert not call(coords(np.ones((n, 2)))).any()
            assert latched() == (-3, "Unknown or unsupported element type.")
            tv.errorhandling.rsxerr(True)
    # A collapsed element: every node at one point.
    c = coords(np.zeros((8, 2)))
    b = eh.shellbmatrix(c, 0.2, 0.3)
    assert latched() == (-3, "Singular jacobian")
    assert not b[:6].any() and not b[6:, 2::5].any()
    np.testing.assert_array_equal(b[7, 4::5], eh.quad8shapefunmatrix(0.2, 0.3)[:, 0])
    nshape = eh.quad8shapefunmatrix(0.2, 0.3)
    delta, kappa = eh.getcurvatures(nshape, np.zeros((8, 3)))
    assert delta == 0.0 and not kappa.any()


def curvature(tv, surface, nodes=QUAD8, at=(0.2, -0.3)):
    eh = tv.elementhandling
    nshape = eh.quad8shapefunmatrix(*at) if len(nodes) == 8 else eh.tria6shapefunmatrix(*at)
    ln = np.column_stack([nodes, surface(nodes[:, 0], nodes[:, 1])])
    return eh.getcurvatures(nshape, ln)


def test_curvatures_of_known_surfaces(tv, latched):
    delta, kappa = curvature(tv, lambda x, y: (x * x + y * y) / 20)
    np.testing.assert_allclose(kappa, [0.1, 0.1], rtol=1e-13)
    assert delta == 0.0
    delta, kappa = curvature(tv, lambda x, y: x * y / 10)
    np.testing.assert_allclose(sorted(kappa), [-0.1, 0.1], rtol=1e-13)
    assert kappa[0] == pytest.approx(-0.1)  # a tie: the second principal value leads
    assert delta == pytest.approx(np.pi / 4)
    r = 5.0
    delta, kappa = curvature(tv, lambda x, y: x * x / (2 * r))
    np.testing.assert_allclose(kappa, [1 / r, 0.0], atol=1e-15)
    assert delta == pytest.approx(np.pi / 2)
    delta, kappa = curvature(tv, lambda x, y: -y * y / (2 * r))
    np.testing.assert_allclose(kappa, [-1 / r, 0.0], atol=1e-15)
    assert delta == 0.0
    delta, kappa = curvature(tv, lambda x, y: 0.0 * x + 3.0)
    assert delta == 0.0 and not kappa.any()
    # A triangle on a paraboloid, and a second curvature within 1/20 kept.
    delta, kappa = curvature(tv, lambda x, y: x * x / 4 + y * y / 40, TRIA6, (0.2, 0.3))
    np.testing.assert_allclose(kappa, [0.5, 0.05], rtol=1e-12)
    delta, kappa = curvature(tv, lambda x, y: x * x / 4 + y * y / 84, TRIA6, (0.2, 0.3))
    np.testing.assert_allclose(kappa, [0.5, 0.0], rtol=1e-12)
    # A cylinder whose axis is turned: the direction of its curvature is the
    # direction (2, 1), plus a quarter turn for a positive curvature.
    delta, kappa = curvature(tv, lambda x, y: (2 * x + y) ** 2 / 20)
    np.testing.assert_allclose(kappa, [0.5, 0.0], atol=1e-14)
    assert delta == pytest.approx(np.arctan(0.5) + np.pi / 2, rel=1e-14)
    # A twist of exactly 1e-6 is no twist: the direction comes from kxx alone.
    ln = np.column_stack([QUAD8, np.zeros(8)])
    ln[0, 2], ln[5, 2] = 4e-6, 2e-6  # kxx = 2e-6, kyy = 0, kxy = 1e-6 at the centre
    delta, kappa = tv.elementhandling.getcurvatures(tv.elementhandling.quad8shapefunmatrix(0.0, 0.0), ln)
    assert delta == np.pi / 2
    np.testing.assert_allclose(kappa, [1e-6 * (1 + np.sqrt(2)), 1e-6 * (1 - np.sqrt(2))], rtol=1e-12)
    # Equal kxx and kyy of a twisted cylinder are no sphere: its generator (1, -1).
    assert curvature(tv, lambda x, y: (x + y) ** 2 / 20)[0] == pytest.approx(3 * np.pi / 4, rel=1e-14)
    assert latched()[0] == 0


@pytest.mark.parametrize("turn", [30.0, 44.0, 45.0, 46.0, 60.0])
def test_curvature_axis_for_every_orientation(tv, turn):
    # z = u^2/20 + v^2/60 with the u axis turned from x: curvatures 0.1 along
    # u and 1/30 along v at the centre; the axis across the larger one is v.
    c, s = np.cos(np.radians(turn)), np.sin(np.radians(turn))
    delta, kappa = curvature(tv, lambda x, y: (c * x + s * y) ** 2 / 20 + (c * y - s * x) ** 2 / 60, at=(0.0, 0.0))
    np.testing.assert_allclose(kappa, [0.1, 1 / 30], rtol=1e-12)
    assert np.degrees(delta) == pytest.approx(turn + 90.0, abs=1e-10)
    # Turned upside down the axis is the same, given in [-90°, 90°).
    delta, kappa = curvature(tv, lambda x, y: -(c * x + s * y) ** 2 / 20 - (c * y - s * x) ** 2 / 60, at=(0.0, 0.0))
    np.testing.assert_allclose(kappa, [-0.1, -1 / 30], rtol=1e-12)
    assert np.degrees(delta) == pytest.approx(turn - 90.0, abs=1e-10)


def test_displacement_vector(tv):
    eh = tv.elementhandling
    motion = np.arange(1.0, 49.0).reshape(8, 6).T.copy()  # 6 values per node
    u = eh.getdisplacementvector(motion)
    np.testing.assert_array_equal(u.reshape(8, 5), motion[:5].T)
    u = eh.getdisplacementvector(motion[:3].copy())
    np.testing.assert_array_equal(u.reshape(8, 5), np.column_stack([motion[:3].T, np.zeros((8, 2))]))
    # Past eight nodes there is no room in the vector: the rest are ignored.
    many = np.ones((5, 10))
    np.testing.assert_array_equal(eh.getdisplacementvector(many), np.ones(40))
