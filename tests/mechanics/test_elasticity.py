"""Module elasticity: the numerical tangent under both methods and every kind
of call-back, the plasticity update and the stress laws."""
import numpy as np
import pytest

RNG = np.random.default_rng(18)
A = RNG.uniform(-1.0, 1.0, (6, 6))
STIFF = A @ A.T + 6 * np.eye(6)  # a symmetric positive-definite stiffness
FULL = STIFF.ravel(order="F")
UPPER = np.concatenate([STIFF[i, i:] for i in range(6)])
LOWER = np.concatenate([STIFF[i, : i + 1] for i in range(6)])
DSTRAIN = np.array([1e-3, -2e-4, 5e-4, 3e-4, -1e-4, 2e-4])
PLASTIC = [3000.0, 2500.0, 1100.0, 0.35, 0.3, 3600.0, 120.0, 0.5]  # Et, Ec, G, nut, nuc, a0, a1, alpha


def tangent(tv, law, props, **kw):
    return tv.elasticity.getnumericaltangent(law, props, np.zeros(6), np.zeros(6), DSTRAIN, 3, False, **kw)


def test_anisotropic_twins_read_their_triangles(tv, error):
    e = tv.elasticity
    for props in (FULL, UPPER):
        np.testing.assert_allclose(e.real_getstressfromanisotropichyperelasticity(DSTRAIN, props, 3),
                                   STIFF @ DSTRAIN, rtol=1e-14)
    for props in (FULL, LOWER):
        np.testing.assert_allclose(e.cmplx_getstressfromanisotropichyperelasticity(DSTRAIN + 0j, props, 3),
                                   STIFF @ DSTRAIN, rtol=1e-14)
    with pytest.raises(error):  # fewer than a triangle
        e.real_getstressfromanisotropichyperelasticity(DSTRAIN, UPPER[:20], 3)


def test_tangent_of_a_linear_law(tv, latched):
    e = tv.elasticity
    cx, re = e.cmplx_getstressfromanisotropichyperelasticity, e.real_getstressfromanisotropichyperelasticity
    # The complex step is exact for a power-of-two step.
    for law in (cx, cx._cpointer):
        np.testing.assert_array_equal(tangent(tv, law, FULL, h=2.0**-20, nmflag=1), STIFF)
    np.testing.assert_allclose(tangent(tv, cx, FULL, nmflag=1), STIFF, rtol=1e-15)  # default h 2.2e-16
    # Central differences: real forms, the complex form on real strains, a Python function.
    calls = []

    def law(stress, strain, props, ndi):
        calls.append(strain.dtype)
        stress[:] = STIFF @ strain

    for f in (re, re._cpointer, cx, law):
        np.testing.assert_allclose(tangent(tv, f, FULL, h=1e-6), STIFF, rtol=1e-9, atol=1e-9)
    assert calls and set(calls) == {np.dtype(complex)}
    assert latched()[0] == 0


def test_tangent_forms_steps_and_short_cut(tv, error):
    e = tv.elasticity
    re = e.real_getstressfromanisotropichyperelasticity
    with pytest.raises(error):  # a real-only law under the complex step
        tangent(tv, re, FULL, nmflag=1)
    with pytest.raises(error):  # a routine of another shape
        tangent(tv, e.getstressfromdevvoldecomposition, FULL)
    steps = []

    def law(stress, strain, props, ndi):
        steps.append(strain.copy())
        stress[:] = STIFF @ strain

    tangent(tv, law, FULL, h=0.0)
    assert steps[0][0] - DSTRAIN[0] == pytest.approx(1e-8, rel=1e-6)
    steps.clear()
    # tgref reproducing stress1 - stress0 is returned without a call.
    steps.clear()
    s1 = np.array([sum(STIFF[i, j] * DSTRAIN[j] for j in range(6)) for i in range(6)])  # the routine's order
    np.testing.assert_array_equal(
        e.getnumericaltangent(law, FULL, s1, np.zeros(6), DSTRAIN, 3, False, tgref=STIFF), STIFF)
    assert not steps
    off = STIFF.copy()
    off[0, 0] += 1.0
    np.testing.assert_allclose(
        e.getnumericaltangent(law, FULL, s1, np.zeros(6), DSTRAIN, 3, False, tgref=off, h=1e-6), STIFF,
        rtol=1e-9, atol=1e-9)
    assert steps
    # istensor: derivatives by engineering shears, strains doubled after ndi.
    steps.clear()
    e.getnumericaltangent(law, FULL, np.zeros(6), np.zeros(6), DSTRAIN, 3, True, h=1e-6)
    np.testing.assert_allclose(steps[0][3:].real, 2 * DSTRAIN[3:])


