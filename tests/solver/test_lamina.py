"""The ply's material routines from Python: every tangent against a central
difference of its stress, the ANSYS and Peridigm entries against the UMAT,
and the explicit block."""
import numpy as np
import pytest
from solver_support import EYE, assert_tangent, umat_args

ORTHO = np.array([140000, 10000, 10000, 0.3, 0.3, 0.45, 5000, 5000, 10000 / 2.9])
PERM = [0, 1, 2, 3, 5, 4]  # solver <-> ANSYS order


def umat(tv, props, dstran, **kw):
    return tv.toplevel.umat_lamina(*umat_args(props, dstran, **kw))


def usermat(tv, props, dstrain, ncomp=6, ndirect=3):
    stress, tsstif = np.zeros(ncomp), np.zeros(2)
    keycut, dsdepl, epszz = tv.toplevel.usermat_lamina(
        1, 1, 1, 1, 1, 1, 1, ndirect, ncomp - ndirect, 0.0, 0.1, 20.0, 0.0, stress, np.zeros(8), 0.0, 0.0,
        0.0, np.zeros(ncomp), dstrain, np.zeros(ncomp), props, [0.0] * 3, 0.0, EYE, EYE, tsstif, *[0.0] * 8)
    return stress, dsdepl, tsstif, epszz


@pytest.mark.parametrize("ntens", [6, 4, 3])
def test_every_tangent_is_the_derivative_of_its_stress(tv, ntens):
    dstran = np.linspace(0.001, -0.002, ntens)
    _, _, ddsdde, *_ = umat(tv, ORTHO, dstran, ntens=ntens)
    assert_tangent(lambda e: umat(tv, ORTHO, e, ntens=ntens)[0], dstran, ddsdde)
    ncomp = 6 if ntens == 6 else ntens
    stress, dsdepl, *_ = usermat(tv, ORTHO, dstran, ncomp, ndirect=2 if ntens == 3 else 3)
    assert_tangent(lambda e: usermat(tv, ORTHO, e, ncomp, 2 if ntens == 3 else 3)[0], dstran, dsdepl)


def test_four_ansys_components_are_a_through_thickness_section(tv):
    # Element axes 1, 2, 3 are ply directions 1, 3, 2: the element's 22 is the
    # ply's 33 and its shear 12 the ply's 13 (E2 != E3, G12 != G13 here).
    ply = np.array([140000, 10000, 8000, 0.3, 0.28, 0.45, 5000, 4200, 3000])
    c = tv.lamina.getnyestiffnessmatrix(ply, 6)  # 11, 22, 33, 12, 13, 23
    _, dsdepl, *_ = usermat(tv, ply, np.zeros(4), 4)
    np.testing.assert_allclose(dsdepl, c[np.ix_([0, 2, 1, 4], [0, 2, 1, 4])], rtol=1e-12)
    assert dsdepl[3, 3] == pytest.approx(4200.0, rel=1e-12)


def test_ansys_and_peridigm_entries_reproduce_the_umat(tv):
    dstran = np.array([0.001, -0.002, 0.0005, 0.003, 0.001, -0.004])
    stress, statev, ddsdde, sse, *_ = umat(tv, ORTHO, dstran)
    s_ansys, dsdepl, tsstif, _ = usermat(tv, ORTHO, dstran[PERM])
    np.testing.assert_array_equal(s_ansys, stress[PERM])
    np.testing.assert_array_equal(dsdepl, ddsdde[np.ix_(PERM, PERM)])
    assert tsstif[0] == pytest.approx(5000.0, rel=1e-13)
    stressold = np.array([[1.0, 2, 3, 4, 5, 6], [0, 0, 0, 0, 0, 0]])
    snew, state = tv.toplevel.upermat_lamina(stressold, np.zeros((2, 1)), np.array([dstran, -dstran]), ORTHO,
                                             0.0, 1.0, 0.1, 1, 3, 3)
    np.testing.assert_allclose(snew, stressold + [stress, -stress], rtol=1e-14, atol=1e-12)
    # Isotropic E = 1000, nu = 0.25: the ANSYS shear stiffness G13 = 400; the
    # plane-stress thickness strain of E = 1, nu = 0.25 under (1, 1, 0) is -0.5.
    assert usermat(tv, [1000.0, 0.25], np.zeros(6))[2][0] == pytest.approx(400.0, rel=1e-14)
    s, _, tsstif, epszz = usermat(tv, [1.0, 0.25], [0.75, 0.75, 0.0], 3, 2)
    np.testing.assert_allclose(s, [1.0, 1.0, 0.0], atol=1e-15)
    assert epszz == pytest.approx(-0.5, rel=1e-14) and tsstif == pytest.approx([0.4, 0.4], rel=1e-14)


