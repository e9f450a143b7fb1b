#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "solver/sensor.hpp"
#include "solver_support.hpp"

namespace tavrin {
namespace {

using testing::UmatCall;

// Calls of the entries without jstep, with the sensor's step kind and records.
struct SensorCall : UmatCall {
  int stepid = 2;
  std::array<double, 20> cprops{};
  std::array<double, 12> dprops{};
  using UmatCall::UmatCall;
  void sensor() {
    umat_sensor(stress.data(), statev.data(), ddsdde.data(), &sse, &spd, &scd, &rpl, ddsddt.data(), drplde.data(),
                &drpldt, stran.data(), dstran.data(), time.data(), &dtime, &temp, &dtemp, &predef, &dpred,
                name.data(), &ndi, &nshr, &ntens, &nstatv, props.data(), &nprops, coords.data(), eye.data(),
                &pnewdt, &celent, eye.data(), eye.data(), &noel, &npt, &kslay, &kspt, &kinc, &stepid,
                cprops.data(), dprops.data(), name.size());
  }
  void porosity() {
    umat_porosity(stress.data(), statev.data(), ddsdde.data(), &sse, &spd, &scd, &rpl, ddsddt.data(),
                  drplde.data(), &drpldt, stran.data(), dstran.data(), time.data(), &dtime, &temp, &dtemp, &predef,
                  &dpred, name.data(), &ndi, &nshr, &ntens, &nstatv, props.data(), &nprops, coords.data(),
                  eye.data(), &pnewdt, &celent, eye.data(), eye.data(), &noel, &npt, &kslay, &kspt, &kinc,
                  name.size());
  }
};

class SmallRoutines : public ::testing::Test {
 protected:
  void SetUp() override { testing::clear_latch(); }
};

TEST_F(SmallRoutines, SensorShowsTheImpactor) {
  SensorCall s({0.0});
  for (int k = 0; k < 6; ++k) s.cprops[std::size_t(k)] = k + 1.0;
  s.statev.assign(8, 9.0);
  s.dstran = {1.0, 0, 0, 1.0, 0, 1.0};
  s.sse = 1.0;
  s.sensor();
  const double lambda = 1.6442953020134214e-19, g = 3.355704697986577e-21;
  EXPECT_NEAR(s.d(1, 2), lambda, 1e-14 * lambda);
  EXPECT_NEAR(s.d(1, 1), 1.711409395973153e-19, 1e-14 * lambda);
  EXPECT_NEAR(s.d(4, 4), g, 1e-14 * g);
  EXPECT_EQ(s.d(1, 4), 0.0);
  EXPECT_NEAR(s.stress[1], lambda, 1e-14 * lambda);
  EXPECT_NEAR(s.stress[3], g, 1e-14 * g);
  EXPECT_NEAR(s.stress[5], g, 1e-14 * g);
  EXPECT_NEAR(s.d(6, 6), g, 1e-14 * g);
  EXPECT_NEAR(s.sse, 1.0 + 0.5 * (s.stress[0] + s.stress[3] + s.stress[5]), 1e-30);
  EXPECT_EQ(s.statev, (std::vector<double>{4, 5, 6, 0, 0, 0, 0, 0}));
  EXPECT_EQ(s.dprops, (std::array<double, 12>{}));  // one property: the record is untouched
  EXPECT_EQ(s.pnewdt, 0.5);

  s.stepid = 3;
  s.props = {2.5, 3.5};
  s.nprops = 2;
  s.dprops[0] = 1.0;
  s.dprops[9] = 7.0;
  s.sensor();
  EXPECT_EQ(s.statev, (std::vector<double>{4, 5, 6, 1, 2, 3, 0, 0}));
  EXPECT_EQ(s.dprops[0], -1.0);
  EXPECT_EQ(s.dprops[7], 2.5);
  EXPECT_EQ(s.dprops[8], 3.5);
  EXPECT_EQ(s.dprops[9], 0.0);
  s.dprops[0] = 0.5;
  s.sensor();
  EXPECT_EQ(s.dprops[0], 0.5);
  EXPECT_EQ(errorhandling::errstat, 0);

  SensorCall two({0.0}, 6, 2);
  two.cprops[3] = 4.0;
  two.sensor();
  EXPECT_EQ(two.statev, (std::vector<double>{4, 0}));
  EXPECT_EQ(errorhandling::errstat, -2);
}

TEST_F(SmallRoutines, ExplicitSensorReplacesTheThicknessStrain) {
  int nblock = 2, ndir = 3, nshr = 1, nstatev = 3, nfieldv = 1, nprops = 1, lanneal = 0, stepid = 3;
  double time = 0.0, props = 0.0;
  std::vector<double> density{1.0, 1.0}, straininc{1.0, 0.0, 1.0, 0.0, 5.0, 5.0, 0.0, 0.0}, stressold(8),
      stressnew(8), statenew(6), ener(2), inelas(2, 9.0), any(64);
  std::array<double, 20> cprops{1, 2, 3, 4, 5, 6};
  std::array<double, 12> dprops{};
  vumat_sensor(&nblock, &ndir, &nshr, &nstatev, &nfieldv, &nprops, &lanneal, &time, &time, &time, "S", any.data(),
               any.data(), &props, density.data(), straininc.data(), any.data(), any.data(), any.data(), any.data(),
               any.data(), stressold.data(), any.data(), ener.data(), any.data(), any.data(), any.data(),
               any.data(), any.data(), stressnew.data(), statenew.data(), ener.data(), inelas.data(), &stepid,
               cprops.data(), dprops.data(), 1);
  const double lambda = 1.6442953020134214e-19, g = 3.355704697986577e-21;
  const double ds11 = 2 * g + 7 * lambda;  // Δε = (1, 1, 5, 0) of point 1; Δσ22 the same
  EXPECT_NEAR(straininc[4], -0.49 / 1e-20 * 2 * ds11, 1e-12);
  EXPECT_NEAR(stressnew[0], ds11, 1e-32);
  EXPECT_NEAR(stressnew[4], 7 * lambda + 10 * g, 1e-32);  // σ33 of point 1
  EXPECT_EQ(statenew, (std::vector<double>{4, 4, 5, 5, 6, 6}));
  // W = ½ (σ + σ0)·Δε per unit mass, with the replaced thickness increment.
  EXPECT_NEAR(ener[0], 0.5 * (stressnew[0] + stressnew[2] + stressnew[4] * straininc[4]), 1e-30);
  EXPECT_EQ(inelas, (std::vector<double>{0, 0}));
}

TEST_F(SmallRoutines, PoresHaveAThousandthOfTheStiffness) {
  SensorCall p({1000.0, 0.25}, 6, 1);
  p.dstran = {0.001, 0, 0, 0, 0, 0};
  p.statev[0] = 0.999;
  p.stress = {1, 1, 1, 1, 1, 1};
  p.sse = 5.0;
  p.porosity();
  EXPECT_NEAR(p.d(1, 1), 1200.0, 1e-12);
  EXPECT_NEAR(p.stress[0], 2.2, 1e-14);  // incremental
  EXPECT_EQ(p.sse, 0.0);
  EXPECT_EQ(p.spd, 0.0);
  const std::vector<double> full = p.ddsdde;
  p.statev[0] = 1.0;
  p.porosity();
  for (std::size_t k = 0; k < 36; ++k) EXPECT_EQ(p.ddsdde[k], 0.0010000000474974513 * full[k]);
  EXPECT_EQ(p.statev[0], 1.0);
  SensorCall none({1000.0, 0.25}, 6, 0);
  none.porosity();
  EXPECT_NEAR(none.d(1, 1), 1200.0, 1e-12);
}

TEST_F(SmallRoutines, HyperelasticStiffnessFromEveryPropertyForm) {
  // 21 values: the upper triangle column by column; the tangent is C.
  std::vector<double> tri(21);
  for (int k = 0; k < 21; ++k) tri[std::size_t(k)] = k + 1.0;
  UmatCall h(tri);
  h.dstran = {1e-3, 2e-3, 0, 0, 1e-3, 0};
  h.run(umat_hyper);
  EXPECT_EQ(h.d(1, 1), 1.0);
  EXPECT_EQ(h.d(1, 2), 2.0);
  EXPECT_EQ(h.d(2, 1), 2.0);
  EXPECT_EQ(h.d(3, 2), 5.0);
  EXPECT_EQ(h.d(6, 6), 21.0);
  EXPECT_EQ(h.stress[0], 1e-3 + 2 * 2e-3 + 11 * 1e-3);
  EXPECT_EQ(std::vector<double>(h.statev.begin(), h.statev.begin() + 6), h.stress);

  // An incoming stress that C·Δε does not reproduce: the complex step gives C.
  UmatCall k({1000.0, 0.25});
  k.dstran = {1e-3, 0, 0, 2e-3, 0, 0};
  k.stress = {3, 1, 4, 1, 5, 9};
  k.run(umat_hyper);
  EXPECT_NEAR(k.d(1, 1), 1200.0, 1e-12);
  EXPECT_NEAR(k.d(4, 4), 400.0, 1e-12);
  EXPECT_NEAR(k.d(1, 4), 0.0, 1e-12);
  EXPECT_NEAR(k.sse, 0.5 * (1.2 * 1e-3 + 0.8 * 2e-3), 1e-18);
  EXPECT_EQ(errorhandling::errstat, 0);

  // Six values go to the ply constants, which refuse them; ten cannot fill
  // a 6×6 triangle; three state variables hold only the direct stresses.
  for (const int n : {6, 10}) {
    testing::clear_latch();
    UmatCall bad(std::vector<double>(std::size_t(n), 1.0));
    bad.dstran[0] = 1.0;
    bad.run(umat_hyper);
    EXPECT_EQ(errorhandling::errstat, -2) << n;
    EXPECT_EQ(bad.stress[0], 0.0) << n;
    EXPECT_EQ(bad.d(1, 1), 0.0) << n;
  }
  testing::clear_latch();
  UmatCall short_state({1000.0, 0.25}, 6, 3);
  short_state.dstran[0] = 1e-3;
  short_state.run(umat_hyper);
  EXPECT_NEAR(short_state.statev[1], 0.4, 1e-14);
  EXPECT_EQ(errorhandling::errstat, -2);
  EXPECT_EQ(testing::latched_message(), "Too few state variables for the material routine.");
}

}  // namespace
}  // namespace tavrin
