"""The root finders from Python: Python call-backs filling 0-d arrays,
routine capsules called directly, extra arguments, re-entrant and raising
call-backs."""
import math

import numpy as np
import pytest


@pytest.fixture(scope="module")
def native():
    """Compiled functions in the call-backs' shapes: f = x² - args(1), and
    xnew = cos(fargs(1))."""
    import _tavrin_enginetest

    return _tavrin_enginetest.enginetest


def square_minus_two(f, d, x):
    f[...] = x * x - 2.0
    d[...] = 2.0 * x


def test_python_call_backs_and_capsules(m, native, latched):
    for solver in (m.bdsafe, m.nrsafe):
        assert solver(square_minus_two, 0.0, 2.0, [], 1e-12, 100, 0) == (pytest.approx(math.sqrt(2.0), abs=1e-12), 0)
        assert solver(native.parabola._cpointer, 0.0, 3.0, [4.0], 1e-12, 100, 0) == (pytest.approx(2.0, abs=1e-12), 0)
    seen = []

    def cosine(xnew, fargs):
        seen.append((type(xnew), xnew.shape, xnew.flags.writeable))
        xnew[()] = math.cos(fargs[0])

    for f in (cosine, native.cosine._cpointer):
        assert m.fpsafe(f, 1.0, [0.0, 5.0], 1e-12, 100, 0) == (pytest.approx(0.7390851332, abs=1e-10), 0)
    assert seen[0] == (np.ndarray, (), True) and latched()[0] == 0
    with pytest.raises(Exception, match="_cpointer of another signature"):
        m.bdsafe(native.cosine._cpointer, 0.0, 3.0, [4.0], 1e-12, 100, 0)
    with pytest.raises(Exception, match=r"\(na>=1\) failed"):
        m.fpsafe(lambda xnew, fargs: None, 1.0, [], 1e-12, 100, 0)
    # Extra arguments, args, na and nfun reach the call-back.
    calls = []

    def f(f, d, x, args, na, nfun, scale):
        calls.append((args.tolist(), na, nfun, scale))
        f[...] = scale * x - args[1]

    root, _ = m.bdsafe(f, 0.0, 10.0, [0.0, 6.0], 1e-12, 100, 7, dfunc_extra_args=(3.0,))
    assert root == pytest.approx(2.0, abs=1e-12)
    assert calls[0] == ([0.0, 6.0], 2, 7, 3.0)
    assert m.fpsafe.__doc__.count("def dfunc(xnew,fargs,[na,nfun]): return") == 1


def test_raising_call_back_abandons_the_search(m, capfd, latched):
    def boom(f, d, x):
        raise KeyError("boom")

    for name in ("bdsafe", "nrsafe"):
        with pytest.raises(KeyError, match="boom"):
            getattr(m, name)(boom, 0.0, 2.0, [], 1e-12, 100, 0)
        assert f"Call-back cb_dfunc_in_{name}__user__routines failed." in capfd.readouterr().err
    with pytest.raises(ZeroDivisionError):
        m.fpsafe(lambda xnew, fargs: 1 / 0, 1.0, [0.0], 1e-12, 100, 0)
    assert "Call-back cb_dfunc_in_fpsafe__user__routines failed." in capfd.readouterr().err
    assert latched()[0] == 0 and m.bdsafe(square_minus_two, 0.0, 2.0, [], 1e-12, 100, 0)[1] == 0


def test_call_backs_may_call_the_solvers_again(m, native):
    def f(f, d, x):
        # √x by an inner search, on a capsule.
        f[...] = m.nrsafe(native.parabola._cpointer, 0.0, x + 1.0, [x], 1e-14, 100, 0)[0] - 1.5

    assert m.bdsafe(f, 0.0, 4.0, [], 1e-12, 100, 0) == (pytest.approx(2.25, abs=1e-10), 0)
    with pytest.raises(ZeroDivisionError):  # raised in the inner search
        m.bdsafe(lambda f, d, x: m.bdsafe(lambda g, e, y: 1 / 0, 0.0, 1.0, [], 1e-12, 100, 0),
                 0.0, 2.0, [], 1e-12, 100, 0)
