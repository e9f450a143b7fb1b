"""Damage definitions through the call lines: the point-in-damage test
(ellipse, polygon footprints, the damage angle), seeding a point's mode flags
from the shared damage tables (flags never fall, the buckled-delamination
factor, the buckling lists built on first use) and growing the footprints."""
import numpy as np
import pytest

FILL = 1.7976931348623157e308
E, NU = 70000.0, 0.3
ISO = [E, E, E, NU, NU, NU, E / 2.6, E / 2.6, E / 2.6]
I3 = np.eye(3, order="F")
ORIGIN = np.zeros(3)


def rot(deg, x, y):
    c, s = np.cos(np.radians(deg)), np.sin(np.radians(deg))
    return np.array([c * x - s * y, s * x + c * y, 0.0])


@pytest.fixture
def dm(tv):
    return tv.damage


@pytest.fixture
def state(tv):
    """Empty shared tables before and after the test."""
    def clear():
        tv.datahandling.deallocall()
        tv.sectiondata.nplies = tv.sectiondata.nsec = tv.damagedata.ndmg = 0
    clear()
    yield tv
    clear()


def section(tv, orient, thick=None, nsec=1, ndmg=1):
    n = len(orient)
    sd, md = tv.sectiondata, tv.materialdata
    sd.nplies, sd.nsec = n, nsec
    sd.plyorientation = np.tile(np.array(orient, float)[:, None], (1, nsec))
    sd.plythickness = np.tile(np.array(thick or [1.0] * n, float)[:, None], (1, nsec))
    sd.xcstrength = [500.0] * nsec
    md.peprops = np.tile(np.array(ISO)[:, None, None], (1, n, nsec))
    md.matidlist = np.ones((n, nsec), np.int32)
    tv.datahandling.allocatedamagedata(n, nsec, ndmg)
    plane = np.full((10, tv.damagedata.ndmg), FILL)
    plane[:4] = 0.0
    tv.damagedata.dmgplane = plane
    return tv.damagedata


def test_ellipse_and_skip(dm):
    test = lambda p, angle=0.0, ply=0.0, skip=False: dm.pointindamage(p, I3, ORIGIN, angle, ply, 2.0, 1.0, 1, 1, 1, skip)
    assert test([2.0, 0.0, 0.0]) and test([0.0, -1.0, 0.0])  # on the boundary
    assert test([1.0, 0.5, 7.0]) and not test([2.01, 0.0, 0.0])  # z is the plane's normal
    assert not test([1.0, 0.5, 0.0], skip=True)
    assert test(rot(50, 1.99, 0), angle=20, ply=30) and not test(rot(50, 1.99, 0), angle=20)


def test_polygon_footprints(dm, state):
    dd = state.damagedata
    pts = np.full((12, 1, 6, 1), FILL)
    pts[:5, 0, 0, 0] = (10, 10, 0, 20, 20)  # five values: the ellipse decides
    dd.dmgpoints = pts
    test = lambda p, angle=0.0, ply=0.0, mode=1: dm.pointindamage(p, I3, ORIGIN, angle, ply, 2.0, 1.0, mode, 1, 1, False)
    assert test([1.0, 0.0, 0.0]) and not test([15.0, 15.0, 0.0])
    pts[5, 0, 0, 0] = 0.0  # six: a two-point polygon, the ellipse no longer counts
    dd.dmgpoints = pts
    assert not test([1.0, 0.0, 0.0])
    assert test([1.0, 0.0, 0.0], mode=2)  # another mode's column is empty
    # A square of half side 1 at damage angle 30°; the ply angle is not added.
    pts[:, 0, 0, 0] = FILL
    pts[:12, 0, 0, 0] = (-1, -1, 0, 1, -1, 0, 1, 1, 0, -1, 1, 0)
    dd.dmgpoints = pts
    inside, outside = rot(30, 0.9, 0.9), rot(30, 1.1, 0.0)
    assert test(inside, angle=30) and test(inside, angle=30, ply=45) and not test(outside, angle=30)
    assert not test(inside)  # unturned, the same point lies outside


