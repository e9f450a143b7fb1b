// Test support for the paths that end the process: the halt handler throws
// Halted instead, standard output is captured, and the error facility starts
// each test from its state at process start.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/halt.hpp"
#include "pchip/xerror.hpp"

namespace tavrin::testing_support {

struct Halted {
  int status;
};

// What a call printed on standard output, and the exit status it ended with
// (-1: it returned).
struct Outcome {
  std::string out;
  int status = -1;
  std::vector<std::string> lines() const {
    std::vector<std::string> result;
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
  ::testing::internal::GetCapturedStderr();
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

}  // namespace tavrin::testing_support
