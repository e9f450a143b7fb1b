// Line and item grammar shared by every reader of card files, the input deck
// and the solver's data and message files.
//
// A line is cleaned once: a byte-order mark at its start and blanks and tabs
// at its end are dropped (a carriage return before the line feed is dropped
// by the record layer); it is never cut at a fixed length.  Items on a data
// line are the runs of characters between blanks, tabs and commas, so empty
// fields are no items ("1 , 2" has two).  Numbers take the forms of free-form
// Fortran input: an optional sign, digits with an optional decimal point
// ("1.", ".5") and an optional exponent with E or D in either case ("1D-3");
// an integer item has no point and no exponent.  Anything else ("3*1.0",
// "abc", "1.0" where an integer is due, a value beyond the double range) is
// not a number.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "foundation/api.hpp"

namespace tavrin::iohandling {

inline bool is_blank(char c) { return c == ' ' || c == '\t'; }
inline bool is_separator(char c) {
  // A table of the 256 byte values: one load per character of a data line.
  static constexpr auto table = [] {
    std::array<bool, 256> t{};
    t[' '] = t['\t'] = t[','] = true;
    return t;
  }();
  return table[static_cast<unsigned char>(c)];
}

// The line without a leading byte-order mark and trailing blanks and tabs.
// Inline, as left_adjusted: readers call both for every line.
inline std::string_view clean_line(std::string_view line) {
  if (line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
  while (!line.empty() && is_blank(line.back())) line.remove_suffix(1);
  return line;
}
// s without leading blanks and tabs.
inline std::string_view left_adjusted(std::string_view s);
// A path field without its trailing blanks and NULs (an unset field is NUL-filled).
TAVRIN_API std::string_view trimmed_path(std::string_view s);

// A keyword line cut at its first comma: the keyword as it stands (it must
// begin in column 1) and the option, left-adjusted; no comma: blank option.
struct KeywordLine {
  std::string_view keyword;
  std::string_view option;
};
TAVRIN_API KeywordLine split_keyword(std::string_view line);
// Equality without regard to letter case, after dropping a's trailing blanks
// and tabs (leading blanks count).
TAVRIN_API bool same_word(std::string_view a, std::string_view b);

// Scanning a line eight characters at a time: the blanks, tabs and commas
// of a word are found with a few integer operations instead of a branch per
// character, whose mispredictions at every item boundary would cost more than
// the rest of the reading.
namespace scan_detail {
inline constexpr std::uint64_t high_bits = 0x8080808080808080ULL;
// The high bit of each byte of w that equals c.
constexpr std::uint64_t bytes_equal(std::uint64_t w, unsigned char c) {
  const std::uint64_t x = w ^ (0x0101010101010101ULL * c);
  return ~(((x & 0x7F7F7F7F7F7F7F7FULL) + 0x7F7F7F7F7F7F7F7FULL) | x) & high_bits;
}
template <bool Commas>
[[gnu::always_inline]] inline std::uint64_t class_bytes(const char* p) {
  std::uint64_t w;
  std::memcpy(&w, p, 8);
  std::uint64_t m = bytes_equal(w, ' ') | bytes_equal(w, '\t');
  if constexpr (Commas) m |= bytes_equal(w, ',');
  return m;
}
// The first position from i whose character is (In) or is not (!In) a
// blank or tab, or also a comma (Commas); s.size() when there is none.
template <bool Commas, bool In>
[[gnu::always_inline]] inline std::size_t find(std::string_view s, std::size_t i) {
  const std::size_t n = s.size();
  if constexpr (std::endian::native == std::endian::little) {
    for (; i + 8 <= n; i += 8) {
      const std::uint64_t m = class_bytes<Commas>(s.data() + i);
      const std::uint64_t stop = In ? m : ~m & high_bits;
      if (stop) return i + std::size_t(std::countr_zero(stop) / 8);
    }
  }
  for (; i < n; ++i) {
    const bool member = Commas ? is_separator(s[i]) : is_blank(s[i]);
    if (member == In) return i;
  }
  return n;
}
}  // namespace scan_detail

// The first position from i that is not a blank or tab, and that is one;
// the same for separators (blanks, tabs and commas).
inline std::size_t skip_blanks(std::string_view s, std::size_t i) { return scan_detail::find<false, false>(s, i); }
inline std::size_t find_blank(std::string_view s, std::size_t i) { return scan_detail::find<false, true>(s, i); }
inline std::size_t skip_separators(std::string_view s, std::size_t i) { return scan_detail::find<true, false>(s, i); }
inline std::size_t find_separator(std::string_view s, std::size_t i) { return scan_detail::find<true, true>(s, i); }

inline std::string_view left_adjusted(std::string_view s) { return s.substr(skip_blanks(s, 0)); }

// Calls f(item) for each item of the line, in order.
template <class F>
void for_each_item(std::string_view line, F&& f) {
  const std::size_t n = line.size();
  for (std::size_t i = skip_separators(line, 0); i < n; i = skip_separators(line, i)) {
    const std::size_t start = i;
    i = find_separator(line, i);
    f(line.substr(start, i - start));
  }
}
TAVRIN_API int count_items(std::string_view line);
// The first item of s, or an empty view.
TAVRIN_API std::string_view first_item(std::string_view s);

// True and the value when the item is a number of the kind; false otherwise
// (value unchanged).
TAVRIN_API bool parse_real(std::string_view item, double& value);
// Inline: table readers call it for every item.
inline bool parse_int(std::string_view item, int& value) {
  const std::size_t n = item.size();
  const bool negative = n > 0 && item[0] == '-';
  std::size_t i = n > 0 && (item[0] == '+' || item[0] == '-') ? 1 : 0;
  if (i == n) return false;
  long long v = 0;
  for (; i < n; ++i) {
    const unsigned d = unsigned(static_cast<unsigned char>(item[i])) - unsigned('0');
    if (d > 9) return false;
    v = v * 10 + d;
    if (v > 2147483648LL) return false;
  }
  if (!negative && v > 2147483647LL) return false;
  value = int(negative ? -v : v);
  return true;
}
inline bool parse_item(std::string_view item, double& value) { return parse_real(item, value); }
inline bool parse_item(std::string_view item, int& value) { return parse_int(item, value); }

}  // namespace tavrin::iohandling
