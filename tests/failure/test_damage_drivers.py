"""Failure-mode drivers through the call lines: flags 0 and unlisted flags,
the effort threshold, the criterion parameters that matrix cracking reads
from pdprops, the fracture angle handed back, the two plies of the
delamination driver and indices that select no table column."""
import numpy as np
import pytest

DEG = 0.017453292519943295
X = [2000.0, 50.0, 50.0, 1200.0, 200.0, 200.0, 80.0, 80.0, 60.0, 90.0]
EL = [140000.0, 9000.0, 9000.0, 0.3, 0.3, 0.45, 4600.0, 4600.0, 3100.0]
STRESS = np.array([300.0, -90.0, -20.0, 45.0, 12.0, 25.0])
FILL = 1.7976931348623157e308


@pytest.fixture(scope="module")
def dm(tv):
    return tv.damage


def tables(nlayer=3, nsec=1, nprops=8):
    ps = np.tile(np.array(X)[:, None, None], (1, nlayer, nsec))
    pe = np.tile(np.array(EL)[:, None, None], (1, nlayer, nsec))
    pd = np.full((nprops, nlayer, nsec), FILL)
    return ps, pe, pd, np.zeros((nlayer, nsec)), np.full((nlayer, nsec), 0.25)


def run(dm, mode, flag, stress=STRESS, layer=1, isec=1, t=None, **kw):
    ps, pe, pd, orient, thick = t or tables()
    if mode == "gp":
        return dm.generalfailure(stress, ps, orient, layer, isec, flag)
    if mode == "fb":
        return dm.fiberbreakage(stress, pe, ps, orient, layer, isec, flag)
    if mode == "mc":
        return dm.matrixcracking(stress, pe, ps, pd, orient, layer, isec, flag, **kw)[:2]
    if mode == "del":
        return dm.delamination(stress[2], stress, stress, pe, ps, orient, thick, layer, isec, flag)
    return dm.corecrushing(stress, ps, orient, layer, isec, flag)


MESSAGES = {
    "gp": "Warning: Default case in GeneralFailure subroutine.Please check your input parameters.",
    "fb": "Warning: Default case in FiberBreakage subroutine.Please check your input parameters.",
    "mc": "Warning: Default case in MatrixCracking subroutine. Please check your input parameters.",
    "del": "Warning: Default case in Delamination subroutine. Please check your input parameters.",
    "cc": "Warning: Default case in CoreCrushing subroutine. Please check your input parameters.",
}
UNLISTED = {"gp": (9, -1), "fb": (14, -3), "mc": (16, -1), "del": (8, -2), "cc": (3, -1)}


@pytest.mark.parametrize("mode", MESSAGES)
def test_flag_zero_and_unlisted_flags(tv, dm, latched, mode):
    for flag in UNLISTED[mode]:
        tv.errorhandling.rsxerr(True)
        assert run(dm, mode, flag) == (0.0, 0.0)
        assert latched() == (-2, MESSAGES[mode][:80])
    # Flag 0 evaluates nothing and leaves the latch as it stands.
    assert run(dm, mode, 0) == (0.0, 0.0)
    assert latched() == (-2, MESSAGES[mode][:80])
    if mode == "cc":
        assert run(dm, mode, 1) == run(dm, mode, 2) == (0.0, 0.0)