def test_negative_step(tv):
    e = tv.elasticity
    t = e.getnumericaltangent(e.cmplx_getstressfromanisotropichyperelasticity, FULL, np.zeros(6), np.zeros(6),
                              -np.abs(DSTRAIN), 3, False, nmflag=1, h=-2.0**-20)
    np.testing.assert_array_equal(t, STIFF)


def test_yield_gradients(tv, error):
    e = tv.elasticity
    s = np.array([10.0, 4.0, -2.0, 3.0, 1.0, -1.0])
    df = e.getderivatef(s, 3600.0, 120.0)
    q2 = np.array([18.0, 0.0, -18.0, 18.0, 6.0, -6.0])  # gradient of q²
    np.testing.assert_allclose(df, q2 - 40.0 * np.r_[1, 1, 1, 0, 0, 0])
    dg = e.getderivateg(s, 0.5)
    np.testing.assert_allclose(dg, q2 + 0.2222222222222222 * 0.5 * 12 * np.r_[1, 1, 1, 0, 0, 0])
    np.testing.assert_allclose(e.getderivatef([10.0, 4.0, 3.0], 0.0, 0.0), [16, -2, 18])
    np.testing.assert_allclose(e.getderivatef([10.0, 4.0, -2.0, 3.0], 0.0, 0.0), [18, 0, -18, 18])
    with pytest.raises(error):
        e.getderivatef([1.0, 2.0], 0.0, 0.0)


def plastic(tv, strain, dstrain, props=PLASTIC, eq=0.0):
    eqps = np.array(eq)
    stress, ddsdde = tv.elasticity.getstressfromplastitcity(eqps, strain, dstrain, props, 3, 8, 293.0)
    return stress, ddsdde, float(eqps)


def test_plasticity_elastic_trial(tv, capfd):
    stress, ddsdde, eqps = plastic(tv, np.zeros(6), np.array([1e-3, 0, 0, 0, 0, 0]), eq=0.25)
    assert eqps == 0.25 and ddsdde[0, 0] == pytest.approx(3000 * 0.65 / (0.3 * 1.35))
    np.testing.assert_allclose(stress, ddsdde @ [1e-3, 0, 0, 0, 0, 0])
    out = capfd.readouterr().out
    assert "S11 Yield 83.24555" in out and "START PLASTICITY CALCULATION" in out and "Plastic Corrector" not in out
    # Negative volume strain: the compression constants.
    _, ddsdde, _ = plastic(tv, np.zeros(6), np.array([-1e-3, 0, 0, 0, 0, 0]))
    assert ddsdde[0, 0] == pytest.approx(2500 * 0.7 / (0.4 * 1.3))


@pytest.mark.parametrize("dstran", [[0.0, 0, 0, 0.1, 0, 0], [0.06, -0.02, -0.03, 0, 0.02, 0]])
def test_plasticity_return_and_tangent(tv, capfd, dstran):
    stress, ddsdde, eqps = plastic(tv, np.zeros(6), np.array(dstran))
    out = capfd.readouterr().out
    passes = int(out.split("plastische Iterationen")[1].split()[0])
    assert 1 <= passes <= 10 and out.count("dlambda_np1") == passes
    assert out.count("plastic strain update") == 3 and eqps > 0
    nf = tv.elasticity.getderivatef(stress, 3600.0, 120.0)
    np.testing.assert_allclose(nf @ ddsdde, 0.0, atol=1e-9 * np.abs(ddsdde).max() * np.abs(nf).max())
    s = stress
    q2 = 0.5 * ((s[0] - s[1]) ** 2 + (s[1] - s[2]) ** 2 + (s[2] - s[0]) ** 2) + 3 * (s[3:] ** 2).sum()
    assert abs(q2 - 3600 - 120 * s[:3].sum() / 3) <= 9.999999747378752e-5


