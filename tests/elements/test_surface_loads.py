"""Impact and surface loads: the distribution laws, the concentrated and
element-set loads, the pressure at a point with its nearest-element
bookkeeping, and the amplitude and hysteresis curves."""
import numpy as np
import pytest

HUGE = np.finfo(float).max
F, A, B = 1000.0, 3.0, 2.0


@pytest.fixture
def shared(tv):
    """Step kinds and element tables for one test, freed afterwards."""
    yield tv
    tv.jobdata.stepid = None
    tv.elementdata.elemlist = None
    tv.elementdata.elemkind = None


def gauss(n=40):
    return np.polynomial.legendre.leggauss(n)


def box_integral(law, r0, s0):
    # Over [r0 ± A] × [s0 ± B], quadrant by quadrant (the pyramid has kinks).
    x, w = gauss()
    total = 0.0
    for (r1, r2), (s1, s2) in [((r0 - A, r0), (s0 - B, s0)), ((r0, r0 + A), (s0 - B, s0)),
                               ((r0 - A, r0), (s0, s0 + B)), ((r0, r0 + A), (s0, s0 + B))]:
        rr = (r1 + r2) / 2 + (r2 - r1) / 2 * x
        ss = (s1 + s2) / 2 + (s2 - s1) / 2 * x
        vals = np.array([[law(F, r, s, r0, s0, A, B) for s in ss] for r in rr])
        total += (r2 - r1) * (s2 - s1) / 4 * w @ vals @ w
    return total


def test_distribution_laws_carry_the_force(tv):
    sl = tv.sldcollection
    r0, s0 = 0.5, -0.25
    for law in (sl.parabolicsurfaceload, sl.pyramidalsurfaceload,
                lambda f, r, s, r0, s0, a, b: sl.uniformsurfaceload(f, a, b)):
        assert box_integral(law, r0, s0) == pytest.approx(F, rel=1e-13)
    for law in (sl.cosinesurfaceload, sl.sinesurfaceload):  # these integrate to 0
        assert box_integral(law, r0, s0) == pytest.approx(0.0, abs=1e-9)
    # Hertzian over its ellipse, with r = r0 + aρ·cos θ, s = s0 + bρ·sin θ, ρ = sin φ.
    x, w = gauss()
    phi, theta = np.pi / 4 * (x + 1), np.pi * (x + 1)
    total = sum(wi * wj * A * B * np.sin(p) * np.cos(p) * (np.pi / 4) * np.pi *
                sl.hertziansurfaceload(F, r0 + A * np.sin(p) * np.cos(t), s0 + B * np.sin(p) * np.sin(t),
                                       r0, s0, A, B)
                for p, wi in zip(phi, w) for t, wj in zip(theta, w))
    assert total == pytest.approx(F, rel=1e-12)
    assert sl.hertziansurfaceload(F, r0, s0, r0, s0, A, B) == pytest.approx(3 * F / (2 * np.pi * A * B), rel=1e-15)
    assert sl.pyramidalsurfaceload(F, r0 + A, s0, r0, s0, A, B) == 0.0
    assert sl.cosinesurfaceload(F, r0, s0, r0, s0, A, B) == pytest.approx(F / (A * B), rel=1e-15)


# (sname, ldflag, cforce, f, ldflag after)
CLOAD = [
    ("POINT-SYMX-SYM4", 0.0, 1.0, 0.125 / 2.5e-07, 1.0),
    ("POINT-SYMX-SYMY-SYM2", 0.0, 2.0, 0.25 / 2.5e-07, 1.0),
    ("POINT", 0.0, -1.0, 0.0, 1.0),
    ("POINT-COSINE", 0.0, 1.0, 0.0, 8.0),
    ("SINE-POINT", 0.0, 1.0, 0.0, 7.0),
    ("PARABOLIC-EDGE", 0.0, 1.0, 0.0, 9.0),
    ("ANY", -1.0, -4.0, -4.0 / 2.5e-07, -1.0),
    ("ANY", 1.0, 3.0, 3.0 / 2.5e-07, 1.0),
    ("ANY", 2.0, 3.0, 0.0, 2.0),
]


@pytest.mark.parametrize("sname,ldflag,cforce,f,after", CLOAD)
def test_concentrated_force(tv, latched, sname, ldflag, cforce, f, after):
    got, flag = tv.sldcollection.cload(ldflag, cforce, sname)
    assert got == pytest.approx(f, rel=1e-15) and flag == after
    assert latched()[0] == 0


def test_concentrated_force_without_a_law_word_warns(tv, latched):
    assert tv.sldcollection.cload(0.0, 1.0, "IMPACT-SET") == (0.0, 0.0)
    assert latched() == (-2, "Warning: No valid load state detected in %S")
    codes = tv.errorhandling.errasciim
    assert "".join(chr(c) for c in codes[:, 0] if c) == "LDFLAG"


