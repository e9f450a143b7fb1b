"""The generic binding engine, through the routines of _tavrin_enginetest,
which cover every kind, intent and default the descriptors can express."""
import gc

import numpy as np
import pytest


class TestParameters:
    def test_positional_keyword_and_defaults(self, et):
        a, b = [1.0, 2.0, 3.0], [10.0, 20.0, 30.0]
        np.testing.assert_array_equal(et.vadd(a, b), [11, 22, 33])
        np.testing.assert_array_equal(et.vadd(b=b, a=a, n=2), [11, 22])
        assert et.vadd.__doc__.splitlines()[0] == "c = vadd(a,b,[n])"

    def test_call_shape_errors_are_type_errors(self, et):
        with pytest.raises(TypeError, match="missing required argument 'b'"):
            et.vadd([1.0])
        with pytest.raises(TypeError, match="unexpected keyword argument 'q'"):
            et.vadd([1.0], [1.0], q=1)
        with pytest.raises(TypeError, match="multiple values for argument 'a'"):
            et.vadd([1.0], [1.0], a=[1.0])
        with pytest.raises(TypeError, match="takes at most 3 arguments"):
            et.vadd([1.0], [1.0], 1, 2)

    def test_scalars_convert_as_int_and_float_do(self, et):
        assert et.iadd(2.9, np.int64(3)) == 5
        assert et.iadd(True, -1) == 0
        assert et.square(np.float32(1.5)) == 2.25
        assert et.square(3) == 9.0
        assert et.positive(2) is True and et.positive(-1.0) is False

    def test_refused_scalars_name_routine_and_argument(self, et, eterror):
        cases = [
            (lambda: et.iadd("3", 1), "_tavrin.enginetest.iadd() 1st argument (a) can't be converted to int"),
            (lambda: et.iadd(1, 2**31), "_tavrin.enginetest.iadd() 2nd argument (b) can't be converted to int"),
            (lambda: et.iadd(float("nan"), 1), "1st argument (a) can't be converted to int"),
            (lambda: et.square(None), "1st argument (x) can't be converted to float"),
            (lambda: et.vadd([1.0], [1.0], n="x"), "1st keyword (n) can't be converted to int"),
        ]
        for call, text in cases:
            with pytest.raises(eterror) as info:
                call()
            assert text in str(info.value)
        assert issubclass(eterror, Exception)

    def test_logical_and_complex(self, et):
        assert et.flag(True) == 7 and et.flag(0) == 3 and et.flag([1]) == 7
        np.testing.assert_array_equal(et.conjugate([1 + 2j, 3]), [1 - 2j, 3])


