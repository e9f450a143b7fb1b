"""Fibre, Krause and elastic-plastic material routines against hand values,
closed forms and central differences."""
import textwrap

import numpy as np
import pytest

EYE = np.eye(3, order="F")
HUGE = np.finfo(float).max
FIBRE = np.array([140e3, 10e3, 10e3, 0.3, 0.3, 0.45, 5e3, 5e3, 3.5e3])  # E1 .. G23 (MPa)


@pytest.fixture(autouse=True)
def clean(tv):
    tv.errorhandling.rsxerr(True)
    yield
    tv.errorhandling.rsxerr(True)


def umat(routine, props, dstran, stress=None, statev=None, stran=None, temp=20.0, dtemp=0.0, kinc=3,
         ndi=3, dtime=0.1, name="FIBRE", spd=0.0):
    n = len(dstran)
    stress = np.zeros(n) if stress is None else np.asarray(stress, float)
    stran = np.zeros(n) if stran is None else np.asarray(stran, float)
    statev = np.zeros(12) if statev is None else np.asarray(statev, float)
    z = np.zeros(n)
    return routine(stress, statev, 0.0, spd, 0.0, 0.0, z, z, 0.0, stran, np.asarray(dstran, float), [0.0, 1.0],
                   dtime, temp, dtemp, [0.0], [0.0], name, ndi, n - ndi, np.asarray(props, float), [0.0] * 3, EYE,
                   1.0, 1.0, EYE, EYE, 1, 1, 1, 1, [1, 1, 0, 0], kinc)


def stiffness(tv, constants, n=6):
    return tv.lamina.getnyestiffnessmatrix(np.asarray(constants, float), n)


def test_fibre_temperature_sets_and_energy(tv):
    strain = np.array([1e-3, -2e-4, 1e-4, 5e-4, -3e-4, 2e-4])
    cold, hot = np.r_[FIBRE, 1500.0, 1200.0], np.r_[FIBRE * 0.8, 1300.0, 1000.0]
    mean = (cold + hot) / 2
    for props in (np.r_[cold, 20.0, hot, 80.0], np.r_[hot, 80.0, cold, 20.0]):  # either order of T1, T2
        stress, statev, ddsdde, sse, spd, scd, _ = umat(tv.toplevel.umat_fiber, props, strain, temp=40.0,
                                                        dtemp=10.0, stress=np.ones(6))
        np.testing.assert_allclose(ddsdde, stiffness(tv, mean[:9]), rtol=1e-14)
        np.testing.assert_allclose(stress, ddsdde @ strain, rtol=1e-14)
        assert sse == pytest.approx(0.5 * stress @ strain, rel=1e-14) and (spd, scd) == (0.0, 0.0)
        assert statev[11] == HUGE and statev[2] == pytest.approx(stress[0] / mean[9], rel=1e-14)
    # Off the middle, with the sets given in reverse order.
    _, _, ddsdde, *_ = umat(tv.toplevel.umat_fiber, np.r_[hot, 80.0, cold, 20.0], strain, temp=30.0)
    np.testing.assert_allclose(ddsdde, stiffness(tv, cold[:9] + (hot[:9] - cold[:9]) / 6), rtol=1e-14)
    # Outside [T1, T2] the end sets.
    _, _, ddsdde, *_ = umat(tv.toplevel.umat_fiber, np.r_[cold, 20.0, hot, 80.0], strain, temp=90.0)
    np.testing.assert_allclose(ddsdde, stiffness(tv, hot[:9]), rtol=1e-15)


