"""Sublaminate buckling through the call lines: the Ritz shape matrices as
tabled, the buckling strain of a clamped isotropic plate and its scaling
laws, the peeling analysis of small stacks and its records per damage and
section, and bad input."""
import numpy as np
import pytest

E, NU = 70000.0, 0.3
ISO = np.array([E, E, E, NU, NU, NU, E / 2.6, E / 2.6, E / 2.6])
EPS_CIRCLE = 0.006285558882983752  # one ply t 0.5, a = b = 10, uniaxial


@pytest.fixture(scope="module")
def sl(tv):
    return tv.sublaminate


def plies(n):
    return np.tile(ISO[:, None], (1, n))


# Upper-triangle entries (row, column, value) and factor of every type.
R1, R3, R4 = 0.0023093661188899285, 0.015010879772784534, 0.20317460317460317
TABLES = {
    ("getkgellipse", 1): (1, {(1, 1): 1 / 3, (1, 6): 1 / 30, (2, 2): 1 / 10, (3, 3): 1 / 30, (4, 4): 1 / 120, (5, 5): 1 / 40, (6, 6): 1 / 120}),
    ("getkgellipse", 2): (1, {(1, 1): 1 / 3, (1, 5): 1 / 30, (2, 2): 1 / 30, (3, 3): 1 / 10, (4, 4): 1 / 120, (5, 5): 1 / 120, (6, 6): 1 / 40}),
    ("getkgellipse", 3): (1, {(1, 4): -1 / 30, (2, 3): 1 / 15, (4, 5): 1 / 120, (4, 6): 1 / 120}),
    ("getkgrectangle", 1): (R1, {(1, 1): 429, (1, 6): 39, (2, 2): 143, (3, 3): 39, (4, 4): 13, (5, 5): 39, (6, 6): 9}),
    ("getkgrectangle", 2): (R1, {(1, 1): 429, (1, 5): 39, (2, 2): 39, (3, 3): 143, (4, 4): 13, (5, 5): 9, (6, 6): 39}),
    ("getkgrectangle", 3): (R3, {(1, 4): -11, (2, 3): 11, (4, 5): 1, (4, 6): 1}),
    ("getkgrecttang", 1): (0.040634920634920635, {(1, 1): 35, (1, 5): 7, (1, 6): 5, (2, 2): 21, (3, 3): 5, (4, 4): 3, (5, 5): 11, (5, 6): 1, (6, 6): 5 / 3}),
    ("getkgrecttang", 2): (0.040634920634920635, {(1, 1): 35, (1, 5): 5, (1, 6): 7, (2, 2): 5, (3, 3): 21, (4, 4): 3, (5, 5): 5 / 3, (5, 6): 1, (6, 6): 11}),
    ("getkgrecttang", 3): (0.040634920634920635, {(1, 4): -7, (2, 3): 7, (4, 5): 1, (4, 6): 1}),
    ("getkkellipse", 1): (1, {(1, 1): 4, (1, 5): 1 / 2, (1, 6): 1 / 2, (2, 2): 5 / 2, (3, 3): 1 / 2, (4, 4): 1 / 4, (5, 5): 27 / 20, (5, 6): 1 / 20, (6, 6): 3 / 20}),
    ("getkkellipse", 2): (1, {(1, 1): 4, (1, 5): 1 / 2, (1, 6): 1 / 2, (2, 2): 1 / 2, (3, 3): 5 / 2, (4, 4): 1 / 4, (5, 5): 3 / 20, (5, 6): 1 / 20, (6, 6): 27 / 20}),
    ("getkkellipse", 3): (1, {(1, 1): 8 / 3, (1, 5): 1 / 3, (1, 6): 1 / 3, (2, 2): 1, (3, 3): 1, (4, 4): 3 / 10, (5, 5): 11 / 30, (5, 6): 1 / 6, (6, 6): 11 / 30}),
    ("getkkellipse", 4): (1, {(2, 3): 2, (4, 5): 4 / 5, (4, 6): 2 / 5}),
    ("getkkellipse", 5): (1, {(2, 3): 2, (4, 5): 2 / 5, (4, 6): 4 / 5}),
    ("getkkrectangle", 1): (0.010392147535004679, {(1, 1): 1001, (1, 5): 143, (1, 6): 91, (2, 2): 715, (3, 3): 91, (4, 4): 65, (5, 5): 429, (5, 6): 13, (6, 6): 21}),
    ("getkkrectangle", 2): (0.010392147535004679, {(1, 1): 1001, (1, 5): 91, (1, 6): 143, (2, 2): 91, (3, 3): 715, (4, 4): 65, (5, 5): 21, (5, 6): 13, (6, 6): 429}),
    ("getkkrectangle", 3): (0.060043519091138135, {(1, 1): 99, (2, 2): 33, (3, 3): 33, (4, 4): 11, (5, 5): 9, (6, 6): 9}),
    ("getkkrectangle", 4): (0.09006527863670721, {(1, 4): -33, (2, 3): 33, (4, 5): 11, (4, 6): 3}),
    ("getkkrectangle", 5): (0.09006527863670721, {(1, 4): -33, (2, 3): 33, (4, 5): 3, (4, 6): 11}),
    ("getkkrecttang", 1): (R4, {(1, 1): 21, (1, 5): 21, (1, 6): 3, (2, 2): 63, (3, 3): 3, (4, 4): 9, (5, 5): 88.2, (5, 6): 3, (6, 6): 1}),
    ("getkkrecttang", 2): (R4, {(1, 1): 21, (1, 5): 3, (1, 6): 21, (2, 2): 3, (3, 3): 19, (4, 4): 9, (5, 5): 1, (5, 6): 13, (6, 6): 88.2}),
    ("getkkrecttang", 3): (R4, {(1, 1): 35, (1, 5): 7, (1, 6): 7, (2, 2): 21, (3, 3): 21, (4, 4): 12.6, (5, 5): 11, (5, 6): 1.4, (6, 6): 11}),
    ("getkkrecttang", 4): (0.6095238095238096, {(1, 4): -7, (2, 3): 7, (4, 5): 4.2, (4, 6): 1}),
    ("getkkrecttang", 5): (0.6095238095238096, {(1, 4): -7, (2, 3): 7, (4, 5): 1, (4, 6): 4.2}),
}
LONG = {1: 11, 2: 22, 3: 33, 4: 16, 5: 26}


