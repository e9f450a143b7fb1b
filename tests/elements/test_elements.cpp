// The element routines from C++: the shape-function tables at compile time,
// and the C++ interface of the load routines (texts of any length, no
// impactors, elements the tables do not know).
#include <array>
#include <string>

#include "elements/element_registry.hpp"
#include "elements/frames.hpp"
#include "elements/layouts.hpp"
#include "elements/shape_functions.hpp"
#include "elements/shell_kinematics.hpp"
#include "elements/surface_loads.hpp"
#include "foundation/numerics_support.hpp"
#include "foundation/shared_state.hpp"

namespace tavrin {
namespace {

using namespace elements;

// N_i at node j is δij for every family: checked by the compiler.
template <class F>
constexpr bool kronecker() {
  for (int i = 1; i <= F::nodes; ++i)
    for (int j = 1; j <= F::nodes; ++j) {
      double v = 0.0;
      if constexpr (requires { F::zeta; })
        v = F::n(i, F::xi[j - 1], F::eta[j - 1], F::zeta[j - 1]);
      else if constexpr (requires { F::eta; })
        v = F::n(i, F::xi[j - 1], F::eta[j - 1]);
      else
        v = F::n(i, F::xi[j - 1]);
      if (v != (i == j ? 1.0 : 0.0)) return false;
    }
  return true;
}
static_assert(kronecker<Truss3>() && kronecker<Tria6>() && kronecker<Quad4>() && kronecker<Quad8>() &&
              kronecker<Hex8>());
static_assert(Tria6::d2n(4, 1, 2) == -4.0 && Tria6::d2n(6, 2, 2) == -8.0);
static_assert(Hex8::d2n(7, 2, 3, 0.5, 0.0, 0.0) == 0.125 * 1.5);

class Loads : public testing::LatchTest {
 protected:
  void TearDown() override {
    elementdata::elemlist.deallocate();
    elementdata::elemkind.deallocate();
    jobdata::stepid.deallocate();
    LatchTest::TearDown();
  }
};

TEST_F(Loads, ConcentratedForceReadsTextsOfAnyLength) {
  double f = 0.0, flag = 0.0;
  sldcollection::cload(f, flag, 2.0, "POINT");
  EXPECT_EQ(flag, 1.0);
  EXPECT_DOUBLE_EQ(f, 2.0 / 2.5e-07);
  flag = 0.0;
  sldcollection::cload(f, flag, 2.0, std::string(200, ' ') + "SYM4 POINT");
  EXPECT_DOUBLE_EQ(f, 0.5 / 2.5e-07);
  flag = 0.0;
  sldcollection::cload(f, flag, 2.0, "");
  EXPECT_EQ(f, 0.0);
  EXPECT_EQ(take(), latch(-2, "Warning: No valid load state detected in %S"));
}

TEST_F(Loads, ElementSetNumbersAtTheEndsOfTheName) {
  std::array<double, 40> cprops{};
  cprops[0] = 10.0, cprops[17] = 1.0;   // impactor 1: 10 over 2
  cprops[20] = 30.0, cprops[37] = 1.5;  // impactor 2: 30 over 3
  const double dircos[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}, time[2] = {}, coords[3] = {};
  double t[3] = {5, 5, 5}, alpha = -1.0;
  const auto load = [&](std::string_view name) {
    sldcollection::deload(alpha, t, 1, 1, time, 1, 1, coords, dircos, 0, name, cprops.data(), nullptr, 2);
    return alpha;
  };
  EXPECT_DOUBLE_EQ(load("1"), 5.0);
  EXPECT_DOUBLE_EQ(load("SET2"), 10.0);
  EXPECT_DOUBLE_EQ(load("2SET-1"), 15.0);
  EXPECT_DOUBLE_EQ(load("21"), 0.0);
  EXPECT_EQ(t[0], 0.0);
  EXPECT_EQ(t[2], -1.0);
  EXPECT_EQ(status(), 0);
}

TEST_F(Loads, PressureWithoutImpactorsOrKnownElement) {
  jobdata::stepid.allocate(1);
  jobdata::stepid.data()[0] = 3;
  elementdata::elemlist.allocate(1);
  elementdata::elemkind.allocate(1);
  elementdata::elemlist.data()[0] = 4;
  elementdata::elemkind.data()[0] = 11;
  const double dircos[9] = {0, 1, 0, 0, 0, 1, 1, 0, 0}, coords[3] = {0.5, 0.25, 0.0};
  double t[3] = {}, alpha = 1.0;
  sldcollection::dsload(alpha, t, 1, coords, dircos, nullptr, nullptr, 0, 4);
  EXPECT_EQ(alpha, 0.0);
  EXPECT_EQ(t[0], -1.0);
  // A uniform load on an element the tables do not hold keeps its sign.
  std::array<double, 20> cprops{};
  cprops[0] = 8.0;
  std::array<double, 12> dprops{2.0, 0.0, 0.0, 0.0, 99.0, 0.01, 4.0, 1.0, 1.0, 1.0, 1.0, 0.0};
  sldcollection::dsload(alpha, t, 1, coords, dircos, cprops.data(), dprops.data(), 1, 5);
  EXPECT_DOUBLE_EQ(alpha, 0.25 * 8.0 / 4.0);
  sldcollection::dsload(alpha, t, 1, coords, dircos, cprops.data(), dprops.data(), 1, 4);
  EXPECT_DOUBLE_EQ(alpha, -0.25 * 8.0 / 4.0);
}

// Nothing is written past an output's extent: a sentinel behind each stays.
TEST_F(Loads, OutputsStayWithinTheirExtents) {
  constexpr double sentinel = 1e-12;  // small enough to be zeroed as a direction
  std::array<double, 37> tangent{}, c{};
  std::array<double, 7> stress{}, s{};
  tangent.back() = stress.back() = sentinel;
  for (std::size_t i = 0; i < 36; ++i) c[i] = double(i);
  GetHexOutputFrom3D(stress.data(), tangent.data(), s.data(), c.data());
  EXPECT_EQ(tangent.back(), sentinel);
  EXPECT_EQ(stress.back(), sentinel);
  EXPECT_EQ(tangent[35], 35.0);

  const double dircos[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}, time[2] = {}, coords[3] = {};
  double t[4] = {1.0, 1.0, 1.0, sentinel}, alpha = 0.0;
  sldcollection::deload(alpha, t, 1, 1, time, 1, 1, coords, dircos, 0, "SET", nullptr, nullptr, 0);
  EXPECT_EQ(t[3], sentinel);
  sldcollection::dsload(alpha, t, 1, coords, dircos, nullptr, nullptr, 0, 0);
  EXPECT_EQ(t[3], sentinel);

  // No degree of freedom per node: nothing is read from the motion.
  std::array<double, 40> u{};
  const std::array<double, 8> motion{1, 2, 3, 4, 5, 6, 7, 8};
  const int nodes = 8, none = 0;
  GetDisplacementVector(u.data(), motion.data(), &nodes, &none);
  EXPECT_EQ(u, (std::array<double, 40>{}));
}

// A C caller's patch array is cleared where no node coincides, and the
// default tolerance applies when none is given.
TEST(Patch, UnmatchedPointsClearedAndDefaultTolerance) {
  const double refdata[2] = {5.0, 6.0}, refcoords[4] = {0.0, 0.0, 1.0, 5e-10};
  const double patchcoords[4] = {3.0, 3.0, 1.0, 0.0};
  double patchdata[2] = {7.0, 7.0};
  const int ndata = 1, npt = 2, ndim = 2, nnodes = 2, nelem = 1;
  GetDataFromPatch(patchdata, refdata, patchcoords, refcoords, &ndata, &npt, &ndim, &nnodes, &nelem, nullptr);
  EXPECT_EQ(patchdata[0], 0.0);
  EXPECT_EQ(patchdata[1], 0.0);
  const double wide = 1e-9;
  GetDataFromPatch(patchdata, refdata, patchcoords, refcoords, &ndata, &npt, &ndim, &nnodes, &nelem, &wide);
  EXPECT_EQ(patchdata[1], 6.0);
  const int none = 0;
  // No coordinate: the mid-points of the edges have none either.
  double center[2] = {9.0, 9.0};
  GetCenterNodes(center, patchcoords, &none, &npt);
  EXPECT_EQ(center[0], 9.0);
  EXPECT_EQ(center[1], 9.0);
  // No coordinate compared: every point takes the last node's data.
  GetDataFromPatch(patchdata, refdata, patchcoords, refcoords, &ndata, &npt, &none, &nnodes, &nelem, nullptr);
  EXPECT_EQ(patchdata[0], 6.0);
  EXPECT_EQ(patchdata[1], 6.0);
}

}  // namespace
}  // namespace tavrin