class TestArrays:
    def test_relations_between_extents_and_arrays(self, et, eterror):
        with pytest.raises(eterror, match=r"^\(shape\(a,0\)==n\) failed for 1st keyword n$"):
            et.matvec(np.eye(2), [1.0, 2.0], n=3)
        with pytest.raises(eterror, match=r"^\(len\(x\)>=m\) failed for 2nd keyword m$"):
            et.matvec(np.ones((2, 3)), [1.0, 2.0])
        with pytest.raises(eterror, match=r"^\(len\(b\)>=n\) failed for 1st keyword n$"):
            et.vadd([1.0, 2.0], [1.0])
        with pytest.raises(eterror, match=r"^\(n>=1\) failed for 1st keyword n$"):
            et.split_checked(np.zeros(0), 1.0)

    def test_vectors_may_be_longer_matrices_must_match(self, et, eterror):
        np.testing.assert_array_equal(et.vadd([1.0, 2.0, 3.0], [1.0, 1.0, 1.0, 9.0]), [2, 3, 4])
        np.testing.assert_array_equal(et.matvec(np.ones((3, 2)), [1.0, 2.0, 99.0]), [3, 3, 3])
        with pytest.raises(eterror, match=r"\(shape\(a,1\)==m\) failed for 2nd keyword m"):
            et.matvec(np.ones((3, 2)), [1.0, 2.0, 3.0], m=3)

    def test_layouts_and_types_are_converted(self, et):
        a = np.arange(12.0).reshape(3, 4)  # C order
        x = np.arange(8.0)[::2]            # strided
        np.testing.assert_allclose(et.matvec(a, x), a @ x)
        np.testing.assert_allclose(et.matvec(np.asfortranarray(a), x.copy()), a @ x)
        np.testing.assert_array_equal(et.vadd(np.array([1, 2], dtype=np.int16), [True, False]), [2, 2])
        y = et.vadd([1.0], [2.0])
        assert y.dtype == np.float64 and y.flags.f_contiguous

    def test_refused_arrays(self, et, eterror):
        with pytest.raises(eterror, match="failed in converting 1st argument `a' of _tavrin.enginetest.vadd"):
            et.vadd([1 + 1j], [1.0])
        with pytest.raises(eterror, match="rank-2 array given, rank 1 expected"):
            et.vadd(np.ones((2, 2)), [1.0, 2.0])
        with pytest.raises(eterror, match="failed in converting"):
            et.vadd(["a"], [1.0])
        with pytest.raises(eterror, match="values do not fit 32-bit integers exactly"):
            et.isum([1, 2**40])
        with pytest.raises(eterror, match="values do not fit 32-bit integers exactly"):
            et.isum([1.5])
        assert et.isum(np.array([1.0, 2.0])) == 3  # integral reals are integers
        assert et.isum(np.array([7], dtype=np.int64)) == 7

    def test_result_extents_are_explicit_shape_like(self, et):
        assert et.grid(2, 3).shape == (2, 3)
        assert et.grid(-1, 3).shape == (0, 3)  # a negative extent gives an empty axis
        with pytest.raises(MemoryError):
            et.grid(2**31 - 1, 2**31 - 1)

    def test_in_out_copies_unless_overwrite(self, et):
        a = np.array([1.0, 2.0])
        r = et.axpy(a, [1.0, 1.0], s=2.0)
        np.testing.assert_array_equal(r, [3, 4])
        np.testing.assert_array_equal(a, [1, 2])
        assert r is not a
        r = et.axpy(a, [1.0, 1.0], overwrite_a=1)
        assert r is a
        np.testing.assert_array_equal(a, [2, 3])
        lst = [1.0, 2.0]
        np.testing.assert_array_equal(et.axpy(lst, [1.0, 1.0], overwrite_a=1), [2, 3])

    def test_in_out_without_overwrite_flag_always_copies(self, et):
        assert et.refill.__doc__.splitlines()[0] == "x = refill(x,v,[n])"
        x = np.zeros(2)
        r = et.refill(x, 3.0)
        assert r is not x and not x.any() and (r == 3.0).all()

    def test_in_place_arguments_must_be_exact(self, et, eterror):
        x = np.zeros(3)
        et.fill(x, 4.0)
        np.testing.assert_array_equal(x, [4, 4, 4])
        i = np.array(5, dtype=np.int32)
        et.bump(i)
        assert i == 6
        for bad in ([0.0, 0.0], np.zeros(3, dtype=np.float32), np.zeros((3, 2))[:, 0],
                    np.zeros(3)[::2]):
            with pytest.raises(eterror, match="must be a writeable Fortran-ordered float64 array of rank 1"):
                et.fill(bad, 1.0)
        ro = np.zeros(2)
        ro.flags.writeable = False
        with pytest.raises(eterror):
            et.fill(ro, 1.0)
        with pytest.raises(eterror, match="must be a writeable int32 array"):
            et.bump(np.array(5, dtype=np.int64))

    def test_one_byte_logicals(self, et, eterror):
        flag = np.array(True)
        et.toggle1(flag)
        assert flag == False  # noqa: E712 - a NumPy bool
        flags = np.array([True, False, True])
        et.toggle(flags)
        np.testing.assert_array_equal(flags, [False, True, False])
        assert "flag : in-place rank-0 array('b')" in et.toggle1.__doc__.splitlines()
        for bad in (True, np.array(1, dtype=np.int32), np.array(1, dtype=np.int8)):
            with pytest.raises(eterror, match="must be a writeable bool array"):
                et.toggle1(bad)
        # Bytes other than 0 and 1 are read as true, and left as 0 or 1.
        raw = np.array([2, 0, 255], dtype=np.uint8)
        et.toggle(raw.view(np.bool_))
        np.testing.assert_array_equal(raw, [0, 1, 0])
        on, off = et.bytes(3)
        assert on is True and off is False
        assert et.bytes(given=0) == (False, True)

    def test_optional_absent_and_array_defaults(self, et):
        assert et.maybe() == -1.0
        assert et.maybe(2.5) == 2.5
        assert et.sum3() == 7.0
        assert et.sum3([1.0, 1.0, 1.0]) == 3.0


