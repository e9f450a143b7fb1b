"""The generic binding engine, through the routines of _tavrin_enginetest,
which cover every kind, intent and default the descriptors can express."""
import gc
import sys

import numpy as np
import pytest

def readonly(a):
    a.flags.writeable = False
    return a


# Calls the engine refuses: (call, exception ("error": the module's error
# class), message pattern).
REFUSED = [
    (lambda et: et.vadd([1.0]), TypeError, "missing required argument 'b'"),
    (lambda et: et.vadd([1.0], [1.0], q=1), TypeError, "unexpected keyword argument 'q'"),
    (lambda et: et.vadd([1.0], [1.0], a=[1.0]), TypeError, "multiple values for argument 'a'"),
    (lambda et: et.vadd([1.0], [1.0], 1, 2), TypeError, "takes at most 3 arguments"),
    (lambda et: et.iadd("3.5", 1), "error", r"^_tavrin\.enginetest\.iadd\(\) 1st argument \(a\) can't be converted to int: received '3\.5' of type str$"),
    (lambda et: et.iadd(1, b"x"), "error", r"2nd argument \(b\) can't be converted to int"),
    (lambda et: et.iadd(1, "2147483648"), "error", r"2nd argument \(b\) can't be converted to int"),
    (lambda et: et.iadd(1j, 1), "error", r"1st argument \(a\) can't be converted to int"),
    (lambda et: et.square("abc"), "error", r"1st argument \(x\) can't be converted to float"),
    (lambda et: et.square("1j"), "error", r"1st argument \(x\) can't be converted to float"),
    (lambda et: et.square(1j), "error", r"1st argument \(x\) can't be converted to float"),
    (lambda et: et.iadd(1, 2**31), "error", r"2nd argument \(b\) can't be converted to int"),
    (lambda et: et.iadd(float("nan"), 1), "error", r"1st argument \(a\) can't be converted to int"),
    (lambda et: et.square(None), "error", r"1st argument \(x\) can't be converted to float"),
    (lambda et: et.vadd([1.0], [1.0], n="x"), "error", r"1st keyword \(n\) can't be converted to int"),
    # extents against arrays: vectors may be longer, matrices must match
    (lambda et: et.matvec(np.eye(2), [1.0, 2.0], n=3), "error", r"^\(shape\(a,0\)==n\) failed for 1st keyword n: n = 3, shape\(a\) = \(2, 2\)$"),
    (lambda et: et.matvec(np.ones((2, 3)), [1.0, 2.0]), "error", r"^\(len\(x\)>=m\) failed for 2nd keyword m: m = 3 \(the default, from a's 2nd extent\), len\(x\) = 2$"),
    (lambda et: et.matvec(np.ones((3, 2)), [1.0, 2.0, 3.0], m=3), "error", r"\(shape\(a,1\)==m\) failed for 2nd keyword m"),
    (lambda et: et.vadd([1.0, 2.0], [1.0]), "error", r"^\(len\(b\)>=n\) failed for 1st keyword n: n = 2 \(the default, from a's length\), len\(b\) = 1$"),
    (lambda et: et.split_checked(np.zeros(0), 1.0), "error", r"^\(n>=1\) failed for 1st keyword n: n = 0 \(the default, from x's length\)$"),
    (lambda et: et.square_checked(0.1), "error", r"^\(x>=0\.5\) failed for 1st argument x: x = 0\.1$"),
    # array conversions
    (lambda et: et.vadd([1 + 1j], [1.0]), "error", "failed in converting 1st argument `a' of _tavrin.enginetest.vadd"),
    (lambda et: et.vadd(np.ones((2, 2)), [1.0, 2.0]), "error", "rank-2 array given, rank 1 expected"),
    (lambda et: et.vadd(["a"], [1.0]), "error", "failed in converting"),
    (lambda et: et.isum([1, 2**40]), "error", "values do not fit 32-bit integers exactly"),
    (lambda et: et.isum([1.5]), "error", "values do not fit 32-bit integers exactly"),
    (lambda et: et.grid(2**31 - 1, 2**31 - 1), MemoryError, ""),
    # in place: exactly the declared type and layout, writeable
    (lambda et: et.fill([0.0, 0.0], 1.0), "error", "must be a writeable Fortran-ordered float64 array of rank 1"),
    (lambda et: et.fill(np.zeros(3, dtype=np.float32), 1.0), "error", "must be a writeable Fortran-ordered float64"),
    (lambda et: et.fill(np.zeros((3, 2))[:, 0], 1.0), "error", "must be a writeable Fortran-ordered float64"),
    (lambda et: et.fill(np.zeros(3)[::2], 1.0), "error", "must be a writeable Fortran-ordered float64"),
    (lambda et: et.fill(readonly(np.zeros(2)), 1.0), "error", "must be a writeable"),
    (lambda et: et.bump(np.array(5, dtype=np.int64)), "error", "must be a writeable int32 array"),
    (lambda et: et.toggle1(True), "error", "must be a writeable bool array"),
    (lambda et: et.toggle1(np.array(1, dtype=np.int32)), "error", "must be a writeable bool array"),
    (lambda et: et.toggle1(np.array(1, dtype=np.int8)), "error", "must be a writeable bool array"),
    # texts are Latin-1
    (lambda et: et.upper("\u20ac"), "error", "can't be converted to string"),
    (lambda et: et.upper(12), "error", "can't be converted to string"),
    # call-backs of another C type
    (lambda et: et.fsum(et.iadd._cpointer, [1.0]), "error", "_cpointer of another signature"),
    (lambda et: et.fsum(et.iadd, [1.0]), "error", r"1st argument \(f\) is a routine of another signature"),
    (lambda et: et.fsum(3, [1.0]), "error", "can't be converted to call-back function"),
    (lambda et: et.fsum(lambda v: "x", [1.0]), "error", "returned by call-back f can't be converted"),
    (lambda et: et.pair(lambda a, b: (1.0,)), "error", "must return a tuple of 2 values"),
]


