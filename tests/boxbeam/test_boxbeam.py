"""The box-beam section described from Python through the data modules."""
import os
import subprocess
import sys

import numpy as np
import pytest


@pytest.fixture(autouse=True)
def clean_latch(tv):
    tv.errorhandling.rsxerr(True)
    yield
    tv.errorhandling.rsxerr(True)


def latched(tv):
    eh = tv.errorhandling
    return int(eh.errstat), eh.errstring.tobytes().decode().rstrip()


def describe_box(tv, booms=0.0):
    # 4 x 2 box: booms at the corners, walls 1->2->3->4->1, one cell.
    tv.boxbeam.box_initialize()
    g, w, z, s = tv.gurt, tv.wand, tv.zelle, tv.spanug
    y, zz = np.array([0.0, 4, 4, 0]), np.array([0.0, 0, 2, 2])
    g.ig, w.kw, z.az = 4, 4, 1
    g.yi[:4], g.zi[:4] = y, zz
    g.bi[:4], g.myi[:4] = booms, booms * 2e-5
    w.ig1[:4], w.ig2[:4] = [1, 2, 3, 4], [2, 3, 4, 1]
    w.yk0[:4], w.zk0[:4] = y, zz
    w.yklk[:4], w.zklk[:4] = np.roll(y, -1), np.roll(zz, -1)
    w.bk[:4], w.gk[:4], w.rhok[:4] = 1000.0, 400.0, 0.002
    z.iak[0] = 4
    z.ia[:4, 0] = [1, 2, 3, 4]
    s.qqx, s.qqy, s.qqz, s.qmx, s.qmy, s.qmz = 1000, 100, 200, 300, 4000, 5000


def test_box_from_python(tv):
    describe_box(tv)
    assert tv.boxbeam.box_getxsection() is None
    assert latched(tv)[0] == 0
    q = tv.quer
    assert float(q.bx) == pytest.approx(12000)
    assert float(q.m) == pytest.approx(0.024)
    assert (float(q.ys), float(q.zs)) == pytest.approx((2, 1))
    assert float(q.dyy) == pytest.approx(28000 / 3)
    assert float(q.dzz) == pytest.approx(80000 / 3)
    assert float(q.itt) == pytest.approx(0.072)
    np.testing.assert_allclose(tv.kraft.nx0[:4], [286.904762, -763.095238, -120.238095, 929.761905],
                               atol=5e-7)

    describe_box(tv, booms=500.0)
    tv.boxbeam.box_getxsection()
    np.testing.assert_allclose(tv.epigam.epigu[:4] * 500,
                               [105.284421, -298.561732, -33.855850, 369.990304], atol=5e-7)


def test_arrays_are_live_views_and_assignment_keeps_the_extents(tv, error):
    tv.boxbeam.box_initialize(nw=5, ng=4, nz=2)
    r = tv.restr
    assert (int(r.maxwa), int(r.maxgu), int(r.maxze)) == (5, 4, 2)
    bk = tv.wand.bk
    assert bk.shape == (5,) and bk.flags.f_contiguous
    assert tv.zelle.ia.shape == (4, 2)
    assert tv.kraft.t0.shape == (10,)
    assert tv.epigam.epi.shape == (5, 3)
    bk[1] = 3.5
    assert tv.wand.bk[1] == 3.5                      # a view, not a copy
    tv.wand.bk = np.arange(5.0)                      # whole-array copy-in
    assert bk[4] == 4.0
    tv.zelle.ia = np.ones((4, 2), dtype=np.int32, order="F")
    with pytest.raises(error, match="does not match"):
        tv.wand.bk = np.zeros(6)
    with pytest.raises(error):
        tv.zelle.ia = np.zeros((2, 4))
    with pytest.raises(error):
        tv.wand.bk = None
    assert bk[4] == 4.0                              # nothing changed by a refusal
    # Same capacities: the storage (and the view) stays and is zeroed.
    tv.boxbeam.box_initialize(5, 4, 2)
    assert bk[4] == 0.0
    bk[4] = 1.0
    assert tv.wand.bk[4] == 1.0


