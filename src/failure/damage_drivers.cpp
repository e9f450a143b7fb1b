#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <string_view>

#include "failure/damage.hpp"
#include "failure/delcollection.hpp"
#include "failure/fbcollection.hpp"
#include "failure/gpcollection.hpp"
#include "failure/mccollection.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/transforms.hpp"
#include "mechanics/laminate_stiffness.hpp"
#include "mechanics/ply_stiffness.hpp"
#include "mechanics/ply_strains.hpp"

namespace tavrin::damage {
namespace {

// Joins texts into one latch message (at most 80 characters).
struct Message {
  std::array<char, 80> text{};
  std::size_t n = 0;
  Message& operator<<(std::string_view part) {
    for (const char c : part)
      if (n < text.size()) text[n++] = c;
    return *this;
  }
  std::string_view view() const { return {text.data(), n}; }
};

// The first text less its trailing blanks, then the second.
void unlisted(std::string_view first, std::string_view second) {
  while (!first.empty() && first.back() == ' ') first.remove_suffix(1);
  xerr(-2, (Message{} << first << second).view());
}

// The material tables' column (layer, isec) of nlayer plies and nsec
// sections; `valid` false (latched -3) when the indices select none, or for
// an interface, no ply above layer.
struct Column {
  std::ptrdiff_t index = 0;  // (isec - 1)·nlayer + layer - 1
  bool valid = false;

  Column(int layer, int nlayer, int isec, int nsec, std::string_view routine, bool interface = false) {
    const int last = interface ? nlayer - 1 : nlayer;
    valid = layer >= 1 && layer <= last && isec >= 1 && isec <= nsec;
    if (!valid) {
      xerr(-3, (Message{} << "Ply or section index selects no table column in " << routine).view());
      return;
    }
    index = std::ptrdiff_t(isec - 1) * nlayer + (layer - 1);
  }
  template <class T>
  const T* in(const T* table, int nrows, int shift = 0) const {
    return table + (index + shift) * nrows;
  }
};

struct Ply {
  double s11, s22, s33, s12, s13, s23;
  double xt11, xt22, xt33, xc11, xc22, xc33, x12, x13, x23, ilss;

