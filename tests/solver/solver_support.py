"""Helpers of the solver-coupling tests: the arguments of a UMAT call, the
tangent checker, and children whose address space is capped around a read
of a large data file."""
import numpy as np
import pytest

EYE = np.eye(3, order="F")


def umat_args(props, dstran, ntens=6, nstatv=8, stran=None, statev=None, jstep=1, ndi=None):
    """The Python arguments of a UMAT entry (umat_lamina's call line)."""
    ndi = ndi or (2 if ntens == 3 else 3)
    z = np.zeros(ntens)
    return [z, np.zeros(nstatv) if statev is None else statev, 0.0, 0.0, 0.0, 0.0, z, z, 0.0,
            z if stran is None else np.asarray(stran, float), np.asarray(dstran, float), [0.0, 0.0], 0.1,
            20.0, 0.0, 0.0, 0.0, "PLY", ndi, ntens - ndi, props, [0.0] * 3, EYE, 1.0, 1.0, EYE, EYE, 1, 1,
            1, 1, [jstep, 1, 0, 0], 1]


def assert_tangent(stress_of, strain, tangent, rtol=1e-7):
    """tangent(:, j) against the central difference of stress_of at strain in
    component j, with a step scaled to the strain; names the worst entry."""
    strain = np.asarray(strain, float)
    h = 1e-6 * max(np.abs(strain).max(), 1e-3)
    numeric = np.empty_like(tangent)
    for j in range(strain.size):
        e = np.zeros_like(strain)
        e[j] = h
        numeric[:, j] = (stress_of(strain + e) - stress_of(strain - e)) / (2 * h)
    scale = np.abs(tangent).max()
    worst = np.unravel_index(np.abs(numeric - tangent).argmax(), tangent.shape)
    assert np.abs(numeric - tangent).max() <= rtol * scale, (
        f"tangent{worst} = {tangent[worst]}, central difference {numeric[worst]}")


# Children whose address space is capped some MiB (`extra`) above its size.
CAPPED_PRELUDE = r"""
import hashlib, json, os, pathlib, resource, sys
import numpy as np
import _tavrin as tv
job = pathlib.Path(sys.argv[1])
tv.jobdata.jobfilepath, tv.jobdata.joboutdir = str(job / "job"), str(job)

def capped(call, extra):
    tv.errorhandling.rsxerr(True)
    size = int(next(l for l in open("/proc/self/status") if l.startswith("VmSize")).split()[1]) * 1024
    if not os.environ.get("TAVRIN_FUZZ_ASAN"):
        resource.setrlimit(resource.RLIMIT_AS, (size + extra * 2**20, resource.RLIM_INFINITY))
    call()
    resource.setrlimit(resource.RLIMIT_AS, (resource.RLIM_INFINITY, resource.RLIM_INFINITY))
    return int(tv.errorhandling.errstat), tv.errorhandling.errstring.tobytes().decode().rstrip()

def vext(k, kstep=0):
    tv.toplevel.vexternaldb_iocontrol(k, [0, 0, kstep, 0, 0, 0], [0.0] * 3, mpi_rank=0)
"""

