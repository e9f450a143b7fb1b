"""The solver's data file (element and node tables), the Gauss-point report,
and the example analysis run end to end."""
import errno
import os
import pathlib
import re
import runpy
import sys

import numpy as np
import pytest
from solver_support import capped_rereads, grid_data_file, no_cap

EXAMPLE = pathlib.Path(__file__).resolve().parents[2] / "examples" / "analysis"


def status(tv):
    code = int(tv.errorhandling.errstat)
    return code, tv.errorhandling.errstring.tobytes().decode().rstrip() if code else ""


def test_tables_of_the_example_data_file(fresh):
    tv = fresh
    tv.iohandling.getabqdatafromfile(str(EXAMPLE / "job.dat"))
    e, n = tv.elementdata, tv.nodaldata
    assert (e.nelem, n.nnodes, n.ndof) == (3, 8, 6)
    assert e.elemlist.tolist() == [1, 2, 3] and e.elemkind.tolist() == [2, 5, 11]
    np.testing.assert_array_equal(e.elemnodes[:, 0], [1, 2, 3, 4, 0, 0, 0, 0])
    np.testing.assert_array_equal(e.elemnodes[:, 1], range(5, 13))
    assert not e.elemnodes[:, 2].any()                         # a continuum keeps no node list
    np.testing.assert_array_equal(n.nodalcoords[:, 2, 0], [10, 10, 0])
    np.testing.assert_array_equal(n.nodalcoords[:, 5, 1], [30, 5, 0])
    assert n.nodesmotion.shape == (6, 8, 3) and tv.sectiondata.nsectionpoints.tolist() == [0, 0, 0]
    assert status(tv) == (0, "")


def test_sound_handling_of_odd_tables(fresh, write, tmp_path):
    tv = fresh
    # Only S8R5 elements: five degrees of freedom.  A rigid element is
    # neither counted nor stored; node numbers beyond ndof*nnodes*nelem (40)
    # keep their coordinates; a node number below its predecessor ends the
    # node table; the element table may end the file.
    write("a.dat", """
        N O D E   D E F I N I T I O N S
            1001  1.0  2.0  3.0
            1002  4.0  5.0  6.0
               7  9.0  9.0  9.0
            1003  7.0  8.0  9.0
        E L E M E N T   D E F I N I T I O N S
             9 R3D4     1  1 2 3 4
            10 S8R5     1  1001 1002 1003 1004 1005 1006 1007 1008
        """)
    tv.iohandling.getabqdatafromfile(str(tmp_path / "a.dat"))
    e, n = tv.elementdata, tv.nodaldata
    assert (e.nelem, n.nnodes, n.ndof) == (1, 8, 5) and e.elemlist.tolist() == [10]
    np.testing.assert_array_equal(n.nodalcoords[:, :3, 0], [[1, 4, 0], [2, 5, 0], [3, 6, 0]])
    # A line of more nodes than the table holds keeps its element, not the list.
    write("b.dat", """
        E L E M E N T   D E F I N I T I O N S
            1 S4R  1  1 2 3 4 5
            2 S4R  1  2 3 4 5
            3 S4R  1  2 x 4 5
        """)
    tv.iohandling.getabqdatafromfile(str(tmp_path / "b.dat"))
    assert tv.elementdata.elemkind.tolist() == [2, 2, 2]
    np.testing.assert_array_equal(tv.elementdata.elemnodes, [[0, 2, 0], [0, 3, 0], [0, 4, 0], [0, 5, 0]])
    assert status(tv) == (-2, "Error: data file line 2, S4R: beyond the table, dropped")
    tv.errorhandling.rsxerr(True)
    write("b.dat", "E L E M E N T   D E F I N I T I O N S\n  3 S4R  1  2 x 4 5\n")
    tv.iohandling.getabqdatafromfile(str(tmp_path / "b.dat"))
    assert status(tv) == (-2, "Error: data file line 2, S4R: item not a number, list dropped")
    tv.iohandling.getabqdatafromfile(str(tmp_path / "missing.dat"))
    assert status(tv)[0] == -2                                 # the first failure stays
    tv.errorhandling.rsxerr(True)
    tv.iohandling.getabqdatafromfile(str(tmp_path / "missing.dat"))
    assert status(tv) == (-3, "Error: Cannot open the solver data file (.dat) of the analysis.")


