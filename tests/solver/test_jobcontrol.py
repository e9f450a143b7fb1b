"""Job control: the deck scan, start-up and its failure path, the tables of the
increment start and end, the message-file cycle count, the explicit entry."""
import numpy as np
import pytest
from solver_support import CAPPED_PRELUDE, capped_rereads, grid_data_file, no_cap, run_child

DECK = """
    *Heading
    *Instance, name=BALL, part=B, tvr_SensorElement
    0, 0, 12.5
    *End Instance
    *step, name=a, nlgeom=NO, tvr_initialization
    *Step, name=b, TVR_FATIGUE, TVR_DIC
     *Step, name=indented, TVR_IMPACT
    *STEP, name=c
    *Step, name=d, TVR_STRUCTRESPONSE
    *STEP, name=e, TVR_SENSORELEMENT, TVR_RELAXATION
    1., 2.
    """


def uext(tv, lop, kstep=0, kinc=0, dtime=0.0, exflag=0):
    tv.toplevel.uexternaldb_iocontrol(lop, 0, [0.0, 0.0], dtime, kstep, kinc, exflag)


def vext(tv, k, kstep=0, kinc=0, dtime=0.0, rank=0):
    tv.toplevel.vexternaldb_iocontrol(k, [0, 0, kstep, kinc, 0, 0], [0.0, 0.0, dtime], mpi_rank=rank)


def status(tv):
    code = int(tv.errorhandling.errstat)
    return code, tv.errorhandling.errstring.tobytes().decode().rstrip() if code else ""


FAILED_START = "Cannot process any input file. Execution stops. Please check paths and your inp"


class TestStartUp:
    def test_deck_scan(self, job, write):
        tv = job
        write("job.inp", DECK + "*Step, name=f, " + " " * 70 + "TVR_IMPACT\n")
        uext(tv, 0)
        assert tv.jobdata.solverid == 1 and tv.jobdata.nsteps == 7
        # The indented step line is counted but fills no entry; the name of
        # the last line stands beyond column 80.
        assert tv.jobdata.stepid.tolist() == [0, 1, 1, 2, 4, 3, 1]
        assert tv.loaddata.nimp == 2
        np.testing.assert_array_equal(tv.loaddata.dprops[1:4], [[0, 0], [0, 0], [12.5, 0]])
        np.testing.assert_array_equal(tv.impactdata.cprops[[5, 13, 14]], [[9.80665] * 2, [1, 2], [1e-10] * 2])
        # The line after the second marker holds two numbers only.
        assert status(tv) == (-2, "Error: input deck line 10, *STEP: impactor without three coordinates")
        # A new start (the step table released) with as many impactors keeps
        # their tables and presets them again.
        tv.loaddata.dprops[...] = 7.0
        tv.errorhandling.rsxerr(True)
        tv.jobdata.stepid = None
        uext(tv, 0)
        assert tv.loaddata.dprops[[0, 4, 11]].tolist() == [[0, 0]] * 3
        np.testing.assert_array_equal(tv.loaddata.dprops[1:4], [[0, 0], [0, 0], [12.5, 0]])

    def test_failure_path_and_a_second_start(self, job, write, tmp_path):
        tv = job
        tv.jobdata.jobfilepath = " "
        uext(tv, 0)
        assert status(tv) == (-3, FAILED_START) and tv.jobdata.stepid is None
        tv.errorhandling.rsxerr(True)
        tv.jobdata.jobfilepath = str(tmp_path / "job")
        write("job.pes", "*Step, name=x, TVR_IMPACT\n")
        write("job.inp", "*Step\n*Step\n")
        write("SectionCard.tvr", "++Begin Section, SECID=1\n+Orientation\n0 90 90 0\n+Thickness\n0.125\n++End Section\n")
        uext(tv, 0)
        assert tv.jobdata.stepid.tolist() == [3] and status(tv)[0] == 0  # .pes before .inp
        assert tv.sectiondata.plyorientation.shape == (4, 1) and tv.sectiondata.sefmatrix.shape == (9, 4, 1)
        # A restart while the step table exists: -3, the step table stays,
        # the cards are read again at their new extents.
        write("SectionCard.tvr", "++Begin Section, SECID=1\n+Material\n1\n+Orientation\n0 90\n+Thickness\n0.25\n++End Section\n")
        uext(tv, 4)
        assert status(tv) == (-3, FAILED_START) and tv.jobdata.stepid.tolist() == [3]
        assert tv.sectiondata.nplies == 2 and tv.sectiondata.plyorientation.shape == (2, 1)
        np.testing.assert_array_equal(tv.sectiondata.plyzcoord[:, 0], [-0.25, -0.125, 0, 0.125, 0.25])

    def test_blank_output_directory_reads_the_cards_from_the_deck(self, job, write):
        tv = job
        tv.jobdata.joboutdir = ""
        write("job.inp", """
            *Step, name=s, TVR_FATIGUE
            ++Begin Step, STEPID=1
            +Debug, TYPE=ELEMENT
            44
            ++End Step
            ++Begin Section, SECID=3
            +Material
            1
            +Orientation
            0
            +Thickness
            0.5
            ++End Section
            ++Begin Material, MATID=1
            +Elastic
            70000, 0.3
            ++End Material
            """)
        write("StepCard.tvr", "++Begin Step, STEPID=1\n+Debug, TYPE=ELEMENT\n55\n++End Step\n")  # not looked at
        uext(tv, 0)
        assert tv.debugdata.edebug == 44 and tv.sectiondata.secidlist.tolist() == [3]
        # An isotropic section: H11 = H22 = 5/6 G h.
        np.testing.assert_allclose(np.diag(tv.sectiondata.sehmatrix[:, :, 0]), [11217.948717948718] * 2, rtol=1e-13)
        assert status(tv)[0] == 0