# A data file read again in a capped child.  argv: the job directory, "views"
# or "none", the cap's offset in MiB, the first model's file, and "start"
# (the explicit start-up, which reads job.dat) or "read" (job.dat read
# directly).  The first model's tables are marked (7), so that a table
# zeroed or refilled by the second read cannot pass for the one found; a
# view of two of them is held on request.  Prints the latch, the arrays and
# counts that are neither absent nor as they were, and the element and
# nodal arrays unlike those of an uncapped read into a freed state.
REREAD_CHILD = CAPPED_PRELUDE + r"""
hold, offset, first, call = sys.argv[2] == "views", int(sys.argv[3]), sys.argv[4], sys.argv[5]
MODULES = ("jobdata", "debugdata", "materialdata", "sectiondata", "nodaldata", "elementdata", "impactdata",
           "loaddata", "damagedata", "bukdata", "shokriehdata")

def digest(a):
    return [a.shape, hashlib.sha1(np.ascontiguousarray(a.T)).hexdigest()]

def state():
    out = {}
    for name in MODULES:
        for v in dir(getattr(tv, name)):
            a = getattr(getattr(tv, name), v)
            if a is None or isinstance(a, np.ndarray):
                out[name + "." + v] = a if a is None else digest(a)
    return out

def read(name, mark):
    tv.toplevel.uaccess_iocontrol(3, 0.0)
    tv.iohandling.getabqdatafromfile(str(job / name))
    for m in (tv.elementdata, tv.nodaldata, tv.sectiondata):
        for v in dir(m):
            if mark and isinstance(getattr(m, v), np.ndarray) and getattr(m, v).ndim:
                getattr(m, v)[...] = 7

read(first, True)
held = [tv.elementdata.elemlist, tv.nodaldata.nodesmotion] if hold else []
views, before = [digest(h) for h in held], state()
second = (lambda: vext(0)) if call == "start" else lambda: tv.iohandling.getabqdatafromfile(str(job / "job.dat"))
status, message = capped(second, offset)
after = state()
read("job.dat", False)  # a whole read, for a call that finished
whole = state()
tables = ("elementdata.", "nodaldata.", "sectiondata.nsectionpoints")
print(json.dumps({"status": status, "message": message,
                  "changed": [k for k in before if after[k] is not None and after[k] != before[k]],
                  "unlike_whole": [k for k in whole if k.startswith(tables) and after[k] != whole[k]],
                  "views_kept": [digest(h) for h in held] == views}))
"""

ELEMENT_TITLE = "                            E L E M E N T   D E F I N I T I O N S"
NODE_TITLE = "                            N O D E   D E F I N I T I O N S"


def grid_data_file(path, side):
    """A data file of side² four-node shells on a square grid."""
    rows = side + 1
    e = np.arange(side * side)
    n1 = 1 + e % side + rows * (e // side)
    lines = ["", ELEMENT_TITLE, ""]
    lines += [f"{k:11d} S4R         1{a:11d}{a + 1:11d}{a + rows + 1:11d}{a + rows:11d}" for k, a in enumerate(n1, 1)]
    lines += ["", NODE_TITLE, ""]
    lines += [f"{k + 1:11d}  {k % rows * 0.5:14.6E}  {k // rows * 0.5:14.6E}  {0.0:14.6E}" for k in range(rows**2)]
    path.write_text("\n".join(lines) + "\n")


def run_child(script, tmp_path, *args, env_extra=()):
    import os
    import subprocess
    import sys
    import _tavrin
    env = dict(os.environ, OPENBLAS_NUM_THREADS="1", PYTHONPATH=os.path.dirname(_tavrin.__file__), **dict(env_extra))
    run = subprocess.run([sys.executable, "-c", script, str(tmp_path), *args], capture_output=True, text=True,
                         env=env, timeout=300)
    assert run.returncode == 0, run.stderr[-2000:]
    return run.stdout.splitlines()


def capped_rereads(tmp_path, hold, offsets, first, mode, entry, env_extra=(), workers=3):
    """REREAD_CHILD at each cap offset (MiB), in parallel children.  After a
    -3 (memory run out, latched for `entry` or naming a table) nothing the
    model held changed and the views held kept their values; a read that
    finished equals a whole read.  Returns the runs' statuses and the
    distinct messages of the -3s."""
    import json
    import re
    from concurrent.futures import ThreadPoolExecutor
    with ThreadPoolExecutor(workers) as pool:
        runs = list(pool.map(lambda o: json.loads(run_child(REREAD_CHILD, tmp_path, hold, str(o), first, mode,
                                                            env_extra=env_extra)[-1]), offsets))
    for offset, r in zip(offsets, runs):
        assert r["views_kept"], (offset, r)
        if r["status"] == -3:
            assert re.fullmatch(rf"Out of memory (allocating \w+::\w+ \([\d, ]+\)|in {entry})", r["message"]), (offset, r)
            assert r["changed"] == [], (offset, r)
        else:
            assert (r["status"], r["unlike_whole"]) == (0, []), (offset, r)
    return [r["status"] for r in runs], {r["message"] for r in runs if r["status"] == -3}


no_cap = pytest.mark.skipif(bool(__import__("os").environ.get("TAVRIN_FUZZ_ASAN")),
                            reason="no address-space cap under AddressSanitizer, nor mapped tables")