def test_efforts_and_flags(tv, dm, latched):
    at = np.array([X[0], 0, 0, 0, 0, 0])
    assert run(dm, "gp", 1, at) == (1.0, 1.0)  # exactly 1.0 fails
    assert run(dm, "gp", 1, at * 0.999)[0] == 0.0
    # Each flag reaches its criterion with the ply's own inputs.
    s11, s22, s33, s12, s13, s23 = STRESS
    xt11, xt22, xt33, xc11, xc22, xc33, x12, x13, x23, ilss = X
    gp, fb, mc = tv.gpcollection, tv.fbcollection, tv.mccollection
    cases = [
        ("gp", 3, gp.gplininteraction(s11, s22, s12, xt11, xc11, xt22, xc22, x12)),
        ("gp", 8, gp.gppolynomial(s11, s22, s33, s12, s13, s23, xt11, xc11, xt22, xc22, xt33, xc33, x12, x13, x23, ptype=0)),
        ("fb", 11, gp.gpyamadasuninteraction(s11, s12, s13, xt11, xc11, x12, x13)),
        ("fb", 12, fb.fblarc04(s11, s22, s33, s12, s13, s23, xt11, xc11, xt22, xc22, x12, EL[0], EL[1], EL[6], EL[3])),
        ("fb", 13, fb.fblarc05(s11, s22, s33, s12, s13, s23, xt11, xc11, xt22, xc22, x12, EL[6])),
        ("mc", 4, mc.mcrckhashin1989(s22, s33, s12, s13, s23, xt22, xc22, xt33, xc33, x12, x13, x23)),
        ("mc", 11, mc.mcrckcamanho(s22, s33, s12, s13, s23, xt22, xc22, x12, x23, a0=53.0, sainc=5.0, gsflag=1)[0]),
        ("mc", 14, mc.mcrcklarc04(s11, s22, s33, s12, s13, s23, xt11, xc11, xt22, xc22, x12, EL[0], EL[1], EL[6], EL[3], gsflag=1)[0]),
    ]
    inter = (s11, s22, s12, xt11, xc11, xt22, xc22, x12)
    trans = (s22, s33, s12, s13, s23)
    search = dict(sainc=5.0, gsflag=1)
    cases += [
        ("gp", 1, gp.gpmaxnominal(s11, xt11, xc11)), ("fb", 1, gp.gpmaxnominal(s11, xt11, xc11)),
        ("gp", 2, gp.gpquadnominal(s11, s12, s13, xt11, x12, x13)), ("fb", 2, gp.gpquadnominal(s11, s12, s13, xt11, x12, x13)),
        ("gp", 4, gp.gpquadinteraction(*inter)), ("fb", 9, gp.gpquadinteraction(*inter)),
        ("gp", 5, gp.gpnorrisinteraction(*inter)), ("fb", 10, gp.gpnorrisinteraction(*inter)),
        ("fb", 8, gp.gplininteraction(*inter)),
        ("gp", 6, gp.gpyamadasuninteraction(s11, s12, s13, xt11, xc11, x12, x13)),
        ("gp", 7, gp.gppolycamanho(s11, s22, s33, s12, s13, s23, xt11, xc11, xt22, xc22, x12, x13, x23, ptype=0)),
        ("fb", 6, gp.gppolycamanho(s11, s22, s33, s12, s13, s23, xt11, xc11, xt22, xc22, x12, x13, x23, ptype=0)),
        ("fb", 7, gp.gppolynomial(s11, s22, s33, s12, s13, s23, xt11, xc11, xt22, xc22, xt33, xc33, x12, x13, x23, ptype=0)),
        ("fb", 3, fb.fbhashin(s11, s12, s13, xt11, xc11, x12, x13)),
        ("fb", 4, fb.fbchangchang(s11, s12, xt11, xc11, x12)),
        ("fb", 5, fb.fbchristensen(s11, s22, s33, xt11, xc11)),
        ("mc", 1, mc.mcrckhashinps(s22, s12, xt22, xc22, x12, x23)),
        ("mc", 2, mc.mcrckhashin3d(s22, s12, s13, s23, xt22, xc22, x12, x23)),
        ("mc", 3, mc.mcrckhashincomplete(*trans, xt22, xc22, x12, x23)),
        ("mc", 5, mc.mcrckchai(s22, s12, s23, xt22, xc22, x12, x23)),
        ("mc", 6, mc.mcrckchangchang(s22, s12, xt22, xc22, x12)),
        ("mc", 7, mc.mcrckcuntze2004(*trans, xt22, xc22, x12, x13)),
        ("mc", 8, mc.mcrckcuntze2012(*trans, xt22, xc22, x12)),
        ("mc", 9, mc.mcrckpuck(*trans, xt22, xc22, x12, **search)[0]),
        ("mc", 10, mc.mcrckwiegand(*trans, xt22, xc22, x12, a0=53.0, **search)[0]),
        ("mc", 12, mc.mcrckspc3d(*trans, xt11, xc11, xt22, xc22, xt33, xc33, x12, x13, x23, xcs=[x12, x13, x23],
                                 gp=[0.3, -0.3], **search)[0]),
        ("mc", 13, mc.mcrckvdi2014(s11, *trans, xt11, xc11, xt22, xc22, x12, gp=[0.3, 0.3, 0.25, 0.25],
                                   wp=[0.5, 0.5], **search)[0]),
        ("mc", 15, mc.mcrcklarc05(*trans, xt22, xc22, x12, **search)[0]),
    ]
    for mode, flag, want in cases:
        f, r = run(dm, mode, flag)
        assert r == pytest.approx(want, rel=1e-14, abs=1e-300), (mode, flag)
        assert f == (1.0 if want >= 1.0 else 0.0)
    assert latched()[0] == 0


