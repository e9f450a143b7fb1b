// Text routines: results stay inside their fields, inputs are never read past
// their end (inputs live in exact-size buffers, so the sanitizer build sees
// any overread), and the integer formats of int2aformat.
#include <gtest/gtest.h>

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/strings.hpp"

namespace {

namespace sh = tavrin::stringhandling;

// A text in a heap block of exactly its length.
class Exact {
 public:
  explicit Exact(std::string_view s) : chars_(s.begin(), s.end()) {}
  operator std::string_view() const { return {chars_.data(), chars_.size()}; }

 private:
  std::vector<char> chars_;
};

// Runs `f` on a result field of n characters, returns the field.
template <class F>
std::string field(int n, F f) {
  std::vector<char> out(std::size_t(n), '#');
  f(std::span<char>(out));
  return {out.begin(), out.end()};
}

TEST(Strings, RequestedLengthBeyondTheInputPadsWithBlanks) {
  const Exact s("aB"), ex("1");
  EXPECT_EQ(field(5, [&](auto out) { sh::lowercase(out, s, 5); }), "ab   ");
  EXPECT_EQ(field(5, [&](auto out) { sh::uppercase(out, s, 5); }), "AB   ");
  EXPECT_EQ(field(4, [&](auto out) { sh::copys2a(s, out, 4); }), "aB  ");
  EXPECT_EQ(field(3, [&](auto out) { sh::copya2s(s, out, 3); }), "aB ");
  const int codes[] = {'a', 'z'};
  EXPECT_EQ(field(4, [&](auto out) { sh::translate(s, out, codes, 4, 1); }), "zB  ");
  EXPECT_EQ(field(4, [&](auto out) { sh::spack(Exact("1 2"), ex, out, 4, 5); }), "1   ");
  std::vector<int> ia(4, -1);
  sh::str2ascii(ia.data(), s, 4);
  EXPECT_EQ(ia, (std::vector<int>{'a', 'B', ' ', ' '}));
}

TEST(Strings, ShortFieldsCutTheResult) {
  EXPECT_EQ(field(2, [&](auto out) { sh::reduceblanks(Exact("a   b c"), out, 2); }), "a ");
  EXPECT_EQ(field(3, [&](auto out) { sh::replacetext(Exact("abc"), Exact("b"), Exact("xyz"), out, 3); }),
            "axy");
  EXPECT_EQ(field(1, [&](auto a) {
              std::vector<char> b(1);
              sh::split(a, b, Exact("long,rest"), Exact(","), 1);
            }),
            "l");
  EXPECT_EQ(field(0, [&](auto out) { sh::extract(out, Exact("[x]"), Exact("["), Exact("]"), 0); }), "");
}

TEST(Strings, ExtractNeverStartsBeforeTheText) {
  // A start key that does not occur: the search begins at the first
  // character after a key of its trimmed length.
  EXPECT_EQ(field(3, [&](auto out) { sh::extract(out, Exact("ab]"), Exact("{{"), Exact("]"), 3); }),
            "b  ");
  EXPECT_EQ(field(3, [&](auto out) { sh::extract(out, Exact("ab]"), Exact("  "), Exact("]"), 3); }),
            "ab ");
}

TEST(Strings, NumberConversionStatuses) {
  int istat = 0;
  EXPECT_EQ(field(3, [&](auto ca) { sh::int2str(-45, ca, istat, 3); }), "-45");
  EXPECT_EQ(istat, 0);
  EXPECT_EQ(field(5, [&](auto ca) { sh::int2str(7, ca, istat, 5); }), "7    ");
  EXPECT_EQ(field(2, [&](auto ca) { sh::int2str(-45, ca, istat, 2); }), "**");
  EXPECT_EQ(istat, sh::conversion_failed);

  int integ = 99;
  sh::str2int(Exact(" 12x"), integ, istat);
  EXPECT_EQ(integ, 99);  // not an integer: the result is left as it was
  EXPECT_EQ(istat, sh::conversion_failed);
  sh::str2int(Exact("   "), integ, istat);
  EXPECT_EQ(integ, 99);
  EXPECT_EQ(istat, sh::end_of_record);
  sh::str2int(Exact("-99999999999999999999"), integ, istat);
  EXPECT_EQ(integ, 99);
  EXPECT_NE(istat, 0);
  sh::str2int(Exact(" -8/"), integ, istat);
  EXPECT_EQ(integ, -8);
  EXPECT_EQ(istat, 0);
}

std::string formatted(std::string_view format, std::vector<int> values, int jmax, int sout) {
  const Exact aw(format);
  return field(sout, [&](auto out) {
    sh::int2aformat(out, values.data(), aw, jmax, sout, int(values.size()), 1);
  });
}

TEST(IntegerFormats, EditDescriptors) {
  EXPECT_EQ(formatted("(I4)", {-3, 25}, 4, 6), "-325  ");
  EXPECT_EQ(formatted("(i2)", {7}, 2, 2), "7 ");  // letters in either case
  EXPECT_EQ(formatted("(I4.3)", {-7}, 4, 4), "-007");
  EXPECT_EQ(formatted("(I3.0)", {0, 5}, 3, 4), "5   ");  // a zero with m = 0 is blank
  EXPECT_EQ(formatted("(I0.0)", {0, 5}, 3, 4), "5   ");
  EXPECT_EQ(formatted("(SP,I0)", {4, 0}, 3, 5), "+4+0 ");
  EXPECT_EQ(formatted("(2X,I1)", {1, 2}, 3, 4), "12  ");
  EXPECT_EQ(formatted("('a''b',I1)", {3}, 5, 5), "a'b3 ");
  EXPECT_EQ(formatted("(I 1 ,'|')", {3}, 3, 3), "3| ");  // blanks inside are ignored
}

TEST(IntegerFormats, WritingStopsAtTheNextDataEditDescriptor) {
  EXPECT_EQ(formatted("(I1,'-',I1,'x')", {1, 2}, 3, 6), "1-2-  ");
  EXPECT_EQ(formatted("(I1,:,'x')", {1}, 3, 3), "1  ");
  EXPECT_EQ(formatted("(2('-'),I1)", {5}, 4, 4), "--5 ");
  EXPECT_EQ(formatted("(3(I1,','))", {5}, 4, 4), "5,  ");
  EXPECT_EQ(formatted("(2I2)", {5}, 4, 4), "5   ");
}

TEST(IntegerFormats, WhatCannotBeWrittenGivesAsterisks) {
  EXPECT_EQ(formatted("(I3)", {1000}, 3, 3), "***");
  EXPECT_EQ(formatted("(I4.5)", {1}, 4, 4), "****");
  EXPECT_EQ(formatted("('abc')", {1}, 4, 4), "****");  // no descriptor takes the value
  EXPECT_EQ(formatted("(F4.1)", {1}, 2, 2), "**");
  EXPECT_EQ(formatted("(I3", {1}, 3, 3), "***");
  EXPECT_EQ(formatted("(0(I1))", {1}, 3, 3), "***");
  // Records longer than the field are refused without being built.
  EXPECT_EQ(formatted("(999999999('ab'),I1)", {1}, 3, 3), "***");
  EXPECT_EQ(formatted("(I999999999)", {1}, 3, 3), "***");
  EXPECT_EQ(formatted("(I1)", {1}, 0, 2), "  ");
}

}  // namespace