class TestIncrements:
    def start(self, tv, write, kinds="TVR_INITIALIZATION TVR_FATIGUE TVR_IMPACT TVR_STRUCTRESPONSE".split()):
        write("job.inp", "".join(f"*Step, name=s{i}, {k}\n" for i, k in enumerate(kinds)))
        uext(tv, 0)

    def elements(self, tv, kinds, points=3):
        n = len(kinds)
        tv.elementdata.nelem = n
        tv.elementdata.elemkind = np.array(kinds, np.int32)
        tv.sectiondata.nsectionpoints = np.full(n, points, np.int32)
        tv.nodaldata.nodesmotion = np.ones((6, 8, n))

    def test_per_element_tables(self, job, write):
        tv = job
        self.start(tv, write)
        self.elements(tv, [11, 11])                # continua only
        uext(tv, 1, kstep=1)
        np.testing.assert_array_equal(tv.elementdata.elemlength, -np.ones((3, 2)))
        assert tv.sectiondata.sestress is None     # not in the first step
        uext(tv, 7, kstep=2, exflag=1)
        assert tv.sectiondata.sestress.shape == (6, 3, 27, 2) and not tv.sectiondata.sestress.any()
        assert tv.sectiondata.tnormalstress is None  # no shell

        uext(tv, 3)
        self.start(tv, write)
        self.elements(tv, [2, 5, 8])
        uext(tv, 1, kstep=2, exflag=1)             # code 1 is nothing for an explicit caller
        assert tv.sectiondata.sestress is None
        uext(tv, 1, kstep=4)                        # structural response: no section stresses
        assert tv.sectiondata.sestress is None
        uext(tv, 1, kstep=2)
        assert tv.elementdata.elemlength is None
        assert tv.sectiondata.sestress.shape == (6, 3, 4, 3)
        assert tv.sectiondata.tnormalstress.shape == (3, 3) and tv.sectiondata.tshearstress.shape == (3, 2, 4, 3)

    def test_end_of_increment_every_nupdate(self, job, write):
        tv = job
        self.start(tv, write)
        self.elements(tv, [2, 5])
        uext(tv, 1, kstep=2)
        tv.debugdata.nupdate = 3
        tv.impactdata.cprops[6, 0:] = 1.0 if tv.loaddata.nimp else 0.0
        zeroed = []
        for kinc in range(1, 9):
            tv.sectiondata.tnormalstress[...] = 1.0
            uext(tv, 2, kstep=2, kinc=kinc, exflag=1)
            zeroed.append(not tv.sectiondata.tnormalstress.any())
        assert [k for k, z in zip(range(1, 9), zeroed) if z] == [2, 5, 8]
        # Nodes 5 on of the four-node shells (kinds 1-3) are zeroed.
        assert not tv.nodaldata.nodesmotion[:, 4:, 0].any() and tv.nodaldata.nodesmotion[:, :4, 0].all()
        assert tv.nodaldata.nodesmotion[:, :, 1].all()
        tv.sectiondata.tnormalstress[...] = 1.0
        vext(tv, 4, kstep=2, kinc=3)                # the explicit entry is an explicit caller
        assert tv.sectiondata.tnormalstress.all()
        uext(tv, 2, kstep=2, kinc=1)                # an implicit caller always
        assert not tv.sectiondata.tnormalstress.any()
        tv.sectiondata.tshearstress[...] = 1.0
        tv.toplevel.uaccess_iocontrol(2, 0.0)
        assert not tv.sectiondata.tshearstress.any()

    def test_impactor_advanced_at_every_end_of_increment(self, job, write):
        tv = job
        write("job.inp", "*Instance, name=I, TVR_SENSORELEMENT\n0 0 0\n*Step, name=s, TVR_IMPACT\n"
                         "*Step, name=t, TVR_STRUCTRESPONSE\n*Step, name=u, TVR_FATIGUE\n")
        uext(tv, 0)
        tv.debugdata.nupdate = 5
        c = tv.impactdata.cprops
        c[6, 0] = 2.0
        c[8, 0], c[9, 0] = 0.25, 0.5
        for kinc in (1, 2):
            uext(tv, 7, kstep=1, kinc=kinc, exflag=1)
            uext(tv, 2, kstep=1, kinc=kinc, dtime=0.05, exflag=1)
        assert c[3, 0] == pytest.approx(9.80665 * 0.1**2 / 2, rel=1e-14)
        vext(tv, 2, kstep=1, kinc=3)                # the explicit entry: dtime is r_array(3)
        vext(tv, 4, kstep=1, kinc=3, dtime=0.05)
        assert c[3, 0] == pytest.approx(9.80665 * 0.15**2 / 2, rel=1e-14)
        uext(tv, 2, kstep=2)
        assert (c[13, 0], c[14, 0]) == (0.0, 0.0)
        motion = c[3:6, 0].copy()
        uext(tv, 2, kstep=3, dtime=0.05)            # a fatigue step: no integration
        np.testing.assert_array_equal(c[3:6, 0], motion)


