// Module listhandling: the process-wide growable lists.
#include "engine/descriptor.hpp"
#include "foundation/lists.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

#define TAVRIN_STANDARD_REAL "1.7976931348623157e308"
constexpr const char* complex_marker_doc =
    "absent: the standard marker (1.7976931348623157e308, 1.7976931348623157e308)";

TAVRIN_BINDING_MODULE(listhandling, "growable lists shared by list number and type flag");

TAVRIN_ROUTINE(allocatelist, AllocateList, in(Int, "listid"), in(Int, "ifflag"), in(Int, "le"),
               out(Int, "ierror"), in(Complex, "defcmplx").absent().describe(complex_marker_doc),
               in(Real, "defreal").opt(TAVRIN_STANDARD_REAL), in(Int, "defint").opt("2147483647"));
TAVRIN_ROUTINE(deallocatelist, DeallocateList, in(Int, "listid"), in(Int, "ifflag"),
               out(Int, "ierror"));
TAVRIN_ROUTINE(getallocationstatus, GetAllocationStatus, out(Logical, "checkid"),
               in(Int, "listid"), in(Int, "ifflag"));
TAVRIN_ROUTINE(getsizeoflist, GetSizeOfList, result(Int, "getsizeoflist"), in(Int, "listid"),
               in(Int, "ifflag"), in(Complex, "defcmplx").absent().describe(complex_marker_doc),
               in(Real, "defreal").opt(TAVRIN_STANDARD_REAL), in(Int, "defint").opt("2147483647"));

// The appends and copies, once per value type.
#define TAVRIN_LIST_ROUTINES(prefix, letter, kind, marker)                                        \
  TAVRIN_ROUTINE(prefix##_appendscalar2list, letter##AppendScalar2List, in(Int, "listid"),        \
                 in(kind, "scalar"), in(Int, "uniflag"), out(Int, "iresult"),                     \
                 in(Int, "allocinc").opt("500"), marker);                                          \
  TAVRIN_ROUTINE(prefix##_appendarray2list, letter##AppendArray2List, in(Int, "listid"),          \
                 in(kind, "array", "narray"), in(Int, "narray").opt("len(array)"),                \
                 in(Int, "uniflag"), out(Int, "iresult"), in(Int, "allocinc").opt("500"), marker); \
  TAVRIN_ROUTINE(prefix##_getcopyoflist, letter##GetCopyOfList, in(Int, "listid"),               \
                 inout(kind, "copy", "ncopy"), in(Int, "ncopy").opt("len(copy)"), out(Int, "ierror"))

TAVRIN_LIST_ROUTINES(int, i, Int, in(Int, "defval").opt("2147483647"));
TAVRIN_LIST_ROUTINES(real, f, Real, in(Real, "defval").opt(TAVRIN_STANDARD_REAL));
TAVRIN_LIST_ROUTINES(cmplx, c, Complex, in(Complex, "defval").absent().describe(complex_marker_doc));

}  // namespace
}  // namespace tavrin::bind
