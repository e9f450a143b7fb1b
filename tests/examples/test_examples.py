"""Every example runs to its end."""
import pathlib
import sys

import pytest

EXAMPLES = sorted((pathlib.Path(__file__).resolve().parents[2] / "examples").glob("*.py"))


@pytest.mark.parametrize("script", EXAMPLES, ids=lambda p: p.name)
def test_example_runs(script, child):
    r = child(f"import runpy, sys; sys.argv = [{str(script)!r}]; runpy.run_path({str(script)!r}, run_name='__main__')")
    assert r.returncode == 0, r.stderr
    assert r.stdout