@pytest.mark.parametrize("name,kind", TABLES)
def test_shape_matrices_as_tabled(sl, name, kind):
    factor, entries = TABLES[(name, kind)]
    want = np.zeros((6, 6))
    for (i, j), v in entries.items():
        want[i - 1, j - 1] = want[j - 1, i - 1] = v * factor
    got = getattr(sl, name)(kind)
    np.testing.assert_allclose(got, want, rtol=1e-15, atol=0)
    assert np.array_equal(got, got.T)
    assert np.array_equal(getattr(sl, name)(LONG[kind]), got)


@pytest.mark.parametrize("name", sorted({n for n, _ in TABLES}))
@pytest.mark.parametrize("code", [0, 7, 44])
def test_unknown_type_codes(sl, latched, name, code):
    assert not getattr(sl, name)(code).any()
    routine = {"getkg": "GetKG", "getkk": "GetKK"}[name[:5]] + {
        "ellipse": "Ellipse", "rectangle": "Rectangle", "recttang": "RectTang"}[name[5:]]
    text = f"Error: Default case in subroutine {routine}. Please check your input parameters."
    assert latched() == (-2, text[:80].rstrip())


def test_sub_matrices_shape_codes(sl, latched, tv):
    abd = tv.laminate.getabdmatrix(np.eye(3) * 5.0, np.zeros((3, 3)), np.eye(3))
    abdinv = np.linalg.inv(abd)
    for shape in (0,):
        assert not sl.getsubkg([-1, 0, 0], abd, abdinv, 2.0, 1.0, 30.0, shape).any()
        assert not sl.getsubkk(np.eye(3), 2.0, 1.0, shape).any()
    assert latched()[0] == 0
    for code, name in ((4, "GetSubKG"), (-1, "GetSubKK")):
        tv.errorhandling.rsxerr(True)
        if name == "GetSubKG":
            assert not sl.getsubkg([-1, 0, 0], abd, abdinv, 2.0, 1.0, 0.0, code).any()
        else:
            assert not sl.getsubkk(np.eye(3), 2.0, 1.0, code).any()
        text = f"Error: Default case in subroutine {name}. DShape has to be an integer between 0 and 3."
        assert latched() == (-2, text[:80].rstrip())
    # Forces of a 1 : 2 : 3 ratio in a sublaminate that is its own laminate,
    # turned by 90°: N11 ↔ N22 swap, N12 changes sign; then scaled by b/a, a/b.
    kg = sl.getsubkg([1.0, 2.0, 3.0], abd, abdinv, 2.0, 1.0, 90.0, 2)
    want = 2.0 * 0.5 * sl.getkgrectangle(1) + 1.0 * 2.0 * sl.getkgrectangle(2) - 3.0 * sl.getkgrectangle(3)
    np.testing.assert_allclose(kg, want, rtol=1e-12, atol=1e-12)
    dred = np.array([[1.0, 2.0, 3.0], [2.0, 4.0, 5.0], [3.0, 5.0, 6.0]])
    a, b = 2.0, 0.5
    c = [1.0 * b / a**3, 4.0 * a / b**3, (2.0 + 12.0) / (a * b), 3.0 / a**2, 5.0 / b**2]
    want = sum(ck * sl.getkkellipse(k + 1) for k, ck in enumerate(c))
    np.testing.assert_allclose(sl.getsubkk(dred, a, b, 1), want, rtol=1e-14)