def impactors(n):
    cprops = np.zeros((20, n))
    cprops[0] = 100.0 * np.arange(1, n + 1)  # forces
    cprops[17] = 0.5 * np.arange(1, n + 1)  # half-sizes
    return cprops


def test_element_set_load_matches_whole_impactor_numbers(tv, latched):
    sl = tv.sldcollection
    cprops = impactors(11)
    dircos = np.array([[1.0, 0, 0], [0, 0, -1], [0, 1, 1e-12]]).T.copy()  # columns
    t = np.ones(3)

    def deload(name):
        return sl.deload(t, 1, 1, [0.0, 0.0], 1, 1, np.zeros(3), dircos, 0, name, cprops, np.zeros((12, 11)))

    # Impactor k carries 100k over 2·0.5k: 100 for each impactor named.
    assert deload("IMPACTOR-11") == pytest.approx(100.0)  # not also impactor 1
    np.testing.assert_array_equal(t, [0.0, -1.0, 0.0])
    assert deload("IMP1-SURF") == pytest.approx(100.0)
    assert deload("IMP1-IMP2") == pytest.approx(200.0)
    assert deload("IMP1-IMP2-SYMX") == pytest.approx(100.0 * 0.25 + 100.0 * 0.5)  # halved after each
    assert deload("IMP12-SURF") == 0.0
    assert deload("SURF") == 0.0
    assert latched()[0] == 0


def dircos_xy():
    return np.eye(3)


def load_record(code, x=0.0, y=0.0, z=0.0, near=(0.0, 0.0), extent=(1.0, 1.0, 2.0, 1.0), elem=99):
    d = np.zeros((12, 1), order="F")
    d[0, 0], d[1:4, 0] = code, (x, y, z)
    d[4, 0], d[5, 0], d[6, 0] = elem, *near
    d[7:11, 0] = extent  # nearest point (r, s), farthest point (r, s)
    return d


def test_pressure_bookkeeping_in_an_initialisation_step(shared):
    tv = shared
    tv.jobdata.stepid = np.array([0, 2, 1], dtype=np.int32)
    cprops = impactors(1)
    d = load_record(2, near=(0.0, 0.0), extent=(0, 0, 0, 0), elem=0)
    t = np.full(3, 7.0)  # not read: the direction comes from dircos alone
    assert tv.sldcollection.dsload(t, 1, [1.0, 0.5, 0.0], dircos_xy(), cprops, d, elemid=7) == 0.0
    np.testing.assert_array_equal(t, [0.0, 0.0, -1.0])
    np.testing.assert_allclose(d[4:11, 0], [7, np.sqrt(1.25), np.sqrt(1.25), 1.0, 0.5, 0, 0])
    # A farther point of the same element: its distances are the far ones.
    tv.sldcollection.dsload(t, 1, [-2.0, 1.0, 0.0], dircos_xy(), cprops, d, elemid=7)
    np.testing.assert_allclose(d[4:11, 0], [7, np.sqrt(1.25), np.sqrt(5), 1.0, 0.5, 2.0, 1.0])
    # A point of another element that is nearer takes over the record.
    tv.sldcollection.dsload(t, 1, [0.25, 0.0, 0.0], dircos_xy(), cprops, d, elemid=8)
    np.testing.assert_allclose(d[4:11, 0], [8, 0.25, 0.25, 0.25, 0.0, 2.0, 1.0])
    # Steps of kind 2 keep the record up to date too; fatigue steps (1) and
    # steps of unknown kind do not.
    tv.sldcollection.dsload(t, 2, [0.0, 0.125, 0.0], dircos_xy(), cprops, d, elemid=9)
    np.testing.assert_allclose(d[4:11, 0], [9, 0.125, 0.125, 0.0, 0.125, 2.0, 1.0])
    before = d.copy()
    for kstep in (3, 5):
        tv.sldcollection.dsload(t, kstep, [0.1, 0.0, 0.0], dircos_xy(), cprops, d, elemid=10)
        np.testing.assert_array_equal(d, before)


def test_pressure_bookkeeping_planes_follow_the_dominant_axes(shared):
    # The normal (1, 1, 0)/√2 has two equal components: the first (x) counts,
    # so both distances are measured in planes holding x.
    tv = shared
    tv.jobdata.stepid = np.array([0], dtype=np.int32)
    h = np.sqrt(0.5)
    dircos = np.array([[0.0, 0, 1], [h, -h, 0], [h, h, 0]]).T.copy()
    d = load_record(2, near=(0.0, 0.0), extent=(0, 0, 0, 0), elem=0)
    tv.sldcollection.dsload(np.zeros(3), 1, [0.0, 3.0, 4.0], dircos, impactors(1), d, elemid=1)
    # Column 1 is z, column 2 x (first of equal), column 3 x: planes (z, x) and (x, x).
    np.testing.assert_allclose(d[7:9, 0], [4.0, 0.0])


