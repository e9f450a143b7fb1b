#include "foundation/shared_state.hpp"

namespace tavrin {

namespace jobdata {
int stepcount = 0;
int nsteps = 0;
int solverid = 0;
Allocatable<int, 1> stepid;
Allocatable<int, 1> processid;
FixedText<256> jobname;
FixedText<256> joboutdir;
FixedText<256> jobfilepath;
}  // namespace jobdata

namespace debugdata {
int nupdate = 0;
int edebug = 0;
int ndebug = 0;
int fdebug = 0;
int verbose = 0;
int unitid = 0;
}  // namespace debugdata

namespace materialdata {
int modelid = 0;
int ntempdata = 0;
int nflowdata = 0;
int nsecantdata = 0;
int nalpha1data = 0;
int nalpha2data = 0;
int nalpha3data = 0;
int nnormaldata = 0;
int nsheardata = 0;
Allocatable<int, 2> matidlist;
Allocatable<int, 3> pfflags;
Allocatable<int, 3> peflags;
Allocatable<double, 3> pelimits;
Allocatable<double, 3> peprops;
Allocatable<double, 3> psprops;
Allocatable<double, 3> phprops;
Allocatable<double, 3> pfprops;
Allocatable<double, 3> pdprops;
Allocatable<double, 4> cuprops;
Allocatable<double, 1> regularization;
Allocatable<double, 1> temperatures;
Allocatable<double, 3> flowprops;
Allocatable<double, 3> secantprops;
Allocatable<double, 3> normalprops;
Allocatable<double, 3> shearprops;
Allocatable<double, 3> alpha1props;
Allocatable<double, 3> alpha2props;
Allocatable<double, 3> alpha3props;
Allocatable<double, 2> equivalentstress;
Allocatable<double, 1> i10;
Allocatable<double, 1> r_crit;
}  // namespace materialdata

namespace sectiondata {
int nsec = 0;
int nplies = 0;
Allocatable<int, 1> nsectionpoints;
Allocatable<int, 1> secidlist;
Allocatable<int, 2> seflags;
Allocatable<double, 1> xcstrength;
Allocatable<double, 2> plythickness;
Allocatable<double, 2> plyorientation;
Allocatable<double, 2> plyzcoord;
Allocatable<double, 3> sehmatrix;
Allocatable<double, 3> sefmatrix;
Allocatable<double, 4> sestress;
Allocatable<double, 4> sestrain;
Allocatable<double, 4> seuser;
Allocatable<double, 4> seprops;
Allocatable<double, 2> tnormalstress;
Allocatable<double, 4> tshearstress;
}  // namespace sectiondata

namespace nodaldata {
int nnodes = 0;
int ndof = 0;
Allocatable<double, 3> nodalcoords;
Allocatable<double, 3> nodesmotion;
Allocatable<double, 4> tnodalmatrices;
Allocatable<double, 3> tcurvmatrices;
}  // namespace nodaldata

namespace elementdata {
int nelem = 0;
int nsens = 0;
Allocatable<int, 1> elemlist;
Allocatable<int, 1> elemkind;
Allocatable<int, 2> elemnodes;
Allocatable<int, 1> elemindices;
Allocatable<double, 2> elemlength;
Allocatable<double, 2> elemcurvatures;
Allocatable<double, 2> elemreforientation;
}  // namespace elementdata

namespace impactdata {
Allocatable<double, 2> cprops;
Allocatable<double, 2> csvars;
}  // namespace impactdata

namespace loaddata {
int nimp = 0;
Allocatable<double, 2> dprops;
}  // namespace loaddata

namespace damagedata {
int ndmg = 0;
Allocatable<int, 1> damagedds;
Allocatable<double, 3> generaldds;
Allocatable<double, 3> fiberdds;
Allocatable<double, 3> matrixdds;
Allocatable<double, 3> coredds;
Allocatable<double, 3> userdds;
Allocatable<double, 3> delamdds;
Allocatable<double, 2> dmgshape;
Allocatable<double, 2> dmgplane;
Allocatable<double, 4> dmgpoints;
}  // namespace damagedata

namespace bukdata {
Allocatable<int, 4> bukintdatalist;
Allocatable<double, 4> bukrealdatalist;
}  // namespace bukdata

namespace shokriehdata {
Allocatable<double, 2> cycleprops;
Allocatable<double, 2> cycles;
double dnf = 0.0;
double dnfshok = 0.0;
}  // namespace shokriehdata

namespace errorhandling {
int errstat = 0;
FixedText<80> errstring;
Allocatable<int, 1> errintv;
Allocatable<double, 1> errrealv;
Allocatable<int, 2> errasciim;
}  // namespace errorhandling

// ---------------------------------------------------------------------------

namespace {

using namespace registry;

const VariableInfo types_vars[] = {
    constant("i2", types::i2, "bytes of a short integer"),
    constant("i4", types::i4, "bytes of the default integer"),
    constant("i8", types::i8, "bytes of a long integer"),
    constant("sp", types::sp, "bytes of a single-precision real"),
    constant("dp", types::dp, "bytes of a double-precision real"),
    constant("qp", types::qp, "bytes of a quadruple-precision real"),
    constant("cb", types::cb, "bytes of a character"),
};

using namespace jobdata;
const VariableInfo jobdata_vars[] = {
    scalar("stepcount", stepcount, "highest step number announced by the explicit job control"),
    scalar("nsteps", nsteps, "number of *Step keywords in the input deck"),
    scalar("solverid", solverid, "1 once the input deck has been opened"),
    array("stepid", stepid, "(nsteps) step kind of each step"),
    array("processid", processid, "(maxid) process check-in list"),
    path_text("jobname", jobname, "job name"),
    path_text("joboutdir", joboutdir, "directory of the card files"),
    path_text("jobfilepath", jobfilepath, "path stem of the solver job"),
};

const VariableInfo debugdata_vars[] = {
    scalar("nupdate", debugdata::nupdate, "explicit end-of-increment work every nupdate-th increment"),
    scalar("edebug", debugdata::edebug, "element number that writes debug text"),
    scalar("ndebug", debugdata::ndebug, "node selector"),
    scalar("fdebug", debugdata::fdebug, "file selector"),
    scalar("verbose", debugdata::verbose, "verbosity"),
    scalar("unitid", debugdata::unitid, "output unit"),
};

namespace md = materialdata;
const VariableInfo materialdata_vars[] = {
    scalar("modelid", md::modelid, "model id of the last material block"),
    scalar("ntempdata", md::ntempdata, "entries of temperatures"),
    scalar("nflowdata", md::nflowdata, "rows of the plasticity calibration table"),
    scalar("nsecantdata", md::nsecantdata, "rows of the secant calibration table"),
    scalar("nalpha1data", md::nalpha1data, "rows of the alpha1 calibration table"),
    scalar("nalpha2data", md::nalpha2data, "rows of the alpha2 calibration table"),
    scalar("nalpha3data", md::nalpha3data, "rows of the alpha3 calibration table"),
    scalar("nnormaldata", md::nnormaldata, "rows of the normal calibration table"),
    scalar("nsheardata", md::nsheardata, "rows of the shear calibration table"),
    array("matidlist", md::matidlist, "(nplies,nsec) material id of each ply"),
    array("pfflags", md::pfflags, "(5,nplies,nsec) failure-criterion selectors"),
    array("peflags", md::peflags, "(5,nplies,nsec) evolution switches"),
    array("pelimits", md::pelimits, "(12,nplies,nsec) damage caps"),
    array("peprops", md::peprops, "(9*ntemp,nplies,nsec) ply elastic constants"),
    array("psprops", md::psprops, "(10*ntemp,nplies,nsec) ply strengths"),
    array("phprops", md::phprops, "(nhygro,nplies,nsec) hygrothermal values"),
    array("pfprops", md::pfprops, "(nfracture,nplies,nsec) fracture values"),
    array("pdprops", md::pdprops, "(ndamage,nplies,nsec) failure-criterion parameters"),
    array("cuprops", md::cuprops, "(ncure,8,nplies,nsec) cure and thermal tables"),
    array("regularization", md::regularization, "(nreg) viscous regularisation"),
    array("temperatures", md::temperatures, "(ntempdata) temperature points"),
    array("flowprops", md::flowprops, "(ntemp,nflowdata,3) plasticity calibration"),
    array("secantprops", md::secantprops, "(ntemp,nsecantdata,2) secant-modulus pairs"),
    array("normalprops", md::normalprops, "(ntemp,nnormaldata,2) normal calibration pairs"),
    array("shearprops", md::shearprops, "(ntemp,nsheardata,2) shear calibration pairs"),
    array("alpha1props", md::alpha1props, "(ntemp,nalpha1data,2) alpha1 calibration pairs"),
    array("alpha2props", md::alpha2props, "(ntemp,nalpha2data,2) alpha2 calibration pairs"),
    array("alpha3props", md::alpha3props, "(ntemp,nalpha3data,2) alpha3 calibration pairs"),
    array("equivalentstress", md::equivalentstress, "(nstress,2) equivalent-stress pairs"),
    array("i10", md::i10, "(1) I10 value"),
    array("r_crit", md::r_crit, "(1) I10 ratio"),
};

namespace sd = sectiondata;
const VariableInfo sectiondata_vars[] = {
    scalar("nsec", sd::nsec, "number of sections"),
    scalar("nplies", sd::nplies, "plies per section"),
    array("nsectionpoints", sd::nsectionpoints, "(nelem) section points per element"),
    array("secidlist", sd::secidlist, "(nsec) section ids"),
    array("seflags", sd::seflags, "(2,nsec) extension flags"),
    array("xcstrength", sd::xcstrength, "(nsec) in-situ strength"),
    array("plythickness", sd::plythickness, "(nplies,nsec) ply thicknesses"),
    array("plyorientation", sd::plyorientation, "(nplies,nsec) ply angles"),
    array("plyzcoord", sd::plyzcoord, "(2*nplies+1,nsec) through-thickness coordinates"),
    array("sehmatrix", sd::sehmatrix, "(2,2,nsec) transverse shear stiffness"),
    array("sefmatrix", sd::sefmatrix, "(2*nplies+1,4,nsec) section F matrix"),
    array("sestress", sd::sestress, "(6,points*nplies,k,nelem) section stresses"),
    array("sestrain", sd::sestrain, "section strains"),
    array("seuser", sd::seuser, "host-owned section data"),
    array("seprops", sd::seprops, "host-owned section data"),
    array("tnormalstress", sd::tnormalstress, "(2*nplies+1,nelem) through-thickness normal stress"),
    array("tshearstress", sd::tshearstress, "(points*nplies,2,4,nelem) transverse shear stress"),
};

namespace nd = nodaldata;
const VariableInfo nodaldata_vars[] = {
    scalar("nnodes", nd::nnodes, "nodes per element"),
    scalar("ndof", nd::ndof, "degrees of freedom per node"),
    array("nodalcoords", nd::nodalcoords, "(3,nnodes,nelem) node coordinates"),
    array("nodesmotion", nd::nodesmotion, "(ndof,nnodes,nelem) node motions"),
    array("tnodalmatrices", nd::tnodalmatrices, "(3,3,8,nelem) node transformations"),
    array("tcurvmatrices", nd::tcurvmatrices, "(3,3,nelem) curvature transformations"),
};

namespace ed = elementdata;
const VariableInfo elementdata_vars[] = {
    scalar("nelem", ed::nelem, "number of elements"),
    scalar("nsens", ed::nsens, "host-owned count"),
    array("elemlist", ed::elemlist, "(nelem) solver element numbers"),
    array("elemkind", ed::elemkind, "(nelem) element-kind codes"),
    array("elemnodes", ed::elemnodes, "(nnodes,nelem) element node numbers"),
    array("elemindices", ed::elemindices, "element index table"),
    array("elemlength", ed::elemlength, "(3,nelem) characteristic element lengths"),
    array("elemcurvatures", ed::elemcurvatures, "(2,nelem) element curvatures"),
    array("elemreforientation", ed::elemreforientation, "(7,nelem) reference orientation"),
};

const VariableInfo impactdata_vars[] = {
    array("cprops", impactdata::cprops, "(20,nimp) impactor records"),
    array("csvars", impactdata::csvars, "(.,nimp) impactor solution variables"),
};

const VariableInfo loaddata_vars[] = {
    scalar("nimp", loaddata::nimp, "number of impactors"),
    array("dprops", loaddata::dprops, "(12,nimp) load records"),
};

namespace dd = damagedata;
const VariableInfo damagedata_vars[] = {
    scalar("ndmg", dd::ndmg, "number of damage definitions"),
    array("damagedds", dd::damagedds, "(1) first-use marker of the damage descriptors"),
    array("generaldds", dd::generaldds, "(3,nplies,ndmg) General descriptors"),
    array("fiberdds", dd::fiberdds, "(3,nplies,ndmg) Fiber descriptors"),
    array("matrixdds", dd::matrixdds, "(3,nplies,ndmg) Matrix descriptors"),
    array("coredds", dd::coredds, "(3,nplies,ndmg) Core descriptors"),
    array("userdds", dd::userdds, "(3,nplies,ndmg) User descriptors"),
    array("delamdds", dd::delamdds, "(3,nplies-1,ndmg) Delamination descriptors"),
    array("dmgshape", dd::dmgshape, "host-owned damage shapes"),
    array("dmgplane", dd::dmgplane, "(npos,ndmg) damage positions"),
    array("dmgpoints", dd::dmgpoints, "(npts,nplies,6,ndmg) damage point lists"),
};

const VariableInfo bukdata_vars[] = {
    array("bukintdatalist", bukdata::bukintdatalist, "(4,interfaces,ndmg,nsec) integer buckling data"),
    array("bukrealdatalist", bukdata::bukrealdatalist, "(12,interfaces,ndmg,nsec) real buckling data"),
};

const VariableInfo shokriehdata_vars[] = {
    array("cycleprops", shokriehdata::cycleprops, "(nparams,nsteps) cycle parameters"),
    array("cycles", shokriehdata::cycles, "(.,nsteps) cycle data"),
    scalar("dnf", shokriehdata::dnf, "cycle increment of the resin material routine"),
    scalar("dnfshok", shokriehdata::dnfshok, "cycle increment of the fatigue model"),
};

namespace eh = errorhandling;
const VariableInfo errorhandling_vars[] = {
    scalar("errstat", eh::errstat, "status of the latched failure (0: none)"),
    text("errstring", eh::errstring, "message of the latched failure"),
    array("errintv", eh::errintv, "integer details"),
    array("errrealv", eh::errrealv, "real details"),
    array("errasciim", eh::errasciim, "character codes, at most 8 rows"),
};

const ModuleInfo modules[] = {
    {"types", types_vars},
    {"jobdata", jobdata_vars},
    {"debugdata", debugdata_vars},
    {"materialdata", materialdata_vars},
    {"sectiondata", sectiondata_vars},
    {"nodaldata", nodaldata_vars},
    {"elementdata", elementdata_vars},
    {"impactdata", impactdata_vars},
    {"loaddata", loaddata_vars},
    {"damagedata", damagedata_vars},
    {"bukdata", bukdata_vars},
    {"shokriehdata", shokriehdata_vars},
    {"errorhandling", errorhandling_vars},
};

}  // namespace

std::span<const ModuleInfo> data_modules() { return modules; }

namespace {
std::vector<ModuleInfo>& subsystem_modules() {
  static std::vector<ModuleInfo> list;
  return list;
}
}  // namespace

void register_data_modules(std::span<const ModuleInfo> m) {
  subsystem_modules().insert(subsystem_modules().end(), m.begin(), m.end());
}

std::span<const ModuleInfo> subsystem_data_modules() { return subsystem_modules(); }

}  // namespace tavrin
