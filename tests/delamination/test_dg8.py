"""Module dg8: the eight-parameter plate against an independent quadrature
of its energy density, the contact grid, Newton's method and the release
rate."""
import numpy as np
import pytest

A = np.array([[1e5, 3e4, 5e3], [3e4, 8e4, 4e3], [5e3, 4e3, 3.5e4]])
B = np.array([[1000, 200, 50], [200, 800, 40], [50, 40, 300.0]])
D = np.array([[5000, 1500, 200], [1500, 4000, 150], [200, 150, 1800.0]])
ABD = np.block([[A, B], [B, D]])
EPS = np.array([-0.002, 0.0005, 0.0003])
VEC = np.array([0.01, -0.02, 0.015, 0.005, 0.3, -0.1, 0.05, 0.02])
SIZE = (30.0, 20.0)
U_REF = 387.325118343905
F_REF = np.array([1590.13029469470, -1724.05702116026, 919.475470221927, 1281.16359163775,
                  106.448928055462, 15.6776904817020, 18.5489833806506, 0.904704852147189])


def energy_by_quadrature(vec, eps, a, b, abd):
    """Polar Gauss quadrature of the von Karman energy density over the
    ellipse, exact for the degree-20 integrand (11 Gauss points in rho, 32
    equal steps in theta)."""
    x, wx = np.polynomial.legendre.leggauss(11)
    rho, wrho = (x + 1) / 2, wx / 2
    theta = 2 * np.pi * np.arange(32) / 32
    rho, th = np.meshgrid(rho, theta, indexing="ij")
    weight = np.outer(wrho, np.full(32, 2 * np.pi / 32)) * rho
    xi, eta = rho * np.cos(th), rho * np.sin(th)
    p1, p2, q1, q2, r1, r2, r3, r4 = vec
    c, cx, cy = 1 - xi**2 - eta**2, -2 * xi, -2 * eta
    lu, lv = p1 * xi + p2 * eta, q1 * xi + q2 * eta
    ux, uy = cx * lu + c * p1, cy * lu + c * p2
    vx, vy = cx * lv + c * q1, cy * lv + c * q2
    P = r1 + r2 * xi**2 + r3 * eta**2 + r4 * xi * eta
    Px, Py = 2 * r2 * xi + r4 * eta, 2 * r3 * eta + r4 * xi
    wx_ = 2 * c * cx * P + c**2 * Px
    wy_ = 2 * c * cy * P + c**2 * Py
    wxx = 2 * cx**2 * P - 4 * c * P + 4 * c * cx * Px + 2 * c**2 * r2
    wyy = 2 * cy**2 * P - 4 * c * P + 4 * c * cy * Py + 2 * c**2 * r3
    wxy = 2 * cx * cy * P + 2 * c * cx * Py + 2 * c * cy * Px + c**2 * r4
    dwx, dwy = wx_ / a, wy_ / b
    e = np.array([eps[0] + ux / a + dwx**2 / 2, eps[1] + vy / b + dwy**2 / 2,
                  eps[2] + uy / b + vx / a + dwx * dwy])
    k = np.array([-wxx / a**2, -wyy / b**2, -2 * wxy / (a * b)])
    sym = lambda m: np.triu(m) + np.triu(m, 1).T
    Am, Bm, Dm = sym(abd[:3, :3]), sym(np.triu(abd[:3, 3:])), sym(abd[3:, 3:])
    dens = (0.5 * np.einsum("i...,ij,j...", e, Am, e) + np.einsum("i...,ij,j...", e, Bm, k)
            + 0.5 * np.einsum("i...,ij,j...", k, Dm, k))
    return a * b * np.sum(dens * weight)


@pytest.fixture
def d(tv):
    return tv.dg8


def test_reference_energy_and_residual(d):
    assert energy_by_quadrature(VEC, EPS, *SIZE, ABD) == pytest.approx(U_REF, rel=1e-11)
    assert d.getstrainenergy8(VEC, EPS, *SIZE, ABD) == pytest.approx(U_REF, rel=1e-11)
    for w in (0, 1):
        f = d.getf8(VEC, EPS, 0.0, 0.0, *SIZE, ABD, w)
        np.testing.assert_allclose(f, F_REF, rtol=1e-11)


