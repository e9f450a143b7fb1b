#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>
#include <limits>
#include <string>

#include "foundation/errorhandling.hpp"
#include "foundation/shared_state.hpp"
#include "foundation/small_matrix.hpp"
#include "solver/wrapper.hpp"

namespace tavrin {
namespace {

// What the stand-in material routines saw, and what they return.
struct Seen {
  std::array<double, 6> stress{}, strain{}, dstrain{};
  std::array<double, 2> time{};
  std::array<int, 4> jstep{};
  std::array<double, 9> drot{};
  std::array<double, 3> coords{};
  std::string name;
  int ndi = 0, nshr = 0, ntens = 0, matid = 0, calls = 0, noel = 0, kinc = 0;
  double pnewdt = 0.0, celent = 0.0;
  std::array<double, 3> energies{};  // sse, spd, scd handed to the routine
};
Seen seen;
// The stand-in's law: an isotropic stiffness (E, nu) in the solver order,
// stress = C·(strain + dstrain); or, when `fixed` is set, that stress and a
// tangent with distinct entries 10·i + j.
double young = 1.0, poisson = 0.25;
bool fixed = false;
std::array<double, 6> fixed_stress{};

Mat6 isotropic() {
  Mat6 c;
  const double lam = young * poisson / ((1 + poisson) * (1 - 2 * poisson)), g = young / (2 * (1 + poisson));
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) c(i, j) = lam;
    c(i, i) = lam + 2 * g;
    c(i + 3, i + 3) = g;
  }
  return c;
}

void record(const double* stress, const double* stran, const double* dstran, const int* ntens) {
  ++seen.calls;
  std::copy_n(stress, 6, seen.stress.begin());
  std::copy_n(stran, 6, seen.strain.begin());
  std::copy_n(dstran, 6, seen.dstrain.begin());
  seen.ntens = *ntens;
}

void respond(double* stress, double* ddsdde, const double* stran, const double* dstran) {
  Mat6 c = isotropic();
  Vec6 s;
  if (fixed) {
    for (int j = 1; j <= 6; ++j)
      for (int i = 1; i <= 6; ++i) c(i, j) = 10.0 * i + j;
    s = Vec6{fixed_stress};
  } else {
    for (int i = 1; i <= 6; ++i)
      for (int j = 1; j <= 6; ++j) s(i) += c(i, j) * (stran[j - 1] + dstran[j - 1]);
  }
  s.store(stress);
  c.store(ddsdde);
}

void umat(double* stress, double*, double* ddsdde, double* sse, double* spd, double* scd, double*, double*,
          double*, double*, const double* stran, const double* dstran, const double* time,
          const double*, const double*, const double*, const double*, const double*,
          const char* cmname, const int* ndi, const int* nshr, const int* ntens, const int*,
          const double*, const int*, const double* coords, const double* drot, double* pnewdt,
          const double* celent, const double*, const double*, const int* noel, const int*,
          const int*, const int*, const int* jstep, const int* kinc, std::size_t cmname_len) {
  record(stress, stran, dstran, ntens);
  seen.energies = {*sse, *spd, *scd};
  seen.time = {time[0], time[1]};
  std::copy_n(jstep, 4, seen.jstep.begin());
  std::copy_n(drot, 9, seen.drot.begin());
  std::copy_n(coords, 3, seen.coords.begin());
  seen.name.assign(cmname, cmname_len);
  seen.ndi = *ndi, seen.nshr = *nshr, seen.noel = *noel, seen.kinc = *kinc;
  seen.pnewdt = *pnewdt, seen.celent = *celent;
  respond(stress, ddsdde, stran, dstran);
  *sse = 7.0;
}

