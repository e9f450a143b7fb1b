"""Shell transverse-stress recovery: σ33 of flat and curved elements against
the laminate routines, transverse shear stresses of a plate under a uniform
shear force, and the cases that leave both tables as they are."""
import numpy as np
import pytest

QUAD8 = np.array([(-1, -1), (1, -1), (1, 1), (-1, 1), (0, -1), (1, 0), (0, 1), (-1, 0)], float)
NPLIES, NSPT = 3, 3
CARBON = np.array([140.0e3, 10.0e3, 9.5e3, 0.3, 0.28, 0.45, 5.0e3, 4.8e3, 3.4e3])


class Plate:
    """One 8-node shell element on a 2×2 square, a three-ply carbon section."""

    def __init__(self, tv, angles=(0.0, 0.0, 0.0), kind=4, curvatures=(0.0, 0.0)):
        lm = tv.laminate
        self.tv = tv
        # Section 2 is the plate's; section 1 a thicker cross-ply the routine must not read.
        self.lists = np.ones((NPLIES, 2), np.int32)
        self.angles = np.asfortranarray(np.column_stack([[90.0, 0.0, 90.0], angles]))
        self.thickness = np.asfortranarray(np.column_stack([np.full(NPLIES, 0.5), np.full(NPLIES, 0.2)]))
        self.z = lm.getsectionzcoord(self.lists, self.thickness)
        self.elastic = np.asfortranarray(np.tile(CARBON[:, None, None], (1, NPLIES, 2)))
        self.elastic[1, :, 0] = 7e3
        self.h = lm.getsectionhmatrix(self.lists, self.angles, self.thickness, self.elastic)
        self.f = lm.getsectionfmatrix(self.lists, self.angles, self.thickness, self.z, self.elastic)
        self.coords = np.asfortranarray(np.column_stack([QUAD8, np.zeros(8)]).T.reshape(3, 8, 1))
        self.motion = np.zeros((6, 8, 1), order="F")
        self.sestress = np.zeros((6, NPLIES * NSPT, 4, 1), order="F")
        self.kind = np.array([kind], np.int32)
        self.curvatures = np.array(curvatures, float).reshape(2, 1)
        self.tnormal = np.zeros((2 * NPLIES + 1, 1), order="F")
        self.tshear = np.zeros((NPLIES * NSPT, 2, 4, 1), order="F")

    def move(self, w):
        """Transverse displacement w(x, y) at the nodes."""
        self.motion[2, :, 0] = [w(x, y) for x, y in QUAD8]

    def run(self, gpid=1, secid=2, itnsflag=1, itshrflag=1, elemid=1, **kw):
        self.tnormal, self.tshear = self.tv.elementhandling.getshelltransversestresses(
            self.tnormal, self.tshear, self.coords, self.motion, self.sestress, self.h, self.f, self.angles,
            self.thickness, self.z, self.elastic, np.array([NSPT], np.int32), self.curvatures, self.kind,
            self.lists, elemid, gpid, secid, itnsflag, itshrflag, **kw)
        return self.tnormal, self.tshear

    def shear_force_derivatives(self, centre=False):
        eh = self.tv.elementhandling
        u = eh.getdisplacementvector(self.motion[:, :, -1])
        g = 0.5773502691896257
        points = [(0.0, 0.0, 1.0)] if centre else [(-g, -g, .25), (g, -g, .25), (g, g, .25), (-g, g, .25)]
        c = self.coords[:, :, -1]
        rdx = sum(w * eh.shellxderivshearforces(u, self.h[:, :, -1], c, xi, eta) for xi, eta, w in points)
        rdy = sum(w * eh.shellyderivshearforces(u, self.h[:, :, -1], c, xi, eta) for xi, eta, w in points)
        return rdx, rdy


def test_flat_normal_stress_is_the_bottom_integration_on_the_small_f_table(tv, latched):
    plate = Plate(tv, angles=(0.0, 90.0, 0.0))
    plate.move(lambda x, y: 0.01 * x * x + 0.004 * x * y - 0.006 * y * y)
    for itnsflag in (1, 2):
        s33, _ = plate.run(itnsflag=itnsflag, itshrflag=0)
        rdx, rdy = plate.shear_force_derivatives(centre=itnsflag == 2)
        expected = tv.laminate.getnormalstressfrombottom(rdx, rdy, plate.z[:, -1], plate.f[:, :, -1])
        np.testing.assert_allclose(s33[:, 0], expected, rtol=1e-12, atol=1e-12 * abs(expected).max())
        assert s33[0, 0] == 0.0 and abs(s33).max() > 0.0
        plate.tnormal[:] = 0.0
    assert latched()[0] == 0