def test_only_the_upper_triangle_of_abd_is_read(d):
    garbage = ABD + np.tril(np.full((6, 6), 7e3), -1)
    assert d.getstrainenergy8(VEC, EPS, *SIZE, garbage) == pytest.approx(U_REF, rel=1e-12)


@pytest.mark.parametrize("seed", [1, 2, 3])
def test_energy_matches_quadrature_for_random_states(d, seed):
    rng = np.random.default_rng(seed)
    abd = rng.uniform(-1, 1, (6, 6)) * np.array([1e5] * 3 + [1e3] * 3)[:, None]
    vec, eps = rng.normal(size=8) * 0.1, rng.normal(size=3) * 1e-3
    a, b = rng.uniform(5, 40, 2)
    assert d.getstrainenergy8(vec, eps, a, b, abd) == pytest.approx(
        energy_by_quadrature(vec, eps, a, b, abd), rel=1e-10)


def test_residual_is_gradient_and_jacobian_is_symmetric_hessian(d):
    h = 1e-6
    df = d.getdf8(VEC, EPS, 0.0, *SIZE, ABD, 1).reshape(8, 8, order="F")
    np.testing.assert_array_equal(df, df.T)
    for j in range(8):
        dv = np.zeros(8)
        dv[j] = h
        fd_f = (d.getstrainenergy8(VEC + dv, EPS, *SIZE, ABD)
                - d.getstrainenergy8(VEC - dv, EPS, *SIZE, ABD)) / (2 * h)
        assert fd_f == pytest.approx(F_REF[j], rel=1e-6, abs=1e-6)
        fd_df = (d.getf8(VEC + dv, EPS, 0, 0, *SIZE, ABD, 1)
                 - d.getf8(VEC - dv, EPS, 0, 0, *SIZE, ABD, 1)) / (2 * h)
        np.testing.assert_allclose(df[:, j], fd_df, rtol=1e-7, atol=1e-4)


def test_closed_forms(d):
    a, b = 3.0, 2.0
    z = np.zeros(8)
    assert d.getstrainenergy8(z, EPS, a, b, ABD) == pytest.approx(0.5 * np.pi * a * b * EPS @ A @ EPS, rel=1e-14)
    np.testing.assert_array_equal(d.getf8(z, EPS, 0, 0, a, b, ABD, 1), np.zeros(8))

    def only(i, j, value=1.0):
        m = np.zeros((6, 6))
        m[i, j] = value
        return m
    p1 = 0.7
    full = np.zeros((6, 6))
    full[:3, :3] = A
    assert d.getstrainenergy8([p1, 0, 0, 0, 0, 0, 0, 0], np.zeros(3), a, b, full) == pytest.approx(
        np.pi * p1**2 * (A[0, 0] * b / (4 * a) + A[2, 2] * a / (12 * b)), rel=1e-14)
    r1, r2, r3, r4 = 0.3, -0.2, 0.5, 0.7
    expected = np.pi * b * 7.0 / (20 * a**3) * (80 * r1**2 + 20 * r1 * r2 + 20 * r1 * r3 + 27 * r2**2
                                                + 2 * r2 * r3 + 3 * r3**2 + 5 * r4**2)
    assert d.getstrainenergy8([0, 0, 0, 0, r1, r2, r3, r4], np.zeros(3), a, b, only(3, 3, 7.0)) == \
        pytest.approx(expected, rel=1e-14)
    pq = [0.4, -0.9, 0.3, 0.2, 0, 0, 0, 0]
    assert d.getstrainenergy8(pq, np.zeros(3), a, b, only(0, 0, 5.0)) == pytest.approx(
        np.pi * b * 5.0 / a * (0.4**2 / 4 + 0.9**2 / 12), rel=1e-14)


