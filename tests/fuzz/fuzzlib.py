"""Hostile-argument fuzzing of every routine of an extension module built by
the binding engine.

Routines are discovered from the module's inventory (its __doc__) and each
routine's generated doc string: the call line gives the parameter order, the
Parameters / Other Parameters sections give each parameter's kind, intent,
rank and extents.  Arguments start from a well-formed call (extents chosen
small, arrays shaped from the extent expressions) and are then mutated with
Hypothesis: wrong types and dtypes, wrong ranks, extents larger, smaller,
zero and negative, non-contiguous and C-ordered arrays, special reals,
integers beyond 32 bits, numbers as texts, empty and over-long texts, hostile
call-backs.

A call may return or raise the module's error class, MemoryError or the
call-back's own exception; anything else is a finding.  Paths that end the
process by design are listed in FATAL_PATHS; the fuzzer runs those routines in
a forked child and checks the exit status and output.
"""
from __future__ import annotations

import dataclasses
import functools
import math
import os
import re
import sys

import numpy as np
from hypothesis import strategies as st

# Routines that may end the process by design: routine -> (exit status, a
# regular expression the child's standard output must match).
_HERMITE_ABORT = r"(?s).*\*\*\*JOB ABORT DUE TO UNRECOVERED ERROR\..*"
FATAL_PATHS = {
    "errorhandling.xerr": (1, r"(?s).* .{80}\n$"),
    # Abscissas that do not increase end the analysis in the interpolation
    # packages under their default control setting.
    "math.linearinterpolation": (1, r"(?s).*INTERP_LINEAR - Fatal error!.*"),
    "math.cubichermitianinterpolation": (1, _HERMITE_ABORT),
    "math.cubichermitianintegration": (1, _HERMITE_ABORT),
    "math.cubichermitianarclength": (1, _HERMITE_ABORT),
}


# Routines that create or append to the file a path argument names: the
# fuzzer keeps those paths inside the child's working directory (a private
# temporary directory), so that no call writes elsewhere.
FILE_CREATING = {
    "iohandling.getgausspointreport": ("filepath",),
}


def confine_paths(spec, args):
    """The path arguments of a file-creating routine, made relative."""
    for name in FILE_CREATING.get(spec.qualname, ()):
        value = args.get(name)
        if isinstance(value, bytes):
            value = value.decode("latin-1")
        if isinstance(value, str):
            args[name] = "fuzz_" + value.replace("/", "_").replace("\0", "_")
    return args


# Lines reported at the end of the test run (seed, examples, findings).
SUMMARY = []


class CallbackBoom(Exception):
    """What the fuzzer's raising call-backs raise."""


@dataclasses.dataclass
class Param:
    name: str
    kind: str            # int, float, complex, logical, string, array, callback, tuple
    intent: str          # input, in/output, in-place
    required: bool
    dtype: str = ""      # array element: d, i, D
    rank: int = 0
    bounds: tuple = ()   # extent expressions, "*" for assumed
    length: str = ""     # string length expression or "*"


@dataclasses.dataclass
class RoutineSpec:
    module: str
    name: str
    params: list

    @property
    def qualname(self):
        return f"{self.module}.{self.name}"


_DESC = re.compile(
    r"^(?P<name>\w+) : (?P<intent>input |in/output |in-place )?(?P<what>.*?)(?P<opt>, optional)?$")


def parse_routine(module_name, routine):
    """The parameters of a routine, from its doc string."""
    doc = routine.__doc__
    lines = doc.splitlines()
    call = lines[0]
    name = call.split(" = ", 1)[-1].split("(", 1)[0]
    params = []
    section = None
    for line in lines[1:]:
        if line in ("Parameters", "Other Parameters", "Returns", "Call-back functions::"):
            section = line
            continue
        if section not in ("Parameters", "Other Parameters") or line.startswith(" ") or " : " not in line:
            continue
        m = _DESC.match(line)
        if not m:
            continue
        what = m.group("what")
        intent = (m.group("intent") or "input ").strip()
        p = Param(m.group("name"), "", intent, section == "Parameters")
        # Scalars updated in place are 0-d arrays, shown without bounds.
        am = re.match(r"rank-(\d+) array\('(\w)'\)(?: with bounds \((.*)\))?$", what)
        if am:
            p.kind, p.rank, p.dtype = "array", int(am.group(1)), am.group(2)
            p.bounds = tuple(_split_top(am.group(3))) if am.group(3) is not None else ()
        elif what.startswith("string(len="):
            p.kind, p.length = "string", what[len("string(len="):-1]
        elif what == "call-back function":
            p.kind = "callback"
        elif what == "tuple":
            p.kind = "tuple"
        else:
            p.kind = what  # int, float, complex, logical
        params.append(p)
    return RoutineSpec(module_name, name, params)