class TestCycleCount:
    def start(self, tv, write, cycle_kind, msg):
        write("job.inp", "*Step, name=a, TVR_FATIGUE\n*Step, name=b, TVR_FATIGUE\n")
        write("StepCard.tvr", f"""
            ++Begin Step, STEPID=1
            +Cycle, {cycle_kind}
            0 1 3 5 0 2 1 1 1 10
            0 1 3 1 0 2 1 1 1 10
            +Cycle, TYPE=INDIVIDUAL
            1 7
            ++End Step
            """)
        if msg is not None:
            write("job.msg", msg)
        uext(tv, 0)

    @pytest.mark.parametrize("msg,count", [
        ("STEP 1\n  cycle 1000, x\nCYCLE 1250\n", 1250.0),   # the last count line
        ("CYCLE 40\nINCREMENT 2\n", 40.0),                   # the first line of the file
        ("INCREMENT 2\n", 1.0),                             # no count line: at least 1
        (None, 1.0),                                       # no message file
    ])
    def test_count_from_the_message_file(self, job, write, msg, count):
        tv = job
        self.start(tv, write, "TYPE=GENERAL", msg)
        tv.shokriehdata.cycles[1, 0] = 0.0
        uext(tv, 1, kstep=1, kinc=1)
        uext(tv, 1, kstep=2, kinc=1)                # row 4 is not 5 in step 2
        assert tv.shokriehdata.cycles[1].tolist() == [count, 0.0]
        assert status(tv)[0] == 0

    def test_counts_that_cannot_be_stored(self, job, write):
        tv = job
        self.start(tv, write, "TYPE=GENERAL", "CYCLE many\n")
        uext(tv, 1, kstep=1, kinc=1)
        assert tv.shokriehdata.cycles[1, 0] == 7.0
        assert status(tv) == (-2, "Error: message file line 1, CYCLE: cycle count is not a number")
        # TYPE=DIRECT leaves one row: the count has no place (-2, once).
        uext(tv, 3)
        tv.errorhandling.rsxerr(True)
        self.start(tv, write, "TYPE=DIRECT", "CYCLE 9\n")
        assert tv.shokriehdata.cycles.shape == (1, 2)
        uext(tv, 1, kstep=1, kinc=1)
        assert status(tv)[0] == -2 and tv.shokriehdata.cycles.tolist() == [[1.0, 1.0]]
        tv.errorhandling.rsxerr(True)
        uext(tv, 1, kstep=1, kinc=2)
        assert status(tv)[0] == 0


