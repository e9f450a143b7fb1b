"""Nodal motion into the element tables through _tavrin beside the same
scatter written with NumPy fancy indexing, in one run: getnodesmotion for
every node of a grid of 8-node shells with orthonormal node and curvature
frames, against NumPy that finds each element node's position in the node
block (searchsorted), turns translations and rotations by the element's
curvature frame (einsum) and scatters them into nodesmotion; and for every
node of a grid of 10⁴ 4-node shells without frames (the motion taken as it
stands) against the plain NumPy scatter.

    .venv/bin/python bench/elementhandling.py

Rounds take turns between ours and NumPy and the least time of each counts.
Targets: getnodesmotion no slower than NumPy with frames, at least 1.5 times
as fast as the plain scatter without them.  The native cost per node over
10³ to 10⁵ elements is in build/bench/bench_elementhandling (configure with
-DTAVRIN_BUILD_BENCH=ON).
"""
import os
import pathlib
import sys

os.environ.setdefault("OPENBLAS_NUM_THREADS", "1")
import numpy as np  # noqa: E402

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from laminate import _tavrin, per_call_ns  # noqa: E402  (the build tree's module, interleaved timing)

XI = np.array([-1, 1, 1, -1, 0, 1, 0, -1])
ETA = np.array([-1, -1, 1, 1, -1, 0, 1, 0])


def quad4_mesh(nx, ny):
    """elemnodes(4, nelem) of a grid of 4-node elements and its node numbers."""
    width = nx + 1
    a, b = np.meshgrid(np.arange(nx), np.arange(ny), indexing="xy")
    first = (1 + a + width * b).ravel()
    cols = np.stack([first, first + 1, first + 1 + width, first + width])
    return np.asfortranarray(cols.astype(np.int32)), np.arange(1, width * (ny + 1) + 1, dtype=np.int32)


def mesh(nx, ny):
    """elemnodes(8, nelem) of the grid and the node numbers of its lattice."""
    width = 2 * nx + 1
    a, b = np.meshgrid(np.arange(nx), np.arange(ny), indexing="xy")
    i = 2 * a.ravel()[None, :] + 1 + XI[:, None]
    j = 2 * b.ravel()[None, :] + 1 + ETA[:, None]
    return np.asfortranarray((1 + i + width * j).astype(np.int32)), np.arange(1, width * (2 * ny + 2), dtype=np.int32)


def frames(nelem, rng):
    """Rotations about z by random angles: curvature frames (3, 3, nelem)."""
    t = rng.uniform(0, 2 * np.pi, nelem)
    c, s = np.cos(t), np.sin(t)
    r = np.zeros((3, 3, nelem), order="F")
    r[0, 0], r[0, 1], r[1, 0], r[1, 1], r[2, 2] = c, s, -s, c, 1.0
    return r


def block_positions(elemnodes, nodeid):
    """(k, e, j): node position k of element e holds node nodeid[j]."""
    order = np.argsort(nodeid, kind="stable")
    pos = np.searchsorted(nodeid, elemnodes, sorter=order)
    pos = np.minimum(pos, len(nodeid) - 1)
    idx = order[pos]
    hit = nodeid[idx] == elemnodes
    k, e = np.nonzero(hit)
    return k, e, idx[k, e]


def numpy_scatter(motion, elemnodes, tcurv, nodeid, trans, rot):
    """nodesmotion(1:6, k, e) = tcurv(e)·(translation, rotation) of node elemnodes(k, e)."""
    k, e, j = block_positions(elemnodes, nodeid)
    motion[:3, k, e] = np.einsum("abe,be->ae", tcurv[:, :, e], trans[:, j])
    motion[3:6, k, e] = np.einsum("abe,be->ae", tcurv[:, :, e], rot[:, j])


def numpy_plain_scatter(motion, elemnodes, nodeid, trans, rot):
    """nodesmotion(1:6, k, e) = (translation, rotation) of node elemnodes(k, e)."""
    k, e, j = block_positions(elemnodes, nodeid)
    motion[:3, k, e] = trans[:, j]
    motion[3:6, k, e] = rot[:, j]


