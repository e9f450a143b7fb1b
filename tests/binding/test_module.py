"""The module object _tavrin: import contract, inventory, module variables."""
import os

import numpy as np
import pytest

DATA_MODULES = ["types", "jobdata", "debugdata", "materialdata", "sectiondata", "nodaldata",
                "elementdata", "impactdata", "loaddata", "damagedata", "bukdata", "shokriehdata",
                "errorhandling"]


def test_import_contract(tv, error):
    assert tv.__version__ == "$Revision: $"
    assert issubclass(error, Exception) and error.__name__ == "error"
    assert error.__module__ == "_tavrin"
    assert not hasattr(tv, "error")
    for name in DATA_MODULES + ["datahandling", "utility"]:
        assert name in tv.__doc__
        assert type(getattr(tv, name)).__name__ == "module"
    line = [l for l in tv.__doc__.splitlines() if l.strip().startswith("utility ---")][0]
    members = line.strip().split(" --- ")[1].rstrip(".").split(",")
    assert {"processlock()", "processunlock()"} <= set(members)
    assert repr(tv.laminate.getamatrix) == "<tavrin routine laminate.getamatrix>"
    assert repr(tv.laminate) == "<tavrin module 'laminate'>"


def test_numpy_interface_missing_refuses_the_import(child):
    r = child("import sys; sys.modules['numpy.core._multiarray_umath'] = None\nimport _tavrin")
    assert r.returncode != 0
    assert "ImportError: numpy.core.multiarray failed to import" in r.stderr


def test_every_variable_is_exposed(tv):
    count = 0
    for name in DATA_MODULES:
        mod = getattr(tv, name)
        doc_vars = [l.split(":")[0].strip() for l in mod.__doc__.split("Variables:")[1].split("Routines:")[0].splitlines() if l.strip()]
        for v in doc_vars:
            assert v in dir(mod)
            getattr(mod, v)
        count += len(doc_vars)
    assert count == 110