def test_mirror_symmetry_and_its_breaking_terms(d):
    orth = ABD.copy()
    for i, j in [(0, 2), (1, 2), (0, 5), (1, 5), (3, 5), (4, 5)]:
        orth[i, j] = orth[j, i] = 0.0
    eps = np.array([-0.002, 0.0005, 0.0])
    flip = np.array([1, -1, -1, 1, 1, 1, 1, -1.0])
    vec = np.array([0.01, -0.02, 0.015, 0.005, 0.3, -0.1, 0.13, 0.02])
    u = d.getstrainenergy8(vec, eps, *SIZE, orth)
    assert d.getstrainenergy8(vec * flip, eps, *SIZE, orth) == pytest.approx(u, rel=1e-13)
    # Each of the coupling entries and the applied shear breaks the symmetry.
    for i, j in [(0, 2), (1, 2), (0, 5), (1, 5), (3, 5), (4, 5)]:
        m = orth.copy()
        m[i, j] = ABD[i, j] * 10
        diff = d.getstrainenergy8(vec, eps, *SIZE, m) - d.getstrainenergy8(vec * flip, eps, *SIZE, m)
        assert abs(diff) > 1e-9 * u, (i, j)
    assert d.getstrainenergy8(vec, EPS, *SIZE, orth) != pytest.approx(
        d.getstrainenergy8(vec * flip, EPS, *SIZE, orth), rel=1e-9)


def test_imperfection_load_acts_on_f5_only_while_w_is_false(d):
    g0, eb = 40.0, -0.003
    f1 = d.getf8(VEC, EPS, g0, eb, *SIZE, ABD, 1)
    f0 = d.getf8(VEC, EPS, g0, eb, *SIZE, ABD, 0)
    step = np.zeros(8)
    step[4] = -np.pi * SIZE[0] * SIZE[1] * g0 * eb**2 / 10
    np.testing.assert_allclose(f0 - f1, step, rtol=1e-12, atol=1e-12)
    np.testing.assert_array_equal(d.getdf8(VEC, EPS, g0, *SIZE, ABD, 0), d.getdf8(VEC, EPS, 0, *SIZE, ABD, 1))


@pytest.mark.parametrize("nk", [1, 3])
def test_contact_grid_of_the_unit_circle(d, nk):
    vec = [0, 0, 0, 0, -1.0, 0, 0, 0]
    kmd = 2.0
    area = d.getareaofoverlap8(vec, 1, 1, nk)
    km, kv = d.getkdfkf8(vec, 1.0, 1.0, kmd, nk)
    if nk == 1:
        # Points (+-0.5, +-0.5): c = 0.5, P = -1.
        assert area == 4.0
        assert d.getcontactenergy8(vec, 1, 1, kmd, nk) == pytest.approx(0.125 * kmd, rel=1e-15)
        np.testing.assert_allclose(kv, np.array([-0.25, -0.0625, -0.0625, 0]) * kmd, rtol=1e-15)
        assert km[0, 0] == pytest.approx(0.25 * kmd, rel=1e-15)
    np.testing.assert_array_equal(km, km.T)
    # kv and km are the derivatives of the contact energy (fixed contact set).
    e = d.getcontactenergy8(vec, 1, 1, kmd, nk)
    assert e == pytest.approx(0.5 * km[0, 0], rel=1e-14)
    assert kv[0] == pytest.approx(-km[0, 0], rel=1e-14)
    # A deflection away from the base laminate touches nothing.
    up = [0, 0, 0, 0, 1.0, 0.2, 0.2, 0.1]
    assert d.getareaofoverlap8(up, 1, 1, nk) == 0.0
    assert d.getcontactenergy8(up, 1, 1, kmd, nk) == 0.0
    km, kv = d.getkdfkf8(up, 1.0, 1.0, kmd, nk)
    assert not km.any() and not kv.any()


def test_overlap_area_tends_to_the_ellipse(d):
    a, b = 3.0, 2.0
    area = d.getareaofoverlap8([0, 0, 0, 0, -1.0, 0, 0, 0], a, b, 400)
    assert area == pytest.approx(np.pi * a * b, rel=1e-3)
    # Points are placed by index: the count is the same as the exact grid's.
    h = b / 400
    x = h / 2 - a + h * np.arange(int(np.ceil(2 * a / h)))
    y = h / 2 - b + h * np.arange(int(np.ceil(2 * b / h)))
    X, Y = np.meshgrid(x[x < a], y[y < b])
    assert area == pytest.approx(np.count_nonzero((X / a) ** 2 + (Y / b) ** 2 < 1) * h * h, rel=1e-14)


