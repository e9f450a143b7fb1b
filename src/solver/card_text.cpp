#include "solver/card_text.hpp"

#include <charconv>
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

std::string_view clean_line(std::string_view line) {
  if (line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
  while (!line.empty() && is_blank(line.back())) line.remove_suffix(1);
  return line;
}

std::string_view left_adjusted(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  return s;
}

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
  // The common form ([-]digits[.digits][e[sign]digits]) straight through
  // from_chars; a leading +, the exponent letter D, underflow and every
  // refusal take the full check below.
  if (!s.empty() && (is_digit(s[0]) || s[0] == '.' || (s[0] == '-' && s.size() > 1 && (is_digit(s[1]) || s[1] == '.')))) {
    double v = 0.0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec == std::errc() && r.ptr == s.data() + s.size()) {
      value = v;
      return true;
    }
  }
  std::size_t i = 0;
  const bool negative = !s.empty() && s[0] == '-';
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) i = 1;
  const std::size_t ib = i, ie = skip_digits(s, i);
  std::size_t fb = ie, fe = ie;
  i = ie;
  if (i < s.size() && s[i] == '.') {
    fb = i + 1;
    fe = skip_digits(s, fb);
    i = fe;
  }
  if (ie == ib && fe == fb) return false;  // no digit in the mantissa
  std::size_t eb = i;
  if (i < s.size() && (lower(s[i]) == 'e' || lower(s[i]) == 'd')) {
    eb = ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    const std::size_t digits = skip_digits(s, i);
    if (digits == i) return false;
    i = digits;
  }
  if (i != s.size()) return false;
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

bool parse_int(std::string_view s, int& value) {
  const bool negative = !s.empty() && s[0] == '-';
  std::size_t i = !s.empty() && (s[0] == '+' || s[0] == '-') ? 1 : 0;
  if (i == s.size()) return false;
  long long v = 0;
  for (; i < s.size(); ++i) {
    if (!is_digit(s[i])) return false;
    v = v * 10 + (s[i] - '0');
    if (v > 2147483648LL) return false;
  }
  if (!negative && v > 2147483647LL) return false;
  value = int(negative ? -v : v);
  return true;
}

}  // namespace tavrin::iohandling
