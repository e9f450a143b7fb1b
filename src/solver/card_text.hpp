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
// Inline, as left_adjusted and parse_int: readers call them for every line.
inline std::string_view clean_line(std::string_view line) {
  if (line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
  while (!line.empty() && is_blank(line.back())) line.remove_suffix(1);
  return line;
}
// s without leading blanks and tabs.
inline std::string_view left_adjusted(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  return s;
}
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

// Calls f(item) for each item of the line, in order.
template <class F>
void for_each_item(std::string_view line, F&& f) {
  std::size_t i = 0;
  const std::size_t n = line.size();
  while (i < n) {
    while (i < n && is_separator(line[i])) ++i;
    const std::size_t start = i;
    while (i < n && !is_separator(line[i])) ++i;
    if (i > start) f(line.substr(start, i - start));
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