class TestTexts:
    def test_assumed_length_and_declared_length(self, et):
        out, n = et.upper("abc")
        assert out == "ABC       " and n == 3
        out, n = et.upper(b"hello world!")
        assert out == "HELLO WORL" and n == 12
        assert et.reverse8("abc") == "     cba"
        assert et.reverse8("abcdefghij") == "hgfedcba"  # cut to 8 characters
        assert et.wordlen("ab cd") == 2 and et.wordlen("abcdefghijk") == 8

    def test_latin1_only(self, et, eterror):
        assert et.upper("é")[0][0] == "é".upper() or et.upper("é")[0][0] == "é"
        with pytest.raises(eterror, match="can't be converted to string"):
            et.upper("\u20ac")
        with pytest.raises(eterror, match="can't be converted to string"):
            et.upper(12)


class TestCallbacks:
    def test_python_callable_routine_object_and_cpointer(self, et):
        x = [1.0, 2.0, 3.0]
        assert et.fsum(lambda v: v + 1.0, x) == 9.0
        assert et.fsum(et.square, x) == 14.0
        assert et.fsum(et.square._cpointer, x) == 14.0
        assert et.fsum(lambda v, k: v * k, x, f_extra_args=(2.0,)) == 12.0

    def test_routines_and_cpointers_of_another_signature_are_refused(self, et, eterror):
        with pytest.raises(eterror, match="_cpointer of another signature"):
            et.fsum(et.iadd._cpointer, [1.0])
        with pytest.raises(eterror, match=r"1st argument \(f\) is a routine of another signature"):
            et.fsum(et.iadd, [1.0])
        with pytest.raises(eterror, match=r"can't be converted to call-back function"):
            et.fsum(3, [1.0])

    def test_arrays_and_scalars_are_written_back(self, et):
        kept = {}

        def g(x, y, scale, n):
            assert n == 2 and isinstance(n, int)
            y[:] = 2 * x
            scale[...] = 3.0
            kept["y"] = y

        y, scale = et.apply(g, [1.0, 2.0])
        np.testing.assert_array_equal(y, [2, 4])
        assert scale == 3.0
        del y
        gc.collect()
        kept["y"][:] = 0.0  # a kept copy is harmless
        assert et.pair(lambda a, b: (b * 10, a * 10)) == (20.0, 10.0)

    def test_callback_takes_only_what_it_accepts(self, et):
        def g(x, y, scale):  # the extent n is optional: not passed
            y[:] = x

        y, scale = et.apply(g, [5.0])
        assert y[0] == 5.0 and scale == 1.0

    def test_raising_callback_abandons_the_call(self, et, capfd):
        def bad(v):
            raise KeyError("boom")

        with pytest.raises(KeyError, match="boom"):
            et.fsum(bad, [1.0])
        assert "Call-back cb_f_in_fsum__user__routines failed." in capfd.readouterr().err
        with pytest.raises(ZeroDivisionError):
            et.fsum(lambda v: 1 / 0, [1.0])
        assert et.fsum(lambda v: v, [1.0, 2.0]) == 3.0  # the engine recovered

    def test_reentrant_calls(self, et):
        def outer(x):
            return et.fsum(lambda y: x * y, [1.0, 2.0])

        assert et.fsum(outer, [1.0, 2.0]) == 9.0

        def nested_failure(x):
            return et.fsum(lambda y: 1 / 0, [1.0])

        with pytest.raises(ZeroDivisionError):
            et.fsum(nested_failure, [1.0])
        assert et.fsum(lambda v: 2 * v, [1.0]) == 2.0

    def test_wrong_return_is_a_failure(self, et, eterror):
        with pytest.raises(eterror, match="returned by call-back f can't be converted"):
            et.fsum(lambda v: "x", [1.0])
        with pytest.raises(eterror, match="must return a tuple of 2 values"):
            et.pair(lambda a, b: (1.0,))


def test_memory_exhaustion_in_a_routine_is_memory_error(et):
    with pytest.raises(MemoryError):
        et.exhaust(1)
    et.exhaust(0)


def test_bad_descriptor_fails_the_import(child):
    r = child("import _tavrin_badtable")
    assert r.returncode != 0
    assert ("ImportError: _tavrin_badtable: descriptor of badtable.copy: argument 'b': "
            "expression 'count': unknown argument 'count'") in r.stderr