class TestExplicitEntry:
    def test_phases_and_other_ranks(self, job, write, tmp_path):
        tv = job
        write("job.inp", "*Step, name=a, TVR_INITIALIZATION\n*Step, name=b, TVR_IMPACT\n")
        # A process of rank 1 starts too, with the data file.
        vext(tv, 0, rank=1)
        assert status(tv) == (-3, "Error: Cannot open the solver data file (.dat) of the analysis.")
        assert tv.jobdata.stepid.tolist() == [0, 3]
        vext(tv, 1, kstep=2, rank=1)                 # other phases wait for rank 0
        assert tv.jobdata.stepcount == 0
        vext(tv, 6, rank=1)
        assert tv.jobdata.stepid is None
        tv.errorhandling.rsxerr(True)
        write("job.dat", """
            E L E M E N T   D E F I N I T I O N S
                 1 S4R     1   1 2 3 4
                 2 C3D8R   1   1 2 3 4 5 6 7 8
            N O D E   D E F I N I T I O N S
                 1  0. 0. 0.
            """)
        vext(tv, 0)
        vext(tv, 1, kstep=2)
        assert tv.jobdata.stepcount == 2 and tv.elementdata.elemkind.tolist() == [2, 11]
        vext(tv, 5, kstep=2)
        assert tv.elementdata.elemindices is None
        vext(tv, 5, kstep=1)                         # end of the initialisation step: the shells
        assert tv.elementdata.elemindices.tolist() == [1, -1]
        vext(tv, 9)                                  # no such phase
        vext(tv, 6)
        assert tv.elementdata.elemlist is None and status(tv)[0] == 0


# A start-up in a child process whose memory is capped: a card table beyond
# the cap is refused (-2, the line dropped), one within it that still cannot
# be had abandons the start-up (-3, its tables released).  The solver's C
# entry and the Python routine give the same.  Under AddressSanitizer the
# tests' allocator already refuses blocks over 2 GB, so no cap is set.
MEMORY_CHILD = r"""
import ctypes, json, os, pathlib, resource, sys
cap = 3 * 2**30 + 10 * 2**20
if not os.environ.get("TAVRIN_FUZZ_ASAN"):
    resource.setrlimit(resource.RLIMIT_AS, (cap, resource.RLIM_INFINITY))
import _tavrin as tv
job = pathlib.Path(sys.argv[1])
tv.jobdata.jobfilepath = str(job / "job")
tv.jobdata.joboutdir = str(job)
tv.elementdata.elemkind = [2, 11]  # held before the start, not made by it
if sys.argv[2] == "c":
    maps = pathlib.Path("/proc/self/maps").read_text().split()
    lib = ctypes.CDLL(next(p for p in maps if p.endswith("/libtavrin.so")))
    i, d = ctypes.c_int, ctypes.c_double
    lib.UEXTERNALDB_IOControl(*[ctypes.byref(x) for x in (i(0), i(0), (d * 2)(), d(0), i(0), i(0), i(0))])
else:
    tv.toplevel.uexternaldb_iocontrol(0, 0, [0.0, 0.0], 0.0, 0, 0, 0)
e = tv.errorhandling
print(json.dumps({
    "status": int(e.errstat), "message": e.errstring.tobytes().decode().rstrip(),
    "ints": None if e.errintv is None else e.errintv.tolist(),
    "reals": None if e.errrealv is None else e.errrealv.tolist(),
    **{name: None if getattr(m, name) is None else list(getattr(m, name).shape)
       for m, name in [(tv.jobdata, "stepid"), (tv.shokriehdata, "cycleprops"), (tv.shokriehdata, "cycles"),
                       (tv.sectiondata, "plyorientation"), (tv.materialdata, "peprops"), (tv.impactdata, "cprops"),
                       (tv.elementdata, "elemkind")]}}))
"""

