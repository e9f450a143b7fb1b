"""Numerical calculus and the scalar special functions from Python."""
import math

import numpy as np
import pytest


@pytest.fixture
def m(tv):
    return tv.math


def test_integration_and_differences(m, error):
    assert m.trapezoidintegration([0.0, 1.0, 2.0], [0.0, 1.0, 2.0]) == 2.0
    assert m.trapezoidintegration([2.0, 1.0, 0.0], [2.0, 1.0, 0.0]) == -2.0
    assert m.trapezoidintegration([1.0], [5.0]) == 0.0
    with pytest.raises(error):
        m.trapezoidintegration([0.0, 1.0, 2.0], [0.0, 1.0])  # y shorter than x
    np.testing.assert_array_equal(m.centralstepderivative([0.0, 1.0, 4.0], [0.0, 1.0, 2.0]), [1.0, 2.0, 3.0])
    with pytest.raises(error, match=r"\(n>=2\)"):
        m.centralstepderivative([1.0], [1.0])
    x = np.array([3 + 1e-20j, 2 + 1e-20j])
    np.testing.assert_array_equal(m.complexstepderivative(x * x, x), [6.0, 4.0])
    np.testing.assert_array_equal(m.gradient([[2.0, 9.0], [4.0, 3.0]], [2.0, 3.0]), [[1.0, 3.0], [2.0, 1.0]])


def test_shoelace_area(m):
    square = ([0.0, 1.0, 1.0, 0.0], [0.0, 0.0, 1.0, 1.0])
    assert m.shoelacemethod(*square) == 1.0
    assert m.shoelacemethod(square[0][::-1], square[1][::-1]) == 1.0
    assert m.shoelacemethod([0.0, 1.0], [0.0, 1.0]) == 0.0


def test_binomial_coefficients_in_64_bit(m):
    assert m.pascaltriangle(5, 2) == 10.0 and m.pascaltriangle(5, 0) == 1.0
    assert m.pascaltriangle(30, 15) == 155117520.0  # its running product passes 2^31
    for n in range(0, 62):
        for k in range(0, n + 1):
            assert m.pascaltriangle(n, k) == float(math.comb(n, k)), (n, k)
    assert m.pascaltriangle(3, 5) == 0.0
    assert m.pascaltriangle(-1, 3) == -1.0 and m.pascaltriangle(-2, 2) == 3.0
    assert m.pascaltriangle(100, 50) == pytest.approx(math.comb(100, 50), rel=1e-14)
    assert m.pascaltriangle(2_000_000_000, 1_000_000_000) == math.inf


def test_special_functions(m):
    assert m.fishertransformation(0.5) == m.datanh(0.5) == pytest.approx(0.5493061443340549, rel=1e-15)
    assert m.fishertransformation(0.5493061443340549, 1) == pytest.approx(0.5, rel=1e-15)
    assert m.fishertransformation(0.3, 0) == math.tanh(0.3)
    assert m.datanh(1.0) == math.inf and m.dacoth(1.0) == math.inf
    assert m.dacoth(3.0) == pytest.approx(math.atanh(1 / 3), rel=1e-15)
    assert m.dacosh(1.0) == 0.0 and m.dasinh(0.0) == 0.0
    assert m.dacosh(2.0) == pytest.approx(math.acosh(2.0), rel=1e-15)
    assert math.isnan(m.dacosh(0.5))
    assert m.droundsf(0.129, 2) == pytest.approx(0.12, abs=1e-17)
    assert m.droundsf(-0.129, 2) == pytest.approx(-0.12, abs=1e-17)
    assert m.droundsf(1.123456789) == 1.12345678
    assert math.copysign(1.0, m.droundsf(-0.001, 2)) == -1.0  # -0 keeps its sign
    assert m.dceil(0.0) == 1.0 and m.dceil(2.0) == 3.0 and m.dceil(2.5) == 3.0 and m.dceil(-1.5) == 0.0
    assert m.dceil(1e300) == 1e300
