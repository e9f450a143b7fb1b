"""Numerical calculus and the scalar special functions from Python."""
import math

import numpy as np
import pytest


def test_integration_differences_and_areas(m, error):
    t, integral = [0.0, 1.0, 2.0], m.trapezoidintegration
    assert (integral(t, t), integral(t[::-1], t[::-1]), integral([1.0], [5.0])) == (2.0, -2.0, 0.0)
    with pytest.raises(error):
        m.trapezoidintegration([0.0, 1.0, 2.0], [0.0, 1.0])  # y shorter than x
    np.testing.assert_array_equal(m.centralstepderivative([0.0, 1.0, 4.0], [0.0, 1.0, 2.0]), [1.0, 2.0, 3.0])
    x = np.array([3 + 1e-20j, 2 + 1e-20j])
    np.testing.assert_array_equal(m.complexstepderivative(x * x, x), [6.0, 4.0])
    np.testing.assert_array_equal(m.gradient([[2.0, 9.0], [4.0, 3.0]], [2.0, 3.0]), [[1.0, 3.0], [2.0, 1.0]])
    square = [0.0, 1.0, 1.0, 0.0], [0.0, 0.0, 1.0, 1.0]
    assert m.shoelacemethod(*square) == m.shoelacemethod(square[0][::-1], square[1][::-1]) == 1.0
    assert m.shoelacemethod([0.0, 1.0], [0.0, 1.0]) == 0.0


def test_binomial_coefficients_in_64_bit(m):
    # Up to 61 choose k exactly; the running product of 30 choose 15 passes 2^31.
    assert [m.pascaltriangle(n, k) for n in range(62) for k in range(n + 1)] == [
        float(math.comb(n, k)) for n in range(62) for k in range(n + 1)]
    assert [m.pascaltriangle(n, k) for n, k in ((3, 5), (7, -1), (-1, 3), (-2, 2), (2_000_000_000, 1_000_000_000))] == [
        0.0, 1.0, -1.0, 3.0, math.inf]


def test_special_functions(m):
    assert m.fishertransformation(0.5) == m.datanh(0.5) == pytest.approx(0.5493061443340549, rel=1e-15)
    # Any flag but -1 gives the inverse.
    assert m.fishertransformation(0.5493061443340549, 1) == pytest.approx(0.5, rel=1e-15)
    assert m.fishertransformation(0.3, 0) == math.tanh(0.3)
    assert (m.datanh(1.0), m.dacoth(1.0), m.dacosh(1.0)) == (math.inf, math.inf, 0.0) and math.isnan(m.dacosh(0.5))
    assert m.dacoth(3.0) == pytest.approx(math.atanh(1 / 3), rel=1e-15)
    assert (m.droundsf(0.129, 2), m.droundsf(1.123456789)) == (pytest.approx(0.12, abs=1e-17), 1.12345678)
    assert math.copysign(1.0, m.droundsf(-0.001, 2)) == -1.0  # -0 keeps its sign
    assert [m.dceil(x) for x in (0.0, 2.0, 2.5, -1.5, 1e300)] == [1.0, 3.0, 3.0, 0.0, 1e300]