  Ply(const double* s, const double* x)
      : s11(s[0]), s22(s[1]), s33(s[2]), s12(s[3]), s13(s[4]), s23(s[5]), xt11(x[0]), xt22(x[1]),
        xt33(x[2]), xc11(x[3]), xc22(x[4]), xc33(x[5]), x12(x[6]), x13(x[7]), x23(x[8]), ilss(x[9]) {}
};

// f = 1 when the effort reaches 1 (never for NaN).
void settle(double* f, double* r, double effort) {
  *r = effort;
  *f = effort >= 1.0 ? 1.0 : 0.0;
}

constexpr int ptype0 = 0;

// The general criteria of both the general and the fibre driver.
double poly_camanho(const Ply& p) {
  double r = 0.0;
  GPPolyCamanho(&r, &p.s11, &p.s22, &p.s33, &p.s12, &p.s13, &p.s23, &p.xt11, &p.xc11, &p.xt22, &p.xc22, &p.x12,
                &p.x13, &p.x23, nullptr, &ptype0);
  return r;
}
double polynomial(const Ply& p) {
  double r = 0.0;
  GPPolynomial(&r, &p.s11, &p.s22, &p.s33, &p.s12, &p.s13, &p.s23, &p.xt11, &p.xc11, &p.xt22, &p.xc22,
               &p.xt33, &p.xc33, &p.x12, &p.x13, &p.x23, nullptr, &ptype0);
  return r;
}
using Interaction = void (*)(double*, const double*, const double*, const double*, const double*,
                             const double*, const double*, const double*, const double*);
double interaction(Interaction f, const Ply& p) {
  double r = 0.0;
  f(&r, &p.s11, &p.s22, &p.s12, &p.xt11, &p.xc11, &p.xt22, &p.xc22, &p.x12);
  return r;
}
double max_nominal(const Ply& p) {
  double r = 0.0;
  GPMaxNominal(&r, &p.s11, &p.xt11, &p.xc11);
  return r;
}
double quad_nominal(const Ply& p) {
  double r = 0.0;
  GPQuadNominal(&r, &p.s11, &p.s12, &p.s13, &p.xt11, &p.x12, &p.x13);
  return r;
}
double yamada_sun(const Ply& p) {
  double r = 0.0;
  GPYamadaSunInteraction(&r, &p.s11, &p.s12, &p.s13, &p.xt11, &p.xc11, &p.x12, &p.x13);
  return r;
}

}  // namespace

void generalfailure(double* fgp, double* rgp, const double* plystress, const double* psprops,
                    const double* /*plyorientation*/, const int* layer, const int* nlayer, const int* isec,
                    const int* nsec, const int* gpflag) {
  *fgp = *rgp = 0.0;
  const Column c(*layer, *nlayer, *isec, *nsec, "GeneralFailure");
  if (!c.valid) return;
  const Ply p(plystress, c.in(psprops, 10));
  double r = 0.0;
  switch (*gpflag) {
    case 0: break;
    case 1: r = max_nominal(p); break;
    case 2: r = quad_nominal(p); break;
    case 3: r = interaction(GPLinInteraction, p); break;
    case 4: r = interaction(GPQuadInteraction, p); break;
    case 5: r = interaction(GPNorrisInteraction, p); break;
    case 6: r = yamada_sun(p); break;
    case 7: r = poly_camanho(p); break;
    case 8: r = polynomial(p); break;
    default:
      unlisted("Warning: Default case in GeneralFailure subroutine.", "Please check your input parameters.");
      return;
  }
  settle(fgp, rgp, r);
}

void fiberbreakage(double* ffb, double* rfb, const double* plystress, const double* peprops,
                   const double* psprops, const double* /*plyorientation*/, const int* layer, const int* nlayer,
                   const int* isec, const int* nsec, const int* fbflag) {
  *ffb = *rfb = 0.0;
  const Column c(*layer, *nlayer, *isec, *nsec, "FiberBreakage");
  if (!c.valid) return;
  const Ply p(plystress, c.in(psprops, 10));
  const double* e = c.in(peprops, 9);  // E1, E2, G12, ν12 at 1, 2, 7, 4
  double r = 0.0;
  switch (*fbflag) {
    case 0: break;
    case 1: r = max_nominal(p); break;
    case 2: r = quad_nominal(p); break;
    case 3: FBHashin(&r, &p.s11, &p.s12, &p.s13, &p.xt11, &p.xc11, &p.x12, &p.x13, nullptr); break;
    case 4: FBChangChang(&r, &p.s11, &p.s12, &p.xt11, &p.xc11, &p.x12); break;
    case 5: FBChristensen(&r, &p.s11, &p.s22, &p.s33, &p.xt11, &p.xc11); break;
    case 6: r = poly_camanho(p); break;
    case 7: r = polynomial(p); break;
    case 8: r = interaction(GPLinInteraction, p); break;
    case 9: r = interaction(GPQuadInteraction, p); break;
    case 10: r = interaction(GPNorrisInteraction, p); break;
    case 11: r = yamada_sun(p); break;
    case 12:
      FBLaRC04(&r, &p.s11, &p.s22, &p.s33, &p.s12, &p.s13, &p.s23, &p.xt11, &p.xc11, &p.xt22, &p.xc22, &p.x12,
               &e[0], &e[1], &e[6], &e[3], nullptr, nullptr, nullptr);
      break;
    case 13:
      FBLaRC05(&r, &p.s11, &p.s22, &p.s33, &p.s12, &p.s13, &p.s23, &p.xt11, &p.xc11, &p.xt22, &p.xc22, &p.x12,
               &e[6], nullptr, nullptr, nullptr, nullptr);
      break;
    default:
      unlisted("Warning: Default case in FiberBreakage subroutine.", "Please check your input parameters.");
      return;
  }
  settle(ffb, rfb, r);
}

namespace {

// The parameters of the angle-searching matrix criteria, their defaults
// overridden by the leading given entries of the ply's pdprops column.
struct PlaneParameters {
  double theta = -1.0;  // fracture angle, radians; -1: none yet
  double a0 = 53.0;     // degrees
  double sainc = 5.0;   // degrees
  int gsflag = 1;
  std::array<double, 4> puck{0.3, 0.2, 0.15, 0.15};
  std::array<double, 5> spc3d;  // xcs(3), gp(2)
  std::array<double, 6> vdi{0.3, 0.3, 0.25, 0.25, 0.5, 0.5};