def test_table_lines_in_every_form(fresh, tmp_path):
    tv = fresh
    # CR LF line ends, tabs and commas between items, a sign on a number,
    # lines longer than 128 characters, the free-form number forms (exponent
    # letter D, leading +, no digit before or after the point, more digits
    # than a double holds, a value below the double range), a value beyond
    # it, and a last line without a line feed.
    pad = " " * 120
    lines = ["E L E M E N T   D E F I N I T I O N S",
             "  1\tS4R\t1\t1,2\t3 ,4",
             f"+2 S4R{pad}1{pad}4 3 2 1",
             "N O D E   D E F I N I T I O N S",
             "1 1.5D0, +2., .5",
             "2\t1.00000000000000000000000000001\t-0.0\t1e-400",
             f"3{pad} 123456789.123456789 1234567.8D+01 -5.000000E-01",
             "5 1e400 0 0",
             "4 7 8 9"]
    (tmp_path / "job.dat").write_bytes("\r\n".join(lines).encode())
    tv.iohandling.getabqdatafromfile(str(tmp_path / "job.dat"))
    e, n = tv.elementdata, tv.nodaldata
    assert e.nelem == 2 and e.elemlist.tolist() == [1, 2]
    assert e.elemnodes.T.tolist() == [[1, 2, 3, 4], [4, 3, 2, 1]]
    xyz = {1: [1.5, 2.0, 0.5], 2: [1.0, -0.0, 0.0], 3: [123456789.123456789, 12345678.0, -0.5], 4: [7.0, 8.0, 9.0]}
    for k, node in enumerate([1, 2, 3, 4]):
        assert n.nodalcoords[:, k, 0].tolist() == xyz[node] and n.nodalcoords[:, 3 - k, 1].tolist() == xyz[node]
    assert np.signbit(n.nodalcoords[1, 1, 0])
    assert status(tv) == (-2, "Error: data file line 8, node 5: item not a number, list dropped")


def test_node_numbers_far_apart(fresh, write, tmp_path):
    tv = fresh
    # Looked up by search, not by a table over their range; of two lines of
    # one node the last counts; a node twice in one element's list gets its
    # coordinates at its first place only.
    write("s.dat", """
        E L E M E N T   D E F I N I T I O N S
            1 S4R  1  10 3000000 20000 10
        N O D E   D E F I N I T I O N S
            10  1.0 1.0 1.0
            20000  2.0 2.0 2.0
            20000  3.0 3.0 3.0
            3000000  4.0 4.0 4.0
        """)
    tv.iohandling.getabqdatafromfile(str(tmp_path / "s.dat"))
    assert tv.nodaldata.nodalcoords[0, :, 0].tolist() == [1.0, 4.0, 3.0, 0.0]


def test_nodes_the_node_table_lacks(fresh, write, tmp_path):
    tv = fresh
    # Element 2's nodes are not in the table; a node number beyond 32 bits,
    # a word that is no integer and a blank line each end the table.
    for stop in ("4294967297  9.0 9.0 9.0", "2.5  9.0 9.0 9.0", ""):
        write("a.dat", f"""
            E L E M E N T   D E F I N I T I O N S
                1 S4R  1  1 2 3 4
                2 S4R  1  5 6 7 8
            N O D E   D E F I N I T I O N S
                1  1.0 0.0 0.0
                2  2.0 0.0 0.0
            {stop}
                3  3.0 0.0 0.0
            """)
        tv.iohandling.getabqdatafromfile(str(tmp_path / "a.dat"))
        assert tv.nodaldata.nodalcoords[0].T.tolist() == [[1, 2, 0, 0], [0, 0, 0, 0]]
        assert status(tv) == (0, "")
    doc = " ".join(tv.iohandling.getabqdatafromfile.__doc__.split())
    for said in ("Nodes of an element that the node table lacks keep zero coordinates, with status 0.",
                 "The node table ends at a line whose first word is not an integer (a blank line, 2.5, or a "
                 "node number beyond 32 bits) once a line numbered 1 or more was read, and at a node line "
                 "whose number is smaller than the one before; the nodes after it keep zero coordinates too."):
        assert said in doc


