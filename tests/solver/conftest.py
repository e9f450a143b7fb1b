"""Fixtures of the solver-coupling tests: a cleared latch around every test,
a clean shared state and card files written into a temporary job directory."""
import textwrap

import pytest

NOT_GIVEN = 1.7976931348623157e308
EMPTY = 2147483647


@pytest.fixture(autouse=True)
def cleared(clean_latch):
    yield


@pytest.fixture
def fresh(tv):
    """The shared state freed, the scalars of a new process, a clear latch."""
    tv.toplevel.uaccess_iocontrol(3, 0.0)
    for module, name, value in [("sectiondata", "nsec", 1), ("sectiondata", "nplies", 1),
                                ("loaddata", "nimp", 0), ("damagedata", "ndmg", 0),
                                ("debugdata", "nupdate", 1), ("debugdata", "edebug", 0),
                                ("jobdata", "nsteps", 0), ("jobdata", "stepcount", 0),
                                ("elementdata", "nelem", 0)]:
        setattr(getattr(tv, module), name, value)
    for name in ("temperatures", "i10", "r_crit", "regularization"):
        setattr(tv.materialdata, name, None)
    tv.damagedata.userdds = None
    tv.jobdata.jobfilepath = ""
    tv.jobdata.joboutdir = ""
    tv.errorhandling.rsxerr(True)
    yield tv
    tv.toplevel.uaccess_iocontrol(3, 0.0)
    tv.errorhandling.rsxerr(True)


@pytest.fixture
def write(tmp_path):
    """write(name, text): a file of the job directory, text dedented."""
    def _write(name, text, newline="\n"):
        path = tmp_path / name
        path.write_bytes(textwrap.dedent(text).lstrip("\n").replace("\n", newline).encode("latin-1"))
        return path
    return _write


@pytest.fixture
def job(fresh, tmp_path):
    """The module, with the job paths set to <tmp>/job and <tmp>."""
    fresh.jobdata.jobfilepath = str(tmp_path / "job")
    fresh.jobdata.joboutdir = str(tmp_path)
    return fresh
