"""The four card readers: what each card line makes of the shared state, and
the sound handling of lines that cannot be stored."""
import numpy as np
import pytest

from conftest import EMPTY, NOT_GIVEN


def read_step(tv, tmp_path, nsteps=3):
    tv.iohandling.getstepdatafromfile("", str(tmp_path), nsteps)


def status(tv):
    """The latch: (status, message); the message of a cleared latch is ''."""
    code = int(tv.errorhandling.errstat)
    return code, tv.errorhandling.errstring.tobytes().decode().rstrip() if code else ""


class TestStepCard:
    def test_selectors_per_block(self, fresh, write, tmp_path):
        tv = fresh
        write("StepCard.tvr", """
            +Update, TYPE=INC
            9
            +Update
            4
            ++BEGIN STEP, STEPID=1
             +Debug, TYPE=ELEMENT
            99
            +Debug, TYPE=ELEMENT
            12
            +Verbose
            2
            ++End Step
            ++Begin Step, STEPID=2
            +Debug, TYPE=NODAL
            5
            ++End Step
            """)
        read_step(tv, tmp_path)
        d = tv.debugdata
        assert (d.edebug, d.ndebug, d.verbose, d.unitid, d.nupdate) == (12, 5, 2, -3, 4)
        write("StepCard.tvr", """
            ++Begin Step, STEPID=1
            +Debug, TYPE=ELEMENT
            12
            ++End Step
            ++Begin Step, STEPID=2
            +Debug, TYPE=ELEMENT
            7
            +Verbose
            2, 6
            ++End Step
            ++Begin Step, STEPID=3
            +Debug, TYPE=FILE
            8
            """)
        read_step(tv, tmp_path)
        assert (d.edebug, d.verbose, d.unitid, d.fdebug, d.nupdate) == (7, 2, 6, 0, 1)
        # The unclosed last block's value was read and not stored.
        assert status(tv) == (-2, "Error: StepCard line 12, ++End Step: block not closed, values dropped")
        tv.errorhandling.rsxerr(True)
        # A list line without data leaves the block's earlier list.
        write("StepCard.tvr", "++Begin Step, STEPID=1\n+Update, TYPE=INC\n3\n+Update, TYPE=INC\n++End Step\n")
        read_step(tv, tmp_path)
        assert d.nupdate == 3

    def test_cycle_tables(self, fresh, write, tmp_path):
        tv = fresh
        write("StepCard.tvr", """
            +Cycle, TYPE=GENERAL
            1 2 3 4 5 6 7
            """)
        read_step(tv, tmp_path)
        assert tv.shokriehdata.cycleprops is None  # block only
        write("StepCard.tvr", """
            ++Begin Step, STEPID=1
            +Cycle, TYPE=GENERAL
            1 2 3 4 5 6 7
            +Cycle
            8 9 10
            ++End Step
            """)
        read_step(tv, tmp_path)
        np.testing.assert_array_equal(tv.shokriehdata.cycleprops, [[1, 3, 5], [2, 4, 6]])
        assert tv.shokriehdata.cycles is None
        assert status(tv) == (-2, "Error: StepCard line 4, +Cycle: beyond the table, dropped")

        tv.errorhandling.rsxerr(True)
        write("StepCard.tvr", """
            ++Begin Step, STEPID=1
            +Cycle, TYPE=DIRECT
            1 2 3 4 5 6
            ++End Step
            """)
        read_step(tv, tmp_path)
        np.testing.assert_array_equal(tv.shokriehdata.cycles, [[1, 1, 1]])
        np.testing.assert_array_equal(tv.shokriehdata.cycleprops, [[1, 3, 5], [2, 4, 6]])

        # Ten parameters per step; steps 2 and 3 take individual lists (row 3
        # >= 3), the largest row 6 (3.5 rounds to 4) gives four rows.
        params = np.zeros((10, 3))
        params[2, 1:] = 3.0
        params[5] = [1.0, 3.5, 2.0]
        body = " ".join(str(v) for v in params.T.ravel())
        write("StepCard.tvr", f"""
            ++Begin Step, STEPID=1
            +Cycle, TYPE=GENERAL
            {body}
            +Cycle, TYPE=INDIVIDUAL
            10, 100, 1000
            ++End Step
            """)
        read_step(tv, tmp_path)
        np.testing.assert_array_equal(tv.shokriehdata.cycles, [[0, 10, 0], [0, 100, 0], [0, 1000, 0], [0, 0, 0]])
        assert status(tv) == (0, "")

    def test_individual_list_needs_six_rows_and_room(self, fresh, write, tmp_path):
        tv = fresh
        write("StepCard.tvr", """
            ++Begin Step, STEPID=1
            +Cycle, TYPE=GENERAL
            1 2 3 4 5 6
            +Cycle, TYPE=INDIVIDUAL
            10
            ++End Step
            """)
        read_step(tv, tmp_path)
        assert tv.shokriehdata.cycles is None
        assert status(tv)[0] == -2
        # Row 6 of no step asks for a list: the table has no rows, and the
        # list stands beyond it.
        tv.errorhandling.rsxerr(True)
        write("StepCard.tvr", "++Begin Step, STEPID=1\n+Cycle, TYPE=GENERAL\n0 0 3 0 0 0\n"
                              "+Cycle, TYPE=INDIVIDUAL\n10\n++End Step\n")
        read_step(tv, tmp_path, nsteps=1)
        assert tv.shokriehdata.cycles.shape == (0, 1)
        assert status(tv) == (-2, "Error: StepCard line 4, +Cycle: beyond the table, dropped")

    def test_items_that_are_not_numbers_and_line_forms(self, fresh, write, tmp_path):
        tv = fresh
        # A byte-order mark, CRLF lines, "2 , 6" as two items.
        write("StepCard.tvr", "\ufeff++Begin Step, STEPID=1\n+Verbose\n2 , 6\t \n++End Step\n".encode().decode("latin-1"),
              newline="\r\n")
        read_step(tv, tmp_path)
        assert (tv.debugdata.verbose, tv.debugdata.unitid) == (2, 6)
        write("StepCard.tvr", """
            ++Begin Step, STEPID=1
            +Cycle, TYPE=GENERAL
            1.0 2.0 3.0
            3*1.0
            ++End Step
            """)
        read_step(tv, tmp_path)
        assert tv.shokriehdata.cycleprops is None
        assert status(tv) == (-2, "Error: StepCard line 4, +Cycle: item not a number, list dropped")
        assert list(tv.errorhandling.errintv) == [4]


