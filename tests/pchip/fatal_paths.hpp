// Test support for the Hermite package and the paths that end the process:
// curves (abscissas, values, derivatives) and calls of the derivative setter
// and the evaluators on them; the halt handler throws Halted instead, standard
// output is captured, and the error facility starts each test from its state
// at process start.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/halt.hpp"
#include "pchip/dpchip.hpp"
#include "pchip/xerror.hpp"

namespace tavrin::testing_support {

using Lines = std::vector<std::string>;
using Vector = std::vector<double>;

struct Halted { int status; };

// What a call printed on standard output and standard error, and the exit
// status it ended with (-1: it returned).
struct Outcome {
  std::string out, err;
  int status = -1;
  Lines lines() const {
    Lines result;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
  }
};

inline Outcome run_captured(const std::function<void()>& call) {
  Outcome o;
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  try {
    call();
  } catch (const Halted& h) {
    o.status = h.status;
  }
  o.out = ::testing::internal::GetCapturedStdout();
  o.err = ::testing::internal::GetCapturedStderr();
  return o;
}

// Fixture: halts throw, the facility is reset before and after each test.
class FatalPaths : public ::testing::Test {
 protected:
  void SetUp() override {
    pchip::reset_error_facility();
    previous_ = set_halt_handler([](int status) { throw Halted{status}; });
  }
  void TearDown() override {
    set_halt_handler(previous_);
    pchip::reset_error_facility();
  }
  // Level 1 reports return silently from here on (control setting 0).
  static void errors_return_silently() { pchip::j4save(2, 0, true); }

 private:
  HaltHandler previous_ = nullptr;
};

struct Curve {
  Vector x, f, d;
  int ierr = 0;  // status of the call that set d
  int n() const { return int(x.size()); }
};

// The curve through (x, f) with monotone derivatives (-99 where not set).
inline Curve monotone(const Vector& x, const Vector& f) {
  const int n = int(x.size()), incfd = 1;
  Curve c{x, f, Vector(x.size(), -99.0), -99};
  dpchim(&n, x.data(), f.data(), c.d.data(), &incfd, &c.ierr);
  return c;
}

struct Evaluation { Vector fe, de; int ierr = -99; };

// The curve at xe (-7 where not set): values (pchfe), values and slopes
// (Slopes: pchfd), or both from the easy evaluator (Easy: pchev).
enum Evaluator { Values, Slopes, Easy };
inline Evaluation evaluate(const Curve& c, const Vector& xe, Evaluator how = Values, int skip = 0) {
  Evaluation e{Vector(xe.size(), -7.0), Vector(xe.size(), -7.0)};
  const int n = c.n(), incfd = 1, ne = int(xe.size());
  const double *x = c.x.data(), *f = c.f.data(), *d = c.d.data();
  if (how == Values) dpchfe(&n, x, f, d, &incfd, &skip, &ne, xe.data(), e.fe.data(), &e.ierr);
  if (how == Slopes) dpchfd(&n, x, f, d, &incfd, &skip, &ne, xe.data(), e.fe.data(), e.de.data(), &e.ierr);
  if (how == Easy) dpchev(&n, x, f, d, &ne, xe.data(), e.fe.data(), e.de.data(), &e.ierr);
  return e;
}

}  // namespace tavrin::testing_support