@pytest.mark.parametrize("call,exc,message", REFUSED)
def test_refused_calls(et, eterror, call, exc, message):
    with pytest.raises(eterror if exc == "error" else exc, match=message):
        call(et)


def test_memory_exhausted_inside_a_routine_is_latched_not_raised(et):
    # Only the result array the binding makes itself raises MemoryError (the
    # grid above); inside the library the failure is latched as a host sees it.
    import _tavrin as tv
    tv.errorhandling.rsxerr(True)
    assert et.exhaust(1) is None
    assert tv.errorhandling.errstat == -3
    assert tv.errorhandling.errstring.tobytes().decode().rstrip() == "Out of memory in exhaust"
    tv.errorhandling.rsxerr(True)


def test_parameters_and_scalar_conversions(et):
    a, b = [1.0, 2.0, 3.0], [10.0, 20.0, 30.0]
    np.testing.assert_array_equal(et.vadd(a, b), [11, 22, 33])
    np.testing.assert_array_equal(et.vadd(b=b, a=a, n=2), [11, 22])
    assert et.vadd.__doc__.splitlines()[0] == "c = vadd(a,b,[n])"
    # scalars convert as int() and float() do
    assert et.iadd(2.9, np.int64(3)) == 5 and et.iadd(True, -1) == 0
    assert et.square(np.float32(1.5)) == 2.25 and et.square(3) == 9.0
    # texts too, as int() and float() parse them
    assert (et.iadd("3", " 4 "), et.iadd(b"3", -1)) == (7, 2)
    assert (et.square("0.5"), et.square("1e-3"), et.square(b"-2")) == (0.25, 1e-6, 4.0)
    assert np.isnan(et.square("nan")) and et.vadd([1.0], [2.0], n="1")[0] == 3.0
    assert et.positive(2) is True and et.positive(-1.0) is False
    assert et.flag(True) == 7 and et.flag(0) == 3 and et.flag([1]) == 7
    np.testing.assert_array_equal(et.conjugate([1 + 2j, 3]), [1 - 2j, 3])


