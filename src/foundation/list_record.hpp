// List-directed records: the free-format lines that debug traces, iteration
// reports and solver-side messages write ("Iteration 3 1.2345678901234567E-2").
//
// A record starts with one blank, items are separated by one blank, reals
// are written with 17 significant digits (enough to read every double back
// exactly), integers in decimal, logicals as T or F, texts as they stand.
// The finished record goes to a numbered output unit (6: standard output).
//
//   io::ListRecord rec;
//   rec << "Iteration " << iter << residual;
//   rec.write(6);
#pragma once

#include <string>
#include <string_view>

#include "foundation/api.hpp"

namespace tavrin::io {

class TAVRIN_API ListRecord {
 public:
  ListRecord& operator<<(std::string_view text);
  ListRecord& operator<<(const char* text) { return *this << std::string_view(text); }
  ListRecord& operator<<(const std::string& text) { return *this << std::string_view(text); }
  ListRecord& operator<<(int value);
  ListRecord& operator<<(long long value);
  ListRecord& operator<<(double value);
  ListRecord& operator<<(bool value);

  // The record as written (without the end of line).
  const std::string& str() const { return line_; }
  // Writes the record to `unit` and starts a new one.
  void write(int unit);

 private:
  void item(std::string_view text);
  std::string line_;
};

// One real as a list-directed item: 17 significant digits, an exponent only
// where the value needs one.
TAVRIN_API std::string list_real(double value);

}  // namespace tavrin::io
