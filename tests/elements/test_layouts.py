"""3-D to element layouts: continuum, plane strain, axisymmetric and plane
stress, in both directions."""
import numpy as np
import pytest

E, NU = 70000.0, 0.3


def isotropic(e=E, nu=NU):
    lam, mu = e * nu / ((1 + nu) * (1 - 2 * nu)), e / (2 * (1 + nu))
    c = np.zeros((6, 6))
    c[:3, :3] = lam
    c[range(3), range(3)] += 2 * mu
    c[range(3, 6), range(3, 6)] = mu  # engineering shear strains
    return c


def orthotropic():
    # A non-trivial symmetric stiffness (solver order) with couplings.
    rng = np.random.default_rng(5)
    a = rng.normal(size=(6, 6))
    return a @ a.T + 6 * np.eye(6)


def test_plane_stress_condenses_the_normal_stress(tv, latched):
    eh = tv.elementhandling
    s, q = eh.getplanestressoutputfrom3d([100.0, 0, 50, 0, 0, 0], isotropic())
    np.testing.assert_allclose(s, [78.57142857142857, -21.428571428571427, 0.0], rtol=1e-14, atol=1e-12)
    want = E / (1 - NU ** 2) * np.array([[1, NU, 0], [NU, 1, 0], [0, 0, (1 - NU) / 2]])
    np.testing.assert_allclose(q, want, rtol=1e-14, atol=1e-9)
    # The same for a general law, and an exact plane-stress state keeps its stress.
    c = orthotropic()
    np.testing.assert_allclose(q, tv.lamina.getreducednyestiffnessmatrix(isotropic()), rtol=1e-15)
    strain = np.linalg.solve(c, [10.0, -4.0, 0.0, 3.0, 0.0, 0.0])
    stress = c @ strain
    s, q = eh.getplanestressoutputfrom3d(stress, c)
    np.testing.assert_allclose(q, tv.lamina.getreducednyestiffnessmatrix(c), rtol=1e-15)
    np.testing.assert_allclose(s, q @ strain[[0, 1, 3]], rtol=1e-13)
    assert latched()[0] == 0


def test_plane_stress_without_normal_stiffness_selects(tv, latched):
    c = orthotropic()
    c[2, 2] = 0.0
    stress = np.arange(1.0, 7.0)
    s, q = tv.elementhandling.getplanestressoutputfrom3d(stress, c)
    np.testing.assert_array_equal(s, stress[[0, 1, 3]])
    np.testing.assert_array_equal(q, c[np.ix_([0, 1, 3], [0, 1, 3])])
    # A singular law is left to the inversion, which latches; no crash.
    s, q = tv.elementhandling.getplanestressoutputfrom3d(stress, np.ones((6, 6)))
    assert latched()[0] == -2


def test_plane_strain_and_axisymmetric_output(tv, latched):
    eh = tv.elementhandling
    c, stress = orthotropic(), np.array([1.0, 2.0, 3.0, 4.0, 5.0, 6.0])
    s, t = eh.getplanestrainoutputfrom3d(stress, c)
    np.testing.assert_array_equal(s, stress[:4])
    np.testing.assert_array_equal(t, c[:4, :4])
    s, t = eh.getplanestrainoutputfrom3d(stress, c, isaxial=1)
    np.testing.assert_array_equal(s, [1.0, 3.0, 2.0, 5.0])  # s11, s33, s22, s13
    base = np.array([[1.0, 0, 0], [0, 0, 1], [0, 1, 0]])  # axes x, z, y
    np.testing.assert_allclose(t, tv.lamina.getarbitrarybasesc(c, base, 1, 0)[:4, :4], rtol=1e-15)
    assert latched()[0] == 0