  PlaneParameters(const Ply& p, const double* given, int nprops, int mcflag, double defreal)
      : spc3d{p.x12, p.x13, p.x23, 0.3, -0.3} {
    int n = 0;
    while (n < nprops && given[n] != defreal) ++n;
    if (n == 0 || std::find(given, given + n, -1.0) != given + n) return;
    const auto last_two = [&] {
      sainc = given[n - 2];
      const double g = std::trunc(given[n - 1]);
      gsflag = g >= -2147483648.0 && g <= 2147483647.0 ? int(g) : 0;  // NaN and beyond int: off
    };
    const auto take = [&](auto& to) { std::copy(given, given + to.size(), to.begin()); };
    switch (mcflag) {
      case 9:
        if (n == 4) take(puck);
        else if (n == 2 || n == 6) last_two();
        break;
      case 10:
      case 11:
        if (n == 1) a0 = given[0];
        else if (n == 2 || n == 3) last_two();
        break;
      case 12:
        if (n == 5) take(spc3d);
        else if (n == 2 || n == 7) last_two();
        break;
      case 13:
        if (n == 6) take(vdi);
        else if (n == 2 || n == 8) last_two();
        break;
      default: theta = given[0] * math::deg2rad;
    }
  }
};

}  // namespace
}  // namespace tavrin::damage

