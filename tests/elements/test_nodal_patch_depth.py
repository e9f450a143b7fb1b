"""Nodal patches many levels deep: the points and their order of the level
by level scan, without its cost in time or stack."""
import numpy as np

UNFILLED = -1.7976931348623157e308


def mesh(nodes, x):
    """elemnodes and nodalcoords with x-coordinates x[e][k] (y = z = 0)."""
    en = np.asfortranarray(np.array(nodes, np.int32).T)
    nc = np.zeros((3,) + en.shape, order="F")
    nc[0] = np.array(x, float).T
    return en, nc


def xs(tv, en, nc, ntree, npt):
    patch = tv.elementhandling.getnodalpatch(np.zeros((3, npt), order="F"), nc, en, 1, ntree=ntree)
    return [v for v in patch[0] if v != UNFILLED]


def test_deep_levels_keep_points_and_order(tv, child):
    # Three one-node elements sharing node 1 (each with its own coordinate):
    # once recursing 10^5 levels deep on the C stack.
    r = child("import numpy as np, _tavrin as t\n"
              "en = np.ones((1, 3), np.int32, order='F'); nc = np.zeros((3, 1, 3), order='F')\n"
              "nc[0, 0] = [1, 2, 3]\n"
              "for d in (100000, 2**31 - 1):\n"
              "    print(t.elementhandling.getnodalpatch(np.zeros((3, 4), order='F'), nc, en, 1, ntree=d)[0, :3])\n")
    assert r.returncode == 0, r.stderr[-2000:]
    assert r.stdout.split("\n") == ["[2. 1. 3.]", "[2. 1. 3.]", ""]

    # Four two-node elements around element 1: the order of the last two
    # elements' points follows the parity of ntree at every depth.
    en, nc = mesh([[2, 1], [1, 6], [4, 2], [8, 1]], [[10 * e, 10 * e + 1] for e in range(4)])
    even, odd = [10, 11, 0, 1, 30, 31, 20, 21], [10, 11, 0, 1, 20, 21, 30, 31]
    assert xs(tv, en, nc, 1, 8) == [10, 11, 20, 21, 30, 31]
    for ntree in (2, 4, 10**6, 2**31 - 2):
        assert xs(tv, en, nc, ntree, 8) == even, ntree
    for ntree in (3, 5, 10**6 + 1, 2**31 - 1):
        assert xs(tv, en, nc, ntree, 8) == odd, ntree
    assert xs(tv, en, nc, 3, 5) == odd[:5]  # a full patch keeps the first points

    # A ring of 8 elements of 32 nodes, each sharing 4 nodes with the next:
    # 6^ntree visits before, one scan per element and depth now.
    nodes = [[(e * 28 + k) % 224 + 1 for k in range(32)] for e in range(8)]
    en, nc = mesh(nodes, nodes)
    run = lambda a, b: list(range(a, b + 1))  # noqa: E731
    assert xs(tv, en, nc, 11, 300) == run(29, 60) + run(1, 28) + run(197, 224) + run(61, 196)
    assert xs(tv, en, nc, 12, 300) == run(29, 60) + run(1, 28) + run(61, 88) + run(197, 224) + run(89, 196)
