"""Helpers of the solver-coupling tests: the arguments of a UMAT call and the
tangent checker."""
import numpy as np

EYE = np.eye(3, order="F")


def umat_args(props, dstran, ntens=6, nstatv=8, stran=None, statev=None, jstep=1, ndi=None):
    """The Python arguments of a UMAT entry (umat_lamina's call line)."""
    ndi = ndi or (2 if ntens == 3 else 3)
    z = np.zeros(ntens)
    return [z, np.zeros(nstatv) if statev is None else statev, 0.0, 0.0, 0.0, 0.0, z, z, 0.0,
            z if stran is None else np.asarray(stran, float), np.asarray(dstran, float), [0.0, 0.0], 0.1,
            20.0, 0.0, 0.0, 0.0, "PLY", ndi, ntens - ndi, props, [0.0] * 3, EYE, 1.0, 1.0, EYE, EYE, 1, 1,
            1, 1, [jstep, 1, 0, 0], 1]


def assert_tangent(stress_of, strain, tangent, rtol=1e-7):
    """tangent(:, j) against the central difference of stress_of at strain in
    component j, with a step scaled to the strain; names the worst entry."""
    strain = np.asarray(strain, float)
    h = 1e-6 * max(np.abs(strain).max(), 1e-3)
    numeric = np.empty_like(tangent)
    for j in range(strain.size):
        e = np.zeros_like(strain)
        e[j] = h
        numeric[:, j] = (stress_of(strain + e) - stress_of(strain - e)) / (2 * h)
    scale = np.abs(tangent).max()
    worst = np.unravel_index(np.abs(numeric - tangent).argmax(), tangent.shape)
    assert np.abs(numeric - tangent).max() <= rtol * scale, (
        f"tangent{worst} = {tangent[worst]}, central difference {numeric[worst]}")
