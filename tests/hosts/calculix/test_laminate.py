"""CalculiX as the host of umat_lamina: the laminate deck laminate.inp run by
ccx_tavrin (scripts/build-calculix-host.sh), its printed results against the
library called from Python.  The .dat prints 7 significant digits, so values
agree to 2e-6 of the terms that form them."""
import os
import pathlib
import re
import subprocess

import numpy as np
import pytest

HERE = pathlib.Path(__file__).resolve().parent
BUILD = pathlib.Path(os.environ.get("TAVRIN_BUILD_DIR", HERE.parents[2] / "build"))
CCX = BUILD / "host" / "calculix" / "ccx_tavrin"
DECK = (HERE / "laminate.inp").read_text()

PLY = [140000.0, 10000.0, 10000.0, 0.3, 0.3, 0.45, 5000.0, 5000.0, 3448.2758620689656]
ANGLES = [0.0, 45.0, -45.0, 90.0, 90.0, -45.0, 45.0, 0.0]  # bottom ply first
EPS_X = 0.001  # the laminate strain (EPS_X, 0, 0)
RTOL = 2e-6
HEADER = re.compile(r" (stresses|strains|internal state variables|total force) \(.*\) "
                    r"for set (\S+) and time\s+(\S+)")


def read_dat(path):
    """The printed blocks of a .dat: {(quantity, set, time): array of rows}.
    An element row is (element, point, six values), without the name of the
    orientation CalculiX appends; a total row holds the three components."""
    blocks, rows = {}, None
    for line in path.read_text().splitlines():
        if m := HEADER.match(line):
            rows = blocks.setdefault((m[1], m[2], float(m[3])), [])
        elif line.strip() and rows is not None:
            rows.append([float(t) for t in line.split() if not t[0].isalpha()])
    return {key: np.array(rows) for key, rows in blocks.items()}


def run(folder, deck):
    """Runs the deck in its own folder on one thread (the library takes no
    locks); returns the printed blocks."""
    if not os.access(CCX, os.X_OK):
        pytest.fail(f"no host solver at {CCX}: build it with scripts/build-calculix-host.sh")
    (folder / "laminate.inp").write_text(deck)
    env = dict(os.environ, OMP_NUM_THREADS="1", NUMBER_OF_CPUS="1")
    done = subprocess.run([CCX, "-i", "laminate"], cwd=folder, env=env, capture_output=True,
                          text=True, timeout=30)
    assert done.returncode == 0 and "Job finished" in done.stdout, done.stdout[-3000:] + done.stderr
    return read_dat(folder / "laminate.dat")


@pytest.fixture(scope="module")
def two_increments(tmp_path_factory):
    return run(tmp_path_factory.mktemp("two_increments"), DECK)


@pytest.fixture(scope="module")
def one_increment(tmp_path_factory):
    assert DECK.count("*STATIC, DIRECT\n0.5, 1.\n") == 1
    deck = DECK.replace("*STATIC, DIRECT\n0.5, 1.\n", "*STATIC, DIRECT\n1., 1.\n")
    return run(tmp_path_factory.mktemp("one_increment"), deck)


def at(blocks, quantity, elset, time):
    return blocks[(quantity, elset, time)]


def test_reaction_totals_are_the_membrane_stiffness_times_the_strain(tv, two_increments):
    a = tv.laminate.getamatrix(np.tile(PLY, (8, 1)).T, ANGLES, [0.125] * 8)
    rf_x = at(two_increments, "total force", "NX1", 1.0)[0, 0]
    rf_y = at(two_increments, "total force", "NY1", 1.0)[0, 1]
    np.testing.assert_allclose([rf_x, rf_y], EPS_X * a[0, :2], rtol=RTOL)
    np.testing.assert_allclose([rf_x, rf_y], [59.86880, 18.63587], rtol=1e-6)


def test_every_point_has_the_stress_of_umat_lamina_from_python(tv, two_increments):
    z6, eye = np.zeros(6), np.eye(3, order="F")
    for time in (0.5, 1.0):
        strains = at(two_increments, "strains", "EALL", time)
        stresses = at(two_increments, "stresses", "EALL", time)
        state = at(two_increments, "internal state variables", "EALL", time)
        points = [(e, p) for e in range(1, 9) for p in range(1, 9)]
        for rows in (strains, stresses, state):
            assert [tuple(r) for r in rows[:, :2].astype(int)] == points
        for (noel, npt), e, s, sdv in zip(points, strains[:, 2:], stresses[:, 2:], state[:, 2:]):
            stran = e * [1, 1, 1, 2, 2, 2]  # printed tensor shear, engineering in the UMAT
            stress, statev, ddsdde, *_ = tv.toplevel.umat_lamina(
                z6, z6, 0.0, 0.0, 0.0, 0.0, z6, z6, 0.0, stran, z6, [0.0, 0.0], 1.0, 0.0, 0.0, 0.0,
                0.0, "LAMINA", 3, 3, PLY, [0.0] * 3, eye, 1.0, 0.0, eye, eye, noel, npt, 0, 0,
                [1, 1, 0, 0], 1)
            # Each stress is a sum of products with strains rounded to 7
            # digits, printed to 7 digits.
            tol = RTOL * np.abs(ddsdde * stran).sum(axis=1)
            where = f"element {noel}, point {npt}, time {time}"
            for printed, name in [(s, "S"), (sdv, "SDV")]:
                assert (abs(printed - stress) <= tol).all(), f"{where}: {name} {printed}, ours {stress}"
            assert abs(s[2]) <= tol[2], f"{where}: σ33 = {s[2]}"  # the thickness strain is free


def test_two_increments_end_where_one_does(two_increments, one_increment):
    for quantity, elset in [("stresses", "EALL"), ("internal state variables", "EALL"),
                            ("strains", "EALL"), ("total force", "NX1"), ("total force", "NY1")]:
        two, one = at(two_increments, quantity, elset, 1.0), at(one_increment, quantity, elset, 1.0)
        # Components that vanish carry the solve's rounding noise.
        np.testing.assert_allclose(two, one, rtol=RTOL, atol=1e-12 * np.abs(one).max(), err_msg=quantity)
