// Mean-field homogenisation of a unidirectional ply: the Voigt and Reuss
// bounds, the concentration-tensor schemes (dilute, Mori-Tanaka, Chow,
// Lielens, Hashin-Shtrikman), Mura, the composite self-consistent iteration
// and the bridging models of Huang and the cumulative calibration.
//
// Every scheme starts from the phase reduction: a fibre bundle of fraction
// v = vf + vint (fibre with its interphase) in a porous matrix of fraction
// 1 − v.
#include <algorithm>

#include "mechanics/micromechanic.hpp"
#include "foundation/boundary.hpp"

namespace tavrin::micromechanic {

namespace {

constexpr Mat6 identity = Mat6::identity();

// The two phases and their fractions.
struct TwoPhases {
  Phases p;
  double v = 0.0, vm = 1.0;
};

TwoPhases reduce(const Constituents& k) {
  TwoPhases t{phase_reduction(k)};
  t.v = clamp_fraction(clamp_fraction(k.vf) + clamp_fraction(k.vint));
  t.vm = 1.0 - t.v;
  return t;
}

// The stiffnesses of the two phases and the Eshelby tensor of the fibre
// bundle (a cylinder of section ratio yzratio in the matrix).
struct Stiffnesses {
  Mat6 cf, cm, e;
};

Stiffnesses stiffnesses(const Phases& p, double yzratio) {
  const Mat6 cm = inverse(p.sm);
  return {inverse(p.sf), cm, eshelby_tensor(1, yzratio, engineering_constants(p.sm)[8])};
}

EngConstants from_stiffness(const Mat6& c) { return engineering_constants(inverse(c)); }

// S = (v·sf + vm·sm·B)·(v·I + vm·B)⁻¹ for a bridging matrix B.
Mat6 bridged_compliance(const TwoPhases& t, const Mat6& b) {
  return (t.v * t.p.sf + t.vm * (t.p.sm * b)) * inverse(t.v * identity + t.vm * b);
}

bool given(const double* strengthprops) {
  return strengthprops && std::any_of(strengthprops, strengthprops + 4, [](double x) { return x != 0.0; });
}

std::array<double, 12> with_strengths(const EngConstants& eng) {
  std::array<double, 12> r{};
  std::copy(eng.begin(), eng.end(), r.begin());
  return r;
}

}  // namespace

EngConstants voigt_bound(const Constituents& k) {
  const TwoPhases t = reduce(k);
  if (t.p.empty()) return {};
  const Mat6 cf = inverse(t.p.sf), cm = inverse(t.p.sm);
  return from_stiffness(cm + t.v * (cf - cm));
}

EngConstants reuss_bound(const Constituents& k) {
  const TwoPhases t = reduce(k);
  if (t.p.empty()) return {};
  return engineering_constants(t.p.sm + t.v * (t.p.sf - t.p.sm));
}

EngConstants concentration_scheme(const Constituents& k, int atype) {
  const TwoPhases t = reduce(k);
  if (t.p.empty()) return {};
  const Stiffnesses s = stiffnesses(t.p, k.yzratio);
  const Mat6 a = strain_concentration(s.e, s.cf, s.cm, t.p.sm, t.v, atype);
  return from_stiffness(dual_average(a, s.cf, s.cm, t.v));
}

EngConstants mura(const Constituents& k) {
  const TwoPhases t = reduce(k);
  if (t.p.empty()) return {};
  const auto [cf, cm, e] = stiffnesses(t.p, k.yzratio);
  const Mat6 jump = cm - cf;
  const Mat6 l = cm - t.vm * (jump * e);
  return from_stiffness(cm * inverse(l) * (cm - jump * (e - t.v * (e - identity))));
}

// The bundle as a cylinder in the current effective medium, until no entry of
// the concentration tensor grows by more than the threshold (a decrease never
// counts) or maxit passes are done.  maxit < 1: one pass, no iteration.
EngConstants cscs(const Constituents& k, int maxit, double threshold) {
  const TwoPhases t = reduce(k);
  if (t.p.empty()) return {};
  const Mat6 cf = inverse(t.p.sf), cm = inverse(t.p.sm);
  Mat6 effective = cm, previous, a;
  for (int n = 1;;) {
    a = strain_concentration(eshelby_tensor(11, k.yzratio, 0.0, effective), cf, effective, t.v, 0);
    const Mat6 change = a - previous;
    if (std::none_of(change.v.begin(), change.v.end(), [&](double x) { return x > threshold; })) break;
    ++n;
    effective = cm + t.v * ((cf - cm) * a);
    previous = a;
    if (n > maxit) break;
  }
  return from_stiffness(cm + t.v * ((cf - cm) * a));
}

std::array<double, 12> huang(const Constituents& k, const double* strengthprops, const double* cp) {
  const TwoPhases t = reduce(k);
  if (t.p.empty()) return {};
  const double alpha = clamp_fraction(cp ? cp[0] : 0.5), beta = clamp_fraction(cp ? cp[1] : 0.5);
  const EngConstants f = engineering_constants(t.p.sf), m = engineering_constants(t.p.sm);
  Mat6 b;
  b(1, 1) = m[0] / f[0];
  b(2, 2) = b(3, 3) = b(4, 4) = (1.0 - alpha) * m[1] / f[1] + alpha;
  b(5, 5) = b(6, 6) = (1.0 - beta) * m[5] / f[5] + beta;
  b(1, 2) = b(1, 3) = (t.p.sf(1, 2) - t.p.sm(1, 2)) * (b(1, 1) - b(2, 2)) / (t.p.sf(1, 1) - t.p.sm(1, 1));
  std::array<double, 12> hg = with_strengths(engineering_constants(bridged_compliance(t, b)));
  if (given(strengthprops)) {
    const double fibre[4] = {f[0], f[1], f[5], strengthprops[0]};
    const double matrix[5] = {m[0], m[5], strengthprops[1], strengthprops[2], strengthprops[3]};
    const auto ud = ud_strengths(b, fibre, matrix, t.v);
    std::copy(ud.begin(), ud.end(), hg.begin() + 9);
  }
  return hg;
}

// The bridging matrix of the circular cylinder, corrected so that it gives
// E1, E2, G12 and ν12 of the semi-empirical model (LTH with Krimmer's in-situ
// matrix, Foye's matrix Poisson ratio) where it gave those of Mori-Tanaka,
// then turned to the bundle's section ratio.
std::array<double, 12> cumulative(const Constituents& k, const double* strengthprops, int rvetype) {
  const TwoPhases t = reduce(k);
  if (t.p.empty()) return {};
  const double v = t.v, vm = t.vm;
  const Mat6& sf = t.p.sf;
  const Mat6& sm = t.p.sm;
  const EngConstants f = engineering_constants(sf), m = engineering_constants(sm);
  const Mat6 cf = inverse(sf), cm = inverse(sm);
  auto stress_concentration = [&](double ratio) {
    const Mat6 a = strain_concentration(eshelby_tensor(1, ratio, m[8]), cf, cm, v, 0);
    return cf * a * sm;
  };
  const Mat6 bcyl = stress_concentration(1.0), bryz = stress_concentration(k.yzratio);

  const double bundle[5] = {f[0], f[1], f[5], f[3], f[8]};
  const double porous[2] = {m[0], m[8]};
  Constituents mt;
  mt.fibre = bundle;
  mt.matrix = porous;
  mt.vf = v;
  const EngConstants lmt = concentration_scheme(mt, 3);
  const Ply5 lkrim = lth(bundle, porous, v, 2, rvetype, 1);
  const double mt_ply[2] = {lmt[0], lmt[8]}, krim_ply[2] = {lkrim[0], lkrim[4]};
  const double numt = foye(mt_ply, porous), nukrim = foye(krim_ply, porous);

  Mat6 b = inverse(bcyl);
  const double b12_old = b(1, 2), b21_old = b(2, 1), nuf = f[8];
  b(1, 1) *= lmt[0] / lkrim[0];
  b(2, 2) *= lmt[1] / lkrim[1];
  b(4, 4) *= lmt[1] / lkrim[1];
  b(5, 5) *= lmt[5] / lkrim[2];
  b(3, 2) = b(2, 3) * (numt * vm + nuf * v) / (nuf * v + nukrim * vm);
  const double d12 = sf(1, 2) - sm(1, 2), d11 = sf(1, 1) - sm(1, 1), q = vm * b(2, 2) + v;
  const double b32 = b(3, 2);
  b(1, 2) = ((b(1, 1) - b(2, 2)) * q * d12 - (vm * b(1, 1) + v) * d12 * b32 + d12 * vm * b32 * b32) /
            (q * d11 - vm * d11 * b32);
  b(2, 1) = (lmt[0] / lmt[1]) * b12_old * b21_old / ((lkrim[0] / lkrim[1]) * b(1, 2));
  b(3, 1) = b(2, 1);
  b(1, 3) = b(1, 2);
  b(2, 3) = b(3, 2);
  b(3, 3) = b(2, 2);
  b(6, 6) = b(5, 5);

  std::array<double, 12> ch{};
  if (given(strengthprops)) {
    const double fibre[4] = {f[0], f[1], f[5], strengthprops[0]};
    const double matrix[5] = {m[0], 0.0, strengthprops[1], strengthprops[2], strengthprops[3]};
    const auto ud = ud_strengths(b, fibre, matrix, v);
    std::copy(ud.begin(), ud.end(), ch.begin() + 9);
  }
  const EngConstants eng = engineering_constants(bridged_compliance(t, inverse(bryz) * b * bcyl));
  std::copy(eng.begin(), eng.end(), ch.begin());
  return ch;
}

Constituents constituents(const double* fiberprops, const double* matrixprops, const double* vf,
                          const double* vvoid, const double* vint, const double* interprops,
                          const double* yzratio, const int* voidtype) {
  Constituents k;
  k.fibre = fiberprops;
  k.matrix = matrixprops;
  k.vf = *vf;
  k.vvoid = vvoid ? *vvoid : 0.0;
  k.vint = vint ? *vint : 0.0;
  k.interprops = interprops;
  k.yzratio = yzratio ? *yzratio : 1.0;
  k.voidtype = voidtype ? *voidtype : 0;
  return k;
}

}  // namespace tavrin::micromechanic