def test_grid_below_one_cell_samples_one_column(d):
    # nk < 1: cells of 3a, so only the column x = a/2; along it y = 1.5a - b + 3a*j.
    vec = [0, 0, 0, 0, -1.0, 0, 0, 0]
    assert d.getareaofoverlap8(vec, 1.0, 2.5, 0) == pytest.approx(18.0, rel=1e-15)  # y = -1, 2
    assert d.getareaofoverlap8(vec, 1.0, 1.0, -4) == pytest.approx(9.0, rel=1e-15)  # y = 0.5
    # Penetration on the side x < 0 only is never sampled.
    assert d.getareaofoverlap8([0, 0, 0, 0, 0, 0, 0, 1.0], 1.0, 1.0, 0) == 0.0
    assert d.getareaofoverlap8([0, 0, 0, 0, 0, 0, 0, -1.0], 1.0, 1.0, 0) == pytest.approx(9.0)
    # A degenerate ellipse has no cells.
    assert d.getcontactenergy8(vec, 1.0, 0.0, 1.0, 3) == 0.0


def test_grid_of_more_points_than_an_analysis_needs_is_refused(d, latched):
    vec = [0, 0, 0, 0, -1.0, 0, 0, 0]
    assert d.getareaofoverlap8(vec, 1.0, 1.0, 1500) > 0.0 and latched()[0] == 0
    # Fine grids converge on the integral: 1/2 of (1 - r^2)^4 over the unit disk.
    assert d.getcontactenergy8(vec, 1.0, 1.0, 1.0, 1582) == pytest.approx(np.pi / 10, rel=1e-6)
    assert latched()[0] == 0
    # Refused: grids of more points than 32-bit counters number (2 nk + 1)^2.
    for a, b, nk in [(1.0, 1.0, 23170), (1.0, 1.0, 2**31 - 1), (1e12, 1.0, 1), (1.0, 1e-12, 1)]:
        assert d.getareaofoverlap8(vec, a, b, nk) == 0.0
        assert latched()[0] == -2


def test_total_residual_adds_contact_to_the_deflection_block(d):
    vec = np.array([0.01, 0, 0, 0.02, -0.3, 0.1, 0.05, 0.02])
    kmd, nk = 500.0, 4
    fp, dfp = d.getfdf8(vec, EPS, 3.0, -0.002, *SIZE, kmd, ABD, nk, 0)
    f = d.getf8(vec, EPS, 3.0, -0.002, *SIZE, ABD, 0)
    df = d.getdf8(vec, EPS, 3.0, *SIZE, ABD, 0)
    km, kv = d.getkdfkf8(vec, *SIZE, kmd, nk)
    assert kv.any()
    np.testing.assert_allclose(fp, np.concatenate([f[:4], f[4:] + kv]), rtol=1e-14)
    expected = df.reshape(8, 8, order="F").copy()
    expected[4:, 4:] += km
    np.testing.assert_allclose(dfp.reshape(8, 8, order="F"), expected, rtol=1e-14)


def newton(d, sol, abd=ABD, maxiter=50, w=1, tol=1e-15, epsnom=1.0, rel=EPS, g0=0.0, nk=4, kmd=0.0):
    return d.newtonraphson8(np.array(sol, float), *SIZE, kmd, g0, epsnom, -0.002, rel, abd, tol,
                            maxiter, nk, w)


def test_newton_from_equilibrium_and_without_iterations(d):
    sol, nrerr = newton(d, np.zeros(8))
    assert nrerr == 0.0 and not sol.any()
    sol, nrerr = newton(d, VEC, maxiter=0)
    assert nrerr == 0.0
    np.testing.assert_array_equal(sol, VEC)


def test_newton_converges_to_a_root_of_the_residual(d):
    sol, nrerr = newton(d, np.zeros(8), w=0, g0=50.0, epsnom=-1.0, rel=np.array([0.002, 0, 0]))
    assert nrerr < 1e-15 and sol[4] != 0.0
    f = d.getf8(sol, -np.array([0.002, 0, 0]), 50.0, -0.002, *SIZE, ABD, 0)
    assert np.abs(f).max() < 1e-6 * np.pi * SIZE[0] * SIZE[1] * 50.0 * 0.002**2


def test_newton_stops_at_a_singular_jacobian(d, latched):
    sol, nrerr = newton(d, VEC, abd=np.zeros((6, 6)))
    assert np.isnan(nrerr)
    np.testing.assert_array_equal(sol, VEC)
    assert latched()[0] == -2


