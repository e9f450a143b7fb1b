"""Fixtures of the solver-coupling tests: a cleared latch around every test."""
import pytest


@pytest.fixture(autouse=True)
def cleared(clean_latch):
    yield
