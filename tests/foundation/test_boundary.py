"""No C++ exception reaches a C caller: every exported C name from which a
throw or a heap allocation can be reached runs its body through the
boundary guard (c_boundary, which calls latch_current_exception)."""
import collections
import os
import re
import shutil
import subprocess

import pytest

# Where an exception starts: allocation and the standard library's throws.
THROWS = re.compile(r"^(_Znwm|_Znam|_ZnwmSt11align_val_t|_ZnamSt11align_val_t|__cxa_throw|__cxa_rethrow|"
                    r"_ZSt\d+__throw_\w+)$")
# A function that calls the guard's handler runs its body under the guard;
# the latch catches its own allocation failures.
GUARD = re.compile(r"latch_current_exception")
NOTHROW = re.compile(r"^_ZN6tavrin4xerrE|^_ZN6tavrin13errorhandling4xerrE")


def call_graph(library):
    """Direct calls and jumps of every function of the library, by symbol."""
    text = subprocess.run(["objdump", "-d", "--no-show-raw-insn", library], capture_output=True, text=True,
                          check=True).stdout
    edges, func = collections.defaultdict(set), None
    head = re.compile(r"^[0-9a-f]+ <(.+)>:$")
    call = re.compile(r"\s(?:call|jmp)\s+[0-9a-f]+ <([^>+]+)(?:\+0x[0-9a-f]+)?>")
    for line in text.splitlines():
        # A function's cold part (its landing pads among them) counts as the function.
        if m := head.match(line):
            func = None if m.group(1).endswith("@plt") else m.group(1).removesuffix(".cold")
        elif (m := call.search(line)) and func:
            target = m.group(1).replace("@plt", "").removesuffix(".cold")
            if target != func:
                edges[func].add(target)
    return edges


def unguarded(library):
    """Exported C names that can reach a throw without passing the guard."""
    edges = call_graph(library)
    callers = collections.defaultdict(set)
    for f, targets in edges.items():
        for g in targets:
            callers[g].add(f)
    guarded = {f for f, targets in edges.items() if NOTHROW.match(f) or any(GUARD.search(g) for g in targets)}
    # Everything from which a throw is reachable by calls that avoid the guard.
    reach = [g for g in callers if THROWS.match(g)]
    throwing = set(reach)
    while reach:
        for f in callers[reach.pop()] - throwing - guarded:
            throwing.add(f)
            reach.append(f)
    symbols = subprocess.run(["nm", "-D", "--defined-only", library], capture_output=True, text=True,
                             check=True).stdout.split()
    exported = {b for a, b in zip(symbols, symbols[1:]) if a == "T" and not b.startswith("_Z")}
    return sorted(exported & throwing)


@pytest.mark.skipif(not shutil.which("objdump") or not os.environ.get("TAVRIN_LIBRARY"),
                    reason="needs objdump and the path of the built library")
def test_every_c_entry_that_can_throw_is_guarded():
    assert unguarded(os.environ["TAVRIN_LIBRARY"]) == []
