"""Shared fixtures: the extension modules of the build tree, and a runner for
code that must run in a child process (paths that end the process)."""
import os
import pathlib
import pickle
import subprocess
import sys

import pytest

ROOT = pathlib.Path(__file__).resolve().parents[1]
BUILD_PYTHON = pathlib.Path(os.environ.get("TAVRIN_BUILD_DIR", ROOT / "build")) / "python"
if str(BUILD_PYTHON) not in sys.path and BUILD_PYTHON.is_dir():
    sys.path.insert(0, str(BUILD_PYTHON))


@pytest.fixture(scope="session")
def tv():
    import _tavrin

    return _tavrin


@pytest.fixture(scope="session")
def error(tv):
    """The class of _tavrin.error (it is not an attribute of the module)."""
    try:
        tv.datahandling.allocatedamagedata("not a number", 1, 1)
    except Exception as e:  # noqa: BLE001 - the point is to catch it
        return type(e)
    raise AssertionError("conversion did not fail")


@pytest.fixture
def clean_latch(tv):
    """A cleared first-error latch around the test."""
    tv.errorhandling.rsxerr(True)
    yield
    tv.errorhandling.rsxerr(True)


@pytest.fixture
def latched(tv):
    """Reads the latch: (status, message)."""
    eh = tv.errorhandling
    return lambda: (int(eh.errstat), eh.errstring.tobytes().decode().rstrip())


def run_python(code, env_extra=None):
    """Runs `code` in a child interpreter that sees the build tree."""
    env = dict(os.environ)
    env["PYTHONPATH"] = os.pathsep.join([str(BUILD_PYTHON), env.get("PYTHONPATH", "")])
    env.update(env_extra or {})
    return subprocess.run([sys.executable, "-c", code], capture_output=True, text=True, env=env,
                          timeout=120)


@pytest.fixture(scope="session")
def child():
    return run_python


def run_forked(fn):
    """fn() in a forked child, its result pickled back: a limit set or a user
    dropped there ends with it.  An exception in the child fails the test."""
    read_end, write_end = os.pipe()
    pid = os.fork()
    if pid == 0:
        os.close(read_end)
        try:
            out = ("ok", fn())
        except BaseException as e:  # noqa: BLE001 - reported to the parent
            out = ("raised", repr(e))
        with os.fdopen(write_end, "wb") as f:
            pickle.dump(out, f)
        os._exit(0)
    os.close(write_end)
    with os.fdopen(read_end, "rb") as f:
        data = f.read()
    _, code = os.waitpid(pid, 0)
    assert data, f"the child ended with wait status {code} before it answered"
    kind, value = pickle.loads(data)
    assert kind == "ok", f"the child raised {value}"
    return value


@pytest.fixture(scope="session")
def forked():
    return run_forked