# (law code, point, expected pressure) with a = 1 + 2 = 3, b = 1 + 1 = 2, R = 1.5
SL = None


def pressures(tv):
    sl = tv.sldcollection
    return [
        (2, (0.5, 0.5), sl.uniformsurfaceload(F, A, B)),
        (3, (0.5, 0.5), sl.pyramidalsurfaceload(F, 0.5, 0.5, 0, 0, A, B)),
        (4, (0.5, -0.5), sl.parabolicsurfaceload(F, 0.5, -0.5, 0, 0, A, B)),
        (7, (0.5, 0.25), sl.sinesurfaceload(F, 0.5, 0.25, 0, 0, A, B)),
        (8, (0.5, 0.25), sl.cosinesurfaceload(F, 0.5, 0.25, 0, 0, A, B)),
        (2, (3.5, 0.0), 0.0),  # outside the element's extent
        (5, (0.5, 0.5), sl.hertziansurfaceload(F, 0.5, 0.5, 0, 0, 1.5, 1.5)),
        (5, (1.5, 0.5), 0.0),  # beyond the contact radius
        (6, (1.5, 0.5), sl.parabolicsurfaceload(F, 1.5, 0.5, 0, 0, A, B)),  # R < max(a, b)
        (1, (0.5, 0.5), 0.0),
        (9, (0.5, 0.5), 0.0),
        (2.5, (0.5, 0.5), 0.0),
    ]


def test_pressure_of_each_law(shared):
    tv = shared
    tv.jobdata.stepid = np.array([0, 2, 1], dtype=np.int32)
    cprops = impactors(1)
    cprops[0, 0], cprops[1, 0] = F, 1.5
    for code, (x, y), want in pressures(tv):
        d = load_record(code, near=(0.01, 4.0))
        t = np.zeros(3)
        assert tv.sldcollection.dsload(t, 2, [x, y, 0.0], dircos_xy(), cprops, d, elemid=5) == pytest.approx(
            want, rel=1e-14), code
        assert tv.sldcollection.dsload(t, 3, [x, y, 0.0], dircos_xy(), cprops, d, elemid=5) == 0.0
    # Automatic with a contact radius beyond the element: Hertzian.
    cprops[1, 0] = 4.0
    d = load_record(6, near=(0.01, 4.0))
    assert tv.sldcollection.dsload(np.zeros(3), 2, [1.5, 0.5, 0.0], dircos_xy(), cprops, d) == pytest.approx(
        tv.sldcollection.hertziansurfaceload(F, 1.5, 0.5, 0, 0, 4.0, 4.0), rel=1e-14)


def test_pressure_sums_impactors_in_the_surface_frame_and_flips_on_continua(shared):
    tv = shared
    tv.jobdata.stepid = np.array([3], dtype=np.int32)
    # A surface in the global yz plane: its axes are y and z, its normal x.
    dircos = np.array([[0.0, 1, 0], [0, 0, 1], [1, 0, 0]]).T.copy()
    cprops = impactors(2)
    cprops[0] = [F, 0.0]  # the second impactor has no force
    d = np.hstack([load_record(2, x=5.0, y=1.0, near=(0.01, 4.0)), load_record(2, near=(0.01, 4.0))])
    d = np.asfortranarray(d)
    t = np.zeros(3)
    uniform = tv.sldcollection.uniformsurfaceload(F, A, B)
    assert tv.sldcollection.dsload(t, 1, [5.0, 2.0, 0.5], dircos, cprops, d, elemid=4) == pytest.approx(uniform)
    np.testing.assert_array_equal(t, [-1.0, 0.0, 0.0])
    cprops[0] = [F, 2 * F]
    assert tv.sldcollection.dsload(t, 1, [5.0, 2.0, 0.5], dircos, cprops, d, elemid=4) == pytest.approx(3 * uniform)
    tv.elementdata.elemlist = np.array([3, 4], dtype=np.int32)
    for kind, sign in ((10, -1), (11, -1), (9, -1), (8, 1), (0, 1)):
        tv.elementdata.elemkind = np.array([1, kind], dtype=np.int32)
        got = tv.sldcollection.dsload(t, 1, [5.0, 2.0, 0.5], dircos, cprops, d, elemid=4)
        assert got == pytest.approx(sign * 3 * uniform)


