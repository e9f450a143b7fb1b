"""Text routines from Python: blank-padded fields, cutting and extracting,
case, counting, replacing, character tables and number conversions (field
bounds, the result left as it was on a failed conversion and integer formats
are tested in C++)."""
import numpy as np
import pytest

J = np.array([[1, 2], [3, 4]], dtype=np.int32)
CODES = [[ord("l"), ord("L")], [ord("l"), ord("x")], [ord("o"), ord("0")]]


@pytest.mark.parametrize("name, args, expected", [
    ("split", ("a,b,c", ",", 5), ("a    ", "b,c  ")),
    ("extract", ("[a] [ b]", "[", "]", 3), "b  "),  # the last start key; leading blanks move to the end
    ("lowercase", ("ABC xyz ÄÖ", 10), "abc xyz ÄÖ"), ("lowercase", ("ABC", -1), ""),
    ("inistringwithcharacter", ("xy", 3), "xxx"),  # the first character ("uppercase", ("a1b[`{", 6), "A1B[`{"),  # ASCII letters only
    ("match", ("Elastic   ", "ELASTIC"), True), ("match", (" Elastic", "Elastic"), False),
    ("tally", ("aaa", "aa"), 2), ("tally", ("ABC", "b"), 0), ("tally", ("ABC", "b", 0), 1),
    ("tally", ("abcd", "   "), 5),  # a blank text occurs at every position
    ("occurs", ("  TYPE", "type "), True),  # the left-adjusted text is searched
    ("clen", ("abc\0      ",), 3), ("clen_trim", ("abc       ",), 3), ("ctrim", ("ab \0  ", 4), "ab  "),
    ("countitems", ("1, 2,3",), 3), ("countitems", ("1 , 2",), 3), ("countitems", ("   ",), 0),
    ("countitems", ("1\t2",), 2), ("countitems", (",1",), 1),
    ("replacetext", ("aabb", "ab", "a", 6), "aa    "),  # a rescan finds the new "ab"
    ("replacetext", ("abc", "   ", "x", 4), "abc "),  # a blank text returns the input
    # a replacement that contains the text: the search resumes after it
    ("replacetext", ("a-b-c", "-", "--", 10), "a--b--c   "),
    ("reduceblanks", ("  a   b  ", 6), " a b  "), ("spack", ("a1b2c3", "0123456789", 6, 10), "123   "),
    ("translate", ("hello", CODES, 7), "heLL0  "),  # the first hit wins
    ("str2ascii", ("A\0\xff", 5), np.array([65, 0, 255, 32, 32])),
    # the natural length, also for 0 and negative numbers
    ("int2str", (0,), ("0", 0)), ("int2str", (-2147483648,), ("-2147483648", 0)),
    ("str2int", ("12,13",), (12, 0)), ("str2int", (" 7 abc",), (7, 0)), ("str2int", ("-2147483648",), (-2147483648, 0)),
    ("str2int", ("2147483648",), (0, 1)), ("str2int", ("3.5",), (0, 1)),
    ("str2int", ("   ",), (0, -1)),  # a blank text ends the record
    # column by column; blanks around the numbers vanish, separators stay
    ("int2aformat", (J, "(I3,',')", 5, 12, 2), "1,3,2,4,    "),
    ("int2aformat", (J[:1, :1], "('[',I1,']')", 3, 4, 1), "*** "),  # aw is cut at 8 characters
])
def test_text_routines(tv, name, args, expected):
    result = getattr(tv.stringhandling, name)(*args)
    np.testing.assert_equal(result, expected)
    assert type(result) is type(expected)


def test_binding_refusals(tv, error):
    with pytest.raises(error, match="m<=shape"):
        tv.stringhandling.int2aformat(np.array([[1, 2]]), "(I1)", 1, 4, 3)
    with pytest.raises(error):
        tv.stringhandling.translate("ab", np.zeros((2, 3)), 2)