def puck(tv, gp=(0.3, 0.2, 0.15, 0.15), sainc=5.0, gsflag=1):
    s11, s22, s33, s12, s13, s23 = STRESS
    return tv.mccollection.mcrckpuck(s22, s33, s12, s13, s23, X[1], X[4], X[6], gp=list(gp), sainc=sainc, gsflag=gsflag)[0]


def test_puck_parameters_from_pdprops(tv, dm):
    t = tables()
    pd = t[2]
    pd[:4, 0, 0] = (0.4, 0.25, 0.2, 0.2)
    custom = run(dm, "mc", 9, t=t)[1]
    assert custom == puck(tv, gp=(0.4, 0.25, 0.2, 0.2)) != puck(tv)
    # The rounded marker finds no filler: eight entries, none read.
    assert run(dm, "mc", 9, t=t, defreal=1.79769313486e308)[1] == puck(tv)
    pd[:6, 0, 0] = (0.4, 0.25, 0.2, 0.2, 2.0, 0.0)  # six: only step and sampling
    assert run(dm, "mc", 9, t=t)[1] == puck(tv, sainc=2.0, gsflag=0) != puck(tv)
    pd[:6, 0, 0] = (0.4, 0.25, -1.0, 0.2, 2.0, 0.0)  # a -1.0 keeps every default
    assert run(dm, "mc", 9, t=t)[1] == puck(tv)
    pd[:, 0, 0] = FILL
    pd[:2, 0, 0] = (2.0, 0.0)
    assert run(dm, "mc", 9, t=t)[1] == puck(tv, sainc=2.0, gsflag=0)
    # Wiegand reads a0 alone from one entry.
    pd[:, 0, 0] = FILL
    pd[0, 0, 0] = 45.0
    s11, s22, s33, s12, s13, s23 = STRESS
    want = tv.mccollection.mcrckwiegand(s22, s33, s12, s13, s23, X[1], X[4], X[6], a0=45.0, sainc=5.0, gsflag=1)[0]
    assert run(dm, "mc", 10, t=t)[1] == want


def test_fracture_angle_handed_back(dm):
    ps, pe, pd, orient, thick = t = tables()
    pd[0, 0, 0] = 30.0
    failing = np.array([0, 200.0, 0, 0, 0, 0])
    f, r, theta = dm.matrixcracking(failing, pe, ps, pd, orient, 1, 1, 1, outtheta=-1.0)
    assert f == 1.0 and r >= 1.0 and theta == 30.0 * DEG
    assert dm.matrixcracking(failing, pe, ps, pd, orient, 1, 1, 1, outtheta=0.5)[2] == 0.5  # already recorded
    assert dm.matrixcracking(failing * 0.1, pe, ps, pd, orient, 1, 1, 1, outtheta=-1.0)[2] == -1.0  # no failure