void usermat(const int* matid, const int*, const int*, const int*, const int*, const int* ldstep,
             const int*, int*, const int*, const int*, const int* ncomp, const int*, const int*,
             const double* time, const double*, const double*, const double*, double* stress,
             double*, double* dsdepl, double*, double*, double*, const double* strain,
             const double* dstrain, double*, const double*, const double*, double*, const double*,
             const double*, double* tsstif, double* epszz, double* var1, double*, double*, double*, double*,
             double*, double*, double*) {
  record(stress, strain, dstrain, ncomp);
  seen.energies = {*epszz, tsstif[0] + tsstif[1], *var1};  // handed over as zeros
  seen.matid = *matid;
  seen.jstep[0] = *ldstep;
  seen.time[0] = *time;
  respond(stress, dsdepl, strain, dstrain);
}

void muesli(const int* matid, double* stress, double*, double* ddsdde, double*, double*, double*,
            double*, double*, double*, double*, const double* stran, const double* dstran,
            const double*, const double*, const double*, const double*, const double*,
            const double*, const char*, const int*, const int*, const int* ntens, const int*,
            const double*, const int*, const double*, const double*, double*, const double*,
            const double*, const double*, const int*, const int*, const int*, const int*,
            const int*, const int*, std::size_t) {
  record(stress, stran, dstran, ntens);
  seen.matid = *matid;
  respond(stress, ddsdde, stran, dstran);
}

// Arguments of one ANSYS call of abq_umat_to_ansys_usermat.
struct AnsysCall {
  int matid = 1, elemid = 11, kdomintpt = 2, klayer = 3, ksectpt = 1, ldstep = 4, isubst = 5;
  int keycut = 9, ndirect = 3, nshear = 3, ncomp = 6, nstatev = 2, nprop = 1;
  double time = 0.5, dtime = 0.1, temp = 20.0, dtemp = 0.0;
  std::array<double, 6> stress{}, strain{}, dstrain{}, epspl{};
  std::array<double, 2> ustatev{};
  std::array<double, 36> dsdepl{};
  double sedel = 0.0, sedpl = 3.0, epseq = 3.0, prop = 0.0, epszz = 99.0;
  std::array<double, 3> coords{};
  std::array<double, 9> defgrad{1, 0, 0, 0, 1, 0, 0, 0, 1};
  std::array<double, 2> tsstif{99.0, 99.0};
  std::array<double, 9> var{};

  void run() {
    abq_umat_to_ansys_usermat(umat, &matid, &elemid, &kdomintpt, &klayer, &ksectpt, &ldstep, &isubst,
                              &keycut, &ndirect, &nshear, &ncomp, &nstatev, &nprop, &time, &dtime, &temp,
                              &dtemp, stress.data(), ustatev.data(), dsdepl.data(), &sedel, &sedpl, &epseq,
                              strain.data(), dstrain.data(), epspl.data(), &prop, coords.data(), &var[0],
                              defgrad.data(), defgrad.data(), tsstif.data(), &epszz, &var[1], &var[2],
                              &var[3], &var[4], &var[5], &var[6], &var[7], &var[8]);
  }
};

class Adapters : public ::testing::Test {
 protected:
  void SetUp() override {
    int reset = 0;
    errorhandling::rsxerr(reset, 1);
    seen = Seen{};
    young = 1.0, poisson = 0.25, fixed = false;
  }
};

