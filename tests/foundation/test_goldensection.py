"""The golden-section search from Python: the state lives in the caller's
exact 0-d and 1-byte arrays, updated in place."""
import numpy as np
import pytest


def test_state_arrays_must_be_exact(m):
    x, y, xmove, lplimits, incr, subcall, golden, finish = m.inigoldensearch(0.0, 1.0, 1e-3, 1, 10)
    assert isinstance(golden, bool) and golden and finish is False
    state = dict(xi=np.array(0.0), yi=np.array(0.0), x=x, y=y, xmove=xmove, ymove=np.zeros(4), lplimits=lplimits,
                 xdir=np.array(0, dtype=np.int32), increment=np.array(incr, dtype=np.int32),
                 proc=np.array(subcall, dtype=np.int32), isgolden=np.array(golden), update=np.array(False),
                 finish=np.array(False), dx=1e-3, defaultvalue=0.0)
    for name, bad in (("isgolden", np.array(1, dtype=np.int32)), ("isgolden", True),
                      ("xdir", np.array(0.0)), ("x", list(state["x"]))):
        with pytest.raises(Exception, match="to be updated in place"):
            m.gssafe(**dict(state, **{name: bad}))
    m.gssafe(**state)
    assert state["update"] and state["xi"] == 0.0 and state["increment"] == 1
