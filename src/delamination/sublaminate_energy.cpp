// Strain energy of a compressed strip with a rectangular delamination and
// the energy release rates of its growth in length and width.
//
// The patch of half-sizes (a, b), centred e off the strip's axis, leaves
// two intact strips beside it (widths W/2 − b ∓ e) and the intact parts
// ahead of and behind it ((L − 2a)·W).  A sublaminate over the patch buckles
// at the mean of a simply supported long plate and a clamped plate,
//
//   N_ss = (π/w_b)²·2·(√(D̃11·D̃22) + D̃12 + 2·D̃66),
//   N_cl = (π/w_b)²·(2.62·D̃11·(b/a)² + 4.53·√(D̃11·D̃22) + 2.62·(D̃12 + 2·D̃66)),
//
// w_b = 2b, D̃ = D − B·A⁻¹·B, and beyond it carries r·A11 of further strain.
// The force it sheds goes to the strips (in moment balance about the
// patch) and to an unbuckled partner; the release rates are the changes of
// total potential when the patch grows by da in length or db in width.
#include "delamination/delisio.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "foundation/boundary.hpp"
#include "foundation/numerics_latch.hpp"
#include "mechanics/laminate_stiffness.hpp"

namespace tavrin::delisio {
namespace {

laminate::Abd blocks(const Mat6& m) {
  laminate::Abd r;
  for (int j = 1; j <= 3; ++j)
    for (int i = 1; i <= 3; ++i) {
      r.a(i, j) = m(i, j);
      r.b(i, j) = m(i, j + 3);
      r.d(i, j) = m(i + 3, j + 3);
    }
  return r;
}

// Sublaminate s (1 or 2) of abdsub(2,6,6).
Mat6 sublaminate(const double* abdsub, int s) {
  Mat6 m;
  for (int j = 1; j <= 6; ++j)
    for (int i = 1; i <= 6; ++i) m(i, j) = abdsub[(s - 1) + 2 * (i - 1) + 12 * (j - 1)];
  return m;
}

double energy_of(const Vec6& dof, const Mat6& k, double area) {
  return elastic_energy(dof.data(), k.data(), 6, area);
}

// (n_left, n_right) of the strips beside a patch of half-width b carrying
// nsub: force and moment balance of the cross-section.
struct StripForces {
  double left = 0.0, right = 0.0;
};
StripForces momentum_balance(double n11, double nsub, double b, double wr, double wl, double w,
                             double e) {
  const double f11 = n11 * w;
  const double fsub = 2.0 * b * nsub;
  const double el = (b - e) / 2.0 + w / 4.0;
  const double er = (b + e) / 2.0 + w / 4.0;
  const double fleft = (f11 - e * fsub / el - fsub) / (er / el + 1.0);
  const double fright = (f11 + e * fsub / er - fsub) / (el / er + 1.0);
  return {fleft / wl, fright / wr};
}

struct Transfer {
  StripForces strips;
  double nsub1 = 0.0, nsub2 = 0.0, deltadof = 0.0, ie1 = 0.0, ie2 = 0.0;
};

// forces(3,6): the resultants of the laminate and of sublaminates 1 and 2;
// column 1 (N_x) is what is used.
Transfer force_transfer(const Mat6& abd, const Mat6& sub1, const Mat6& sub2, const double* forces,
                        double nsub1in, double nsub2in, double leftwidth, double rightwidth,
                        double damagewidth, double w, double e, double r) {
  const double f = forces[0], l1 = forces[1], l2 = forces[2];
  const double cleanwidth = leftwidth + rightwidth;
  const double deltaf = ((l1 - nsub1in) + (l2 - nsub2in)) * damagewidth;
  // A sublaminate has buckled when it carries less compression than the
  // intact laminate would give it.
  const bool buckled1 = nsub1in > l1, buckled2 = nsub2in > l2;
  const double k1 = buckled1 ? r * sub1(1, 1) : sub1(1, 1);
  const double k2 = buckled2 ? r * sub2(1, 1) : sub2(1, 1);
  Transfer t;
  t.nsub1 = nsub1in;
  t.nsub2 = nsub2in;
  if ((buckled1 || buckled2) && deltaf != 0.0) {
    t.deltadof = deltaf / (cleanwidth * abd(1, 1) + damagewidth * (k1 + k2));
    t.nsub1 = nsub1in + k1 * t.deltadof;
    t.nsub2 = nsub2in + k2 * t.deltadof;
    t.ie1 = 0.5 * (nsub1in + t.nsub1) * t.deltadof;
    t.ie2 = 0.5 * (nsub2in + t.nsub2) * t.deltadof;
  }
  t.strips = momentum_balance(f, t.nsub1 + t.nsub2, damagewidth / 2.0, rightwidth, leftwidth, w, e);
  return t;
}

// The extra end shortening over the patch from the side strips' strains;
// the caller has checked A11·ε_x ≠ 0 and width > 2b.
double equivalent_displacement(const Mat6& abd, double a, double b, double width, double dof1,
                               double nleft, double nright, double l, double r) {
  const double sl = nleft / (abd(1, 1) * dof1), sr = nright / (abd(1, 1) * dof1);
  return 2.0 * a * dof1 * std::sqrt((sl * sl * l + sr * sr * r) / (width - 2.0 * b));
}

bool strain_limits_hold(const Mat6& abd, double dof1, double b, double width) {
  return abd(1, 1) * dof1 != 0.0 && width - 2.0 * b > 0.0;
}

}  // namespace

SublaminateState sublaminate_energy(const Mat6& abd, const Vec6& dof, double a, double b,
                                    double force, double buckfactor, double r) {
  const Mat3 dt = laminate::reduced_bending_stiffness(blocks(abd));
  const double wb = 2.0 * b;
  const double scale = std::numbers::pi * std::numbers::pi / (wb * wb);
  const double root = std::sqrt(dt(1, 1) * dt(2, 2));
  const double twist = dt(1, 2) + 2.0 * dt(3, 3);
  const double nss = scale * 2.0 * (root + twist);
  const double ncl = scale * (2.62 * dt(1, 1) * (b / a) * (b / a) + 4.53 * root + 2.62 * twist);
  double nbuck = -(nss + ncl) / 2.0;

  Vec6 epsb = (nbuck / force) * dof;
  if (buckfactor != 1.0) {
    epsb(1) = buckfactor * epsb(1);
    nbuck = epsb(1) * abd(1, 1);
  }
  SublaminateState s;
  s.force = std::max(nbuck, force);
  const double area = 4.0 * a * b;
  if (force > nbuck) {
    s.energy = energy_of(dof, abd, area);
    return s;
  }
  // Buckled: the energy at the buckling strain, then the further end
  // shortening Δ at the post-buckling stiffness r·A11.
  const double delta = dof(1) - epsb(1);
  s.buckled = true;
  s.force = nbuck + r * abd(1, 1) * delta;
  s.energy = energy_of(epsb, abd, area) + area * delta * (nbuck + 0.5 * r * abd(1, 1) * delta);
  return s;
}

namespace {

struct Configuration {
  double a, b;             // the patch's half-sizes
  double left, right;      // the strips' widths
  double patch, offset;    // the patch's width and the offset of its centre
  double area_left, area_ahead, area_right;
  double length;           // the strip length whose shortening counts
  SublaminateState s1, s2;
};

}  // namespace

ReleaseRates release_rates(const Vec6& dof, const Mat6& abd, const double* abdsub, double a,
                           double b, double width, double length, const double* forcecases,
                           double e, double da, double db, double buckfactor, double r) {
  const Mat6 sub1 = sublaminate(abdsub, 1), sub2 = sublaminate(abdsub, 2);
  // forcecases(3,6): column 1 holds N_x of the laminate and of both
  // sublaminates.
  const double f = forcecases[0];
  const double forces[3] = {forcecases[0], forcecases[1], forcecases[2]};
  const double edp = energy_of(dof, abd, 1.0);

  const double leftwidth = width / 2.0 - b - e, rightwidth = width / 2.0 - b + e;
  const double ahead = (length - 2.0 * a) * width;
  const double arealeft = 2.0 * a * leftwidth, arearight = 2.0 * a * rightwidth;

  auto sub = [&](const Mat6& m, double force, double ac, double bc) {
    return sublaminate_energy(m, dof, ac, bc, force, buckfactor, r);
  };
  const SublaminateState ref1 = sub(sub1, forces[1], a, b), ref2 = sub(sub2, forces[2], a, b);
  const SublaminateState da1 = sub(sub1, forces[1], a + da, b), da2 = sub(sub2, forces[2], a + da, b);
  const SublaminateState db1 = sub(sub1, forces[1], a, b + db), db2 = sub(sub2, forces[2], a, b + db);

  const Configuration configs[5] = {
      {a, b, leftwidth, rightwidth, 2.0 * b, e, arealeft, ahead, arearight, length, ref1, ref2},
      {a + da, b, leftwidth, rightwidth, 2.0 * b, e, arealeft + 2.0 * da * leftwidth,
       ahead - 2.0 * da * width, arearight + 2.0 * da * rightwidth, length - 2.0 * da, da1, da2},
      {a, b + db, leftwidth - db, rightwidth - db, 2.0 * (b + db), e, arealeft - 2.0 * a * db,
       ahead, arearight - 2.0 * a * db, length, db1, db2},
      {a, b + db, leftwidth - 2.0 * db, rightwidth, 2.0 * (b + db), e + db,
       arealeft - 4.0 * a * db, ahead, arearight, length, db1, db2},
      {a, b + db, leftwidth, rightwidth - 2.0 * db, 2.0 * (b + db), e - db, arealeft, ahead,
       arearight - 4.0 * a * db, length, db1, db2},
  };
  double u[5], dx[5];
  for (int c = 0; c < 5; ++c) {
    const Configuration& k = configs[c];
    const Transfer t = force_transfer(abd, sub1, sub2, forces, k.s1.force, k.s2.force, k.left,
                                      k.right, k.patch, width, k.offset, r);
    const double ql = t.strips.left / f, qr = t.strips.right / f;
    u[c] = ql * ql * k.area_left * edp + k.area_ahead * edp + qr * qr * k.area_right * edp +
           k.s1.energy + k.s2.energy + 4.0 * k.a * k.b * (t.ie1 + t.ie2);
    dx[c] = k.length * dof(1) + equivalent_displacement(abd, k.a, k.b, width, dof(1), t.strips.left,
                                                        t.strips.right, k.left, k.right);
  }
  // The change of external work against the reference, then the release
  // rate per new delaminated area.
  auto g = [&](int c, double new_area) {
    const double w = f * width * (dx[c] - dx[0]);
    return (w + u[0] - u[c]) / new_area;
  };
  return {g(1, 4.0 * da * b), g(2, 4.0 * a * db), g(3, 4.0 * a * db), g(4, 4.0 * a * db)};
}

}  // namespace tavrin::delisio