TEST_F(Adapters, AnsysHostGetsItsOrderAndTheUmatItsFixedValues) {
  fixed = true;
  fixed_stress = {1, 2, 3, 4, 5, 6};  // solver order
  AnsysCall a;
  a.strain = {1, 2, 3, 4, 5, 6};     // ANSYS order: 23 in position 5
  a.run();
  EXPECT_EQ(a.stress, (std::array<double, 6>{1, 2, 3, 4, 6, 5}));
  EXPECT_EQ(seen.strain, (std::array<double, 6>{1, 2, 3, 4, 6, 5}));
  // The tangent 10·i + j (solver order) with rows and columns 5, 6 exchanged.
  EXPECT_EQ(a.dsdepl[4 + 6 * 4], 66.0);
  EXPECT_EQ(a.dsdepl[4 + 6 * 0], 61.0);
  EXPECT_EQ(a.dsdepl[0 + 6 * 5], 15.0);
  EXPECT_EQ(seen.name, std::string("ABQ_WRAPPER") + std::string(69, ' '));
  EXPECT_EQ(seen.time, (std::array<double, 2>{0.5, std::numeric_limits<double>::max()}));
  EXPECT_EQ(seen.jstep, (std::array<int, 4>{4, INT_MAX, 1, 0}));
  EXPECT_EQ(seen.drot, (std::array<double, 9>{1, 0, 0, 0, 1, 0, 0, 0, 1}));
  EXPECT_EQ((std::array{seen.pnewdt, seen.celent, a.sedpl, a.epseq, a.sedel}), (std::array{1.0, 1.0, 0.0, 0.0, 7.0}));
  EXPECT_EQ((std::array{seen.ndi, seen.ntens, seen.noel, seen.kinc, a.keycut}), (std::array{3, 6, 11, 5, 0}));
}

TEST_F(Adapters, AnsysShearStiffnessAndThicknessStrainFromTheTangent) {
  // Six components: only tsstif(1) = G13 = E/(2(1 + nu)) = 0.4.
  AnsysCall six;
  six.run();
  EXPECT_NEAR(six.tsstif[0], 0.4, 1e-15);
  EXPECT_EQ(six.tsstif[1], 99.0);
  EXPECT_EQ(six.epszz, 99.0);

  // Four components are taken as they are; shells get (G13, G23).
  young = 1000.0;
  AnsysCall four;
  four.ncomp = 4;
  four.dstrain = {0.001, 0, 0, 0.002};
  four.run();
  EXPECT_NEAR(four.tsstif[0], 400.0, 1e-10);
  EXPECT_NEAR(four.tsstif[1], 400.0, 1e-10);
  EXPECT_NEAR(four.stress[0], 1.2, 1e-13);
  EXPECT_NEAR(four.stress[3], 0.8, 1e-13);

  // Plane stress: E = 1, nu = 0.25 and a returned stress (1, 1, 0).
  young = 1.0;
  fixed = false;
  AnsysCall plane;
  plane.ncomp = 3, plane.ndirect = 2, plane.nshear = 1;
  plane.dstrain = {0.75, 0.75, 0.0};  // (1 - nu)·1/E: sigma = (1, 1, 0)
  plane.run();
  EXPECT_NEAR(plane.stress[0], 1.0, 1e-14);
  EXPECT_NEAR(plane.stress[1], 1.0, 1e-14);
  EXPECT_NEAR(plane.epszz, -0.5, 1e-14);
  EXPECT_NEAR(plane.tsstif[1], 0.4, 1e-15);
  EXPECT_EQ(errorhandling::errstat, 0);
}

TEST_F(Adapters, AnsysSingularTangentGivesZeroConstants) {
  young = 0.0;  // a zero tangent
  AnsysCall plane;
  plane.ncomp = 3, plane.ndirect = 2;
  plane.run();
  EXPECT_EQ(errorhandling::errstat, -2);
  EXPECT_EQ(plane.tsstif, (std::array<double, 2>{0.0, 0.0}));
  EXPECT_EQ(plane.epszz, 0.0);
}

