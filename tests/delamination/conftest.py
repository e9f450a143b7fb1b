"""Fixtures of the delamination tests: a cleared latch and its reader."""
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