def test_newton_tolerance_is_strict(d):
    # Without B and deflection the problem is linear in p, q: the first step
    # solves it; a tolerance equal to that step's check does not stop there.
    membrane = ABD.copy()
    membrane[:3, 3:] = membrane[3:, :3] = 0.0
    start = np.concatenate([VEC[:4], np.zeros(4)])
    _, first = newton(d, start, abd=membrane, maxiter=1)
    assert first > 0
    sol, nrerr = newton(d, start, abd=membrane, tol=first, maxiter=5)
    assert nrerr < 1e-20 * first
    sol, nrerr = newton(d, start, abd=membrane, tol=np.nextafter(first, 1), maxiter=5)
    assert nrerr == first


def test_release_rate_of_an_unbuckled_plate(tv, d, latched):
    abd = np.zeros((6, 6))
    abd[0, 0] = 1e5
    rel = np.array([1.0, 0, 0])
    assert ABD[0, 0] == 1e5
    g0 = 0.5 * rel @ abd[:3, :3] @ rel
    serr, fa, fb = d.getenergyreleaserate8(np.zeros(8), 30.0, 20.0, 0.0, g0, -0.001, -0.002, rel,
                                           abd, 4, 1)
    assert serr == pytest.approx(9.99985000e-7, rel=1e-8)
    assert latched()[0] == -2  # A11 alone leaves the Jacobian singular: reported
    tv.errorhandling.rsxerr(True)
    # Any sublaminate: the plate stays flat and releases g1*(1 - 1.00001**-2).
    serr, fa, fb = d.getenergyreleaserate8(np.zeros(8), 30.0, 20.0, 1e3, g0, -0.001, -0.002, rel,
                                           ABD, 4, 1)
    assert serr == pytest.approx(9.99985000e-7, rel=1e-8)
    assert (fa, fb) == (1.001, 1.0)
    assert latched()[0] == 0


def test_release_rate_from_two_perturbed_equilibria(d, latched):
    rel, g0, epsnom, eb, kmd, nk = np.array([-1.0, 0.4, 0.3]), 30.0, 0.004, 0.002, 1e4, 6
    vec, nrerr = newton(d, np.array([0, 0, 0, 0, 0.01, 0, 0, 0]), epsnom=epsnom, rel=rel, g0=g0,
                        w=0, kmd=kmd, nk=nk, maxiter=100)
    assert nrerr < 1e-15 and latched()[0] == 0
    a, b = SIZE
    e0 = epsnom * rel

    def potential(v, aa, bb):
        return d.getstrainenergy8(v, e0, aa, bb, ABD) + d.getcontactenergy8(v, aa, bb, kmd, nk)

    def solve(v, aa, bb):
        return d.newtonraphson8(v.copy(), aa, bb, kmd, g0, epsnom, eb, rel, ABD, 1e-15, 100, nk, 0)[0]

    pi0 = potential(vec, a, b)
    ap, bp = 1.00001 * a, 1.00001 * b
    sa = solve(vec, ap, b)
    sb = solve(sa, a, bp)
    g1 = g0 * epsnom**2
    ga = g1 - (potential(sa, ap, b) - pi0) / (1e-5 * ap) / (np.pi * bp)
    gb = g1 - (potential(sb, a, bp) - pi0) / (1e-5 * bp) / (np.pi * ap)
    serr, fa, fb = d.getenergyreleaserate8(vec, a, b, kmd, g0, epsnom, eb, rel, ABD, nk, 0)
    assert serr == pytest.approx(max(ga, gb), rel=1e-9)
    assert (fa, fb) == ((1.001, 1.0) if ga >= gb else (1.0, 1.001))
    assert ga != gb


def test_release_rate_reports_a_failed_solve(d, latched):
    sol, nrerr = newton(d, np.zeros(8), w=0, g0=50.0, epsnom=-1.0, rel=np.array([0.002, 0, 0]))
    serr, fa, fb = d.getenergyreleaserate8(sol, *SIZE, 0.0, 50.0, -1.0, -0.002, np.array([0.002, 0, 0]),
                                           ABD, 4, 0, 1e-15, 1)
    assert latched() == (-2, "Error: No convergence while computing energy release rate!")
    assert np.isfinite(serr) and {fa, fb} == {1.0, 1.001}


