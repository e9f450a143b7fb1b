#include "foundation/strings.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>

#include "foundation/text.hpp"

namespace tavrin::stringhandling {

namespace {

constexpr char blank = ' ';

// Character i (from 0) of s, a blank beyond its end.
char at(std::string_view s, std::ptrdiff_t i) {
  return i >= 0 && i < std::ptrdiff_t(s.size()) ? s[std::size_t(i)] : blank;
}

std::string_view trimmed(std::string_view s) {
  const std::size_t last = s.find_last_not_of(blank);
  return last == std::string_view::npos ? s.substr(0, 0) : s.substr(0, last + 1);
}

int trimmed_length(std::string_view s) { return int(trimmed(s).size()); }

// The first n characters of s, blank-padded where s is shorter.
std::string head(std::string_view s, int n) {
  std::string t(std::size_t(std::max(n, 0)), blank);
  std::copy_n(s.begin(), std::min(t.size(), s.size()), t.begin());
  return t;
}

// s with its leading blanks moved to its end.
std::string adjustl(std::string_view s) {
  const std::size_t first = std::min(s.find_first_not_of(blank), s.size());
  std::string t(s.substr(first));
  t.append(first, blank);
  return t;
}

char to_lower(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }
char to_upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }

template <class Map>
std::string mapped(std::string_view s, Map map) {
  std::string t(s);
  std::transform(t.begin(), t.end(), t.begin(), map);
  return t;
}

void put(std::span<char> out, std::string_view text) { assign_text(out.data(), out.size(), text); }

// ---------------------------------------------------------------------------
// Integer output under a Fortran format: the data edit descriptor Iw[.m]
// (w = 0: minimal width), the control edit descriptors nX, SP, SS, S, BN, BZ
// and ':', quoted literals (a doubled quote stands for itself), and groups
// with repeat counts.  Writing stops at the first data edit descriptor after
// the one that took the value, at ':' once the value is written, or at the
// end of the format.  A record longer than `limit` characters is refused.

class IntegerFormat {
 public:
  IntegerFormat(std::string_view format, int value, std::size_t limit)
      : f_(format), value_(value), limit_(limit) {}

  // The record, or nothing when the format is not one this value can be
  // written with, or the record would exceed the limit.
  std::optional<std::string> write() {
    if (!eat('(')) return std::nullopt;
    if (!group(pos_, 1) || !valid_ || !written_) return std::nullopt;
    return record_;
  }

