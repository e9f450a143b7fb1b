"""Tensor and coordinate transforms from Python."""
import numpy as np
import pytest


@pytest.fixture
def m(tv):
    return tv.math


def test_tensor_rotation_about_the_default_axis(m):
    out = m.tensorrotation2nd(np.diag([1.0, 2.0, 3.0]), np.pi / 2)
    np.testing.assert_allclose(out, np.diag([1.0, 3.0, 2.0]), atol=1e-15)
    # The default axis is x; callers that mean z pass it.
    out = m.tensorrotation2nd(np.diag([1.0, 2.0, 3.0]), np.pi / 2, n0=[0.0, 0.0, 1.0])
    np.testing.assert_allclose(out, np.diag([2.0, 1.0, 3.0]), atol=1e-15)


def test_fourth_order_rotation_matches_its_second_order_twin(m):
    # A rank-one tensor t⊗t rotates as (Rᵀ t R)⊗(Rᵀ t R).
    t = np.random.default_rng(6).uniform(-1, 1, (3, 3))
    t4 = np.asfortranarray(np.einsum("ij,kl->ijkl", t, t))
    axis = np.array([1.0, 2.0, 2.0]) / 3.0
    r2 = m.tensorrotation2nd(t, 0.8, n0=axis)
    r4 = m.tensorrotation4th(t4, 0.8, n0=axis)
    np.testing.assert_allclose(r4, np.einsum("ij,kl->ijkl", r2, r2), atol=1e-14)
    back = m.tensorrotation4th(r4, -0.8, n0=axis)
    np.testing.assert_allclose(back, t4, atol=1e-14)


def test_rotation_and_basis_matrices(m):
    np.testing.assert_array_equal(m.getrotationmatrix([0.0, 0.0, 1.0], 0.0), np.eye(3))
    r = m.getrotationmatrix([0.0, 0.0, 1.0], np.pi / 2)
    np.testing.assert_allclose(r @ [1, 0, 0], [0, 1, 0], atol=1e-16)
    # A non-unit axis does not give a rotation.
    assert abs(np.linalg.det(m.getrotationmatrix([0.0, 0.0, 2.0], 1.0)) - 1.0) > 0.1
    t = m.gettransformationmatrix([0, 1, 0], [0, 0, 1], [1, 0, 0])
    np.testing.assert_array_equal(t @ [1, 2, 3], [2, 3, 1])
    s = np.arange(9.0).reshape(3, 3)
    np.testing.assert_array_equal(m.tensortransformation2nd(s, t), t @ s @ t.T)
    np.testing.assert_array_equal(m.tensormultiplication(np.ones((3, 3, 3, 3)), np.eye(3)), 3 * np.ones((3, 3)))


def test_euler_angles(m):
    np.testing.assert_array_equal(m.geteulerrotation(np.eye(3)), [0, 0, 0])
    psi, theta, phi = m.geteulerrotation([[0.0, 0.0, 1.0], [0.0, 1.0, 0.0], [-1.0, 0.0, 0.0]])
    assert (theta, phi) == (90.0, 0.0)


def test_plane_geometry(m):
    p = np.array([[2.0, 0.0], [4.0, 1.0], [3.0, 0.5]])
    pn = m.coordinatenormalization(p, [0.0, 1.0])
    assert pn[1, 0] == 1.0 and pn[0, 1] == 0.0  # one common range [0, 4]
    assert pn[1, 1] == 0.25
    np.testing.assert_allclose(m.getparabolacoefficients([[0, 0], [1, 1], [2, 4]]), [1, 0, 0])
    assert m.getradiusofellipse(3.0, 2.0, 0.0) == 3.0
    assert m.getradiusofellipse(3.0, 2.0, 90.0) == pytest.approx(2.0, rel=1e-15)
    np.testing.assert_array_equal(m.getboundingboxfromellipse(3.0, 2.0, 0.0), [3.0, 2.0])
    np.testing.assert_allclose(m.getboundingboxfromellipse(3.0, 2.0, 90.0), [2.0, 3.0])
    assert m.gettrianglearea(0, 0, 1, 0, 0, 1) == 0.5
    assert m.gettrianglearea(0, 0, 0, 1, 1, 0) == -0.5