# The growth driver on a quasi-isotropic laminate; the sublaminate is plies 1-3.
PLY = np.array([140000, 10000, 10000, 0.3, 0.3, 0.45, 5000, 5000, 3500.0])
LAYUP = np.array([0, 45, -45, 90, 90, -45, 45, 0] * 2, float)
COMPRESSION = np.array([-1.0, 0.3, 0.0])
INF = float("inf")


def grow(tv, lim, rel=COMPRESSION, dela=(15.0, 10.0, 0.0), kmd=1e4, gamma=0.3, width=100.0,
         radius=40.0, ninc=100, nprec=10, thickness=0.125, stack=(1, 3)):
    n = len(LAYUP)
    return tv.dg8.delaminationgrowthanalysis(
        np.array(lim, float), np.array(rel, float), np.tile(PLY[:, None], (1, n)), LAYUP,
        np.full(n, thickness), np.array(dela, float), np.array(stack, np.int32), kmd, gamma, width,
        radius, ninc, nprec)


def linear_buckling(tv, dela=(15.0, 10.0, 0.0), thickness=0.125):
    eps, _, _ = tv.sublaminate.getsublambucklingstrain(
        np.array(dela), COMPRESSION, np.tile(PLY[:, None], (1, 3)), LAYUP[:3], np.full(3, thickness), 1)
    return eps


@pytest.mark.parametrize("dela", [(15.0, 10.0, 0.0), (12.0, 8.0, 30.0)])
def test_driver_without_buckling_or_without_increments(tv, latched, dela):
    eb = linear_buckling(tv, dela)
    assert eb > 0
    # An empty range runs no increment; a range below buckling shows none.
    for lim in [(0.002, 0.002), (0.0, 0.5 * eb)]:
        success, strains = grow(tv, lim, dela=dela)
        assert success == 1.0
        np.testing.assert_array_equal(strains, [eb * COMPRESSION[0], 0.0, 0.0])
    assert latched()[0] == 0
    # Falling levels are the rising levels of the opposite sign under the
    # opposite ratio: the same applied strains.
    falling = grow(tv, (0.003, 0.001), dela=dela)
    rising = grow(tv, (-0.003, -0.001), rel=-COMPRESSION, dela=dela)
    assert falling[0] == rising[0] and np.array_equal(falling[1], rising[1])


def test_falling_levels_are_computed_not_skipped(tv, latched):
    # 16 plies [0/45/-45/90]2s of a carbon ply, the top two plies above the
    # delamination: compression as falling levels under a tensile ratio.
    ply = [161e3, 11.38e3, 11.38e3, 0.32, 0.32, 0.44, 5.17e3, 5.17e3, 3.98e3]
    angles = [0.0, 45, -45, 90] * 2
    angles += angles[::-1]
    t = np.full(16, 0.125)
    sub = tv.laminate.getsublaminatestack(t, 14)
    args = (np.tile(ply, (16, 1)).T, angles, t, [15.0, 10.0, 0.0], sub, 1e5, 0.25, 100.0, 50.0, 100, 8)
    falling = tv.dg8.delaminationgrowthanalysis([0.0, -0.01], [1.0, 0, 0], *args)
    rising = tv.dg8.delaminationgrowthanalysis([0.0, 0.01], [-1.0, 0, 0], *args)
    assert falling[0] == rising[0] == 1.0 and latched()[0] == 0
    np.testing.assert_array_equal(falling[1], rising[1])
    np.testing.assert_allclose(falling[1][1:], [-5.0e-4, -5.1e-3], rtol=1e-9)


def test_driver_finds_buckling_then_growth(tv, latched):
    eb = linear_buckling(tv)
    success, strains = grow(tv, (0.0, 3 * eb))
    assert success == 1.0 and latched()[0] == 0
    # The imperfect plate shows buckling before the linear strain.
    assert strains[0] == eb * -1.0
    assert -eb < strains[1] < 0.5 * -eb
    success, strains = grow(tv, (0.0, 0.05))
    assert success == 1.0 and latched()[0] == 0
    assert strains[2] < strains[1] < 0
    # A toughness never reached leaves growth out; the buckling strain stays.
    success, tough = grow(tv, (0.0, 0.05), gamma=1e30)
    assert success == 1.0 and tough[2] == 0.0 and tough[1] == strains[1]


