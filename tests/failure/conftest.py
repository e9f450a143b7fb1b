"""Fixtures of the failure criteria's Python tests: a cleared latch around every test."""
import pytest


@pytest.fixture(autouse=True)
def cleared(clean_latch):
    yield