def without_frames(tv, rng):
    ed, nd = tv.elementdata, tv.nodaldata
    print("\ngetnodesmotion, all nodes of 10^4 4-node shells without frames (ns per node)")
    print(f"{'elements':>9} {'nodes':>8} {'_tavrin':>9} {'NumPy':>9} {'NumPy/_tavrin':>14}")
    elemnodes, nodeid = quad4_mesh(100, 100)
    nelem = elemnodes.shape[1]
    ed.nelem, nd.nnodes, nd.ndof = nelem, 4, 6
    ed.elemnodes = elemnodes
    ed.elemindices = None
    nd.tcurvmatrices = np.zeros((3, 3, nelem), order="F")
    nd.tnodalmatrices = np.zeros((3, 3, 8, nelem), order="F")
    nd.nodesmotion = np.zeros((6, 4, nelem), order="F")
    trans = np.asfortranarray(rng.standard_normal((3, len(nodeid))))
    rot = np.asfortranarray(rng.standard_normal((3, len(nodeid))))
    want = np.zeros((6, 4, nelem), order="F")
    numpy_plain_scatter(want, elemnodes, nodeid, trans, rot)
    tv.elementhandling.getnodesmotion(trans, rot, nodeid)
    np.testing.assert_array_equal(nd.nodesmotion, want)
    scratch = np.zeros((6, 4, nelem), order="F")
    best = per_call_ns({
        "ours": lambda: tv.elementhandling.getnodesmotion(trans, rot, nodeid),
        "numpy": lambda: numpy_plain_scatter(scratch, elemnodes, nodeid, trans, rot)})
    m = len(nodeid)
    print(f"{nelem:>9} {m:>8} {best['ours'] / m:>9.1f} {best['numpy'] / m:>9.1f} "
          f"{best['numpy'] / best['ours']:>14.2f}")


def main():
    rng = np.random.default_rng(5)
    tv = _tavrin
    ed, nd = tv.elementdata, tv.nodaldata
    print("getnodesmotion, all nodes of a grid of 8-node shells (ns per node)")
    print(f"{'elements':>9} {'nodes':>8} {'_tavrin':>9} {'NumPy':>9} {'NumPy/_tavrin':>14}")
    for n in (32, 100):
        elemnodes, nodeid = mesh(n, n)
        nelem = elemnodes.shape[1]
        ed.nelem, nd.nnodes, nd.ndof = nelem, 8, 6
        ed.elemnodes = elemnodes
        ed.elemindices = None
        tcurv = frames(nelem, rng)
        nd.tcurvmatrices = tcurv
        ti = np.zeros((3, 3, 8, nelem), order="F")
        ti[0, 0], ti[1, 1], ti[2, 2] = 1.0, 1.0, 1.0
        nd.tnodalmatrices = ti
        nd.nodesmotion = np.zeros((6, 8, nelem), order="F")
        trans = np.asfortranarray(rng.standard_normal((3, len(nodeid))))
        rot = np.asfortranarray(rng.standard_normal((3, len(nodeid))))
        ours = np.zeros((6, 8, nelem), order="F")
        numpy_scatter(ours, elemnodes, tcurv, nodeid, trans, rot)
        tv.elementhandling.getnodesmotion(trans, rot, nodeid)
        np.testing.assert_allclose(nd.nodesmotion, ours, rtol=1e-12, atol=1e-12)
        scratch = np.zeros((6, 8, nelem), order="F")
        best = per_call_ns({
            "ours": lambda: tv.elementhandling.getnodesmotion(trans, rot, nodeid),
            "numpy": lambda: numpy_scatter(scratch, elemnodes, tcurv, nodeid, trans, rot)})
        m = len(nodeid)
        print(f"{nelem:>9} {m:>8} {best['ours'] / m:>9.1f} {best['numpy'] / m:>9.1f} "
              f"{best['numpy'] / best['ours']:>14.2f}")
    without_frames(tv, rng)
    for name in ("elemnodes", "elemindices"):
        setattr(ed, name, None)
    for name in ("tcurvmatrices", "tnodalmatrices", "nodesmotion"):
        setattr(nd, name, None)


if __name__ == "__main__":
    main()
