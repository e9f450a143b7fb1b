import pytest


@pytest.fixture(scope="session")
def et():
    import _tavrin_enginetest

    return _tavrin_enginetest.enginetest


@pytest.fixture(scope="session")
def eterror(et):
    try:
        et.iadd("x", 1)
    except Exception as e:  # noqa: BLE001
        return type(e)
    raise AssertionError("conversion did not fail")