def test_fibre_failure_and_stiffness_factor(tv):
    xt, xc = 1500.0, 1200.0
    pull, push = np.r_[2 * xt / 140e3, np.zeros(5)], np.r_[-0.5 * xc / 140e3, np.zeros(5)]
    # 11 properties: failed at twice the strength, no factor afterwards.
    _, statev, d0, *_ = umat(tv.toplevel.umat_fiber, np.r_[FIBRE, xt, xc], pull)
    assert statev[2] == 1.0
    _, statev, d1, *_ = umat(tv.toplevel.umat_fiber, np.r_[FIBRE, xt, xc], push, statev=statev)
    assert statev[2] == 1.0 and (d1 == d0).all()
    # 12 properties: the nine constants times the factor once failed.
    _, _, d2, *_ = umat(tv.toplevel.umat_fiber, np.r_[FIBRE, xt, xc, 0.1], push, statev=statev)
    np.testing.assert_allclose(d2, stiffness(tv, FIBRE * 0.1), rtol=1e-14)
    # The running maximum of the effort; compression counts against xc.
    _, statev, *_ = umat(tv.toplevel.umat_fiber, np.r_[FIBRE, xt, xc], push)
    e_push = statev[2]
    assert e_push == pytest.approx(0.5 * d0[0, 0] / 140e3, rel=1e-14)
    _, statev, *_ = umat(tv.toplevel.umat_fiber, np.r_[FIBRE, xt, xc], 0.1 * push, statev=statev)
    assert statev[2] == e_push
    # 10 properties: tension only; 9: no check at all.
    _, statev, *_ = umat(tv.toplevel.umat_fiber, np.r_[FIBRE, xt], 10 * push)
    assert statev[2] == 0.0
    _, statev, *_ = umat(tv.toplevel.umat_fiber, np.r_[FIBRE, xt], 0.25 * pull)
    assert statev[2] == pytest.approx(0.5 * d0[0, 0] / 140e3, rel=1e-14)
    _, statev, d9, *_ = umat(tv.toplevel.umat_fiber, FIBRE, 10 * pull)
    assert statev[2] == 0.0 and (d9 == d0).all()
    # The factor of 25 properties; none with 24 (or 13 to 23).
    sets = np.r_[FIBRE, xt, xc, 20.0, FIBRE, xt, xc, 80.0]
    for props, scale in ((np.r_[sets, 0.2], 0.2), (sets, 1.0), (np.r_[FIBRE, xt, xc, 0.2, 1.0], 1.0)):
        _, _, d, *_ = umat(tv.toplevel.umat_fiber, props, push, statev=np.r_[0, 0, 1.0, np.zeros(9)])
        np.testing.assert_allclose(d, stiffness(tv, FIBRE * scale), rtol=1e-14)
    # Three state variables hold the effort.
    _, statev, *_ = umat(tv.toplevel.umat_fiber, np.r_[FIBRE, xt, xc], pull, statev=np.zeros(3))
    assert statev.tolist() == [0.0, 0.0, 1.0]


def test_fibre_refusals_and_warning(tv, latched, capfd):
    stress, statev, ddsdde, sse, *_ = umat(tv.toplevel.umat_fiber, FIBRE[:7], np.full(6, 1e-3), stress=np.ones(6))
    assert latched()[0] == -2 and not ddsdde.any() and not stress.any() and sse == 0.0
    capfd.readouterr()
    # Two state variables: the warning in the first increments, nothing written past them.
    statev = np.array([0.0, 1e35])
    _, statev, *_ = umat(tv.toplevel.umat_fiber, np.r_[FIBRE, 1.0, 1.0], np.r_[1.0, np.zeros(5)], statev=statev,
                         kinc=1, name="PLY")
    out = capfd.readouterr().out
    assert out == " ****WARNING: To less nstatev allocated for material PLY" + " " * 77 + "\n"
    assert statev.tolist() == [0.0, 0.0]
    umat(tv.toplevel.umat_fiber, FIBRE, np.zeros(6), statev=np.zeros(2), kinc=2)
    assert capfd.readouterr().out == ""