class TestFixedVariables:
    def test_scalars_are_live_views(self, tv, error):
        view = tv.sectiondata.nsec
        tv.sectiondata.nsec = 4
        assert view == 4 and view.dtype == np.int32 and view.shape == ()
        view[...] = 7
        assert tv.sectiondata.nsec == 7
        tv.shokriehdata.dnf = 2.5
        assert tv.shokriehdata.dnf == 2.5
        with pytest.raises(error, match="failed to set sectiondata.nsec: can't be converted to int"):
            tv.sectiondata.nsec = "x"
        with pytest.raises(error):
            tv.sectiondata.nsec = 2**32
        tv.sectiondata.nsec = 0

    def test_kind_constants_are_read_only(self, tv):
        sizes = {name: int(getattr(tv.types, name)) for name in ("i2", "i4", "i8", "sp", "dp", "qp", "cb")}
        assert sizes == {"i2": 2, "i4": 4, "i8": 8, "sp": 4, "dp": 8, "qp": 16, "cb": 1}
        with pytest.raises(AttributeError, match="types.dp is read-only"):
            tv.types.dp = 4
        with pytest.raises(ValueError):
            tv.types.dp[...] = 4
        assert tv.types.dp == 8

    def test_character_fields(self, tv, error):
        # NUL-filled until the host sets them (set in a child for a fresh state).
        field = tv.jobdata.jobname
        assert field.dtype == np.dtype("S256")
        tv.jobdata.jobname = "analysis-1"
        assert field[()].rstrip() == b"analysis-1"  # the view is live
        assert tv.jobdata.jobname.tobytes() == b"analysis-1" + b" " * 246
        tv.jobdata.joboutdir = b"/tmp/out"
        assert tv.jobdata.joboutdir.tobytes().rstrip() == b"/tmp/out"
        # A path longer than its field is refused and the field kept; blanks
        # beyond the field are no part of it.  A message is cut to its field.
        for module, name, n in [("jobdata", "jobname", 256), ("jobdata", "joboutdir", 256),
                                ("jobdata", "jobfilepath", 256), ("path", "csinfopath", 240),
                                ("path", "vbinfopath", 240)]:
            m = getattr(tv, module)
            before = getattr(m, name).tobytes()
            setattr(m, name, "kept")
            with pytest.raises(error, match=f"failed to set {module}.{name}: path of {n + 1} bytes "
                                            f"is longer than its field of {n} bytes$"):
                setattr(m, name, "x" * n + "y" + " " * 20)
            # Bytes are counted, of a str as Python encodes file names; a NUL
            # before the padding would end the name early.
            for given, why in [("é" * (n // 2) + "x", f"path of {n + 1} bytes is longer than its field of {n} bytes"),
                               (b"kept\0x", "path holds a null byte after its first 4 bytes"),
                               ("kept\0 x", "path holds a null byte after its first 4 bytes")]:
                with pytest.raises(error, match=f"failed to set {module}.{name}: {why}$"):
                    setattr(m, name, given)
            assert getattr(m, name).tobytes().rstrip() == b"kept"
            for given in ("/tmp/Müller Łódź", os.fsencode("/tmp/Müller Łódź"), "/tmp/\udce9", b"/tmp/\xe9"):
                setattr(m, name, given)
                assert getattr(m, name).tobytes().rstrip() == os.fsencode(given)
            setattr(m, name, "x" * n + " " * 40 + "\0" * 4)
            assert getattr(m, name).tobytes() == b"x" * n
            setattr(m, name, before)
        message = tv.errorhandling.errstring.tobytes()
        tv.errorhandling.errstring = "e" * 100
        assert tv.errorhandling.errstring.tobytes() == b"e" * 80
        tv.errorhandling.errstring = message
        tv.jobdata.jobfilepath = tv.jobdata.joboutdir
        assert tv.jobdata.jobfilepath.tobytes().rstrip() == b"/tmp/out"

    def test_fresh_state_at_load(self, child):
        r = child("import _tavrin as t\n"
                  "assert t.jobdata.jobname.tobytes() == bytes(256)\n"
                  "assert t.errorhandling.errstring.tobytes() == bytes(80)\n"
                  "assert t.materialdata.peprops is None and t.jobdata.processid is None\n"
                  "assert t.sectiondata.nplies == 0\n"
                  # every integer count and flag of the data modules starts at 0
                  "import numpy as np\n"
                  f"for name in {DATA_MODULES[1:]!r}:\n"
                  "    m = getattr(t, name)\n"
                  "    for v in m.__doc__.split('Variables:')[1].split('Routines:')[0].split():\n"
                  "        x = getattr(m, v, None)\n"
                  "        if isinstance(x, np.ndarray) and x.shape == () and x.dtype == np.int32:\n"
                  "            assert x == 0, (name, v, x)\n")
        assert r.returncode == 0, r.stderr


class TestAllocatables:
    def test_assign_reallocate_and_free(self, tv, error):
        md = tv.materialdata
        md.temperatures = None
        assert md.temperatures is None
        md.temperatures = [20.0, 80.0]
        t = md.temperatures
        assert t.dtype == np.float64 and t.shape == (2,)
        md.temperatures = [30.0, 90.0]  # same extents: copied into the same storage
        np.testing.assert_array_equal(t, [30, 90])
        md.temperatures = [1.0, 2.0, 3.0]  # other extents: reallocated
        np.testing.assert_array_equal(t, [30, 90])  # the old view is stale, not dangling
        np.testing.assert_array_equal(md.temperatures, [1, 2, 3])
        md.temperatures = None
        assert md.temperatures is None
        np.testing.assert_array_equal(t, [30, 90])
        with pytest.raises(error, match="failed to set materialdata.temperatures"):
            md.temperatures = [[1.0, 2.0], [3.0, 4.0]]

    def test_views_are_fortran_ordered_and_typed(self, tv):
        tv.materialdata.pfflags = np.arange(2 * 3 * 4).reshape(2, 3, 4)
        v = tv.materialdata.pfflags
        assert v.dtype == np.int32 and v.flags.f_contiguous and v.shape == (2, 3, 4)
        assert v[1, 2, 3] == 23
        v[0, 0, 0] = 99
        assert tv.materialdata.pfflags[0, 0, 0] == 99
        tv.materialdata.pfflags = None

    def test_library_free_leaves_views_readable(self, tv):
        assert tv.datahandling.allocatenodaldata(6, 4, 2) == 0
        coords = tv.nodaldata.nodalcoords
        coords[:, 0, 0] = [1.0, 2.0, 3.0]
        assert tv.datahandling.deallocall() == 0
        assert tv.nodaldata.nodalcoords is None
        np.testing.assert_array_equal(coords[:, 0, 0], [1, 2, 3])
