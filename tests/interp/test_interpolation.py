"""Table interpolation from Python: module math's six routines, the argument
relations of the binding, and the paths that end the interpreter (in child
processes)."""
import numpy as np
import pytest


def test_worked_values(tv):
    m = tv.math
    np.testing.assert_array_equal(m.linearinterpolation([0, 1, 2], [0, 10, 30], [-1, 1, 1.5, 3]),
                                  [-10, 10, 20, 50])
    np.testing.assert_array_equal(m.nearestinterpolation([0, 1, 2], [0, 10, 30], [0.5, 0.49, 7, -3]),
                                  [10, 0, 30, 0])
    r = m.cubichermitianinterpolation([0, 1, 2, 3], [0, 1, 4, 9], [0.5, 1.5, 2.5, -1, 4])
    np.testing.assert_array_equal(r, [0.3125, 2.21875, 6.21875, 2.0, 15.5])
    assert r.dtype == np.float64 and r.shape == (5,)
    assert m.cubichermitianintegration([0, 1, 2, 3], [0, 1, 4, 9], 0, 3) == pytest.approx(9.0, abs=1e-15)
    assert m.cubichermitianintegration(x=[0, 1, 2, 3], y=[0, 1, 4, 9], a=3, b=0) == pytest.approx(-9.0)
    assert m.cubichermitianarclength([0, 4], [0, 3], 0, 4) == pytest.approx(5.0, abs=1e-15)
    assert m.partialcurvelength(0) == 1.0
    assert "Exact for straight lines only." in m.cubichermitianarclength.__doc__


def test_short_tables_and_points(tv, error):
    m = tv.math
    np.testing.assert_array_equal(m.linearinterpolation([3], [8], [-1, 3, 100]), [8, 8, 8])
    np.testing.assert_array_equal(m.nearestinterpolation([3], [8], [-1, 3, 100]), [8, 8, 8])
    assert np.isnan(m.nearestinterpolation([0, 1], [5, 6], [np.nan])[0])
    assert m.linearinterpolation([0, 1], [5, 6], []).shape == (0,)
    with pytest.raises(error, match=r"^\(len\(x\)>=1\) failed for 1st argument x$"):
        m.linearinterpolation([], [], [1.0])
    with pytest.raises(error, match=r"len\(x\)>=1"):
        m.nearestinterpolation([], [], [1.0])
    with pytest.raises(error, match=r"^\(len\(y\)==len\(x\)\) failed for 2nd argument y$"):
        m.cubichermitianinterpolation([0, 1], [0, 1, 2], [0.5])
    with pytest.raises(error, match=r"len\(y\)>=n"):
        m.cubichermitianintegration([0, 1, 2], [0, 1], 0, 1)


TWELVE_LINES = [
    " ***MESSAGE FROM ROUTINE DPCHIM IN LIBRARY SLATEC.",
    " ***POTENTIALLY RECOVERABLE ERROR, PROG ABORTED, TRACEBACK REQUESTED",
    " *  NUMBER OF DATA POINTS LESS THAN TWO",
    " *  ERROR NUMBER = -1",
    " *   ",
    " ***END OF MESSAGE",
    " ",
    " ***JOB ABORT DUE TO UNRECOVERED ERROR.",
    "0          ERROR MESSAGE SUMMARY",
    " LIBRARY    SUBROUTINE MESSAGE START             NERR     LEVEL     COUNT",
    " SLATEC     DPCHIM     NUMBER OF DATA POINT        -1         1         1",
    " ",
]


def test_hermite_error_ends_the_interpreter(child):
    r = child("import _tavrin\n"
              "print('before', flush=False)\n"
              "_tavrin.math.cubichermitianinterpolation([1.0], [2.0], [0.5])\n"
              "print('never')\n")
    assert r.returncode == 1
    assert r.stdout.splitlines() == ["before"] + TWELVE_LINES
    assert r.stderr == "STOP 1\n"


def test_linear_interpolation_on_unordered_abscissas_ends_the_interpreter(child):
    r = child("import _tavrin\n"
              "print('before')\n"
              "_tavrin.math.linearinterpolation([0.0, 1.0, 1.0, 2.0], [0, 1, 2, 3], [0.5])\n")
    assert r.returncode == 1
    assert r.stdout.splitlines() == ["before", " ", "INTERP_LINEAR - Fatal error!",
                                     "  Independent variable array T_DATA is not strictly increasing."]
    assert r.stderr == "STOP 1\n"