def test_scalars_texts_switches_and_constants(tv):
    tv.boxbeam.box_initialize()
    tv.steuer.druck = True
    assert bool(tv.steuer.druck) is True
    tv.steuer.druck = 0
    assert not bool(tv.steuer.druck)
    tv.steuer.klog = 6
    assert int(tv.steuer.klog) == 6
    tv.path.csinfopath = "box.rep"
    text = tv.path.csinfopath.tobytes().decode()
    assert len(text) == 240 and text.rstrip() == "box.rep"
    assert len(tv.spanug.kennz.tobytes()) == 80
    for name in ("maxgu", "maxwa", "maxze"):
        with pytest.raises(AttributeError):
            setattr(tv.restr, name, 3)
    with pytest.raises(AttributeError):
        tv.boxtypes.dp = 4
    assert (int(tv.boxtypes.dp), int(tv.boxtypes.i4), int(tv.boxtypes.qp)) == (8, 4, 16)


def test_faulty_section_reports_in_the_latch(tv):
    describe_box(tv)
    tv.wand.ig1[1] = 0
    tv.boxbeam.box_getxsection()
    status, message = latched(tv)
    assert status == -2 and "ig" in message
    assert float(tv.quer.bx) == 0.0
    tv.boxbeam.box_initialize(0, 4, -1)
    assert latched(tv)[0] == -2


def test_arrays_absent_before_the_first_initialisation():
    code = ("import _tavrin as t; assert t.wand.bk is None and t.kraft.nx0 is None; "
            "assert int(t.restr.maxwa) == 0 and int(t.steuer.klog) == 0 and int(t.gurt.ig) == 0; "
            "assert not t.steuer.druck; t.boxbeam.box_getxsection(); "
            "assert int(t.errorhandling.errstat) == -2")
    subprocess.run([sys.executable, "-c", code], check=True, env=os.environ.copy())


def test_shear_centre_and_torsion_from_python(tv):
    describe_box(tv)
    tv.boxbeam.box_getxsection()
    q = tv.quer
    assert (float(q.ymstac), float(q.zmstac)) == pytest.approx((2, 1), abs=1e-12)
    assert float(q.dt) == pytest.approx(25600 / 3, rel=1e-13)
    np.testing.assert_allclose(tv.kraft.t0[:5], [-35.357143, 50.357143, 35.357143, -50.357143, 0],
                               atol=5e-7)


def test_cell_side_without_wall_ends_the_process_with_status_1(tmp_path):
    # A cell naming booms 2 and 4 as neighbours, which no wall joins.
    report = tmp_path / "box.rep"
    code = ("import numpy as np, _tavrin as t\n"
            "t.boxbeam.box_initialize()\n"
            "g, w, z = t.gurt, t.wand, t.zelle\n"
            "y, zz = np.array([0.0, 4, 4, 0]), np.array([0.0, 0, 2, 2])\n"
            "g.ig, w.kw, z.az = 4, 4, 1\n"
            "g.yi[:4], g.zi[:4] = y, zz\n"
            "w.ig1[:4], w.ig2[:4] = [1, 2, 3, 4], [2, 3, 4, 1]\n"
            "w.yk0[:4], w.zk0[:4], w.yklk[:4], w.zklk[:4] = y, zz, np.roll(y, -1), np.roll(zz, -1)\n"
            "w.bk[:4], w.gk[:4], w.rhok[:4] = 1000.0, 400.0, 0.002\n"
            "z.iak[0] = 3\n"
            "z.ia[:3, 0] = [1, 2, 4]\n"
            f"t.path.csinfopath = {str(report)!r}\n"
            "t.steuer.druck = True\n"
            "print('before', flush=True)\n"
            "t.boxbeam.box_getxsection()\n"
            "print('after')\n")
    done = subprocess.run([sys.executable, "-c", code], env=os.environ.copy(), capture_output=True, text=True)
    assert done.returncode == 1
    assert "before" in done.stdout and "after" not in done.stdout
    text = report.read_text()
    # The input echo heads the wall table before its rows.
    assert "\n WANDPARAMETER\n =============\n\n NR     IG1     IG2     TYPE" in text
    assert "   F E H L E R M E L D U N G:" in text
    assert "IN ZELLE   1  WURDE DIE WAND ZWISCHEN DEN GURTEN   2  UND   4  NICHT DEFINIERT !!" in text


SHEAR_RESULTS = ("ymst", "zmst", "ymstac", "zmstac", "iyys", "izys", "izzs", "dt")