class TestSectionCard:
    CARD = """
        ++Begin Section, SECID=7
        +Material
        3
        +Orientation
        0, 45, -45, 90
        +Thickness
        0.125
        +Strength
        350.
        +Extension
        1, 2
        ++End Section
        ++Begin Section, SECID=9
        +Material
        5, 6
        +Orientation
        0, 90
        +Thickness
        .2 .3
        +Strength, TYPE=INSITU
        400.
        ++End Section
        """

    def test_two_sections(self, fresh, write, tmp_path):
        tv = fresh
        write("SectionCard.tvr", self.CARD)
        tv.iohandling.getsectiondatafromfile("", str(tmp_path))
        s, m = tv.sectiondata, tv.materialdata
        assert (s.nplies, s.nsec) == (4, 2)
        np.testing.assert_array_equal(m.matidlist, [[3, 5], [3, 6], [3, EMPTY], [3, EMPTY]])
        np.testing.assert_array_equal(s.plythickness[:, 0], [0.125] * 4)
        np.testing.assert_array_equal(s.secidlist, [7, 9])
        np.testing.assert_array_equal(s.xcstrength, [350.0, 0.0])
        np.testing.assert_array_equal(s.seflags, [[1, 0], [2, 0]])
        np.testing.assert_allclose(s.plyzcoord[:, 0], np.arange(-0.25, 0.25 + 1e-12, 0.0625), rtol=0, atol=1e-15)
        np.testing.assert_allclose(s.plyzcoord[:5, 1], [-0.25, -0.15, -0.05, 0.1, 0.25], rtol=0, atol=1e-15)
        assert s.sefmatrix.shape == (9, 4, 2) and s.sehmatrix.shape == (2, 2, 2)
        assert status(tv) == (0, "")

    def test_single_slot_and_lists_beyond_the_table(self, fresh, write, tmp_path):
        tv = fresh
        write("SectionCard.tvr", """
            ++Begin Section, SECID=1
            +Orientation
            30
            ++End Section
            """)
        tv.iohandling.getsectiondatafromfile("", str(tmp_path))
        assert tv.materialdata.matidlist.tolist() == [[1]]
        # A block without "+Orientation" has no plies to give its one material.
        write("SectionCard.tvr", """
            ++Begin Section, SECID=1
            +Material
            3
            +Orientation
            0 0
            ++End Section
            ++Begin Section, SECID=2
            +Material
            7
            ++End Section
            """)
        tv.iohandling.getsectiondatafromfile("", str(tmp_path))
        assert tv.materialdata.matidlist.tolist() == [[3, 7], [3, EMPTY]]
        # "+Orientation" with an option does not size the table: its list is
        # longer than the table and dropped.
        write("SectionCard.tvr", """
            ++Begin Section, SECID=1
            +Orientation, TYPE=X
            0 0 0
            +Orientation
            0
            ++End Section
            """)
        tv.iohandling.getsectiondatafromfile("", str(tmp_path))
        assert status(tv) == (-2, "Error: SectionCard line 2, +Orientation: beyond the table, dropped")
        tv.errorhandling.rsxerr(True)
        write("SectionCard.tvr", "++Begin Section, SECID=4\n++End Section\n++Begin Section, SECID=one\n++End Section\n")
        tv.iohandling.getsectiondatafromfile("", str(tmp_path))
        assert status(tv) == (-2, "Error: SectionCard line 3, ++Begin Section: item not a number, list dropped")
        assert tv.sectiondata.secidlist.tolist() == [4, 0]


