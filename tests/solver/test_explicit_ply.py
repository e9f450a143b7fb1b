"""The explicit ply routines vumat_cartesian and vumat_bogenfeld from Python:
elastic stiffness against NumPy, onset and softening values at chosen
points, the invariants of damage and energy along loading histories, and
the refusals of bad input."""
import numpy as np
import pytest

# A carbon/epoxy ply (MPa, mm, N/mm): 1-9 elastic, 10-18 strengths, 19-20
# compression moduli, 21-23 shear law, 25-29 toughnesses, 30-32 damping,
# 33-39 switches (strain measure, set 1, stiffness degradation on).
CARBON = [140e3, 9e3, 9e3, 4.6e3, 4.6e3, 3.1e3, 0.32, 0.32, 0.45,
          2000, 60, 60, 1200, 200, 200, 90, 90, 60, 120e3, 10e3,
          0, 4.6e3, 0, 0, 90, 80, 0.3, 1.0, 0.3, 0, 0, 0,
          1, 1, 0, 0, 0, 1, 0]
E1T, E2T, E3, G12, G13, G23, NU12, NU13, NU23 = CARBON[:9]
NYE = [E1T, E2T, E3, NU12, NU13, NU23, G12, G13, G23]
STATUS = 18  # 0-based column of the element status


def props(**entries):
    """CARBON with entries changed, keyed p<1-based index>."""
    p = np.array(CARBON, float)
    for key, value in entries.items():
        p[int(key[1:]) - 1] = value
    return p


def bogenfeld_props(**entries):
    p = np.zeros(29)
    p[:9] = CARBON[:9]
    p[[9, 10, 12, 13, 15, 16]] = [2000, 200, 1200, 200, 90, 90]
    p[24:29] = [90, 80, 0.3, 1.0, 1.0]
    for key, value in entries.items():
        p[int(key[1:]) - 1] = value
    return p


class Run:
    """A block of points driven increment by increment."""

    def __init__(self, fn, p, n=1, nstatev=82, nshr=3, length=1.0, density=1.6e-9):
        self.fn, self.p, self.n, self.nshr = fn, p, n, nshr
        self.ntens = 3 + nshr
        self.state = np.zeros((n, nstatev))
        if nstatev > STATUS:
            self.state[:, STATUS] = 1.0
        self.stress = np.zeros((n, self.ntens))
        self.eint, self.eine = np.zeros(n), np.zeros(n)
        self.length, self.density = np.broadcast_to(length, (n, 3)).copy(), np.full(n, density)

    def call(self, de, t=1.0, dt=1e-6, keep=True, length=None):
        n, nt = self.n, self.ntens
        if length is not None:
            self.length[:] = length
        z = np.zeros
        de = np.asfortranarray(np.broadcast_to(de, (n, nt)), dtype=float).copy(order="F")
        out = self.fn(3, 0, t, t, dt, "PLY", z((n, 3)), self.length, self.p, self.density, de, z((n, self.nshr)),
                      z(n), z((n, nt)), z((n, nt + self.nshr)), z((n, 1)), self.stress, self.state, self.eint,
                      self.eine, z(n), z((n, nt)), z((n, nt + self.nshr)), z((n, 1)))
        if keep:
            self.stress, self.state, self.eint, self.eine = out
        self.de = de
        return out


def strain(*entries):
    return np.array(entries + (0.0,) * (6 - len(entries)))


def cyclic_stiffness(e1, e2, d=(0, 0, 0, 0, 0, 0)):
    """Orthotropic stiffness of the CARBON ply (cyclic order, tensor shears) with damages d."""
    s = np.diag([1 / e1, 1 / e2, 1 / E3])
    s[0, 1] = s[1, 0] = -NU12 / e1
    s[0, 2] = s[2, 0] = -NU13 / e1
    s[1, 2] = s[2, 1] = -NU23 / e2
    s[np.diag_indices(3)] /= 1 - np.asarray(d[:3])
    c = np.zeros((6, 6))
    c[:3, :3] = np.linalg.inv(s)
    c[3:, 3:] = np.diag(2 * np.array([G12, G23, G13]) * (1 - np.asarray(d[3:])))
    return c


def test_first_call_is_elastic_with_mean_moduli_and_resets_the_history(tv):
    run = Run(tv.toplevel.vumat_cartesian, props(), n=2)
    run.state[:] = 7.0
    de = strain(1e-3, -2e-4, 3e-4, 5e-4, -1e-4, 2e-4)
    stress, state, _, _ = run.call(de, t=0.0)
    want = cyclic_stiffness(0.5 * (E1T + CARBON[18]), 0.5 * (E2T + CARBON[19])) @ de
    np.testing.assert_allclose(stress, [want, want], rtol=1e-13)
    assert not state[:, :18].any() and not state[:, 26:38].any()
    assert (state[:, 20:26] == de).all() and (state[:, 38:44] == de).all()
    assert (state[:, [18, 19]] == 7.0).all() and (state[:, 44:] == 7.0).all()


def test_moduli_and_damage_of_the_loaded_side(tv):
    # eps11 = 0 counts as compression: E11c and the compression damage.  With
    # no criterion the mode damages stay and set the stiffness damages:
    # w1 = 0.6, w2 = 0.3 (half the fibre-tension damage).
    run = Run(tv.toplevel.vumat_cartesian, props(p34=0))
    run.state[0, 9] = 0.6
    de = strain(0.0, 1e-4, 0.0, 2e-4, 3e-4, 1e-4)
    stress, state, _, _ = run.call(de)
    assert state[0, :2] == pytest.approx([0.6, 0.3], abs=1e-15)
    np.testing.assert_allclose(stress[0], cyclic_stiffness(CARBON[18], E2T, (0.3, 0, 0, 0.6, 0, 0.6)) @ de,
                               rtol=1e-13)


