#include "foundation/format_record.hpp"

#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "foundation/record_files.hpp"

namespace tavrin::io {
namespace {

// ---------------------------------------------------------------------------
// Parsing.

// How a descriptor letter reads its width and decimals.
enum class Part { none, optional, required };
struct DescriptorRule {
  char letter;
  Edit kind;
  Part width;     // w
  Part decimals;  // .d (or .m)
};

// The value descriptors.  X, P, / and groups are read by the parser itself
// because they take their number in front.
constexpr std::array descriptor_table{
    DescriptorRule{'I', Edit::integer, Part::required, Part::optional},
    DescriptorRule{'F', Edit::fixed, Part::required, Part::required},
    DescriptorRule{'E', Edit::exponent, Part::required, Part::required},
    DescriptorRule{'D', Edit::exponent, Part::required, Part::required},
    DescriptorRule{'A', Edit::chars, Part::optional, Part::none},
};

const DescriptorRule* find_rule(char letter) {
  for (const auto& rule : descriptor_table)
    if (rule.letter == letter) return &rule;
  return nullptr;
}

class Parser {
 public:
  explicit Parser(std::string_view s) : s_(s) {}

  std::vector<FormatNode> parse() {
    skip();
    if (!take('(')) fail("a format starts with '('");
    auto nodes = list();
    skip();
    if (pos_ != s_.size()) fail("text after the closing ')'");
    return nodes;
  }

 private:
  [[noreturn]] void fail(const char* what) const {
    throw std::invalid_argument("format \"" + std::string(s_) + "\" at " + std::to_string(pos_) +
                                ": " + what);
  }
  void skip() {
    while (pos_ < s_.size() && s_[pos_] == ' ') ++pos_;
  }
  char peek() {
    skip();
    return pos_ < s_.size() ? char(std::toupper(static_cast<unsigned char>(s_[pos_]))) : '\0';
  }
  bool take(char c) {
    if (peek() != c) return false;
    ++pos_;
    return true;
  }
  // An unsigned number, or -1 when none stands here.
  int number() {
    skip();
    if (pos_ >= s_.size() || !std::isdigit(static_cast<unsigned char>(s_[pos_]))) return -1;
    long value = 0;
    while (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_]))) {
      value = value * 10 + (s_[pos_++] - '0');
      if (value > 32767) fail("number too large");
    }
    return int(value);
  }

  // Elements up to the matching ')', which is consumed.
  std::vector<FormatNode> list() {
    std::vector<FormatNode> nodes;
    for (;;) {
      const char c = peek();
      if (c == '\0') fail("missing ')'");
      if (c == ')') {
        ++pos_;
        return nodes;
      }
      if (c == ',') {
        ++pos_;
        continue;
      }
      nodes.push_back(element());
    }
  }

  FormatNode element() {
    FormatNode node;
    const char c = peek();
    if (c == '\'' || c == '"') {
      node.kind = Edit::text;
      node.text = quoted(s_[pos_++]);
      return node;
    }
    const int count = number();
    const char letter = peek();
    if (letter == '\0') fail("format ends inside an element");
    ++pos_;
    switch (letter) {
      case '/':
        node.kind = Edit::slash;
        node.repeat = count < 0 ? 1 : count;
        return node;
      case 'X':
        node.kind = Edit::blanks;
        node.width = count < 0 ? 1 : count;
        return node;
      case 'P':
        if (count < 0) fail("P needs a scale factor in front");
        node.kind = Edit::scale;
        node.width = count;
        return node;
      case 'H': {
        // Hollerith text: the next `count` characters as they stand (1H0,
        // 1H , 1H1, 1H+ are the line-printer control characters).
        if (count < 1) fail("H needs a character count in front");
        if (pos_ + std::size_t(count) > s_.size()) fail("Hollerith text runs past the format");
        node.kind = Edit::text;
        node.text = std::string(s_.substr(pos_, std::size_t(count)));
        pos_ += std::size_t(count);
        return node;
      }
      case 'T': {
        if (count >= 0) fail("T takes its column after the letter");
        node.kind = Edit::tab;
        node.width = plain_number();
        if (node.width < 1) fail("T needs a column of at least 1");
        return node;
      }
      case '(':
        node.kind = Edit::group;
        node.repeat = count < 0 ? 1 : count;
        node.children = list();
        return node;
      default:
        break;
    }
    const DescriptorRule* rule = find_rule(letter);
    if (!rule) fail("unknown edit descriptor");
    node.kind = rule->kind;
    node.letter = letter;
    node.repeat = count < 0 ? 1 : count;
    if (node.repeat < 1) fail("repeat count below 1");
    if (rule->width != Part::none) {
      const int w = plain_number();
      if (w < 0 && rule->width == Part::required) fail("width missing");
      node.width = w < 0 ? 0 : w;
    }
    if (rule->decimals != Part::none) {
      if (pos_ < s_.size() && s_[pos_] == '.') {
        ++pos_;
        node.digits = plain_number();
        if (node.digits < 0) fail("digits missing after '.'");
      } else if (rule->decimals == Part::required) {
        fail("'.d' missing");
      }
    }
    if (node.kind != Edit::chars && node.width < 1) fail("width below 1");
    return node;
  }

  // A number written directly after a letter or point (no blank skipping:
  // "A ,I5" has no width).
  int plain_number() {
    if (pos_ >= s_.size() || !std::isdigit(static_cast<unsigned char>(s_[pos_]))) return -1;
    return number();
  }

  std::string quoted(char quote) {
    std::string text;
    for (;;) {
      if (pos_ >= s_.size()) fail("unterminated text");
      const char c = s_[pos_++];
      if (c == quote) {
        if (pos_ < s_.size() && s_[pos_] == quote) {
          text += quote;
          ++pos_;
          continue;
        }
        return text;
      }
      text += c;
    }
  }

  std::string_view s_;
  std::size_t pos_ = 0;
};