class TestMaterialCard:
    def sections(self, tv, write, tmp_path, ids="1, 2, 1, 2"):
        write("SectionCard.tvr", f"""
            ++Begin Section, SECID=1
            +Material
            {ids}
            +Orientation
            0 0 0 0
            +Thickness
            0.1
            ++End Section
            """)
        tv.iohandling.getsectiondatafromfile("", str(tmp_path))

    def read(self, tv, tmp_path):
        tv.iohandling.getmaterialdatafromfile("", str(tmp_path), int(tv.sectiondata.nplies), int(tv.sectiondata.nsec))

    def test_blocks_go_to_the_slots_naming_them(self, fresh, write, tmp_path):
        tv = fresh
        self.sections(tv, write, tmp_path, "1, 2, 1, 3")
        cure = "".join(f"+{k}\n            1 2\n            "
                       for k in ("Expansion", "Shrinkage", "GelPoint", "Enthalpie", "Transition"))
        write("MaterialCard.tvr", f"""
            +Failure
            1, 2, 3
            ++Begin Material, MATID=1
            +Elastic
            70000, 0.3
            +Failure, TYPE=DEGRADATION
            .1 .2 .3 .4 .5 .6
            +I10, TYPE=ANY
            0.5
            +Calibration, TYPE=Ratio
            0.25
            {cure}+Curing, TYPE=RATE
            1 2 3 4 5 6 7 8
            +Curing, TYPE=MASTER
            9
            ++End Material
            ++Begin Material, MATID=2
            +Elastic
            1 2 3 .1 .2 .3 4 5 6
            {cure}+Curing
            5 6
            +Curing, TYPE=RATE
            7
            +Curing, TYPE=MASTER
            8
            ++End Material
            """)
        self.read(tv, tmp_path)
        m = tv.materialdata
        g = 70000 / 2.6
        np.testing.assert_allclose(m.peprops[:9, 0, 0], [70000, 70000, 70000, .3, .3, .3, g, g, g], rtol=1e-15)
        np.testing.assert_array_equal(m.peprops[:9, 1, 0], [1, 2, 3, .1, .2, .3, 4, 5, 6])
        np.testing.assert_array_equal(m.peprops[:9, 2, 0], m.peprops[:9, 0, 0])
        assert not m.peprops[:, 3, 0].any()                       # id 3 is named by no block
        np.testing.assert_array_equal(m.pelimits[:, 0, 0], [.1, .2, .3, .4, .5, .6] * 2)
        np.testing.assert_array_equal(m.pelimits[:, 1, 0], [-1.0] * 12)
        np.testing.assert_array_equal(m.pfflags[:, 0, 0], [1, 2, 3, 0, 0])  # given before the first block
        assert not m.pfflags[:, 1, 0].any()
        assert (m.i10.tolist(), m.r_crit.tolist()) == ([0.5], [0.25])
        # Material 1 gives seven cure lists (no "+Curing" of the limit law):
        # none is stored; material 2 gives all eight.
        assert m.cuprops.shape == (8, 8, 4, 1)
        assert (m.cuprops[:, :, 0, 0] == NOT_GIVEN).all() and (m.pdprops == NOT_GIVEN).all()
        np.testing.assert_array_equal(m.cuprops[:3, 4, 1, 0], [5, 6, NOT_GIVEN])
        np.testing.assert_array_equal(m.cuprops[:2, 6, 1, 0], [7, NOT_GIVEN])
        assert status(tv) == (0, "")

    def test_temperatures_factor_tables_and_calibration(self, fresh, write, tmp_path):
        tv = fresh
        self.sections(tv, write, tmp_path, "1")
        elastic = "1 2 3 .1 .2 .3 4 5 6"
        strength = "10 20 30 40 50 60 70 80 90 100"
        table = " ".join(["2"] * 19 + ["0.5"] * 19 + ["0.25"] * 19)  # three temperatures
        write("MaterialCard.tvr", f"""
            ++Begin Material, MATID=1
            +Temperature
            20, 80
            +Elastic
            {elastic}
            +Strength
            {strength}
            +Table, TYPE=TEMPERATURE
            {table}
            +Calibration, TYPE=Secant, T=20
            0.01, 3000, 0.02, 2800
            +Calibration, TYPE=Secant, T=80
            0.01, 2000, 0.02, 1800
            +Calibration, TYPE=Normal, T=20
            1 2
            +Calibration, TYPE=Normal, T=80
            3 4
            +Calibration, TYPE=Plasticity, T=20
            1 2 3 4 5 6
            +Calibration, TYPE=Shear
            7 8
            ++End Material
            ++Begin Material, MATID=2
            +Temperature
            80, 20, 120
            ++End Material
            """)
        self.read(tv, tmp_path)
        m = tv.materialdata
        assert m.temperatures.tolist() == [20, 80, 120] and m.ntempdata == 3
        assert m.peprops.shape == (27, 4, 1) and m.psprops.shape == (30, 4, 1)
        np.testing.assert_array_equal(m.peprops[:9, 0, 0], [2, 4, 6, .2, .4, .6, 8, 10, 12])  # replaces the set
        np.testing.assert_array_equal(m.peprops[9:18, 0, 0], [.5, 1, 1.5, .05, .1, .15, 2, 2.5, 3])
        np.testing.assert_array_equal(m.psprops[:10, 0, 0], [20, 40, 60, 80, 100, 120, 140, 160, 180, 200])
        np.testing.assert_array_equal(m.psprops[10:20, 0, 0], [5, 10, 15, 20, 25, 30, 35, 40, 45, 50])
        assert m.nsecantdata == 2 and m.nflowdata == 2
        np.testing.assert_array_equal(m.secantprops[:2], [[[0.01, 3000], [0.02, 2800]], [[0.01, 2000], [0.02, 1800]]])
        # The seven row types share the block's counter: after four lines the
        # plasticity line is the first row of the next group of three.
        np.testing.assert_array_equal(m.normalprops[:2, 0], [[3, 4], [0, 0]])
        np.testing.assert_array_equal(m.normalprops[2, 0], [1, 2])
        np.testing.assert_array_equal(m.flowprops[1], [[1, 2, 3], [4, 5, 6]])
        assert not m.shearprops.any()                             # no "T=": skipped
        assert status(tv) == (0, "")

        # 37 factors for (9 + 10) x 2 temperatures: the table is not used.
        write("MaterialCard.tvr", f"""
            ++Begin Material, MATID=1
            +Temperature
            0, 20
            +Elastic
            {elastic}
            +Strength
            {strength}
            +Table, TYPE=TEMPERATURE
            {" ".join(["1"] * 37)}
            ++End Material
            """)
        self.read(tv, tmp_path)
        assert m.temperatures.tolist() == [0, 20]                 # 0.0 is a temperature
        assert not m.peprops[9:, 0, 0].any()
        assert status(tv) == (-2, "Error: MaterialCard line 8, +Table: wrong number of values, dropped")

    def test_lists_of_the_wrong_length_and_repeated_keywords(self, fresh, write, tmp_path):
        tv = fresh
        self.sections(tv, write, tmp_path, "1")
        write("MaterialCard.tvr", """
            ++Begin Material, MATID=1
            +Elastic
            1 2 3 4 5 6 7 8 9 10
            +Failure, TYPE=DEGRADATION
            1 2 3 4 5 6 7
            +Strength
            5
            +Strength
            6
            +Hygrothermal
            1 x
            +Fracture
            0.3, 0.8
            ++End Material
            """)
        self.read(tv, tmp_path)
        m = tv.materialdata
        assert not m.peprops.any() and m.peprops.shape[0] == 10   # the table is sized by the longest list
        assert (m.pelimits == -1).all() and m.psprops[0, 0, 0] == 5
        assert m.pfprops[:, 0, 0].tolist() == [0.3, 0.8] and not m.phprops.any()
        assert status(tv) == (-2, "Error: MaterialCard line 2, +Elastic: beyond the table, dropped")
        tv.errorhandling.rsxerr(True)
        write("MaterialCard.tvr", """
            ++Begin Material, MATID=2
            +Temperature
            50
            ++Begin Material, MATID=1
            +ModelID
            3
            +Calibration, TYPE=Plasticity, T=20
            1 2
            ++End Material
            ++Begin Material, MATID=1
            +ModelID
            4
            """)
        self.read(tv, tmp_path)
        assert m.modelid == 3
        assert m.temperatures.tolist() == [NOT_GIVEN]      # the unclosed block's list is dropped
        assert m.flowprops[0, 0].tolist() == [1, 2, 0]     # a point short of values
        # Tables of lists no block gives keep one row.
        assert (m.phprops.shape, m.pfprops.shape, m.pdprops.shape, m.regularization.shape) == (
            (1, 4, 1), (1, 4, 1), (1, 4, 1), (1,))
        assert (m.flowprops.shape, m.secantprops.shape, m.equivalentstress.shape) == ((1, 1, 3), (1, 1, 2), (1, 2))
        assert status(tv) == (-2, "Error: MaterialCard line 1, ++Begin Material: block not closed, values dropped")
        tv.errorhandling.rsxerr(True)


