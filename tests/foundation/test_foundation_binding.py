"""The foundation routines from Python: allocation, the latch, the check-in
list, and the latch's print-and-stop path (in a child process)."""
import numpy as np
import pytest


@pytest.fixture
def clean(tv):
    tv.datahandling.deallocall()
    tv.damagedata.ndmg = 0
    tv.damagedata.userdds = None
    tv.errorhandling.rsxerr(True)
    yield tv
    tv.datahandling.deallocall()
    tv.errorhandling.rsxerr(True)


def test_damage_tables(clean):
    tv = clean
    assert tv.datahandling.allocatedamagedata(1, 1, 0) == 0
    assert tv.damagedata.ndmg == 1
    for name in ("generaldds", "fiberdds", "matrixdds", "coredds", "userdds", "delamdds"):
        a = getattr(tv.damagedata, name)
        assert a.shape == (3, 1, 1) and not a.any()
    assert tv.damagedata.dmgplane.shape == (10, 1)
    assert tv.bukdata.bukintdatalist.shape == (4, 1, 1, 1)
    assert tv.bukdata.bukrealdatalist.shape == (12, 1, 1, 1)
    tv.datahandling.allocatedamagedata(5, 3, 4)
    assert tv.damagedata.ndmg == 4 and tv.damagedata.generaldds.shape == (3, 1, 1)


def test_latch(clean):
    tv = clean
    eh = tv.errorhandling
    assert eh.xerr(-2, "Matrix inversion failed!", [1, 2], [0.5], np.zeros((10, 3), dtype=np.int32), 1) == 1
    eh.xerr(-3, "Unknown contact law flag", [], [], np.zeros((0, 0)), pyerr=1)
    assert eh.errstat == -2
    assert eh.errstring.tobytes().decode().rstrip() == "Matrix inversion failed!"
    assert eh.errasciim.shape == (8, 3)
    np.testing.assert_array_equal(eh.errintv, [1, 2])
    assert eh.rsxerr(False) == 0 and eh.errstat == -2
    assert eh.rsxerr(True) == 1
    assert eh.errstat == 0 and eh.errintv is None and eh.errrealv is None and eh.errasciim is None
    assert eh.errstring.tobytes().decode().rstrip() == "Matrix inversion failed!"


def test_xerr_default_stops_the_interpreter(child):
    r = child("import sys, _tavrin, numpy as np\n"
              "print('before'); sys.stderr.write('err-before\\n')\n"
              "_tavrin.errorhandling.xerr(-2, 'fatal message', [], [], np.zeros((0, 0)))\n"
              "print('never')\n")
    assert r.returncode == 1
    assert r.stdout == "before\n " + "fatal message".ljust(80) + "\n"
    assert r.stderr == "err-before\n"


def test_check_in_list(clean):
    tv = clean
    u = tv.utility
    tv.jobdata.processid = None
    assert u.processlock(2, 3) is False
    assert u.processlock(3, 3) is False
    assert u.processlock(2, 3) is False
    assert u.processlock(1, 3) is True
    np.testing.assert_array_equal(tv.jobdata.processid, [-1, -1, -1])
    assert u.processunlock() == 0
    np.testing.assert_array_equal(tv.jobdata.processid, [1, 2, 3])
    assert u.processlock(1, 4) is False and tv.jobdata.processid.shape == (4,)
    tv.jobdata.processid = None