def test_delamination_plies(tv, dm):
    lam, dc = tv.laminate, tv.delcollection
    ps, pe, pd, _, thick = t = tables()
    lower = STRESS
    upper = STRESS * np.array([1, 0.5, 1, 2.0, 1.5, 3.0])
    s33i = -30.0
    xt22, xc22, ilss = X[1], X[4], X[9]
    # Chai: ply 2 against ply 1, the factors of their angle difference.
    q = tv.lamina.getnyestiffnessmatrix(np.array(EL), 3)
    for stack, angle in (([0, 90, 90], 90.0), ([90, 90, 0], 0.0)):
        orient = np.array(stack, float)[:, None]
        df = lam.getchaidelamfactors(q, q, angle, 0.25, 0.25, EL[8], EL[8], EL[7], EL[7])
        want = dc.delchai(lower[1], lower[4], upper[5], xt22, xc22, X[8], ilss, *df)
        assert dm.delamination(s33i, lower, upper, pe, ps, orient, thick, 2, 1, 1) == (float(want >= 1), want)
    orient = np.zeros((3, 1))
    # Hashin: the larger of the two plies; an upper ply without xt22 is not evaluated.
    lo = dc.delhashin(s33i, lower[4], lower[5], xt22, xc22, ilss)
    up = dc.delhashin(s33i, upper[4], upper[5], xt22, xc22, ilss)
    assert up > lo and dm.delamination(s33i, lower, upper, pe, ps, orient, thick, 1, 1, 5)[1] == up
    ps[1, 1, 0] = 0.0
    assert dm.delamination(s33i, lower, upper, pe, ps, orient, thick, 1, 1, 5)[1] == lo
    # Choi-Chang with ilssu 0 takes ilssl for both plies.
    ps[9, 1, 0] = 0.0
    want = dc.delchoichang(lower[1], lower[4], upper[5], xt22, xc22, ilss, ilss)
    assert dm.delamination(s33i, lower, upper, pe, ps, orient, thick, 1, 1, 2)[1] == want
    # Puck, SPC3D, Ochoa-Engblom and Lee on both plies: the larger effort.
    ps = tables()[0]
    mc = tv.mccollection
    xt11, _, xt33, xc11, _, xc33, x12, x13, x23, _ = X
    spc = lambda s: mc.mcrckspc3d(*s[1:], xt11, xc11, xt22, xc22, xt33, xc33, x12, x13, x23, sainc=1.0,
                                  salims=[178.0, 182.0], gsflag=0)[0]
    pairs = {
        3: lambda s: dc.delpuck(s33i, s[4], s[5], xt22, xc22, ilss),
        4: spc,
        6: lambda s: dc.delochoaengblom(s33i, s[4], s[5], xt33, xc33, ilss),
        7: lambda s: dc.dellee(s33i, s[3], s[4], xt33, xc33, ilss),
    }
    for flag, f in pairs.items():
        want = max(f(lower), f(upper))
        assert dm.delamination(s33i, lower, upper, pe, ps, orient, thick, 1, 1, flag)[1] == pytest.approx(want, rel=1e-14), flag
        assert f(lower) != f(upper), flag


def test_indices_selecting_no_column(dm, latched, tv):
    for mode in MESSAGES:
        for layer, isec in ((0, 1), (4, 1), (1, 2), (1, 0)):
            tv.errorhandling.rsxerr(True)
            assert run(dm, mode, 1, layer=layer, isec=isec) == (0.0, 0.0)
            assert latched()[0] == -3
    tv.errorhandling.rsxerr(True)
    assert run(dm, "del", 5, layer=3) == (0.0, 0.0)  # no ply above the last
    assert latched()[0] == -3
    assert run(dm, "del", 5, layer=2)[1] > 0.0


def test_bad_extents(dm, error):
    ps, pe, pd, orient, thick = tables()
    with pytest.raises(error):
        dm.generalfailure(STRESS[:5], ps, orient, 1, 1, 1)
    with pytest.raises(error):
        dm.fiberbreakage(STRESS, pe[:8], ps, orient, 1, 1, 1)
    with pytest.raises(error):
        dm.generalfailure(STRESS, ps, orient[:2], 1, 1, 1)