def test_axisymmetric_round_trip_through_an_identity_law(tv):
    eh = tv.elementhandling
    a = np.array([1.5, -2.0, 0.25, 3.0])
    s3, e3, de3 = eh.get3dstressfromplanestrain(a, 2 * a, 3 * a, 1)
    np.testing.assert_array_equal(s3, [1.5, 0.25, -2.0, 0.0, 3.0, 0.0])
    np.testing.assert_array_equal(de3, 3 * s3)
    s, t = eh.getelemoutputfrom3d(s3, np.eye(6), 4, isaxial=1)
    np.testing.assert_array_equal(s, a)
    np.testing.assert_array_equal(t, np.eye(4))
    s3, e3, de3 = eh.get3dinputfromelem(a, 2 * a, 3 * a)  # plane strain without the flag
    np.testing.assert_array_equal(np.array([s3, e3, de3]), np.outer([1, 2, 3], np.r_[a, 0, 0]))


# (itnsflag, itshrflag, stress3d, stran3d) for stress (1, 2, 3), strain (4, 5, 6),
# transverse (γ13, γ23, ε33, τ13, τ23, σ33) = (7, 8, 9, 10, 11, 12).
PLANE_STRESS = [
    (0, 0, [1, 2, 0, 3, 0, 0], [4, 5, 0, 6, 0, 0]),
    (1, 0, [1, 2, 12, 3, 0, 0], [4, 5, 9, 6, 0, 0]),
    (0, 1, [1, 2, 0, 3, 10, 11], [4, 5, 0, 6, 7, 8]),
    (2, -1, [1, 2, 12, 3, 10, 11], [4, 5, 9, 6, 7, 8]),
]


@pytest.mark.parametrize("tns,tshr,stress3d,stran3d", PLANE_STRESS)
def test_plane_stress_input(tv, tns, tshr, stress3d, stran3d):
    eh = tv.elementhandling
    transverse = np.arange(7.0, 13.0)
    args = ([1.0, 2, 3], [4.0, 5, 6], [0.5, 0.25, 0.125])
    s, e, de = eh.get3dstressfromplanestress(*args, transverse, tns, tshr)
    np.testing.assert_array_equal(s, stress3d)
    np.testing.assert_array_equal(e, stran3d)
    np.testing.assert_array_equal(de, [0.5, 0.25, 0, 0.125, 0, 0])
    got = eh.get3dinputfromelem(*args, transverse=transverse, itnsflag=tns, itshrflag=tshr)
    np.testing.assert_array_equal(np.array(got), [s, e, de])


def test_dispatch_by_component_count(tv):
    eh = tv.elementhandling
    c, stress = orthotropic(), np.arange(1.0, 7.0)
    for n, routine in ((3, eh.getplanestressoutputfrom3d), (4, eh.getplanestrainoutputfrom3d),
                       (6, eh.gethexoutputfrom3d)):
        got, want = eh.getelemoutputfrom3d(stress, c, n), routine(stress, c)
        np.testing.assert_array_equal(got[0], want[0])
        np.testing.assert_array_equal(got[1], want[1])
    np.testing.assert_array_equal(eh.get3dinputfromelem(stress, 2 * stress, 3 * stress),
                                  np.outer([1, 2, 3], stress))
    np.testing.assert_array_equal(eh.get3dstressfromhex(stress, 2 * stress, 3 * stress),
                                  np.outer([1, 2, 3], stress))
    s, t = eh.gethexoutputfrom3d(stress, c)
    np.testing.assert_array_equal(s, stress)
    np.testing.assert_array_equal(t, c)
    s, t = eh.getelemoutputfrom3d(stress, c, 5)
    assert not s.any() and not t.any()
    assert not np.array(eh.get3dinputfromelem(stress, stress, stress, 5)).any()


def test_plane_stress_normal_strain(tv):
    assert tv.elementhandling.getplanestressepszz(9000.0, 0.3, 0.02, 100.0, -50.0) == pytest.approx(
        -(0.3 / 9000.0) * 100.0 - (0.02 / 9000.0) * -50.0, rel=1e-15)