class TestDamageCard:
    def read(self, tv, tmp_path, nplies, nsec=2):
        tv.iohandling.getdamagedatafromfile("", str(tmp_path), nplies, nsec)

    def test_damages_by_id(self, fresh, write, tmp_path):
        tv = fresh
        write("DamageCard.tvr", """
            ++Begin Damage, DMGID=2
            +Position
            1 2 3
            +Abstraction, TYPE=Delamination
            1, 10, 5, 0, 2, 12, 6, 0
            +Table, TYPE=Matrix, LayID=3
            1 2 3 4
            +Abstraction, TYPE=fiber
            1 2 3 4
            ++End Damage
            ++Begin Damage, DMGID=1
            +Position
            4 5 6 7 8
            +Table, LayID=3, TYPE=Matrix
            9
            +Abstraction, TYPE=User
            0 1 2 0
            ++End Damage
            """)
        self.read(tv, tmp_path, 8)
        d = tv.damagedata
        assert d.ndmg == 2
        np.testing.assert_array_equal(d.dmgplane[:, 1], [1, 2, 3, -NOT_GIVEN, -NOT_GIVEN])
        np.testing.assert_array_equal(d.dmgplane[:, 0], [4, 5, 6, 7, 8])
        assert d.delamdds.shape == (3, 7, 2)
        np.testing.assert_array_equal(d.delamdds[:, :2, 1], [[10, 12], [5, 6], [0, 0]])
        assert tv.bukdata.bukintdatalist.shape == (4, 7, 2, 2) and tv.bukdata.bukrealdatalist.shape == (12, 7, 2, 2)
        np.testing.assert_array_equal(d.dmgpoints[:, 2, 2, 1], [1, 2, 3, 4])
        np.testing.assert_array_equal(d.dmgpoints[:2, 2, 2, 0], [9, NOT_GIVEN])
        assert d.fiberdds is None                                  # words are case-sensitive
        np.testing.assert_array_equal(d.userdds[:, 0, 0], [1, 2, 0])
        assert status(tv) == (0, "")

    def test_short_position_lists_keep_four_rows(self, fresh, write, tmp_path):
        tv = fresh
        write("DamageCard.tvr", "++Begin Damage, DMGID=1\n+Position\n1 2\n++End Damage\n")
        self.read(tv, tmp_path, 2)
        np.testing.assert_array_equal(tv.damagedata.dmgplane[:, 0], [1, 2, -NOT_GIVEN, -NOT_GIVEN])

    def test_one_ply_and_indices_beyond_the_tables(self, fresh, write, tmp_path):
        tv = fresh
        write("DamageCard.tvr", """
            ++Begin Damage, DMGID=1
            +Abstraction, TYPE=Delamination
            1, 10, 5, 0
            +Table, LayID=2, TYPE=Fiber
            1
            ++End Damage
            ++Begin Damage, DMGID=3
            +Position
            1
            ++End Damage
            """)
        self.read(tv, tmp_path, 1)
        assert tv.damagedata.delamdds is None and tv.bukdata.bukintdatalist is None
        assert tv.damagedata.dmgpoints is None
        assert status(tv) == (-2, "Error: DamageCard line 4, +Table: beyond the table, dropped")
        tv.errorhandling.rsxerr(True)
        write("DamageCard.tvr", """
            ++Begin Damage, DMGID=1
            +Abstraction, TYPE=General
            1 2 3 4 5
            ++End Damage
            """)
        self.read(tv, tmp_path, 2)
        assert tv.damagedata.generaldds is None
        assert status(tv) == (-2, "Error: DamageCard line 2, +Abstraction: wrong number of values, dropped")