def test_explicit_block_updates_the_callers_strain_in_place(tv, error):
    straininc = np.array([[0.001, 0.0, 0.25, 0.0]])
    args = [3, 0, 0.0, 1.0, 0.1, "PLY", np.zeros((1, 3)), np.ones((1, 3)), ORTHO, [1.5], straininc,
            np.zeros((1, 1)), [0.0], np.zeros((1, 4)), np.zeros((1, 5)), np.zeros((1, 1)),
            np.zeros((1, 4)), np.zeros((1, 2)), [2.0], [0.0], [0.0], np.zeros((1, 4)),
            np.zeros((1, 5)), np.zeros((1, 1))]
    stressnew, statenew, enernew, inelas = tv.toplevel.vumat_lamina(*args)
    # The plane-stress thickness increment -nu13/E1*ds11 - nu23/E2*ds22 replaces the solver's.
    thickness = -ORTHO[4] / ORTHO[0] * stressnew[0, 0] - ORTHO[5] / ORTHO[1] * stressnew[0, 1]
    assert straininc[0, 2] == pytest.approx(thickness, rel=1e-14)
    assert straininc[0, [0, 1, 3]].tolist() == [0.001, 0.0, 0.0]
    # Only the caller's own exact array can be updated: anything else is refused.
    for other in (straininc.tolist(), straininc.astype(np.float32), np.zeros((2, 4))):
        with pytest.raises(error, match="straininc"):
            tv.toplevel.vumat_lamina(*args[:10], other, *args[11:])
    q = tv.lamina.getnyestiffnessmatrix(ORTHO, 3)
    np.testing.assert_allclose(stressnew[0], [q[0, 0] * 1e-3, q[1, 0] * 1e-3, 0.0, 0.0], rtol=1e-14)
    assert enernew[0] == pytest.approx(2.0 + 0.5 * stressnew[0, 0] * 1e-3 / 1.5, rel=1e-13)
    assert not statenew.any() and not inelas.any()


@pytest.mark.parametrize("nshr", [3, 1])
def test_explicit_block_equals_its_points_one_by_one(tv, nshr):
    n, nt = 130, 3 + nshr  # two whole chunks of the kernel and a part
    rng = np.random.default_rng(3)
    straininc = np.asfortranarray(rng.uniform(-1e-3, 1e-3, (n, nt)))
    stressold = np.asfortranarray(rng.uniform(-50, 50, (n, nt)))
    enerold, density = rng.uniform(0, 1, n), rng.uniform(1, 2, n)

    def block(rows):
        m = len(rows)
        z = lambda c: np.zeros((m, c), order="F")  # noqa: E731
        return tv.toplevel.vumat_lamina(3, 0, 0.0, 1.0, 0.1, "PLY", z(3), z(3), ORTHO, density[rows],
                                        np.asfortranarray(straininc[rows]), z(nshr), np.zeros(m), z(nt), z(3 + 2 * nshr), z(1),
                                        stressold[rows], z(1), enerold[rows], np.zeros(m), np.zeros(m), z(nt),
                                        z(3 + 2 * nshr), z(1))

    whole = block(np.arange(n))
    for k in (0, 63, 64, 129):
        one = block(np.array([k]))
        np.testing.assert_array_equal(one[0][0], whole[0][k])
        assert one[2][0] == whole[2][k]