def test_pressure_arguments_are_updated_in_place(tv, error):
    cprops, d = impactors(1), load_record(2)
    with pytest.raises(error):
        tv.sldcollection.dsload([0.0, 0.0, 0.0], 1, np.zeros(3), dircos_xy(), cprops, d)
    with pytest.raises(error):
        tv.sldcollection.dsload(np.zeros(3), 1, np.zeros(3), dircos_xy(), cprops, d.astype(np.float32))
    with pytest.raises(error):
        tv.sldcollection.dsload(np.zeros(3), 1, np.zeros(3), dircos_xy(), cprops, np.zeros((12, 2), order="F"))
    with pytest.raises(error):
        tv.sldcollection.chysteresis(0.0, [0.0, 1.0, 0.0, 1.0], 0.5)


XY = np.array([0.0, 1.0, 2.0, 3.0, 2.0, 1.0,   # abscissas: up to 3, back to 1
               0.0, 2.0, 3.0, 4.0, 1.5, 0.5])  # ordinates


def hermite(tv, x, y, p):
    return float(tv.math.cubichermitianinterpolation(np.array(x), np.array(y), np.array([p]))[0])


def test_amplitude_curve(tv, latched):
    sl = tv.sldcollection
    xy = np.array([0.0, 1.0, 3.0, 0.0, 5.0, 6.0])
    assert sl.camplitude(xy, 2.0) == pytest.approx(hermite(tv, [0, 1, 3], [0, 5, 6], 2.0), rel=1e-15)
    assert sl.camplitude(xy, 2.0, skip=True) == 0.0
    assert sl.camplitude(np.array([4.0, 7.5]), 10.0) == 7.5  # a single point
    assert sl.camplitude(np.zeros(0), 1.0) == 0.0
    assert latched()[0] == 0
    assert sl.camplitude(np.arange(5.0), 1.0) == 0.0
    assert latched() == (-2, "Warning: Mismatch between x- and y-values in %S")
    assert "".join(chr(c) for c in tv.errorhandling.errasciim[:, 0] if c) == "TVR_AMPL"


def test_hysteresis_follows_loading_then_unloading_for_good(tv, latched):
    sl = tv.sldcollection
    passed = np.array(0.0)
    loading = ([0, 1, 2, 3], [0, 2, 3, 4])
    unloading = ([1, 2, 3], [0.5, 1.5, 4])
    for x, branch, after in [(0.5, loading, 0.5), (2.5, loading, 2.5), (2.5, loading, 2.5),
                             (2.0, unloading, HUGE), (2.8, unloading, HUGE), (0.2, unloading, HUGE),
                             (3.5, unloading, HUGE)]:
        want = hermite(tv, *branch, min(max(x, branch[0][0]), branch[0][-1]))
        assert sl.chysteresis(passed, XY, x) == pytest.approx(want, rel=1e-15)
        assert passed == after
    assert latched()[0] == 0
    assert sl.chysteresis(passed, XY, 1.0, skip=True) == 0.0
    assert sl.chysteresis(passed, XY[:5], 1.0) == 0.0
    assert latched() == (-2, "Warning: Mismatch between x- and y-values in %S")
    assert "".join(chr(c) for c in tv.errorhandling.errasciim[:, 0] if c) == "TVR_HYST"


CURVES = """
import numpy as np, _tavrin as tv
sl, eh = tv.sldcollection, tv.errorhandling
passed = np.array(0.0)
print(sl.chysteresis(passed, np.array([0.0, 1.0, 0.0, 5.0]), 0.5))   # loading
print(sl.chysteresis(passed, np.array([0.0, 1.0, 0.0, 5.0]), 0.25))  # unloading: one point
print(int(eh.errstat))
print(sl.camplitude(np.array([7.0, 2.0]), 1.0))                      # one point
print(sl.camplitude(np.array([0.0, 2.0, 1.0, 0.0, 1.0, 2.0]), 1.5))  # not increasing
print(int(eh.errstat), eh.errstring.tobytes().decode().rstrip())
eh.rsxerr(True)
passed = np.array(0.0)
print(sl.chysteresis(passed, np.array([0.0, 2.0, 1.0, 3.0, 0.0, 1.0, 2.0, 3.0]), 1.0))  # rising steps apart
print(int(eh.errstat), eh.errstring.tobytes().decode().rstrip())
"""


def test_curves_that_ended_the_process_now_warn(child):
    r = child(CURVES)
    assert r.returncode == 0, r.stderr
    assert r.stdout.splitlines() == [
        "2.5", "5.0", "0", "2.0", "0.0",
        "-2 Warning: Abscissas do not increase strictly in %S",
        "0.0", "-2 Warning: Abscissas do not increase strictly in %S"]
