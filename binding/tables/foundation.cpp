// Modules datahandling, errorhandling and utility.
#include "engine/descriptor.hpp"
#include "foundation/datahandling.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/utility.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

namespace datahandling_tables {
TAVRIN_BINDING_MODULE(datahandling, "creation and release of the shared-state tables");
TAVRIN_ROUTINE(deallocall, datahandling::deallocall, out(Int, "istat"));
TAVRIN_ROUTINE(allocatedamagedata, datahandling::allocatedamagedata,
               out(Int, "istat"), in(Int, "kplies"), in(Int, "ksec"), in(Int, "kdmg"));
TAVRIN_ROUTINE(allocatenodaldata, datahandling::allocatenodaldata,
               out(Int, "istat"), in(Int, "kdof"), in(Int, "knodes"), in(Int, "kelem"));
TAVRIN_ROUTINE(allocateelementdata, datahandling::allocateelementdata,
               out(Int, "istat"), in(Int, "knodes"), in(Int, "kelem"));
}  // namespace datahandling_tables

namespace errorhandling_tables {
TAVRIN_BINDING_MODULE(errorhandling, "the first-error latch");
TAVRIN_ROUTINE(xerr, errorhandling::xerr,
               in(Int, "lop"), in(Text, "xerrmsg", "80"),
               in(Int, "intv", "nint"), hide(Int, "nint", "len(intv)"),
               in(Real, "realv", "nreal"), hide(Int, "nreal", "len(realv)"),
               in(Int, "asciim", "nrows,ncols"), hide(Int, "nrows", "shape(asciim,0)"),
               hide(Int, "ncols", "shape(asciim,1)"),
               inout(Int, "pyerr").opt("0").describe("0: print the message and end the process"));
TAVRIN_ROUTINE(rsxerr, errorhandling::rsxerr, out(Int, "reset"), in(Logical, "lop"));
}  // namespace errorhandling_tables

namespace utility_tables {
TAVRIN_BINDING_MODULE(utility, "process check-in list");
TAVRIN_ROUTINE(processlock, ProcessLock, result(Logical, "processlock"), in(Int, "procid"),
               in(Int, "maxid"), in(Int, "wflag").opt("0"));
TAVRIN_ROUTINE(processunlock, ProcessUnLock, result(Int, "ierror"));
}  // namespace utility_tables

}  // namespace
}  // namespace tavrin::bind
