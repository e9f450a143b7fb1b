"""Fixtures of the mechanics' Python tests: a cleared latch around every test, a carbon-epoxy ply."""
import numpy as np
import pytest


@pytest.fixture(autouse=True)
def cleared(clean_latch):
    yield


@pytest.fixture
def carbon():
    # E1, E2, E3, ν12, ν13, ν23, G12, G13, G23 of a carbon-epoxy ply (MPa).
    return np.array([140.0e3, 10.0e3, 9.5e3, 0.3, 0.28, 0.45, 5.0e3, 4.8e3, 3.4e3])
