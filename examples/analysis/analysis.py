"""An analysis driven from Python the way a finite-element solver drives it.

The job files beside this script are what a solver and its user leave in a
job's directory: the input deck (job.inp: an initialisation, a fatigue and an
impact step, one impactor), the four card files (two sections, two materials,
one of them temperature-dependent, a delamination), the solver's printed data
file (job.dat: an S4R, an S8R5 and a C3D8R element) and its message file
(job.msg, with the cycle count of the fatigue step).  They are copied to a
temporary directory; the explicit phases run from start to release, then the
implicit ones, and the script prints what job control made of the files.

In the implicit analysis one integration point of the isotropic ply (section
id 2, the first section of the card, so column 1 of the section and material
tables) runs through every increment as a standard solver drives it: the
damage field entry at the start of the increment, then the material routine
with a single property, which tells it to take the ply's constants from the
material tables at the ply and section column that the damage field entry put
into its state variables on its first call.  The fatigue step strains the
point by 1 % in direction 1; the next increment's damage field entry finds the
stress beyond the tensile strength of 800 MPa under both maximum-stress
criteria (general and fibre) that the material card selects for the ply.

    .venv/bin/python examples/analysis/analysis.py
"""
import pathlib
import shutil
import sys
import tempfile

import numpy as np
import _tavrin as tv

HERE = pathlib.Path(__file__).resolve().parent
JOB_FILES = ["job.inp", "job.dat", "job.msg", "StepCard.tvr", "SectionCard.tvr", "MaterialCard.tvr",
             "DamageCard.tvr"]
STEP_KINDS = {0: "initialisation", 1: "fatigue", 2: "structural response", 3: "impact", 4: "relaxation",
              5: "DIC"}


class Explicit:
    """Job control as an explicit solver calls it: phases 0 to 6."""

    def __init__(self, dt=1e-4):
        self.dt = dt

    def call(self, k, step=0, increment=0):
        # i_array: nodes, elements, step, increment, ...; r_array: times, dt.
        tv.toplevel.vexternaldb_iocontrol(k, [20, 3, step, increment, 0, 0], [0.0, 0.0, self.dt])

    def start(self): self.call(0)                      # deck, cards, data file
    def start_step(self, step): self.call(1, step)
    def start_increment(self, step, inc):
        self.call(2, step, inc)                          # set-up of the increment
        self.call(3, step, inc)                          # start of the increment
    def end_increment(self, step, inc): self.call(4, step, inc)
    def end_step(self, step): self.call(5, step)        # element data after step 1
    def end(self): self.call(6)                         # release


class Implicit:
    """Job control as an implicit solver calls it: codes 0, 1, 2, 3."""

    def __init__(self, dt=1e-3):
        self.dt = dt

    def call(self, lop, step=0, increment=0):
        tv.toplevel.uexternaldb_iocontrol(lop, 0, [0.0, 0.0], self.dt, step, increment)

    def start(self): self.call(0)
    def start_step(self, step): self.call(5, step)
    def start_increment(self, step, inc): self.call(1, step, inc)
    def end_increment(self, step, inc): self.call(2, step, inc)
    def end_step(self, step): self.call(6, step)
    def end(self): self.call(3)


class PlyPoint:
    """Integration point 1 of ply 1 of element 2 with 40 state variables (the
    damage record is the whole array, so the stress the material routine
    leaves in slots 1-6 is the one the damage field entry judges) and five
    field variables.  Each increment: the damage field entry, then the
    material routine on the total strain of the step."""

    NSTATV, NFIELD = 40, 5
    NOEL, NPT, LAYER, KSPT = 2, 1, 1, 1
    COORD = [25.0, 5.0, 0.0]      # within element 2, away from the delamination
    STRAIN_OF_STEP = {1: 0.0, 2: 0.01, 3: 0.01}   # total strain e11 held in each step

    def __init__(self):
        self.statev = np.zeros(self.NSTATV)
        self.field = np.zeros(self.NFIELD)
        self.stran = np.zeros(6)
        self.stress = np.zeros(6)
        self.name = "PLATE-ISOTROPIC"

    def increment(self, step, inc, dtime):
        eye = np.eye(3, order="F")
        time = [0.0, 0.0]
        self.field, self.statev, _ = tv.toplevel.usdfld_dmg(
            self.field, self.statev, 1.0, eye, eye, 0.5, time, dtime, self.name, "", self.NOEL, self.NPT,
            self.LAYER, self.KSPT, step, inc, 3, 3, self.COORD, [0], [0], 0, 0)
        dstran = np.zeros(6)
        dstran[0] = self.STRAIN_OF_STEP[step] - self.stran[0]
        z = np.zeros(6)
        self.stress, self.statev, self.ddsdde, self.sse, *_ = tv.toplevel.umat_lamina(
            self.stress, self.statev, 0.0, 0.0, 0.0, 0.0, z, z, 0.0, self.stran, dstran, time, dtime, 20.0, 0.0,
            [0.0], [0.0], self.name, 3, 3, [0.0], self.COORD, eye, 1.0, 0.5, eye, eye, self.NOEL, self.NPT,
            self.LAYER, self.KSPT, [step, 0, 0, 0], inc)
        self.stran = self.stran + dstran

    def summary(self):
        s = self.statev
        return [f"ply point after the fatigue step (ply {s[20]:.0f}, section column {s[21]:.0f}): "
                f"s11 = {self.stress[0]:.5f} MPa, SSE = {self.sse:.7f}, "
                f"flags general {s[6]:.0f} fibre {s[7]:.0f} matrix {s[8]:.0f} delamination {s[9]:.0f}",
                f"efforts general {s[12]:.7f} fibre {s[13]:.7f}, state code {s[25]:.0f}, "
                f"fields {[float(f) for f in self.field]}"]