def _split_top(text):
    parts, depth, cur = [], 0, ""
    for c in text:
        depth += c in "(["
        depth -= c in ")]"
        if c == "," and depth == 0:
            parts.append(cur)
            cur = ""
        else:
            cur += c
    parts.append(cur)
    return [p.strip() for p in parts]


@functools.lru_cache(maxsize=None)
def discover(module):
    """Every routine of every library module of `module` (parsed once)."""
    specs = []
    for line in module.__doc__.splitlines():
        if " --- " not in line:
            continue
        mod_name, members = line.strip().split(" --- ", 1)
        mod = getattr(module, mod_name)
        for member in members.rstrip(".").split(","):
            if member.endswith("()"):
                specs.append(parse_routine(mod_name, getattr(mod, member[:-2])))
    return tuple(specs)


# ---------------------------------------------------------------------------
# Values

SPECIAL_REALS = [0.0, -0.0, 1.0, -1.0, math.nan, math.inf, -math.inf, 1e308, -1e308, 5e-324,
                 2.2e-16, 1e-300, 3.0, 0.5]
SPECIAL_INTS = [0, 1, -1, 2, 3, -2, 7, 2**31 - 1, -2**31, 2**31, -2**31 - 1, 2**63, 10**6, 100]
HOSTILE_OBJECTS = [None, "x", "", b"\x00", [], [[]], {}, object(), [1, "a"], 1j, (1, 2),
                   np.array(["a", "b"]), np.array([object()], dtype=object)]
DTYPES = {"d": np.float64, "i": np.int32, "D": np.complex128, "b": np.bool_}


def _eval_extent(expr, env):
    """Evaluates a bounds expression with chosen scalar values; None if it
    needs something else (array shapes) or fails."""
    try:
        value = eval(expr.replace("/", "//"), {"__builtins__": {}}, dict(env, max=max, min=min, abs=abs))
    except Exception:  # noqa: BLE001 - any failure means "choose freely"
        return None
    return int(value) if isinstance(value, (int, float)) and abs(value) < 10**7 else None


def well_formed(spec, draw):
    """A call whose arguments agree with each other."""
    extents = {}
    names = {p.name for p in spec.params}
    for p in spec.params:
        for b in p.bounds:
            for ident in re.findall(r"[A-Za-z_]\w*", b):
                if ident in names and ident not in extents:
                    extents[ident] = draw(st.integers(0, 4))
    args = {}
    for p in spec.params:
        if p.kind == "int":
            args[p.name] = extents.get(p.name, draw(st.integers(-1, 5)))
        elif p.kind == "float":
            args[p.name] = draw(st.sampled_from([0.0, 1.0, 0.5, -2.0, 3.25]))
        elif p.kind == "complex":
            args[p.name] = complex(1.0, -0.5)
        elif p.kind == "logical":
            args[p.name] = draw(st.booleans())
        elif p.kind == "string":
            args[p.name] = draw(st.text(alphabet="abcXYZ ,;[]()=+-*.0123456789", max_size=12))
        elif p.kind == "array":
            shape = []
            for b in p.bounds:
                e = _eval_extent(b, extents) if b != "*" else None
                shape.append(e if e is not None and e >= 0 else draw(st.integers(1, 4)))
            dtype = DTYPES[p.dtype]
            size = int(np.prod(shape))
            # Hypothesis draws lists of a few thousand at most: a larger array
            # (a 7-d one of extents 4) repeats a drawn pattern.
            data = draw(st.lists(st.sampled_from([0.0, 1.0, 2.0, -1.0, 0.25, 3.0]),
                                 min_size=min(size, 256), max_size=min(size, 256)))
            data = np.resize(np.array(data, dtype=float), size) if size > 256 else data
            args[p.name] = np.asfortranarray(np.array(data, dtype=dtype).reshape(shape, order="F"))
        elif p.kind == "callback":
            args[p.name] = lambda *a, **k: None
        elif p.kind == "tuple":
            pass
    return args


def _raise(*args):
    raise CallbackBoom("raised by the fuzzer's call-back")


def _fill_nan(*args):
    for a in args:
        if isinstance(a, np.ndarray) and a.flags.writeable and a.dtype.kind in "fc":
            a[...] = np.nan
    return math.nan


def hostile_callback(module, kind):
    """Call-backs that return nothing, raise, call the library again, return
    garbage, or write NaN."""
    return {"none": lambda *a: None, "raise": _raise, "garbage": lambda *a: "garbage",
            "nan": _fill_nan,
            "reenter": lambda *a: (module.utility.processunlock(), 0.0)[1]
            if hasattr(module, "utility") else 0.0}[kind]


