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

TEST(Strings, ResultsStayInTheirFields) {
  // Lengths beyond the input pad with blanks; short fields cut the result.
  const Exact s("aB"), ex("1");
  EXPECT_EQ(field(5, [&](auto o) { sh::lowercase(o, s, 5); }), "ab   ");
  EXPECT_EQ(field(5, [&](auto o) { sh::uppercase(o, s, 5); }), "AB   ");
  EXPECT_EQ(field(4, [&](auto o) { sh::copys2a(s, o, 4); }), "aB  ");
  EXPECT_EQ(field(3, [&](auto o) { sh::copya2s(s, o, 3); }), "aB ");
  const int codes[] = {'a', 'z'};
  EXPECT_EQ(field(4, [&](auto o) { sh::translate(s, o, codes, 4, 1); }), "zB  ");
  EXPECT_EQ(field(4, [&](auto o) { sh::spack(Exact("1 2"), ex, o, 4, 5); }), "1   ");
  std::vector<int> ia(4, -1);
  sh::str2ascii(ia.data(), s, 4);
  EXPECT_EQ(ia, (std::vector<int>{'a', 'B', ' ', ' '}));

  EXPECT_EQ(field(2, [&](auto o) { sh::reduceblanks(Exact("a   b c"), o, 2); }), "a ");
  EXPECT_EQ(field(3, [&](auto o) { sh::replacetext(Exact("abc"), Exact("b"), Exact("xyz"), o, 3); }), "axy");
  std::vector<char> b(1);
  EXPECT_EQ(field(1, [&](auto a) { sh::split(a, b, Exact("long,rest"), Exact(","), 1); }), "l");
  EXPECT_EQ(field(0, [&](auto o) { sh::extract(o, Exact("[x]"), Exact("["), Exact("]"), 0); }), "");
  // A blank start key that does not occur: extract never starts before the text.
  EXPECT_EQ(field(3, [&](auto o) { sh::extract(o, Exact("ab]"), Exact("  "), Exact("]"), 3); }), "ab ");

  // Failed conversions: a number that does not fit gives asterisks.
  int istat = 0, integ = 99;
  EXPECT_EQ(field(2, [&](auto o) { sh::int2str(-45, o, istat, 2); }), "**");
  EXPECT_EQ(istat, sh::conversion_failed);
  istat = 0;
  sh::str2int(Exact(" 12x"), integ, istat);
  EXPECT_EQ(integ, 99);  // not an integer: the result is left as it was
  EXPECT_EQ(istat, sh::conversion_failed);
}

std::string formatted(std::string_view format, std::vector<int> values, int jmax, int sout) {
  const Exact aw(format);
  return field(sout, [&](auto o) {
    sh::int2aformat(o, values.data(), aw, jmax, sout, int(values.size()), 1);
  });
}

TEST(Strings, IntegerFormats) {
  EXPECT_EQ(formatted("(I4.3)", {-7}, 4, 4), "-007");
  EXPECT_EQ(formatted("(I3.0)", {0, 5}, 3, 4), "5   ");  // a zero with m = 0 is blank
  EXPECT_EQ(formatted("('a''b',I1)", {3}, 5, 5), "a'b3 ");
  // Writing stops at the next data edit descriptor.
  EXPECT_EQ(formatted("(3(I1,','))", {5}, 4, 4), "5,  ");
  // What cannot be written gives asterisks, never a cut-off number.
  EXPECT_EQ(formatted("(I3)", {1000}, 3, 3), "***");
  EXPECT_EQ(formatted("('abc')", {1}, 4, 4), "****");  // no descriptor takes the value
  EXPECT_EQ(formatted("(I3", {1}, 3, 3), "***");
  EXPECT_EQ(formatted("(0(I1))", {1}, 3, 3), "***");
  // Records longer than the field are refused without being built.
  EXPECT_EQ(formatted("(999999999('ab'),I1)", {1}, 3, 3), "***");
  EXPECT_EQ(formatted("(I999999999)", {1}, 3, 3), "***");
  EXPECT_EQ(formatted("(I1)", {1}, 0, 2), "  ");
}

}  // namespace