TEST_F(Adapters, AnUnsupportedComponentCountIsRefusedBeforeTheCall) {
  AnsysCall a;
  a.ncomp = 5;
  a.stress = {1, 2, 3, 4, 5, 6};
  a.run();
  EXPECT_EQ(seen.calls, 0);
  EXPECT_EQ(errorhandling::errstat, -2);
  EXPECT_EQ(a.stress, (std::array<double, 6>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(a.keycut, 9);
}

// UMAT-side arguments of a host call of ansys_usermat_to_abq_umat or
// muesli_to_abq_umat.
struct UmatCall {
  int ndi = 3, nshr = 3, ntens = 6, nstatv = 1, nprops = 1, noel = 8, npt = 2, kslay = 1, kspt = 1, kinc = 3;
  std::array<int, 4> jstep{6, 1, 0, 0};
  std::array<double, 6> stress{}, stran{}, dstran{}, ddsddt{}, drplde{};
  std::array<double, 36> ddsdde{};
  std::array<double, 2> time{0.25, 1.25};
  std::array<double, 9> eye{1, 0, 0, 0, 1, 0, 0, 0, 1};
  std::array<double, 3> coords{};
  double statev = 0.0, sse = 0.0, spd = 5.0, scd = 5.0, rpl = 0.0, drpldt = 0.0, dtime = 0.1;
  double temp = 0.0, dtemp = 0.0, predef = 0.0, dpred = 0.0, props = 0.0, pnewdt = 0.5, celent = 1.0;

  void ansys(const std::string& name) {
    ansys_usermat_to_abq_umat(usermat, stress.data(), &statev, ddsdde.data(), &sse, &spd, &scd, &rpl,
                              ddsddt.data(), drplde.data(), &drpldt, stran.data(), dstran.data(),
                              time.data(), &dtime, &temp, &dtemp, &predef, &dpred, name.data(), &ndi,
                              &nshr, &ntens, &nstatv, &props, &nprops, coords.data(), eye.data(), &pnewdt,
                              &celent, eye.data(), eye.data(), &noel, &npt, &kslay, &kspt, jstep.data(),
                              &kinc, name.size());
  }
  void muesli_call(int matid) {
    muesli_to_abq_umat(muesli, stress.data(), &statev, ddsdde.data(), &sse, &spd, &scd, &rpl,
                       ddsddt.data(), drplde.data(), &drpldt, stran.data(), dstran.data(), time.data(),
                       &dtime, &temp, &dtemp, &predef, &dpred, "M", &ndi, &nshr, &ntens, &nstatv, &props,
                       &nprops, coords.data(), eye.data(), &pnewdt, &celent, eye.data(), eye.data(), &noel,
                       &npt, &kslay, &kspt, jstep.data(), &kinc, &matid, 1);
  }
};

TEST_F(Adapters, UsermatUnderTheUmatInterface) {
  fixed = true;
  fixed_stress = {1, 2, 3, 4, 5, 6};  // what the USERMAT returns, ANSYS order
  UmatCall u;
  u.stran = {1, 2, 3, 4, 5, 6};  // solver order
  u.ansys("CFRP_m@7@");
  EXPECT_EQ(seen.matid, 7);
  EXPECT_EQ(seen.energies, (std::array<double, 3>{}));
  EXPECT_EQ(seen.strain, (std::array<double, 6>{1, 2, 3, 4, 6, 5}));
  EXPECT_EQ(u.stress, (std::array<double, 6>{1, 2, 3, 4, 6, 5}));
  EXPECT_EQ(u.ddsdde[5 + 6 * 4], 56.0);  // rows and columns 5, 6 exchanged back
  EXPECT_EQ(seen.jstep[0], 6);
  EXPECT_EQ(seen.time[0], 0.25);
  EXPECT_EQ(u.pnewdt, 1.0);
  EXPECT_EQ(u.spd, 0.0);
  for (const char* name : {"CFRP", "CFRP_m@0@"}) {
    u.ansys(name);
    EXPECT_EQ(seen.matid, 1) << name;
  }
}

TEST_F(Adapters, MuesliRoutineGetsItsIdAndThreeDimensionalArrays) {
  young = 1000.0;
  UmatCall u;
  u.ndi = 2, u.nshr = 1, u.ntens = 3;
  u.dstran = {0.001, 0.0, 0.002};
  u.muesli_call(42);
  EXPECT_EQ(seen.matid, 42);
  EXPECT_EQ(seen.ntens, 6);
  EXPECT_EQ(seen.dstrain, (std::array<double, 6>{0.001, 0, 0, 0.002, 0, 0}));
  // Plane stress of the isotropic law: E/(1 - nu²)·(eps11 + nu·eps22), G·gamma12.
  EXPECT_NEAR(u.stress[0], 1000.0 / (1 - 0.0625) * 0.001, 1e-13);
  EXPECT_NEAR(u.stress[2], 0.8, 1e-13);
  EXPECT_NEAR(u.ddsdde[0], 1000.0 / (1 - 0.0625), 1e-10);
  u.ntens = 5;
  u.muesli_call(1);
  EXPECT_EQ(seen.calls, 1);
  EXPECT_EQ(errorhandling::errstat, -2);
}

TEST_F(Adapters, PeridigmBlockAddsTheIncrementToTheOldStress) {
  young = 1000.0;
  const int npoint = 2, ndir = 3, nshr = 3, nstatev = 1, nprops = 1, matid = 1;
  const double props = 0.0, steptime = 0.5, totaltime = 1.5, dt = 0.1;
  std::array<double, 12> stressold{}, straininc{}, stressnew{};
  std::array<double, 2> stateold{3.0, 4.0}, statenew{};
  stressold[1] = 10.0;     // point 2, s11
  straininc[0] = 0.001;    // point 1, eps11
  straininc[1 + 2 * 3] = 0.002;  // point 2, gamma12
  abq_umat_to_peridigm_upermat(umat, stressnew.data(), statenew.data(), stressold.data(),
                               stateold.data(), straininc.data(), &props, &steptime, &totaltime, &dt,
                               &matid, &npoint, &ndir, &nshr, &nstatev, &nprops);
  EXPECT_EQ(seen.calls, 2);
  EXPECT_EQ(seen.stress[0], 10.0);  // the old stress of point 2, a zero total strain
  EXPECT_EQ(seen.strain, (std::array<double, 6>{}));
  EXPECT_EQ(seen.time, (std::array<double, 2>{0.5, 1.5}));
  EXPECT_EQ(seen.jstep, (std::array<int, 4>{1, INT_MAX, 1, 0}));
  EXPECT_EQ(seen.coords, (std::array<double, 3>{1, 1, 1}));
  EXPECT_EQ(seen.energies, (std::array<double, 3>{}));
  EXPECT_NEAR(stressnew[0], 1.2, 1e-13);
  EXPECT_NEAR(stressnew[2], 0.4, 1e-13);
  EXPECT_NEAR(stressnew[1], 10.0, 1e-13);
  EXPECT_NEAR(stressnew[1 + 2 * 3], 0.8, 1e-13);
  EXPECT_EQ(statenew, stateold);

  // No state variable: none read or written.
  const int nostate = 0;
  std::vector<double> empty;
  abq_umat_to_peridigm_upermat(umat, stressnew.data(), empty.data(), stressold.data(), empty.data(),
                               straininc.data(), &props, &steptime, &totaltime, &dt, &matid, &npoint, &ndir, &nshr,
                               &nostate, &nprops);
  EXPECT_EQ(seen.calls, 4);

  // No point: the old values; unsupported components: -2, nothing touched.
  const int none = 0, two = 2;
  abq_umat_to_peridigm_upermat(umat, stressnew.data(), statenew.data(), stressold.data(),
                               stateold.data(), straininc.data(), &props, &steptime, &totaltime, &dt,
                               &matid, &none, &ndir, &nshr, &nstatev, &nprops);
  EXPECT_EQ(errorhandling::errstat, 0);
  abq_umat_to_peridigm_upermat(umat, stressnew.data(), statenew.data(), stressold.data(),
                               stateold.data(), straininc.data(), &props, &steptime, &totaltime, &dt,
                               &matid, &npoint, &two, &nshr, &nstatev, &nprops);
  EXPECT_EQ(errorhandling::errstat, -2);
  EXPECT_EQ(seen.calls, 4);
  EXPECT_NEAR(stressnew[0], 1.2, 1e-13);
}

}  // namespace
}  // namespace tavrin