def test_array_layouts_types_and_extents(et):
    np.testing.assert_array_equal(et.vadd([1.0, 2.0, 3.0], [1.0, 1.0, 1.0, 9.0]), [2, 3, 4])
    np.testing.assert_array_equal(et.matvec(np.ones((3, 2)), [1.0, 2.0, 99.0]), [3, 3, 3])
    a = np.arange(12.0).reshape(3, 4)  # C order
    x = np.arange(8.0)[::2]            # strided
    np.testing.assert_allclose(et.matvec(a, x), a @ x)
    np.testing.assert_allclose(et.matvec(np.asfortranarray(a), x.copy()), a @ x)
    np.testing.assert_array_equal(et.vadd(np.array([1, 2], dtype=np.int16), [True, False]), [2, 2])
    y = et.vadd([1.0], [2.0])
    assert y.dtype == np.float64 and y.flags.f_contiguous
    assert et.isum(np.array([1.0, 2.0])) == 3  # integral reals are integers
    assert et.isum(np.array([7], dtype=np.int64)) == 7
    assert et.grid(2, 3).shape == (2, 3)
    assert et.grid(-1, 3).shape == (0, 3)  # a negative extent gives an empty axis
    # Unary minus in an extent (-m), a computed argument (max(-m,0)) and a
    # default (max(-m/2,0.5): an integer or the real, whichever is larger).
    np.testing.assert_array_equal(et.ramp(-3), [1.0, 1.0, 1.0])
    np.testing.assert_array_equal(et.ramp(-1), [0.5])
    np.testing.assert_array_equal(et.ramp(-2, 0.5), [0.5, 0.5])
    assert et.ramp(4).shape == (0,)
    et.exhaust(0)


def test_in_out_and_in_place(et):
    a = np.array([1.0, 2.0])
    r = et.axpy(a, [1.0, 1.0], s=2.0)
    np.testing.assert_array_equal(r, [3, 4])
    np.testing.assert_array_equal(a, [1, 2])
    assert r is not a
    r = et.axpy(a, [1.0, 1.0], overwrite_a=1)
    assert r is a
    np.testing.assert_array_equal(a, [2, 3])
    np.testing.assert_array_equal(et.axpy([1.0, 2.0], [1.0, 1.0], overwrite_a=1), [2, 3])
    # The flag holds for its own call only: the next call without it copies.
    b = np.ones(2)
    assert et.axpy(a, b, overwrite_a=1) is a and et.axpy(a, b) is not a
    a -= 1.0
    np.testing.assert_array_equal(a, [2, 3])
    # without an overwrite flag: always a copy
    assert et.refill.__doc__.splitlines()[0] == "x = refill(x,v,[n])"
    x = np.zeros(2)
    r = et.refill(x, 3.0)
    assert r is not x and not x.any() and (r == 3.0).all()
    # in place
    x = np.zeros(3)
    et.fill(x, 4.0)
    np.testing.assert_array_equal(x, [4, 4, 4])
    i = np.array(5, dtype=np.int32)
    et.bump(i)
    assert i == 6


def test_one_byte_logicals(et):
    flag = np.array(True)
    et.toggle1(flag)
    assert flag == False  # noqa: E712 - a NumPy bool
    flags = np.array([True, False, True])
    et.toggle(flags)
    np.testing.assert_array_equal(flags, [False, True, False])
    assert "flag : in-place rank-0 array('b')" in et.toggle1.__doc__.splitlines()
    # Bytes other than 0 and 1 are read as true, and left as 0 or 1.
    raw = np.array([2, 0, 255], dtype=np.uint8)
    et.toggle(raw.view(np.bool_))
    np.testing.assert_array_equal(raw, [0, 1, 0])
    on, off = et.bytes(3)
    assert on is True and off is False
    assert et.bytes(given=0) == (False, True)


def test_optional_absent_defaults_and_texts(et):
    assert et.maybe() == -1.0 and et.maybe(2.5) == 2.5
    assert et.sum3() == 7.0 and et.sum3([1.0, 1.0, 1.0]) == 3.0
    # A list default computed from another argument; missing entries are 0.
    assert et.scaled3(1.5).tolist() == [3.0, 1.0 + 1.5**3, 0.0]
    assert et.scaled3(2, [7, 8, 9]).tolist() == [7.0, 8.0, 9.0]
    assert et.upper("abc") == ("ABC       ", 3)
    assert et.upper(b"hello world!") == ("HELLO WORL", 12)
    assert et.upper("é")[0][0] in ("É", "é")
    assert et.reverse8("abc") == "     cba"
    assert et.reverse8("abcdefghij") == "hgfedcba"  # cut to 8 characters
    assert et.wordlen("ab cd") == 2 and et.wordlen("abcdefghijk") == 8


