// Shared pieces of the solver-coupling tests: one Abaqus/Standard UMAT call
// with every argument a host passes, the latch, and the shared tables the
// routines read.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "foundation/errorhandling.hpp"
#include "foundation/shared_state.hpp"
#include "foundation/small_matrix.hpp"
#include "solver/wrapper.hpp"

namespace tavrin::testing {

inline void clear_latch() {
  int reset = 0;
  errorhandling::rsxerr(reset, 1);
}

inline std::string latched_message() {
  return std::string(errorhandling::errstring.trimmed());
}

// The arguments of one UMAT call: ntens components, nstatv state
// variables, the properties given.
struct UmatCall {
  int ndi = 3, nshr = 3, ntens = 6, nstatv, nprops, noel = 1, npt = 1, kslay = 1, kspt = 1, kinc = 1;
  std::array<int, 4> jstep{1, 1, 0, 0};
  std::vector<double> stress, statev, ddsdde, stran, dstran, props;
  std::array<double, 6> ddsddt{}, drplde{};
  std::array<double, 2> time{0.0, 0.0};
  std::array<double, 9> eye{1, 0, 0, 0, 1, 0, 0, 0, 1};
  std::array<double, 3> coords{};
  double sse = 0.0, spd = 3.0, scd = 3.0, rpl = 0.0, drpldt = 0.0, dtime = 0.1, temp = 0.0, dtemp = 0.0;
  double predef = 0.0, dpred = 0.0, pnewdt = 0.5, celent = 1.0;
  std::string name = "PLY";

  UmatCall(std::vector<double> p, int ntens_ = 6, int nstatv_ = 8)
      : ntens(ntens_), nstatv(nstatv_), nprops(int(p.size())), stress(std::size_t(ntens_)),
        statev(std::size_t(nstatv_)), ddsdde(std::size_t(ntens_ * ntens_), 7.0), stran(std::size_t(ntens_)),
        dstran(std::size_t(ntens_)), props(std::move(p)) {
    ndi = ntens == 3 ? 2 : 3;
    nshr = ntens - ndi;
  }
  void run(wrapper::UmatFn f) {
    f(stress.data(), statev.data(), ddsdde.data(), &sse, &spd, &scd, &rpl, ddsddt.data(), drplde.data(),
      &drpldt, stran.data(), dstran.data(), time.data(), &dtime, &temp, &dtemp, &predef, &dpred,
      name.data(), &ndi, &nshr, &ntens, &nstatv, props.data(), &nprops, coords.data(), eye.data(), &pnewdt,
      &celent, eye.data(), eye.data(), &noel, &npt, &kslay, &kspt, jstep.data(), &kinc, name.size());
  }
  double d(int i, int j) const { return ddsdde[std::size_t((i - 1) + ntens * (j - 1))]; }
};

// Step kinds of an analysis whose steps have the kinds given.
inline void set_step_kinds(std::initializer_list<int> kinds) {
  jobdata::nsteps = int(kinds.size());
  jobdata::stepid.allocate(jobdata::nsteps);
  int k = 1;
  for (int kind : kinds) jobdata::stepid(k++) = kind;
}

}  // namespace tavrin::testing