extern "C" void MatrixCracking(double* fmc, double* rmc, const double* plystress, const double* peprops,
                               const double* psprops, const double* pdprops, const double* /*plyorientation*/,
                               const int* layer, const int* nlayer, const int* isec, const int* nsec,
                               const int* nprops, const int* mcflag, double* outtheta, const double* defreal) {
  using namespace tavrin::damage;
  *fmc = *rmc = 0.0;
  const Column c(*layer, *nlayer, *isec, *nsec, "MatrixCracking");
  if (!c.valid) return;
  const Ply p(plystress, c.in(psprops, 10));
  const double* e = c.in(peprops, 9);
  const int np = std::max(*nprops, 0);
  PlaneParameters q(p, c.in(pdprops, np), np, *mcflag, defreal ? *defreal : not_given);
  double* th = &q.theta;
  double r = 0.0;
  switch (*mcflag) {
    case 0: break;
    case 1: MCrckHashinPS(&r, &p.s22, &p.s12, &p.xt22, &p.xc22, &p.x12, &p.x23); break;
    case 2: MCrckHashin3D(&r, &p.s22, &p.s12, &p.s13, &p.s23, &p.xt22, &p.xc22, &p.x12, &p.x23); break;
    case 3:
      MCrckHashinComplete(&r, &p.s22, &p.s33, &p.s12, &p.s13, &p.s23, &p.xt22, &p.xc22, &p.x12, &p.x23);
      break;
    case 4:
      MCrckHashin1989(&r, &p.s22, &p.s33, &p.s12, &p.s13, &p.s23, &p.xt22, &p.xc22, &p.xt33, &p.xc33, &p.x12,
                      &p.x13, &p.x23);
      break;
    case 5: MCrckChai(&r, &p.s22, &p.s12, &p.s23, &p.xt22, &p.xc22, &p.x12, &p.x23, nullptr); break;
    case 6: MCrckChangChang(&r, &p.s22, &p.s12, &p.xt22, &p.xc22, &p.x12); break;
    case 7:
      MCrckCuntze2004(&r, &p.s22, &p.s33, &p.s12, &p.s13, &p.s23, &p.xt22, &p.xc22, &p.x12, &p.x13, nullptr,
                      nullptr);
      break;
    case 8:
      MCrckCuntze2012(&r, &p.s22, &p.s33, &p.s12, &p.s13, &p.s23, &p.xt22, &p.xc22, &p.x12, nullptr, nullptr);
      break;
    case 9:
      MCrckPuck(&r, &p.s22, &p.s33, &p.s12, &p.s13, &p.s23, &p.xt22, &p.xc22, &p.x12, th, q.puck.data(),
                &q.sainc, &q.gsflag, nullptr);
      break;
    case 10:
      MCrckWiegand(&r, &p.s22, &p.s33, &p.s12, &p.s13, &p.s23, &p.xt22, &p.xc22, &p.x12, th, &q.a0, &q.sainc,
                   &q.gsflag);
      break;
    case 11:
      MCrckCamanho(&r, &p.s22, &p.s33, &p.s12, &p.s13, &p.s23, &p.xt22, &p.xc22, &p.x12, &p.x23, th, &q.a0,
                   &q.sainc, &q.gsflag);
      break;
    case 12:
      MCrckSPC3D(&r, &p.s22, &p.s33, &p.s12, &p.s13, &p.s23, &p.xt11, &p.xc11, &p.xt22, &p.xc22, &p.xt33,
                 &p.xc33, &p.x12, &p.x13, &p.x23, q.spc3d.data(), th, q.spc3d.data() + 3, &q.sainc, nullptr,
                 &q.gsflag);
      break;
    case 13:
      MCrckVDI2014(&r, &p.s11, &p.s22, &p.s33, &p.s12, &p.s13, &p.s23, &p.xt11, &p.xc11, &p.xt22, &p.xc22,
                   &p.x12, th, q.vdi.data(), q.vdi.data() + 4, &q.sainc, &q.gsflag);
      break;
    case 14:
      MCrckLaRC04(&r, &p.s11, &p.s22, &p.s33, &p.s12, &p.s13, &p.s23, &p.xt11, &p.xc11, &p.xt22, &p.xc22,
                  &p.x12, &e[0], &e[1], &e[6], &e[3], nullptr, nullptr, nullptr, &q.sainc, nullptr, &q.gsflag);
      break;
    case 15:
      MCrckLaRC05(&r, &p.s22, &p.s33, &p.s12, &p.s13, &p.s23, &p.xt22, &p.xc22, &p.x12, nullptr, th, &q.sainc,
                  &q.gsflag);
      break;
    default:
      unlisted("Warning: Default case in MatrixCracking subroutine", ". Please check your input parameters.");
      return;
  }
  settle(fmc, rmc, r);
  if (outtheta && *outtheta < 0.0 && *fmc == 1.0) *outtheta = q.theta;
}

