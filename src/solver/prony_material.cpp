// Viscoelastic stress update of a curing, transversely isotropic ply: five
// independent stiffness entries, each relaxing by its own Prony series with
// relaxation times shifted around the glass transition temperature.
#include "solver/prony_material.hpp"

#include <algorithm>
#include <array>
#include <cmath>

#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/shared_state.hpp"
#include "foundation/small_matrix.hpp"
#include "mechanics/ply_stiffness.hpp"
#include "mechanics/prony.hpp"
#include "solver/usermat_entry.hpp"

namespace tavrin::toplevel {
namespace {

// The five stiffness entries and their Prony sets, in the order of the
// property vector.
enum Entry { c11, c12, c22, c23, c44, nentries };

constexpr int first_history = 9;  // slot of the first internal stress
constexpr int last_history = 500;
constexpr int nslots = 510;
constexpr double glassy_limit = 273.15, relaxed_limit = 573.15;  // K

// One block of internal stresses: the Prony set and the share of its
// stiffness entry it relaxes, the shift factor (0: a1, 1: a2), the strain
// component that drives it and the stress component it relaxes (0-based).
struct Block {
  Entry set;
  double share;
  int shift, strain, stress;
};
// Blocks in storage order: h11, h12, h13, h21, h22, h23, h31, h32, h33, h44,
// h55, h66a, h66b.  The shear stiffness 23 is (C22 − C23)/2, so its two
// blocks relax half of C22 and minus half of C23.
constexpr std::array<Block, 13> blocks{{{c11, 1.0, 0, 0, 0},
                                        {c12, 1.0, 1, 1, 0},
                                        {c12, 1.0, 1, 2, 0},
                                        {c12, 1.0, 0, 0, 1},
                                        {c22, 1.0, 1, 1, 1},
                                        {c23, 1.0, 1, 2, 1},
                                        {c12, 1.0, 0, 0, 2},
                                        {c23, 1.0, 1, 1, 2},
                                        {c22, 1.0, 1, 2, 2},
                                        {c44, 1.0, 1, 3, 3},
                                        {c44, 1.0, 1, 4, 4},
                                        {c22, 0.5, 1, 5, 5},
                                        {c23, -0.5, 1, 5, 5}}};

// The stiffness pattern of the ply (solver order, engineering shears).
Mat6 stiffness(const std::array<double, nentries>& c) {
  Mat6 d;
  d(1, 1) = c[c11];
  d(1, 2) = d(1, 3) = d(2, 1) = d(3, 1) = c[c12];
  d(2, 2) = d(3, 3) = c[c22];
  d(2, 3) = d(3, 2) = c[c23];
  d(4, 4) = d(5, 5) = c[c44];
  d(6, 6) = 0.5 * (c[c22] - c[c23]);
  return d;
}

// log10 of a shift factor from the column (C1, C2, B, ΔT, Tref = Tg): the
// WLF form above T* = Tg + ΔT, the Arrhenius form joined to it below.  A
// WLF term whose denominator is 0 counts 0.
double log_shift(const std::array<double, 5>& a, double t) {
  const double c1 = a[0], c2 = a[1], b = a[2], tref = a[4], tstar = a[4] + a[3];
  const auto wlf = [&](double x) {
    const double den = c2 + x - tref;
    return den == 0.0 ? 0.0 : -c1 * (x - tref) / den;
  };
  if (t > tstar) return wlf(t);
  return b * (1.0 / t - 1.0 / tstar) + wlf(tstar);
}

// The two parameter columns: the ply's shift data in order into column 1
// then column 2 (a column 2 without data copies column 1), Tg last.
std::array<std::array<double, 5>, 2> shift_parameters(std::string_view name, double tg) {
  std::array<std::array<double, 5>, 2> a{};
  const auto column = cure_column(8, cure_ply_section(name));
  const std::size_t n =
      std::min<std::size_t>(std::find(column.begin(), column.end(), not_given) - column.begin(), 8);
  for (std::size_t k = 0; k < n; ++k) a[k / 4][k % 4] = column[k];
  if (n <= 4) a[1] = a[0];
  a[0][4] = a[1][4] = tg;
  return a;
}

}  // namespace

void umat_prony(double* stress, double* svar, double* ddsdde, double* /*sse*/, double* /*spd*/, double* /*scd*/,
                double* /*rpl*/, double* /*ddsddt*/, double* /*drplde*/, double* /*drpldt*/, const double* stran,
                const double* dstran, const double* /*time*/, const double* dtime, const double* temp,
                const double* /*dtemp*/, const double* /*predef*/, const double* /*dpred*/, const char* cmname,
                const int* ndi, const int* /*nshr*/, const int* ntens, const int* nstatv, const double* props,
                const int* nprops, const double* /*coords*/, const double* /*drot*/, double* /*pnewdt*/,
                const double* /*celent*/, const double* /*dfgrd0*/, const double* /*dfgrd1*/,
                const int* /*noel*/, const int* /*npt*/, const int* /*kslay*/, const int* /*kspt*/,
                const int* /*jstep*/, const int* /*kinc*/, std::size_t cmname_len) {
  tavrin::c_boundary(__func__, [&] {
    const int dims[3] = {*ntens, *nstatv, *nprops};
    if (*ntens != 6 || *nstatv < nslots || *nprops < 10) {
      xerr(-2, "umat_prony: needs 6 components, 510 state variables and 10 properties", dims);
      return;
    }
    // Term counts (truncated), and the extent of the pairs and histories they imply.
    std::array<int, nentries> count{};
    double pairs = 0.0;
    for (int k = 0; k < nentries; ++k) {
      const double n = std::trunc(props[k]);
      if (!(n >= 0.0 && n <= 1e6)) {
        xerr(-2, "umat_prony: Prony term counts must be whole numbers from 0", {}, std::span<const double>(props, 5));
        return;
      }
      count[std::size_t(k)] = int(n);
      pairs += n;
    }
    int histories = 0;
    for (const Block& b : blocks) histories += count[b.set];
    if (10.0 + 2.0 * pairs > *nprops || histories > last_history - first_history + 1) {
      const int detail[3] = {*nprops, int(pairs), histories};
      xerr(-2, "umat_prony: Prony terms beyond the properties or the state", detail);
      return;
    }
    std::array<double, nentries> c{};
    std::array<const double*, nentries> terms{};  // (weight, time) pairs of each set
    const double* next = props + 10;
    for (int k = 0; k < nentries; ++k) {
      c[std::size_t(k)] = props[5 + k];
      terms[std::size_t(k)] = next;
      next += 2 * count[std::size_t(k)];
    }

    Vec6 e, de;
    for (int i = 0; i < 6; ++i) {
      e.v[std::size_t(i)] = stran[i] + dstran[i];
      de.v[std::size_t(i)] = dstran[i];
    }
    const double t = *temp, dt = *dtime;
    double* h = svar + first_history - 1;
    // Each entry C × (1 − Σ fraction(entry, p, τ) over its terms).
    const auto retained = [&](auto fraction) {
      std::array<double, nentries> r{};
      for (int k = 0; k < nentries; ++k) {
        const double* pt = terms[std::size_t(k)];
        double sum = 0.0;
        for (int j = 0; j < count[std::size_t(k)]; ++j) sum += fraction(k, pt[2 * j], pt[2 * j + 1]);
        r[std::size_t(k)] = c[std::size_t(k)] * (1.0 - sum);
      }
      return r;
    };
    Mat6 d = stiffness(c);
    Vec6 relaxed_stress;  // Σ Δh of each stress component

    if (t >= glassy_limit && t < relaxed_limit) {
      const auto a = shift_parameters(std::string_view(cmname, cmname_len), svar[2]);
      const double loga[2] = {log_shift(a[0], t), log_shift(a[1], t)};
      const double shift[2] = {std::pow(10.0, loga[0]), std::pow(10.0, loga[1])};
      svar[508] = loga[0];
      svar[509] = loga[1];
      for (const Block& b : blocks) {
        const double ci = b.share * c[b.set];
        const double* pt = terms[b.set];
        for (int k = 0; k < count[b.set]; ++k, ++h) {
          const double hnew =
              Relaxation(h, &pt[2 * k + 1], &shift[b.shift], &dt, &ci, &pt[2 * k], &e.v[std::size_t(b.strain)]);
          relaxed_stress.v[std::size_t(b.stress)] += hnew - *h;
          *h = hnew;
        }
      }
      Vec6 s = Vec6::load(stress) + d * de - relaxed_stress;
      s.store(stress);
      // Each entry keeps the part of its series that does not relax over the step.
      const int set_shift[nentries] = {0, 0, 1, 0, 0};  // C22 relaxes with a2, the others with a1
      d = stiffness(retained([&](int k, double p, double tau) { return p * dt / (tau * shift[set_shift[k]] + dt); }));
    } else {
      if (t >= relaxed_limit) {
        // Fully relaxed: every internal stress at equilibrium, each entry at its long-term value.
        for (const Block& b : blocks) {
          const double* pt = terms[b.set];
          for (int k = 0; k < count[b.set]; ++k, ++h) *h = pt[2 * k] * b.share * c[b.set] * e.v[std::size_t(b.strain)];
        }
        d = stiffness(retained([](int, double p, double) { return p; }));
      }
      // Glassy (below 273.15 K) the internal stresses keep their values.
      const int six = 6, off = 0;
      GetStressVector(stress, d.data(), stran, dstran, ndi, &six, &off, &off);
    }
    d.store(ddsdde);
    svar[500] = d(1, 1);
    svar[501] = d(2, 2);
  });
}

TAVRIN_USERMAT_ENTRY(usermat_prony, umat_prony)

}  // namespace tavrin::toplevel