def test_clamped_isotropic_plate(sl):
    one = plies(1)
    eps, nx, mode = sl.getsublambucklingstrain([10, 10, 0], [-1, 0, 0], one, [0.0], [0.5], 1)
    assert eps == pytest.approx(EPS_CIRCLE, rel=1e-14)
    assert np.linalg.norm(mode) == pytest.approx(1.0, rel=1e-14)
    assert nx == pytest.approx(eps * E, rel=1e-12)  # N/t = ε/(t·A*11), A*11 = 1/(E·t)
    assert sl.getsublambucklingstrain([20, 20, 0], [-1, 0, 0], one, [0.0], [0.5], 1)[0] == pytest.approx(EPS_CIRCLE / 4, rel=1e-12)
    assert sl.getsublambucklingstrain([10, 10, 0], [-1, 0, 0], one, [0.0], [1.0], 1)[0] == pytest.approx(4 * EPS_CIRCLE, rel=1e-12)
    # An isotropic plate does not care where the delamination axis points.
    assert sl.getsublambucklingstrain([10, 10, 35], [-1, -1, 0], one, [0.0], [0.5], 1)[0] == pytest.approx(
        sl.getsublambucklingstrain([10, 10, 0], [-1, -1, 0], one, [0.0], [0.5], 1)[0], rel=1e-9)
    # Equal biaxial compression: the clamped circular plate buckles at
    # N·a²/D = 14.682; a Ritz model can only lie above.
    _, nx, _ = sl.getsublambucklingstrain([10, 10, 0], [-1, -1, 0], one, [0.0], [0.5], 1)
    d = E * 0.5**3 / (12 * (1 - NU**2))
    assert 14.682 <= nx * 0.5 * 100 / d < 14.75


def test_peeling_without_delamination(sl):
    for size in ([0.0, 0.0, 0.0], [10.0, 1e-11, 0.0]):  # one size below 1e-10: never analysed
        eps, real, ints = sl.delaminatedbucklinganalysis(
            600.0, plies(3), [0, 90, 0], [0.5] * 3, np.array([size, size]).T, [1, 1])
        assert eps == 0.0
        assert real[:, 0].tolist() == [0, 1, 600] + [0] * 9 and not real[:, 1].any()
        assert ints.T.tolist() == [[1, 1, 3, 0], [0, 0, 0, 0]]