@pytest.mark.parametrize("rate, r2", [(400.0, 0.0), (1500.0, 1e6), (-6000.0, -2.5e7)])
def test_strain_rate_damping(tv, rate, r2):
    damp1, damp2, damp3, dt = 1e-8, 1e-10, 1e-16, 1e-5
    run = Run(tv.toplevel.vumat_cartesian, props(p30=damp1, p31=damp2, p32=damp3, p34=0))
    de = strain(rate * dt, 0, 0, 0, 0, rate * dt)  # 11 and 31
    stress = run.call(de, dt=dt, keep=False)[0][0]
    extra = np.zeros(6)
    extra[[0, 5]] = damp1 * rate + damp2 * r2 + damp3 * abs(r2) * rate
    e1 = E1T if rate > 0 else CARBON[18]
    np.testing.assert_allclose(stress, cyclic_stiffness(e1, CARBON[19]) @ (de + extra), rtol=1e-12)
    # A time increment of zero has no rate terms.
    np.testing.assert_allclose(run.call(de, dt=0.0)[0][0], cyclic_stiffness(e1, CARBON[19]) @ de, rtol=1e-13)


def test_stiffness_damages_at_their_caps(tv):
    # Every mode fully damaged, no criterion: each stiffness damage is its
    # coupled mode damages at the cap (thickness tension never degrades, the
    # 33-compression row sums to 2/3); fibre crushing raises the cap of 22
    # compression.
    for comp, cap in ((0, 0.9), (1, 0.99)):
        run = Run(tv.toplevel.vumat_cartesian, props(p34=0, p36=comp, p37=1))
        run.state[0, 9:18] = 1.0
        state = run.call(strain(1e-4), keep=False)[1][0]
        assert state[:9] == pytest.approx([0.999, 0.99, 0.9999, cap, 0, 2 / 3, 0.99, 0.999, 0.99], abs=1e-15)


def test_nonlinear_shear_laws(tv):
    gamma = np.array([4e-3, -4e-3, 4e-3])  # 12, 23, 31
    g = np.array([G12, G23, G13])
    de = strain(0, 0, 0, *gamma)
    # Exponential: tau = 2G·γ·exp(-2α|γ|) with G the initial modulus on the
    # first step, the rest inelastic; switch 1 scales every shear stiffness by
    # G/G12, so 23 carries tau·G23/G12.
    run = Run(tv.toplevel.vumat_cartesian, props(p23=1, p21=20.0, p34=0))
    stress, state, _, _ = run.call(de, keep=False)
    tau = 2 * G12 * gamma * np.exp(-40.0 * np.abs(gamma))
    np.testing.assert_allclose(stress[0, 3:], tau * g / G12, rtol=1e-13)
    np.testing.assert_allclose(state[0, 35:38], abs(tau), rtol=1e-13)
    np.testing.assert_allclose(state[0, 41:44], abs(gamma), rtol=1e-15)
    np.testing.assert_allclose(state[0, 29:32], gamma - tau / (2 * G12), rtol=1e-12)
    # Loading on from there: the law at twice the strain (the largest stress
    # and its strain cancel the inelastic strain in the law's argument).
    run.call(de)
    tau = 2 * G12 * 2 * gamma * np.exp(-80.0 * np.abs(gamma))
    np.testing.assert_allclose(run.call(de, keep=False)[0][0, 3:], tau * g / G12, rtol=1e-12)
    # Bilinear with the initial modulus twice G12: the first step carries 2G·γ
    # with each component's own G (twice the initial modulus over the
    # stiffness 2G of the elastic strain).
    run = Run(tv.toplevel.vumat_cartesian, props(p23=2, p22=2 * G12, p34=0))
    stress, state, _, _ = run.call(de, keep=False)
    np.testing.assert_allclose(stress[0, 3:], 2 * g * gamma, rtol=1e-13)
    np.testing.assert_allclose(state[0, 29:32], gamma * (1 - g / (2 * G12)), rtol=1e-13)
    run.call(de)  # loading on: the slope 2G holds
    np.testing.assert_allclose(run.call(de, keep=False)[0][0, 3:], 2 * g * 2 * gamma, rtol=1e-12)
    # Switch 6: linear, every shear stiffness scaled by g_ini/G12.
    run = Run(tv.toplevel.vumat_cartesian, props(p23=6, p22=3000.0, p34=0))
    np.testing.assert_allclose(run.call(de, keep=False)[0][0, 3:], 2 * g * 3000 / G12 * gamma, rtol=1e-13)


def test_onset_of_transverse_tension(tv):
    de = strain(0, 8e-3, 0, 2e-3, 3e-3)  # 22 with shears 12 and 23
    run = Run(tv.toplevel.vumat_cartesian, props(), length=[1.0, 0.5, 1.0])
    state = run.call(de, keep=False)[1][0]
    x3, x7, x8, gc3 = 60 / 9e3, 90 / (2 * G12), 60 / (2 * G23), 0.3
    s = cyclic_stiffness(CARBON[18], E2T) @ de
    # Partners weighted by 1, toughness and strength from the mixed stresses.
    fail = np.sqrt((8e-3 / x3) ** 2 + (3e-3 / x8) ** 2 + (2e-3 / x7) ** 2)
    eq = np.sqrt(8e-3 ** 2 + 3e-3 ** 2 + 2e-3 ** 2)
    e0 = eq / fail ** 0.25
    s0 = (abs(3e-3 * s[4]) + 8e-3 * s[1] + abs(2e-3 * s[3])) / e0
    ef = max(2 * gc3 * s[1] ** 2 / s0 ** 2 / (s0 * 0.5), 1.1 * e0)
    assert state[[46, 55, 64]] == pytest.approx([e0, ef, s0], rel=1e-13)
    assert state[11] == pytest.approx(ef / (ef - e0) * (1 - e0 / eq), rel=1e-12)