CARD_OF = {"getstepdatafromfile": "StepCard", "getsectiondatafromfile": "SectionCard",
           "getmaterialdatafromfile": "MaterialCard", "getdamagedatafromfile": "DamageCard"}


def path_calls(ioh, path):
    """(routine, arguments, position) for every path argument, given `path`."""
    calls = [(ioh.getabqdatafromfile, (path,), "1st argument (filepath)"),
             (ioh.getgausspointreport, (path, [1.0, 2.0, 3.0], 1, 1), "1st argument (filepath)")]
    for f, extra in [(ioh.getstepdatafromfile, (1,)), (ioh.getsectiondatafromfile, ()),
                     (ioh.getmaterialdatafromfile, (1, 1)), (ioh.getdamagedatafromfile, (1, 1))]:
        calls += [(f, (path, "") + extra, "1st argument (filepath)"),
                  (f, ("", path) + extra, "2nd argument (workspace)")]
    return calls


def test_a_path_names_the_file_that_open_names(fresh, error, tmp_path):
    tv, ioh = fresh, fresh.iohandling
    folder = tmp_path / "Müller Łódź"
    folder.mkdir()
    for card in CARD_OF.values():
        (folder / f"{card}.tvr").mkdir()
    (tmp_path / "job.dat").write_text("E L E M E N T   D E F I N I T I O N S\n 1 S4R 1 1 2 3 4\n")
    ioh.getabqdatafromfile(str(EXAMPLE / "job.dat"))
    held = tv.nodaldata.nodalcoords.copy()
    for form in (str, os.fsencode):
        # A NUL before the padding would end the name early; a str counts
        # the bytes of its encoding.  Refused: nothing read, written or latched.
        given, nul, wide = form(str(folder)), form(f"{folder}/job.dat\0.other"), form(f"{folder}/{'é' * 120}")
        for f, args, who in path_calls(ioh, nul):
            with pytest.raises(error, match=re.escape(f".{f.__name__}() {who}: path holds a null byte after its "
                                                      f"first {len(os.fsencode(folder)) + 8} bytes")):
                f(*args)
        for f, args, who in path_calls(ioh, wide):
            with pytest.raises(error, match=re.escape(f"{who}: path of {len(os.fsencode(wide))} bytes is longer "
                                                      f"than its field of 256 bytes")):
                f(*args)
        assert tv.elementdata.nelem == 3 and np.array_equal(tv.nodaldata.nodalcoords, held)
        assert status(tv) == (0, "") and sorted(os.listdir(folder)) == sorted(f"{c}.tvr" for c in CARD_OF.values())
        # Every path argument reaches the folder Python made (a folder is no
        # file: each latches, the path's bytes in the details).
        for f, args, who in path_calls(ioh, given):
            f(*args)
            reached = folder / f"{CARD_OF[f.__name__]}.tvr" if "workspace" in who else folder
            assert bytes(tv.errorhandling.errasciim.ravel().tolist()) == os.fsencode(reached), (f, who)
            assert tv.errorhandling.errintv.tolist() == [errno.EISDIR]
            tv.errorhandling.rsxerr(True)
    # A data file in that folder is read; a report named with an escaped
    # byte of no encoding is the file Python lists under that name.
    os.replace(tmp_path / "job.dat", folder / "job.dat")
    ioh.getabqdatafromfile(str(folder / "job.dat"))
    assert tv.elementdata.nelem == 1 and status(tv) == (0, "")
    ioh.getgausspointreport(str(tmp_path / "\udce9é.rst"), [0.0, 0.0, 0.0], 1, 1)
    ioh.getgausspointreport(os.fsencode(tmp_path) + b"/\xe9\xc3\xa9.rst", [0.0, 0.0, 0.0], 2, 1)
    assert len((tmp_path / "\udce9é.rst").read_text().splitlines()) == 3 and status(tv) == (0, "")


