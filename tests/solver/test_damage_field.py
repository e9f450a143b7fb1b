"""The damage field routines from Python: the default table is no table, the
explicit block's element lengths need three columns, the Standard entry is
gen_damage without a table."""
import numpy as np
import pytest

EYE = np.eye(3, order="F")


@pytest.fixture
def ply(tv):
    md, sd, jd = tv.materialdata, tv.sectiondata, tv.jobdata
    sd.nplies, sd.nsec = 1, 1
    md.peprops = np.array([70000, 70000, 70000, 0.3, 0.3, 0.3] + [70000 / 2.6] * 3).reshape(9, 1, 1)
    md.psprops = np.array([800.0] * 6 + [100.0] * 4).reshape(10, 1, 1)
    md.pfflags = np.array([1, 1, 0, 0, 0], np.int32).reshape(5, 1, 1)
    md.peflags = np.ones((5, 1, 1), np.int32)
    jd.nsteps, jd.stepid = 2, np.array([0, 1], np.int32)
    yield
    md.peprops = md.psprops = md.pfflags = md.peflags = jd.stepid = None
    jd.nsteps = 0


def test_entries_agree(tv, ply):
    statev = np.zeros(40)
    statev[0] = 900.0
    args = (EYE, EYE, 2.0, [0.0, 0.0], 0.1, "PLY")
    field, st = tv.toplevel.gen_damage(np.zeros(7), statev, *args, 7, 1, 1, 1, 2, 1, [0.0] * 3)
    assert (st[6:8] == 1.0).all() and st[12] == pytest.approx(900 / 800, rel=1e-15)
    np.testing.assert_array_equal(field, [1, 1, 0, 0, 0, 0, 0])
    same = tv.toplevel.gen_damage(np.zeros(7), statev, *args, 7, 1, 1, 1, 2, 1, [0.0] * 3, table=[-1.0] * 16)
    np.testing.assert_array_equal(same[1], st)
    f2, st2, pnewdt = tv.toplevel.usdfld_dmg(np.zeros(7), statev, 0.5, *args, "ORI", 7, 1, 1, 1, 2, 1, 3, 3,
                                             [0.0] * 3, [0], [0], 0, 0)
    np.testing.assert_array_equal(st2, st)
    assert pnewdt == 0.5
    assert (tv.toplevel.gen_sdvini(np.zeros(2), [0.0] * 3, 1, 1, 1, 1) == [0.0, np.finfo(float).max]).all()
    # Negative zeros are zeros: the slots are set to +0.
    assert np.signbit(tv.toplevel.gen_sdvini(np.full(3, -0.0), [0.0] * 3, 1, 1, 1, 1)[:2]).tolist() == [False] * 2


def test_explicit_block(tv, ply, error):
    stress = np.array([[900.0, 0, 0, 0, 0, 0]])
    args = [3, 3, [7], 1, 1, 1, 2, [20.0], 0.05, 1.0, 0.1, "PLY", np.zeros((1, 3)), np.eye(3)[None],
            np.eye(3)[None], np.full((1, 3), 2.0), [0.0], np.zeros((1, 40)), stress, np.zeros((1, 6)),
            np.zeros((1, 7))]
    statenew, field = tv.toplevel.vusdfld_dmg(*args)
    assert statenew[0, 0] == 900.0 and statenew[0, 34] == 2.0 and statenew[0, 7] == 1.0
    np.testing.assert_array_equal(field, [[1, 1, 0, 0, 0, 0, 0]])
    args[15] = np.full((1, 2), 2.0)
    with pytest.raises(error, match=r"shape\(charlength,1\)>=3"):
        tv.toplevel.vusdfld_dmg(*args)
