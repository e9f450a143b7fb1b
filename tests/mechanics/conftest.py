"""Fixtures of the mechanics' Python tests: every test starts and ends with
the first-error latch cleared."""
import pytest


@pytest.fixture(autouse=True)
def clean_latch(tv):
    tv.errorhandling.rsxerr(True)
    yield
    tv.errorhandling.rsxerr(True)


@pytest.fixture
def latched(tv):
    """A function that reads the latch: (status, message)."""
    eh = tv.errorhandling
    return lambda: (int(eh.errstat), eh.errstring.tobytes().decode().rstrip())
