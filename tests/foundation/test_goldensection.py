"""The golden-section search from Python: the state lives in the caller's
exact 0-d and 1-byte arrays, updated in place."""
import math

import numpy as np
import pytest


def search(m, f, xlow, xup, dx, gsflag, npoints, defaultvalue=0.0):
    x, y, xmove, lplimits, incr, subcall, golden, finish = m.inigoldensearch(
        xlow, xup, dx, gsflag, npoints)
    assert isinstance(golden, bool) and golden == (gsflag == 1) and finish is False
    state = dict(xi=np.array(0.0), yi=np.array(0.0), x=x, y=y, xmove=xmove,
                 ymove=np.zeros(4), lplimits=lplimits, xdir=np.array(0, dtype=np.int32),
                 increment=np.array(incr, dtype=np.int32), proc=np.array(subcall, dtype=np.int32),
                 isgolden=np.array(golden), update=np.array(False), finish=np.array(False))
    requested = []
    while not state["finish"] and len(requested) < 1000:
        m.gssafe(dx=dx, defaultvalue=defaultvalue, **state)
        if state["update"]:
            requested.append(float(state["xi"]))
            state["yi"][()] = f(float(state["xi"]))
    return float(state["xi"]), float(state["yi"]), requested


def test_golden_mode_finds_the_maximum(m):
    xi, yi, requested = search(m, math.sin, 0.0, 3.0, 1e-5, 1, 100)
    assert xi == pytest.approx(math.pi / 2, abs=1e-5)
    assert requested[:2] == [0.0, 3.0]
    xi, _, _ = search(m, lambda x: 1.0 - (x - 0.3) ** 2, 0.0, 1.0, 1e-2, 1, 100)
    assert xi == pytest.approx(0.3, abs=1e-14)


def test_scan_mode(m):
    xi, yi, requested = search(m, lambda x: x * (1.0 - x), 0.0, 1.0, 0.25, 0, 10)
    assert requested == [0.0, 0.25, 0.5, 0.75, 1.0]
    assert (xi, yi) == (0.5, 0.25)
    assert search(m, lambda x: -1.0, 0.0, 1.0, 0.25, 0, 10)[:2] == (0.0, 0.0)


def test_state_arrays_must_be_exact(m, tv):
    x, y, xmove, lplimits, incr, subcall, golden, finish = m.inigoldensearch(0.0, 1.0, 1e-3, 1, 10)
    state = dict(xi=np.array(0.0), yi=np.array(0.0), dx=1e-3, x=x, y=y, xmove=xmove,
                 ymove=np.zeros(4), lplimits=lplimits, xdir=np.array(0, dtype=np.int32),
                 increment=np.array(0, dtype=np.int32), proc=np.array(0, dtype=np.int32),
                 isgolden=np.array(True), update=np.array(False), finish=np.array(False),
                 defaultvalue=0.0)
    for name, bad in (("isgolden", np.array(1, dtype=np.int32)), ("isgolden", True),
                      ("xdir", np.array(0.0)), ("x", list(x))):
        with pytest.raises(Exception, match="to be updated in place"):
            m.gssafe(**dict(state, **{name: bad}))
    m.gssafe(**state)
    assert state["update"] and state["xi"] == 0.0 and state["increment"] == 1
    # An index beyond the samples is refused, nothing read outside them.
    state["increment"][()] = 11
    m.gssafe(**state)
    assert state["finish"] and not state["update"]
    assert int(tv.errorhandling.errstat) == -3


def test_steps_one_by_one(m):
    x = np.array([0.0, 4.0, 1.0, 3.0, 0.0, 0.0])
    y = np.array([0.0, 0.0, 1.0, 2.0, 0.0, 0.0])
    xnext, dx, x2, xmove, ymove, xdir, increment = m.getnextfromgoldensearch(
        x, y, [0.0, 4.0, 1.0, 3.0], [0.0, 0.0, 1.0, 0.0], 0, 4)
    # The right inner value is larger: the bracket loses its left part.
    assert (xdir, increment, dx) == (1, 5, 3.0)
    np.testing.assert_array_equal(xmove[:3], [1.0, 4.0, 3.0])
    assert xnext == x2[4] == xmove[3]
    assert m.getmaximumfromgoldensearch(y, [0.0, 4.0, 1.0, 2.0], [0.0, 4.0, 1.0, 2.0], -5.0,
                                        0, 4) == -5.0