 private:
  void skip_blanks() {
    while (pos_ < f_.size() && f_[pos_] == blank) ++pos_;
  }
  bool eat(char c) {
    skip_blanks();
    if (pos_ < f_.size() && to_upper(f_[pos_]) == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  // An unsigned number (blanks inside are ignored, as in a format); -1 when
  // there is none.  Values beyond any record length are held at a bound.
  long number() {
    skip_blanks();
    long v = -1;
    while (pos_ < f_.size() && (f_[pos_] == blank || (f_[pos_] >= '0' && f_[pos_] <= '9'))) {
      if (f_[pos_] != blank) v = std::min((v < 0 ? 0 : v) * 10 + (f_[pos_] - '0'), 1L << 30);
      ++pos_;
    }
    return v;
  }

  // Processes the items of the group whose text starts at `start` `repeat`
  // times; on return pos_ is after its closing parenthesis.  False when the
  // format is malformed or the record too long.
  bool group(std::size_t start, long repeat) {
    if (repeat < 1) return false;
    for (long r = 0; r < repeat; ++r) {
      pos_ = start;
      if (!items() || !valid_) return false;
      if (done_) return skip_group_rest();
    }
    return true;
  }

  // Skips to after the closing parenthesis of the current group.
  bool skip_group_rest() {
    int depth = 1;
    while (pos_ < f_.size()) {
      const char c = f_[pos_++];
      if (c == '\'' || c == '"') {
        while (pos_ < f_.size() && f_[pos_++] != c) {
        }
      } else if (c == '(') {
        ++depth;
      } else if (c == ')' && --depth == 0) {
        return true;
      }
    }
    return false;
  }

  // The items up to and including the group's closing parenthesis.
  bool items() {
    while (true) {
      skip_blanks();
      if (pos_ >= f_.size()) return false;
      const char c = f_[pos_];
      if (c == ')') {
        ++pos_;
        return true;
      }
      if (c == ',') {
        ++pos_;
        continue;
      }
      if (!item() || !valid_) return false;
      if (done_) return true;
    }
  }

  bool item() {
    const long count = number();
    skip_blanks();
    if (pos_ >= f_.size()) return false;
    const char c = to_upper(f_[pos_]);
    if (c == '\'' || c == '"') return count < 0 && literal(f_[pos_]);
    ++pos_;
    switch (c) {
      case '(': return group(pos_, count < 0 ? 1 : count);
      case 'X':
        emit(std::size_t(count < 0 ? 1 : count), blank);
        return true;
      case 'I': return integer();
      case ':':
        done_ = written_;
        return count < 0;
      case 'S':
        plus_ = eat('P');
        if (!plus_) eat('S');
        return count < 0;
      case 'B': return count < 0 && (eat('N') || eat('Z'));
      default: return false;  // another data or control edit descriptor
    }
  }

  bool literal(char quote) {
    ++pos_;
    std::string text;
    while (pos_ < f_.size()) {
      const char c = f_[pos_++];
      if (c != quote) {
        text += c;
      } else if (pos_ < f_.size() && f_[pos_] == quote) {
        text += quote;
        ++pos_;
      } else {
        emit(text);
        return true;
      }
    }
    return false;
  }

  bool integer() {
    const long w = number();
    if (w < 0) return false;
    long m = -1;
    if (eat('.')) {
      m = number();
      if (m < 0) return false;
    }
    if (written_) {  // a second data edit descriptor: no value is left for it
      done_ = true;
      return true;
    }
    written_ = true;
    if (std::size_t(std::max(w, m)) > limit_) {
      valid_ = false;
      return true;
    }
    // Iw.0 writes a zero as blanks only.
    std::string digits;
    if (!(value_ == 0 && m == 0)) digits = std::to_string(std::abs(std::int64_t(value_)));
    if (m > long(digits.size())) digits.insert(0, std::size_t(m) - digits.size(), '0');
    if (value_ < 0) digits.insert(0, 1, '-');
    else if (plus_) digits.insert(0, 1, '+');
    if (w == 0) {
      if (digits.empty()) emit(1, blank);
      emit(digits);
    } else if (long(digits.size()) > w) {
      emit(std::size_t(w), '*');
    } else {
      emit(std::size_t(w) - digits.size(), blank);
      emit(digits);
    }
    return true;
  }

  void emit(std::string_view s) {
    if (record_.size() + s.size() > limit_) valid_ = false;
    else record_ += s;
  }
  void emit(std::size_t count, char c) {
    if (record_.size() + count > limit_) valid_ = false;
    else record_.append(count, c);
  }

  std::string_view f_;
  int value_;
  std::size_t limit_;
  std::size_t pos_ = 0;
  std::string record_;
  bool written_ = false;
  bool done_ = false;
  bool plus_ = false;
  bool valid_ = true;
};

// One field of int2aformat: the record of `value` under `format` in jmax
// characters, left-adjusted; asterisks when it cannot be written there.
std::string integer_field(std::string_view format, int value, int jmax) {
  const std::size_t w = std::size_t(std::max(jmax, 0));
  const std::optional<std::string> record = IntegerFormat(format, value, w).write();
  if (!record) return std::string(w, '*');
  return adjustl(head(*record, int(w)));
}

// Positions (from 0) of the occurrences of `key` in s with start at or after
// `from`; npos when none.
std::size_t find_from(std::string_view s, std::string_view key, std::size_t from) {
  return from > s.size() ? std::string_view::npos : s.find(key, from);
}

}  // namespace

void split(std::span<char> a, std::span<char> b, std::string_view s, std::string_view sdelim,
           int /*n: the declared length of a and b*/) {
  const std::size_t i = s.find(at(sdelim, 0));
  if (i == std::string_view::npos) {
    put(a, s);
    put(b, {});
  } else {
    put(a, s.substr(0, i));
    put(b, s.substr(i + 1));
  }
}

void extract(std::span<char> out, std::string_view s, std::string_view startkey,
             std::string_view stopkey, int /*n*/) {
  // 1-based positions as in the text's own terms: p the start key, istart the
  // first character after it, q the stop key within s(istart:).
  const std::size_t last = s.rfind(startkey);
  const long p = last == std::string_view::npos ? 0 : long(last) + 1;
  const long istart = std::max(p + trimmed_length(startkey), 1L);
  const std::string_view rest = istart <= long(s.size()) ? s.substr(std::size_t(istart - 1))
                                                         : std::string_view{};
  const std::size_t found = rest.find(stopkey);
  const long q = found == std::string_view::npos ? 0 : long(found) + 1;
  const long iend = std::min(istart + q - trimmed_length(stopkey) - 1, long(s.size()));
  const std::string_view text =
      iend >= istart ? s.substr(std::size_t(istart - 1), std::size_t(iend - istart + 1))
                     : std::string_view{};
  put(out, adjustl(text));
}

void lowercase(std::span<char> out, std::string_view s, int n) {
  put(out, mapped(head(s, n), to_lower));
}

void uppercase(std::span<char> out, std::string_view s, int n) {
  put(out, mapped(head(s, n), to_upper));
}

bool match(std::string_view a, std::string_view b) {
  return mapped(trimmed(a), to_lower) == mapped(trimmed(b), to_lower);
}

void translate(std::string_view s0, std::span<char> sout, const int* codes, int n, int nc) {
  // The substitution as a table over all 256 characters; earlier rows win.
  std::array<char, 256> table{};
  std::array<bool, 256> set{};
  for (int j = 0; j < nc; ++j) {
    const auto from = static_cast<unsigned char>(codes[j] & 0xFF);
    if (!set[from]) {
      set[from] = true;
      table[from] = char(static_cast<unsigned char>(codes[nc + j] & 0xFF));
    }
  }
  std::string t = head(s0, n);
  for (char& c : t)
    if (set[static_cast<unsigned char>(c)]) c = table[static_cast<unsigned char>(c)];
  put(sout, t);
}

void replacetext(std::string_view s, std::string_view text, std::string_view rep,
                 std::span<char> sout, int nout) {
  const std::string_view key = trimmed(text), with = trimmed(rep);
  std::string t = head(s, nout);
  if (key.empty()) {
    put(sout, t);
    return;
  }
  const auto replace_at = [&](std::size_t i) {
    t = t.substr(0, i) + std::string(with) + t.substr(i + key.size());
    t = head(t, nout);
  };
  if (with.find(key) != std::string_view::npos) {
    // Searching from the start again would find the inserted text for ever:
    // resume after each replacement instead.
    for (std::size_t i = t.find(key); i != std::string::npos; i = find_from(t, key, i + with.size()))
      replace_at(i);
  } else {
    // Each pass searches from the first character, so a replacement can form
    // a new occurrence with its neighbours.
    for (std::size_t i = t.find(key); i != std::string::npos; i = t.find(key)) replace_at(i);
  }
  put(sout, t);
}

void reduceblanks(std::string_view s, std::span<char> sout, int /*nout*/) {
  const std::string_view t = trimmed(s);
  std::string r;
  r.reserve(t.size());
  for (std::size_t i = 0; i < t.size(); ++i)
    if (!(t[i] == blank && i + 1 < t.size() && t[i + 1] == blank)) r += t[i];
  put(sout, r);
}

void int2aformat(std::span<char> j2s, const int* jrray, std::string_view aw, int jmax, int sout,
                 int n, int m) {
  const std::size_t limit = std::size_t(std::max(sout, 0));
  std::string acc;
  for (int j = 0; j < m; ++j) {
    for (int i = 0; i < n; ++i) {
      acc.resize(trimmed(acc).size());
      acc += integer_field(aw, jrray[std::size_t(j) * std::size_t(n) + std::size_t(i)], jmax);
      if (acc.size() > limit) acc.resize(limit);
    }
  }
  put(j2s, acc);
}

int tally(std::string_view s, std::string_view text, int csflag) {
  std::string key(trimmed(text));
  std::string hay(s);
  if (csflag != 1) {
    hay = mapped(adjustl(s), to_lower);
    key = mapped(key, to_lower);
  }
  if (key.size() > hay.size()) return 0;
  int count = 0;
  for (std::size_t i = 0; i + key.size() <= hay.size(); ++i)
    if (hay.compare(i, key.size(), key) == 0) ++count;
  return count;
}

bool occurs(std::string_view a, std::string_view b) { return tally(a, b, 0) >= 1; }

int clen(std::string_view s) {
  const int last = trimmed_length(s);
  return last > 0 && s[std::size_t(last - 1)] == '\0' ? last - 1 : int(s.size());
}

int clen_trim(std::string_view s) {
  const int last = trimmed_length(s);
  return last > 0 && s[std::size_t(last - 1)] == '\0' ? last - 1 : last;
}

void ctrim(std::span<char> out, std::string_view s, int /*n*/) {
  put(out, s.substr(0, std::size_t(clen_trim(s))));
}

int countitems(std::string_view s0) {
  std::string t(s0.substr(0, std::size_t(clen(s0))));
  std::replace(t.begin(), t.end(), '\t', blank);
  const std::string_view line = trimmed(t);
  if (line.empty()) return 0;
  int count = 1;
  for (std::size_t i = 0; i + 1 < line.size(); ++i) {
    const char c = line[i], next = line[i + 1];
    if (next == ',' || (c != blank && c != ',' && next == blank)) ++count;
  }
  return count;
}

void spack(std::string_view s, std::string_view ex, std::span<char> sout, int /*ns*/, int nx) {
  std::array<bool, 256> keep{};
  for (const char c : head(ex, nx)) keep[static_cast<unsigned char>(c)] = true;
  std::string r;
  for (const char c : s)
    if (keep[static_cast<unsigned char>(c)]) r += c;
  put(sout, r);
}

void copys2a(std::string_view s, std::span<char> ca, int n) { put(ca, head(s, n)); }

void copya2s(std::string_view ca, std::span<char> s, int n) { put(s, head(ca, n)); }

void str2ascii(int* ia, std::string_view ca, int n) {
  for (int i = 0; i < n; ++i) ia[i] = static_cast<unsigned char>(at(ca, i));
}

void int2str(const int& integ, std::span<char> ca, int& istat, int /*n*/) {
  const std::string digits = std::to_string(integ);
  if (digits.size() > ca.size()) {
    std::fill(ca.begin(), ca.end(), '*');
    istat = conversion_failed;
    return;
  }
  put(ca, digits);
  istat = 0;
}

void str2int(std::string_view ca, int& integ, int& istat) {
  const std::size_t first = ca.find_first_not_of(blank);
  if (first == std::string_view::npos) {
    istat = end_of_record;
    return;
  }
  // The item runs to the first blank, comma or slash.
  std::string_view item = ca.substr(first);
  item = item.substr(0, std::min(item.find_first_of(" ,/"), item.size()));
  const bool negative = !item.empty() && item[0] == '-';
  if (!item.empty() && (item[0] == '-' || item[0] == '+')) item.remove_prefix(1);
  std::int64_t magnitude = 0;
  const auto [end, ec] = std::from_chars(item.data(), item.data() + item.size(), magnitude);
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (item.empty() || item[0] == '-' || item[0] == '+' || ec != std::errc() ||
      end != item.data() + item.size() || value < INT32_MIN || value > INT32_MAX) {
    istat = conversion_failed;
    return;
  }
  integ = int(value);
  istat = 0;
}

void inistringwithcharacter(std::span<char> out, std::string_view ch, int /*n*/) {
  std::fill(out.begin(), out.end(), at(ch, 0));
}

}  // namespace tavrin::stringhandling