namespace tavrin::damage {

void delamination(double* fdel, double* rdel, const double* s33i, const double* lplystress,
                  const double* uplystress, const double* peprops, const double* psprops,
                  const double* plyorientation, const double* plythickness, const int* layer, const int* nlayer,
                  const int* isec, const int* nsec, const int* delflag) {
  *fdel = *rdel = 0.0;
  const Column c(*layer, *nlayer, *isec, *nsec, "Delamination", true);
  if (!c.valid) return;
  const Ply l(lplystress, c.in(psprops, 10));
  const Ply u(uplystress, c.in(psprops, 10, 1));
  // Criteria run on the lower ply and, when the upper ply has the strengths
  // they use, on the upper one; the larger effort counts.
  const auto both = [&](auto criterion, auto upper_has) {
    const double lower = criterion(l);
    if (!upper_has(u)) return lower;
    const double upper = criterion(u);
    return std::isnan(lower) || upper > lower ? upper : lower;
  };
  const auto tension_compression_ilss = [](const Ply& p) { return p.xt22 != 0.0 && p.xc22 != 0.0 && p.ilss != 0.0; };
  const auto through_thickness_ilss = [](const Ply& p) { return p.xt33 != 0.0 && p.xc33 != 0.0 && p.ilss != 0.0; };
  double r = 0.0;
  switch (*delflag) {
    case 0: break;
    case 1: {
      // Chai's factors from the two plies' stiffness, thicknesses and the
      // angle of ply `layer` against the ply below it.
      const double* el = c.in(peprops, 9);
      const double* eu = c.in(peprops, 9, 1);
      constexpr int ntens = 3, below = 0;
      double qonl[9], qonu[9], df[3];
      GetNyeStiffnessMatrix(qonl, el, &ntens, nullptr);
      GetNyeStiffnessMatrix(qonu, eu, &ntens, nullptr);
      const double* orientation = plyorientation + std::ptrdiff_t(*isec - 1) * *nlayer;
      const double dangle = GetdAngle(orientation, &below, layer, nlayer);
      const double* thick = plythickness + c.index;
      GetChaiDelamFactors(df, qonl, qonu, &dangle, &thick[0], &thick[1], &el[8], &eu[8], &el[7], &eu[7]);
      DelChai(&r, &l.s22, &l.s13, &u.s23, &l.xt22, &l.xc22, &u.x23, &l.ilss, &df[0], &df[1], &df[2]);
      break;
    }
    case 2: {
      const double ilssu = u.ilss == 0.0 ? l.ilss : u.ilss;
      DelChoiChang(&r, &l.s22, &l.s13, &u.s23, &l.xt22, &l.xc22, &l.ilss, &ilssu, nullptr);
      break;
    }
    case 3:
      r = both([&](const Ply& p) {
        double e = 0.0;
        DelPuck(&e, s33i, &p.s13, &p.s23, &p.xt22, &p.xc22, &p.ilss, nullptr);
        return e;
      }, tension_compression_ilss);
      break;
    case 4:
      r = both([](const Ply& p) {
        constexpr double sainc = 1.0, salims[2] = {178.0, 182.0};
        constexpr int gsflag = 0;
        double e = 0.0;
        MCrckSPC3D(&e, &p.s22, &p.s33, &p.s12, &p.s13, &p.s23, &p.xt11, &p.xc11, &p.xt22, &p.xc22, &p.xt33,
                   &p.xc33, &p.x12, &p.x13, &p.x23, nullptr, nullptr, nullptr, &sainc, salims, &gsflag);
        return e;
      }, [](const Ply& p) {
        const double x[9] = {p.xt11, p.xt22, p.xt33, p.xc11, p.xc22, p.xc33, p.x12, p.x13, p.x23};
        return std::none_of(x, x + 9, [](double v) { return v == 0.0; });
      });
      break;
    case 5:
      r = both([&](const Ply& p) {
        double e = 0.0;
        DelHashin(&e, s33i, &p.s13, &p.s23, &p.xt22, &p.xc22, &p.ilss);
        return e;
      }, tension_compression_ilss);
      break;
    case 6:
      r = both([&](const Ply& p) {
        double e = 0.0;
        DelOchoaEngblom(&e, s33i, &p.s13, &p.s23, &p.xt33, &p.xc33, &p.ilss);
        return e;
      }, through_thickness_ilss);
      break;
    case 7:
      r = both([&](const Ply& p) {
        double e = 0.0;
        DelLee(&e, s33i, &p.s12, &p.s13, &p.xt33, &p.xc33, &p.ilss);
        return e;
      }, through_thickness_ilss);
      break;
    default:
      unlisted("Warning: Default case in Delamination subroutine", ". Please check your input parameters.");
      return;
  }
  settle(fdel, rdel, r);
}

void corecrushing(double* fcc, double* rcc, const double* /*plystress*/, const double* /*psprops*/,
                  const double* /*plyorientation*/, const int* layer, const int* nlayer, const int* isec,
                  const int* nsec, const int* ccflag) {
  *fcc = *rcc = 0.0;
  const Column c(*layer, *nlayer, *isec, *nsec, "CoreCrushing");
  if (!c.valid) return;
  // No core-crushing criterion is wired to the ply's inputs: flags 1 and 2
  // evaluate nothing.
  if (*ccflag < 0 || *ccflag > 2)
    unlisted("Warning: Default case in CoreCrushing subroutine", ". Please check your input parameters.");
}

}  // namespace tavrin::damage
