"""libtavrin.so exports only the C-callable routine names and the tavrin::
C++ interface: no standard-library template instantiations leak out."""
import os
import shutil
import subprocess

import pytest


@pytest.mark.skipif(not shutil.which("nm") or not os.environ.get("TAVRIN_LIBRARY"),
                    reason="needs nm and the path of the built library")
def test_dynamic_symbols():
    out = subprocess.run(["nm", "-D", "--defined-only", "-C", os.environ["TAVRIN_LIBRARY"]],
                         capture_output=True, text=True, check=True).stdout
    names = [line.split(" ", 2)[2] for line in out.splitlines() if line.count(" ") >= 2]
    assert [n for n in names if ("::" in n or "(" in n) and not n.startswith("tavrin::")] == []
    c = [n for n in names if "::" not in n and "(" not in n]
    assert {"ProcessLock", "ProcessUnLock"} <= set(c) and all(n[0].isalpha() for n in c), c
