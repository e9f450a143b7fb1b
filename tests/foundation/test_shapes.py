"""Point-in-shape tests: the shape values on and around their boundaries, and
the projected tests."""
import math

import numpy as np
import pytest

SQUARE = [0.0, 1.0, 1.0, 0.0], [0.0, 0.0, 1.0, 1.0]
A, B = [0.0, 0.0], [10.0, 0.0]


@pytest.fixture
def ip(tv):
    return tv.imageprocessing


@pytest.mark.parametrize("shape, args, want", [
    # Inside, outside, then edges and vertices as the crossing test counts them.
    ("polygon", (0.5, 0.5, *SQUARE), 0.0), ("polygon", (2.0, 0.5, *SQUARE), -1.0),
    ("polygon", (0.5, 1.0, *SQUARE), 0.0), ("polygon", (1.0, 0.5, *SQUARE), 0.0),
    ("polygon", (0.5, 0.0, *SQUARE), -1.0), ("polygon", (0.0, 0.0, *SQUARE), -1.0),
    ("polygon", (0.0, 0.0, [-1.0, 1.0, 1.0, 0.0], [-1.0, 1.0, -1.0, 0.0], 3), 0.0),  # on the first edge
    ("polygon", (0.0, 0.0, [], []), -1.0),
    ("ellipse", (2, 0, 2, 1), 1.0), ("ellipse", (0, 0, 2, 1), 0.0), ("ellipse", (1, 2, 2, 1, [1, 1]), 1.0),
    ("rectangle", (1, 0.5, 2, 1), 0.5), ("rectangle", (3, 0, 2, 1), 1.5), ("rectangle", (3, 0, -2, -1), 1.5),
    ("line", (5, 1, A, B), 2.0), ("line", (12, 0, A, B), 3.0), ("line", (-1, 0, A, B), 2.0),
    ("line", (0, 0, A, B), 0.0),  # on a itself
    ("line", (5, 1, A, B, 1.0), 1.0),  # within the proximity
    # A point on a slanted segment (where h² - t² rounds to -2.7e-15).
    ("line", (1.486305261275823, 1.9817403483677638, A, [3.0, 4.0]), 0.0),
    ("line", (3, 4, A, A), 6.0),  # a segment of no length is its point
])
def test_shape_values(ip, shape, args, want):
    assert getattr(ip, shape)(*args) == want


def test_projected_tests(ip):
    ref, eye = np.zeros(3), np.eye(3)
    assert ip.line(5, 1e-6, A, B) < 1.0
    for k in range(8):  # a circle of radius a = 1.5 about the axis, at any height
        angle = k * math.pi / 4
        assert ip.projectedpointinshape([1.5 * math.cos(angle), 1.5 * math.sin(angle), 3], 1, 2, 0, ref, eye, 0)
    # Shape ids 1, 2, 3; any other id: the ellipse.
    for point, shape, want in (([1.5, 0, 0], 1, False), ([0, 1.5, 7], 1, True), ([1.9, 1.9, 0], 2, True),
                               ([1.5, 0, 0], 3, False), ([0, 2.5, 0], 99, False)):
        assert ip.projectedpointinshape(point, 1, 2, 0, ref, eye, shape) == want
    # Vertices are the rows of an (npoints, 2) table; theta turns (u, v) to (v, -u).
    square = np.array([[0.0, 0.0], [1.0, 0.0], [1.0, 1.0], [0.0, 1.0]])
    for point, theta, want in (([0.5, 0.5, 1], 0, True), ([1.5, 0.5, 0], 0, False), ([-0.5, 0.5, 0], 90, True),
                               ([0.5, 0.5, 0], 90, False)):
        assert ip.projectedpointinpolygon(point, square, theta, ref, eye) == want
    with pytest.raises(Exception, match=r"shape\(xypairs,1\)==2"):
        ip.projectedpointinpolygon([1, 1, 9], square.T, 0, ref, eye)
    np.testing.assert_allclose(ip.getpointonxyplane([1, 2, 5], [1, 1, 0], eye, 90.0), [1, 0], atol=1e-15)
