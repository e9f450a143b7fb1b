// Module listhandling: the process-wide growable lists.
#include "engine/descriptor.hpp"
#include "foundation/lists.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

#define TAVRIN_STANDARD_REAL "1.7976931348623157e308"
constexpr const char* complex_marker_doc =
    "empty-slot marker of a complex list; absent: the standard marker (1.7976931348623157e308, "
    "1.7976931348623157e308)";

TAVRIN_BINDING_MODULE(
    listhandling,
    "growable lists shared by list number and type flag\n"
    "\n"
    "Nine process-wide growable lists that routines far apart share by number instead of by "
    "reference: listid 1..3 picks the list, ifflag its type (0 integer, 1 real, 2 complex).  A "
    "list is absent or exists with a capacity; its used part is the run of entries before the "
    "first entry equal to the empty-slot marker (standard markers: 2147483647, "
    "1.7976931348623157e308, and that value in both parts of a complex entry).  A full list "
    "grows by allocinc slots.  Entries compare exactly (a NaN equals nothing).  A list number "
    "or type flag out of range touches no list and reports -1; memory that cannot be had "
    "reports 5014 (-5014 from appends).  The lists outlive datahandling.deallocall; nothing "
    "here reports through the error latch.");

constexpr Arg listid = in(Int, "listid").describe("list number, 1..3");
constexpr Arg ifflag = in(Int, "ifflag").describe("type of the list: 0 integer, 1 real, 2 complex");
constexpr Arg defcmplx = in(Complex, "defcmplx").absent().describe(complex_marker_doc);
constexpr Arg defreal =
    in(Real, "defreal").opt(TAVRIN_STANDARD_REAL).describe("empty-slot marker of a real list");
constexpr Arg defint =
    in(Int, "defint").opt("2147483647").describe("empty-slot marker of an integer list");

TAVRIN_ROUTINE_DOC(allocatelist, AllocateList,
                   "Create list (listid, ifflag) with capacity le, or empty an existing one, every "
                   "entry set to the marker of its type.",
                   listid, ifflag,
                   in(Int, "le").describe("capacity of a new list (empty when le < 1); "
                                                          "an existing list keeps its capacity"),
                   out(Int, "ierror").describe("0 created; 5014 the list existed (now emptied) or "
                                               "no memory; -1 listid or ifflag out of range"),
                   defcmplx, defreal, defint);
TAVRIN_ROUTINE_DOC(deallocatelist, DeallocateList, "Free list (listid, ifflag).", listid, ifflag,
                   out(Int, "ierror").describe("0 freed; 1 the list was absent; -1 listid or "
                                               "ifflag out of range"));
TAVRIN_ROUTINE_DOC(getallocationstatus, GetAllocationStatus,
                   "Whether list (listid, ifflag) exists.",
                   out(Logical, "checkid").describe("1 when the list exists, 0 when absent or out "
                                                    "of range"),
                   listid, ifflag);
TAVRIN_ROUTINE_DOC(getsizeoflist, GetSizeOfList,
                   "Number of used entries of list (listid, ifflag): the entries before the first "
                   "one equal to the marker, or the capacity when none is.",
                   result(Int, "getsizeoflist").describe("the number of used entries; -1 when the "
                                                         "list is absent or out of range"),
                   listid, ifflag, defcmplx, defreal, defint);

// The appends and copies, once per value type.
#define TAVRIN_LIST_ROUTINES(prefix, letter, kind, type_text, marker)                             \
  TAVRIN_ROUTINE_DOC(                                                                              \
      prefix##_appendscalar2list, letter##AppendScalar2List,                                       \
      "Append one " type_text " value at the first free slot of " type_text " list listid, "       \
      "growing a full list by allocinc slots (created when absent).",                              \
      listid, in(kind, "scalar").describe("the value to append"),                                 \
      in(Int, "uniflag").describe("1: do not append a value already in the list (free slots "      \
                                  "included); other: always append"),                              \
      out(Int, "iresult").describe("1 appended; 0 not appended (already present); -1 listid out "  \
                                   "of range or allocinc < 1; -5014 no memory to grow"),           \
      in(Int, "allocinc").opt("500").describe("slots added when the list is full or created"),     \
      marker);                                                                                     \
  TAVRIN_ROUTINE_DOC(                                                                              \
      prefix##_appendarray2list, letter##AppendArray2List,                                         \
      "Append the values of array in order to " type_text " list listid (created when absent).",   \
      listid, in(kind, "array", "narray").describe("the values to append"),                       \
      in(Int, "narray").opt("len(array)").describe("number of values of array to append"),        \
      in(Int, "uniflag").describe("1: append nothing when the values already occur as one "        \
                                  "contiguous run in the used part; other: always append"),        \
      out(Int, "iresult").describe("that of the last single append (1 appended, negative on "      \
                                   "failure); 0 when nothing was appended"),                       \
      in(Int, "allocinc").opt("500").describe("slots added when the list is full or created"),     \
      marker);                                                                                     \
  TAVRIN_ROUTINE_DOC(                                                                              \
      prefix##_getcopyoflist, letter##GetCopyOfList,                                               \
      "Copy the first ncopy entries of " type_text " list listid into copy.",                      \
      listid,                                                                                      \
      inout(kind, "copy", "ncopy").describe("receives entries 1..ncopy of the list (at most its "  \
                                            "capacity; the rest keeps its values)"),               \
      in(Int, "ncopy").opt("len(copy)").describe("number of entries to copy"),                    \
      out(Int, "ierror").describe("0 copied; -1 the list is absent or listid out of range (copy "  \
                                  "unchanged)"))

TAVRIN_LIST_ROUTINES(int, i, Int, "integer",
                     in(Int, "defval").opt("2147483647").describe(
                         "empty-slot marker; a marker of the caller's own also creates and grows "
                         "the list"));
TAVRIN_LIST_ROUTINES(real, f, Real, "real",
                     in(Real, "defval").opt(TAVRIN_STANDARD_REAL).describe(
                         "empty-slot marker; a marker of the caller's own also creates and grows "
                         "the list"));
TAVRIN_LIST_ROUTINES(cmplx, c, Complex, "complex",
                     in(Complex, "defval").absent().describe(
                         "empty-slot marker; absent: the standard marker (1.7976931348623157e308, "
                         "1.7976931348623157e308); a marker of the caller's own also creates and "
                         "grows the list"));

}  // namespace
}  // namespace tavrin::bind
