"""Text routines from Python: blank-padded fields, cutting and extracting,
case, counting, replacing, character tables and number conversions."""
import numpy as np
import pytest


@pytest.fixture(scope="module")
def sh(tv):
    return tv.stringhandling


def test_split_and_extract(sh):
    assert sh.split("a,b,c", ",", 5) == ("a    ", "b,c  ")
    assert sh.split("abc", ",", 5) == ("abc  ", "     ")
    assert sh.split("a,b", ",", 0) == ("", "")
    assert sh.extract("xx[12]yy", "[", "]", 4) == "12  "
    assert sh.extract("xx[12]yy", "[", "]y", 4) == "1   "
    # the last start key counts; leading blanks move to the end
    assert sh.extract("[a] [ b]", "[", "]", 3) == "b  "
    assert sh.extract("xx[12", "[", "]", 3) == "   "  # no stop key: nothing


def test_case_and_comparison(sh):
    assert sh.lowercase("ABC xyz ÄÖ", 10) == "abc xyz ÄÖ"  # only the 26 ASCII letters
    assert sh.uppercase("a1b[`{", 6) == "A1B[`{"
    # a length beyond the text pads with blanks instead of reading past it
    assert sh.uppercase("ab", 5) == "AB   "
    assert sh.lowercase("ABCD", 2) == "ab"
    assert sh.match("Elastic   ", "ELASTIC") is True
    assert sh.match(" Elastic", "Elastic") is False
    assert sh.match("a\t", "a") is False  # a tab is no padding


def test_tally_and_occurs(sh):
    assert sh.tally("aaa", "aa") == 2
    assert sh.tally("ABC", "b") == 0
    assert sh.tally("ABC", "b", 0) == 1
    assert sh.tally("ab", "abc") == 0
    assert sh.tally("abcd", "   ") == 5  # a blank text occurs at every position
    assert sh.occurs("*Material, TYPE=RATE", "type=rate") is True
    assert sh.occurs("  TYPE", "type ") is True  # the left-adjusted text is searched
    assert sh.occurs("TYP", "type") is False


def test_lengths(sh):
    assert sh.clen("abc\0      ") == 3
    assert sh.clen("abc       ") == 10
    assert sh.clen("          ") == 10
    assert sh.clen_trim("abc       ") == 3
    assert sh.clen_trim("abc\0   ") == 3
    assert sh.clen_trim("    ") == 0
    assert sh.ctrim("ab \0  ", 4) == "ab  "


@pytest.mark.parametrize("line, items", [
    ("1 2 3", 3), ("1,2,3", 3), ("1, 2,3", 3), ("1 , 2", 3), ("   ", 0), ("1\t2", 2),
    (",1", 1), ("  a  b  ", 2), ("1,,2", 3), ("1 2\0 3", 3), ("1 2\0   ", 2),
])
def test_countitems(sh, line, items):
    assert sh.countitems(line) == items


def test_replacetext(sh):
    assert sh.replacetext("a b c", "b", " ", 5) == "a  c "
    assert sh.replacetext("aabb", "ab", "a", 6) == "aa    "  # a rescan finds the new "ab"
    assert sh.replacetext("a.b.c", ".", "::", 7) == "a::b::c"
    assert sh.replacetext("abc", "   ", "x", 4) == "abc "  # a blank text returns the input
    assert sh.replacetext("abcdef", "b", "", 8) == "acdef   "


def test_replacetext_ends_when_the_replacement_contains_the_text(sh):
    # these rescans would never end; the search resumes after each replacement
    assert sh.replacetext("a-b-c", "-", "--", 10) == "a--b--c   "
    assert sh.replacetext("xax", "a", "aa", 6) == "xaax  "
    assert sh.replacetext("aaaa", "a", "ba", 6) == "bababa"  # cut at nout


