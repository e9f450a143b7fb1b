"""One batch of fuzzed calls, run in a child process by test_fuzz_binding.py.

    python fuzz_child.py MODULE LOG EXAMPLES SEED ROUTINE...

Before each call it appends the call to LOG (so the parent can name the call
that killed it); every disallowed outcome is appended as a finding.
"""
import importlib
import json
import os
import re
import resource
import sys

import numpy as np
from hypothesis import HealthCheck, given, seed, settings
from hypothesis import strategies as st

sys.path.insert(0, os.path.dirname(__file__))
import fuzzlib  # noqa: E402


def describe(args):
    def short(v):
        if isinstance(v, np.ndarray):
            return f"array(shape={v.shape}, dtype={v.dtype}, order={'F' if v.flags.f_contiguous else 'C'}, " \
                   f"values={np.array2string(v.ravel()[:6], threshold=6)})"
        if callable(v):
            return getattr(v, "__name__", type(v).__name__)
        r = repr(v)
        return r if len(r) < 80 else r[:77] + "..."
    return {k: short(v) for k, v in args.items()}


RELATION_ON_ARRAY = re.compile(r"^\((?:len|shape)\((\w+)[,)].* failed for ")


def tells_extent(text):
    """A violated relation on an array names the extent the call gave it."""
    m = RELATION_ON_ARRAY.match(text)
    if not m:
        return True
    name = m.group(1)
    return "received shape (" in text or f"len({name}) = " in text or f"shape({name}) = " in text


def main():
    module_name, log_path, examples, seed_value = sys.argv[1:5]
    routines = sys.argv[5:]
    if not os.environ.get("TAVRIN_FUZZ_ASAN"):
        # Huge extents must end in MemoryError, not in the machine's memory.
        limit = 3 << 30
        resource.setrlimit(resource.RLIMIT_AS, (limit, limit))
    module = importlib.import_module(module_name)
    specs = {s.qualname: s for s in fuzzlib.discover(module)}
    log = open(log_path, "a", buffering=1)

    def record(kind, spec, args, detail=""):
        log.write(json.dumps({"kind": kind, "routine": spec.qualname, "args": describe(args),
                              "detail": detail}) + "\n")
        log.flush()
        os.fsync(log.fileno())

    def allowed(exc):
        t = type(exc)
        return (isinstance(exc, (MemoryError, fuzzlib.CallbackBoom))
                or (t.__name__ == "error" and t.__module__ == module_name))

    for qualname in routines:
        spec = specs[qualname]
        routine = getattr(getattr(module, spec.module), spec.name)
        fatal = fuzzlib.FATAL_PATHS.get(qualname)

        @seed(int(seed_value))
        @settings(max_examples=int(examples), deadline=None, database=None, derandomize=False,
                  suppress_health_check=list(HealthCheck))
        @given(st.data())
        def run(data):
            args = fuzzlib.well_formed(spec, data.draw)
            args = fuzzlib.mutate(spec, args, data.draw, module)
            args = fuzzlib.confine_paths(spec, args)
            record("call", spec, args)
            if fatal:
                run_forked(spec, routine, args, fatal)
                return
            try:
                routine(**args)
            except Exception as exc:  # noqa: BLE001 - judged below
                if not allowed(exc):
                    record("finding", spec, args, f"{type(exc).__module__}.{type(exc).__name__}: {exc}")
                elif not tells_extent(str(exc)):
                    record("finding", spec, args, f"relation text without the extent received: {exc}")

        def run_forked(spec, routine, args, fatal):
            read_end, write_end = os.pipe()
            sys.stdout.flush()
            pid = os.fork()
            if pid == 0:
                os.close(read_end)
                os.dup2(write_end, 1)
                try:
                    routine(**args)
                except Exception as exc:  # noqa: BLE001
                    if not allowed(exc):
                        os._exit(3)
                sys.stdout.flush()
                os._exit(0)
            os.close(write_end)
            with os.fdopen(read_end, "rb") as f:
                out = f.read().decode("latin-1")
            _, status = os.waitpid(pid, 0)
            if os.WIFSIGNALED(status):
                record("finding", spec, args, f"killed by signal {os.WTERMSIG(status)}")
            elif os.WEXITSTATUS(status) == 3:
                record("finding", spec, args, "raised a disallowed exception")
            elif os.WEXITSTATUS(status) != 0:
                code, pattern = fatal
                if os.WEXITSTATUS(status) != code or not re.match(pattern, out):
                    record("finding", spec, args, f"ended with status {os.WEXITSTATUS(status)}: {out!r}")

        run()
    log.write(json.dumps({"kind": "done"}) + "\n")


if __name__ == "__main__":
    main()
