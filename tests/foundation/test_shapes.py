"""Point-in-shape tests from Python."""
import numpy as np
import pytest


@pytest.fixture
def ip(tv):
    return tv.imageprocessing


def test_shape_values(ip):
    square = ([0.0, 1.0, 1.0, 0.0], [0.0, 0.0, 1.0, 1.0])
    assert [ip.polygon(px, py, *square) for px, py in
            ((0.5, 0.5), (2, 0.5), (0.5, 1), (1, 0.5), (0.5, 0), (0, 0))] == [0, -1, 0, 0, -1, -1]
    assert ip.polygon(0.0, 0.0, [], []) == -1.0
    assert ip.ellipse(2, 0, 2, 1) == 1.0 and ip.ellipse(1, 2, 2, 1, xyorigin=[1, 1]) == 1.0
    assert ip.rectangle(1, 0.5, 2, 1) == 0.5 and ip.rectangle(3, 0, 2, 1) == 1.5
    assert ip.line(5, 1, [0, 0], [10, 0]) == 2.0 and ip.line(5, 1e-6, [0, 0], [10, 0]) < 1.0
    assert ip.line(5, 1, [0, 0], [10, 0], proximity=1.0) == 1.0


def test_projected_tests(ip):
    ref, eye = np.zeros(3), np.eye(3)
    assert ip.projectedpointinshape([0, 1.5, 7], 1, 2, 0, ref, eye, 1)
    assert not ip.projectedpointinshape([1.5, 0, 0], 1, 2, 0, ref, eye, 3)
    assert ip.projectedpointinshape([1.9, 1.9, 0], 1, 2, 0, ref, eye, 2)
    np.testing.assert_allclose(ip.getpointonxyplane([1, 2, 5], [1, 1, 0], eye, 90.0), [1, 0],
                               atol=1e-15)
    # Vertices are the rows of an (npoints, 2) table.
    triangle = np.array([[0.0, 0.0], [4.0, 0.0], [0.0, 4.0]])
    assert ip.projectedpointinpolygon([1, 1, 9], triangle, 0, ref, eye)
    assert not ip.projectedpointinpolygon([3, 3, 0], triangle, 0, ref, eye)
    with pytest.raises(Exception, match=r"shape\(xypairs,1\)==2"):
        ip.projectedpointinpolygon([1, 1, 9], triangle.T, 0, ref, eye)
