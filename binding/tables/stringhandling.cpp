// Module stringhandling: the text routines.
#include "engine/descriptor.hpp"
#include "foundation/strings.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
namespace sh = stringhandling;

TAVRIN_BINDING_MODULE(
    stringhandling,
    "text routines: cutting, comparing, counting, converting\n"
    "\n"
    "The text routines of the card-file and deck readers: cutting at delimiters, "
    "case-insensitive comparison, option tests, item counts, character tables and number "
    "conversions.  Texts are fixed-length fields of Latin-1 characters padded on the right "
    "with blanks; only the blank counts as padding (tab and NUL are ordinary characters) and "
    "case mapping touches only the 26 ASCII letters.  A text result of length n is the "
    "computed text cut or blank-padded to n characters (empty for n < 1); reading past the end "
    "of an input reads blanks.  Positions count from 1.  Nothing here reports through the "
    "error latch; the number conversions return a status.");

constexpr const char* n_result = "length of the result text, in characters";
constexpr const char* s_text = "the text";

TAVRIN_ROUTINE_DOC(split, sh::split, "Text cut at the first occurrence of a delimiter character.",
                   out(Text, "a", "n").describe("the text before the delimiter; all of s when it "
                                                "does not occur"),
                   out(Text, "b", "n").describe("the text after the delimiter; blank when it does "
                                                "not occur"),
                   in(Text, "s").describe(s_text),
                   in(Text, "sdelim", "1").describe("the delimiter, one character"),
                   in(Int, "n").describe("length of a and b, in characters"));
TAVRIN_ROUTINE_DOC(extract, sh::extract,
                   "Text between the last occurrence of startkey and the next occurrence of "
                   "stopkey after it, left-adjusted.",
                   out(Text, "extract", "n").describe("the text between the keys (from the start "
                                                      "of s when startkey does not occur); blank "
                                                      "when stopkey does not follow"),
                   in(Text, "s").describe(s_text),
                   in(Text, "startkey").describe("key before the text, compared at its whole "
                                                 "length (trailing blanks included); non-blank"),
                   in(Text, "stopkey").describe("key after the text, compared at its whole length"),
                   in(Int, "n").describe(n_result));
TAVRIN_ROUTINE_DOC(lowercase, sh::lowercase, "First n characters of a text in lower case.",
                   out(Text, "lowercase", "n").describe("the text with A-Z mapped to a-z"),
                   in(Text, "s").describe(s_text), in(Int, "n").describe(n_result));
TAVRIN_ROUTINE_DOC(uppercase, sh::uppercase, "First n characters of a text in upper case.",
                   out(Text, "uppercase", "n").describe("the text with a-z mapped to A-Z"),
                   in(Text, "s").describe(s_text), in(Int, "n").describe(n_result));
TAVRIN_ROUTINE_DOC(match, sh::match,
                   "Whether two texts are equal without regard to case and trailing blanks "
                   "(leading blanks count), e.g. keywords of a card file.",
                   result(Logical, "match").describe("1 equal, 0 not"),
                   in(Text, "a").describe("first text"), in(Text, "b").describe("second text"));
TAVRIN_ROUTINE_DOC(translate, sh::translate,
                   "Character substitution over the first n characters of a text by a table of "
                   "code pairs.",
                   in(Text, "s0").describe(s_text),
                   out(Text, "sout", "n").describe("the translated text"),
                   in(Int, "codes", "nc,2").describe("one pair per row: a character with the code "
                                                     "of column 1 (low byte) becomes the character "
                                                     "of column 2; the first matching row counts"),
                   in(Int, "n").describe(n_result),
                   in(Int, "nc").opt("shape(codes,0)").describe("number of code pairs"));
TAVRIN_ROUTINE_DOC(replacetext, sh::replacetext,
                   "Text with every occurrence of a search text replaced (trailing blanks of both "
                   "ignored; a blank replacement deletes).\n"
                   "Each pass searches from the start again, so a replacement may form a new "
                   "occurrence with its neighbours; when rep contains text the search resumes "
                   "after each replacement, so the routine always ends.  A blank text returns s.",
                   in(Text, "s").describe(s_text),
                   in(Text, "text").describe("the text searched for"),
                   in(Text, "rep").describe("the replacement"),
                   out(Text, "sout", "nout").describe("the result"),
                   in(Int, "nout").describe(n_result));
TAVRIN_ROUTINE_DOC(reduceblanks, sh::reduceblanks,
                   "Text with every run of blanks (a leading run included) collapsed to one blank.",
                   in(Text, "s").describe(s_text),
                   out(Text, "sout", "nout").describe("the result"),
                   in(Int, "nout").describe(n_result));
TAVRIN_ROUTINE_DOC(int2aformat, sh::int2aformat,
                   "Integers of a matrix written with a Fortran format and joined into one text, "
                   "column by column.\n"
                   "Each number is written with aw into a field of jmax characters, left-adjusted "
                   "and appended to the text cut at its trimmed length (blanks around a number "
                   "vanish, other separators stay); a number the format cannot write gives "
                   "asterisks.",
                   out(Text, "j2s", "sout").describe("the joined text"),
                   in(Int, "jrray", "n,*").describe("the integers, n rows; columns 1..m are "
                                                    "written, column by column"),
                   in(Text, "aw", "8").describe("Fortran integer format, e.g. (I5) or (I3,',')"),
                   in(Int, "jmax").describe("field width per number, in characters"),
                   in(Int, "sout").describe("length of j2s, in characters"),
                   in(Int, "n").opt("shape(jrray,0)").describe("rows of jrray"),
                   in(Int, "m").relation("m<=shape(jrray,1)").describe("number of columns written, "
                                                                       "at most the columns of "
                                                                       "jrray"));
