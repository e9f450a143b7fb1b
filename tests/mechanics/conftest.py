"""Fixtures of the mechanics' Python tests: a cleared latch, its reader, a carbon-epoxy ply."""
import numpy as np
import pytest


@pytest.fixture(autouse=True)
def clean_latch(tv):
    tv.errorhandling.rsxerr(True)
    yield
    tv.errorhandling.rsxerr(True)


@pytest.fixture
def latched(tv):
    # Reads the latch: (status, message).
    eh = tv.errorhandling
    return lambda: (int(eh.errstat), eh.errstring.tobytes().decode().rstrip())


@pytest.fixture
def carbon():
    # E1, E2, E3, ν12, ν13, ν23, G12, G13, G23 of a carbon-epoxy ply (MPa).
    return np.array([140.0e3, 10.0e3, 9.5e3, 0.3, 0.28, 0.45, 5.0e3, 4.8e3, 3.4e3])
