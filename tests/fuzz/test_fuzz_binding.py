"""No call from Python crashes the interpreter: every routine of _tavrin,
called with hostile arguments, returns or raises _tavrin.error, MemoryError or
its call-back's exception; the process ends only on the paths made for it.

Budget: TAVRIN_FUZZ_EXAMPLES examples per routine (default 25) with seed
TAVRIN_FUZZ_SEED (default 20261206), so a failure reproduces.
TAVRIN_FUZZ_ONLY (comma-separated prefixes of qualified names, e.g.
"laminate.,math.bdsafe") limits the run to those routines.
"""
import concurrent.futures
import json
import os
import pathlib
import signal
import subprocess
import sys

import pytest

HERE = pathlib.Path(__file__).parent
sys.path.insert(0, str(HERE))
import fuzzlib  # noqa: E402

EXAMPLES = int(os.environ.get("TAVRIN_FUZZ_EXAMPLES", "25"))
SEED = int(os.environ.get("TAVRIN_FUZZ_SEED", "20261206"))
TIMEOUT = float(os.environ.get("TAVRIN_FUZZ_TIMEOUT", "150"))
ONLY = tuple(p for p in os.environ.get("TAVRIN_FUZZ_ONLY", "").split(",") if p)


def child_env():
    build = pathlib.Path(os.environ.get("TAVRIN_BUILD_DIR", HERE.parents[1] / "build")).resolve()
    env = dict(os.environ)
    paths = [str(build / "python")] + [str(pathlib.Path(p).resolve()) for p in
                                       env.get("PYTHONPATH", "").split(os.pathsep) if p]
    env["PYTHONPATH"] = os.pathsep.join(paths)
    return env


def fuzz_module(module_name, tmp_path, batch_size=12, examples=EXAMPLES):
    """Fuzzes every routine of `module_name`; returns the findings."""
    import importlib

    module = importlib.import_module(module_name)
    specs = fuzzlib.discover(module)
    if ONLY and module_name == "_tavrin":
        specs = [s for s in specs if s.qualname.startswith(ONLY)]
    batches = [specs[i:i + batch_size] for i in range(0, len(specs), batch_size)]

    def run_batch(index_batch):
        index, batch = index_batch
        log = tmp_path / f"{module_name}-{index}.log"
        cmd = [sys.executable, str(HERE / "fuzz_child.py"), module_name, str(log), str(examples),
               str(SEED)] + [s.qualname for s in batch]
        try:
            # A private working directory: files that routines create at
            # relative paths stay in it.
            workdir = tmp_path / f"{module_name}-{index}"
            workdir.mkdir(exist_ok=True)
            proc = subprocess.run(cmd, capture_output=True, text=True, timeout=TIMEOUT,
                                  env=child_env(), cwd=workdir)
            code = proc.returncode
            stderr = proc.stderr
        except subprocess.TimeoutExpired:
            code, stderr = None, "timed out"
        entries = [json.loads(l) for l in log.read_text().splitlines()] if log.exists() else []
        findings = [e for e in entries if e["kind"] == "finding"]
        done = bool(entries) and entries[-1]["kind"] == "done"
        if not done or code != 0:
            last = next((e for e in reversed(entries) if e["kind"] == "call"), None)
            how = ("timed out" if code is None else
                   f"killed by {signal.Signals(-code).name}" if code < 0 else f"exit status {code}")
            findings.append({"kind": "finding", "routine": last and last["routine"],
                             "args": last and last["args"],
                             "detail": f"child {how}: {stderr[-2000:]}"})
        return findings, len(batch)

    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count()) as pool:
        results = list(pool.map(run_batch, enumerate(batches)))
    findings = [f for fs, _ in results for f in fs]
    return findings, sum(n for _, n in results)


def report(findings):
    return "\n".join(f"{f['routine']}({f['args']}): {f['detail']}" for f in findings)


def test_every_routine_survives_hostile_arguments(tmp_path):
    findings, count = fuzz_module("_tavrin", tmp_path)
    fuzzlib.SUMMARY.append(f"fuzzed {count} routines of _tavrin, {EXAMPLES} examples each, seed {SEED}: "
                   f"{len(findings)} findings")
    assert count > 0
    assert not findings, report(findings)


def test_a_broken_descriptor_is_found(tmp_path):
    findings, count = fuzz_module("_tavrin_brokentable", tmp_path, examples=200)
    assert count == 1
    assert findings and findings[0]["routine"] == "brokentable.scribble", findings