def run(solver, increments, point=None):
    """Start, three steps of a few increments, release.  In the impact step an
    impactor element would write the impactor's contact force, mass and time
    scheme into its record during each increment; here the script does.  A
    material point, when given, answers every increment, and its state after
    the fatigue step ends the report."""
    solver.start()
    report = None
    after_fatigue = []
    for step in (1, 2, 3):
        solver.start_step(step)
        n = increments[step - 1]
        for inc in range(1, n + 1):
            solver.start_increment(step, inc)
            if point is not None:
                point.increment(step, inc, solver.dt)
            if step == 3:
                cprops = tv.impactdata.cprops
                cprops[0, 0] = 400.0 * np.sin(np.pi * inc / n)   # contact force F
                cprops[6, 0] = 2.0                               # impactor mass
                cprops[7:10, 0] = [-0.05, 0.275625, 0.55]        # HHT-alpha: alpha, beta, gamma
            solver.end_increment(step, inc)
        if step == 2 and point is not None:
            after_fatigue = point.summary()
        if step == 3:
            report = summary()
        solver.end_step(step)
    solver.end()
    return report + after_fatigue


def summary():
    job, sec, mat = tv.jobdata, tv.sectiondata, tv.materialdata
    kinds = ", ".join(f"{i + 1} {STEP_KINDS[int(k)]}" for i, k in enumerate(job.stepid))
    column = {int(s): i for i, s in enumerate(sec.secidlist)}    # the tables' column of each section id
    laminate, isotropic = column[1], column[2]
    lines = [f"steps: {kinds}",
             f"impactors: {int(tv.loaddata.nimp)} at {tuple(float(v) for v in tv.loaddata.dprops[1:4, 0])}",
             f"elements: {list(tv.elementdata.elemlist)} kinds {list(tv.elementdata.elemkind)}, "
             f"{int(tv.nodaldata.nnodes)} nodes, {int(tv.nodaldata.ndof)} dof per node"
             if tv.elementdata.elemlist is not None else "elements: none (no data file read)",
             f"sections: {int(sec.nsec)} of up to {int(sec.nplies)} plies, ids {list(sec.secidlist)}, "
             f"material ids {mat.matidlist.T.tolist()}",
             f"transverse shear stiffness of section 2: H11 = {sec.sehmatrix[0, 0, isotropic]:.3f} N/mm",
             f"temperatures: {list(mat.temperatures)}; E1 of ply 1 of section 1 at them: "
             f"{mat.peprops[0, 0, laminate]:.0f}, {mat.peprops[9, 0, laminate]:.0f} MPa",
             f"debug element {int(tv.debugdata.edebug)}, unit {int(tv.debugdata.unitid)}; "
             f"cycle count of step 2: {tv.shokriehdata.cycles[1, 1]:.1f}",
             f"delaminations: {int(tv.damagedata.ndmg)}, interface 1 extent "
             f"{tuple(float(v) for v in tv.damagedata.delamdds[:2, 0, 0])}"]
    c = tv.impactdata.cprops[:, 0]
    lines.append(f"impactor after the impact step: u = {c[3]:.6e}, v = {c[4]:.6f}, a = {c[5]:.4f}, "
                 f"peak force {c[13]:.1f}, unloading {bool(c[15])}")
    return lines


def main():
    with tempfile.TemporaryDirectory() as tmp:
        for name in JOB_FILES:
            shutil.copy(HERE / name, tmp)
        tv.jobdata.jobfilepath = str(pathlib.Path(tmp) / "job")
        tv.jobdata.joboutdir = tmp
        tv.errorhandling.rsxerr(True)
        print("Explicit analysis")
        for line in run(Explicit(), increments=(2, 2, 10)):
            print("  " + line)
        print("Implicit analysis, a second start in the same process")
        for line in run(Implicit(), increments=(1, 2, 4), point=PlyPoint())[-3:]:
            print("  " + line)
    shared = [getattr(getattr(tv, m), v) for m, v in [
        ("jobdata", "stepid"), ("sectiondata", "plyorientation"), ("materialdata", "peprops"),
        ("impactdata", "cprops"), ("elementdata", "elemlist"), ("shokriehdata", "cycles"),
        ("damagedata", "delamdds"), ("bukdata", "bukrealdatalist")]]
    freed = all(t is None for t in shared)
    status = int(tv.errorhandling.errstat)
    print(f"errstat {status}, tables freed: {freed}")
    return 0 if status == 0 and freed else 1


if __name__ == "__main__":
    sys.exit(main())