def test_usermat_fiber(tv, latched):
    def call(prop, stress, dstrain, ndirect=3, tsstif=None):
        n = len(stress)
        stress = np.array(stress, float)
        sedel, sedpl, epseq = np.ones(()), np.ones(()), np.ones(())
        var = [np.full((), 2.0) for _ in range(9)]
        tsstif = np.full(2, 7.0) if tsstif is None else tsstif
        keycut, dsdepl, epszz = tv.toplevel.usermat_fiber(
            1, 1, 1, 1, 1, 1, 1, ndirect, n - ndirect, 0.0, 0.1, 20.0, 0.0, stress, np.zeros(1), sedel, sedpl,
            epseq, np.zeros(n), np.asarray(dstrain, float), np.zeros(n), np.asarray(prop, float), [0.0] * 3,
            var[0], EYE, EYE, tsstif, *var[1:])
        assert keycut == 0 and float(sedpl) == 0 and float(epseq) == 0 and all(float(x) == 2.0 for x in var)
        return stress, dsdepl, epszz, tsstif, float(sedel)

    c = stiffness(tv, FIBRE)
    ansys = [0, 1, 2, 3, 5, 4]  # ANSYS order 11, 22, 33, 12, 23, 13 from the solver order
    deps = np.array([1e-3, 0, 0, 0, 2e-3, 0])  # ANSYS order: gamma23
    stress, dsdepl, epszz, tsstif, sedel = call(FIBRE, np.ones(6), deps)
    np.testing.assert_allclose(dsdepl, c[np.ix_(ansys, ansys)], rtol=1e-15)
    np.testing.assert_allclose(stress, 1 + dsdepl @ deps, rtol=1e-15)
    assert sedel == pytest.approx(0.5 * (stress + 1) @ deps, rel=1e-14)
    assert epszz == 0.0 and tsstif.tolist() == [5e3, 7.0]
    # Plane stress: the thickness strain -nu13/E1*s11 - nu23/E2*s22.
    stress, _, epszz, tsstif, sedel = call(FIBRE, [100.0, 10.0, 0.0], np.zeros(3), ndirect=2)
    assert epszz == pytest.approx(-6.642857142857143e-4, rel=1e-14) and sedel == 0.0
    assert tsstif.tolist() == [5e3, 3.5e3]
    _, dsdepl, _, tsstif, _ = call(FIBRE, np.zeros(4), np.zeros(4))
    np.testing.assert_allclose(dsdepl, c[:4, :4], rtol=1e-15)
    assert tsstif.tolist() == [5e3, 3.5e3]
    # Seven constants are none of the accepted forms.
    stress, dsdepl, *_ = call(FIBRE[:7], np.ones(6), deps)
    assert latched() == (-2, "Unsupported input in GetNyeProperties") and not dsdepl.any() and (stress == 1).all()


RESIN = np.array([3000.0, 20.0, 0.35, 800.0, 50.0, 100.0, 80.0, 60.0, 40.0, 20.0, 10.0])


def test_krause_state_and_tangent(tv, latched):
    stran = np.array([2e-3, -1e-3, 5e-4, 1e-3, 0, -5e-4])
    dstran = np.array([5e-4, 1e-4, -2e-4, 3e-4, 1e-4, 0])
    old = np.linspace(0, 1, 42)
    stress, statev, ddsdde, sse, *_ = umat(tv.toplevel.umat_krause, RESIN, dstran, statev=old.copy(), stran=stran,
                                           stress=np.zeros(6))
    law = tv.resin.endochroneviscoplasticity
    ref_stress, ref_state = law(stran, dstran, RESIN, np.zeros(6), old.copy(), 0.1, 1, 1)
    np.testing.assert_array_equal(stress, ref_stress)
    np.testing.assert_array_equal(statev, ref_state)
    for j in range(6):
        h = np.zeros(6)
        h[j] = 1e-8
        fwd, _ = law(stran, dstran + h, RESIN, np.zeros(6), statev.copy(), 0.0, 0, 1)
        bwd, _ = law(stran, dstran - h, RESIN, np.zeros(6), statev.copy(), 0.0, 0, 1)
        np.testing.assert_allclose(ddsdde[:, j], (fwd - bwd) / 2e-8, rtol=1e-12, atol=1e-6)
    assert sse == 0.0
    stress, statev, ddsdde, *_ = umat(tv.toplevel.umat_krause, RESIN, np.ones(4), stress=np.full(4, 3.0),
                                      statev=np.full(42, 2.0))
    assert latched()[0] == -2 and (stress == 3).all() and (statev == 2).all()