def test_plasticity_tangent_to_first_order(tv, capfd):
    # From a point on the yield surface (the stress comes back from a first
    # update) a small strain step changes the stress by ddsdde·Δε to first order.
    e = tv.elasticity
    start = np.array([0.0, 0, 0, 0.1, 0, 0])
    s0, ddsdde, _ = plastic(tv, np.zeros(6), start)
    step = 1e-6 * np.array([1.0, 0.3, -0.2, 2.0, 0.5, 0.1])
    # The update adds C·Δε to the incoming stress: from C++ it is s0; from
    # Python it is zero, so the increment is the update at s0 shifted by the
    # trial stress C·Δε of a zero start.
    # The update works on tensor shears with 2G on the shear diagonal.
    c = tv.lamina.getnyestiffnessmatrix([3000.0] * 3 + [0.35] * 3 + [2200.0] * 3, 6)
    step = step * [1, 1, 1, 0.5, 0.5, 0.5]
    trial = s0 + c @ step
    nf = e.getderivatef(trial, 3600.0, 120.0)
    ng = e.getderivateg(trial, 0.5)
    dlam = (0.5 * ((trial[0] - trial[1]) ** 2 + (trial[1] - trial[2]) ** 2 + (trial[2] - trial[0]) ** 2)
            + 3 * (trial[3:] ** 2).sum() - 3600 - 40 * trial[:3].sum()) / (nf @ c @ ng)
    one_pass = trial - dlam * c @ ng
    np.testing.assert_allclose(one_pass - s0, ddsdde @ step, rtol=1e-3, atol=1e-6 * np.abs(ddsdde @ step).max())
    capfd.readouterr()


def test_isotropic_variants(tv, latched, error):
    e = tv.elasticity
    strain = np.array([1e-3, -2e-4, 5e-4, 2e-4, -1e-4, 3e-4])
    iso = [2000.0, 2000.0, 2000.0, 0.3, 0.3, 0.3, 2000.0 / 2.6, 2000.0 / 2.6, 2000.0 / 2.6]
    c = tv.lamina.getnyestiffnessmatrix(iso, 6)
    lame = e.getstressfromisotropicviscoelasticity(strain, [2000.0, 5.0, 0.3, 0.0, 0.0], 3)
    np.testing.assert_allclose(lame, c @ strain, rtol=1e-13)
    flat = [e.getstressfromisotropicviscoelasticity(strain, [2000.0, 0.0, 0.3, 0.0, v], 3) for v in (0, 1, 2)]
    np.testing.assert_allclose(flat[1], flat[0], rtol=1e-15)
    np.testing.assert_allclose(flat[2], flat[0], rtol=1e-15)
    soft = e.getstressfromisotropicviscoelasticity(strain, [2000.0, 50.0, 0.3, 0.0, 1.0], 3)
    assert np.all(np.abs(soft) < np.abs(flat[0]))
    # Kaestner: 2g(1 - dg) on the deviator, (1 - dk)·K on the trace.
    t = np.array([[1e-3, 1e-4, -5e-5], [1e-4, -2e-4, 1.5e-4], [-5e-5, 1.5e-4, 5e-4]])
    tr = np.trace(t)
    d = t - tr / 3 * np.eye(3)
    g, k = 2000.0 / 2.6, 2000.0 / 1.2
    dg = 1 - 1 / (1.224744871391589 * 50.0 / 1.3 * np.sqrt((d * d).sum()) + 1)
    dk = 1 - 1 / (50.0 / 0.4 * abs(tr) + 1)
    expected = 2 * g * (1 - dg) * d + (1 - dk) * k * tr * np.eye(3)
    np.testing.assert_allclose(soft, [expected[0, 0], expected[1, 1], expected[2, 2], expected[0, 1],
                                      expected[0, 2], expected[1, 2]], rtol=1e-13)
    assert latched()[0] == 0
    assert not e.getstressfromisotropicviscoelasticity(strain, [2000.0, 0.0, 0.3, 0.0, 4.0], 3).any()
    assert latched()[0] == -3
    with pytest.raises(error):
        e.getstressfromisotropicviscoelasticity(strain[:4], [2000.0, 0.0, 0.3, 0.0, 0.0], 3)
    with pytest.raises(error):
        e.getstressfromisotropicviscoelasticity(strain, [2000.0, 0.0, 0.3, 0.0, 0.0], 2)


