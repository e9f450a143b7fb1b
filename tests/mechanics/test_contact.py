"""Modules interaction and permcollection: Hertzian contact of a steel
impactor on a composite plate, the contact residual under bdsafe, the
impactor bookkeeping and the permanent-indentation laws."""
import numpy as np
import pytest

HUGE = 1.7976931348623157e308
# r1, h, E1, nu1, curvature, -, E2, nu2: steel sphere of radius 10 on a plate.
STIFFNESS_ARGS = [10.0, 0.0, 210000.0, 0.3, 0.0, 0.0, 10000.0, 0.3]


def test_hertz_contact(tv, latched):
    i = tv.interaction
    k, eeff = i.contactstiffness(STIFFNESS_ARGS, 0)
    assert eeff == pytest.approx(10489.51, abs=5e-3)
    assert k == pytest.approx(4.0 / 3.0 * eeff * np.sqrt(10.0), rel=1e-15)
    assert k == pytest.approx(44227.66, abs=5e-3)
    radius = i.contactradius([1000.0, eeff, 10.0], 0)
    assert radius == pytest.approx(0.894201, abs=5e-7)
    depth = i.contactdepth([1000.0, 10.0, eeff], 0)  # F, R, E*
    assert depth == pytest.approx(radius**2 / 10.0, rel=1e-14)
    assert depth == pytest.approx(0.0799596, abs=5e-8)
    assert i.contactstiffness(STIFFNESS_ARGS + [1.5, 100.0, 3.0, 1.0], 2) == (pytest.approx(100.0 / 2**1.5), 0.0)
    assert i.contactdepth([1000.0, 10.0, 50.0], 1) == 1.0  # flat punch F/(2·R·E*)
    assert i.contactdepth([1000.0, 10.0, 50.0, 0.5], 2) == pytest.approx(np.pi / 4, rel=1e-15)
    assert i.contactradius([1000.0, eeff, 10.0, 20.0], 5) == pytest.approx(np.sqrt(4e4 / (eeff * np.pi * 20)))
    assert i.gethugonoitelasticlimit(1.0, 0.3) == pytest.approx(4.375, rel=1e-15)
    assert latched()[0] == 0


def test_stiffness_flags(tv, latched):
    i = tv.interaction
    args = np.array(STIFFNESS_ARGS + [1.5, 100.0, 3.0, 1.0, 50.0])
    args[1] = 4.0  # plate thickness h
    rigid = 1 / (0.91 / 210000.0 + 1 / 10000.0)
    k1, e1 = i.contactstiffness(args, 1)
    assert e1 == pytest.approx(rigid, rel=1e-15) and k1 == pytest.approx(4 / 3 * rigid * np.sqrt(10.0), rel=1e-15)
    k3, e3 = i.contactstiffness(args, 3)
    assert e3 == e1 and k3 == pytest.approx(100.0 ** 1.0 * 3.0 ** -0.5 / (1.0 * 1.0), rel=1e-15)
    k6, e6 = i.contactstiffness(args, 6)
    eeff = i.contactstiffness(args, 0)[1]
    assert e6 == eeff
    assert k6 == pytest.approx(np.pi * 4.0 * eeff / (np.log(4.0 / np.sqrt(4 * 10.0 * 50.0 / (np.pi * eeff))) + 1.886),
                               rel=1e-14)
    assert latched()[0] == 0


@pytest.mark.parametrize("routine, args, flag", [
    ("contactradius", [1.0, 2.0, 3.0], 7), ("contactradius", [1.0, 2.0, 3.0], -1),
    ("contactdepth", [1.0, 2.0, 3.0], 3),
])
def test_unknown_flags_give_the_not_given_marker(tv, latched, routine, args, flag):
    assert getattr(tv.interaction, routine)(args, flag) == HUGE
    assert latched()[0] == 0


@pytest.mark.parametrize("call, status", [
    (lambda i: i.contactstiffness(STIFFNESS_ARGS, 2), -2),       # needs 12 values
    (lambda i: i.contactradius([1.0, 2.0, 3.0], 5), -2),         # the cylinder needs its length
    (lambda i: i.contactdepth([1.0, 2.0, 3.0], 2), -2),
    (lambda i: i.contactstiffness(STIFFNESS_ARGS, 4), -3),
    (lambda i: i.contactstiffness(STIFFNESS_ARGS, 9), -3),
])
def test_short_argument_vectors_and_bad_flags_are_reported(tv, latched, call, status):
    call(tv.interaction)
    assert latched()[0] == status


