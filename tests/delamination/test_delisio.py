"""Module delisio from Python: the call lines' defaults, in-place scalars,
an optional pair told apart from absent, and extent relations."""
import numpy as np
import pytest

PROPS = np.array([140000, 10000, 10000, 0.3, 0.3, 0.45, 5000, 5000, 3500, 0.2, 1.0, 1.0])


def test_laws_update_in_place_and_refuse_copies(tv, error):
    d = tv.delisio
    deltag, n = np.array(1.0), np.array(-1.0)
    assert d.growthinitiationparis(deltag, n, 2.0, 3.0) is None
    assert n == 8.0 and deltag == 1.0
    d.growthinitiationparis(deltag, n, 2.0, 3.0)
    assert deltag == pytest.approx(4.0, rel=1e-15)
    with pytest.raises(error):
        d.growthinitiationparis(1.0, n, 2.0, 3.0)
    assert d.fibertension_lefm(1000, 0.1, 0, [150000]) == 2.0943951023931953
    with pytest.raises(error):
        d.fibertension_lefm(1000, 0.1, 0, [])


def test_buckled_sublaminate_defaults(tv):
    a = np.array([[5e4, 1.5e4, 0], [1.5e4, 5e4, 0], [0, 0, 1.75e4]])
    abd = np.zeros((6, 6))
    abd[:3, :3], abd[3:, 3:] = a, a / 50
    dof = np.array([-0.005, 0, 0, 0, 0, 0.0])
    energy, nsub, buckled = tv.delisio.energysublaminat(abd, dof, 25, 10, [-250.0])
    assert buckled is True or buckled == 1
    assert (energy, nsub) == tv.delisio.energysublaminat(abd, dof, 25, 10, [-250.0], 1.0, 0.0)[:2]


def test_coupled_sublaminate_buckles_at_the_reduced_bending_stiffness(tv):
    # D~ = D - B A^-1 B enters both plate loads; nsub is the buckling force (r = 0).
    a = np.array([[5e4, 1.5e4, 0], [1.5e4, 4e4, 0], [0, 0, 1.75e4]])
    b = np.array([[-800.0, 100, 0], [100, 600, 0], [0, 0, 200]])
    d = np.array([[1000, 300, 0], [300, 900, 0], [0, 0, 350.0]])
    abd = np.block([[a, b], [b, d]])
    dt = d - b @ np.linalg.inv(a) @ b
    scale = np.pi ** 2 / 20.0 ** 2
    root = np.sqrt(dt[0, 0] * dt[1, 1])
    nss = scale * 2 * (root + dt[0, 1] + 2 * dt[2, 2])
    ncl = scale * (2.62 * dt[0, 0] * 0.16 + 4.53 * root + 2.62 * (dt[0, 1] + 2 * dt[2, 2]))
    energy, nsub, buckled = tv.delisio.energysublaminat(abd, np.array([-0.005, 0, 0, 0, 0, 0.0]),
                                                        25, 10, [-250.0])
    assert buckled
    assert nsub == pytest.approx(-(nss + ncl) / 2, rel=1e-13)


def test_growth_drivers_defaults_and_relations(tv, error, latched):
    d = tv.delisio
    layup, dof = np.zeros(4), np.array([0.004, 0, 0, 0, 0, 0.0])
    # The Python cycle step defaults to 1; the Paris pair is absent unless given.
    r = d.delatensiongrowth(layup, 0.125, dof, 2, PROPS, 0, 0, 0, 1, 1, 1, 25)
    assert r.shape == (13, 1000)
    np.testing.assert_array_equal(r[0, :27], list(range(26)) + [0])
    assert r[9, 0] == 1.0
    g1 = r[6, 0]
    r = d.delatensiongrowth(layup, 0.125, dof, 2, PROPS, 0, 0, 0, 1, 1, 1, 25, paris_ng=[0.5, 2.0])
    assert r[9, 0] == pytest.approx((0.5 / g1) ** 2, rel=1e-14)
    r = d.delacompgrowth(layup, 0.125, -dof, 1, PROPS, 200, 100, 0, 20, 50, 10, incyclejump=3)
    assert r.shape == (13, 11)
    np.testing.assert_array_equal(r[0, :6], [0, 3, 6, 9, 12, 0])
    for bad in (dict(totalcycles=-1), dict(dela_interface=4), dict(ndof=5)):
        args = dict(dela_interface=1, totalcycles=3)
        args.update(bad)
        with pytest.raises(error):
            d.delacompgrowth(layup, 0.125, -dof, props=PROPS, length=200, width=100, extensdmg=0,
                             dmgwidth=20, dmglength=50, **args)
    with pytest.raises(error):
        d.delatensiongrowth(layup, 0.125, dof, 5, PROPS, 0, 0, 0, 1, 1, 1, 25)
    assert latched()[0] == 0


def test_allowables(tv, capfd):
    d = tv.delisio
    crack = np.zeros(8)
    crack[3] = 1.0
    per_ply, allowable, force = d.find_allowable_nogrowth_tension(
        np.zeros(8), 0.125, 0, 100, 100, PROPS, crack, np.array([[10.0, 10.0]]))
    assert per_ply[3] == allowable == pytest.approx(0.006724646781789639, rel=1e-14)
    assert force[3] == pytest.approx(947.5418901730908, rel=1e-14)
    strain, forces, history, per_interface = d.find_allowable_nogrowth_comp(
        np.array([0, 90, 90, 0.0]), 0.125, 0, 200, 100, PROPS, np.array([[20.0, 50.0], [0, 0]]))
    assert history.shape == (2, 6, 100)
    assert per_interface[1] == forces[1] == 0.0
    assert strain == per_interface[0] < 0
    assert "ERR for a life of  Ncycles  cycles is " in capfd.readouterr().out