MEMORY_DECK = "*Step, name=a, TVR_INITIALIZATION\n*Step, name=b, TVR_FATIGUE\n*Step, name=c, TVR_FATIGUE\n"
MEMORY_SECTIONS = "++Begin Section, SECID=1\n+Orientation\n0 90\n+Thickness\n0.125\n++End Section\n"


def start_in_capped_child(write, tmp_path, caller, cycle_rows, sections=MEMORY_SECTIONS, material=None,
                          damage=None):
    import json
    import os
    import subprocess
    import sys
    write("job.inp", MEMORY_DECK)
    write("SectionCard.tvr", sections)
    write("MaterialCard.tvr", material or "++Begin Material, MATID=1\n+Elastic\n1 2 3 4 5 6 7 8 9\n++End Material\n")
    if damage:
        write("DamageCard.tvr", damage)
    write("StepCard.tvr", "++Begin Step, STEPID=1\n+Cycle, TYPE=GENERAL\n"
                          f"0 0 3 0 0 {cycle_rows} 1 1 0 1\n0 0 3 0 0 4 1 1 0 1\n0 0 3 0 0 4 1 1 0 1\n"
                          "+Cycle, TYPE=INDIVIDUAL\n1 10 100\n++End Step\n")
    import _tavrin
    env = dict(os.environ, OPENBLAS_NUM_THREADS="1", PYTHONPATH=os.path.dirname(_tavrin.__file__))
    run = subprocess.run([sys.executable, "-c", MEMORY_CHILD, str(tmp_path), caller], capture_output=True,
                         text=True, env=env, timeout=120)
    assert run.returncode == 0, run.stderr[-2000:]
    return json.loads(run.stdout.splitlines()[-1])


