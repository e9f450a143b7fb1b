// Progressive damage of a unidirectional ply for explicit impact analyses
// with inter-fibre damage on the fracture plane.
//
// Fibre failure in tension and in compression: the quadratic nominal
// criterion of σ11, σ12, σ13 and bilinear softening of the equivalent
// strain, regularised by the element length along the fibres; the two
// damages combine into w = dt + dc − dt·dc, which scales the fibre entries
// of the stiffness.  Inter-fibre failure: Wiegand's criterion finds the
// fracture plane; the matrix damage grows on that plane (bilinear
// softening of its traction) and degrades every stiffness entry that
// involves the plane's normal while the crack is open; a closed crack
// (compression across it, recorded in the closure switch) carries the
// normal stresses again and degrades only the shears across it.
//
// State slots (1-based): 1-2 fibre tension and compression damage, 3 (and
// 4, kept) inter-fibre damage, 5 crack open (+1) or closed (−1), 7, 8, 9,
// 11 the fracture-plane values of the matrix damage (−1 before its onset),
// 10 largest inter-fibre effort, 12 fracture-plane angle (degrees, 0
// before the onset), 13-15 onset strain, full-damage strain and toughness
// of fibre tension, 16-17 onset and full-damage strain of fibre
// compression, 18 and 20 the largest fibre tension and compression
// efforts, 21-26 total strain, 27-32 inelastic strain, 45 and 46 the
// equivalent stresses at the fibre onsets.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "elements/layouts.hpp"
#include "failure/degradation.hpp"
#include "failure/evocollection.hpp"
#include "failure/fracture.hpp"
#include "failure/gpcollection.hpp"
#include "failure/mccollection.hpp"
#include "foundation/products.hpp"
#include "foundation/signals.hpp"
#include "mechanics/notation.hpp"
#include "mechanics/ply_rotation.hpp"
#include "solver/explicit_block.hpp"
#include "solver/layout.hpp"
#include "solver/explicit_ply.hpp"

namespace {

namespace ep = tavrin::toplevel::explicit_ply;
namespace la = tavrin::lamina;
using tavrin::Mat6;
using tavrin::Vec6;
using tavrin::View;

constexpr int nstate = 46;  // state variables needed
constexpr int nfull = 29;   // entries of the full property vector
constexpr double pi = std::numbers::pi;

enum Slot : int {
  s_damage = 1, s_crack = 5, s_plane = 7, s_iff_effort = 10, s_plane_last = 11, s_angle = 12,
  s_strain = 21, s_inelastic = 27
};

// One fibre mode's slots and constants.
struct FibreMode {
  int damage, onset, full, toughness, stress, effort;  // state slots (toughness 0: not kept)
  double cap;                                          // largest damage
  double floor;                                        // full-damage strain over onset strain, at least
  bool tension;
};
constexpr FibreMode fibre_tension{1, 13, 14, 15, 45, 18, 0.999, 1.2, true};
constexpr FibreMode fibre_compression{2, 16, 17, 0, 46, 20, 0.97, 1.5, false};
constexpr double iff_cap = 0.99;

// Cyclic order (11, 22, 33, 12, 23, 31) to the Voigt order of the frame in
// which the crack normal at a zero fracture angle (axis 2) is x, axis 3 is
// y and the fibres are z, so that the fracture plane turns about z:
// (x'x', y'y', z'z', y'z', x'z', x'y') = (22, 33, 11, 31, 12, 23); and back.
constexpr la::Order to_plane_frame{2, 3, 1, 6, 4, 5};
constexpr la::Order from_plane_frame{3, 1, 2, 5, 6, 4};

struct Material {
  Mat6 c;  // engineering stiffness, cyclic order
  std::optional<la::PlyConstants> ply;
  bool damage = false;  // the full property vector: damage stages run
  double x11t = 0, x22t = 0, x11c = 0, x22c = 0, x12 = 0, x13 = 0, gft = 0, gfc = 0;
  double iff[3] = {};  // the three inter-fibre parameters of the fracture-plane damage
};

std::optional<Material> material(const ep::Block& b, const double* p, int nprops, bool plane_stress) {
  Material m;
  switch (ep::property_form(b, nprops, nfull)) {
    case ep::PropertyForm::refused: return std::nullopt;
    case ep::PropertyForm::elastic: {
      const auto form = ep::elastic_form(b, p, nprops, plane_stress);
      if (!form) return std::nullopt;
      m.c = form->stiffness;
      m.ply = form->constants;
      return m;
    }
    case ep::PropertyForm::full: break;
  }
  // E1, E2, E3, G12, G13, G23, ν12, ν13, ν23 in the property vector.
  const la::PlyConstants ply{p[0], p[1], p[2], p[6], p[7], p[8], p[3], p[4], p[5]};
  if (!ep::admissible(ply)) {
    b.refuse("elastic constants not positive definite");
    return std::nullopt;
  }
  m.c = ep::ply_stiffness(ply, plane_stress);
  m.ply = ply;
  m.damage = true;
  m.x11t = p[9], m.x22t = p[10], m.x11c = std::abs(p[12]), m.x22c = std::abs(p[13]), m.x12 = p[15], m.x13 = p[16];
  m.gft = p[24], m.gfc = p[25];
  m.iff[0] = p[26], m.iff[1] = p[27], m.iff[2] = p[28];
  const double strengths[6] = {m.x11t, m.x22t, m.x11c, m.x22c, m.x12, m.x13};
  if (!std::all_of(std::begin(strengths), std::end(strengths), [](double x) { return x > 0.0 && std::isfinite(x); })) {
    b.refuse("strengths must be positive", {}, strengths);
    return std::nullopt;
  }
  return m;
}

// √(a² + b² + c²): the equivalent of the fibre-direction components.
double equivalent(double a, double b, double c) {
  const double one = 1.0;
  double r = 0.0;
  GPQuadNominal(&r, &a, &b, &c, &one, &one, &one);
  return r;
}

// d kept within [lowest, cap]; a d that is not a number keeps lowest.
double between(double d, double lowest, double cap) {
  const double r = d > lowest ? d : lowest;
  return r > cap ? cap : r;
}

class Point {
 public:
  Point(const ep::Block& b, const Material& m, int k) : b_(b), m_(m), k_(k) {}