def test_driver_depends_only_on_the_applied_strain(tv):
    # Level x ratio is what loads the plate: half the range under twice the
    # ratio gives the same results, each reported times relstrain(1).
    base = grow(tv, (0.0, 0.05), rel=[-1.0, 0.3, 0.2])
    twice = grow(tv, (0.0, 0.025), rel=[-2.0, 0.6, 0.4])
    assert base[0] == twice[0] == 1.0
    np.testing.assert_allclose(twice[1], base[1], rtol=1e-9)
    assert base[1][1] != 0.0 and base[1][2] != 0.0


def test_first_three_increments_never_report_a_trivial_solution(tv, latched):
    # The same thin sublaminate whose flat solution is reported from the
    # fourth increment on.
    assert grow(tv, (0.0, 1e-6), thickness=1e-5, ninc=3)[0] == 1.0
    assert latched()[0] == 0
    assert grow(tv, (0.0, 1e-6), thickness=1e-5, ninc=4)[0] == -2.0


def test_growth_beyond_the_radius_ends_at_once(tv, latched):
    # Every release rate exceeds the toughness, so the first growth step
    # already takes a semi-axis past the radius.
    success, strains = grow(tv, (0.0, 0.05), dela=(15.0, 15.0, 0.0), gamma=-INF, radius=15.0)
    assert success == 1.0 and strains[2] == 0.0 and strains[1] == 0.0
    # The width bounds the rotated ellipse's extent across the laminate.
    success, strains = grow(tv, (0.0, 0.05), dela=(15.0, 15.0, 0.0), gamma=-INF, width=30.0)
    assert success == 1.0 and strains[2] == 0.0
    success, strains = grow(tv, (0.001, 0.05), dela=(15.0, 15.0, 0.0), gamma=-INF, width=30.1)
    assert success == 1.0 and strains[2] == -0.001
    # Bounds that are not numbers stop the growth instead of letting it run on.
    for bounds in [dict(radius=float("nan")), dict(width=float("nan"))]:
        success, strains = grow(tv, (0.001, 0.05), dela=(15.0, 15.0, 0.0), gamma=-INF, **bounds)
        assert success == 1.0 and strains[2] == 0.0
    assert latched()[0] == 0


@pytest.mark.parametrize("case, status, message", [
    (dict(lim=(0.0, 0.05), ninc=5), -1.0,
     "Error: No convergence in load increment iteration! Error after 150 iterations. T"),
    (dict(lim=(0.0, 1e-6), thickness=1e-5), -2.0,
     "Error: Encountered trivial solution! Try playing with Eps_Start parameter and/or"),
    (dict(lim=(0.0, 0.003), dela=(1e4, 1e4, 0.0), gamma=-INF, radius=INF, width=INF, nprec=0, ninc=2),
     -3.0, "Error: No convergence in delamination grow loop! Error after 150 iterations. Try"),
])
def test_driver_failures_and_their_messages(tv, latched, case, status, message):
    success, strains = grow(tv, **case)
    assert success == status
    assert latched() == (-2, message)


def test_driver_bad_input_is_refused(tv, latched):
    # A singular sublaminate is a failed solve, not a converged one.
    n = len(LAYUP)
    success, _ = tv.dg8.delaminationgrowthanalysis(
        np.array([0.0, 0.01]), COMPRESSION, np.zeros((9, n)), LAYUP, np.full(n, 0.125),
        np.array([15.0, 10, 0]), np.array([1, 3], np.int32), 1e4, 0.3, 100.0, 40.0, 10, 4)
    assert success == -1.0 and latched()[0] == -2
    tv.errorhandling.rsxerr(True)
    for case in [dict(ninc=0), dict(ninc=-3), dict(lim=(0.0, INF)), dict(lim=(float("nan"), 0.01)),
                 dict(stack=(0, 3)), dict(stack=(3, 2)), dict(stack=(1, 17))]:
        success, strains = grow(tv, **{"lim": (0.0, 0.01), **case})
        assert success == 0.0 and not strains.any(), case
        assert latched()[0] == -2
        tv.errorhandling.rsxerr(True)