def test_a_path_longer_than_its_field_is_refused(fresh, error, tmp_path):
    tv, ioh = fresh, fresh.iohandling
    # A path of 272 characters whose first 256 name another data file.
    folder = tmp_path / ("m" * (256 - len(str(tmp_path)) - 102))
    folder.mkdir()
    short = str(folder / ("a" * 100))
    cut = short + "b" * 16
    other = "E L E M E N T   D E F I N I T I O N S\n 1 S4R 1 1 2 3 4\nN O D E   D E F I N I T I O N S\n 1 111 0 0\n"
    pathlib.Path(short).write_text(other)
    pathlib.Path(cut).write_text(other.replace("111", "222"))
    ioh.getabqdatafromfile(str(EXAMPLE / "job.dat"))
    coords = tv.nodaldata.nodalcoords.copy()
    for f, args, who in path_calls(ioh, cut):
        with pytest.raises(error, match=re.escape(f".{f.__name__}() {who}: path of 272 bytes is "
                                                  f"longer than its field of 256 bytes")):
            f(*args)
    # Nothing read, written or latched: the model held stays, the other file too.
    assert tv.elementdata.nelem == 3 and np.array_equal(tv.nodaldata.nodalcoords, coords)
    assert pathlib.Path(short).read_text() == other and status(tv) == (0, "")
    # Blanks and NULs beyond the field are no part of the path.
    ioh.getabqdatafromfile(short + " " * 40 + "\0" * 4)
    assert tv.elementdata.nelem == 1 and tv.nodaldata.nodalcoords[0, 0, 0] == 111.0
    assert ioh.getabqdatafromfile.__doc__.endswith(
        "filepath : input string(len=256)\n    path of the data file (trailing blanks ignored)\n"
        "    A str is encoded as Python encodes file names (os.fsencode), bytes are\n"
        "    taken as given; a path of more than 256 bytes (trailing blanks aside),\n"
        "    or with a null byte before them, is refused, not cut.\n")


def test_a_model_read_again(fresh, write, tmp_path):
    tv = fresh
    model = """
        E L E M E N T   D E F I N I T I O N S
            1 S4R  1  1 2 3 4
            2 S4R  1  {nodes}
        N O D E   D E F I N I T I O N S
            1  {x1} 0.0 0.0
            2  {x2} 0.0 0.0
            3  {x3} 0.0 0.0
            4  {x4} 0.0 0.0
        """
    a = write("a.dat", model.format(nodes="2 3 4 1", x1=1.0, x2=2.0, x3=3.0, x4=4.0))
    b = write("b.dat", model.format(nodes="2 x 4 1", x1=10.0, x2=20.0, x3=30.0, x4=40.0))
    for hold in (True, False):
        tv.iohandling.getabqdatafromfile(str(a))
        held = tv.nodaldata.nodalcoords if hold else None
        tv.iohandling.getabqdatafromfile(str(b))
        if hold:
            assert held[0].T.tolist() == [[1, 2, 3, 4], [2, 3, 4, 1]]   # a view keeps the first model
        # The second model's tables, nothing of the first: the dropped node
        # list and its coordinates stay 0.
        assert tv.nodaldata.nodalcoords[0].T.tolist() == [[10, 20, 30, 40], [0, 0, 0, 0]]
        assert tv.elementdata.elemnodes.T.tolist() == [[1, 2, 3, 4], [0, 0, 0, 0]]
        assert status(tv) == (-2, "Error: data file line 3, S4R: item not a number, list dropped")
        tv.errorhandling.rsxerr(True)