bool has_value_descriptor(const std::vector<FormatNode>& nodes) {
  for (const auto& node : nodes)
    if (node.takes_item() || (node.kind == Edit::group && has_value_descriptor(node.children)))
      return true;
  return false;
}

// ---------------------------------------------------------------------------
// Writing.

std::string asterisks(int width) { return std::string(std::size_t(std::max(width, 0)), '*'); }

std::string right_align(const std::string& field, int width) {
  if (width <= 0) return field;  // minimal width
  if (int(field.size()) > width) return asterisks(width);
  return std::string(std::size_t(width) - field.size(), ' ') + field;
}

// NaN and infinities, in the longest spelling that fits.
std::string edit_special(double value, int width) {
  if (std::isnan(value)) return right_align("NaN", width);
  const std::string sign = value < 0 ? "-" : "";
  const std::string full = sign + "Infinity";
  if (width <= 0 || int(full.size()) <= width) return right_align(full, width);
  return right_align(sign + "Inf", width);
}

class Writer {
 public:
  Writer(const Format& format, std::span<const FormatItem> items) : format_(format), items_(items) {}

  std::vector<std::string> run() {
    const auto& nodes = format_.nodes();
    run_list(nodes);
    if (!stopped_ && has_value_descriptor(nodes)) {
      // Reversion: the last top-level group (with its count), or the whole
      // format, for the items left over, each pass on a new record.
      const int g = format_.reversion_group();
      const std::span<const FormatNode> again =
          g < 0 ? std::span<const FormatNode>(nodes) : std::span<const FormatNode>(&nodes[std::size_t(g)], 1);
      while (!stopped_ && next_ < items_.size()) {
        const std::size_t before = next_;
        end_record();
        run_list(again);
        if (next_ == before) break;
      }
    }
    end_record();
    return std::move(records_);
  }

 private:
  void end_record() {
    records_.push_back(std::move(record_));
    record_.clear();
    column_ = 0;
  }

  void run_list(std::span<const FormatNode> nodes) {
    for (const auto& node : nodes) {
      for (int r = 0; r < node.repeat && !stopped_; ++r) run_node(node);
      if (stopped_) return;
    }
  }

  void run_node(const FormatNode& node) {
    switch (node.kind) {
      case Edit::text: put(node.text); return;
      case Edit::blanks: put(std::string(std::size_t(node.width), ' ')); return;
      case Edit::tab: column_ = std::size_t(node.width - 1); return;
      case Edit::slash: end_record(); return;
      case Edit::scale: scale_ = node.width; return;
      case Edit::group: run_list(node.children); return;
      default: break;
    }
    if (next_ >= items_.size()) {
      stopped_ = true;
      return;
    }
    put(edit_item(node, items_[next_++]));
  }

  // Writes at the current column (a tab may have moved it back, so the text
  // overwrites what stands there, or forward, filling with blanks).
  void put(const std::string& field) {
    if (record_.size() < column_) record_.resize(column_, ' ');
    record_.replace(column_, std::min(field.size(), record_.size() - column_), field);
    column_ += field.size();
  }

  std::string edit_item(const FormatNode& node, const FormatItem& item) const {
    const auto& v = item.value;
    switch (node.kind) {
      case Edit::integer:
        if (const auto* i = std::get_if<long long>(&v)) return edit_integer(*i, node.width, node.digits);
        break;
      case Edit::fixed:
        if (const auto* x = std::get_if<double>(&v)) return edit_fixed(*x, node.width, node.digits, scale_);
        break;
      case Edit::exponent:
        if (const auto* x = std::get_if<double>(&v))
          return edit_exponent(*x, node.width, node.digits, scale_, node.letter);
        break;
      case Edit::chars:
        if (const auto* t = std::get_if<std::string_view>(&v)) return edit_text(*t, node.width);
        break;
      default: break;
    }
    // An item of the wrong kind for its descriptor: a visibly spoilt field.
    return asterisks(node.width > 0 ? node.width : 1);
  }