def test_flags_from_definitions(dm, state):
    sdv = np.zeros(12)
    sdv[11] = 0.7
    dm.getdamagefromdds(sdv, [1.0, 0.0, 0.0], I3, 1, 1)  # no damages: nothing changes
    assert sdv.tolist() == [0.0] * 11 + [0.7]
    dd = section(state, [0.0, 15.0, 0.0])
    dd.generaldds[:2, 1, 0] = (5.0, 3.0)
    dd.dmgplane[3, 0] = 30.0  # four entries given: the angle is the fourth
    # The ply angle turns the frame and adds to the ellipse's angle: 60° in all.
    for direction, hit in ((60, 1.0), (45, 0.0)):
        sdv = np.zeros(12)
        sdv[11] = 1.5
        dm.getdamagefromdds(sdv, rot(direction, 4.9, 0), I3, 2, 1)
        assert sdv[0] == hit and sdv[11] == 1.0  # delamination data exist: at most 1
    sdv = np.array([0, 1.0, 1.0, 0, 0, 0, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8])
    before = sdv.copy()
    dm.getdamagefromdds(sdv, [100.0, 0, 0], I3, 2, 1)  # outside everything
    assert sdv.tolist() == before.tolist()  # flags and efforts kept
    # Three entries given: an origin without angle.
    dd.dmgplane[:, 0] = FILL
    dd.dmgplane[:3, 0] = (0.0, 0.0, 5.0)
    dd.generaldds[:2, 0, 0] = (5.0, 1.0)
    sdv = np.zeros(12)
    dm.getdamagefromdds(sdv, [4.9, 0.0, 0.0], I3, 1, 1)
    assert sdv[0] == 1.0


def test_buckled_delamination(dm, state, tv):
    dd = section(state, [0.0, 0.0, 0.0], thick=[0.2, 1.0, 1.0], ndmg=2)
    dd.delamdds[:2, 0, 0] = (10.0, 10.0)
    dd.delamdds[2, :, 1] = 7.0  # damage 2 has no section of its index
    sdv = np.zeros(12)
    sdv[11] = 0.1
    dm.getdamagefromdds(sdv, [1.0, 1.0, 0.0], I3, 1, 1)
    real, ints = tv.bukdata.bukrealdatalist, tv.bukdata.bukintdatalist
    assert ints[:, :, 0, 0].T.tolist() == [[1, 1, 1, 0], [1, 2, 3, 0]]
    assert dd.delamdds[2, :, 0].tolist() == [0.0, 0.0] and dd.delamdds[2, :, 1].tolist() == [7.0, 7.0]
    # The thin bottom ply buckled: delaminated, buckled, and its ratio
    # replaces the incoming factor even where that was lower.
    assert sdv[3] == sdv[5] == 1.0 and sdv[11] == real[1, 0, 0, 0] > 0.1
    want = tv.sublaminate.getsublambucklingstrain([10, 10, 0], [-1, 0, 0], np.array([ISO]).T, [0.0], [0.2], 1)[1] / 500
    assert sdv[11] == pytest.approx(want, rel=1e-12)
    # Ply 3 lies in the remaining stack's record (ratio above 1), not on the interface.
    sdv = np.zeros(12)
    dm.getdamagefromdds(sdv, [1.0, 1.0, 0.0], I3, 3, 1)
    assert sdv[3] == 0.0 and sdv[5] == 1.0 and real[1, 1, 0, 0] > 1.0 and sdv[11] == 1.0
    # Outside the delamination: no flag, factor 1 (never above).
    sdv = np.zeros(12)
    sdv[11] = 2.0
    dm.getdamagefromdds(sdv, [50.0, 0.0, 0.0], I3, 1, 1)
    assert sdv[3] == sdv[5] == 0.0 and sdv[11] == 1.0


def test_unused_buckling_columns(dm, state, tv):
    big = 2147483647
    dd = section(state, [0.0, 0.0, 0.0], thick=[0.2, 1.0, 1.0])
    tv.materialdata.matidlist = np.array([[1, 1, big]], np.int32).T  # two plies defined
    dd.delamdds[:2, :, 0] = 10.0
    sdv = np.zeros(12)
    dm.getdamagefromdds(sdv, [1.0, 1.0, 0.0], I3, 2, 1)
    ints = tv.bukdata.bukintdatalist
    assert ints[:, 1, 0, 0].tolist() == [-1] * 4  # the unused column is skipped, not read
    assert sdv[3] == 1.0 and sdv[5] == 0.0  # on interface 2; ply 1 alone buckled
    dm.getdamagefromdds(sdv, [1.0, 1.0, 0.0], I3, 1, 1)
    assert sdv[5] == 1.0


def test_sdv_must_be_exact(dm, state, error):
    for bad in (np.zeros(11), np.zeros(12, np.float32), [0.0] * 12, np.zeros(13)):
        with pytest.raises((error, TypeError, ValueError)):
            dm.getdamagefromdds(bad, [0.0, 0.0, 0.0], I3, 1, 1)