@no_cap
@pytest.mark.parametrize("hold", ["views", "none"])
def test_a_read_that_runs_out_of_memory_leaves_the_model_found(write, tmp_path, hold):
    # A 2-element model, then 70,225 shells read under caps at which memory
    # runs out in the reader's own lists (5 MiB above the size), at
    # elemreforientation, nodesmotion, nodalcoords, tnodalmatrices,
    # tcurvmatrices, once all tables are made (82), and not at all (120).
    write("small.dat", """
        E L E M E N T   D E F I N I T I O N S
            1 S4R  1  1 2 3 4
            2 S4R  1  2 5 6 3
        N O D E   D E F I N I T I O N S
            1  0.0 0.0 0.0
            2  1.0 0.0 0.0
            3  1.0 1.0 0.0
            4  0.0 1.0 0.0
            5  2.0 0.0 0.0
            6  2.0 1.0 0.0
        """)
    grid_data_file(tmp_path / "job.dat", 265)
    statuses, messages = capped_rereads(tmp_path, hold, [5, 16, 25, 35, 50, 79, 82, 120], "small.dat", "read",
                                        "getabqdatafromfile", workers=4)
    assert len(messages) >= 5
    assert statuses[-1] == 0


def test_gauss_point_report(fresh, tmp_path):
    tv = fresh
    path = str(tmp_path / "job.rst")
    tv.iohandling.getgausspointreport(path, [1.5, -2.0, 0.125], 12, 3)
    tv.iohandling.getgausspointreport(path, [0.0, 1e5, -0.5], 7, 1)
    lines = pathlib.Path(path).read_text().splitlines()
    assert lines == [f"{'NOEL':>8}{'NPT':>8}{'x':>25}{'y':>25}{'z':>25}",
                     f"{12:8d}{3:8d}{1.5:25.8f}{-2.0:25.8f}{0.125:25.8f}",
                     f"{7:8d}{1:8d}{0.0:25.8f}{1e5:25.8f}{-0.5:25.8f}"]
    # A report that cannot be created: -2 at every failure, once the latch is
    # cleared, with the errno and the path as details.
    failures = []
    for target in (tmp_path, tmp_path, path, tmp_path):
        tv.iohandling.getgausspointreport(str(target), [0.0, 0.0, 0.0], 1, 1)
        failures.append(status(tv))
        if status(tv)[0]:
            assert tv.errorhandling.errintv.tolist() == [errno.EISDIR]
            assert bytes(tv.errorhandling.errasciim.ravel().tolist()) == bytes(target)
        tv.errorhandling.rsxerr(True)
    report = (-2, "Error: Cannot open or create the Gauss-point report file.")
    assert failures == [report, report, (0, ""), report]


def test_example_analysis(child):
    r = child(f"import runpy, sys; sys.argv = ['analysis.py']; "
              f"runpy.run_path({str(EXAMPLE / 'analysis.py')!r}, run_name='__main__')")
    assert r.returncode == 0, r.stderr
    out = r.stdout
    for line in ["steps: 1 initialisation, 2 fatigue, 3 impact",
                 "impactors: 1 at (0.0, 0.0, 12.5)",
                 "transverse shear stiffness of section 2: H11 = 11217.949 N/mm",
                 "temperatures: [20.0, 80.0]",
                 "cycle count of step 2: 1250.0",
                 # An isotropic ply (E = 70000, nu = 0.3, xt11 = 800) strained by 1 %:
                 # s11 = E (1 - nu) / ((1 + nu) (1 - 2 nu)) * 0.01, both maximum-stress
                 # efforts s11 / 800, the fibre flag alone in the state code.
                 "ply point after the fatigue step (ply 1, section column 1): s11 = 942.30769 MPa, "
                 "SSE = 4.7115385, flags general 1 fibre 1 matrix 0 delamination 0",
                 "efforts general 1.1778846 fibre 1.1778846, state code 400, fields [1.0, 1.0, 0.0, 0.0, 0.0]",
                 "errstat 0, tables freed: True"]:
        assert line in out, out
