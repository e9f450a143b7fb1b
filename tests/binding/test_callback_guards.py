"""Python call-backs that misbehave: endless re-entry into the library and
arrays resized in place must end in a Python exception, never in a crash."""
import numpy as np
import pytest

ENDLESS = """
import os, sys, numpy as np
import _tavrin as tv, _tavrin_enginetest as e
if os.environ.get("TAVRIN_FUZZ_ASAN"):
    sys.setrecursionlimit(500)  # the sanitizer's stack frames are several times larger
et = e.enginetest
depth = 0
def law(stress, strain, props, ntens, ndi, nprops):
    global depth
    depth += 1
    tv.elasticity.getnumericaltangent(law, [1.0, 2.0], np.zeros(6), np.zeros(6), np.ones(6), 3, False)
def f(v):
    global depth
    depth += 1
    return et.fsum(f, [v])
for start in (lambda: tv.elasticity.getnumericaltangent(law, [1.0, 2.0], np.zeros(6), np.zeros(6),
                                                        np.ones(6), 3, False),
              lambda: et.fsum(f, [1.0])):
    depth = 0
    try:
        start()
    except RecursionError:
        print("RecursionError", depth > 100)
print("alive", et.fsum(lambda v: v, [1.0, 2.0]))
"""


def test_endless_reentry_raises_recursion_error(child):
    r = child(ENDLESS)
    assert r.returncode == 0, r.stderr[-2000:]
    assert r.stdout.split("\n") == ["RecursionError True", "RecursionError True", "alive 3.0", ""]


def test_callback_resizing_its_array_is_refused(et, eterror, capfd):
    seen = {}

    def grow(x, y, scale):
        y[:] = 7.0
        y.resize(5000, refcheck=False)
        y[:] = 1.0

    with pytest.raises(eterror, match=r"call-back g of apply changed the size or storage of its argument y "
                                      r"in place \(16 bytes handed over, 40000 after the call\)"):
        et.apply(grow, [1.0, 2.0])

    def shrink_scalar(x, y, scale):
        y[:] = 7.0
        scale.resize(0, refcheck=False)

    with pytest.raises(eterror, match="argument scale in place"):
        et.apply(shrink_scalar, [1.0])
    assert "Call-back cb_g_in_apply__user__routines failed." in capfd.readouterr().err

    def reshape(x, y, scale):  # same storage, same size: accepted
        y.shape = (1, 2)
        y[0, :] = 3.0
        seen["ok"] = True

    y, _ = et.apply(reshape, [1.0, 2.0])
    assert seen["ok"] and y.tolist() == [3.0, 3.0]


def test_a_call_keeps_no_reference_to_its_arguments(et):
    import sys
    a, b = np.zeros(3), np.ones(3)
    before = sys.getrefcount(a), sys.getrefcount(b)
    for _ in range(10):
        et.vadd(a, b)
    assert (sys.getrefcount(a), sys.getrefcount(b)) == before


def test_a_long_argument_is_shown_cut_in_the_error(et, eterror):
    with pytest.raises(eterror, match=r"received 'x{36}\.\.\. of type str$"):
        et.iadd("x" * 60, 1)