def law_args(k, approach=0.05, n=1.5, table=()):
    return np.r_[k, approach, 0.0, 0.0, 0.0, n, 0.0, table]


def test_contact_law_under_bdsafe(tv, latched):
    i, m = tv.interaction, tv.math
    k = i.contactstiffness(STIFFNESS_ARGS, 0)[0]
    args = law_args(k)
    for dfunc in (i.contactlaw._cpointer, i.contactlaw):
        root, istat = m.bdsafe(dfunc, 0.0, 1000.0, args, 1e-10, 100, 0)
        assert root == pytest.approx(494.480, abs=5e-4) and istat == 0
    assert root == pytest.approx(k * 0.05**1.5, rel=1e-12)
    assert latched()[0] == 0


def test_contact_law_edge_cases(tv, latched):
    i = tv.interaction
    # Separated bodies (δ < 0): no force.
    assert i.contactlaw(3.0, law_args(100.0, approach=-0.1), 0) == (-3.0, -1.0)
    # A table of one point is not a table: k = args(1).
    assert i.contactlaw(0.0, law_args(100.0, n=1.0, table=[1.0, 500.0]), 1) == (5.0, -1.0)
    # A table stiffness where it is positive, args(1) where not.
    table = [0.0, 10.0, 200.0, 200.0]
    assert i.contactlaw(5.0, law_args(100.0, n=1.0, table=table), 1)[0] == pytest.approx(200 * 0.05 - 5)
    assert i.contactlaw(5.0, law_args(100.0, n=1.0, table=[0.0, 10.0, -1.0, -1.0]), 1)[0] == pytest.approx(0.0)
    assert latched()[0] == 0
    assert i.contactlaw(1.0, [1.0] * 6, 0) == (-1.0, -1.0) and latched()[0] == -2
    tv.errorhandling.rsxerr(True)
    assert i.contactlaw(1.0, law_args(100.0), 3) == (0.0, 0.0)  # kept as they arrived (zero-filled)
    assert latched() == (-3, "Unknown contact law flag")


def test_contact_area_bookkeeping(tv):
    i = tv.interaction
    dprops = np.zeros((12, 2), order="F")
    dprops[1:4, 0] = [0.0, 0.0, 1.0]
    dprops[1:4, 1] = [5.0, 0.0, 1.0]
    first = i.contactarea(dprops, [0.0, 3.0, 1.0], 7, elemlength=[2.0, 0.0, 0.0])
    assert list(first[5]) == [3.0, np.hypot(5.0, 3.0)] and not first[[4, 7, 8, 9, 10]].any()
    nearer = i.contactarea(first, [0.0, 1.0, 1.0], 8, elemlength=[2.0, 0.0, 0.0])
    assert list(nearer[:, 0][[4, 5, 7, 8, 9, 10]]) == [8.0, 1.0, 1.0, 1.0, 1.0, 1.0]
    farther = i.contactarea(nearer, [0.0, 2.0, 1.0], 9, elemlength=[2.0, 4.0, 0.0])
    np.testing.assert_array_equal(farther[:, 0], nearer[:, 0])
    bare = i.contactarea(first, [0.0, 1.0, 1.0], 8)  # no lengths: entries 8-11 untouched
    assert bare[4, 0] == 8.0 and not bare[7:11].any()


def test_permanent_indentation(tv):
    p = tv.permcollection
    assert p.pisuresh(3.0, 1.0, 0.2, True, True) == (pytest.approx(0.666), 2.0)
    assert p.pisuresh(3.0, 1.0, 0.2, True, False) == (0.0, 0.0)
    assert p.pisuresh(3.0, 1.0, 0.2, False, True) == (pytest.approx(1.6), -1.0)
    assert p.pisuresh(0.5, 1.0, 0.2, False, True) == (0.0, -1.0)
    assert p.pitansunnonlinear(2.0, 1.0) == pytest.approx(2.0 * (1 - 0.5**0.4))
    assert p.pitansunnonlinear(1.0, 1.0) == 0.0 == p.pitansunlinear(1.0, 2.0, 3.0)
    assert p.pitansunlinear(3.0, 1.0, 0.5) == 1.0
    assert p.piairbus(2.0, 100.0) == pytest.approx(0.09 * 2.0**-0.81)
