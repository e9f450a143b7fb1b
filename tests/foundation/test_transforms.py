"""Tensor and coordinate transforms from Python."""
import numpy as np
import pytest


def test_tensor_rotations(m):
    # As in every ply rotation: diag(1, 2, 3) turned a quarter about the default axis x.
    np.testing.assert_allclose(m.tensorrotation2nd(np.diag([1.0, 2.0, 3.0]), np.pi / 2), np.diag([1.0, 3.0, 2.0]),
                               atol=1e-15)
    # A rank-one tensor t⊗t rotates as (Rᵀ t R)⊗(Rᵀ t R), and back.
    t = np.random.default_rng(6).uniform(-1, 1, (3, 3))
    t4 = np.asfortranarray(np.einsum("ij,kl->ijkl", t, t))
    axis = np.array([1.0, 2.0, 2.0]) / 3.0
    r2 = m.tensorrotation2nd(t, 0.8, n0=axis)
    r4 = m.tensorrotation4th(t4, 0.8, n0=axis)
    np.testing.assert_allclose(r4, np.einsum("ij,kl->ijkl", r2, r2), atol=1e-14)
    np.testing.assert_allclose(m.tensorrotation4th(r4, -0.8, n0=axis), t4, atol=1e-14)


def test_rotation_and_basis_matrices(m):
    np.testing.assert_allclose(m.getrotationmatrix([0.0, 0.0, 1.0], np.pi / 2) @ [1, 0, 0], [0, 1, 0], atol=1e-16)
    # A non-unit axis does not give a rotation.
    assert abs(np.linalg.det(m.getrotationmatrix([0.0, 0.0, 2.0], 1.0)) - 1.0) > 0.1
    t = m.gettransformationmatrix([0, 1, 0], [0, 0, 1], [1, 0, 0])
    np.testing.assert_array_equal(t @ [1, 2, 3], [2, 3, 1])
    s = np.arange(9.0).reshape(3, 3)
    np.testing.assert_array_equal(m.tensortransformation2nd(s, t), t @ s @ t.T)


def test_plane_geometry(m):
    pn = m.coordinatenormalization(np.array([[2.0, 0.0], [4.0, 1.0], [3.0, 0.5]]), [0.0, 1.0])
    assert (pn[1, 0], pn[0, 1], pn[1, 1]) == (1.0, 0.0, 0.25)  # one common range [0, 4]
    np.testing.assert_allclose(m.getparabolacoefficients([[0, 0], [1, 1], [2, 4]]), [1, 0, 0])
    assert m.getradiusofellipse(3.0, 2.0, 90.0) == pytest.approx(2.0, rel=1e-15)
    np.testing.assert_allclose(m.getboundingboxfromellipse(3.0, 2.0, 90.0), [2.0, 3.0])
    assert m.gettrianglearea(0, 0, 1, 0, 0, 1) == 0.5 and m.gettrianglearea(0, 0, 0, 1, 1, 0) == -0.5