  const Format& format_;
  std::span<const FormatItem> items_;
  std::size_t next_ = 0;
  int scale_ = 0;
  bool stopped_ = false;
  std::string record_;
  std::size_t column_ = 0;
  std::vector<std::string> records_;
};

}  // namespace

Format::Format(std::string_view literal) : nodes_(Parser(literal).parse()) {
  for (std::size_t i = 0; i < nodes_.size(); ++i)
    if (nodes_[i].kind == Edit::group) reversion_ = int(i);
}

std::vector<std::string> format_records(const Format& format, std::span<const FormatItem> items) {
  return Writer(format, items).run();
}

void write_formatted(int unit, const Format& format, std::span<const FormatItem> items) {
  for (const auto& record : format_records(format, items)) io::write_record(unit, record);
}

std::string edit_integer(long long value, int width, int min_digits) {
  const unsigned long long magnitude =
      value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  std::string digits = (min_digits == 0 && value == 0) ? std::string() : std::to_string(magnitude);
  if (min_digits > 0 && int(digits.size()) < min_digits)
    digits.insert(0, std::size_t(min_digits) - digits.size(), '0');
  return right_align((value < 0 ? "-" : "") + digits, width);
}

std::string edit_fixed(double value, int width, int decimals, int scale) {
  if (!std::isfinite(value)) return edit_special(value, width);
  // Digits of |value| * 10^scale rounded to `decimals` places: the value
  // rounded to decimals + scale places, its point moved right.
  const int places = decimals + scale;
  std::string all(std::size_t(std::snprintf(nullptr, 0, "%.*f", places, std::abs(value))), '\0');
  std::snprintf(all.data(), all.size() + 1, "%.*f", places, std::abs(value));
  const auto point = all.find('.');
  std::string whole = all.substr(0, point);
  std::string fraction = point == std::string::npos ? std::string() : all.substr(point + 1);
  whole += fraction.substr(0, std::size_t(scale));
  fraction.erase(0, std::size_t(scale));
  whole.erase(0, whole.find_first_not_of('0'));  // "" when the whole part is 0
  const std::string sign = value < 0 ? "-" : "";  // -0 unsigned
  const std::string tail = "." + fraction;
  if (!whole.empty()) return right_align(sign + whole + tail, width);
  // |x| < 1: the leading 0 where there is room for it (always with d = 0).
  const std::string with_zero = sign + "0" + tail;
  if (width <= 0 || int(with_zero.size()) <= width || decimals == 0) return right_align(with_zero, width);
  return right_align(sign + tail, width);
}

std::string edit_exponent(double value, int width, int decimals, int scale, char letter) {
  if (!std::isfinite(value)) return edit_special(value, width);
  // kP: k digits before the point and d - k + 1 after (0P: "0." and d).
  const int significant = scale > 0 ? decimals + 1 : decimals;
  if (scale < 0 || scale > decimals + 1 || significant < 1) return asterisks(width);
  std::string digits;
  int exponent = 0;
  if (value == 0) {
    digits.assign(std::size_t(significant), '0');
  } else {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", significant - 1, std::abs(value));
    const std::string s = buf;
    const auto e = s.find('e');
    for (std::size_t i = 0; i < e; ++i)
      if (s[i] != '.') digits += s[i];
    exponent = std::stoi(s.substr(e + 1)) + 1 - scale;
  }
  std::string mantissa;
  if (scale > 0) mantissa = digits.substr(0, std::size_t(scale)) + "." + digits.substr(std::size_t(scale));
  else mantissa = "." + digits;
  const int magnitude = std::abs(exponent);
  std::string exp_field;
  if (magnitude <= 99) exp_field = std::string(1, letter) + (exponent < 0 ? "-" : "+") + edit_integer(magnitude, 2, 2);
  else if (magnitude <= 999) exp_field = (exponent < 0 ? "-" : "+") + std::to_string(magnitude);
  else return asterisks(width);
  const std::string sign = value < 0 ? "-" : "";
  if (scale == 0) {
    const std::string with_zero = sign + "0" + mantissa + exp_field;
    if (width <= 0 || int(with_zero.size()) <= width) return right_align(with_zero, width);
  }
  return right_align(sign + mantissa + exp_field, width);
}

std::string edit_text(std::string_view value, int width) {
  if (width <= 0) return std::string(value);
  if (int(value.size()) >= width) return std::string(value.substr(0, std::size_t(width)));
  return std::string(std::size_t(width) - value.size(), ' ') + std::string(value);
}

}  // namespace tavrin::io
