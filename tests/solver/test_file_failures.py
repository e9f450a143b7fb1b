"""Files the solver coupling reads and writes.  A file that exists but cannot
be read is latched (-3, naming it) and never passed over for another one; a
missing file keeps its fallback.  A write that fails is latched (-2), never
taken for written.  Every case runs in a forked child: a user without the
file's permission, a file-size limit."""
import errno
import os
import pathlib
import resource
import shutil
import tempfile

import numpy as np
import pytest

REASONS = {"mode": errno.EACCES, "mem": errno.EIO, "loop": errno.ELOOP}
MODULES = ("jobdata", "debugdata", "materialdata", "sectiondata", "nodaldata", "elementdata", "impactdata",
           "loaddata", "damagedata", "bukdata", "shokriehdata")


def shared_state(tv):
    """Every variable of the data modules, copied."""
    out = {}
    for name in MODULES:
        m = getattr(tv, name)
        for v in dir(m):
            a = getattr(m, v)
            if a is None or isinstance(a, np.ndarray):
                out[f"{name}.{v}"] = None if a is None else (a.shape, a.tobytes())
    return out


def make_unreadable(path, how):
    """The file at `path` made unreadable, in this (child) process: 'mode' takes
    the read permission and drops root (which ignores it), 'mem' makes it a
    link to /proc/self/mem (a read fails with EIO), 'loop' a link to itself."""
    if how == "mode":
        os.chmod(path, 0)
        if os.geteuid() == 0:
            os.setgid(65534)
            os.setuid(65534)
    else:
        os.remove(path)
        os.symlink("/proc/self/mem" if how == "mem" else path.name, path)


def latch(tv):
    eh = tv.errorhandling
    code = int(eh.errstat)
    if not code:
        return 0, "", None, None
    return (code, eh.errstring.tobytes().decode().rstrip(), eh.errintv.tolist(),
            bytes(eh.errasciim.ravel().tolist()))


def unreadable_failure(how, path):
    return -3, f"Error: Cannot read {path.name}: {os.strerror(REASONS[how])}", [REASONS[how]], bytes(path)


@pytest.fixture
def open_dir():
    """A folder every user may read (the child may drop root)."""
    d = pathlib.Path(tempfile.mkdtemp(prefix="tavrin-files-"))
    d.chmod(0o755)
    yield d
    shutil.rmtree(d)


def put(folder, name, text):
    (folder / name).unlink(missing_ok=True)  # never written through a link a test made
    (folder / name).write_text(text)
    os.chmod(folder / name, 0o644)
    return folder / name


CARDS = {
    "StepCard": ("++Begin Step, STEPID=1\n+Debug, TYPE=ELEMENT\n{}\n++End Step\n",
                 lambda tv, deck, d: tv.iohandling.getstepdatafromfile(deck, d, 1)),
    "SectionCard": ("++Begin Section, SECID={}\n+Orientation\n0 90 90 0\n+Thickness\n2.0\n++End Section\n",
                    lambda tv, deck, d: tv.iohandling.getsectiondatafromfile(deck, d)),
    "MaterialCard": ("++Begin Material, MATID=1\n+Elastic\n{}, 0.3\n++End Material\n",
                     lambda tv, deck, d: tv.iohandling.getmaterialdatafromfile(deck, d, 1, 1)),
    "DamageCard": ("++Begin Damage, DMGID=1\n+Position\n{} 2 3\n++End Damage\n",
                   lambda tv, deck, d: tv.iohandling.getdamagedatafromfile(deck, d, 1, 1)),
}


@pytest.mark.parametrize("how", REASONS)
@pytest.mark.parametrize("card", CARDS)
def test_an_unreadable_card_is_not_passed_over_for_the_deck(fresh, forked, open_dir, card, how):
    tv = fresh
    text, read = CARDS[card]
    path = put(open_dir, card + ".tvr", text.format(7))
    deck = put(open_dir, "job.inp", text.format(1))
    tv.materialdata.matidlist = [[1]]

    def run():
        before = shared_state(tv)
        make_unreadable(path, how)
        read(tv, str(deck), str(open_dir))
        return latch(tv), [k for k, v in shared_state(tv).items() if v != before[k]]

    assert forked(run) == (unreadable_failure(how, path), [])
    # The card missing, the deck is read in its place; the deck unreadable is
    # latched too.
    path.unlink()
    assert forked(lambda: (read(tv, str(deck), str(open_dir)), latch(tv))[1]) == (0, "", None, None)
    assert forked(lambda: (make_unreadable(deck, how), read(tv, str(deck), str(open_dir)),
                           latch(tv))[2]) == unreadable_failure(how, deck)


def uext(tv, lop, kstep=0, kinc=0):
    tv.toplevel.uexternaldb_iocontrol(lop, 0, [0.0, 0.0], 0.0, kstep, kinc)


