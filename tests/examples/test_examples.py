"""Every example runs to its end."""
import math
import pathlib
import runpy
import sys

import pytest

EXAMPLES = sorted((pathlib.Path(__file__).resolve().parents[2] / "examples").glob("*.py"))


@pytest.mark.parametrize("script", EXAMPLES, ids=lambda p: p.name)
def test_example_runs(script, child):
    r = child(f"import runpy, sys; sys.argv = [{str(script)!r}]; runpy.run_path({str(script)!r}, run_name='__main__')")
    assert r.returncode == 0, r.stderr
    assert r.stdout


def test_main_finds_first_ply_failure(child, tmp_path):
    # Under the example's load the inner 90° plies fail first.  By raw effort
    # LaRC05's matrix criterion (1.275, growing about as the load squared)
    # would govern; by load factor Tsai-Wu (1.171, growing as the load) does.
    script = EXAMPLES[0].parent / "main.py"
    r = child(f"import runpy, sys; sys.argv = [{str(script)!r}, '--output', {str(tmp_path)!r}]; "
              f"runpy.run_path({str(script)!r}, run_name='__main__')")
    assert r.returncode == 0, r.stderr
    assert ("Governing: ply 5 (90°), top face, Tsai-Wu, first failure at λ = 0.854: the laminate fails "
            "under the given load") in r.stdout
    assert "  LaRC05 matrix    0.886     5     90    top   fracture plane at θfp = 90° from the ply plane" in r.stdout
    assert (tmp_path / "ply_stresses.png").exists()
    # The README shows lines of this output: each must be there as shown.
    readme = (EXAMPLES[0].parents[1] / "README.md").read_text()
    shown = readme.split("```sh\n.venv/bin/python examples/main.py")[1].split("```\n```\n")[1].split("```")[0]
    out = r.stdout.splitlines()
    assert len(shown.splitlines()) > 20
    assert [line for line in shown.splitlines() if line != "..." and line not in out] == []


@pytest.fixture
def main_example(tv):
    return runpy.run_path(str(EXAMPLES[0].parent / "main.py"))


def test_load_factor_finds_where_the_largest_effort_reaches_one(main_example, tv):
    load_factor = main_example["load_factor"]
    for effort, lam in ((lambda x: (x / 3.0) ** 2, 3.0), (lambda x: 4.0 * x, 0.25), (lambda x: x**0.5 / 10, 100.0)):
        found, past = load_factor(effort)
        assert found == pytest.approx(lam, rel=1e-9) and effort(past) >= 1.0
    # An effort that jumps past 1 fails where it jumps.
    found, past = load_factor(lambda x: 0.0 if x < 2.5 else 1.4)
    assert found == pytest.approx(2.5, abs=1e-9) and past >= 2.5
    assert load_factor(lambda x: 0.0) == (math.inf, math.inf)


def test_first_failure_of_the_example_laminate(main_example, tv):
    ex = main_example
    r = ex["analyse"](ex["read_case"](EXAMPLES[0].parent / "data" / "quasi_isotropic.txt"))
    faces = r["effort"][:, :, [0, 2]]
    lam_tw, ply, face, angle = r["first"][0]
    # Tsai-Wu's index is the inverse load factor: λ = 1/largest effort.
    assert lam_tw == pytest.approx(1.0 / faces[0].max(), rel=1e-9) and (ply, face) == (4, 2) and math.isnan(angle)
    for c, (lam, ply, face, angle) in enumerate(r["first"]):
        at = ex["failure_efforts"](lam * r["stress"][:, :, [0, 2]], r["strengths"], r["ply"][6], [c])[0][c]
        assert at.max() == pytest.approx(1.0, abs=1e-8)
    # LaRC05's matrix effort grows faster than the load: its λ exceeds 1/effort.
    assert 1.0 / faces[2].max() < r["first"][2][0] < 1.0 and r["first"][2][3] == pytest.approx(90.0)