@pytest.mark.parametrize("caller", ["c", "python"])
class TestMemory:
    def test_a_card_table_beyond_memory_is_refused_and_the_start_goes_on(self, write, tmp_path, caller):
        r = start_in_capped_child(write, tmp_path, caller, 2147483647)
        assert (r["status"], r["message"]) == (-2, "Error: StepCard line 6, +Cycle: needs 51.5 GB > memory, dropped")
        assert r["ints"] == [6] and r["reals"] == [2147483647 * 3 * 8.0]
        assert r["cycles"] is None and r["cycleprops"] == [10, 3]
        assert r["stepid"] == [3] and r["plyorientation"] == [2, 1] and r["peprops"] == [9, 2, 1]

    @pytest.mark.skipif(bool(__import__("os").environ.get("TAVRIN_FUZZ_ASAN")), reason="no address-space cap")
    def test_the_address_space_cap_bounds_the_card_tables(self, write, tmp_path, caller):
        # 5 GB of cycles: within the machine's memory, beyond the process's cap.
        r = start_in_capped_child(write, tmp_path, caller, 5 * 10**9 // 24)
        assert (r["status"], r["message"]) == (-2, "Error: StepCard line 6, +Cycle: needs 5 GB > memory, dropped")

    def test_a_table_that_cannot_be_had_abandons_the_start(self, write, tmp_path, caller):
        rows = 3 * 2**30 // 24  # 3 GiB of cycles: within the cap, beyond what is left under it
        r = start_in_capped_child(write, tmp_path, caller, rows)
        assert (r["status"], r["message"]) == (-3, f"Out of memory allocating shokriehdata::cycles ({rows}, 3)")
        assert r["ints"] == [rows, 3] and r["reals"] == [rows * 24.0]
        # Everything the start made is released, what it found is kept.
        assert all(r[t] is None for t in ("stepid", "cycleprops", "cycles", "plyorientation", "peprops", "cprops"))
        assert r["elemkind"] == [2]

    def test_plies_times_sections_beyond_memory(self, write, tmp_path, caller):
        # 300,000 plies in one of 2,001 sections: 60 GB of section tables.
        many = "++Begin Section, SECID=2\n+Orientation\n" + " ".join(["0"] * 300_000) + "\n++End Section\n"
        r = start_in_capped_child(write, tmp_path, caller, 4, MEMORY_SECTIONS + many + MEMORY_SECTIONS * 1999)
        assert (r["status"], r["message"]) == (-2, "Error: SectionCard line 8, +Orientation: needs 60 GB > memory, dropped")
        assert r["plyorientation"] == [2, 2001] and r["peprops"] == [9, 2, 2001] and r["cycles"] == [4, 3]

    def test_material_and_damage_tables_beyond_memory(self, write, tmp_path, caller):
        # A curing table of 10⁶ values in 2 plies × 250 sections: 32 GB; a
        # point list of 10⁶ values in 400 damages: 38 GB.
        values = " ".join(["1"] * 1_000_000)
        sections = "".join(MEMORY_SECTIONS.replace("SECID=1", f"SECID={k}") for k in range(1, 251))
        material = f"++Begin Material, MATID=1\n+Curing, TYPE=RATE\n{values}\n++End Material\n"
        r = start_in_capped_child(write, tmp_path, caller, 4, sections, material=material)
        assert (r["status"], r["message"]) == (-2, "Error: MaterialCard line 1, ++Begin Material: needs 32 GB > memory, dropped")
        assert r["peprops"] is None and r["plyorientation"] == [2, 250] and r["cycles"] == [4, 3]
        damage = f"++Begin Damage, DMGID=1\n+Table, LayID=1, TYPE=Matrix\n{values}\n++End Damage\n"
        damage += "++Begin Damage, DMGID=2\n++End Damage\n" * 399
        r = start_in_capped_child(write, tmp_path, caller, 4, damage=damage)
        assert (r["status"], r["message"]) == (-2, "Error: DamageCard line 2, +Table: needs 38.4 GB > memory, dropped")


# A model of as many elements read again with a continuum element of 99,999
# nodes: the element numbers and kinds are refilled in place, then the
# motions (2.2 GiB) cannot be had (beyond the cap, or AddressSanitizer's
# largest block).  The start refills in place the section matrices of one
# ply when the deck is missing (the section tables found), and the impactor
# tables of as many impactors.
REFILLED_CHILD = CAPPED_PRELUDE + r"""
tv.iohandling.getabqdatafromfile(str(job / "first.dat"))
e, n, sd = tv.elementdata, tv.nodaldata, tv.sectiondata
e.elemlist[...], e.elemkind[...] = 7, 7
tv.materialdata.matidlist, sd.plyorientation, sd.plythickness, sd.plyzcoord = [[1]], [[0.0]], [[1.0]], np.zeros((3, 1))
sd.sefmatrix, sd.sehmatrix = np.full((3, 4, 1), 7.0), np.full((2, 2, 1), 7.0)
tv.impactdata.cprops, tv.loaddata.dprops = np.full((20, 1), 7.0), np.full((12, 1), 7.0)
print(*capped(lambda: vext(0), 1024))
print(e.elemlist, e.elemkind, n.nodalcoords, e.nelem, n.nnodes, n.ndof, sd.sefmatrix, sd.sehmatrix, sd.plythickness)
(job / "job.inp").write_text("*Instance, name=B, part=B, tvr_SensorElement\n0, 0, 12.5\n*End Instance\n")
print(*capped(lambda: vext(0), 1024))
print(tv.impactdata.cprops, tv.loaddata.dprops, tv.loaddata.nimp)
"""

# Calls whose memory runs out 4 MiB above the size: the data file, the
# message file (a link to it) and a registration list of 2²³ entries are
# more than that.  The files whose text could not be held are closed.
NAMES_CHILD = CAPPED_PRELUDE + r"""
files = len(os.listdir("/proc/self/fd"))
print(*capped(lambda: vext(0), 4), tv.jobdata.stepid, tv.jobdata.nsteps)
tv.jobdata.stepid, tv.jobdata.nsteps = [1], 1
tv.shokriehdata.cycleprops, tv.shokriehdata.cycles = np.zeros((10, 1)), np.zeros((2, 1))
tv.shokriehdata.cycleprops[3, 0] = 5.0  # the count is read from the message file
print(*capped(lambda: vext(2, 1), 4))
print(*capped(lambda: tv.toplevel.uexternaldb_iocontrol(7, 0, [0.0, 0.0], 0.0, 1, 0, 1), 4))
tv.jobdata.stepid = [0]
tv.listhandling.allocatelist(1, 0, 2**23, defint=-5)  # no entry is the standard marker: all are used
print(*capped(lambda: vext(5, 1), 4))
print(*capped(lambda: tv.elementhandling.getelementreferencedata(1), 4))
print("files left open:", len(os.listdir("/proc/self/fd")) - files)
"""


class TestAbandonedStart:
    @no_cap
    @pytest.mark.parametrize("hold", ["views", "none"])
    def test_each_table_stays_absent_or_as_it_was(self, tmp_path, hold):
        # The explicit start reading the data file again: an abandoned start
        # leaves every table absent or exactly as it was (the reader refills
        # the tables it finds in place when no view holds them, and a mapped
        # table freed and made again may come back at its old address) and
        # the scalars as they were.  70,225 shells: elemcurvatures (2, nelem),
        # the smallest table, is mapped.  malloc keeps what it frees (fixed
        # thresholds), so that the reader's own lists land in memory held
        # already and the cap falls on the tables, each in turn:
        # elemcurvatures at -62 MiB to tcurvmatrices at -2 MiB without views,
        # 12.9 MiB later with them.
        grid_data_file(tmp_path / "job.dat", 265)
        (tmp_path / "job.inp").write_text("*Step, name=a, TVR_INITIALIZATION\n")
        offsets = [-62, -58, -50, -45, -38, -20, -2, 10, 20]
        tunables = {"GLIBC_TUNABLES": "glibc.malloc.mmap_threshold=33554432:glibc.malloc.trim_threshold=1073741824"}
        statuses, messages = capped_rereads(tmp_path, hold, offsets, "job.dat", "start", "VUEXTERNALDB_IOControl",
                                            env_extra=tunables)
        # Memory ran out at several tables, and a read with room enough finished.
        assert len(messages) >= 4
        assert statuses[-1] == 0

    def test_tables_refilled_in_place_are_released(self, tmp_path):
        grid_data_file(tmp_path / "first.dat", 22)
        text = (tmp_path / "first.dat").read_text()
        (tmp_path / "job.dat").write_text(text.replace(" S4R ", " C3D99999 ", 1))
        assert run_child(REFILLED_CHILD, tmp_path) == [
            "-3 " + FAILED_START, "None None None 484 4 6 None None [[1.]]",
            "-3 Out of memory allocating nodaldata::nodesmotion (6, 99999, 484)", "None None 0"]

    @no_cap
    def test_memory_run_out_is_latched_for_the_entry_called(self, tmp_path):
        grid_data_file(tmp_path / "job.dat", 265)
        (tmp_path / "job.inp").write_text("*Step, name=a, TVR_INITIALIZATION\n")
        (tmp_path / "job.msg").symlink_to(tmp_path / "job.dat")
        assert run_child(NAMES_CHILD, tmp_path) == [
            "-3 Out of memory in VUEXTERNALDB_IOControl None 0",        # the start, its state kept
            "-3 Out of memory in VUEXTERNALDB_IOControl",               # a fatigue increment's set-up
            "-3 Out of memory in UEXTERNALDB_IOControl",
            "-3 Out of memory in VUEXTERNALDB_IOControl",               # the end of the initialisation step
            "-3 Out of memory in GetElementReferenceData", "files left open: 0"]
