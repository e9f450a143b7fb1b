#include "solver/shokrieh_material.hpp"

#include <algorithm>
#include <cmath>

#include "elements/layouts.hpp"
#include "failure/fatigue.hpp"
#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/shared_state.hpp"
#include "foundation/small_matrix.hpp"
#include "foundation/transforms.hpp"
#include "mechanics/ply_rotation.hpp"
#include "solver/point_trace.hpp"
#include "solver/usermat_entry.hpp"

namespace tavrin::toplevel {
namespace {

constexpr int nallslots = 312, half = nallslots / 2;
constexpr int nlayer = 77;                  // values of one layer's fatigue state
constexpr int layer_state = 1, layer_backup = half + 1;  // 0-based offsets of layer 1's state and backup
constexpr int layer_stress = 52;            // 0-based entry of the layer stress in its state
constexpr double uninitialised = 9.9e34;

// Fresh state of a point: cycle numbers and last jumps, and the stiffness
// and strength fractions of both layers; then the backup half.
void initial_values(double* statev, int idcflag) {
  const double start = idcflag == 1 ? 0.0 : 1.0;
  for (const int slot : {2, 45, 79, 122}) statev[slot - 1] = start;
  std::fill(statev + 59, statev + 74, 1.0);    // slots 60-74
  std::fill(statev + 136, statev + 151, 1.0);  // slots 137-151
  statev[half - 1] = 0.0;
  std::copy(statev, statev + half, statev + half);
}

}  // namespace

void umat_shokrieh(double* stress, double* statev, double* ddsdde, double* sse, double* /*spd*/, double* /*scd*/,
                   double* /*rpl*/, double* /*ddsddt*/, double* /*drplde*/, double* /*drpldt*/, const double* stran,
                   const double* dstran, const double* time, const double* dtime, const double* temp,
                   const double* dtemp, const double* /*predef*/, const double* /*dpred*/, const char* /*materl*/,
                   const int* /*ndi*/, const int* /*nshr*/, const int* ntens, const int* nallstatv,
                   const double* props, const int* nprops, const double* /*coords*/, const double* /*drot*/,
                   double* /*pnewdt*/, const double* /*celent*/, const double* /*dfgrd0*/,
                   const double* /*dfgrd1*/, const int* noel, const int* /*npt*/, const int* kslay,
                   const int* kspt, const int* jstep, const int* kinc, std::size_t /*materl_len*/) {
  tavrin::c_boundary(__func__, [&] {
    const int n = *ntens;
    if (*nallstatv != nallslots || *nprops < 150 || (n != 3 && n != 4 && n != 6)) {
      const int dims[3] = {n, *nallstatv, *nprops};
      xerr(-2, "umat_shokrieh: needs 312 state variables, 150 properties and 3, 4 or 6 components", dims);
      return;
    }
    const PointTrace trace(*noel == debugdata::edebug);
    const int idcflag = jstep[1] == 6 || jstep[1] == 7 ? 1 : 0;
    const int iszflag = n == 3 ? 0 : 1;
    const std::string_view stars = "**************************************************";
    trace.line(stars);
    trace.line(stars);
    trace.line(" ---------------- START TopLevel  ----------------");
    trace.line("JSTEP(2)", jstep[1]);
    if (idcflag == 1) trace.line("THIS IS AN DC ANALYSIS");
    trace.line("STATEV(NALLSTATV)", statev[nallslots - 1]);

    Vec6 old_stress;
    std::copy(stress, stress + n, old_stress.v.begin());
    if (*kinc <= 1 && (std::all_of(statev, statev + half, [](double x) { return x == 0.0; }) ||
                       statev[nallslots - 1] >= uninitialised)) {
      trace.line("SET INITIAL VALUES");
      initial_values(statev, idcflag);
    }
    trace.line(n == 3 ? "Shell elements" : n == 4 ? "Axis elements" : "Solid elements");
    trace.line(" -- Element No. ", *noel);
    trace.line(" -- Section Point ", *kspt);
    trace.line(" -- LAYER", *kslay);
    trace.line(" -- Time ", time[1]);
    trace.line(" -- Time + dtime", time[1] + *dtime);
    trace.line(" -- StepTime + dtime", time[0] + *dtime);
    trace.line(" -- Increment ", *kinc);
    if (trace.on()) {
      Vec6 end;
      for (int i = 0; i < n; ++i) end.v[std::size_t(i)] = stran[i] + dstran[i];
      trace.values(" -- Old strain ", stran, n);
      trace.values(" -- dstran ", dstran, n);
      trace.values(" -- New strain ", end.data(), n);
      trace.values(" -- Stress ", stress, n);
      trace.values(" -- INPUT DDSDDE ", ddsdde, n * n);
    }

    // Three-dimensional stress, strain and increment in the solver order.
    Vec6 s3, e3, de3;
    const double transverse[6] = {};
    const int off = 0, axial = 1;
    Get3DInputFromElem(s3.data(), e3.data(), de3.data(), stress, stran, dstran, ntens, transverse, &off, &off, &axial);
    trace.values("Rewritten strains ", e3.data(), 6);
    trace.values("Rewritten strain increments ", de3.data(), 6);
    trace.values("Rewritten stresses ", s3.data(), 6);

    statev[0] = props[148];
    const double angle = props[148] * math::deg2rad;
    trace.line("Angle", statev[0]);
    Mat6 c3;
    if (angle == 0.0) {
      GetShokrieh(s3.data(), c3.data(), statev + layer_state, e3.data(), de3.data(), props, time, dtime, temp, dtemp,
                  nprops, noel, jstep, kinc, &iszflag, &idcflag, statev + layer_backup);
    } else {
      // Two layers at ±angle, each in its own axes from the stress it kept;
      // the point takes their mean stress and mean tangent Tᵀ·C·T.
      s3 = Vec6{};
      for (int k = 0; k < 2; ++k) {
        const double layer_angle = k == 0 ? angle : -angle;
        const int six = 6, rotate = 0, strain_form = 1;
        Mat6 t;
        GetNyeTransformationMatrix(t.data(), &layer_angle, &six, &rotate, &strain_form);
        double* state = statev + layer_state + nlayer * k;
        const Vec6 e = t * e3, de = t * de3;
        Vec6 s = Vec6::load(state + layer_stress);
        Mat6 c;
        GetShokrieh(s.data(), c.data(), state, e.data(), de.data(), props, time, dtime, temp, dtemp, nprops, noel,
                    jstep, kinc, &iszflag, &idcflag, statev + layer_backup + nlayer * k);
        const Mat6 tt = transpose(t);
        s3 += 0.5 * (tt * s);
        c3 += 0.5 * (tt * c * t);
      }
    }
    for (const int slot : {78, 155})
      if (statev[slot - 1] == 0.0) statev[slot - 1] = not_given;
    trace.line("SDV 78", statev[77]);
    trace.line("SDV 155", statev[154]);

    GetElemOutputFrom3D(stress, ddsdde, s3.data(), c3.data(), ntens, &axial);
    for (int k = 0; k < n; ++k) *sse += (old_stress(k + 1) + 0.5 * (stress[k] - old_stress(k + 1))) * dstran[k];
    trace.values(" -- Tangent stiffness output ", ddsdde, n * n);
    trace.values(" -- Stress output ", stress, n);
  });
}

TAVRIN_USERMAT_ENTRY(usermat_shokrieh, umat_shokrieh)

}  // namespace tavrin::toplevel