def test_callbacks(et):
    x = [1.0, 2.0, 3.0]
    assert et.fsum(lambda v: v + 1.0, x) == 9.0
    assert et.fsum(et.square, x) == 14.0
    assert et.fsum(et.square._cpointer, x) == 14.0
    assert et.fsum(lambda v, k: v * k, x, f_extra_args=(2.0,)) == 12.0
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

    def h(x, y, scale):  # the extent n is optional: not passed
        y[:] = x

    y, scale = et.apply(h, [5.0])
    assert y[0] == 5.0 and scale == 1.0


def test_integer_callback_and_references_kept(et):
    assert et.isumf(lambda i: i * i, 3) == 14
    assert "Return the function value, a int." in et.isumf.__doc__
    assert "# compute the function value from the arguments\n            return 0.0" in et.isumf.__doc__
    x = np.zeros(3)
    before = sys.getrefcount(x)
    for _ in range(3):
        et.vadd(x, x)
    assert sys.getrefcount(x) == before


def test_hidden_text_length(et):
    # The routine gets the text's length after all other arguments: the
    # declared one, or the text's own; a Python call-back never sees it and
    # reads the text at that length.
    assert et.namelen("ab cd") == (12, 2)
    assert et.namelen.__doc__.splitlines()[0] == "n,word = namelen(name)"
    seen = []

    def f(name, n, word):
        seen.append(name)
        n[()] = len(name)
        word[()] = -1

    assert et.named(f, "abc def") == (7, -1) and seen == ["abc def"]
    assert et.named(lambda *a: seen.append(a[0]), "xy") == (0, 0) and seen[-1] == "xy"
    for g in (et.namelen, et.namelen._cpointer):
        assert et.named(g, "abcdefghij") == (10, 10)


def test_input_written_as_scratch_is_a_copy(et):
    x = np.array([1.0, 2.0])
    assert et.scratchsum(x) == 3.0 and x.tolist() == [1.0, 2.0]


def test_callback_in_two_forms(et, eterror):
    # A Python function fills the form that is a parameter; a routine object
    # or _cpointer the form of its own type.
    x = [1.0, 2.0]
    assert et.either.__doc__.splitlines()[0] == "s,kind = either(f,x,[n,real,f_extra_args])"
    assert et.either(lambda v: v + 1.0, x) == (5.0, 1)
    for f in (et.square, et.square._cpointer):
        assert et.either(f, x) == (5.0, 1)
    for f in (et.twice, et.twice._cpointer):
        assert et.either(f, x) == (6.0, 2)
    assert et.either(et.square, x, real=1) == (5.0, 1)
    with pytest.raises(eterror, match=r"\(real==0 \|\| f\) failed"):
        et.either(et.twice, x, real=1)
    with pytest.raises(eterror, match="routine of another signature"):
        et.either(et.iadd, x)


def test_raising_and_reentrant_callbacks(et, capfd):
    def bad(v):
        raise KeyError("boom")

    with pytest.raises(KeyError, match="boom"):
        et.fsum(bad, [1.0])
    assert "Call-back cb_f_in_fsum__user__routines failed." in capfd.readouterr().err
    assert et.fsum(lambda v: v, [1.0, 2.0]) == 3.0  # the engine recovered
    assert et.fsum(lambda x: et.fsum(lambda y: x * y, [1.0, 2.0]), [1.0, 2.0]) == 9.0
    with pytest.raises(ZeroDivisionError):
        et.fsum(lambda x: et.fsum(lambda y: 1 / 0, [1.0]), [1.0])
    assert et.fsum(lambda v: 2 * v, [1.0]) == 2.0


def test_bad_descriptor_fails_the_import(child):
    r = child("import _tavrin_badtable")
    assert r.returncode != 0
    assert ("ImportError: _tavrin_badtable: descriptor of badtable.copy: argument 'b': "
            "expression 'count': unknown argument 'count'") in r.stderr