def test_runs_that_cannot_finish_latch_and_leave_nan(tv):
    q, k = tv.quer, tv.kraft
    spoilers = {"one wall without shear stiffness": lambda: tv.wand.gk.__setitem__(1, 0.0),
                "every gk NaN": lambda: tv.wand.gk.fill(np.nan)}
    for what, spoil in spoilers.items():
        describe_box(tv)
        tv.boxbeam.box_getxsection()           # a sound run first: none of its values may survive
        spoil()
        tv.boxbeam.box_getxsection()
        assert latched(tv) == (-3, "Box_GetXSection: equation system with coefficients that are not finite"), what
        assert list(tv.errorhandling.errintv) == [0, 1]   # no pivot step; the first unit-shear system
        assert float(q.bx) == pytest.approx(12000) and float(q.dyy) == pytest.approx(28000 / 3)
        assert all(np.isnan(float(getattr(q, name))) for name in SHEAR_RESULTS), what
        assert np.isnan(k.t0[:5]).all() and np.isnan(k.tl[:4]).all() and np.isnan(tv.epigam.gam[:4]).all()
        assert k.t0[5] == 0.0
        tv.errorhandling.rsxerr(True)

    # A cell running out and back encloses no area: the load system fails at
    # its fifth pivot; the shear centre before it stands, the rest is NaN.
    describe_box(tv)
    tv.zelle.iak[0] = 6
    tv.zelle.ia[:6, 0] = [1, 2, 3, 4, 3, 2]
    tv.boxbeam.box_getxsection()
    assert latched(tv) == (-3, "Box_GetXSection: ABBRUCH DER REDUKTION IN SCHRITT  5. PIVOTELEMENT IST ZU KLEIN")
    assert list(tv.errorhandling.errintv) == [5, 3]
    assert (float(q.ymstac), float(q.zmstac)) == pytest.approx((46 / 35, 1.24))
    assert np.isnan([float(q.dt), float(q.iyys)]).all() and np.isnan(k.t0[:5]).all()
    tv.errorhandling.rsxerr(True)

    # Massless walls: the centre of mass is no number; the stiffnesses stand.
    describe_box(tv)
    tv.wand.rhok[:4] = 0.0
    tv.boxbeam.box_getxsection()
    assert latched(tv) == (-3, "Box_GetXSection: section quantities that are not finite")
    assert np.isnan(float(q.yt)) and float(q.dt) == pytest.approx(25600 / 3, rel=1e-13)


def test_open_profile_needs_no_cell_capacity(tv):
    tv.boxbeam.box_initialize(3, 4, 0)
    assert latched(tv)[0] == 0 and tv.zelle.ia.shape == (4, 0)
    g, w, s = tv.gurt, tv.wand, tv.spanug
    y, z = np.array([2.0, 0, 0, 2]), np.array([-2.0, -2, 2, 2])   # a channel, web along z
    g.ig, w.kw = 4, 3
    g.yi[:], g.zi[:] = y, z
    w.ig1[:], w.ig2[:] = [1, 2, 3], [2, 3, 4]
    w.yk0[:], w.zk0[:], w.yklk[:], w.zklk[:] = y[:3], z[:3], y[1:], z[1:]
    w.bk[:], w.gk[:], w.rhok[:] = 1000.0, 400.0, 0.002
    s.qqz = 100.0
    tv.boxbeam.box_getxsection()
    assert latched(tv)[0] == 0
    assert float(tv.quer.ymstac) == pytest.approx(-0.75, abs=1e-12) and float(tv.quer.dt) == 0.0
    np.testing.assert_allclose(tv.kraft.t0[:3], [0, 18.75, 18.75], atol=1e-11)


def test_report_files_that_cannot_be_written_are_latched(tv, forked):
    # A file-size limit (in a child) fails the writes as a full disk does: a
    # file cut short is latched, naming it, not taken for written.
    import resource
    import shutil
    import tempfile

    folder = tempfile.mkdtemp(prefix="bx")  # short: the message names the whole path
    report, extended = f"{folder}/r.rep", f"{folder}/r.ext"
    describe_box(tv)
    tv.path.csinfopath, tv.path.vbinfopath = report, extended
    try:
        # The report (11.4 kB) beyond 1 kB; then the extended print file
        # (2.6 kB), appended to 11 kB already there, beyond 12 kB.
        for exdru, limit, cut in ((False, 1024, report), (True, 12000, extended)):
            with open(extended, "w") as f:
                f.write("x" * 11000)
            tv.steuer.druck, tv.steuer.exdru = True, exdru

            def run():
                tv.errorhandling.rsxerr(True)
                resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))
                tv.boxbeam.box_getxsection()
                return latched(tv)
            assert forked(run) == (-2, f"Box_GetXSection: cannot write report file {cut}")
            assert os.path.getsize(cut) == limit
            os.remove(report)
    finally:
        tv.steuer.druck = tv.steuer.exdru = False
        tv.path.csinfopath = tv.path.vbinfopath = ""
        shutil.rmtree(folder)