def test_elastic_plastic_return(tv, latched):
    hail = tv.toplevel.umat_hail
    props = [200000.0, 0.3, 1.0, 200.0, 0.0, 200.0, 1.0]
    stress, statev, ddsdde, sse, spd, *_ = umat(hail, props, [0, 0, 0, 0.004, 0, 0], statev=np.zeros(13))
    assert statev[12] == pytest.approx(1.44273441e-3, rel=1e-8)
    assert stress[3] == pytest.approx(200 / 3 ** 0.5, rel=1e-13) and np.abs(np.delete(stress, 3)).max() < 1e-12
    assert statev[9] == pytest.approx(2.49888930e-3, rel=1e-8) and spd == pytest.approx(0.28854688, rel=1e-8)
    assert tv.lamina.getmisesstress(stress) == pytest.approx(200.0, rel=1e-13)
    assert statev[3] == pytest.approx(0.004 - statev[9], rel=1e-14)
    # The dissipation accumulates: a plastic increment adds its share to
    # what came in, an elastic one keeps it.
    spd = umat(hail, props, [0, 0, 0, 0.004, 0, 0], statev=np.zeros(13), spd=100.0)[4]
    assert spd == pytest.approx(100.28854688, rel=1e-10)
    assert umat(hail, props, [1e-4, 0, 0, 0, 0, 0], statev=np.zeros(13), spd=100.0)[4] == 100.0
    # Elastic below yield; without plasticity (two properties) the state keeps its plastic part.
    old = np.arange(13.0) / 1000
    stress, statev, ddsdde, *_ = umat(hail, props[:2], [1e-4, 0, 0, 0, 0, 0], statev=old.copy())
    assert latched()[0] == 0
    np.testing.assert_allclose(ddsdde, stiffness(tv, [2e5, 2e5, 2e5, 0.3, 0.3, 0.3] + [2e5 / 2.6] * 3), rtol=1e-15)
    assert (statev[6:] == old[6:]).all() and statev[0] == old[0] + 1e-4


def hardening_props():
    # Linear hardening (slope 2000 MPa): the table's slope is the exact derivative.
    return [70000.0, 0.33, 1.0, 250.0, 0.0, 450.0, 0.1]


def test_elastic_plastic_tangent_is_the_derivative(tv):
    hail = tv.toplevel.umat_hail
    start = np.r_[np.array([1e-3, 2e-4, -3e-4, 8e-4, 1e-4, -2e-4]), np.zeros(6), 0.003]
    dstran = np.array([2e-3, -5e-4, 1e-4, 1.5e-3, -4e-4, 6e-4])
    stress0 = np.array([150.0, 20.0, -30.0, 60.0, 10.0, -15.0])
    _, statev, ddsdde, *_ = umat(hail, hardening_props(), dstran, stress=stress0, statev=start.copy())
    assert statev[12] > 0.003
    numeric = np.empty((6, 6))
    for j in range(6):
        h = np.zeros(6)
        h[j] = 1e-7
        fwd = umat(hail, hardening_props(), dstran + h, stress=stress0, statev=start.copy())[0]
        bwd = umat(hail, hardening_props(), dstran - h, stress=stress0, statev=start.copy())[0]
        numeric[:, j] = (fwd - bwd) / 2e-7
    np.testing.assert_allclose(ddsdde, numeric, rtol=1e-6, atol=1e-3)


def test_elastic_plastic_near_incompressible_and_refusals(tv, latched):
    hail = tv.toplevel.umat_hail
    # nu = 0.5: (1 + nu) = 1.4990000128746033 and (1 - 2 nu) = 0.001999974250793457.
    g = 1000.0 / 1.4990000128746033 / 2
    lam = (1000.0 / 0.001999974250793457 - 2 * g) / 3
    stress, statev, ddsdde, *_ = umat(hail, [1000.0, 0.5, 1.0, 5.0, 0.0, 5.0, 1.0], [0, 0, 0, 0.02, 0, 0],
                                      statev=np.zeros(13))
    assert statev[12] == pytest.approx((g * 0.02 * 3 ** 0.5 - 5.0) / (3 * g), rel=1e-13)
    effg = g * 5.0 / (g * 0.02 * 3 ** 0.5)
    assert ddsdde[0, 0] == pytest.approx((1000.0 / 0.001999974250793457 + 4 * effg) / 3, rel=1e-13)
    _, _, outside, *_ = umat(hail, [1000.0, 0.4999000132083893], np.zeros(6), statev=np.zeros(13))
    np.testing.assert_allclose(outside, stiffness(tv, [1000.0] * 3 + [0.4999000132083893] * 3
                                                  + [1000.0 / 2 / 1.4999000132083893] * 3), rtol=1e-13)
    _, _, elastic, *_ = umat(hail, [1000.0, 0.5], np.zeros(6), statev=np.zeros(13))
    np.testing.assert_allclose(elastic, lam * np.diag([1, 1, 1, 0, 0, 0]) @ np.ones((6, 6)) @ np.diag([1, 1, 1, 0, 0, 0])
                               + np.diag([2 * g] * 3 + [g] * 3), rtol=1e-13)
    # Too few state variables: the trial stress, no state.
    stress, statev, *_ = umat(hail, hardening_props(), [0.1, 0, 0, 0, 0, 0], statev=np.full(12, 4.0))
    assert latched()[0] == -2 and (statev == 4.0).all() and stress[0] > 1000
    assert tv.errorhandling.errintv.tolist() == [12, 13]  # given, needed
    # Plasticity without a table pair: elastic, latched.
    tv.errorhandling.rsxerr(True)
    stress, statev, *_ = umat(hail, [70000.0, 0.33, 1.0, 250.0], [0.1, 0, 0, 0, 0, 0], statev=np.zeros(13))
    assert latched()[0] == -2 and stress[0] > 1000 and statev[0] == 0.1 and statev[12] == 0.0