def mutate(spec, args, draw, module):
    """Replaces some arguments by hostile values (mostly of the right type, so
    that the call gets past conversion), and drops or adds optional ones."""
    args = dict(args)
    for p in spec.params:
        actions = ["keep"] * 4 + ["extreme"] * 4 + ["wrong"] * 2 + ([] if p.required else ["drop"])
        action = draw(st.sampled_from(actions))
        if p.kind == "tuple":
            if action == "wrong":
                args[p.name] = draw(st.sampled_from([(), (1,), (None, "x"), [1], 3]))
            continue
        if action == "keep":
            continue
        if action == "drop":
            args.pop(p.name, None)
            continue
        if p.kind == "callback":
            choice = draw(st.sampled_from(["none", "raise", "reenter", "garbage", "nan",
                                           "routine", "cpointer", "notcallable"]))
            if choice == "routine":
                args[p.name] = _any_routine(module, draw)
            elif choice == "cpointer":
                args[p.name] = _any_routine(module, draw)._cpointer
            elif choice == "notcallable":
                args[p.name] = draw(st.sampled_from([3, None, "f"]))
            else:
                args[p.name] = hostile_callback(module, choice)
            continue
        if action == "wrong":
            args[p.name] = draw(st.sampled_from(HOSTILE_OBJECTS))
        else:
            args[p.name] = draw(extreme_value(p, args.get(p.name)))
    return args


def _any_routine(module, draw):
    specs = discover(module)
    spec = draw(st.sampled_from(specs))
    return getattr(getattr(module, spec.module), spec.name)


def extreme_value(p, current):
    """A value of the parameter's own kind that stresses the routine."""
    if p.kind in ("int", "logical"):
        near = [current + d for d in (-1, 1, 2)] if isinstance(current, int) else []
        values = st.sampled_from(SPECIAL_INTS + near)
        return st.one_of(values, st.integers(-2**40, 2**40),
                         *([values.flatmap(_as_text)] if p.kind == "int" else []))
    if p.kind in ("float", "complex"):
        return st.one_of(st.sampled_from(SPECIAL_REALS + SPECIAL_INTS[:6]),
                         st.complex_numbers(allow_nan=True) if p.kind == "complex"
                         else st.floats(allow_nan=True, allow_infinity=True),
                         *([st.sampled_from(SPECIAL_REALS).flatmap(_as_text)] if p.kind == "float" else []))
    if p.kind == "string":
        return st.one_of(st.sampled_from(["", " " * 300, "x" * 5000, "\u20ac", "\xe9", "\x00\x00",
                                          "a,b,c", b"bytes", "   "]),
                         st.text(max_size=40))
    if p.kind == "array":
        return array_mutations(p, current)
    return st.sampled_from(HOSTILE_OBJECTS)


def _as_text(value):
    """A number as the texts int() and float() parse: plain, padded, bytes."""
    text = repr(value)
    return st.sampled_from([text, f" {text} ", text.encode()])


@st.composite
def array_mutations(draw, p, current):
    base = current if isinstance(current, np.ndarray) else np.zeros([2] * max(p.rank, 1))
    choice = draw(st.integers(0, 11))
    if choice == 0:  # another dtype
        dtype = draw(st.sampled_from([np.float32, np.int64, np.int8, np.uint64, np.complex64,
                                      np.bool_, np.float16]))
        return base.astype(dtype)
    if choice == 1:  # wrong rank
        extra = draw(st.integers(-2, 2))
        shape = [draw(st.integers(0, 3)) for _ in range(max(0, p.rank + extra))]
        return np.ones(shape, dtype=base.dtype)
    if choice == 2:  # C order
        return np.ascontiguousarray(base)
    if choice == 3:  # non-contiguous
        big = np.repeat(base, 2, axis=0) if base.ndim else base
        return big[::2] if big.ndim else big
    if choice == 4:  # special values
        a = np.array(base, dtype=np.float64, copy=True) if base.dtype.kind != "c" else base.copy()
        if a.size:
            a.flat[draw(st.integers(0, a.size - 1))] = draw(st.sampled_from([np.nan, np.inf, -np.inf, -0.0, 1e308, 5e-324]))
        return a
    if choice == 5:  # empty
        return np.zeros([0] * max(p.rank, 1), dtype=base.dtype)
    if choice == 6:  # larger
        return np.ones([draw(st.integers(3, 9))] * max(p.rank, 1), dtype=base.dtype)
    if choice == 7:  # smaller
        return np.ones([1] * max(p.rank, 1), dtype=base.dtype)
    if choice == 8:  # huge integers
        return np.array([2**40, -2**40], dtype=np.int64)
    if choice == 9:  # read-only
        a = base.copy(order="F")
        a.flags.writeable = False
        return a
    if choice == 10:  # a list
        return base.tolist()
    return draw(st.sampled_from([np.float64(1.5), np.int32(2), np.array(3.0), np.array([], dtype=object)]))
