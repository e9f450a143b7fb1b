"""Side-by-side timing shared by the Python benchmarks.

Measurements take turns: one round of each function (ours, the reference,
ours, ...), several rounds, and the least time per call of each, so that a
slow spell of a shared machine favours neither side.  A reference that calls
NumPy's threaded BLAS (matrix products, LAPACK) is timed twice, with BLAS's
default threads and on one thread: the thread count is fixed when NumPy
loads, so the one-thread figures come from a second run of the script with
OPENBLAS_NUM_THREADS=1 (and its OpenMP and MKL siblings).
"""
import os
import subprocess
import sys
import timeit

ONE_THREAD = {"OPENBLAS_NUM_THREADS": "1", "OMP_NUM_THREADS": "1", "MKL_NUM_THREADS": "1"}


def per_call(fns, seconds=0.05, rounds=7):
    """The least seconds per call of each function of `fns` (name ->
    callable without arguments) over `rounds` rounds that take turns, each
    call of a round repeated to last about `seconds`."""
    numbers = {k: max(1, int(seconds / max(timeit.timeit(f, number=3) / 3, 1e-9))) for k, f in fns.items()}
    best = {k: float("inf") for k in fns}
    for _ in range(rounds):
        for k, f in fns.items():
            best[k] = min(best[k], timeit.timeit(f, number=numbers[k]) / numbers[k])
    return best


def one_blas_thread():
    """Whether NumPy's BLAS runs on one thread in this process."""
    return os.environ.get("OPENBLAS_NUM_THREADS") == "1"


def blas_label():
    return "NumPy's BLAS on one thread" if one_blas_thread() else "NumPy's BLAS with its default threads"


def rerun_on_one_blas_thread():
    """Runs this script once more with NumPy's BLAS on one thread, unless
    this run already is one."""
    if one_blas_thread():
        return
    sys.stdout.flush()
    subprocess.run([sys.executable, *sys.argv], env={**os.environ, **ONE_THREAD}, check=True)
