#include <gtest/gtest.h>

#include <array>
#include <string>

#include "foundation/shared_state.hpp"
#include "solver/resin_material.hpp"

namespace tavrin {
namespace {

// A host's call: the received tangent enters the strain energy, and four
// components leave the rest of the host's arrays alone.
TEST(ResinMaterial, ReceivedTangentAndFourComponents) {
  const int saved_model = materialdata::modelid;
  materialdata::modelid = 1;
  const std::array<double, 9> block{3000.0, 0.35, 0.01, 80.0, 2.0, 0.1, 1.5, 100.0, -0.1};
  std::array<double, 21> props{};
  for (int k = 0; k < 9; ++k) props[std::size_t(k)] = props[std::size_t(k + 10)] = block[std::size_t(k)];
  props[9] = 273.15;
  props[19] = 373.15;
  props[20] = 0.5;
  const std::string name(80, ' ');
  const double time[2] = {0.0, 0.0}, dtime = 1.0, temp = 293.15, zero = 0.0, eye[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
  const double strain[6] = {2e-3, -5e-4, 1e-3, 1.5e-3, 0.0, 0.0}, step[6] = {4e-4, 1e-4, -2e-4, 3e-4, 0.0, 0.0};
  const int nstatv = 22, nprops = 21, noel = 1, one = 1, jstep[4] = {1, 0, 0, 0}, kinc = 2, three = 3;
  double sse = 0.0, spd = 0.0, scd = 0.0, rpl = 0.0, drpldt = 0.0, pnewdt = 1.0, ddsddt[6] = {}, drplde[6] = {};

  for (const int n : {6, 4}) {
    double stress[6] = {}, state[22] = {};
    std::array<double, 40> tangent;
    tangent.fill(-1.0);
    std::array<double, 36> received{};
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) tangent[std::size_t(i + n * j)] = received[std::size_t(i + 6 * j)] = i == j ? 500.0 : 10.0;
    toplevel::umat_resin(stress, state, tangent.data(), &sse, &spd, &scd, &rpl, ddsddt, drplde, &drpldt, strain, step,
                         time, &dtime, &temp, &zero, &zero, &zero, name.data(), &three, &three, &n, &nstatv,
                         props.data(), &nprops, eye, eye, &pnewdt, &dtime, eye, eye, &noel, &one, &one, &one, jstep,
                         &kinc, name.size());
    double expected = 0.0;
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j)
        expected += 0.5 * strain[i] * received[std::size_t(i + 6 * j)] * step[j] +
                    0.5 * (strain[i] + step[i]) * tangent[std::size_t(i + n * j)] * step[j];
    EXPECT_NEAR(state[9], expected, 1e-15 * 4.0) << n;
    for (std::size_t k = std::size_t(n * n); k < tangent.size(); ++k) EXPECT_EQ(tangent[k], -1.0) << n;
    EXPECT_EQ(sse, 0.0);
    EXPECT_EQ(pnewdt, 1.0);
  }
  materialdata::modelid = saved_model;
}

}  // namespace
}  // namespace tavrin