def test_nonconstant_poisson_caps_the_bulk_modulus(tv):
    d = np.diag([1.0, -0.5, -0.5]) * 1e-2
    s = tv.elasticity.getstressfromnonconstpoisson(1.0, 0.0, 0.01, d, 1.0, 1000.0, 0.48, 0.0, 1.0)
    geff = 1000.0 / (1.0 + 1.414213562373095)
    assert s[0, 0] == pytest.approx(2 * geff * 1e-2 + 2 * geff * 1.47 / 0.18000000000000016 * 0.01)


def test_nonconstant_poisson_value(tv):
    d = np.diag([1.0, -0.5, -0.5]) * 1e-2
    e, g, nu, num, gamma = 2000.0, 800.0, 0.3, 1e-4, 2.0
    s = tv.elasticity.getstressfromnonconstpoisson(0.5, 0.0, 0.01, d, e, g, nu, num, gamma)
    geff = g / (1.0 + 1.414213562373095 * gamma * 0.5)
    nueff = nu + num * (e - (1 + nu + num * e) * 2 * geff / (1 + 2 * num * geff))
    keff = 2 * geff * (1 + nueff) / (3 * (1 - 2 * nueff))
    assert nueff < 0.47 and s[0, 0] == pytest.approx(2 * geff * 1e-2 + keff * 0.01, rel=1e-14)


def test_dev_vol_thresholds_belong_to_the_exponential_form(tv):
    # A shear-deviator norm exactly at 0.04327625: still gs/exp(gammags·norm).
    stress, _ = tv.elasticity.getstressfromdevvoldecomposition([0, 0, 0, 2 * 0.04327625, 0, 0], [0, 0, 0, 0, 1.0], 3)
    gs = 2692.3559712 / np.exp(19.3641099237 * 0.04327625)
    assert stress[3] == pytest.approx(gs * 0.04327625, rel=1e-14)
    stress, _ = tv.elasticity.getstressfromdevvoldecomposition([0, 0, 0, 0.1, 0, 0], [0, 0, 0, 0, 1.0], 3)
    assert stress[3] == pytest.approx(4447152.2077 / (88218.6212448 * 0.05 + 1) * 0.05, rel=1e-14)


def test_secant_laws_reproduce_their_tangent(tv, latched):
    e = tv.elasticity
    for strain in ([1e-3, -2e-4, 5e-4, 2e-4, -1e-4, 3e-4], [-0.05, -0.04, 0.01, 0.09, 0, 0.0]):
        stress, ddsdde = e.getstressfromdevvoldecomposition(strain, [0, 0, 0, 0, 1.0], 3)
        np.testing.assert_allclose(stress, ddsdde @ strain, rtol=1e-13, atol=1e-12)
    stress, ddsdde = e.getstressfromdevvoldecomposition(np.zeros(6), [0, 0, 0, 0, 1.0], 3)
    assert ddsdde[0, 0] == pytest.approx(4871.70629979 + 2 / 3 * 2541.75978925)  # trace 0: tension
    assert latched()[0] == 0
    stress, ddsdde = e.getstressfromdevvoldecomposition(np.ones(6), [0, 0, 0, 0, 2.0], 3)
    assert not stress.any() and not ddsdde.any() and latched()[0] == -3