  // Total strain of the step; at a plane-stress point the thickness strain
  // increment of the elastic step, −(ν31·Δσ11 + ν32·Δσ22)/E3, is written
  // into straininc(k,3).
  void strains(const View<double, 2>& straininc, bool plane_stress) {
    deps_ = b_.row(b_.straininc, k_);
    if (plane_stress) {
      const Vec6 dsig = m_.c * ep::engineering(deps_);
      const auto nu = la::minor_poisson(*m_.ply);
      const double ds11 = dsig(1), ds22 = dsig(2);
      deps_(3) = GetPlaneStressEpsZZ(&m_.ply->e3, &nu.nu31, &nu.nu32, &ds11, &ds22);
      straininc(k_, 3) = deps_(3);
    }
    total_ = b_.state6(k_, s_strain) + deps_;
    elastic_ = total_ - b_.state6(k_, s_inelastic);
  }

  void respond(bool plane_stress) {
    Mat6 c = m_.c;
    if (m_.damage) c = damaged_stiffness(plane_stress);
    const Vec6 stress = c * ep::engineering(elastic_);
    b_.put_row(k_, stress);
    b_.put_state6(k_, s_strain, total_);
    b_.energies(k_, stress, deps_, elastic_, 1.0);
  }

 private:
  double state(int slot) const { return b_.stateold(k_, slot); }
  void put(int slot, double v) const { b_.statenew(k_, slot) = v; }

  Mat6 damaged_stiffness(bool plane_stress) const {
    const Vec6 trial = m_.c * ep::engineering(elastic_);
    double dt = state(fibre_tension.damage), dc = state(fibre_compression.damage);
    if (trial(1) > 0.0) dt = fibre_damage(fibre_tension, m_.x11t, m_.gft, trial);
    if (trial(1) < 0.0) dc = fibre_damage(fibre_compression, m_.x11c, m_.gfc, trial);
    put(fibre_tension.damage, dt);
    put(fibre_compression.damage, dc);
    // The fibre entries scaled by 1 - w (the shears 12 and 31 by 1 - 2w/3).
    const double w = dt + dc - dt * dc;
    Mat6 f, c;
    for (double& x : f.v) x = 1.0;
    f(1, 1) = f(1, 2) = f(2, 1) = f(1, 3) = f(3, 1) = 1.0 - w;
    f(4, 4) = f(6, 6) = 1.0 - 2.0 * w / 3.0;
    const int six = 6;
    HadamardProduct(m_.c.v.data(), f.v.data(), c.v.data(), &six, &six);
    return inter_fibre(c, plane_stress);
  }

