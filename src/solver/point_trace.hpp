// Debug lines of a material routine at one integration point: list-directed
// records on standard output, written only when the point belongs to the
// debug element (debugdata::edebug).
#pragma once

#include <string_view>

#include "foundation/list_record.hpp"

namespace tavrin::toplevel {

class PointTrace {
 public:
  explicit PointTrace(bool on) : on_(on) {}
  bool on() const { return on_; }

  // label, then the values (numbers, texts).
  template <class... T>
  void line(std::string_view label, const T&... values) const {
    if (!on_) return;
    io::ListRecord rec;
    rec << label;
    ((rec << values), ...);
    rec.write(6);
  }
  // label, then n reals.
  void values(std::string_view label, const double* x, int n) const {
    if (!on_) return;
    io::ListRecord rec;
    rec << label;
    for (int i = 0; i < n; ++i) rec << x[i];
    rec.write(6);
  }

 private:
  bool on_;
};

}  // namespace tavrin::toplevel