def test_reduceblanks_spack_translate(sh):
    assert sh.reduceblanks("  a   b  ", 6) == " a b  "
    assert sh.reduceblanks("     ", 3) == "   "
    assert sh.spack("a1b2c3", "0123456789", 6, 10) == "123   "
    assert sh.spack("a1b2c3", "0123456789", 6, 0) == "      "
    # ex shorter than nx: the missing characters count as blanks
    assert sh.spack("a b c", "b", 5, 1) == "b    "
    assert sh.spack("a b c", "b", 5, 2) == " b   "
    codes = np.array([[ord("l"), ord("L")], [ord("l"), ord("x")], [ord("o"), ord("0")]])
    assert sh.translate("hello", codes, 5) == "heLL0"  # the first hit wins
    assert sh.translate("hello", codes, 7) == "heLL0  "
    assert sh.translate("hi", codes[:0], 2) == "hi"
    assert sh.translate("ab", [[ord("a") + 256, ord("z") + 512]], 2) == "zb"  # low bytes


def test_character_arrays(sh):
    assert sh.copys2a("abc", 5) == "abc  "
    assert sh.copya2s("abcdef", 3) == "abc"
    np.testing.assert_array_equal(sh.str2ascii("A\0\xff", 5), [65, 0, 255, 32, 32])
    assert sh.inistringwithcharacter("*", 4) == "****"
    assert sh.inistringwithcharacter("*", 0) == ""


@pytest.mark.parametrize("value, text", [
    (0, "0"), (7, "7"), (-7, "-7"), (10, "10"), (-10, "-10"), (999, "999"), (1000, "1000"),
    (2147483647, "2147483647"), (-2147483648, "-2147483648"),
])
def test_int2str_gives_the_natural_length(sh, value, text):
    assert sh.int2str(value) == (text, 0)


@pytest.mark.parametrize("text, value, ok", [
    ("  42  ", 42, True), ("-17", -17, True), ("+5", 5, True), ("12,13", 12, True),
    ("7 abc", 7, True), ("2147483647", 2147483647, True), ("-2147483648", -2147483648, True),
    ("x", 0, False), ("4x", 0, False), ("2147483648", 0, False), ("--1", 0, False),
    ("-", 0, False), ("3.5", 0, False), ("", 0, False), ("   ", 0, False), ("/", 0, False),
])
def test_str2int(sh, text, value, ok):
    integ, istat = sh.str2int(text)
    assert (istat == 0) == ok
    assert integ == value


def test_int2aformat(sh):
    j = np.array([[1, 2], [3, 4]], dtype=np.int32)
    # column by column; blanks around the numbers vanish, separators stay
    assert sh.int2aformat(j, "(I3,',')", 5, 12, 2) == "1,3,2,4,    "
    assert sh.int2aformat(j, "(I5)", 5, 6, 2) == "1324  "
    assert sh.int2aformat(np.array([[-12, 5]]), "(I0)", 4, 6, 2) == "-125  "
    assert sh.int2aformat(np.array([[5]]), "(I3.2)", 3, 4, 1) == "05  "
    assert sh.int2aformat(np.array([[5]]), "(SP,I3)", 3, 4, 1) == "+5  "
    assert sh.int2aformat(np.array([[5, 6]]), "(I1,']')", 3, 6, 2) == "5]6]  "
    # aw is an 8-character field: a longer format is cut and fails
    assert sh.int2aformat(np.array([[5]]), "('[',I1,']')", 3, 4, 1) == "*** "
    # the first column only (m = 1)
    assert sh.int2aformat(j, "(I2)", 2, 6, 1) == "13    "
    # a number wider than its field, a record wider than jmax, a format that
    # cannot write an integer: asterisks, never a truncated number
    assert sh.int2aformat(np.array([[123]]), "(I2)", 4, 4, 1) == "**  "
    assert sh.int2aformat(np.array([[12345]]), "(I5)", 3, 4, 1) == "*** "
    assert sh.int2aformat(np.array([[1]]), "(F5.1)", 3, 4, 1) == "*** "
    assert sh.int2aformat(np.array([[1]]), "I5", 3, 4, 1) == "*** "


def test_binding_refusals(sh, error):
    with pytest.raises(error, match="m<=shape"):
        sh.int2aformat(np.array([[1, 2]]), "(I1)", 1, 4, 3)
    with pytest.raises(error):
        sh.translate("ab", np.zeros((2, 3)), 2)
