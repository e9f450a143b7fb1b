// Cure kinetics at a material point: the degree of cure advanced over an
// increment, its heat of reaction and the thermal and shrinkage strains.
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "foundation/errorhandling.hpp"
#include "foundation/boundary.hpp"
#include "foundation/search.hpp"
#include "foundation/shared_state.hpp"
#include "mechanics/prony.hpp"
#include "solver/name_tags.hpp"
#include "solver/prony_material.hpp"

namespace tavrin::toplevel {

PlySection cure_ply_section(std::string_view name) {
  const int n = int(std::min<std::size_t>(name.size(), 80));
  const int ply = std::max(iohandling::getxidfromstring(name, n, "l"), 1);
  const int id = std::max(iohandling::getxidfromstring(name, n, "s"), 1);
  int section = -1;
  const auto& ids = sectiondata::secidlist;
  if (ids.allocated()) {
    const int nsec = ids.size(1);
    section = iFindLocation(&id, ids.data(), &nsec, nullptr);
  }
  return {ply, std::max(section, 1)};
}

std::span<const double> cure_column(int kind, PlySection at) {
  const auto& cu = materialdata::cuprops;
  if (!cu.allocated() || cu.size(1) < 1 || kind < 1 || kind > cu.size(2) || at.ply > cu.size(3) ||
      at.section > cu.size(4))
    return {};
  return {&cu(1, kind, at.ply, at.section), std::size_t(cu.size(1))};
}

namespace {

enum CureKind { gel_point = 1, enthalpy = 2, expansion = 3, shrinkage = 4, curing = 5, transition = 6, rate_fit = 7 };
// Rows of the cure-rate fit (A1, E1, A2, E2, n, m, p, upper temperature).
constexpr int fit_row = 8;

// Entries 1..n of column `kind` of the ply's cure table, all given; latches
// -2 naming the routine, the kind and the ply otherwise.
std::optional<std::span<const double>> needed(const char* routine, int kind, int n, PlySection at) {
  const auto column = cure_column(kind, at);
  if (int(column.size()) >= n &&
      std::none_of(column.begin(), column.begin() + n, [](double x) { return x == not_given; }))
    return column.first(std::size_t(n));
  const int detail[4] = {kind, n, at.ply, at.section};
  xerr(-2, std::string_view(routine), detail);
  return std::nullopt;
}

// The cure state of slots 1-4 after an increment.
struct Cure {
  double alpha = 0.0, rate = 0.0, tg = 0.0, alpha_max = 0.0;
};

// The degree of cure advanced over dtime at temperature t from slots 1 and
// 4 (slot 1 read as alpha0), with its rate and glass transition
// temperature; nothing when a needed cure entry is missing (latched).
std::optional<Cure> advance(const char* routine, PlySection at, double alpha0, double alpha_max0, double t,
                            double dtime) {
  const auto c = needed(routine, curing, 2, at);
  const auto tg = needed(routine, transition, 3, at);
  if (!c || !tg) return std::nullopt;
  Cure s;
  s.alpha_max = std::max(alpha_max0, 1.0 / (1.0 + std::exp((*c)[1] - (*c)[0] * (t - 273.15))));
  s.alpha = alpha0;
  if (alpha0 < s.alpha_max) {
    // The rate fit: its entries up to the first not-given one, whole rows.
    const auto column = cure_column(rate_fit, at);
    const auto given = std::find(column.begin(), column.end(), not_given) - column.begin();
    if (given < fit_row) {
      const int detail[4] = {rate_fit, fit_row, at.ply, at.section};
      xerr(-2, std::string_view(routine), detail);
      return std::nullopt;
    }
    const int nc = int(given);
    s.alpha = FuncDegree(column.data(), &t, &alpha0, &dtime, &s.alpha_max, &nc);
    s.rate = CureRate(column.data(), &t, &s.alpha, &s.alpha_max, &nc);
  }
  // DiBenedetto's law, in kelvin.
  const double tg0 = (*tg)[0], tginf = (*tg)[1], lambda = (*tg)[2];
  const double den = 1.0 - (1.0 - lambda) * s.alpha;
  if (den == 0.0) {
    const double detail[2] = {lambda, s.alpha};
    xerr(-2, std::string_view(routine), {}, detail);
    return std::nullopt;
  }
  s.tg = (tginf - tg0) * lambda * s.alpha / den + tg0 + 273.15;
  return s;
}

void store(double* svar, const Cure& s) {
  svar[0] = s.alpha;
  svar[1] = s.rate;
  svar[2] = s.tg;
  svar[3] = s.alpha_max;
}

constexpr char hetval_message[] = "hetval_prony: cure data of the ply missing or unusable";
constexpr char uexpan_message[] = "uexpan_prony: cure data of the ply missing or unusable";

}  // namespace

void hetval_prony(const char* cmname, const double* temp, const double* /*time*/, const double* dtime, double* svar,
                  double* flux, const double* /*predef*/, const double* /*dpred*/, std::size_t cmname_len) {
  tavrin::c_boundary(__func__, [&] {
    const PlySection at = cure_ply_section(std::string_view(cmname, cmname_len));
    const auto heat = needed(hetval_message, enthalpy, 1, at);
    const auto s = heat ? advance(hetval_message, at, svar[0], svar[3], temp[0], *dtime) : std::nullopt;
    if (!s) {
      flux[0] = 0.0;
      return;
    }
    store(svar, *s);
    flux[0] = (*heat)[0] * s->rate;
  });
}

void uexpan_prony(double* expan, double* dexpandt, const double* temp, const double* time, const double* dtime,
                  const double* /*predef*/, const double* /*dpred*/, double* svar, const char* cmname,
                  const int* nstatv, const int* /*noel*/, std::size_t cmname_len) {
  tavrin::c_boundary(__func__, [&] {
    constexpr int nslots = 508;
    if (*nstatv < nslots) {
      xerr(-2, "uexpan_prony: fewer than 508 state variables", std::span<const int>(nstatv, 1));
      return;
    }
    std::fill(expan, expan + 6, 0.0);
    std::fill(dexpandt, dexpandt + 6, 0.0);
    const PlySection at = cure_ply_section(std::string_view(cmname, cmname_len));
    const double t = temp[0] + temp[1];
    // At the start of the analysis the cure starts afresh (slot 4 keeps its largest value).
    const double alpha0 = time[1] == 0.0 ? 0.0 : svar[0];
    const auto s = advance(uexpan_message, at, alpha0, svar[3], t, *dtime);
    if (!s) return;

    // Glassy below Tg; above it liquid until the gel point, rubbery from it.
    std::optional<std::span<const double>> cte, beta;
    int first = 0;
    if (t < s->tg) {
      cte = needed(uexpan_message, expansion, 3, at);
      beta = needed(uexpan_message, shrinkage, 3, at);
    } else if (const auto gel = needed(uexpan_message, gel_point, 1, at); !gel) {
      return;
    } else if (s->alpha >= (*gel)[0]) {
      first = 3;
      cte = needed(uexpan_message, expansion, 6, at);
      beta = needed(uexpan_message, shrinkage, 6, at);
    } else {
      cte = beta = std::span<const double>();  // liquid: no coefficients
    }
    if (!cte || !beta) return;

    store(svar, *s);
    for (int i = 0; i < 3; ++i) {
      const bool liquid = cte->empty();
      const double th = liquid ? 0.0 : (*cte)[std::size_t(first + i)] * temp[1];
      const double ch = liquid ? 0.0 : (*beta)[std::size_t(first + i)] * s->rate * *dtime;
      expan[i] = th + ch;
      if (i < 2) svar[6 + i] = ch;
      svar[502 + i] += th;
      svar[505 + i] += ch;
    }
  });
}

}  // namespace tavrin::toplevel
