"""Module lamina from Python: the call lines' defaults, in-place updates,
argument relations and the latch."""
import numpy as np
import pytest

CARBON = np.array([140.0e3, 10.0e3, 9.5e3, 0.3, 0.28, 0.45, 5.0e3, 4.8e3, 3.4e3])


@pytest.fixture
def la(tv):
    tv.errorhandling.rsxerr(True)
    yield tv.lamina
    tv.errorhandling.rsxerr(True)


def latched(tv):
    return tv.errorhandling.errstat, tv.errorhandling.errstring.tobytes().decode().rstrip()


def test_nine_constants_from_both_five_value_forms(la):
    a = la.getnyeproperties([1.0e5, 8.0e3, 0.3, 0.0, 4.0e3])
    b = la.getnyeproperties([1.0e5, 8.0e3, 4.0e3, 0.0, 0.3])
    np.testing.assert_array_equal(a, [1.0e5, 8.0e3, 8.0e3, 0.3, 0.3, 0.0, 4.0e3, 4.0e3, 4.0e3])
    np.testing.assert_array_equal(a, b)


def test_default_flags_give_the_full_stiffness(la, tv):
    c = la.getnyestiffnessmatrix(CARBON, 6)
    s = la.getnyecompliancematrix(CARBON, 6)
    np.testing.assert_allclose(c @ s, np.eye(6), atol=1e-14)
    plane = la.getnyestiffnessmatrix(CARBON, 6, psflag=0)
    assert np.count_nonzero(plane) == 5
    np.testing.assert_array_equal(la.getgeneralizednyeonaxissc(CARBON, 6, 1), c)
    np.testing.assert_allclose(la.getgeneralizednyeonaxissc(CARBON, 6, 0), s, rtol=1e-12, atol=1e-22)
    full = np.asfortranarray(c + np.triu(np.full((6, 6), 7.0), 1))
    np.testing.assert_array_equal(la.getgeneralizednyeonaxissc(full.ravel(order="F"), 6, 1, unsymm=1), full)
    averaged = la.getgeneralizednyeonaxissc(full.ravel(order="F"), 6, 1)
    np.testing.assert_array_equal(averaged, averaged.T)
    assert latched(tv)[0] == 0


def test_unsupported_layouts_are_latched(la, tv):
    sc = la.getgeneralizednyeonaxissc(CARBON[:7], 6, 0)
    assert latched(tv) == (-2, "Unsupported number of properties or dimensions in GetGeneralizedNyeOnAxisSC.")
    assert sc.shape == (6, 6)
    tv.errorhandling.rsxerr(True)
    assert not la.getgeneralizednyeonaxissc(CARBON, 2, 1).any()
    assert latched(tv)[0] == -2
    tv.errorhandling.rsxerr(True)
    assert la.getnyetransformationmatrix(0.3, 2, 0, 0).shape == (2, 2)
    assert latched(tv) == (-2, "False input for TType in GetNyeTransformationMatrix")


def test_off_axis_stiffness_is_the_numpy_expression(la):
    c = la.getnyestiffnessmatrix(CARBON, 6)
    for deg in (0.0, 25.0, -60.0):
        t = la.getnyetransformationmatrix(np.radians(deg), 6, 0, 1)
        np.testing.assert_allclose(la.getnyeoffaxissc(deg, CARBON, 6, 1), t.T @ c @ t, rtol=1e-13, atol=1e-9)
    ts = la.getnyetransformationmatrix(0.4, 6, 0, 0)
    te = la.getnyetransformationmatrix(0.4, 6, 0, 1)
    np.testing.assert_allclose(ts @ te.T, np.eye(6), atol=1e-15)
    u = la.getinvariantsfromreducedstiffness(CARBON)
    q = la.getnyeoffaxissc(45.0, CARBON, 3, 1)
    assert q[0, 0] == pytest.approx(u[0] + u[2] * np.cos(np.pi), rel=1e-12)


def test_stress_update_in_place(la, error):
    c = la.getnyestiffnessmatrix(CARBON, 6)
    stress = np.zeros(6)
    strain = np.array([1e-3, 0, 0, 0, 0, 2e-3])
    la.getstressvector(stress, c, strain, np.zeros(6), 3, True, False)
    np.testing.assert_allclose(stress, c @ strain)
    la.getstressvector(stress, c, np.zeros(6), strain, 3, False, True)
    np.testing.assert_allclose(stress, c @ strain + c @ (strain * [1, 1, 1, 2, 2, 2]))
    with pytest.raises(error):
        la.getstressvector([0.0] * 6, c, strain, strain, 3, True, False)
    with pytest.raises(error):
        la.getstressvector(stress, c[:4, :4], strain, strain, 3, True, False)
    sse = la.getspecificstrainenergy(1.0, stress, stress, strain, strain, 3, False, False)
    assert sse == pytest.approx(1.0 + stress @ strain)


