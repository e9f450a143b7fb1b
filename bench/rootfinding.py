"""Root finders through the binding beside scipy.optimize.brentq, in one run.

    .venv/bin/python bench/rootfinding.py [--seconds S]

Needs SciPy (bench/requirements.txt: `.venv/bin/python -m pip install -r
bench/requirements.txt`).  The root problem is x² - 2 = 0 (√2) to 1e-12:
bdsafe and nrsafe on the bracket [0, 2], fpsafe on Heron's iteration
x = (x + 2/x)/2 from 1, and brentq on [0, 2] with a Python function.  Each
solver runs with the function as
  - a C++ call-back (build/bench/bench_rootfinding, when built with
    -DTAVRIN_BUILD_BENCH=ON; its numbers are read from its JSON output),
  - a routine's _cpointer (the library calls the compiled function directly;
    the functions come from the engine's test module _tavrin_enginetest),
  - a Python callable that fills the writable 0-d arrays it is handed.
The solves take turns (bench/timing.py).  Per solve: the time of one call from Python (from C++ for the C++ rows); per
evaluation: that time over the number of function evaluations of the solve.
Targets per solve: _cpointer at least 2 times faster than brentq, a Python
call-back no more than 2 times brentq's time.
"""
import argparse
import json
import math
import pathlib
import subprocess
import sys

root = pathlib.Path(__file__).resolve().parents[1]
sys.path.insert(0, str(root / "build" / "python"))
sys.path.insert(0, str(root / "bench"))
import _tavrin  # noqa: E402
import timing  # noqa: E402
import _tavrin_enginetest  # noqa: E402  (compiled functions in the call-backs' shapes)
from scipy.optimize import brentq  # noqa: E402

XACC = 1e-12
SQRT2 = math.sqrt(2.0)


def counted(fn):
    """A wrapper of a Python function that counts its calls.  It takes as
    many positional arguments as fn: a call-back is handed only what it asks
    for."""
    calls = [0]
    arity = fn.__code__.co_argcount
    names = ", ".join(f"a{i}" for i in range(arity))
    scope = {"fn": fn, "calls": calls}
    exec(f"def wrapper({names}):\n    calls[0] += 1\n    return fn({names})", scope)
    return scope["wrapper"], calls


def parabola(f, d, x):
    f[...] = x * x - 2.0
    d[...] = 2.0 * x


def heron(xnew, fargs):
    xnew[...] = 0.5 * (fargs[0] + 2.0 / fargs[0])


def square_minus_two(x):
    return x * x - 2.0


def cpp_rows():
    """(name, µs per solve, evaluations) of the C++ benchmark, if built."""
    program = root / "build" / "bench" / "bench_rootfinding"
    if not program.exists():
        return {}
    out = subprocess.run([str(program), "--benchmark_format=json", "--benchmark_min_time=0.2"],
                         capture_output=True, text=True, check=True).stdout
    rows = {}
    for b in json.loads(out)["benchmarks"]:
        scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3}[b["time_unit"]]
        rows[b["name"].removesuffix("_cpp")] = (b["real_time"] * scale, b["evals"])
    return rows


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seconds", type=float, default=0.05, help="length of one timed round of a solver")
    seconds = parser.parse_args().seconds
    m = _tavrin.math
    native = _tavrin_enginetest.enginetest
    solvers = {
        "bdsafe": lambda cb: m.bdsafe(cb, 0.0, 2.0, [2.0], XACC, 100, 0),
        "nrsafe": lambda cb: m.nrsafe(cb, 0.0, 2.0, [2.0], XACC, 100, 0),
        "fpsafe": lambda cb: m.fpsafe(cb, 1.0, [1.0, 2.0], XACC, 100, 0),
    }
    callbacks = {"bdsafe": (native.parabola, parabola), "nrsafe": (native.parabola, parabola),
                 "fpsafe": (native.heron, heron)}
    cpp = cpp_rows()

    fns, evaluations = {}, {}  # label -> solve, evaluations per solve
    for name, solve in solvers.items():
        capsule, python = callbacks[name]
        probe, calls = counted(python)
        value, istat = solve(probe)
        assert abs(value - SQRT2) < 1e-12 and istat == 0, (name, value, istat)
        pointer = capsule._cpointer
        assert abs(solve(pointer)[0] - SQRT2) < 1e-12
        fns[f"{name}, _cpointer"] = lambda solve=solve, pointer=pointer: solve(pointer)
        fns[f"{name}, Python callable"] = lambda solve=solve, python=python: solve(python)
        evaluations[name] = calls[0]
    probe, calls = counted(square_minus_two)
    assert abs(brentq(probe, 0.0, 2.0, xtol=XACC) - SQRT2) < 1e-12
    brent = "scipy.optimize.brentq, Python function"
    fns[brent] = lambda: brentq(square_minus_two, 0.0, 2.0, xtol=XACC)
    evaluations[brent] = calls[0]
    # The solves take turns; µs per solve.
    timed = {label: t * 1e6 for label, t in timing.per_call(fns, seconds=seconds).items()}
    theirs = timed[brent]
    rows = []  # (label, µs per solve, evaluations)
    for name in solvers:
        if name in cpp:
            rows.append((f"{name}, C++ call-back", *cpp[name]))
        for kind in ("_cpointer", "Python callable"):
            rows.append((f"{name}, {kind}", timed[f"{name}, {kind}"], evaluations[name]))
    rows.append((brent, theirs, evaluations[brent]))

    print(f"x² - 2 = 0 to {XACC:g}; SciPy {__import__('scipy').__version__}")
    print(f"  {'solver, function':40s} {'per solve':>11s} {'evals':>6s} {'per eval':>10s} "
          f"{'brentq / this':>14s}")
    for label, us, evals in rows:
        print(f"  {label:40s} {us:8.3f} us {evals:6.0f} {us / evals * 1e3:7.0f} ns "
              f"{theirs / us:13.2f}x")
    by_label = {label: us for label, us, _ in rows}
    print("targets per solve:")
    for name in solvers:
        fast = theirs / by_label[f"{name}, _cpointer"]
        slow = by_label[f"{name}, Python callable"] / theirs
        print(f"  {name}: _cpointer {fast:.1f} times faster than brentq (target >= 2: "
              f"{'met' if fast >= 2 else 'MISSED'}); Python call-back {slow:.2f} times "
              f"brentq's time (target <= 2: {'met' if slow <= 2 else 'MISSED'})")


if __name__ == "__main__":
    main()
