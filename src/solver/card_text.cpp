#include "solver/card_text.hpp"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>

namespace tavrin::iohandling {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }
char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

std::size_t skip_digits(std::string_view s, std::size_t i) {
  while (i < s.size() && is_digit(s[i])) ++i;
  return i;
}

// A value beyond the double range: underflow (the decimal exponent of the
// leading digit is negative) reads as a signed zero, overflow is refused.
bool out_of_range(std::string_view ip, std::string_view fp, std::string_view exponent, bool negative,
                  double& value) {
  long long e = 0;
  std::size_t k = 0;
  const bool eneg = !exponent.empty() && exponent[0] == '-';
  if (!exponent.empty() && (exponent[0] == '-' || exponent[0] == '+')) k = 1;
  for (; k < exponent.size(); ++k) e = std::min(e * 10 + (exponent[k] - '0'), 1LL << 40);
  if (eneg) e = -e;
  const std::size_t lead = ip.find_first_not_of('0');
  long long magnitude;
  if (lead != std::string_view::npos) {
    magnitude = e + (long long)(ip.size() - lead) - 1;
  } else {
    const std::size_t f = fp.find_first_not_of('0');
    if (f == std::string_view::npos) magnitude = -1;  // all zeros
    else magnitude = e - (long long)f - 1;
  }
  if (magnitude >= 0) return false;
  value = negative ? -0.0 : 0.0;
  return true;
}

}  // namespace

std::string_view trimmed_path(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.remove_suffix(1);
  return s;
}

KeywordLine split_keyword(std::string_view line) {
  const std::size_t comma = line.find(',');
  if (comma == std::string_view::npos) return {line, {}};
  return {line.substr(0, comma), left_adjusted(line.substr(comma + 1))};
}

bool same_word(std::string_view a, std::string_view b) {
  while (!a.empty() && is_blank(a.back())) a.remove_suffix(1);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

int count_items(std::string_view line) {
  int n = 0;
  for_each_item(line, [&](std::string_view) { ++n; });
  return n;
}

std::string_view first_item(std::string_view s) {
  std::string_view first;
  bool found = false;
  for_each_item(s, [&](std::string_view item) {
    if (!found) first = item;
    found = true;
  });
  return first;
}

bool parse_real(std::string_view s, double& value) {
  // One pass over the item checks the form and gathers the digits and the
  // decimal exponent.  A mantissa of at most 2^53 and a net power of ten
  // within 10^±22 give the value as one correctly rounded product or
  // quotient of two exact doubles, the same value as a correctly rounded
  // decimal conversion; everything else (long mantissas, large exponents,
  // overflow, underflow) goes through from_chars.
  static constexpr double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                      1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  constexpr std::uint64_t kept = ((std::uint64_t(1) << 53) - 9) / 10;  // m * 10 + 9 stays within 2^53
  const std::size_t n = s.size();
  std::size_t i = 0;
  const bool negative = n > 0 && s[0] == '-';
  if (n > 0 && (s[0] == '+' || s[0] == '-')) i = 1;
  std::uint64_t m = 0;
  bool exact = true;  // m holds every digit
  const auto digits = [&] {
    for (; i < n; ++i) {
      const unsigned d = unsigned(static_cast<unsigned char>(s[i])) - unsigned('0');
      if (d > 9) break;
      if (m > kept) exact = false;
      else m = m * 10 + d;
    }
  };
  const std::size_t ib = i;
  digits();
  const std::size_t ie = i;
  std::size_t fb = ie, fe = ie;
  if (i < n && s[i] == '.') {
    fb = ++i;
    digits();
    fe = i;
  }
  if (ie == ib && fe == fb) return false;  // no digit in the mantissa
  std::size_t eb = i;
  long long e = 0;
  if (i < n && (lower(s[i]) == 'e' || lower(s[i]) == 'd')) {
    eb = ++i;
    const bool eneg = i < n && s[i] == '-';
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    const std::size_t end = skip_digits(s, i);
    if (end == i) return false;
    for (; i < end; ++i) e = std::min(e * 10 + (s[i] - '0'), 1LL << 40);
    if (eneg) e = -e;
  }
  if (i != n) return false;
  const long long power = e - (long long)(fe - fb);
  if (exact && power >= -22 && power <= 22) {
    // (Zero, common in coordinate tables, without the division.)
    const double v = m == 0 ? 0.0 : power < 0 ? double(m) / powers[-power] : double(m) * powers[power];
    value = negative ? -v : v;
    return true;
  }
  // from_chars reads neither a leading + nor the exponent letter D.
  std::string text(s.substr(s[0] == '+' ? 1 : 0));
  for (char& c : text)
    if (c == 'd' || c == 'D') c = 'e';
  double v = 0.0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  if (r.ec == std::errc::result_out_of_range)
    return out_of_range(s.substr(ib, ie - ib), s.substr(fb, fe - fb), s.substr(eb, i - eb), negative,
                        value);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return false;
  value = v;
  return true;
}

}  // namespace tavrin::iohandling