TAVRIN_ROUTINE_DOC(tally, sh::tally,
                   "Number of (possibly overlapping) occurrences of a text, without its trailing "
                   "blanks, in s.",
                   result(Int, "tally").describe("the count; len(s) + 1 for a blank text; 0 when s "
                                                 "is shorter than text"),
                   in(Text, "s").describe("the text searched"),
                   in(Text, "text").describe("the text counted"),
                   in(Int, "csflag").opt("1").describe("1: case-sensitive; other: without regard "
                                                       "to case, in s left-adjusted"));
TAVRIN_ROUTINE_DOC(occurs, sh::occurs,
                   "Whether b occurs in a without regard to case, e.g. an option such as TYPE=RATE "
                   "on a keyword line.",
                   result(Logical, "occurs").describe("1 when b occurs in a (left-adjusted), else "
                                                      "0"),
                   in(Text, "a").describe("the text searched"),
                   in(Text, "b").describe("the text looked for, trailing blanks ignored"));
TAVRIN_ROUTINE_DOC(clen, sh::clen,
                   "Length of a text field, or of a NUL-terminated text held in it.",
                   result(Int, "clen").describe("the position before a NUL that ends the non-blank "
                                                "part, else the declared length"),
                   in(Text, "s").describe(s_text));
TAVRIN_ROUTINE_DOC(clen_trim, sh::clen_trim,
                   "Trimmed length of a text, or the length of a NUL-terminated text held in it.",
                   result(Int, "clen_trim").describe("the position of the last non-blank character "
                                                     "(0 for a blank text), or before a NUL that "
                                                     "ends it"),
                   in(Text, "s").describe(s_text));
TAVRIN_ROUTINE_DOC(ctrim, sh::ctrim,
                   "Text cut at its trimmed length (or before the NUL that ends it), as a field of "
                   "n characters.",
                   out(Text, "ctrim", "n").describe("the cut text, blank-padded"),
                   in(Text, "s").describe(s_text), in(Int, "n").describe(n_result));
TAVRIN_ROUTINE_DOC(countitems, sh::countitems,
                   "Number of items on a line, separated by commas, blanks (tabs count as blanks) "
                   "or both.",
                   result(Int, "countitems").describe("the count; 0 for a blank line; a blank "
                                                      "before a comma adds an item, a leading "
                                                      "comma none"),
                   in(Text, "s0").describe("the line"));
TAVRIN_ROUTINE_DOC(spack, sh::spack,
                   "Text reduced to the characters that occur in a set, in order.",
                   in(Text, "s").describe("the text, trailing blanks included"),
                   in(Text, "ex").describe("the set of characters kept (its first nx characters)"),
                   out(Text, "sout", "ns").describe("the kept characters"),
                   in(Int, "ns").describe(n_result),
                   in(Int, "nx").describe("number of characters of ex used; < 1 keeps nothing"));
TAVRIN_ROUTINE_DOC(copys2a, sh::copys2a, "First n characters of a text, as a character array.",
                   in(Text, "s").describe(s_text),
                   out(Text, "ca", "n").describe("the characters, returned as a text of length n"),
                   in(Int, "n").describe("number of characters"));
TAVRIN_ROUTINE_DOC(copya2s, sh::copya2s, "First n characters of a character array, as a text.",
                   in(Text, "ca").describe("the characters"),
                   out(Text, "s", "n").describe("the text"),
                   in(Int, "n").describe("number of characters"));
TAVRIN_ROUTINE_DOC(str2ascii, sh::str2ascii, "Character codes (0..255) of the first n characters.",
                   out(Int, "ia", "n").describe("ia(i): code of character i"),
                   in(Text, "ca").describe(s_text), in(Int, "n").describe("number of characters"));
// From Python the text has the number's natural length: its digits and sign.
TAVRIN_ROUTINE_DOC(int2str, sh::int2str,
                   "Decimal text of an integer, in minimal form (a leading minus for negative "
                   "values).",
                   in(Int, "integ").describe("the integer"),
                   out(Text, "ca", "n").describe("the digits, with the sign"),
                   out(Int, "istat").describe("0; non-zero (with asterisks) when the number does "
                                              "not fit"),
                   hide(Int, "n", "floor(log10(max(abs(integ),1)))+1+(integ<0)")
                       .describe("number of characters of the decimal form"));
TAVRIN_ROUTINE_DOC(str2int, sh::str2int,
                   "Integer read from a text in free form (blanks around it; a blank, comma or "
                   "slash ends it).",
                   in(Text, "ca").describe(s_text),
                   out(Int, "integ").describe("the integer; 0 when istat is not 0"),
                   out(Int, "istat").describe("0 read; 1 no 32-bit integer in the text; -1 a blank "
                                              "text"));
TAVRIN_ROUTINE_DOC(inistringwithcharacter, sh::inistringwithcharacter,
                   "Text of n copies of one character.",
                   out(Text, "inistringwithcharacter", "n").describe("the text"),
                   in(Text, "ch", "1").describe("the character"),
                   in(Int, "n").describe(n_result));

}  // namespace
}  // namespace tavrin::bind
