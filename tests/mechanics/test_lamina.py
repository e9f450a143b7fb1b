"""Modules lamina, nlcollection and isscollection from Python: the defaults
of the call lines, in-place updates, argument relations and the latch."""
import numpy as np
import pytest

CARBON = np.array([140.0e3, 10.0e3, 9.5e3, 0.3, 0.28, 0.45, 5.0e3, 4.8e3, 3.4e3])


def test_stiffness_defaults_and_refusals(tv, latched):
    la = tv.lamina
    np.testing.assert_array_equal(la.getnyeproperties([1.0e5, 8.0e3, 0.3, 0.0, 4.0e3]),
                                  la.getnyeproperties([1.0e5, 8.0e3, 4.0e3, 0.0, 0.3]))
    c = la.getnyestiffnessmatrix(CARBON, 6)  # psflag 1: the full stiffness
    np.testing.assert_allclose(c @ la.getnyecompliancematrix(CARBON, 6), np.eye(6), atol=1e-14)
    assert np.count_nonzero(la.getnyestiffnessmatrix(CARBON, 6, psflag=0)) == 5
    np.testing.assert_array_equal(la.getgeneralizednyeonaxissc(CARBON, 6, 1), c)
    full = c + np.triu(np.full((6, 6), 7.0), 1)
    np.testing.assert_array_equal(la.getgeneralizednyeonaxissc(full.ravel(order="F"), 6, 1, unsymm=1), full)
    averaged = la.getgeneralizednyeonaxissc(full.ravel(order="F"), 6, 1)
    np.testing.assert_array_equal(averaged, averaged.T)
    assert latched()[0] == 0
    assert not la.getgeneralizednyeonaxissc(CARBON, 2, 1).any()
    assert latched() == (-2, "Unsupported number of properties or dimensions in GetGeneralizedNyeOnAxisSC.")


def test_off_axis_stiffness_is_the_numpy_expression(tv):
    la = tv.lamina
    c = la.getnyestiffnessmatrix(CARBON, 6)
    t = la.getnyetransformationmatrix(np.radians(25.0), 6, 0, 1)
    np.testing.assert_allclose(la.getnyeoffaxissc(25.0, CARBON, 6, 1), t.T @ c @ t, rtol=1e-13, atol=1e-9)


def test_stress_update_in_place(tv, error):
    la = tv.lamina
    c = la.getnyestiffnessmatrix(CARBON, 6)
    stress, strain = np.zeros(6), np.array([1e-3, 0, 0, 0, 0, 2e-3])
    assert la.getstressvector(stress, c, strain, np.zeros(6), 3, True, False) is None
    np.testing.assert_allclose(stress, c @ strain)
    with pytest.raises(error):  # not an array it can update
        la.getstressvector([0.0] * 6, c, strain, strain, 3, True, False)
    with pytest.raises(error):
        la.getstressvector(stress, c[:4, :4], strain, strain, 3, True, False)
    sse = la.getspecificstrainenergy(1.0, stress, stress, strain, strain, 3, False, False)
    assert sse == pytest.approx(1.0 + stress @ strain)


def test_optional_arguments_as_the_call_lines_give_them(tv, error, latched):
    la, nl, iss = tv.lamina, tv.nlcollection, tv.isscollection
    s = (10.0, -4.0, 3.0, 2.5, -1.5, 0.75)
    np.testing.assert_allclose(la.getrotatedstresses(0.0, [0, 0, 1.0], *s), s)  # Nye order
    assert la.gettensorcomponents([1.0, 2, 3, 4, 5, 6], shearfactor=0.5) == (1, 2, 3, 3, 2.5, 2)
    table = np.array([[300.0, 0.0], [340.0, 0.01], [360.0, 0.03]])
    assert la.gethardeningfromtable(0.02, table) == pytest.approx((350.0, 1500.0))
    args = [40.0, 0.01, 5000.0, 1e-7]
    assert nl.recu_nlhahntsai(args) == nl.pure_nlhahntsai(5000.0, 1e-7, 40.0, 0.01)
    assert nl.nladam(1200.0, 400.0, 0.25, 1e6, 1.5, 2.0) == 0.0
    props = [3500.0, 380.0, 1800.0, 450.0, 40.0]
    assert nl.nlmahieux(100.0, props, [20.0, 30.0]) == pytest.approx(3500.0)
    with pytest.raises(error):  # two transitions need two exponents
        nl.nlmahieux(100.0, props, [20.0])
    assert iss.insitupuckps(1200.0, 200.0, 90.0, 0.0) == 1200.0
    # Chang-Lessard's call line passes zero coefficients: no in-situ raise.
    np.testing.assert_array_equal(iss.insituchanglessard(60.0, 70.0, 2.0, 45.0), [60.0, 70.0])
    assert latched()[0] == 0
    # The call line's tflag 0 names no plane: refused, tv zero.
    assert not la.gettvectorfromarbitraryrotation(0.2, [1.0, 0, 0], *s).any()
    assert latched() == (-2, "Unknown PFlag in GetTVectorFromArbitraryRotation")