def test_doc_parts_built_from_the_descriptors(et):
    doc = et.apply.__doc__
    # the call-back's summary, what its arguments are to Python, and its example, verbatim
    assert "  def g(x,y,scale,[n]): return\n    Doubles x into y.\n" in doc
    assert "    scale : writable rank-0 array('d'): fill it, e.g. scale[()] = value\n        the factor applied\n" in doc
    example = "        def g(x, y, scale):\n            y[:] = 2.0 * x\n            scale[()] = 2.0\n"
    assert example in doc
    space = {}
    exec("\n".join(line[8:] for line in example.splitlines()), space)  # noqa: S102
    y, scale = et.apply(space["g"], [1.0, 3.0])
    assert list(y) == [2.0, 6.0] and scale == 2.0
    # a generated example for a call-back type without one
    assert et.fsum.__doc__.endswith("        def f(x):\n            # compute the function value from the arguments\n"
                                    "            return 0.0\n\n")
    # an in/out array without an overwrite flag is returned; the caller's array is kept
    assert "    Returned updated; the array passed in is left unchanged.\n" in et.refill.__doc__
    assert "left unchanged unless\n    overwrite_a is 1.\n" in et.axpy.__doc__
    assert et.vadd.__text_signature__ == "(a, b, n=None)"
    assert et.sum3.__text_signature__ == "(d=[1.0, 2.0, 4.0])"
    assert et.axpy.__text_signature__ == "(a, b, n=None, s=1.0, overwrite_a=0)"


@pytest.mark.parametrize("call, same", [
    (lambda et: et.axpy([1.0, 2.0], [1.0, 1.0], None, None, None), lambda et: et.axpy([1.0, 2.0], [1.0, 1.0])),
    (lambda et: et.vadd([1.0, 2.0], [3.0, 4.0], n=None), lambda et: et.vadd([1.0, 2.0], [3.0, 4.0])),
    (lambda et: et.maybe(None), lambda et: et.maybe()),
    (lambda et: et.fsum(lambda v: v, [1.0, 2.0], None, None), lambda et: et.fsum(lambda v: v, [1.0, 2.0])),
])
def test_none_for_an_optional_parameter_is_its_default(et, call, same):
    np.testing.assert_array_equal(call(et), same(et))


def test_none_for_a_required_parameter_is_refused(et, eterror):
    with pytest.raises(eterror, match=r"1st argument \(x\) can't be converted to float: received None of type NoneType"):
        et.square(None)


def test_rounding_and_depth_of_default_expressions(et, eterror):
    # ceiling and floor of a real round outwards and inwards; of an integer keep it
    assert et.echo2(2.5, k=4) == (3, 6)
    assert et.echo2(-2.5, k=-1) == (-2, -4)
    # an expression deeper than the evaluation stack is refused, not overrun
    with pytest.raises(eterror, match=r"default 1\+\(1\+.* of k can't be evaluated$"):
        et.echo2(2.5)


def test_texts_padded_beyond_the_call_scratch(et):
    # fields of 200, 54 and 200 characters padded on the call's frame: the
    # second fills the scratch to its last byte, the third no longer fits
    assert et.blanks3("x", "yz", "") == 199 + 52 + 200
    assert et.blanks3("x" * 200, "", "x" * 200) == 54


def test_objects_made_for_a_call_are_released(tv):
    # Arrays made from lists and path texts encoded for a call are the call's
    # own: thousands of calls leave no object behind.
    ply = [[161e3, 11.38e3, 11.38e3, 0.32, 0.32, 0.44, 5.17e3, 5.17e3, 3.98e3]] * 2

    def calls(n):
        for _ in range(n):
            tv.laminate.getamatrix(np.transpose(ply).tolist(), [0.0, 90.0], [0.125, 0.125])
            tv.iohandling.getsectiondatafromfile("", "/nonexistent/Müller")
    calls(100)
    gc.collect()
    before = sys.getallocatedblocks()
    calls(2000)
    gc.collect()
    assert sys.getallocatedblocks() - before < 500