namespace {

namespace mm = tavrin::micromechanic;
using mm::constituents;

template <std::size_t N>
void store(double* out, const std::array<double, N>& r) {
  std::copy(r.begin(), r.end(), out);
}

}  // namespace

extern "C" {

void Voigt(double* vt, const double* fiberprops, const double* matrixprops, const double* vf,
           const double* vvoid, const double* vint, const double* interprops, const int* voidtype) {
  tavrin::c_boundary(__func__, [&] {
    store(vt, mm::voigt_bound(constituents(fiberprops, matrixprops, vf, vvoid, vint, interprops, nullptr,
                                           voidtype)));
  });
}
void Reuss(double* rs, const double* fiberprops, const double* matrixprops, const double* vf,
           const double* vvoid, const double* vint, const double* interprops, const int* voidtype) {
  tavrin::c_boundary(__func__, [&] {
    store(rs, mm::reuss_bound(constituents(fiberprops, matrixprops, vf, vvoid, vint, interprops, nullptr,
                                           voidtype)));
  });
}
void Dilute(double* es, const double* fiberprops, const double* matrixprops, const double* vf,
            const double* vvoid, const double* vint, const double* interprops, const double* yzratio,
            const int* voidtype) {
  tavrin::c_boundary(__func__, [&] {
    store(es, mm::concentration_scheme(
                  constituents(fiberprops, matrixprops, vf, vvoid, vint, interprops, yzratio, voidtype), 0));
  });
}
void MoriTanaka(double* mt, const double* fiberprops, const double* matrixprops, const double* vf,
                const double* vvoid, const double* vint, const double* interprops, const double* yzratio,
                const int* voidtype) {
  tavrin::c_boundary(__func__, [&] {
    store(mt, mm::concentration_scheme(
                  constituents(fiberprops, matrixprops, vf, vvoid, vint, interprops, yzratio, voidtype), 3));
  });
}
void Chow(double* cw, const double* fiberprops, const double* matrixprops, const double* vf,
          const double* vvoid, const double* vint, const double* interprops, const double* yzratio,
          const int* voidtype) {
  tavrin::c_boundary(__func__, [&] {
    store(cw, mm::concentration_scheme(
                  constituents(fiberprops, matrixprops, vf, vvoid, vint, interprops, yzratio, voidtype), 4));
  });
}
void Lielens(double* li, const double* fiberprops, const double* matrixprops, const double* vf,
             const double* vvoid, const double* vint, const double* interprops, const double* yzratio,
             const int* voidtype) {
  tavrin::c_boundary(__func__, [&] {
    store(li, mm::concentration_scheme(
                  constituents(fiberprops, matrixprops, vf, vvoid, vint, interprops, yzratio, voidtype), 5));
  });
}
void HashinShtrikman(double* hs, const double* fiberprops, const double* matrixprops, const double* vf,
                     const int* luflag, const double* vvoid, const double* vint, const double* interprops,
                     const double* yzratio, const int* voidtype) {
  tavrin::c_boundary(__func__, [&] {
    store(hs, mm::concentration_scheme(
                  constituents(fiberprops, matrixprops, vf, vvoid, vint, interprops, yzratio, voidtype),
                  *luflag > 0 ? 2 : 1));
  });
}
void Mura(double* ma, const double* fiberprops, const double* matrixprops, const double* vf,
          const double* vvoid, const double* vint, const double* interprops, const double* yzratio,
          const int* voidtype) {
  tavrin::c_boundary(__func__, [&] {
    store(ma, mm::mura(constituents(fiberprops, matrixprops, vf, vvoid, vint, interprops, yzratio, voidtype)));
  });
}
void CSCS(double* sc, const double* fiberprops, const double* matrixprops, const double* vf,
          const double* vvoid, const double* vint, const double* interprops, const double* yzratio,
          const int* voidtype, const int* maxit, const double* threshold) {
  tavrin::c_boundary(__func__, [&] {
    store(sc, mm::cscs(constituents(fiberprops, matrixprops, vf, vvoid, vint, interprops, yzratio, voidtype),
                       maxit ? *maxit : 200, threshold ? *threshold : 1e-8));
  });
}
void Huang(double* hg, const double* fiberprops, const double* matrixprops, const double* vf,
           const double* vvoid, const double* vint, const double* interprops, const double* strengthprops,
           const double* cp, const int* voidtype) {
  tavrin::c_boundary(__func__, [&] {
    store(hg, mm::huang(constituents(fiberprops, matrixprops, vf, vvoid, vint, interprops, nullptr, voidtype),
                        strengthprops, cp));
  });
}
void Cumulative(double* ch, const double* fiberprops, const double* matrixprops, const double* vf,
                const double* vvoid, const double* vint, const double* interprops,
                const double* strengthprops, const double* yzratio, const int* voidtype,
                const int* rvetype) {
  tavrin::c_boundary(__func__, [&] {
    store(ch, mm::cumulative(
                  constituents(fiberprops, matrixprops, vf, vvoid, vint, interprops, yzratio, voidtype),
                  strengthprops, rvetype ? *rvetype : 1));
  });
}

}
