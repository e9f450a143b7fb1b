// The generic binding engine: call plans built from the descriptors, and the
// Python objects that run them.  This and the other engine sources are the
// only code of the project that includes Python.h.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "engine/descriptor.hpp"
#include "engine/expr.hpp"

namespace tavrin::bind {

// Largest number of library arguments and of Python parameters of a routine.
inline constexpr int max_args = 96;
inline constexpr int max_params = 2 * max_args;

// The module's exception class, _tavrin.error.
extern PyObject* error_class;

// Raised through C++ frames to abandon a computation whose Python call-back
// raised; the Python exception stays set.
struct CallbackAbort {};

// Turns the C++ exception in flight into a Python exception (std::bad_alloc
// becomes MemoryError, CallbackAbort keeps the exception already set,
// anything else becomes _tavrin.error).  Use inside catch (...).
void set_python_error_from_exception();

struct ArgPlan {
  const Arg* desc = nullptr;
  int param = -1;          // Python parameter position, -1 when not a parameter
  bool required = false;
  int ordinal = 0;         // position among the required or among the optional parameters
  std::vector<Expr> dims;  // one per axis; empty for an assumed extent "*"
  Expr def;                // default (or hidden) expression
  Expr len;                // text length
  Expr check;              // extra relation
  bool def_is_list = false;
  std::vector<Expr> def_list;  // one expression per leading entry; the rest are 0
  bool def_is_text = false;
  std::string def_text;
  int overwrite_param = -1;
  int extra_param = -1;
  const struct CallbackPlan* cb = nullptr;
  int length_of = -1;      // a hidden text length: the index of the text it measures
  int length_arg = -1;     // a text with a hidden length: the index of that length
  std::string position;    // "1st argument" / "2nd keyword"
};

// A relation an array read by the routine must satisfy.
struct Relation {
  int array = -1;  // argument index; -1 for an extra relation
  int axis = 0;
  bool at_least = false;  // len(x)>=e for vectors, shape(x,k)==e otherwise
  const Expr* e = nullptr;
  int blame = -1;         // argument named in the message
  std::string text;       // "(shape(a,0)==n)"
  // An extent against an integer literal or an integer argument (most of
  // them) is compared directly; one that fails is checked again the general
  // way, which words the message.
  enum class Form : unsigned char { General, Literal, IntArg };
  Form form = Form::General;
  std::int64_t literal = 0;
  int arg = -1;
};

struct CallbackPlan {
  const CallbackType* type = nullptr;
  std::vector<ArgPlan> args;
  int nrequired = 0;
  std::vector<int> py_order;  // argument indices in the order the Python function takes them
  std::vector<int> returns;  // argument indices filled from a returned tuple
  std::string signature;     // "def dfunc(x,f,d): return"
  std::string doc;           // the signature, its arguments and an example
};

enum class ParamRole : unsigned char { Value, ExtraArgs, Overwrite };

// How the value given for a parameter becomes its argument, chosen once.
enum class Conv : unsigned char {
  Int, Real, Complex, Logical, Logical1,  // scalars, as int(), float(), complex(), bool() read them
  Text,
  Array,    // converted to a Fortran-ordered array of the kind and rank (a copy where the routine writes)
  InPlace,  // the caller's own array, which must be exact
  Callback,
};

struct Param {
  int arg = -1;
  ParamRole role = ParamRole::Value;
  PyObject* name = nullptr;  // interned
  Conv conv = Conv::Int;     // for a value
};

// What a call reads of an argument most often, packed.
struct ArgInfo {
  Kind kind = Kind::Int;
  Intent intent = Intent::In;
  unsigned char rank = 0;
  bool always_copy = false;
};

struct Plan {
  const Routine* routine = nullptr;
  std::string module;
  std::string qualname;  // "_tavrin.module.routine"
  std::vector<ArgPlan> args;
  std::vector<ArgInfo> info;  // per argument
  std::vector<Param> params;
  int nrequired = 0;
  std::vector<int> default_order;  // arguments evaluated from expressions, in dependency order
  std::vector<Relation> relations;           // checked once the values and defaults are known
  std::vector<Relation> callback_relations;  // checked once the call-backs are resolved
  std::vector<int> texts;          // text arguments the caller or a default gives
  std::vector<std::pair<int, int>> hidden_lengths;  // (hidden length, the text it measures)
  // The argument of each C parameter, for a routine with a function value;
  // without one, the arguments are the C parameters in their order.
  std::vector<int> c_args;
  std::vector<int> results;        // returned arguments, the function value first
  // What a call may skip when the routine has none of it.
  bool has_absent = false;         // optional arguments without a default
  bool has_callbacks = false;
  int first_flag = 0;              // overwrite_<x> and <cb>_extra_args: the last parameters, from this one
  std::vector<int> outputs;        // arguments the binding creates (intent out)
  std::string call_line;
  std::string doc;
  std::string text_signature;            // "(a, n=None, overwrite_a=0)"
  std::vector<std::string> param_defaults;  // per parameter: Python literal, empty when required
  mutable PyObject* signature = nullptr;  // inspect.Signature, made on first request
};

// A Python call-back in force: the innermost one for a trampoline is found by
// walking the chain from the top.  Nodes live on the C stack of the call that
// installed them, so nested and re-entrant calls need no static scratch.
struct CallbackContext {
  RawFn tag = nullptr;
  PyObject* fn = nullptr;
  PyObject* extra = nullptr;  // tuple
  const CallbackPlan* plan = nullptr;
  const char* routine = nullptr;
  const char* arg = nullptr;
  CallbackContext* prev = nullptr;
  bool warned = false;  // a returned value that the library ignores was reported
};
extern thread_local CallbackContext* callback_top;

// Conversions shared by calls and call-backs.  On failure they return false
// with no Python error set.
bool int_from_object(PyObject* o, int& out);
bool real_from_object(PyObject* o, double& out);
bool complex_from_object(PyObject* o, std::complex<double>& out);
bool logical_from_object(PyObject* o, int& out);
// New reference to a Fortran-ordered array of the kind and rank, or null with
// `why` saying what is wrong (no Python error set).
PyObject* array_from_object(PyObject* o, Kind k, int rank, bool copy, std::string& why);
PyObject* scalar_to_object(Kind k, const void* value);
// New reference to a zero-filled Fortran-ordered array of the kind with these
// extents (negative ones count as 0), or null with MemoryError set when its
// non-zero extents multiply beyond what can be addressed (NumPy refuses such
// a size even with an empty axis).
PyObject* zero_array(Kind k, int rank, const std::int64_t* extents);
// Bytes of one element of the kind (texts and call-backs: 0).
std::size_t elem_size(Kind k);
// Stores a converted scalar of the kind at `dst`; false when `o` does not
// convert (no Python error set).
bool store_scalar(Kind k, PyObject* o, void* dst);
// The bytes of a path given as str or bytes, as Python's open() would name
// the file: a str is encoded as os.fsencode() does (UTF-8 with surrogate
// escapes on this platform), bytes are taken as given.  New reference, or
// null (no Python error set) when `o` is neither or cannot be encoded.
PyObject* path_bytes(PyObject* o);
// Why a path of `n` bytes cannot stand in a field of `field` bytes: it is
// longer (its trailing blanks and NULs not counted), or a NUL stands before
// that padding.  Empty when it fits.
std::string path_refusal(const char* chars, std::size_t n, std::size_t field);

// Builds the plan of a routine; throws std::invalid_argument naming the fault.
void build_plan(Plan& plan, const Routine& r, const std::string& module);
void build_callback_plan(CallbackPlan& plan, const CallbackType& t);
const CallbackPlan& callback_plan(const CallbackType& t);

// Runs one call.
PyObject* call_routine(const Plan& plan, PyObject* const* args, std::size_t nargs,
                       PyObject* kwnames);

// The extension module object, named `name`, with every registered module.
PyObject* create_module(const char* name);

// Objects.
extern PyTypeObject RoutineType;
extern PyTypeObject ModuleType;
extern PyTypeObject StorageType;
PyObject* new_routine_object(const Plan* plan);
PyObject* routine_capsule(const Routine& r);
const Routine* routine_of(PyObject* obj);  // null when obj is no routine object

// A keep-alive object holding shared ownership of a storage block.
PyObject* new_storage_owner(std::shared_ptr<void> block);

const char* npy_typestr(Kind k);
const char* ordinal_suffix(int n);
// Appends `text` as lines of at most 76 characters indented by `indent`
// blanks; explicit line breaks in `text` are kept.
void append_wrapped(std::string& out, std::string_view text, std::size_t indent);

}  // namespace tavrin::bind
