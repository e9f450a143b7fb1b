"""Table interpolation from Python: module math's six routines, the argument
relations of the binding, and a Hermite error ending the interpreter (in a
child process)."""
import numpy as np
import pytest


def test_routines_argument_order_and_results(tv):
    m = tv.math
    x, y = [0, 1, 2], [0, 10, 30]
    np.testing.assert_array_equal(m.linearinterpolation(x, y, [-1, 1.5, 3]), [-10, 20, 50])
    np.testing.assert_array_equal(m.nearestinterpolation(x, y, [0.49, 7]), [0, 30])
    # y = x^2: d = (0, 1.5, 3.75, 6); the end cubics continue beyond the table.
    r = m.cubichermitianinterpolation([0, 1, 2, 3], [0, 1, 4, 9], [0.5, 1.5, 2.5, -1, 4])
    np.testing.assert_array_equal(r, [0.3125, 2.21875, 6.21875, 2, 15.5])
    assert r.dtype == np.float64 and r.shape == (5,)
    assert m.linearinterpolation([0, 1], [5, 6], []).shape == (0,)
    assert m.cubichermitianintegration(x=[0, 1, 2, 3], y=[0, 1, 4, 9], a=3, b=0) == -9.0
    xs = np.array([-2, -1, 0.5, 3])
    for c in (0.0, 0.75, -2.0):  # straight lines y = c x, inside and beyond: sqrt(1 + c^2) (b - a)
        assert m.cubichermitianarclength(xs, c * xs, -3, 4) == pytest.approx(np.sqrt(1 + c * c) * 7, abs=1e-13)
    assert (m.partialcurvelength(0), m.partialcurvelength(-0.75)) == (1.0, 1.25)
    assert "Exact for straight lines only." in m.cubichermitianarclength.__doc__


@pytest.mark.parametrize("routine, args, message", [
    ("linearinterpolation", ([], [], [1.0]), r"^\(len\(x\)>=1\) failed for 1st argument x: received shape \(0,\)$"),
    ("cubichermitianinterpolation", ([0, 1], [0, 1, 2], [0.5]),
     r"^\(len\(y\)==len\(x\)\) failed for 2nd argument y: received shape \(3,\), len\(x\) = 2$"),
    ("cubichermitianintegration", ([0, 1, 2], [0, 1], 0, 1), r"len\(y\)>=n"),
])
def test_argument_relations(tv, error, routine, args, message):
    with pytest.raises(error, match=message):
        getattr(tv.math, routine)(*args)


# The output before the report is flushed first; the report is the package's
# frame (checked from C++) and summary, then the numeric stop.
def test_hermite_error_ends_the_interpreter(child):
    r = child("import _tavrin\n"
              "print('before', flush=False)\n"
              "_tavrin.math.cubichermitianinterpolation([1.0], [2.0], [0.5])\n"
              "print('never')\n")
    lines = r.stdout.splitlines()
    assert (r.returncode, r.stderr, len(lines), lines[0]) == (1, "STOP 1\n", 13, "before")
    assert lines[-2] == " SLATEC     DPCHIM     NUMBER OF DATA POINT        -1         1         1"