  // Damage of one fibre mode from the trial stress: onset once the
  // quadratic nominal effort reaches 1, bilinear softening of the
  // equivalent strain after it.
  double fibre_damage(const FibreMode& f, double strength, double toughness, const Vec6& s) const {
    const double stored = state(f.damage);
    const double seq = equivalent(s(1), s(4), s(6)), eeq = equivalent(elastic_(1), elastic_(4), elastic_(6));
    const double none = 0.0;
    double e0 = state(f.onset), ef = state(f.full), sig = state(f.stress), g = 0.0, d = 0.0;
    if (!(stored > 0.0)) {
      const double s11 = s(1), s12 = s(4), s13 = s(6);
      double effort = 0.0;
      GPQuadNominal(&effort, &s11, &s12, &s13, &strength, &m_.x12, &m_.x13);
      if (effort > state(f.effort)) put(f.effort, effort);
      if (!(effort >= 1.0)) return stored;
      // The onset strain: the tension effort's square, the compression
      // effort's fourth root.
      e0 = eeq / (f.tension ? effort * effort : std::pow(effort, 0.25));
      if (!(e0 > 0.0 && std::isfinite(e0) && seq > 0.0)) return stored;
      g = toughness * s(1) * s(1) / (seq * seq);  // the shear terms carry no toughness
      const double e1 = 2.0 * g / (seq * b_.charlength(k_, 1));
      ef = std::isfinite(e1) && e1 > f.floor * e0 ? e1 : f.floor * e0;
      sig = seq;
      put(f.onset, e0);
      put(f.full, ef);
      put(f.stress, seq);
      if (f.toughness) put(f.toughness, g);
    }
    BiLinearEvolution(&eeq, &e0, &sig, &g, &none, &d, &ef);
    return between(d, stored, f.cap);
  }

  // Matrix damage on the fracture plane of Wiegand's criterion, and the
  // stiffness c degraded on that plane.
  Mat6 inter_fibre(const Mat6& c, bool plane_stress) const {
    const Vec6 s = c * ep::engineering(elastic_);
    double effort = state(s_iff_effort);
    bool onset = false;
    if (effort < 1.0) {
      double r = 0.0, theta = -1.0;
      const double sainc = 5.0;
      const int golden = 1;
      const double s22 = s(2), s33 = s(3), s12 = s(4), s13 = s(6), s23 = s(5);
      MCrckWiegand(&r, &s22, &s33, &s12, &s13, &s23, &m_.x22t, &m_.x22c, &m_.x12, &theta, nullptr, &sainc,
                   &golden);
      if (r > effort) put(s_iff_effort, effort = r);
      if (!(effort >= 1.0)) return c;
      put(s_angle, theta * 180.0 / pi);
      onset = true;
    }
    // The plane's angle from the xz plane (about the fibres), in [0, π).
    double phi = 0.0;
    const double theta = (onset ? b_.statenew(k_, s_angle) : state(s_angle)) * pi / 180.0;
    const int anticlockwise = 0;
    GetPhiMeasuredFromXZPlane(&phi, &theta, &anticlockwise);
    if (phi >= pi) phi -= pi;

    const Vec6 sv = la::permute(s, la::cyclic_to_voigt), ev = la::permute(elastic_, la::cyclic_to_voigt);
    // The plane's onset values start at -1.0 at the onset whatever the state held.
    double plane[4] = {-1.0, -1.0, -1.0, -1.0};
    if (!onset) {
      for (int i = 0; i < 3; ++i) plane[i] = state(s_plane + i);
      plane[3] = state(s_plane_last);
    }
    const double lengths[3] = {b_.charlength(k_, 1), b_.charlength(k_, 2), b_.charlength(k_, 3)};
    const double props[5] = {phi, m_.iff[0], m_.iff[1], m_.iff[2], m_.iff[2]};
    const int mode = 3, nsdv = 4, nprops = 5;
    double d = 0.0;
    BogenfeldDegradation(&d, plane, sv.v.data(), ev.v.data(), lengths, props, &mode, &nsdv, &nprops);
    for (int i = 0; i < 3; ++i) put(s_plane + i, plane[i]);
    put(s_plane_last, plane[3]);

    const double zero = 0.0, cap = iff_cap;
    const double limited = fLimit(&d, &zero, &cap), stored = state(s_damage + 2);
    const double wm = limited > stored ? limited : stored;
    put(s_damage + 2, wm);
    if (wm == 0.0) return c;
    // The crack's state (open +1, closed -1) is recorded in the closure
    // switch.  An open crack loses every entry that involves its normal; a
    // closed one carries compression across its faces again: the
    // normal-normal entries keep their values, shear across the crack stays
    // degraded.
    int status = 1;
    const double x_axis[3] = {1.0, 0.0, 0.0};
    const int normal = 2;
    GetCrackStatus(&status, sv.v.data(), x_axis, &phi, &normal);
    put(s_crack, status);
    const Mat6 turned = la::permute(c, to_plane_frame);
    Mat6 degraded;
    const int crack_normal = 1;
    TensorDegradation(turned.v.data(), degraded.v.data(), &phi, &wm, &crack_normal, &status);
    Mat6 out = la::permute(degraded, from_plane_frame);
    if (plane_stress)  // only the plane-stress entries 11, 22, 12
      for (int i = 1; i <= 6; ++i)
        for (const int j : {3, 5, 6}) out(i, j) = out(j, i) = 0.0;
    return out;
  }