@pytest.mark.parametrize("k", [(0.05, 0.2), (0.0, -0.15)])
def test_curved_normal_stress_adds_the_membrane_integrals(tv, k):
    k1, k2 = max(k), min(k)
    plate = Plate(tv, angles=(0.0, 90.0, 0.0), curvatures=k)
    plate.move(lambda x, y: 0.01 * x * x - 0.003 * y * y)
    s33, _ = plate.run(itshrflag=0)
    lm = tv.laminate
    fg = lm.getarbitrarysectionfg(plate.lists, plate.angles, plate.thickness, plate.z, plate.elastic, 1, 1,
                                  xycurv=[k1, k2])[:, :, [-1]]
    rdx, rdy = plate.shear_force_derivatives()
    shear_part = lm.getnormalstressfrombottom(rdx, rdy, plate.z[:, -1], fg[:, :, -1])
    # Without membrane stresses only the shear-force part.
    np.testing.assert_allclose(s33[:, 0], shear_part, rtol=1e-12, atol=1e-12 * abs(shear_part).max())
    assert s33[0, 0] == 0.0
    # A uniform σ11 in one set and σ22 in another: the curvature integrals, weighted by 1/4.
    plate.sestress[0, :, 0, 0] = 100.0
    plate.sestress[1, :, 2, 0] = -40.0
    plate.tnormal[:] = 0.0
    s33, _ = plate.run(itshrflag=0)
    z, three = plate.z[:, -1], np.full(NPLIES, 3, np.int32)
    i11 = lm.getintegralofmembranenormalstress(np.full(2 * NPLIES, 100.0), z, three, k1, k2)
    i22 = lm.getintegralofmembranenormalstress(np.full(2 * NPLIES, -40.0), z, three, k2, k1)
    np.testing.assert_allclose(s33[:, 0], shear_part + 0.25 * (i11 + i22), rtol=1e-12, atol=1e-9)
    assert s33[0, 0] == 0.0


def test_uniform_shear_force_through_a_homogeneous_plate(tv):
    plate = Plate(tv)
    plate.move(lambda x, y: 0.002 * x + 0.001 * y)  # γxz = 0.002, γyz = 0.001 everywhere
    for gpid in (1, 3):
        _, tau = plate.run(gpid=gpid, itnsflag=0)
        q = plate.h[:, :, -1] @ [0.001, 0.002]  # (23, 13) order
        for comp in (0, 1):
            t = tau[:, comp, gpid - 1, 0].reshape(NPLIES, NSPT)
            assert t[0, 0] == pytest.approx(0.0, abs=1e-9 * abs(q[comp])) and t[-1, -1] == pytest.approx(
                0.0, abs=1e-9 * abs(q[comp]))
            # Simpson's rule in every ply (the stresses are parabolic in z).
            integral = sum(0.2 / 6 * (p[0] + 4 * p[1] + p[2]) for p in t)
            assert integral == pytest.approx(q[comp], rel=1e-10)
    assert not plate.tshear[:, :, [1, 3], 0].any() and not plate.tnormal.any()


def test_cases_that_leave_both_tables_unchanged(tv, latched):
    plate = Plate(tv)
    plate.run()  # at rest
    assert not plate.tnormal.any() and not plate.tshear.any()
    plate.move(lambda x, y: 0.01 * x * x)
    for kind in (6, 7, 0, 11):
        plate.kind[0] = kind
        plate.run()
        assert not plate.tnormal.any() and not plate.tshear.any()
    # A 4-node kind is an 8-node element only with mid-side motion: here at node 5 alone.
    plate.kind[0] = 2
    corners_only = plate.motion.copy()
    corners_only[:, 4:] = 0.0
    plate.motion, mid = corners_only, plate.motion
    plate.run()
    assert not plate.tnormal.any() and not plate.tshear.any()
    plate.motion = np.zeros((6, 8, 1), order="F")
    plate.motion[2, 4, 0] = 0.01
    plate.run(itnsflag=0)
    assert plate.tshear[:, :, 0].any()
    plate.tshear[:] = 0.0
    plate.motion = mid
    plate.run(itnsflag=0, itshrflag=0)
    assert not plate.tnormal.any() and not plate.tshear.any()
    plate.run()
    assert plate.tnormal.any() and plate.tshear[:, :, 0].any()
    # A second call within the increment recomputes neither table.
    plate.tnormal[3, 0] = 1.0
    plate.tshear[0, 0, 0, 0] = 2.0
    before = (plate.tnormal.copy(), plate.tshear.copy())
    plate.run()
    np.testing.assert_array_equal(plate.tnormal, before[0])
    np.testing.assert_array_equal(plate.tshear, before[1])
    assert latched()[0] == 0
    # Rows, points and sections outside the tables, or too few section-point rows: refused.
    for kw in [dict(elemid=2), dict(elemid=0), dict(gpid=5), dict(secid=3), dict(secid=0), dict(rows=8)]:
        rows = kw.pop("rows", NPLIES * NSPT)
        plate.tnormal[:] = 0.0
        plate.tshear = np.zeros((rows, 2, 4, 1), order="F")
        plate.sestress = np.zeros((6, rows, 4, 1), order="F")
        tv.errorhandling.rsxerr(True)
        plate.run(**kw)
        assert latched()[0] == -3 and not plate.tnormal.any() and not plate.tshear.any()