def test_elastic_plastic_return_converging_in_the_last_iteration(tv, capfd):
    # Newton needs all ten iterations here: |r| = 2.7e-5 after nine, 3.6e-6 after ten (tolerance 1e-5).
    # The increment is that of the same iteration written out in Python over the same table rules.
    props = [1000.0, 0.3, 1.0, 10.0, 0.0, 20.0, 0.001, 22.0, 0.02]
    capfd.readouterr()
    _, statev, *_ = umat(tv.toplevel.umat_hail, props, [0, 0, 0, 0.0536, 0, 0], statev=np.zeros(13))
    assert capfd.readouterr().out == ""
    assert statev[12] == pytest.approx(0.012558207695496013, rel=1e-12)


def test_elastic_plastic_return_that_does_not_converge(tv, capfd):
    # Slopes of a million and of one between close table points: Newton oscillates.
    props = [1000.0, 0.3, 1.0, 10.0, 0.0, 10.001, 1e-6, 1000.0, 1e-5, 1000.5, 1.0]
    capfd.readouterr()
    umat(tv.toplevel.umat_hail, props, [0, 0, 0, 0.5, 0, 0], statev=np.zeros(13))
    assert capfd.readouterr().out == "\n\n" + " " * 30 + (
        "***WARNING - PLASTICITY ALGORITHM DID NOT CONVERGE AFTER  10 ITERATIONS\n")


def test_elastic_plastic_cut_off_is_process_wide(child):
    code = textwrap.dedent("""
        import numpy as np, _tavrin as tv
        EYE = np.eye(3, order="F")
        def call(dstran, props=(70000.0, 0.3, 1.0, 100.0, 0.0, 100.0, 1.0)):
            n = len(dstran)
            z = np.zeros(n)
            out = tv.toplevel.umat_hail(z.copy(), np.zeros(2 * n + 1), 0, 0, 0, 0, z, z, 0, z, np.array(dstran),
                                        [0, 0], 0.1, 20, 0, [0], [0], 'M', 3 if n > 3 else 2, n - (3 if n > 3 else 2),
                                        np.array(props), [0] * 3, EYE, 1, 1, EYE, EYE, 1, 1, 1, 1, [1, 1, 0, 0], 1)
            return out[0].tolist()
        print(call([1e-4, 0, 0, 0, 0, 0]))          # below the cut-off
        print(call([2e-3, 2e-3, 2e-3, 0, 0, 0]))    # hydrostatic tension beyond it
        print(call([-1e-4, 0, 0, 1e-4, 0, 0]))      # any later point
        print(call([-1e-4, 0, 1e-4], props=(70000.0, 0.3, 1.0, 50.0, 0.0, 50.0, 1.0)))  # plane stress
        print(call([-1e-4, 0, 0, 1e-4, 0, 0], props=(70000.0, 0.3, 0.0)))  # plasticity off
    """)
    result = child(code)
    assert result.returncode == 0, result.stderr
    lines = result.stdout.splitlines()
    assert eval(lines[0])[0] > 0 and eval(lines[0])[0] < 100
    assert eval(lines[1]) == [100.0, 100.0, 100.0, 0.0, 0.0, 0.0]
    assert eval(lines[2]) == [100.0, 100.0, 100.0, 0.0, 0.0, 0.0]
    assert eval(lines[3]) == [50.0, 50.0, 0.0]
    assert eval(lines[4])[3] != 0.0
