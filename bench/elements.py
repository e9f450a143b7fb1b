"""Element kernels through _tavrin beside plain NumPy versions, in one run:
the plane-stress reduction of a 3-D stress and tangent
(getplanestressoutputfrom3d against numpy.linalg.inv and the condensation)
and the 8×40 shell B-matrix of a curved 8-node element (shellbmatrix against
the same matrix assembled in NumPy from the same shape-function
derivatives).

    .venv/bin/python bench/elements.py

Runs against the build tree (build/python) or an installed _tavrin; rounds
take turns between ours and the reference and the least time of each counts.
Target: _tavrin at least 10 times faster than NumPy for both.  The native
cost per call, with its heap-allocation count (0), is in
build/bench/bench_elements (configure with -DTAVRIN_BUILD_BENCH=ON).
"""
import os
import pathlib
import sys

os.environ.setdefault("OPENBLAS_NUM_THREADS", "1")
import numpy as np  # noqa: E402

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from laminate import _tavrin, per_call_ns  # noqa: E402  (the build tree's module, interleaved timing)

E, NU = 70000.0, 0.3
IN_PLANE = [0, 1, 3]


def isotropic():
    lam, mu = E * NU / ((1 + NU) * (1 - 2 * NU)), E / (2 * (1 + NU))
    c = np.zeros((6, 6))
    c[:3, :3] = lam
    c[range(3), range(3)] += 2 * mu
    c[range(3, 6), range(3, 6)] = mu
    return np.asfortranarray(c)


def numpy_plane_stress(stress, c):
    """Strain through the compliance, the condensed stiffness, its stress."""
    e = np.linalg.inv(c) @ stress
    q = c[np.ix_(IN_PLANE, IN_PLANE)] - np.outer(c[IN_PLANE, 2], c[2, IN_PLANE]) / c[2, 2]
    return q @ e[IN_PLANE], q


NODES = np.array([(-1, -1), (1, -1), (1, 1), (-1, 1), (0, -1), (1, 0), (0, 1), (-1, 0)], float)
U, V, W, TX, TY = (np.arange(8) * 5 + i for i in range(5))


def numpy_b_matrix(nshape, xy):
    """B from N and its ξ, η derivatives (columns 1-3 of nshape)."""
    jac = nshape[:, 1:3].T @ xy
    nx, ny = np.linalg.solve(jac, nshape[:, 1:3].T)
    n = nshape[:, 0]
    b = np.zeros((8, 40))
    b[0, U], b[1, V], b[2, U], b[2, V] = nx, ny, ny, nx
    b[3, TY], b[4, TX], b[5, TX], b[5, TY] = nx, -ny, -nx, ny
    b[6, W], b[6, TX], b[7, W], b[7, TY] = ny, -n, nx, n
    return b


def main():
    eh = _tavrin.elementhandling
    c, stress = isotropic(), np.array([100.0, 0.0, 50.0, 0.0, 0.0, 0.0])
    ours, ref = eh.getplanestressoutputfrom3d(stress, c), numpy_plane_stress(stress, c)
    np.testing.assert_allclose(ours[0], ref[0], rtol=1e-12)
    np.testing.assert_allclose(ours[1], ref[1], rtol=1e-12)

    x, y = NODES[:, 0], NODES[:, 1]
    xy = np.column_stack([1.3 * x + 0.2 * y + 0.1 * y * y, 0.1 * x + 0.9 * y - 0.15 * x * x])
    ncoords = np.asfortranarray(np.column_stack([xy, np.zeros(8)]).T)
    xi, eta = 0.2, -0.4
    nshape = eh.quad8shapefunmatrix(xi, eta)
    np.testing.assert_allclose(eh.shellbmatrix(ncoords, xi, eta), numpy_b_matrix(nshape, xy), rtol=1e-12,
                               atol=1e-15)

    times = per_call_ns({
        "ps": lambda: eh.getplanestressoutputfrom3d(stress, c),
        "ps_np": lambda: numpy_plane_stress(stress, c),
        "b": lambda: eh.shellbmatrix(ncoords, xi, eta),
        "b_np": lambda: numpy_b_matrix(nshape, xy),
    })
    print(f"  {'_tavrin getplanestressoutputfrom3d(stress3d, tangent3d)':58s} {times['ps']:8.0f} ns/call")
    print(f"  {'numpy: inv(C) @ s, condensed Q, Q @ e':58s} {times['ps_np']:8.0f} ns/call")
    print(f"  {'_tavrin shellbmatrix(ncoords, xi, eta), 8 nodes':58s} {times['b']:8.0f} ns/call")
    print(f"  {'numpy: Jacobian, solve, 8x40 fill from the same derivatives':58s} {times['b_np']:8.0f} ns/call")
    print(f"  numpy / _tavrin plane stress = {times['ps_np'] / times['ps']:.1f}x (target >= 10)")
    print(f"  numpy / _tavrin shell B-matrix = {times['b_np'] / times['b']:.1f}x (target >= 10)")


if __name__ == "__main__":
    main()
