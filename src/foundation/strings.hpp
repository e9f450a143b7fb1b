// Text routines of the card-file and deck readers: cutting lines at
// delimiters, case-insensitive keyword comparison, option tests, item counts,
// character tables and number conversions.
//
// Texts are fixed-length fields of 8-bit characters padded on the right with
// blanks.  Only the blank (code 32) counts as padding; tab and NUL are
// ordinary characters.  Case mapping touches only the 26 ASCII letters.
//
// A text result is written into the caller's field `out` (a span of the
// result's declared length n): the computed text cut or blank-padded to it.
// Where a routine reads the first n characters of an input that is shorter,
// the missing characters count as blanks; nothing is read past an input.
#pragma once

#include <span>
#include <string_view>

#include "foundation/api.hpp"

namespace tavrin::stringhandling {

// Cuts s at the first occurrence of the delimiter sdelim (one character):
// a = the text before it, b = the text after it; without a delimiter a = s and
// b is blank.
TAVRIN_API void split(std::span<char> a, std::span<char> b, std::string_view s,
                      std::string_view sdelim, int n);

// The text between the last occurrence of startkey (compared at its whole
// length, trailing blanks included) and the next occurrence of stopkey after
// it, left-adjusted.
TAVRIN_API void extract(std::span<char> out, std::string_view s, std::string_view startkey,
                        std::string_view stopkey, int n);

// The first n characters of s, mapped to lower or upper case.
TAVRIN_API void lowercase(std::span<char> out, std::string_view s, int n);
TAVRIN_API void uppercase(std::span<char> out, std::string_view s, int n);

// Case-insensitive equality of the two texts without their trailing blanks
// (leading blanks count).
TAVRIN_API bool match(std::string_view a, std::string_view b);

// Character substitution over the first n characters of s0: a character equal
// to the low byte of codes(j,1) (first hit j) becomes the low byte of
// codes(j,2).  codes is column-major (nc, 2).
TAVRIN_API void translate(std::string_view s0, std::span<char> sout, const int* codes, int n,
                          int nc);

// s with every occurrence of the trimmed text replaced by the trimmed rep
// (a blank rep deletes).  Each pass searches again from the first character,
// so a replacement may form a new occurrence with its neighbours; when rep
// itself contains the text the search resumes after each inserted
// replacement instead, so the routine always ends.  A blank text returns s.
TAVRIN_API void replacetext(std::string_view s, std::string_view text, std::string_view rep,
                            std::span<char> sout, int nout);

// s with every run of blanks (a leading run included) collapsed to one blank.
TAVRIN_API void reduceblanks(std::string_view s, std::span<char> sout, int nout);

// Every entry of jrray(n, m), column by column, written with the Fortran
// integer format aw into a field of jmax characters, left-adjusted and joined
// to the result cut at its trimmed length.  A number that the format cannot
// write, or a record longer than jmax, gives a field of asterisks.
TAVRIN_API void int2aformat(std::span<char> j2s, const int* jrray, std::string_view aw,
                            int jmax, int sout, int n, int m);

// Number of (possibly overlapping) occurrences of the trimmed text in s;
// csflag other than 1 compares without regard to case in the left-adjusted s.
// A blank text occurs at every position, len(s) + 1 times.
TAVRIN_API int tally(std::string_view s, std::string_view text, int csflag = 1);

// Whether b occurs in a, without regard to case.
TAVRIN_API bool occurs(std::string_view a, std::string_view b);

// Declared length of s, or the length before a NUL that ends its non-blank
// part.
TAVRIN_API int clen(std::string_view s);
// Trimmed length of s, or the length before a NUL that ends its non-blank
// part.
TAVRIN_API int clen_trim(std::string_view s);
// s cut at clen_trim(s).
TAVRIN_API void ctrim(std::span<char> out, std::string_view s, int n);

// Number of items on a line: items are separated by commas, blanks or both
// (tabs count as blanks); a blank before a comma adds an item, a leading comma
// none.
TAVRIN_API int countitems(std::string_view s0);

// The characters of s (trailing blanks included) that occur among the first
// nx characters of ex, in order.
TAVRIN_API void spack(std::string_view s, std::string_view ex, std::span<char> sout, int ns,
                      int nx);

// Character i of the output is character i of the input, i = 1..n.
TAVRIN_API void copys2a(std::string_view s, std::span<char> ca, int n);
TAVRIN_API void copya2s(std::string_view ca, std::span<char> s, int n);
// ia(i) = code (0..255) of ca(i), i = 1..n.
TAVRIN_API void str2ascii(int* ia, std::string_view ca, int n);

// Status of a failed number conversion: the field is too short for the
// number (int2str) or holds no integer (str2int); a blank text is the end
// of the record.
inline constexpr int conversion_failed = 1;
inline constexpr int end_of_record = -1;

// integ in minimal decimal form, left-justified in ca; istat 0, or
// conversion_failed with ca all asterisks when it does not fit.
TAVRIN_API void int2str(const int& integ, std::span<char> ca, int& istat, int n);
// One integer read in free form from ca (blanks around it; a blank, comma or
// slash ends it); istat 0, or non-zero with integ unchanged when ca holds no
// 32-bit integer.
TAVRIN_API void str2int(std::string_view ca, int& integ, int& istat);

// n copies of the character ch.
TAVRIN_API void inistringwithcharacter(std::span<char> out, std::string_view ch, int n);

}  // namespace tavrin::stringhandling