  const ep::Block& b_;
  const Material& m_;
  const int k_;
  Vec6 deps_{}, total_{}, elastic_{};
};

}  // namespace

extern "C" {

void vumat_bogenfeld(const int* nblock, const int* ndir, const int* nshr, const int* nstatev, const int*,
                     const int* nprops, const int*, const double*, const double*, const double*, const char*,
                     const double*, const double* charlength, const double* props, const double* density,
                     double* straininc, const double*, const double*, const double*, const double*, const double*,
                     const double* stressold, const double* stateold, const double* enerinternold,
                     const double* enerinelasold, const double*, const double*, const double*, const double*,
                     double* stressnew, double* statenew, double* enerinternnew, double* enerinelasnew, std::size_t) {
  // The layout first, each extent alone: a refused one touches nothing.
  if (tavrin::toplevel::negative_block(*nblock)) return;
  if (*ndir != 3 || (*nshr != 3 && *nshr != 1)) {
    const int dims[2] = {*ndir, *nshr};
    ep::refuse("vumat_bogenfeld", "needs ndir = 3 and nshr = 3, or plane stress (nshr = 1)", dims);
    return;
  }
  const bool plane_stress = *nshr == 1;
  const int n = *nblock, ntens = *ndir + *nshr, nsv = *nstatev;
  const ep::Block b{"vumat_bogenfeld", n, ntens, nsv, View<const double, 2>(charlength, n, 3),
                    View<const double, 2>(straininc, n, ntens), View<const double, 2>(stressold, n, ntens),
                    View<const double, 2>(stateold, n, nsv), View<double, 2>(stressnew, n, ntens),
                    View<double, 2>(statenew, n, nsv), density, enerinternold, enerinelasold, enerinternnew,
                    enerinelasnew};
  if (nsv < nstate) {
    b.refuse("needs 46 state variables", std::span<const int>(nstatev, 1));
    return b.keep_block();
  }
  const std::optional<Material> m = material(b, props, *nprops, plane_stress);
  if (!m) return b.keep_block();

  std::copy_n(stateold, std::size_t(n) * std::size_t(nsv), statenew);
  const View<double, 2> strain_increments(straininc, n, ntens);
  for (int k = 1; k <= n; ++k) {
    if (!ep::point_accepted(b, k, m->damage)) {
      b.keep_point(k);
      continue;
    }
    Point p(b, *m, k);
    p.strains(strain_increments, plane_stress);
    p.respond(plane_stress);
  }
}
}