@pytest.mark.parametrize("measure", [1, 2])
@pytest.mark.parametrize("mode", range(9))
def test_set2_onset_of_each_mode(tv, measure, mode):
    # One strain component at 1.5 times the mode's onset strain; the
    # full-damage strain comes from the mode's toughness and the element
    # length across it (columns 1, 1, 2, 2, 3, 3 and 2, 3, 2 for 12, 23, 31).
    lengths = [0.7, 0.5, 0.3]
    strength = [2000, 1200, 60, 200, 60, 200, 90, 60, 90]
    modulus = [E1T, CARBON[18], E2T, CARBON[19], E3, E3, 2 * G12, 2 * G23, 2 * G13]
    gc = [90, 80, 0.3, 1.0, 0.3, 0.3, 0, 0, 0]
    column = [0, 0, 1, 1, 2, 2, 1, 2, 1][mode]
    x0 = strength[mode] / modulus[mode]
    de = np.zeros(6)
    de[mode // 2 if mode < 6 else mode - 3] = 1.5 * x0 * (-1 if mode in (1, 3, 5) else 1)
    if measure == 1 and mode < 6:  # shears below their onset do not count here
        de[3:] = 1e-3
    run = Run(tv.toplevel.vumat_cartesian, props(p33=measure, p34=2), length=lengths)
    state = run.call(de, keep=False)[1][0]
    if mode == 2:  # a toughness that is not a number gives the floor of the full-damage strain, never a NaN
        nan = Run(tv.toplevel.vumat_cartesian, props(p33=measure, p34=2, p27=np.nan), length=lengths)
        assert np.isfinite(nan.call(de, keep=False)[1][0]).all()
    eps = abs(de).max()
    if measure == 1:  # a shear effort held at 1 decides the onset; the strain's own effort scales it
        fail = eps / x0
    else:
        e = [E1T if de[0] > 0 else CARBON[18], E2T if de[1] > 0 else CARBON[19]]
        s = cyclic_stiffness(*e) @ de
        fail = abs(s[mode // 2 if mode < 6 else mode - 3]) / strength[mode]
    e0 = eps / fail ** 0.25
    x1 = max(2 * gc[mode] / (strength[mode] * lengths[column]), 1.1 * x0)
    assert state[[44 + mode, 53 + mode]] == pytest.approx([e0, max(x1 * x0 / e0, 1.1 * e0)], rel=1e-13)


def test_permanent_strains_of_broken_fibres_and_cracked_matrix(tv):
    x0 = [2000 / 140e3, 1200 / 120e3, 60 / 9e3, 200 / 10e3]
    for e11, e22 in ((0.02, 0.01), (-0.02, -0.01), (0.5, 0.5)):  # the last beyond 30 and 50 onset strains
        run = Run(tv.toplevel.vumat_cartesian, props(p34=0, p35=1, p38=0))
        run.state[0, [9, 11]] = 1.0
        run.state[0, :9] = 0.5  # no stiffness degradation: the stiffness damages fall to 0
        stress, state, _, _ = run.call(strain(e11, e22), keep=False)
        assert not state[0, :9].any()
        in1, in2 = min(max(0, 0.9 * e11), 30 * x0[0]), min(max(0, 0.8 * e22), 50 * x0[2])
        el1, el2 = e11 - in1, e22 - in2
        el1 = max(el1, 0) + min(0.5 * max(el1, -x0[1]), 0)
        el2 = max(el2, 0) + min(max(el2, -0.75 * x0[3]), 0)
        d = (0.2 * (el1 < 0), 0.2 * (el2 < 0), 0, 0, 0, 0)
        e1, e2 = (E1T, E2T) if e11 > 0 else (CARBON[18], CARBON[19])
        assert state[0, 26:28] == pytest.approx([in1, in2], abs=1e-18)
        np.testing.assert_allclose(stress[0], cyclic_stiffness(e1, e2, d) @ strain(el1, el2), rtol=1e-13)


def test_energies_are_the_trapezoidal_work_and_a_deleted_element_stores_none(tv):
    run = Run(tv.toplevel.vumat_cartesian, props(p23=1, p21=20.0), density=2.0)
    rng = np.random.default_rng(7)
    work = 0.0
    for _ in range(40):
        old = run.stress.copy()
        de = rng.normal(0, 2e-4, 6)
        stress, _, eint, eine = run.call(de)
        w = 0.5 * (old[0] + stress[0]) * de
        work += (w[:3].sum() + 2 * w[3:].sum()) / 2.0
        assert eint[0] == pytest.approx(work, rel=1e-12)
        assert eine[0] <= eint[0] + 1e-9 * abs(eint[0])
    run.state[0, STATUS] = 0.0
    _, _, eint, eine = run.call(strain(1e-4, 1e-4), keep=False)
    assert eint[0] == run.eint[0] and eine[0] == eint[0]
    # The elastic forms too, each row by its own status.
    run = Run(tv.toplevel.vumat_cartesian, np.asarray(CARBON[:9], float), n=2)
    run.state[1, STATUS] = 0.0
    eint = run.call(strain(1e-3))[2]
    assert eint[0] > 0.0 and eint[1] == 0.0


def test_set1_fibre_tension_ignores_shear_and_a_set2_shear_softens_past_its_onset(tv):
    run = Run(tv.toplevel.vumat_cartesian, props())
    run.state[0, 11] = -0.5  # a transverse damage below 0 restarts from 0
    state = run.call(strain(5e-3, 0, 0, 9e-3, 0, 9e-3), keep=False)[1]
    assert state[0, 71] == 5e-3 / (2000 / 140e3) and state[0, 11] == 0.0
    # Every normal mode: its strain part and its shear partners, weighted by
    # the square root of 0, 0.25, 1, 0, 1, 0.
    e = np.array([3e-3, -4e-3, 2e-3, 1e-3, 2e-3, 3e-3])
    xi = np.array([2000 / 140e3, 1200 / 120e3, 60 / 9e3, 200 / 10e3, 60 / 9e3, 200 / 9e3])
    shear = np.abs(e[3:]) / [90 / (2 * G12), 60 / (2 * G23), 90 / (2 * G13)]  # 12, 23, 31
    parts = [max(e[0], 0), min(e[0], 0), max(e[1], 0), min(e[1], 0), max(e[2], 0), min(e[2], 0)] / xi
    partners = [(0, 2), (0, 2), (1, 0), (1, 0), (2, 1), (2, 1)]
    want = [np.sqrt(parts[i] ** 2 + w * (shear[a] ** 2 + shear[b] ** 2))
            for i, ((a, b), w) in enumerate(zip(partners, [0, 0.25, 1, 0, 1, 0]))]
    state = run.call(e, keep=False)[1]
    assert state[0, 71:77] == pytest.approx(want, rel=1e-14)
    # Set 2, strain measure: the shear effort is held at 1, the onset strain
    # is the strain over its own effort's fourth root, and softening runs
    # to the 1.1·e0 floor (no shear toughness).
    x12 = 90 / (2 * G12)
    run = Run(tv.toplevel.vumat_cartesian, props(p34=2))
    assert run.call(strain(0, 0, 0, 0.5 * x12), keep=False)[1][0, [50, 15]].tolist() == [0.0, 0.0]
    state = run.call(strain(0, 0, 0, 1.05 * x12), keep=False)[1][0]
    e0 = 1.05 * x12 / 1.05 ** 0.25
    assert state[[50, 59]] == pytest.approx([e0, 1.1 * e0], rel=1e-14)
    assert state[15] == pytest.approx(11 * (1 - e0 / (1.05 * x12)), rel=1e-12)


@pytest.mark.parametrize("criterion", [3, 4, 5, 6])
def test_fibre_compression_effort_is_nominal_below_half_the_strength(tv, criterion):
    # With stress measures the kink-band effort sees the ply stresses and the
    # strengths in the in-situ order (xt11, xt22, xt33, xc11, xc22, xc33, x12, x13, x23).
    # A transverse tension (s22 near 50) opens the kink plane, where xt22 and xt33 count.
    x_is = [2000, 60, 60, 1200, 200, 200, 90, 90, 60]
    for q, e22 in ((0.4, 0.0), (0.8, 0.0), (0.8, 8e-3)):
        run = Run(tv.toplevel.vumat_cartesian, props(p33=2, p34=criterion))
        de = strain(-q * 1200 / 120e3, e22, 0, 2e-3, 0, 4e-3)
        s = cyclic_stiffness(CARBON[18], E2T if e22 > 0 else CARBON[19]) @ de
        state = run.call(de, keep=False)[1]
        kink = tv.fbcollection.fblarc05_is(s[0], s[1], s[2], s[3], s[5], s[4], 2000, 1200, 60, 70.0, 70.0, G12,
                                           53.0, 4.0, 1, 0, x_is)
        nominal = abs(s[0]) / 1200
        want = nominal if nominal < 0.5 else max(nominal, kink)
        assert state[0, 72] == pytest.approx(want, rel=1e-13)
        assert (nominal < 0.5) == (q == 0.4) and (q == 0.4 or kink > nominal)
    de = strain(5e-3, 0, 0, 2e-3)  # fibre tension: nominal in every set
    state = Run(tv.toplevel.vumat_cartesian, props(p33=2, p34=criterion)).call(de, keep=False)[1]
    assert state[0, 71] == pytest.approx((cyclic_stiffness(E1T, CARBON[19]) @ de)[0] / 2000, rel=1e-14)


@pytest.mark.parametrize("measure", [1, 2])
@pytest.mark.parametrize("criterion", [3, 4, 6])
def test_fracture_plane_efforts_and_angles(tv, criterion, measure):
    # The criteria see the elastic strains and their onset strains (measure
    # 1), or the trial stresses and the strengths (2).
    mc = tv.mccollection
    x = [60, 200, 90, 60] if measure == 2 else [60 / 9e3, 200 / 10e3, 90 / (2 * G12), 60 / (2 * G23)]
    for e22 in (3e-3, 1e-2):
        run = Run(tv.toplevel.vumat_cartesian, props(p33=measure, p34=criterion))
        de = strain(0, e22, 1e-3, 2e-3, 2e-3, 1e-3)
        s22, s33, s12, s23, s31 = (cyclic_stiffness(CARBON[18], E2T) @ de)[1:] if measure == 2 else de[1:]
        if criterion == 3:
            r, theta = mc.mcrcklarc05(s22, s33, s12, s31, s23, *x[:3], 53.0, -1.0, 4.0, 1)
        elif criterion == 4:
            r, theta = mc.mcrckcamanho(s22, s33, s12, s31, s23, *x, -1.0, 53.0, 4.0, 1)
        else:
            r, theta, _ = mc.mcrckpuck(s22, s33, s12, s31, s23, *x[:3], -1.0, sainc=4.0, gsflag=1)
        run.state[0, 80] = -7.0
        state = run.call(de, keep=False)[1][0]
        assert state[73] == pytest.approx(r, rel=1e-13)
        assert state[80] == pytest.approx(np.degrees(theta) if r >= 1 else -7.0, rel=1e-15)
        assert (r >= 1) == (e22 == 1e-2)


@pytest.mark.parametrize("measure", [1, 2])
@pytest.mark.parametrize("criterion", [1, 2, 3, 4, 5, 6])
def test_pure_in_plane_shear_initiates_at_its_strength_and_softens_to_its_cap(tv, criterion, measure):
    # Tensor shear 12 in steps of 0.3·X12/(2·G12): elastic up to 0.9·X12,
    # onset in the step past X12 (the shear mode in set 2, transverse
    # tension through its shear partner in the others), then softening to
    # the 12 stiffness cap 0.99 by the 1.1·e0 floor of the full-damage strain.
    x12 = 90 / (2 * G12)
    mode = 6 if criterion == 2 else 2
    hairs = (0.0, -1e-12) if criterion in (3, 4) else (0.0,)  # sets 3, 4: σ22 a hair below 0 too
    for e22 in hairs:
        run = Run(tv.toplevel.vumat_cartesian, props(p33=measure, p34=criterion))
        run.state[0, 20] = e22  # total strain 22 held from the start
        for k in range(1, 28):
            stress = run.call(strain(0, 0, 0, 0.3 * x12))[0][0]
            rs = run.state[0, 9 + mode]
            assert (rs > 0) == (k >= 4), k
            if k == 3:
                assert stress[3] == pytest.approx(0.9 * 90, rel=1e-12)
            if k == 4:
                assert stress[3] < 90 and run.state[0, 53 + mode] == pytest.approx(1.1 * run.state[0, 44 + mode])
        assert run.state[0, 6] == 0.99 and stress[3] == pytest.approx(0.01 * 2 * G12 * 27 * 0.3 * x12, rel=1e-12)
    if criterion == 6:  # compression across the plane: the compression mode answers, the tension mode keeps its effort
        run = Run(tv.toplevel.vumat_cartesian, props(p33=measure, p34=6))
        run.state[0, 73] = -7.0
        state = run.call(strain(0, -1e-3, 0, 0.3 * x12), keep=False)[1][0]
        assert state[73] == -7.0 and state[74] > 0.0


def test_onset_at_effort_16_halves_the_equivalent_strain(tv):
    # Set 3 does not evaluate transverse compression: a stored effort of 16
    # starts it from the strains of this call.
    run = Run(tv.toplevel.vumat_cartesian, props(p34=3))
    run.state[0, 74] = 16.0
    de = strain(0, -2e-3, 0, 1e-3, 3e-3)
    state = run.call(de, keep=False, length=[1.0, 0.5, 1.0])[1]
    e0 = np.sqrt(2e-3 ** 2 + 1e-3 ** 2 + 3e-3 ** 2) / 2
    # Unweighted: the partners' products as they are; only 22 compression
    # has a toughness (1.0).
    s = cyclic_stiffness(CARBON[18], CARBON[19]) @ de
    s0 = (-2e-3 * s[1] + 3e-3 * s[4] + 1e-3 * s[3]) / e0
    ef = max(2 * s[1] ** 2 / s0 ** 2 / (abs(s0) * 0.5), 1.1 * e0)
    assert state[0, [47, 56, 65]] == pytest.approx([e0, ef, s0], rel=1e-13)


def test_fibre_damage_history_and_deletion(tv):
    run = Run(tv.toplevel.vumat_cartesian, props(p25=20.0, p26=20.0), n=2)
    history = [1e-3] * 40 + [-1e-3] * 20 + [-1e-3] * 60
    limit = 0.9 * (0.999 + 0.99)
    rs1, effort = [], []
    for de11 in history:
        old = run.state.copy()
        state = run.call(strain(de11))[1][0]
        rs1.append(state[9])
        effort.append(state[71])
        if len(rs1) == 40:  # fibre tension alone: 0.999 + 0.5·1 < 1.7901, never deleted
            assert state[[0, 1, STATUS]].tolist() == [0.999, 0.5, 1.0]
        assert (state[9:18] >= old[0, 9:18]).all() and (state[9:18] <= 1.0).all()
        assert (state[STATUS] == 0.0) == (state[0] + state[1] >= limit)
    assert rs1[39] == 1.0 and len(set(rs1[40:])) == 1          # full, and kept in compression
    # Onset in step 15 at the effort 0.015/(2000/140e3) = 1.05; a started mode is not evaluated again.
    assert rs1[13] == 0.0 < rs1[14] and effort[14] == pytest.approx(1.05, rel=1e-12)
    assert set(effort[14:]) == {effort[14]}
    assert np.all(np.diff(rs1[:40]) >= 0) and (run.state[:, STATUS] == 0.0).all()


@pytest.mark.parametrize("criterion", [1, 2, 3, 4, 5, 6])
@pytest.mark.parametrize("measure", [1, 2])
def test_damage_never_falls_nor_exceeds_its_caps(tv, criterion, measure):
    run = Run(tv.toplevel.vumat_cartesian,
              props(p33=measure, p34=criterion, p36=1 + criterion % 2, p35=1, p27=0.05, p28=0.05, p23=2))
    rng = np.random.default_rng(criterion)
    wmax = np.array([0.999, 0.99, 0.9999, 0.99 if criterion % 2 == 0 else 0.9, 0, 0.8 if criterion % 2 == 0 else 0.7,
                     0.99, 0.999, 0.99])
    for _ in range(60):
        old = run.state.copy()
        stress, state, _, _ = run.call(rng.normal(0, 4e-3, 6) * [1, 1, 1, 0.3, 0.3, 0.3])
        assert np.isfinite(stress).all() and np.isfinite(state).all()
        assert (state[0, 9:18] >= old[0, 9:18]).all() and (state[0, 9:18] <= 1.0).all()
        assert (state[0, :9] >= 0).all() and (state[0, :9] <= wmax).all()


def test_crushing_keeps_a_compressive_plateau(tv):
    for flag in (1, 2):
        run = Run(tv.toplevel.vumat_cartesian, props(p36=flag, p26=5.0))
        for _ in range(80):
            stress = run.call(strain(-1e-3))[0]
        assert run.state[0, 10] > 0.9 and -0.3 * 1200 < stress[0, 0] < -0.2 * 1200
    # Flag 2: the elastic strain that carries the crushing stress 0.25·Xc with
    # the stiffness at the crushing limit of the onset and full-damage strains.
    e0, ef = run.state[0, [45, 54]]
    c11 = cyclic_stiffness(CARBON[18], CARBON[19])[0, 0]
    t = e0 * ef * c11 / (300 * (ef - e0))
    dlim = (ef / (ef - e0) - t) / (1 - t)
    want = cyclic_stiffness(CARBON[18], CARBON[19], (dlim, 0, 0, 0, 0, 0)) @ strain(-300 / (c11 * (1 - dlim)))
    assert stress[0, 0] == pytest.approx(want[0], rel=1e-12)
    for j, xc, e in ((2, 200, CARBON[19]), (3, 200, E3)):  # the transverse directions crush too
        crush = Run(tv.toplevel.vumat_cartesian, props(p36=2))
        for _ in range(60):
            s = crush.call(-1e-3 * np.eye(6)[j - 1])[0]
        assert -0.3 * xc < s[0, j - 1] < -0.2 * xc
    for _ in range(80):  # the crushed strain stays within ten onset strains
        run.call(strain(-1e-3))
    assert run.state[0, 26] == -10 * 1200 / 120e3
    # Sets without the crushing limit crush at full damage: nothing is carried.
    run = Run(tv.toplevel.vumat_cartesian, props(p36=2, p34=3, p26=5.0))
    for _ in range(40):
        stress = run.call(strain(-1e-3))[0]
    assert run.state[0, 10] == 1.0 and stress[0, 0] == 0.0


def test_identical_points_give_identical_rows(tv):
    one, block = (Run(tv.toplevel.vumat_cartesian, props(p34=3), n=n) for n in (1, 128))
    for de in [strain(4e-3, 2e-3, 0, 3e-3)] * 6 + [strain(-6e-3, -1e-3, 1e-3)] * 4:
        s1, _, _, _ = one.call(de)
        sb, _, _, _ = block.call(de)
    np.testing.assert_array_equal(block.state, np.repeat(one.state, 128, axis=0))
    np.testing.assert_array_equal(sb, np.repeat(s1, 128, axis=0))


def nye_to_cyclic(tv, c):
    voigt = tv.lamina.flipvoigtnyenotation(c, 6)
    return tv.lamina.flipvoigtcyclicnotation(voigt, 6, 2)


def test_elastic_forms(tv):
    c = nye_to_cyclic(tv, tv.lamina.getnyestiffnessmatrix(NYE, 6))
    de = strain(1e-3, -2e-4, 3e-4, 5e-4, -1e-4, 2e-4)
    want = c @ (de * [1, 1, 1, 2, 2, 2])
    packed = np.concatenate([tv.lamina.getnyestiffnessmatrix(NYE, 6)[:j + 1, j] for j in range(6)])
    for fn, p in [(tv.toplevel.vumat_cartesian, CARBON[:9]), (tv.toplevel.vumat_cartesian, packed),
                  (tv.toplevel.vumat_bogenfeld, bogenfeld_props()), (tv.toplevel.vumat_bogenfeld, CARBON[:9])]:
        for t in (0.0, 1.0):
            run = Run(fn, np.asarray(p, float), n=2)
            np.testing.assert_allclose(run.call(de, t=t)[0], [want, want], rtol=1e-13)
        run.state[:, 26:32] = de  # an inelastic strain of the host: the step's strain is elastic
        np.testing.assert_allclose(run.call(de)[0], [want, want], rtol=1e-13)
    # Two constants, an isotropic ply: E = 250, nu = 0.25 give lambda = mu = 100, so
    # eps11 = eps12 = 1e-3 (tensor shear) give s11 = 0.3, s22 = s33 = 0.1, s12 = 0.2.
    for fn in (tv.toplevel.vumat_cartesian, tv.toplevel.vumat_bogenfeld):
        stress = Run(fn, np.array([250.0, 0.25])).call(strain(1e-3, 0, 0, 1e-3))[0]
        np.testing.assert_allclose(stress, [[0.3, 0.1, 0.1, 0.2, 0, 0]], rtol=1e-13, atol=1e-17)


def test_bogenfeld_fibre_damage_scales_the_fibre_entries(tv):
    run = Run(tv.toplevel.vumat_bogenfeld, bogenfeld_props(p25=10.0, p26=5.0), nstatev=46)
    c = nye_to_cyclic(tv, tv.lamina.getnyestiffnessmatrix(NYE, 6))
    for de11 in [1e-3] * 22 + [-1e-3] * 40:
        stress, state, _, _ = run.call(strain(de11))
        dt, dc = state[0, :2]
        assert dt <= 0.999 and dc <= 0.97
        w = dt + dc - dt * dc
        eps = state[0, 20]
        assert stress[0, :3] == pytest.approx([(1 - w) * c[0, 0] * eps, (1 - w) * c[1, 0] * eps,
                                               (1 - w) * c[2, 0] * eps], rel=1e-12)
    assert dt > 0.5 and dc == 0.97


def test_bogenfeld_fibre_onset(tv):
    c = nye_to_cyclic(tv, tv.lamina.getnyestiffnessmatrix(NYE, 6))
    for sign, x, gf, floor, cap, slots in ((1, 2000, 90, 1.2, 0.999, [12, 13, 44, 17]),
                                           (-1, 1200, 80, 1.5, 0.97, [15, 16, 45, 19])):
        run = Run(tv.toplevel.vumat_bogenfeld, bogenfeld_props(p11=1e3, p14=1e3), nstatev=46,
                  length=[0.5, 1.0, 1.0])
        de = strain(sign * 0.016, 0, 0, 3e-3, 0, 2e-3)
        state = run.call(de, keep=False)[1][0]
        s = c @ (de * [1, 1, 1, 2, 2, 2])
        effort = np.sqrt((s[0] / x) ** 2 + (s[3] / 90) ** 2 + (s[5] / 90) ** 2)
        seq, eeq = np.sqrt(s[0] ** 2 + s[3] ** 2 + s[5] ** 2), np.sqrt(de[0] ** 2 + de[3] ** 2 + de[5] ** 2)
        e0 = eeq / (effort ** 2 if sign > 0 else effort ** 0.25)
        g = gf * s[0] ** 2 / seq ** 2
        ef = max(2 * g / (seq * 0.5), floor * e0)
        assert state[slots] == pytest.approx([e0, ef, seq, effort], rel=1e-13)
        assert state[0 if sign > 0 else 1] == pytest.approx(min(ef / (ef - e0) * (1 - e0 / eeq), cap), rel=1e-12)
        assert sign < 0 or state[14] == pytest.approx(g, rel=1e-13)


def test_bogenfeld_inter_fibre_effort_is_wiegands(tv):
    c = nye_to_cyclic(tv, tv.lamina.getnyestiffnessmatrix(NYE, 6))
    de = strain(0, 2e-3, -1e-3, 1e-3, 3e-3, 1e-3)
    s = c @ (de * [1, 1, 1, 2, 2, 2])
    state = Run(tv.toplevel.vumat_bogenfeld, bogenfeld_props(), nstatev=46).call(de, keep=False)[1][0]
    r, _ = tv.mccollection.mcrckwiegand(s[1], s[2], s[3], s[5], s[4], 200, 200, 90, -1.0, 53.0, 5.0, 1)
    assert state[9] == pytest.approx(r, rel=1e-12) and r < 1 and state[11] == 0.0


def probe_stiffness(run, base):
    """Columns of the stiffness the state holds, from strains about base."""
    h = 1e-7
    s0 = run.call(base, keep=False)[0][0]
    return np.column_stack([(run.call(base + h * np.eye(6)[j], keep=False)[0][0] - s0) / (h * (1 + (j > 2)))
                            for j in range(6)])


def test_bogenfeld_crack_normal_to_axis_2(tv):
    run = Run(tv.toplevel.vumat_bogenfeld, bogenfeld_props(p11=60.0, p27=1.0), nstatev=46)
    for _ in range(12):
        run.call(strain(0, 1e-3))
    d = run.state[0, 2]
    assert run.state[0, 11] == pytest.approx(90.0) and 0.1 < d < 0.99
    assert run.state[0, 6] == pytest.approx(6e-3)  # the opening strain at onset, kept
    c = nye_to_cyclic(tv, tv.lamina.getnyestiffnessmatrix(NYE, 6))
    touches = np.zeros((6, 6), bool)
    touches[[1, 3, 4], :] = touches[:, [1, 3, 4]] = True  # 22, 12, 23
    run.state[0, 20:26] = 0.0
    np.testing.assert_allclose(probe_stiffness(run, strain(0, 5e-4)), np.where(touches, 1 - d, 1) * c,
                               rtol=1e-6, atol=1e-6 * c.max())
    assert run.call(strain(0, 5e-4), keep=False)[1][0, 4] == 1.0
    # Along the fibres the stiffness is untouched, to the last digit (the
    # plane's angle is 0 exactly, not π).
    assert run.call(strain(1e-4), keep=False)[0][0, 0] == c[0, 0] * 1e-4
    # Closed under compression: the switch records it, the normal entries
    # carry compression as the undamaged ply does, shear across the crack
    # stays degraded.
    stress, state, _, _ = run.call(strain(0, -3e-3), keep=False)
    assert state[0, 4] == -1.0 and stress[0, 1] == pytest.approx(c[1, 1] * -3e-3, rel=1e-12)
    touches[:3, :3] = False
    np.testing.assert_allclose(probe_stiffness(run, strain(0, -5e-4)), np.where(touches, 1 - d, 1) * c,
                               rtol=1e-6, atol=1e-6 * c.max())
    for _ in range(40):
        run.call(strain(0, 1e-3))
    assert run.state[0, 2] == 0.99


def test_bogenfeld_plane_stress_thickness_strain(tv):
    # The thickness strain of the plane-stress step, -(nu31·s11 + nu32·s22)/E3,
    # enters the total strain and replaces column 3 of the caller's straininc.
    run = Run(tv.toplevel.vumat_bogenfeld, bogenfeld_props(), nstatev=46, nshr=1)
    de = np.array([1e-3, -4e-4, 0.7, 3e-4])
    stress, state, _, _ = run.call(de)
    nu31, nu32 = NU13 * E3 / E1T, NU23 * E3 / E2T
    assert state[0, 22] == pytest.approx(-(nu31 * stress[0, 0] + nu32 * stress[0, 1]) / E3, rel=1e-13)
    assert stress[0, 2] == 0.0 and run.de[0, 2] == state[0, 22]
    assert (run.de[0, [0, 1, 3]] == de[[0, 1, 3]]).all()


@pytest.mark.parametrize("routine", ["vumat_cartesian", "vumat_bogenfeld"])
@pytest.mark.parametrize("case, message", [
    ("nprops 1", "properties from the material tables"), ("nprops 3", "unsupported number of elastic"),
    ("nprops 30", "too few properties"), ("40 state variables", "state variables"),
    ("zero strength", "strengths must be positive"), ("zero length", "lengths must be positive"),
    ("negative modulus", "not positive definite")])
def test_refused_input_returns_the_block_unchanged(tv, latched, routine, case, message):
    fn = getattr(tv.toplevel, routine)
    make = props if routine == "vumat_cartesian" else bogenfeld_props
    p = {"nprops 1": make()[:1], "nprops 3": make()[:3], "nprops 30": make()[:20], "zero strength": make(p11=0.0),
         "negative modulus": make(p2=-9e3)}.get(case, make())
    run = Run(fn, p, nstatev=40 if case == "40 state variables" else 82, n=2)
    if case == "zero length":
        run.length[1, 2] = 0.0
    run.state[:] = 0.25
    run.stress[:] = 3.0
    run.eint[:], run.eine[:] = 5.0, 4.0
    stress, state, eint, eine = run.call(strain(1e-3, 2e-3))
    rows = [1] if case == "zero length" else [0, 1]
    assert (stress[rows] == 3.0).all() and (state[rows] == 0.25).all()
    assert (eint[rows] == 5.0).all() and (eine[rows] == 4.0).all()
    status, text = latched()
    assert status == -2 and text.startswith(routine) and message in text
    details = {"nprops 1": [1], "nprops 3": [3], "nprops 30": [20], "40 state variables": [40], "zero length": [2]}
    assert list(tv.errorhandling.errintv if case in details else []) == details.get(case, [])
    if case == "zero length":
        assert (stress[0] != 3.0).any() and list(tv.errorhandling.errrealv) == [1.6e-9, 1.0, 1.0, 0.0]


@pytest.mark.parametrize("routine, p, nshr, message", [
    ("vumat_cartesian", CARBON, 1, "needs ndir = 3 and nshr = 3"),
    ("vumat_bogenfeld", np.ones(21), 1, "a packed stiffness (nprops = 21) needs a 3-D point"),
    ("vumat_bogenfeld", CARBON[:29], 2, "needs ndir = 3 and nshr = 3, or plane stress (nshr = 1)"),
    ("vumat_cartesian", props(p23=1, p22=0.0), 3, "the initial shear modulus must be positive"),
    ("vumat_cartesian", props(p23=2, p22=0.0), 3, "the initial shear modulus must be positive"),
    ("vumat_cartesian", props(p23=6, p22=0.0), 3, "the initial shear modulus must be positive"),
    ("vumat_cartesian", props(p23=11, p22=0.0), 3, "the initial shear modulus must be positive"),
    ("vumat_cartesian", props(p9=0.99), 3, "elastic constants not positive definite"),
    ("vumat_cartesian", props(p9=0.99)[:9], 3, "elastic constants not positive definite"),
    ("vumat_bogenfeld", props(p9=0.99)[:9], 3, "elastic constants not positive definite"),
    ("vumat_cartesian", props(p9=0.95), 3, ""),  # nu23 0.95 still positive definite
    ("vumat_bogenfeld", props(p9=0.95)[:9], 3, "")])
def test_refused_layouts_and_constants(tv, latched, routine, p, nshr, message):
    run = Run(getattr(tv.toplevel, routine), np.asarray(p, float), nshr=nshr)
    run.state[:] = 0.5
    state = run.call(strain(1e-4)[:3 + nshr])[1]
    status, text = latched()
    assert (status, text if message else "") == ((-2, f"{routine}: {message}") if message else (0, ""))
    if message.startswith("needs ndir"):  # a refused layout touches no array: the old state is not copied
        assert not (state == 0.5).any()
        eh = tv.errorhandling  # the layout's two extents, nothing more
        assert (list(eh.errintv), list(eh.errrealv)) == ([3, nshr], [])
    else:
        assert (state == 0.5).all() == bool(message)


def test_wrong_arguments_raise(tv, error):
    run = Run(tv.toplevel.vumat_cartesian, props())
    run.length = np.ones((1, 2))
    with pytest.raises(error):
        run.call(strain(1e-3))