def test_growing_footprints(dm, state, tv):
    sd = tv.sectiondata
    sd.nplies, sd.nsec = 2, 1
    sd.plyorientation = np.zeros((2, 1))
    assert tv.damagedata.generaldds is None
    flags = [1.0, 0.0, 0.0, 1.0, 0.0]
    assert dm.updatedds(flags, [3.0, 1.0, 0.0], ORIGIN, I3, 1, 1, 1) == 0
    dd = tv.damagedata
    assert dd.generaldds[:2, 0, 0].tolist() == [3.0, 1.0] and dd.delamdds[:2, 0, 0].tolist() == [3.0, 1.0]
    assert not dd.fiberdds.any()
    dm.updatedds(flags, [1.0, -2.0, 0.0], ORIGIN, I3, 1, 1, 1)  # only grows
    assert dd.generaldds[:2, 0, 0].tolist() == [3.0, 2.0]
    dm.updatedds([0.99] * 5, [9.0, 9.0, 0.0], ORIGIN, I3, 1, 1, 1)
    assert dd.generaldds[:2, 0, 0].tolist() == [3.0, 2.0]
    dm.updatedds(flags, [4.0, 0.0, 0.0], ORIGIN, I3, 2, 1, 1)  # the top ply has no interface
    assert dd.generaldds[:2, 1, 0].tolist() == [4.0, 0.0] and dd.delamdds[:2, 0, 0].tolist() == [3.0, 2.0]
    assert dm.updatedds(flags, [4.0, 0.0, 0.0], ORIGIN, I3, 1, 1, 2) == 1  # no damage 2


def rodrigues(n, deg):
    n = np.asarray(n, float)
    c, s = np.cos(np.radians(deg)), np.sin(np.radians(deg))
    k = np.array([[0, -n[2], n[1]], [n[2], 0, -n[0]], [-n[1], n[0], 0]])
    return c * np.eye(3) + s * k + (1 - c) * np.outer(n, n)


def test_growing_in_the_ply_frame(dm, state, tv):
    # A left-handed reference frame turned by the ply angle: the normal of
    # the ply frame is the cross product of its in-plane axes.
    sd = tv.sectiondata
    sd.nplies, sd.nsec = 1, 1
    sd.plyorientation = np.full((1, 1), 30.0)
    refcos = np.asfortranarray(np.diag([1.0, 1.0, -1.0]))
    r = rodrigues(refcos[:, 2], 30.0)
    f1, f2 = r @ refcos[:, 0], r @ refcos[:, 1]
    frame = np.asfortranarray(np.column_stack([f1, f2, np.cross(f1, f2)]))
    point, ref = [3.0, 1.0, 0.5], [0.5, -0.5, 0.0]
    want = dm.getextentofprojecteddamage([0.0, 0.0], point, ref, frame, 30.0, 1.0)
    dm.updatedds([1.0, 0, 0, 0, 0], point, ref, refcos, 1, 1, 1)
    np.testing.assert_allclose(tv.damagedata.generaldds[:2, 0, 0], want, rtol=1e-14)
    assert abs(want[0] - want[1]) > 0.1


def test_buckling_data_need_whole_tables(dm, state, tv):
    dd = section(state, [0.0, 0.0, 0.0], thick=[0.2, 1.0, 1.0])
    dd.delamdds = np.full((3, 1, 1), 10.0)  # one interface of two
    sdv = np.zeros(12)
    dm.getdamagefromdds(sdv, [1.0, 1.0, 0.0], I3, 1, 1)
    assert not tv.bukdata.bukrealdatalist.any() and sdv[5] == 0.0 and sdv[3] == 1.0


def test_extent_of_projected_damage(dm):
    h = dm.getextentofprojecteddamage([0.5, 0.5], [3.0, 1.0, 8.0], ORIGIN, I3, 90.0, 1.0)
    np.testing.assert_allclose(h, [1.0, 3.0], rtol=1e-15)
    assert dm.getextentofprojecteddamage([0.5, 0.5], [3.0, 1.0, 8.0], ORIGIN, I3, 0.0, 0.999).tolist() == [0.5, 0.5]
    assert dm.getextentofprojecteddamage([5.0, 0.5], [3.0, 1.0, 0.0], [1.0, 0.0, 0.0], I3, 0.0, 1.0).tolist() == [5.0, 1.0]
