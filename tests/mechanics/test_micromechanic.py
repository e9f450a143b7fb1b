"""Modules micromechanic and laminate's mixture rules from Python: computed
and plain defaults of the call lines, extent relations, and the reports a
bad kind latches."""
import numpy as np
import pytest

GLASS = [70.0, 70.0, 70.0 / 2.4, 70.0 / 2.4, 0.2]
GLASS4 = [70.0, 70.0, 70.0 / 2.4, 0.2]
EPOXY = [3.0, 0.35]


def test_halpin_tsai_default_is_computed_from_the_callers_fraction(tv):
    ht = tv.micromechanic.halpintsai
    for vf in (0.5, 1.2):  # the unclamped vf feeds the default
        zeta = [2 + 40 * vf**10, 1 + 40 * vf**10]
        np.testing.assert_array_equal(ht(GLASS4, EPOXY, vf), ht(GLASS4, EPOXY, vf, zeta))
    # The library's own factors (-1, -1) are the same inside [0, 1].
    np.testing.assert_array_equal(ht(GLASS4, EPOXY, 0.5), ht(GLASS4, EPOXY, 0.5, [-1, -1]))


def test_defaults_of_the_schemes(tv):
    mm = tv.micromechanic
    mt = mm.moritanaka(GLASS, EPOXY, 0.3)
    np.testing.assert_array_equal(mt, mm.moritanaka(GLASS, EPOXY, 0.3, 0.0, 0.0, [0, 0], 1.0, 0))
    # luflag > 0 takes the fibre as the reference medium; 0 or below the matrix.
    np.testing.assert_array_equal(mm.hashinshtrikman(GLASS, EPOXY, 0.3, 0), mt)
    np.testing.assert_array_equal(mm.hashinshtrikman(GLASS, EPOXY, 0.3, -1), mt)
    assert mm.hashinshtrikman(GLASS, EPOXY, 0.3, 1)[1] > 2 * mt[1]
    np.testing.assert_array_equal(mm.cscs(GLASS, EPOXY, 0.3), mm.cscs(GLASS, EPOXY, 0.3, maxit=200, threshold=1e-8))
    np.testing.assert_array_equal(mm.huang(GLASS, EPOXY, 0.3), mm.huang(GLASS, EPOXY, 0.3, cp=[0.5, 0.5]))
    np.testing.assert_array_equal(mm.cumulative(GLASS, EPOXY, 0.3), mm.cumulative(GLASS, EPOXY, 0.3, rvetype=1))
    assert mm.huang(GLASS, EPOXY, 0.3).shape == (12,)
    sf, sm = mm.getphasereduction(GLASS, EPOXY, 0.3)
    np.testing.assert_array_equal(sf, mm.getvoigtcompliancematrix(GLASS))
    eng = mm.getengconstsfromcompliancematrix(sm)
    np.testing.assert_allclose(eng[[0, 5, 8]], [3.0, 3.0 / 2.7, 0.35], rtol=1e-15)
    # Extents from the arrays: Chamis' size from the fibre array, LTH's
    # matrix size from its array.
    assert mm.chamis([70, 60, 25, 20, 0.22, 0], EPOXY, 0.5).shape == (6,)
    insitu = [3.0, 3.2, 1.1, 1.2, 0.36]
    np.testing.assert_array_equal(mm.lth(GLASS, insitu, 0.5, 1, 1), mm.lth(GLASS, insitu, 0.5, 1, 0, mdim=5))


def test_relations_and_reports(tv, error, latched):
    mm = tv.micromechanic
    with pytest.raises(error):
        mm.lth(GLASS, [3.0], 0.5, 1, 0)  # mdim 1: no Poisson ratio
    with pytest.raises(error):
        mm.moritanaka(GLASS[:4], EPOXY, 0.3)
    with pytest.raises(error):
        mm.generalizedmoritanaka(np.zeros((6, 6, 2)), np.zeros((6, 6, 1)), [0.1, 0.1], np.eye(6))
    with pytest.raises(error):
        mm.chamis(GLASS4, EPOXY, 0.5, 5)  # a fifth fibre value missing
    # Kind 11 without a host stiffness, an unknown kind or concentration rule.
    assert not mm.geteshelbytensor(11, 1.0, 0.3).any()
    assert latched() == (-3, "Illegal host stiffness matrix in GetEshelbyTensor.")
    tv.errorhandling.rsxerr(True)
    assert not mm.geteshelbytensor(7, 1.0, 0.3).any()
    assert latched() == (-3, "Unknown kind of Eshelby tensor request.")
    tv.errorhandling.rsxerr(True)
    e = mm.geteshelbytensor(1, 1.0, 0.35)
    assert not mm.getstrainconcentrationtensor(e, np.eye(6), np.eye(6), 0.3, 9).any()
    assert latched() == (-2, "Unknown AType. Please check your input")


def test_mixture_rules_take_their_layer_count_from_the_fractions(tv, error):
    lm = tv.laminate
    c = np.stack([np.diag([10.0, 10, 5, 2, 2, 3]), np.diag([4.0, 4, 2, 1, 1, 1])], axis=2)
    for rule in (lm.getvoigteffectivestiffness, lm.getreusseffectivestiffness, lm.getsuneffectivestiffness,
                 lm.getchoueffectivestiffness, lm.gethenryeffectivestiffness):
        np.testing.assert_array_equal(rule([0.5, 0.5], c), rule([0.5, 0.5], c, 2))
        np.testing.assert_allclose(rule([1.0], c[:, :, :1]), c[:, :, 0], rtol=1e-15)
        with pytest.raises(error):
            rule([0.5, 0.5, 0.0], c)  # a third layer missing


def test_an_interphase_of_the_fibres_own_material_is_more_fibre(tv):
    # Glass fibres in a glass interphase: a bundle of 0.3 + 0.1 is 0.4 of glass.
    mm = tv.micromechanic
    sf, _ = mm.getphasereduction(GLASS, EPOXY, 0.3, 0.0, 0.1, [70.0, 0.2])
    np.testing.assert_allclose(sf, mm.getvoigtcompliancematrix(GLASS), rtol=1e-13, atol=1e-19)
    assert not np.any(mm.getphasereduction(GLASS, EPOXY, 0.95, 0.0, 0.1, [70.0, 0.2]))  # fractions beyond 1
    for scheme in (mm.voigt, mm.reuss, mm.moritanaka, mm.cscs):
        np.testing.assert_allclose(scheme(GLASS, EPOXY, 0.3, 0.0, 0.1, [70.0, 0.2]), scheme(GLASS, EPOXY, 0.4),
                                   rtol=1e-13)


def test_lielens_interpolates_the_inverse_bound_tensors(tv):
    # Lielens' rule: A⁻¹ = (1 - w)·A_MT⁻¹ + w·A_HS+⁻¹ with w = (v + v²)/2.
    mm = tv.micromechanic
    e = mm.geteshelbytensor(1, 1.0, 0.35)
    cf = np.linalg.inv(mm.getvoigtcompliancematrix(GLASS))
    cm = np.linalg.inv(mm.getvoigtcompliancematrix([3.0, 3.0, 3.0 / 2.7, 3.0 / 2.7, 0.35]))
    for v in (0.3, 0.6):
        mt, upper, li = (mm.getstrainconcentrationtensor(e, cf, cm, v, t) for t in (1, 2, 5))
        w = (v + v * v) / 2
        np.testing.assert_allclose(np.linalg.inv(li), (1 - w) * np.linalg.inv(mt) + w * np.linalg.inv(upper),
                                   rtol=1e-12, atol=1e-12)
