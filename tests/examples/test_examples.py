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


def test_main_finds_first_ply_failure(child, tmp_path):
    # Under the example's load the inner 90° plies crack first, on the
    # plane normal to the transverse direction.
    script = EXAMPLES[0].parent / "main.py"
    r = child(f"import runpy, sys; sys.argv = [{str(script)!r}, '--output', {str(tmp_path)!r}]; "
              f"runpy.run_path({str(script)!r}, run_name='__main__')")
    assert r.returncode == 0, r.stderr
    assert ("Governing: ply 5 (90°), top face, LaRC05 matrix, effort 1.275: the laminate fails "
            "(fracture plane at 90°)") in r.stdout
    assert (tmp_path / "ply_stresses.png").exists()
