// The explicit ply routines through their C entry points, in the solver's
// argument order: every row of a block of different points answers as that
// point alone, and a plane-stress point returns its thickness strain in
// straininc(k,3).
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "foundation/errorhandling.hpp"
#include "solver/explicit_ply.hpp"

namespace tavrin {
namespace {

using Vumat = decltype(&vumat_bogenfeld);

// One increment of a block of n points, arrays column-major (n, ·).
struct Block {
  int n, nshr, nstatev;
  std::vector<double> props, straininc, stressold, stateold, stressnew, statenew;
  std::vector<double> eold = std::vector<double>(std::size_t(n), 0.5), enew = eold, enew2 = eold;

  void run(Vumat f) {
    const int ndir = 3, nfieldv = 1, nprops = int(props.size()), lanneal = 0, ntens = ndir + nshr;
    const double time = 1.0, dt = 1e-6;
    const std::vector<double> lengths(std::size_t(3 * n), 1.0), density(std::size_t(n), 1.6e-9);
    const std::vector<double> unused(std::size_t(n * (ntens + nshr) + 9), 0.0);
    stressnew.assign(std::size_t(n * ntens), 0.0);
    statenew.assign(std::size_t(n * nstatev), 0.0);
    f(&n, &ndir, &nshr, &nstatev, &nfieldv, &nprops, &lanneal, &time, &time, &dt, "PLY", unused.data(),
      lengths.data(), props.data(), density.data(), straininc.data(), unused.data(), unused.data(), unused.data(),
      unused.data(), unused.data(), stressold.data(), stateold.data(), eold.data(), eold.data(), unused.data(),
      unused.data(), unused.data(), unused.data(), stressnew.data(), statenew.data(), enew.data(), enew2.data(), std::size_t(3));
  }
  // Point k (0-based) of this block alone.
  Block point(int k) const {
    const int ntens = 3 + nshr;
    Block p{1, nshr, nstatev, props, {}, {}, {}, {}, {}};
    for (int i = 0; i < ntens; ++i) {
      p.straininc.push_back(straininc[std::size_t(k + i * n)]);
      p.stressold.push_back(stressold[std::size_t(k + i * n)]);
    }
    for (int i = 0; i < nstatev; ++i) p.stateold.push_back(stateold[std::size_t(k + i * n)]);
    return p;
  }
};

// A carbon/epoxy ply: the full property vector of vumat_cartesian, whose
// first 29 entries serve vumat_bogenfeld.
const std::vector<double> carbon = {140e3, 9e3,   9e3, 4.6e3, 4.6e3, 3.1e3, 0.32, 0.32, 0.45, 2000, 60, 60, 1200,
                                    200,   200,   90,  90,    60,    120e3, 10e3, 0,    4.6e3, 0,    0,  90, 80,
                                    0.3,   1.0,   0.3, 0,     0,     0,     1,    3,    0,    2,    0,  1,  0};

Block damaged_block(int nstatev) {
  // Three points: fibre tension beyond onset, transverse tension beyond
  // onset, transverse compression with shear; status 1 and some history.
  Block b{3, 3, nstatev, carbon, {}, {}, {}, {}, {}};
  const double strains[3][6] = {{0.02, 0, 0, 0, 0, 0}, {0, 0.012, 0, 0.002, 0, 0}, {-0.002, -0.02, 0, 0.01, 0.004, 0}};
  for (int i = 0; i < 6; ++i)
    for (const auto& s : strains) b.straininc.push_back(s[i]);
  b.stressold.assign(18, 10.0);
  b.stateold.assign(std::size_t(3 * nstatev), 0.0);
  for (int k = 0; k < 3; ++k) b.stateold[std::size_t(k + 18 * 3)] = 1.0;
  return b;
}

TEST(ExplicitPly, BlockRowsAnswerAsTheirPointsAlone) {
  const Vumat cartesian = [](auto... a) { vumat_cartesian(a...); };
  // The slot of the fibre-tension damage: 10 (mode damage), 1.
  for (const auto& [routine, nstatev, fibre] : {std::tuple{cartesian, 82, 10}, std::tuple{&vumat_bogenfeld, 46, 1}}) {
    Block b = damaged_block(nstatev);
    for (int step = 0; step < 2; ++step) {  // the second from the history of the first
      b.run(routine);
      for (int k = 0; k < 3; ++k) {
        Block p = b.point(k);
        p.run(routine);
        for (int i = 0; i < 6; ++i) EXPECT_EQ(p.stressnew[std::size_t(i)], b.stressnew[std::size_t(k + 3 * i)]);
        for (int i = 0; i < nstatev; ++i)
          EXPECT_EQ(p.statenew[std::size_t(i)], b.statenew[std::size_t(k + 3 * i)]) << step << " " << i;
        EXPECT_EQ(p.enew[0], b.enew[std::size_t(k)]);
        EXPECT_EQ(p.enew2[0], b.enew2[std::size_t(k)]);
      }
      b.stressold.swap(b.stressnew);
      b.stateold.swap(b.statenew);
    }
    EXPECT_GT(b.stateold[std::size_t(3 * (fibre - 1))], 0.0);  // the first point's fibres damaged
  }
  EXPECT_EQ(errorhandling::errstat, 0);
}

TEST(ExplicitPly, PlaneStressPointReturnsItsThicknessStrain) {
  Block b{2, 1, 46, std::vector<double>(carbon.begin(), carbon.begin() + 29), {1e-3, 0.0, -4e-4, 0.0, 7.0, 7.0, 3e-4, 0.0},
          std::vector<double>(8, 0.0), std::vector<double>(92, 0.0), {}, {}};
  b.run(&vumat_bogenfeld);
  // ν31 = ν13·E3/E1, ν32 = ν23·E3/E2; Δσ = σ (from rest).
  const double nu31 = 0.32 * 9e3 / 140e3, nu32 = 0.45;
  for (int k = 0; k < 2; ++k) {
    const double s11 = b.stressnew[std::size_t(k)], s22 = b.stressnew[std::size_t(k + 2)];
    EXPECT_NEAR(b.straininc[std::size_t(k + 4)], -(nu31 * s11 + nu32 * s22) / 9e3, 1e-18);
    EXPECT_EQ(b.stressnew[std::size_t(k + 4)], 0.0);
  }
  EXPECT_EQ(b.straininc[5], 0.0);  // the second point is at rest
}

}  // namespace
}  // namespace tavrin
