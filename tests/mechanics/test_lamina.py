"""Modules lamina, nlcollection and isscollection from Python: the defaults
of the call lines, in-place updates, argument relations and the latch."""
import numpy as np
import pytest
from tolerances import solve_atol


def test_stiffness_defaults(tv, latched, carbon):
    la = tv.lamina
    c = la.getnyestiffnessmatrix(carbon, 6)  # psflag 1: the full stiffness
    assert np.count_nonzero(la.getnyestiffnessmatrix(carbon, 6, psflag=0)) == 5
    np.testing.assert_array_equal(la.getgeneralizednyeonaxissc(carbon, 6, 1), c)
    full = c + np.triu(np.full((6, 6), 7.0), 1)
    np.testing.assert_array_equal(la.getgeneralizednyeonaxissc(full.ravel(order="F"), 6, 1, unsymm=1), full)
    averaged = la.getgeneralizednyeonaxissc(full.ravel(order="F"), 6, 1)
    np.testing.assert_array_equal(averaged, averaged.T)
    assert latched()[0] == 0


def test_off_axis_stiffness_is_the_numpy_expression(tv, carbon):
    # The stiffness turns with the strain form, the compliance with the stress form.
    la = tv.lamina
    for scflag, matrix, atol in ((1, la.getnyestiffnessmatrix, 1e-9), (0, la.getnyecompliancematrix, 1e-18)):
        t = la.getnyetransformationmatrix(np.radians(25.0), 6, 0, scflag)
        np.testing.assert_allclose(la.getnyeoffaxissc(25.0, carbon, 6, scflag), t.T @ matrix(carbon, 6) @ t,
                                   rtol=1e-13, atol=atol)
        t3 = la.getnyetransformationmatrix(np.radians(25.0), 3, 0, scflag)
        np.testing.assert_allclose(la.getnyeoffaxissc(25.0, carbon, 3, scflag), t3.T @ matrix(carbon, 3) @ t3,
                                   rtol=1e-13, atol=atol)


def test_stress_update_in_place(tv, error, carbon):
    la = tv.lamina
    c = la.getnyestiffnessmatrix(carbon, 6)
    stress, strain = np.zeros(6), np.array([1e-3, 0, 0, 0, 0, 2e-3])
    assert la.getstressvector(stress, c, strain, np.zeros(6), 3, True, False) is None
    np.testing.assert_allclose(stress, c @ strain)
    with pytest.raises(error):  # not an array it can update
        la.getstressvector([0.0] * 6, c, strain, strain, 3, True, False)
    with pytest.raises(error):
        la.getstressvector(stress, c[:4, :4], strain, strain, 3, True, False)
    sse = la.getspecificstrainenergy(1.0, stress, stress, strain, strain, 3, False, False)
    assert sse == pytest.approx(1.0 + stress @ strain)
    # ntens below the array length: entries beyond it are not read.
    s4, e4 = np.array([1.0, 2.0, 3.0, 4.0]), np.array([0.1, 0.2, 0.3, 0.4])
    assert la.getspecificstrainenergy(1.0, s4, s4, e4, e4, 3, False, False, ntens=3) == pytest.approx(2.4)
    assert la.getspecificstrainenergy(1.0, s4, s4, e4, e4, 3, True, False, ntens=3) == pytest.approx(1.4)


def test_hardening_table(tv, latched):
    # Yield stress over plastic strain, slopes interpolated between the
    # points (one-sided at the ends); beyond the table the largest yield
    # stress and no hardening; an empty table gives the lowest number.
    # Plastic strains that do not increase are refused instead of ending the
    # analysis in the interpolation.
    hardening = tv.lamina.gethardeningfromtable
    table = np.array([[300.0, 0.0], [340.0, 0.01], [360.0, 0.03], [365.0, 0.05]])
    assert hardening(0.02, table[:3]) == pytest.approx((350.0, 1500.0))
    assert [hardening(0.0, table), hardening(0.2, table), hardening(0.0, table[:0])] == [
        (300.0, 4000.0), (365.0, 0.0), (-np.finfo(float).max, 0.0)]
    assert latched()[0] == 0
    assert hardening(0.005, np.array([[300.0, 0.0], [340.0, 0.03], [360.0, 0.01]])) == (360.0, 0.0)
    assert latched() == (-2, "Plastic strains of the hardening table do not increase")


def test_optional_arguments_as_the_call_lines_give_them(tv, error, latched):
    la, nl, iss = tv.lamina, tv.nlcollection, tv.isscollection
    s = (10.0, -4.0, 3.0, 2.5, -1.5, 0.75)
    np.testing.assert_allclose(la.getrotatedstresses(0.0, [0, 0, 1.0], *s), s)  # Nye order
    assert la.gettensorcomponents([1.0, 2, 3, 4, 5, 6], shearfactor=0.5) == (1, 2, 3, 3, 2.5, 2)
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
    # A ttype of neither form is reported and taken as the inverse rotation.
    np.testing.assert_array_equal(la.getnyetransformationmatrix(0.3, 6, 2, 0),
                                  la.getnyetransformationmatrix(0.3, 6, 1, 0))
    assert latched() == (-2, "False input for TType in GetNyeTransformationMatrix")
    tv.errorhandling.rsxerr(True)
    # The call line's tflag 0 names no plane, nor does 4: refused, tv zero.
    for tflag in (0, 4):
        assert not la.gettvectorfromarbitraryrotation(0.2, [1.0, 0, 0], *s, tflag=tflag).any()
        assert latched() == (-2, "Unknown PFlag in GetTVectorFromArbitraryRotation")
        tv.errorhandling.rsxerr(True)


def test_chang_lessard_with_coefficients_and_a_thicker_ply(tv):
    # (a, b, c, d) = (1.3, 0.7, 0.5, 1.0), s = sin 30° = 0.5, thickness ratio 2:
    # (1 + 1.3·0.5/2^0.7)·60 = (1 + 0.400122)·60 and (1 + 0.5·0.5/2^1)·70.
    ys = tv.isscollection.insituchanglessard(60.0, 70.0, 2.0, 30.0, [1.3, 0.7, 0.5, 1.0])
    assert ys[0] == pytest.approx(84.00732, rel=1e-5)
    assert ys[1] == pytest.approx(78.75, rel=1e-14)


# F = I, a stretch of 1 % along axis 1 (small strain diag(0.01, 0, 0)) and a general F.
@pytest.mark.parametrize("f", [np.eye(3), np.diag([1.01, 1.0, 1.0]),
                               np.array([[1.1, 0.05, 0.0], [0.2, 0.9, -0.2], [-0.1, 0.3, 1.2]])])
def test_strain_measures_against_their_closed_forms(tv, f):
    la, i = tv.lamina, np.eye(3)
    np.testing.assert_allclose(la.getsmallstrain(f), 0.5 * (f + f.T) - i, atol=1e-15)
    np.testing.assert_allclose(la.getgreenstrain(f), 0.5 * (f.T @ f - i), atol=1e-15)
    b_inv = np.linalg.inv(f @ f.T)  # LAPACK's inverse against the library's
    np.testing.assert_allclose(la.getalmansistrain(f), 0.5 * (i - b_inv), atol=solve_atol(f @ f.T, b_inv))