@pytest.mark.parametrize("how", REASONS)
def test_job_control_latches_an_unreadable_file_and_keeps_its_tables(fresh, forked, open_dir, how):
    tv = fresh
    tv.jobdata.jobfilepath, tv.jobdata.joboutdir = str(open_dir / "job"), str(open_dir)
    # A deck .pes that cannot be read is not passed over for an older .inp.
    pes = put(open_dir, "job.pes", "*Step, name=a, TVR_IMPACT\n*Step, name=b, TVR_IMPACT\n")
    put(open_dir, "job.inp", "*Step, name=old\n")

    def start():
        make_unreadable(pes, how)
        uext(tv, 0)
        return latch(tv), tv.jobdata.stepid
    assert forked(start) == (unreadable_failure(how, pes), None)
    pes.unlink()

    # A step card that cannot be read leaves the debug settings and cycle
    # tables as they were.
    card = ("++Begin Step, STEPID=1\n+Debug, TYPE=ELEMENT\n44\n+Cycle, TYPE=GENERAL\n0 1 3 5 0 2 1 1 1 10\n"
            "+Cycle, TYPE=INDIVIDUAL\n1 7\n++End Step\n")
    step = put(open_dir, "StepCard.tvr", card)
    put(open_dir, "job.inp", "*Step, name=a, TVR_FATIGUE\n")

    def start_with_step_card():
        make_unreadable(step, how)
        uext(tv, 0)
        return latch(tv), int(tv.debugdata.edebug), tv.shokriehdata.cycleprops
    assert forked(start_with_step_card) == (unreadable_failure(how, step), 0, None)

    # A message file that cannot be read leaves the cycle count as it is
    # (missing, the count becomes at least 1).
    put(open_dir, "StepCard.tvr", card)
    msg = put(open_dir, "job.msg", "CYCLE 1250\n")
    uext(tv, 0)
    assert tv.shokriehdata.cycleprops[3, 0] == 5.0 and latch(tv)[0] == 0

    def increment():
        tv.shokriehdata.cycles[1, 0] = 0.5
        make_unreadable(msg, how)
        uext(tv, 1, kstep=1, kinc=1)
        return latch(tv), float(tv.shokriehdata.cycles[1, 0])
    assert forked(increment) == (unreadable_failure(how, msg), 0.5)
    msg.unlink()
    tv.shokriehdata.cycles[1, 0] = 0.5
    uext(tv, 1, kstep=1, kinc=1)
    assert tv.shokriehdata.cycles[1, 0] == 1.0 and latch(tv)[0] == 0


@pytest.mark.parametrize("how", REASONS)
def test_an_unreadable_data_file_keeps_the_model(fresh, forked, open_dir, how):
    tv = fresh
    model = ("E L E M E N T   D E F I N I T I O N S\n 1 S4R 1 1 2 3 4\n"
             "N O D E   D E F I N I T I O N S\n 1 {} 0 0\n")
    tv.iohandling.getabqdatafromfile(str(put(open_dir, "a.dat", model.format(1.5))))
    path = put(open_dir, "b.dat", model.format(2.5))

    def read():
        before = shared_state(tv)
        make_unreadable(path, how)
        tv.iohandling.getabqdatafromfile(str(path))
        return latch(tv), [k for k, v in shared_state(tv).items() if v != before[k]]
    assert forked(read) == ((-3, "Error: Cannot open the solver data file (.dat) of the analysis.",
                             [REASONS[how]], bytes(path)), [])


# Writes beyond a file-size limit fail as on a full disk (Python ignores
# SIGXFSZ, so the write returns EFBIG).
LIMIT = 1024


def limited(fn):
    def run():
        resource.setrlimit(resource.RLIMIT_FSIZE, (LIMIT, LIMIT))
        return fn()
    return run


def test_a_report_line_that_cannot_be_written_is_latched(fresh, forked, tmp_path):
    tv = fresh
    report = tmp_path / "rep.txt"
    tv.jobdata.jobfilepath = str(tmp_path / "job")
    tv.jobdata.stepid, tv.jobdata.nsteps = np.zeros(1, np.int32), 1
    direct = lambda i: tv.iohandling.getgausspointreport(str(report), [1.0, 2.0, 3.0], i, 1)
    hook = lambda i: tv.toplevel.uvarm_report(np.zeros(1), np.eye(3), np.eye(3), [0.0, 0.0], 0.1, "M", "O", i, 1,
                                              1, 1, 1, 1, 3, 3, [1.0, 2.0, 3.0], np.zeros(1, np.int32),
                                              np.zeros(1, np.int32), 0, 0)
    line = 16 + 3 * 25 + 1
    for call, path in ((direct, report), (hook, tmp_path / "job.rst")):
        def calls():
            statuses = []
            for i in range(1, 200):
                call(i)
                statuses.append(latch(tv))
                tv.errorhandling.rsxerr(True)
            return statuses
        statuses = forked(limited(calls))
        failed = (-2, f"Error: Cannot write the Gauss-point report {path.name}: {os.strerror(errno.EFBIG)}",
                  [errno.EFBIG], bytes(path))
        # The header and ten lines fit in the limit; every later call fails.
        fit = LIMIT // line - 1
        assert statuses == [(0, "", None, None)] * fit + [failed] * (199 - fit)
    # Every failed open latches once the latch is cleared (no flag kept).
    tv.jobdata.jobfilepath = str(tmp_path / "missing" / "job")
    for _ in range(3):
        hook(1)
        assert latch(tv)[0] == -2
        tv.errorhandling.rsxerr(True)
    tv.jobdata.jobfilepath, tv.jobdata.stepid, tv.jobdata.nsteps = "", None, 0