def test_rotations_and_tractions_defaults(la, tv):
    s = (10.0, -4.0, 3.0, 2.5, -1.5, 0.75)
    np.testing.assert_allclose(la.getrotatedstresses(0.0, [0, 0, 1.0], *s), s)
    np.testing.assert_allclose(la.getrotatedstresses(0.0, [0, 0, 1.0], *s, soutflag=1),
                               [10.0, -4.0, 3.0, 0.75, -1.5, 2.5])
    # The call line's default tflag 0 names no plane: refused, tv zero.
    assert not la.gettvectorfromarbitraryrotation(0.2, [1.0, 0, 0], *s).any()
    assert latched(tv) == (-2, "Unknown PFlag in GetTVectorFromArbitraryRotation")
    tv.errorhandling.rsxerr(True)
    np.testing.assert_allclose(la.gettvectorfromarbitraryrotation(0.2, [1.0, 0, 0], *s, tflag=3),
                               la.gettvectoronrotatedxyplane(0.2, *s[1:]), atol=1e-14)
    base = tv.math.getrotationmatrix([0.0, 0.6, 0.8], 0.5)
    c = la.getnyestiffnessmatrix(CARBON, 6)
    cb = la.getarbitrarybasesc(c, base, 1, 0)
    np.testing.assert_allclose(cb @ la.getarbitrarybasesc(np.linalg.inv(c), base, 0, 0), np.eye(6), atol=1e-13)
    q = la.getreducednyestiffnessmatrix(c)
    np.testing.assert_allclose(q, la.getnyestiffnessmatrix(CARBON, 3), rtol=1e-12)
    assert latched(tv)[0] == 0


def test_notation_round_trips(la):
    q = np.array([[11.0, 12, 13], [12, 22, 23], [13, 23, 33]])
    v, n, c = la.voigtnotation(q), la.nyenotation(q), la.cyclicnotation(q)
    np.testing.assert_array_equal(la.cauchynotation(v), q)
    np.testing.assert_array_equal(la.flipvoigtnyenotation(n.reshape(6, 1), 1).ravel(), v)
    np.testing.assert_array_equal(la.flipvoigtcyclicnotation(v.reshape(6, 1), 1, 2).ravel(), c)
    a = np.arange(36.0).reshape(6, 6)
    np.testing.assert_array_equal(la.flipvoigtnyenotation(la.flipvoigtnyenotation(a, 6), 6), a)
    back = la.flipvoigtcyclicnotation(la.flipvoigtcyclicnotation(a, 6, 2), 6, 1)
    np.testing.assert_array_equal(back, a)
    csix = la.getreducednyestiffnessmatrix(np.eye(6))
    np.testing.assert_array_equal(la.getvoigtstiffnessfromtensor(la.gettensorfromvoigtstiffness(a)), a)
    assert csix.shape == (3, 3)


def test_measures(la, tv):
    t = la.gettensorcomponents([1.0, 2.0, 3.0, 4.0, 5.0, 6.0], shearfactor=0.5)
    assert t == (1.0, 2.0, 3.0, 3.0, 2.5, 2.0)
    assert la.getmisesstress([0, 0, 0, 0, 0, 5.0]) == pytest.approx(5 * np.sqrt(3))
    np.testing.assert_allclose(la.getprincipals([0, 0, 0, 0, 0, 5.0]), [5, 0, -5], atol=1e-13)
    assert la.getrankinestress([-1, -2, -5]) == 5.0
    np.testing.assert_allclose(la.getmisesflow([2.0, 1, 0, 0, 0, 0])[:3], np.array([1, 0, -1]) / np.sqrt(3))
    table = np.array([[300.0, 0.0], [340.0, 0.01], [360.0, 0.03]])
    assert la.gethardeningfromtable(0.02, table) == pytest.approx((350.0, 0.5 * (2000.0 + 1000.0)))
    assert la.gethardeningfromtable(0.5, table) == (360.0, 0.0)
    assert la.gettrace([1.0, 2.0, 3.0, 4.0, 5.0]) == 0.0
    assert latched(tv) == (-3, "Unsupported number of stress components")
