"""The foundation routines from Python: the first-error latch (the binding
makes its library-order call) with its print-and-stop path, and the
process check-in list."""
import numpy as np


def test_latch(tv):
    eh = tv.errorhandling
    eh.rsxerr(True)
    eh.xerr(0, "note", [1, 2, 3], [], np.zeros((1, 1)), 1)  # recorded, the latch stays open
    assert eh.errstat == 0 and eh.errstring.tobytes().rstrip() == b"note"
    assert eh.errintv.size == 3 and eh.errrealv.size == 0  # empty details give empty vectors
    # the next failure is recorded at its own extents, at most 8 rows of codes
    codes = np.arange(30, dtype=np.int32).reshape(10, 3, order="F")
    assert eh.xerr(-2, "Matrix inversion failed!", [3, 4], [1.5], codes, 1) == 1
    eh.xerr(-3, "Unknown contact law flag", [9], [], np.zeros((0, 0)), pyerr=1)  # the first failure wins
    assert eh.errstat == -2 and eh.errstring.tobytes() == b"Matrix inversion failed!".ljust(80)
    assert eh.errintv.tolist() == [3, 4] and eh.errrealv.tolist() == [1.5]
    np.testing.assert_array_equal(eh.errasciim, codes[:8])
    assert eh.rsxerr(False) == 0 and eh.errstat == -2
    assert eh.rsxerr(True) == 1
    assert eh.errstat == 0 and eh.errintv is None and eh.errrealv is None and eh.errasciim is None
    assert eh.errstring.tobytes() == b"Matrix inversion failed!".ljust(80)  # the text stays


def test_xerr_default_stops_the_interpreter(child):
    r = child("import sys, _tavrin, numpy as np\n"
              "print('before'); sys.stderr.write('err-before\\n')\n"
              "_tavrin.errorhandling.xerr(-2, 'fatal message', [], [], np.zeros((0, 0)))\n"
              "print('never')\n")
    assert r.returncode == 1
    assert r.stdout == "before\n " + "fatal message".ljust(80) + "\n"
    assert r.stderr == "err-before\n"


def test_check_in_list(tv):
    u, job = tv.utility, tv.jobdata
    job.processid = None
    assert u.processunlock() == 0 and job.processid is None  # no list yet: nothing to refill
    assert u.processlock(2, 3) is False and u.processlock(3, 3) is False
    np.testing.assert_array_equal(job.processid, [1, -1, -1])
    assert u.processlock(1, 3) is True
    assert u.processlock(-1, 3) is False  # the check-in marker is no process number
    assert u.processunlock() == 0
    np.testing.assert_array_equal(job.processid, [1, 2, 3])
    assert u.processlock(1, 4) is False and job.processid.shape == (4,)  # another count: a new list
    # numbers outside the list, and a repeated check-in, change nothing
    assert not any(u.processlock(p, 4) for p in (0, 5, 1))
    np.testing.assert_array_equal(job.processid, [-1, 2, 3, 4])
    job.processid = None