def test_cubic_law(tv, latched):
    md = tv.materialdata
    saved = [getattr(md, n) for n in ("temperatures", "alpha1props", "alpha2props", "alpha3props")]
    try:
        md.temperatures = np.array([293.15])
        x = np.array([-0.1, 0.0, 0.1])
        for name, slope in (("alpha1props", 2.0), ("alpha2props", -1.0), ("alpha3props", 3.0)):
            setattr(md, name, np.stack([np.c_[x, 1.0 + slope * x]]))
            setattr(md, "n" + name[:6] + "data", 3)
        c = np.zeros((6, 6), order="F")
        strain = np.array([-1e-2, 2e-3, 1e-3, 4e-3, -2e-3, 1e-3])
        stress = tv.elasticity.getstressfromcubicelasticity(strain, [293.15, 1000.0], 3, c, 0)
        np.testing.assert_allclose(stress, c @ strain, rtol=1e-13)
        t = np.diag(strain[:3]) + np.array([[0, 2e-3, -1e-3], [2e-3, 0, 5e-4], [-1e-3, 5e-4, 0]])
        tr = np.trace(t)
        v = tr / 3 * np.eye(3)
        dn = np.diag(np.diag(t)) - v
        ds = t - np.diag(np.diag(t))
        s = -1.0 if tr < 0 else 1.0
        a1 = 1 + 2 * s * np.linalg.norm(v)
        a2 = 1 - s * np.linalg.norm(dn)
        a3 = 1 + 3 * np.linalg.norm(ds)
        expected = 1000.0 * (a1 * v + a2 * dn + a3 * ds)
        np.testing.assert_allclose(stress, [expected[0, 0], expected[1, 1], expected[2, 2], expected[0, 1],
                                            expected[0, 2], expected[1, 2]], rtol=1e-12)
        assert latched()[0] == 0
    finally:
        for n, v in zip(("temperatures", "alpha1props", "alpha2props", "alpha3props"), saved):
            setattr(md, n, v)


def test_nonlinear_isotropic(tv, capfd):
    e = tv.elasticity
    props = [2000.0, 30.0, 800.0, 0.3, 10.0]
    assert not e.getstressfromnonlinearisotropic(np.zeros(6), props, 3).any()
    small = np.array([1e-5, 0, 0, 0, 0, 0])
    s = e.getstressfromnonlinearisotropic(small, props, 3)
    assert "Iteration" not in capfd.readouterr().out
    assert s[0] == pytest.approx(2000 * 0.7 / (0.4 * 1.3) * 1e-5, rel=1e-3)
    e.getstressfromnonlinearisotropic(np.array([0.01, 0, 0, 0, 0, 0]), [12000.0, 50.0, 800.0, 0.3, 10.0], 3)
    records = [line.split() for line in capfd.readouterr().out.splitlines()]
    assert records[0] == ["Iteration", "0"] and all(r[0] == "Iteration" for r in records)


def test_orthotropic_and_tension_compression(tv, carbon):
    e = tv.elasticity
    strain = np.array([1e-3, -2e-4, 5e-4, 2e-4, -1e-4, 3e-4])
    np.testing.assert_allclose(e.getstressfromorthotropicelasticity(strain, carbon, 3),
                               tv.lamina.getnyestiffnessmatrix(carbon, 6) @ strain, rtol=1e-13)
    full = np.arange(1.0, 10.0)
    assert list(e.getcomponentstensioncompression(full, [1, 0, -1, 5, 5, 5])) == [1, 4, 6, 7, 8, 9]
    assert list(e.getcomponentstensioncompression(full, [np.nan, 0, 0, 0, 0, 0])) == [2, 4, 6, 7, 8, 9]
