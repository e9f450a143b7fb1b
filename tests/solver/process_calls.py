"""Calls of the UMAT-convention routines of module toplevel with the host
data they do not read filled in, and the shared tables they read saved and
restored around a test."""
import contextlib

import numpy as np

HUGE = np.finfo(float).max


def umat(routine, stress, state, props, dstran, stran=None, time=(0.0, 0.0), dtime=1.0, temp=293.15, name="MAT",
         noel=1, jstep=(1, 0, 0, 0), kinc=2, ndi=3, **kw):
    """routine(...) in the Python call form of the UMAT convention; returns its results."""
    n = len(stress)
    stran = np.zeros(n) if stran is None else np.asarray(stran, float)
    return routine(stress, state, 0.0, 0.0, 0.0, 0.0, np.zeros(n), np.zeros(n), 0.0, stran,
                   np.asarray(dstran, float), np.asarray(time, float), dtime, temp, 0.0, [0.0], [0.0], name, ndi,
                   n - ndi, np.asarray(props, float), np.zeros(3), np.eye(3), 1.0, 1.0, np.eye(3), np.eye(3), noel, 1,
                   1, 1, np.asarray(jstep, np.int32), kinc, **kw)


@contextlib.contextmanager
def shared(tv, **tables):
    """Sets module variables ('materialdata.modelid': 1, ...) and restores them afterwards."""
    saved = {}
    try:
        for qualified, value in tables.items():
            mod, var = qualified.split("__")
            module = getattr(tv, mod)
            old = getattr(module, var)
            saved[(module, var)] = old.copy() if isinstance(old, np.ndarray) else old
            setattr(module, var, value)
        yield
    finally:
        for (module, var), value in saved.items():
            setattr(module, var, value)


ANSYS = [0, 1, 2, 3, 5, 4]  # ANSYS order 11, 22, 33, 12, 23, 13 from the solver order


def usermat(routine, stress, state, props, dstran, stran, time=1.0, dtime=1.0, temp=293.15, isubst=2):
    """routine(...) in the Python call form of the ANSYS USERMAT convention, six components given and
    returned in the solver order: (stress, state, tangent)."""
    stress = np.asarray(stress, float)[ANSYS].copy()
    state = np.array(state, float)
    scalars = [np.array(0.0) for _ in range(12)]  # sedel, sedpl, epseq, var0 .. var8
    _, dsdepl, _ = routine(1, 1, 1, 1, 1, 1, isubst, 3, 3, time, dtime, temp, 0.0, stress, state, *scalars[:3],
                           np.asarray(stran, float)[ANSYS], np.asarray(dstran, float)[ANSYS], np.zeros(6),
                           np.asarray(props, float), np.zeros(3), scalars[3], np.eye(3), np.eye(3), np.zeros(2),
                           *scalars[4:])
    back = np.argsort(ANSYS)
    return stress[back], state, dsdepl[np.ix_(back, back)]
