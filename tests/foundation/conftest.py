"""Fixtures of the foundation's Python tests."""
import pytest


@pytest.fixture
def m(tv):
    """Module math, with the first-error latch cleared before and after."""
    tv.errorhandling.rsxerr(True)
    yield tv.math
    tv.errorhandling.rsxerr(True)


@pytest.fixture
def latched(tv):
    """A function that reads the latch: (status, message)."""
    eh = tv.errorhandling
    return lambda: (int(eh.errstat), eh.errstring.tobytes().decode().rstrip())