using namespace tavrin;

extern "C" {

void EnergySublaminat(const double* abd_in, const double* dof_in, const double* a_el,
                      const double* b_el, const double* forces, double* energy, double* nsub,
                      int* bstatus, const double* buckfactor_in, const double* r_in) {
  tavrin::c_boundary(__func__, [&] {
    *energy = *nsub = 0.0;
    *bstatus = 0;
    if (!(*a_el > 0.0 && *b_el > 0.0) || forces[0] == 0.0) {
      latch_failure(status_error, "Sublaminate needs positive half-sizes and a nonzero force");
      return;
    }
    const delisio::SublaminateState s = delisio::sublaminate_energy(
        Mat6::load(abd_in), Vec6::load(dof_in), *a_el, *b_el, forces[0],
        buckfactor_in ? *buckfactor_in : 1.0, r_in ? *r_in : 0.0);
    *energy = s.energy;
    *nsub = s.force;
    *bstatus = s.buckled ? 1 : 0;
  });
}

void MomentumBalance(const double* n11, const double* nsub, const double* b, const double* wr,
                     const double* wl, const double* w, const double* e, double* n_left,
                     double* n_right) {
  const auto s = delisio::momentum_balance(*n11, *nsub, *b, *wr, *wl, *w, *e);
  *n_left = s.left;
  *n_right = s.right;
}

void ForceTransfer(const double* abd, const double* abdsub, const double* forces,
                   const double* nsub1in, const double* nsub2in, const double*,
                   const double* leftwidth, const double* rightwidth, const double* damagewidth,
                   const double* w, const double* e, double* nleft_m, double* nright_m,
                   double* nsub1, double* nsub2, double* deltadof, double* ie1_delta,
                   double* ie2_delta, const double* r_in) {
  const double f[3] = {forces[0], forces[1], forces[2]};
  const auto t = delisio::force_transfer(
      Mat6::load(abd), delisio::sublaminate(abdsub, 1), delisio::sublaminate(abdsub, 2), f,
      *nsub1in, *nsub2in, *leftwidth, *rightwidth, *damagewidth, *w, *e, r_in ? *r_in : 0.0);
  *nleft_m = t.strips.left;
  *nright_m = t.strips.right;
  *nsub1 = t.nsub1;
  *nsub2 = t.nsub2;
  *deltadof = t.deltadof;
  *ie1_delta = t.ie1;
  *ie2_delta = t.ie2;
}

void EquivDisp(const double* abd, const double* a, const double* b, const double* width,
               const double* dof, const double*, const double* nleft, const double* nright,
               const double* l, const double* r, double* deltax) {
  const Mat6 k = Mat6::load(abd);
  if (!delisio::strain_limits_hold(k, dof[0], *b, *width)) {
    latch_failure(status_error, "EquivDisp needs A11*dof(1) /= 0 and b < width/2");
    *deltax = 0.0;
    return;
  }
  *deltax = delisio::equivalent_displacement(k, *a, *b, *width, dof[0], *nleft, *nright, *l, *r);
}

void EnergyReleaseRate(const double* dof, const double* abd, const double* abdsub, const double* a,
                       const double* b, const double* width, const double* length, const double*,
                       const double* forcecases, double* gx, double* gy, double* gy_left,
                       double* gy_right, const double* e_in, const double* da_in,
                       const double* db_in, const double* buckfactor_in, const double* r_in) {
  tavrin::c_boundary(__func__, [&] {
    *gx = *gy = *gy_left = *gy_right = 0.0;
    const double db = db_in ? *db_in : 0.1;
    const Mat6 k = Mat6::load(abd);
    // The model divides by the laminate force and strain, and the strips
    // beside the grown patch must keep a width.
    if (!(*a > 0.0 && *b > 0.0) || forcecases[0] == 0.0 ||
        !delisio::strain_limits_hold(k, dof[0], std::max(*b, *b + db), *width)) {
      latch_failure(status_error, "Delamination outside the strip or no laminate load");
      return;
    }
    const delisio::ReleaseRates g = delisio::release_rates(
        Vec6::load(dof), k, abdsub, *a, *b, *width, *length, forcecases, e_in ? *e_in : 0.0,
        da_in ? *da_in : 0.1, db, buckfactor_in ? *buckfactor_in : 1.0, r_in ? *r_in : 0.0);
    *gx = g.gx;
    *gy = g.gy;
    *gy_left = g.gy_left;
    *gy_right = g.gy_right;
  });
}

}  // extern "C"
