// Formatted records: the report lines that the Hermite package's quick
// checks, its time stamp and the box-beam report write, each given by a
// format in edit-descriptor notation and a list of items.
//
//   static const io::Format line("(5X,I5,F10.2,1P,2D15.5,2X,A)");   // parsed once
//   io::write_formatted(unit, line, {i, x, d, err, "  OK  "});
//
// Notation (letters in either case, blanks outside quotes ignored, commas
// between descriptors optional where nothing is ambiguous):
//
//   'text' "text"  written as it stands ('' inside is one quote)
//   nX             n blanks
//   Tn             next character at column n (the first character of the
//                  record, a control character included, is column 1);
//                  moving back overwrites
//   nHtext         the next n characters of the format as they stand; 1H0,
//                  1H , 1H1 and 1H+ write the line-printer control characters
//   /              ends the record: a leading / first writes an empty record
//   Iw  Iw.m       integer right-aligned in w columns, at least m digits
//   Fw.d           real in fixed point, d decimals; the 0 before the point
//                  is written for |x| < 1 when the field has room for it
//   Ew.d  Dw.d     real in exponent form: under kP, k digits before the
//                  point (0P: "0." and d digits), exponent letter E or D with
//                  sign and two digits, or sign and three digits without the
//                  letter beyond 99 in magnitude
//   kP             scale factor k >= 0 for the E, D (and F) descriptors that
//                  follow in the same write; a write starts at 0P
//   A  Aw          text item at its own length, or in w columns (its first w
//                  characters, or right-aligned)
//   n(...)  nD...  a count repeats a descriptor or a group
//
// A value that does not fit its field fills it with asterisks; negative zero
// is written unsigned; NaN and infinities as "NaN", "Inf" / "Infinity".
// Writing stops at the first value descriptor for which no item is left
// (text and blanks after it are not written).  When the format ends with
// items left, a new record starts and the format reverts to its last
// top-level group with that group's count (to the whole format when it has
// no group).  Each write starts a new record; the end of the format ends the
// last one.
//
// The parser is a table of descriptor letters (`descriptor_table`), so a new
// edit descriptor is a row there and a case in the writer.
#pragma once

#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "foundation/api.hpp"

namespace tavrin::io {

// One item of an output list: an integer, a real or a text.
struct FormatItem {
  std::variant<long long, double, std::string_view> value;
  FormatItem(int v) : value(static_cast<long long>(v)) {}
  FormatItem(long long v) : value(v) {}
  FormatItem(double v) : value(v) {}
  FormatItem(float v) : value(static_cast<double>(v)) {}
  FormatItem(std::string_view v) : value(v) {}
  FormatItem(const char* v) : value(std::string_view(v)) {}
  FormatItem(const std::string& v) : value(std::string_view(v)) {}
};

// Kinds of format element.
enum class Edit {
  text,      // quoted text
  blanks,    // nX
  tab,       // Tn (column in `width`)
  slash,     // /
  scale,     // kP
  integer,   // Iw, Iw.m
  fixed,     // Fw.d
  exponent,  // Ew.d, Dw.d (letter kept in `letter`)
  chars,     // A, Aw
  group,     // n( ... )
};

// One parsed element; a group holds its elements.
struct FormatNode {
  Edit kind = Edit::text;
  int repeat = 1;      // count in front (groups and value descriptors)
  int width = 0;       // w (A: 0 means the item's own length); nX: n; kP: k
  int digits = -1;     // d of F/E/D, m of Iw.m (-1: not given)
  char letter = 0;     // the descriptor letter as written, upper case
  std::string text;    // quoted text
  std::vector<FormatNode> children;  // a group's elements
  bool takes_item() const { return kind >= Edit::integer && kind <= Edit::chars; }
};

// A parsed format.  Construction throws std::invalid_argument on a malformed
// literal (formats are the library's own constants).
class TAVRIN_API Format {
 public:
  explicit Format(std::string_view literal);
  const std::vector<FormatNode>& nodes() const { return nodes_; }
  // Index in nodes() of the group that reversion goes back to (-1: none).
  int reversion_group() const { return reversion_; }

 private:
  std::vector<FormatNode> nodes_;
  int reversion_ = -1;
};

// The records that one write of `items` under `format` produces.
TAVRIN_API std::vector<std::string> format_records(const Format& format,
                                                   std::span<const FormatItem> items);
inline std::vector<std::string> format_records(const Format& format,
                                               std::initializer_list<FormatItem> items) {
  return format_records(format, std::span<const FormatItem>(items.begin(), items.size()));
}

// One write: the records go to the numbered output unit (6: standard output).
TAVRIN_API void write_formatted(int unit, const Format& format, std::span<const FormatItem> items);
inline void write_formatted(int unit, const Format& format, std::initializer_list<FormatItem> items) {
  write_formatted(unit, format, std::span<const FormatItem>(items.begin(), items.size()));
}

// The single fields, as the descriptors write them.
TAVRIN_API std::string edit_integer(long long value, int width, int min_digits = -1);
TAVRIN_API std::string edit_fixed(double value, int width, int decimals, int scale = 0);
TAVRIN_API std::string edit_exponent(double value, int width, int decimals, int scale = 0,
                                     char letter = 'E');
TAVRIN_API std::string edit_text(std::string_view value, int width = 0);

}  // namespace tavrin::io