def test_peeling_through_stacks(sl):
    one = plies(1)
    single = lambda t, d=(10, 10, 0): sl.getsublambucklingstrain(list(d), [-1, 0, 0], plies(len(t)), [0.0] * len(t), t, 1)
    # Two plies: the thinner top ply buckles; no column is left for the rest.
    eps, real, ints = sl.delaminatedbucklinganalysis(500.0, plies(2), [0, 0], [1.0, 0.3], np.array([[10, 8, 20]]).T, [1])
    e, nx, mode = sl.getsublambucklingstrain([10, 8, 20], [-1, 0, 0], one, [0.0], [0.3], 1)
    assert eps == e and ints[:, 0].tolist() == [1, 2, 2, 1]
    np.testing.assert_array_equal(real[:, 0], [e, nx / 500.0, nx, 10, 8, 20, *mode])
    # Three plies, delaminated under the thin bottom ply: it buckles first
    # (above... its interface, side 0), the two-ply rest is the remaining stack.
    eps, real, ints = sl.delaminatedbucklinganalysis(
        500.0, plies(3), [0, 0, 0], [0.2, 1.0, 1.0], np.array([[10, 10, 0], [0, 0, 0]]).T, [1, 0])
    assert ints.T.tolist() == [[1, 1, 1, 0], [1, 2, 3, 0]]
    assert eps == real[0, 0] == single([0.2])[0]
    assert real[0, 1] == single([1.0, 1.0])[0]
    # A single ply has no interface: nothing to write.
    eps, real, ints = sl.delaminatedbucklinganalysis(500.0, one, [0.0], [1.0], np.zeros((3, 0)), np.zeros(0, np.int32))
    assert eps == 0.0 and real.shape == (12, 0) and ints.shape == (4, 0)


def test_buckling_data_per_damage_and_section(sl):
    nplies, nsec = 4, 2
    elastic = np.tile(ISO[:, None, None], (1, nplies, nsec))
    orient = np.zeros((nplies, nsec))
    thick = np.array([[0.2, 1.0, 1.0, 1.0], [1.0, 1.0, 0.3, 1.0]]).T
    big = 2147483647
    sections = np.array([[1, 1, 1, big], [1] * 4]).T
    delam = np.zeros((3, nplies - 1, 2))
    delam[:, 0, 0] = (10, 10, 0)
    shapes = np.ones((nplies - 1, 2), np.int32)
    real, ints = sl.getbukdatafromdds(delam, shapes, [500.0, 400.0], elastic, orient, thick, sections)
    eps, r3, i3 = sl.delaminatedbucklinganalysis(500.0, elastic[:, :3, 0], orient[:3, 0], thick[:3, 0], delam[:, :2, 0], shapes[:2, 0])
    np.testing.assert_array_equal(real[:, :2, 0, 0], r3)
    np.testing.assert_array_equal(ints[:, :2, 0, 0], i3)
    assert ints[:, 0, 1, 0].tolist() == [1, 1, 3, 0]  # damage 2: nothing delaminated
    assert (ints[:, 2, :, 0] == -1).all() and not real[:, 2, :, 0].any()  # past the section's plies
    for idmg in range(2):  # the second section, all four plies
        e4, r4, i4 = sl.delaminatedbucklinganalysis(400.0, elastic[..., 1], orient[:, 1], thick[:, 1], delam[..., idmg], shapes[:, idmg])
        np.testing.assert_array_equal(real[:, :, idmg, 1], r4)
        np.testing.assert_array_equal(ints[:, :, idmg, 1], i4)
    sections[:, 1] = big
    real, ints = sl.getbukdatafromdds(delam, shapes, [500.0, 400.0], elastic, orient, thick, sections)
    assert (ints[..., 1] == -1).all() and not real[..., 1].any()  # no ply defined


def test_bad_input(sl, error):
    with pytest.raises(error):
        sl.getsublambucklingstrain([10, 10], [-1, 0, 0], plies(1), [0.0], [0.5], 1)
    with pytest.raises(error):
        sl.delaminatedbucklinganalysis(500.0, plies(3), [0, 0, 0], [1, 1, 1], np.zeros((3, 1)), [1])
    with pytest.raises(error):
        sl.getsublambucklingstrain([10, 10, 0], [-1, 0, 0], plies(2), [0.0], [0.5], 1)
