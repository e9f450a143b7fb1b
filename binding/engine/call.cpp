// One call of a routine from Python: map the parameters, convert, apply the
// defaults, check the relations, create the results, call, box the results.
// Everything lives on this frame: routines may be re-entered from their own
// call-backs.
//
// The common cases take a short way that creates no Python object: a Python
// float or int for a scalar, an array that already has the kind, rank and
// Fortran layout the routine takes (used as it is, or copied with one
// memcpy where the routine writes into a copy), a text of one byte per
// character (read where it lies; cut or padded texts go to a scratch area on
// this frame).  Everything else takes the general conversions.
#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include "engine/numpy.hpp"
#include "foundation/boundary.hpp"

namespace tavrin::bind {

thread_local CallbackContext* callback_top = nullptr;

namespace {

// Storage of one scalar argument; trivial so that the per-call array is free.
union ScalarValue {
  int i;
  bool b;
  double d;
  alignas(16) double c2[2];
  std::complex<double>& c() { return *reinterpret_cast<std::complex<double>*>(c2); }
};

// The per-argument scratch of one call.  It lives on the stack of the call,
// sized for the routine (see call_routine), so that a routine re-entered from
// its own Python call-back costs each level only what its arguments need.
struct CallBuffers {
  PyObject** given;     // per Python parameter
  Slot* slot;           // per argument, in the library's order
  ScalarValue* val;
  PyObject** obj;
  bool* ready;
  bool* absent;
  PyObject** extra;     // <cb>_extra_args tuples
  bool* overwrite;      // overwrite_<x> flags
  Slot* cslots;         // the slots in the C order (one more for the function value)
  PyObject** owned;     // references the call holds (two per argument at most)
  char* text;           // characters of texts made for the call
  std::size_t text_size;
};

template <std::size_t N>
struct SizedBuffers {
  PyObject* given[2 * N];
  Slot slot[N];
  ScalarValue val[N];
  PyObject* obj[N];
  bool ready[N];
  bool absent[N];
  PyObject* extra[N];
  bool overwrite[N];
  Slot cslots[N + 1];
  PyObject* owned[2 * N];
  char text[16 * N];  // a solver's 80-character names fit; longer texts become bytes objects
  CallBuffers view() {
    return {given, slot, val, obj, ready, absent, extra, overwrite, cslots, owned, text, sizeof text};
  }
};

// The state of one call: per argument its slot, scalar value, object and
// whether it is known yet.  `obj` holds the array or text object behind an
// argument, borrowed: the caller's own objects live as long as the call,
// and what the call creates is held in `owned` until it ends.
class CallState final : public ExprEnv {
 public:
  CallState(const Plan& p, const CallBuffers& b)
      : p_(p), info(p.info.data()), slot(b.slot), val(b.val), obj(b.obj), ready(b.ready), absent(b.absent),
        owned(b.owned), text_next(b.text), text_end(b.text + b.text_size) {
    // All zero: empty slots, no objects, nothing known yet.
    const std::size_t n = p.args.size();
    std::memset(static_cast<void*>(slot), 0, n * sizeof *slot);
    std::memset(static_cast<void*>(obj), 0, n * sizeof *obj);
    std::memset(ready, 0, n * sizeof *ready);
    std::memset(absent, 0, n * sizeof *absent);
  }
  CallState(const CallState&) = delete;
  CallState& operator=(const CallState&) = delete;
  ~CallState() {
    for (int i = 0; i < nowned; ++i) Py_DECREF(owned[i]);
    // Call-back contexts installed by this call leave with it.
    if (installed) callback_top = saved_top;
  }

  // Makes `o` (a new reference, or null) the object of argument `a`; the
  // call releases it when it ends.
  void own(int a, PyObject* o) {
    obj[a] = o;
    if (o) owned[nowned++] = o;
  }

  bool scalar(int a, Value& out) const override {
    const ArgInfo d = info[a];
    if (d.kind == Kind::Callback) {  // 1 when given (in a form)
      out = Value::of(slot[a].fn != nullptr);
      return true;
    }
    if (!ready[a] || absent[a] || d.rank > 0) return false;
    switch (d.kind) {
      case Kind::Int:
      case Kind::Logical: out = Value::of(val[a].i); return true;
      case Kind::Logical1: out = Value::of(val[a].b); return true;
      case Kind::Real: out = Value::of_real(val[a].d); return true;
      default: return false;
    }
  }
  std::int64_t shape(int a, int axis) const override {
    if (!ready[a] || absent[a]) return 0;
    const ArgInfo d = info[a];
    if (d.kind == Kind::Text) return axis == 0 ? std::int64_t(slot[a].len) : 0;
    if (!obj[a] || !PyArray_Check(obj[a])) return 0;
    auto* arr = reinterpret_cast<PyArrayObject*>(obj[a]);
    if (axis < 0 || axis >= std::max(PyArray_NDIM(arr), int(d.rank))) return 0;
    return axis < PyArray_NDIM(arr) ? PyArray_DIM(arr, axis) : 1;
  }
  std::int64_t size(int a) const override {
    if (!ready[a] || absent[a]) return 0;
    if (info[a].kind == Kind::Text) return std::int64_t(slot[a].len);
    if (!obj[a] || !PyArray_Check(obj[a])) return 1;
    return PyArray_SIZE(reinterpret_cast<PyArrayObject*>(obj[a]));
  }

  const Plan& p_;
  const ArgInfo* const info;
  Slot* const slot;
  ScalarValue* const val;
  PyObject** const obj;
  bool* const ready;
  bool* const absent;
  PyObject** const owned;
  int nowned = 0;
  char* text_next;         // free scratch for texts, up to text_end
  char* text_end;
  CallbackContext ctx[4];
  int nctx = 0;
  bool installed = false;
  CallbackContext* saved_top = nullptr;
};

// What a violated relation received, for its error text: the values and
// extents of the arguments it involves.  Formatted only when raised.

std::string number_text(double x) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, x);
  return std::string(buf, r.ptr);
}

std::string shape_text(PyObject* o) {
  if (!o || !PyArray_Check(o)) return "?";
  auto* a = reinterpret_cast<PyArrayObject*>(o);
  std::string s = "(";
  for (int k = 0; k < PyArray_NDIM(a); ++k)
    s += (k ? ", " : "") + std::to_string(PyArray_DIM(a, k));
  return s + (PyArray_NDIM(a) == 1 ? ",)" : ")");
}

// How an argument not given by the caller got its value: " (the default,
// from plyelastic's 2nd extent)".
std::string origin(const ArgPlan& ap, PyObject* const* given) {
  if (ap.param >= 0 && given[ap.param]) return {};
  if (!ap.desc->def) return " (absent)";
  std::string s = ap.desc->intent == Intent::Hide ? " (computed" : " (the default";
  const std::string& e = ap.def.text();
  const std::size_t comma = e.find(',');
  if (e.rfind("shape(", 0) == 0 && e.back() == ')' && comma != std::string::npos &&
      e.find('(', 6) == std::string::npos) {
    const int k = std::atoi(e.c_str() + comma + 1) + 1;
    s += ", from " + e.substr(6, comma - 6) + "'s " + std::to_string(k) + ordinal_suffix(k) + " extent";
  } else if (e.rfind("len(", 0) == 0 && e.back() == ')' && e.find('(', 4) == std::string::npos) {
    s += ", from " + e.substr(4, e.size() - 5) + "'s length";
  } else if (e.find_first_not_of("0123456789.-") != std::string::npos) {
    s += ", " + e;
  }
  return s + ")";
}

std::string measure(const Plan& p, const CallState& st, PyObject* const* given, int a, bool blamed) {
  const ArgPlan& ap = p.args[std::size_t(a)];
  const Arg& d = *ap.desc;
  const std::string name = d.name;
  if (st.absent[a]) return name + " absent";
  if (d.kind == Kind::Text) return "len(" + name + ") = " + std::to_string(st.shape(a, 0));
  if (d.rank == 0) {
    Value v;
    const std::string value = st.scalar(a, v) ? (v.real ? number_text(v.d) : std::to_string(v.i)) : "?";
    return name + " = " + value + origin(ap, given);
  }
  PyObject* o = ap.param >= 0 && given[ap.param] && PyArray_Check(given[ap.param]) ? given[ap.param] : st.obj[a];
  if (blamed) return "received shape " + shape_text(o);
  if (d.rank == 1) return "len(" + name + ") = " + std::to_string(st.shape(a, 0)) + origin(ap, given);
  return "shape(" + name + ") = " + shape_text(o) + origin(ap, given);
}

std::string received(const Plan& p, const CallState& st, PyObject* const* given, const Relation& rel) {
  std::vector<int> shown;
  std::string s;
  const auto add = [&](int a, bool blamed) {
    if (std::find(shown.begin(), shown.end(), a) != shown.end()) return;
    shown.push_back(a);
    s += (s.empty() ? "" : ", ") + measure(p, st, given, a, blamed);
  };
  if (rel.array < 0 || rel.blame == rel.array) add(rel.blame, true);
  for (int a : rel.e->depends()) add(a, false);
  if (rel.array >= 0) add(rel.array, false);
  return s;
}

PyObject* fail(const std::string& msg) {
  PyErr_SetString(error_class, msg.c_str());
  return nullptr;
}

// A short account of a Python object for an error text: its repr (cut to 40
// bytes, never inside a UTF-8 character) and type.
std::string received_object(PyObject* o) {
  std::string text = "?";
  if (PyObject* r = PyObject_Repr(o)) {
    if (const char* c = PyUnicode_AsUTF8(r)) text = c;
    Py_DECREF(r);
  }
  PyErr_Clear();
  if (text.size() > 40) {
    std::size_t cut = 37;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;  // a continuation byte
    text = text.substr(0, cut) + "...";
  }
  return text + " of type " + Py_TYPE(o)->tp_name;
}

std::string conversion_message(const Plan& p, const ArgPlan& a, const char* what, PyObject* o) {
  return p.qualname + "() " + a.position + " (" + a.desc->name + ") can't be converted to " + what +
         ": received " + received_object(o);
}

std::string array_message(const Plan& p, const ArgPlan& a, const std::string& why) {
  std::string m = "failed in converting " + a.position + " `" + a.desc->name + "' of " +
                  p.qualname + " to C/Fortran array";
  if (!why.empty()) m += ": " + why;
  return m;
}

const char* kind_target(Kind k) {
  switch (k) {
    case Kind::Int: return "int";
    case Kind::Real: return "float";
    case Kind::Complex: return "complex";
    case Kind::Logical:
    case Kind::Logical1: return "bool";
    case Kind::Text: return "string";
    case Kind::Callback: return "call-back function";
  }
  return "";
}

bool convert_scalar(Kind k, PyObject* o, ScalarValue& v) {
  v.c2[0] = v.c2[1] = 0.0;
  return store_scalar(k, o, &v);
}

// A Python float or int as a real, as float() reads it; false (no error
// set) for anything else, which takes the general conversion.
bool quick_real(PyObject* o, double& out) {
  if (PyFloat_CheckExact(o)) {
    out = PyFloat_AS_DOUBLE(o);
    return true;
  }
  if (!PyLong_CheckExact(o)) return false;
  out = PyLong_AsDouble(o);
  if (out == -1.0 && PyErr_Occurred()) {  // beyond the range of a double: refused the general way
    PyErr_Clear();
    return false;
  }
  return true;
}

// A Python int within 32 bits; false (no error set) for anything else.
bool quick_int(PyObject* o, int& out) {
  if (!PyLong_CheckExact(o)) return false;
  int overflow = 0;
  const long long v = PyLong_AsLongLongAndOverflow(o, &overflow);
  if (overflow || v < INT_MIN || v > INT_MAX) return false;
  out = int(v);
  return true;
}

// The characters of a text given as bytes or str (read as Latin-1) and their
// count.  A str of one byte per character holds them as they are; any other
// str is encoded into a bytes object, which `keep` receives (new reference).
// false (no error set) when `o` is no text or not Latin-1.
bool text_chars(PyObject* o, PyObject*& keep, const char*& chars, std::size_t& n) {
  if (PyBytes_Check(o)) {
    chars = PyBytes_AS_STRING(o);
    n = std::size_t(PyBytes_GET_SIZE(o));
    return true;
  }
  if (!PyUnicode_Check(o)) return false;
  if (PyUnicode_KIND(o) == PyUnicode_1BYTE_KIND) {
    chars = reinterpret_cast<const char*>(PyUnicode_1BYTE_DATA(o));
    n = std::size_t(PyUnicode_GET_LENGTH(o));
    return true;
  }
  PyObject* b = PyUnicode_AsLatin1String(o);
  if (!b) {
    PyErr_Clear();
    return false;
  }
  keep = b;
  chars = PyBytes_AS_STRING(b);
  n = std::size_t(PyBytes_GET_SIZE(b));
  return true;
}

// A fresh, private character buffer of `len` characters holding `src` cut or
// blank-padded: in the call's scratch when it fits, else a bytes object.
// Either way a NUL follows the characters, as after those of a bytes object.
bool make_text(CallState& st, int a, const char* src, std::size_t n, std::int64_t len) {
  const std::size_t size = len < 0 ? 0 : std::size_t(len);
  PyObject* buf = nullptr;
  char* c = st.text_next;
  if (std::ptrdiff_t(size) < st.text_end - c) {
    c[size] = '\0';
    st.text_next = c + size + 1;
  } else {
    buf = PyBytes_FromStringAndSize(nullptr, Py_ssize_t(size));
    if (!buf) return false;
    c = PyBytes_AS_STRING(buf);
  }
  const std::size_t k = std::min(n, size);
  if (k) std::memcpy(c, src, k);  // `src` is never the new buffer
  std::memset(c + k, ' ', size - k);
  st.own(a, buf);
  st.slot[a].p = c;
  st.slot[a].len = size;
  return true;
}

bool eval_int(const CallState& st, const Expr& e, std::int64_t& out) {
  Value v;
  if (!e.eval_in(st, v)) return false;
  if (v.real) {
    if (!(v.d > -9.2e18 && v.d < 9.2e18)) return false;
    out = std::int64_t(v.d);
  } else {
    out = v.i;
  }
  return true;
}

// Creates a zero-filled Fortran-ordered array with the extents of `ap`;
// negative extents count as 0, as for an explicit-shape array.
PyObject* new_array(const Plan& p, const CallState& st, const ArgPlan& ap) {
  std::int64_t extents[NPY_MAXDIMS];
  for (int k = 0; k < ap.desc->rank; ++k)
    if (!eval_int(st, ap.dims[std::size_t(k)], extents[k]))
      return fail(p.qualname + "(): extent " + ap.dims[std::size_t(k)].text() + " of " +
                  ap.desc->name + " can't be evaluated");
  return zero_array(ap.desc->kind, ap.desc->rank, extents);
}

// The array of argument `a`: `arr` is a new reference, or with `borrowed`
// the caller's own array.
[[gnu::always_inline]] inline void set_array(CallState& st, int a, PyObject* arr, bool borrowed = false) {
  if (borrowed) st.obj[a] = arr;
  else st.own(a, arr);
  st.slot[a].p = PyArray_DATA(reinterpret_cast<PyArrayObject*>(arr));
  st.ready[a] = true;
}

// Whether `o` is an array of the kind and rank the routine takes, aligned,
// in native byte order and Fortran-contiguous: usable as it is.
[[gnu::always_inline]] inline bool exact_array(PyObject* o, ArgInfo d) {
  if (!PyArray_Check(o)) return false;
  auto* a = reinterpret_cast<PyArrayObject*>(o);
  return PyArray_TYPE(a) == npy_type(d.kind) && PyArray_NDIM(a) == d.rank && PyArray_IS_F_CONTIGUOUS(a) &&
         PyArray_ISALIGNED(a) && PyArray_ISNOTSWAPPED(a);
}

// A copy of an exact array as the general conversion makes it: a plain
// ndarray of the standard dtype, Fortran-ordered, filled with one memcpy.
// Null (no error set) for subclasses and dtypes with metadata, or when the
// copy could not be made: the general conversion then takes it.
PyObject* copy_exact(PyObject* o, ArgInfo d) {
  auto* a = reinterpret_cast<PyArrayObject*>(o);
  PyArray_Descr* descr = PyArray_DescrFromType(npy_type(d.kind));
  if (!PyArray_CheckExact(o) || PyArray_DESCR(a) != descr) {
    Py_DECREF(descr);
    return nullptr;
  }
  PyObject* c = PyArray_NewFromDescr(&PyArray_Type, descr, d.rank, PyArray_DIMS(a), nullptr, nullptr,
                                     NPY_ARRAY_F_CONTIGUOUS, nullptr);
  if (!c) {
    PyErr_Clear();
    return nullptr;
  }
  const npy_intp bytes = PyArray_NBYTES(a);
  if (bytes) std::memcpy(PyArray_DATA(reinterpret_cast<PyArrayObject*>(c)), PyArray_DATA(a), std::size_t(bytes));
  return c;
}

bool exact_inplace(PyObject* o, const Arg& d) {
  if (!PyArray_Check(o)) return false;
  auto* a = reinterpret_cast<PyArrayObject*>(o);
  if (PyArray_TYPE(a) != npy_type(d.kind) || !PyArray_ISWRITEABLE(a) || !PyArray_ISALIGNED(a) ||
      !PyArray_ISNOTSWAPPED(a))
    return false;
  if (d.rank == 0) return PyArray_SIZE(a) >= 1 && PyArray_IS_F_CONTIGUOUS(a);
  return PyArray_NDIM(a) == d.rank && PyArray_IS_F_CONTIGUOUS(a);
}

// Resolves a call-back argument: a routine of the same C type or a matching
// _cpointer is called directly; any other callable through the trampoline.
// A routine or _cpointer of another C type is refused: it cannot be called
// directly, and called as a Python function it would misread the arguments.
// The argument, among the call-back `a` and its other C forms, whose
// function type has the name `type`; -1 when none has.
int form_named(const Plan& p, int a, const char* type) {
  const char* of = p.args[std::size_t(a)].desc->name;
  for (std::size_t f = 0; f < p.args.size(); ++f) {
    const Arg& d = *p.args[f].desc;
    const bool form = int(f) == a || (d.form_of && std::strcmp(d.form_of, of) == 0);
    if (form && d.kind == Kind::Callback && std::strcmp(d.cb->type->name(), type) == 0) return int(f);
  }
  return -1;
}

bool set_callback(const Plan& p, CallState& st, int a, PyObject* o, PyObject* extra) {
  const ArgPlan& ap = p.args[std::size_t(a)];
  if (const Routine* r = routine_of(o)) {
    const int f = form_named(p, a, r->type->name());
    if (f < 0) {
      fail(p.qualname + "() " + ap.position + " (" + ap.desc->name +
           ") is a routine of another signature than the call-back takes");
      return false;
    }
    st.slot[f].fn = r->fn;
    return true;
  }
  if (PyCapsule_CheckExact(o)) {
    const char* name = PyCapsule_GetName(o);
    const int f = name ? form_named(p, a, name) : -1;
    if (f < 0) {
      fail(p.qualname + "() " + ap.position + " (" + ap.desc->name +
           ") is a _cpointer of another signature than the call-back takes");
      return false;
    }
    st.slot[f].fn = reinterpret_cast<RawFn>(PyCapsule_GetPointer(o, name));
    return st.slot[f].fn != nullptr;
  }
  if (!PyCallable_Check(o)) {
    fail(conversion_message(p, ap, "call-back function", o));
    return false;
  }
  if (st.nctx >= int(std::size(st.ctx))) {
    fail(p.qualname + "(): too many call-backs");
    return false;
  }
  CallbackContext& c = st.ctx[st.nctx++];
  c.tag = p.routine->trampolines[a];
  c.fn = o;
  c.extra = extra;
  c.plan = ap.cb;
  c.routine = p.routine->name;
  c.arg = ap.desc->name;
  st.slot[a].fn = c.tag;
  return true;
}

}  // namespace

namespace {

PyObject* run_call(const Plan& p, PyObject* const* args, std::size_t nargsf, PyObject* kwnames,
                   const CallBuffers& buf) {
  const Py_ssize_t nargs = PyVectorcall_NARGS(nargsf);
  const std::size_t nparams = p.params.size();
  const Param* const params = p.params.data();
  const ArgPlan* const plans = p.args.data();
  PyObject** const given = buf.given;

  // 1. Parameters by position and keyword.
  if (std::size_t(nargs) > nparams) {
    PyErr_Format(PyExc_TypeError, "%s() takes at most %d arguments (%zd given)", p.qualname.c_str(),
                 int(nparams), nargs);
    return nullptr;
  }
  std::memcpy(static_cast<void*>(given), args, std::size_t(nargs) * sizeof *given);
  std::memset(static_cast<void*>(given + nargs), 0, (nparams - std::size_t(nargs)) * sizeof *given);
  if (kwnames) {
    const Py_ssize_t nkw = PyTuple_GET_SIZE(kwnames);
    for (Py_ssize_t k = 0; k < nkw; ++k) {
      PyObject* key = PyTuple_GET_ITEM(kwnames, k);
      std::size_t j = 0;
      for (; j < nparams; ++j)
        if (params[j].name == key) break;
      if (j == nparams)
        for (j = 0; j < nparams; ++j)
          if (PyUnicode_Compare(params[j].name, key) == 0) break;
      if (j == nparams) {
        PyErr_Format(PyExc_TypeError, "%s() got an unexpected keyword argument '%S'",
                     p.qualname.c_str(), key);
        return nullptr;
      }
      if (given[j]) {
        PyErr_Format(PyExc_TypeError, "%s() got multiple values for argument '%S'",
                     p.qualname.c_str(), key);
        return nullptr;
      }
      given[j] = args[nargs + k];
    }
  }
  // None for an optional parameter is the same as leaving it out.
  const std::size_t ngiven = std::size_t(nargs) + std::size_t(kwnames ? PyTuple_GET_SIZE(kwnames) : 0);
  for (std::size_t j = std::size_t(p.nrequired); ngiven > std::size_t(p.nrequired) && j < nparams; ++j)
    if (given[j] == Py_None) given[j] = nullptr;
  // Positional arguments are never null: only a call with fewer can lack one.
  for (int j = 0; nargs < p.nrequired && j < p.nrequired; ++j)
    if (!given[j]) {
      PyErr_Format(PyExc_TypeError, "%s() missing required argument '%S' (pos %d)",
                   p.qualname.c_str(), params[j].name, j + 1);
      return nullptr;
    }

  CallState st(p, buf);
  const int n = int(p.args.size());
  // The flags, the last parameters: read only for the arguments they belong to.
  PyObject** const extra = buf.extra;
  bool* const overwrite = buf.overwrite;
  for (std::size_t j = std::size_t(p.first_flag); j < nparams; ++j) {
    const Param& prm = params[j];
    overwrite[prm.arg] = false;
    if (prm.role == ParamRole::ExtraArgs) extra[prm.arg] = nullptr;
  }
  for (std::size_t j = std::size_t(p.first_flag); j < nparams; ++j) {
    const Param& prm = params[j];
    if (!given[j]) continue;
    const ArgPlan& ap = plans[prm.arg];
    if (prm.role == ParamRole::Overwrite) {
      int v = 0;
      if (!int_from_object(given[j], v))
        return fail(p.qualname + "() keyword (" + PyUnicode_AsUTF8(prm.name) + ") can't be converted to int");
      overwrite[prm.arg] = v != 0;
    } else if (given[j] != Py_None) {
      if (!PyTuple_Check(given[j]))
        return fail(p.qualname + "() keyword (" + std::string(ap.desc->name) +
                    "_extra_args) must be a tuple");
      extra[prm.arg] = given[j];
    }
  }

  // 2. The values given.
  for (std::size_t j = 0; j < nparams; ++j) {
    const Param& prm = params[j];
    PyObject* const o = given[j];
    if (!o || prm.role != ParamRole::Value) continue;
    const int a = prm.arg;
    switch (prm.conv) {
      case Conv::Real:
        if (!quick_real(o, st.val[a].d) && !convert_scalar(Kind::Real, o, st.val[a]))
          return fail(conversion_message(p, plans[a], "float", o));
        break;
      case Conv::Int:
        if (!quick_int(o, st.val[a].i) && !convert_scalar(Kind::Int, o, st.val[a]))
          return fail(conversion_message(p, plans[a], "int", o));
        break;
      case Conv::Complex:
      case Conv::Logical:
      case Conv::Logical1: {
        const Kind k = plans[a].desc->kind;
        if (!convert_scalar(k, o, st.val[a])) return fail(conversion_message(p, plans[a], kind_target(k), o));
        break;
      }
      case Conv::Callback: continue;  // after the values: extents may be needed
      case Conv::Text: {
        const char* chars = nullptr;
        std::size_t len = 0;
        PyObject* keep = nullptr;
        if (plans[a].desc->is_path) {
          // A path names the file Python's open() would: file-system encoding.
          keep = path_bytes(o);
          if (!keep) return fail(conversion_message(p, plans[a], "path", o));
          chars = PyBytes_AS_STRING(keep);
          len = std::size_t(PyBytes_GET_SIZE(keep));
        } else if (!text_chars(o, keep, chars, len)) {
          return fail(conversion_message(p, plans[a], "string", o));
        }
        st.own(a, keep);
        st.slot[a].p = const_cast<char*>(chars);  // read only: a text the routine writes is copied below
        st.slot[a].len = len;
        st.ready[a] = true;
        continue;
      }
      case Conv::InPlace: {
        const Arg& d = *plans[a].desc;
        if (!exact_inplace(o, d))
          return fail(p.qualname + "() " + plans[a].position + " (" + d.name + ") must be a writeable " +
                      (d.rank ? "Fortran-ordered " : "") + npy_typestr(d.kind) + " array" +
                      (d.rank ? " of rank " + std::to_string(d.rank) : std::string()) +
                      " to be updated in place");
        set_array(st, a, o, true);
        auto* arr = reinterpret_cast<PyArrayObject*>(o);
        if (d.kind == Kind::Logical1) {
          // The routine reads C++ bool: every byte becomes 0 or 1 first.
          auto* bytes = static_cast<unsigned char*>(PyArray_DATA(arr));
          for (npy_intp i = 0, size = PyArray_SIZE(arr); i < size; ++i) bytes[i] = bytes[i] != 0;
        }
        if (d.rank == 0) std::memcpy(&st.val[a], st.slot[a].p, elem_size(d.kind));
        continue;
      }
      case Conv::Array: {
        const ArgInfo d = st.info[a];
        const bool copy = d.always_copy || (d.intent == Intent::InOut && !overwrite[a]);
        PyObject* arr = nullptr;
        if (exact_array(o, d)) {
          if (!copy) {
            if (d.intent == Intent::InOut && !PyArray_ISWRITEABLE(reinterpret_cast<PyArrayObject*>(o)))
              return fail(array_message(p, plans[a], "the array is not writeable"));
            set_array(st, a, o, true);
            continue;
          }
          arr = copy_exact(o, d);
        }
        if (!arr) {
          std::string why;
          arr = array_from_object(o, d.kind, d.rank, copy, why);
          if (!arr) {
            if (PyErr_Occurred()) return nullptr;
            return fail(array_message(p, plans[a], why));
          }
        }
        st.own(a, arr);  // released with the call, also on a refusal below
        if (d.intent == Intent::InOut && !PyArray_ISWRITEABLE(reinterpret_cast<PyArrayObject*>(arr)))
          return fail(array_message(p, plans[a], "the array is not writeable"));
        set_array(st, a, arr, true);
        continue;
      }
    }
    // A scalar.
    st.slot[a].p = &st.val[a];
    st.ready[a] = true;
  }

  // 3. Defaults and hidden values, in dependency order.
  for (int a : p.default_order) {
    const ArgPlan& ap = plans[a];
    const Arg& d = *ap.desc;
    if (st.ready[a] || (ap.param >= 0 && given[ap.param])) continue;
    if (d.kind == Kind::Text) {
      std::int64_t len = 0;
      if (!ap.len.empty() && !eval_int(st, ap.len, len))
        return fail(p.qualname + "(): length of " + d.name + " can't be evaluated");
      const std::string& t = ap.def_text;
      if (!make_text(st, a, t.data(), t.size(), ap.len.empty() ? std::int64_t(t.size()) : len)) return nullptr;
      st.ready[a] = true;
      continue;
    }
    if (d.rank == 0) {
      Value v;
      if (!ap.def.eval_in(st, v))
        return fail(p.qualname + "(): default " + ap.def.text() + " of " + d.name + " can't be evaluated");
      switch (d.kind) {
        case Kind::Int:
        case Kind::Logical: {
          const double x = v.as_real();
          if (v.real ? !(x >= -2147483648.0 && x <= 2147483647.0) : (v.i < INT32_MIN || v.i > INT32_MAX))
            return fail(p.qualname + "(): default " + ap.def.text() + " of " + d.name + " is out of range");
          st.val[a].i = v.real ? int(x) : int(v.i);
          if (d.kind == Kind::Logical) st.val[a].i = st.val[a].i != 0;
          break;
        }
        case Kind::Logical1: st.val[a].b = v.as_real() != 0.0; break;
        case Kind::Real: st.val[a].d = v.as_real(); break;
        case Kind::Complex: st.val[a].c() = v.as_real(); break;
        default: break;
      }
      st.slot[a].p = &st.val[a];
      st.ready[a] = true;
      continue;
    }
    // An array default: a fill value or a list.
    PyObject* arr = new_array(p, st, ap);
    if (!arr) return nullptr;
    set_array(st, a, arr);
    auto* pa = reinterpret_cast<PyArrayObject*>(arr);
    const npy_intp size = PyArray_SIZE(pa);
    Value fillv = Value::of(0);
    if (!ap.def_is_list && !ap.def.eval_in(st, fillv))
      return fail(p.qualname + "(): default " + ap.def.text() + " of " + d.name + " can't be evaluated");
    for (npy_intp i = 0; i < size; ++i) {
      // A list entry may be an expression of other arguments (a computed default).
      Value entry = fillv;
      if (ap.def_is_list) {
        entry = Value::of(0);
        if (std::size_t(i) < ap.def_list.size() && !ap.def_list[std::size_t(i)].eval_in(st, entry))
          return fail(p.qualname + "(): default " + ap.def_list[std::size_t(i)].text() + " of " + d.name +
                      " can't be evaluated");
      }
      const double x = entry.as_real();
      switch (d.kind) {
        case Kind::Real: static_cast<double*>(PyArray_DATA(pa))[i] = x; break;
        case Kind::Complex: static_cast<std::complex<double>*>(PyArray_DATA(pa))[i] = x; break;
        case Kind::Logical1: static_cast<bool*>(PyArray_DATA(pa))[i] = x != 0.0; break;
        default: static_cast<int*>(PyArray_DATA(pa))[i] = int(x); break;
      }
    }
  }
  // Optional arguments without a default that were not given are absent.
  for (int a = 0; p.has_absent && a < n; ++a) {
    const ArgPlan& ap = plans[a];
    if (!st.ready[a] && ap.desc->optional && !ap.desc->def && ap.desc->kind != Kind::Callback) {
      st.absent[a] = true;  // its slot stays null, as the call's state starts
      st.ready[a] = true;
    }
  }
  // Texts with a declared length: cut or blank-padded to it (a path longer
  // than its field, or holding a NUL, is refused instead).  A text the routine writes gets a
  // private copy; one it reads is used where it lies when its length is
  // already right.
  for (const int a : p.texts) {
    const ArgPlan& ap = plans[a];
    const Arg& d = *ap.desc;
    if (st.absent[a] || !st.ready[a]) continue;
    std::int64_t len = std::int64_t(st.slot[a].len);
    if (!ap.len.empty()) {
      if (!eval_int(st, ap.len, len)) return fail(p.qualname + "(): length of " + d.name + " can't be evaluated");
      if (len < 0) len = 0;
    }
    if (d.is_path) {
      const std::string why =
          path_refusal(static_cast<const char*>(st.slot[a].p), st.slot[a].len, std::size_t(len));
      if (!why.empty()) return fail(p.qualname + "() " + ap.position + " (" + d.name + "): " + why);
    }
    if (std::size_t(len) != st.slot[a].len || d.intent != Intent::In)
      if (!make_text(st, a, static_cast<const char*>(st.slot[a].p), st.slot[a].len, len)) return nullptr;
  }

  // 4. Relations between extents and arrays.
  for (const Relation& rel : p.relations) {
    if (rel.array >= 0 && st.absent[rel.array]) continue;
    if (rel.form != Relation::Form::General && st.ready[rel.array]) {
      PyObject* const o = st.obj[rel.array];
      const int m = rel.arg;
      if (o && PyArray_Check(o) && rel.axis < PyArray_NDIM(reinterpret_cast<PyArrayObject*>(o)) &&
          (rel.form == Relation::Form::Literal || (st.ready[m] && !st.absent[m]))) {
        const std::int64_t have = PyArray_DIM(reinterpret_cast<PyArrayObject*>(o), rel.axis);
        const std::int64_t want = rel.form == Relation::Form::Literal ? rel.literal : st.val[m].i;
        if (rel.at_least ? have >= want : have == want) continue;
      }
    }
    Value v;
    bool ok = rel.e->eval_in(st, v);
    if (ok && rel.array >= 0) {
      const std::int64_t have = st.shape(rel.array, rel.axis);
      const double want = v.as_real();
      ok = rel.at_least ? double(have) >= want : double(have) == want;
    } else if (ok) {
      ok = v.real ? v.d != 0.0 : v.i != 0;
    }
    if (!ok) {
      const ArgPlan& who = plans[rel.blame];
      return fail(rel.text + " failed for " + who.position + " " + who.desc->name + ": " +
                  received(p, st, given, rel));
    }
  }

  // 5. What the routine writes.
  for (const int a : p.outputs) {
    const ArgPlan& ap = plans[a];
    const Arg& d = *ap.desc;
    if (d.kind == Kind::Text) {
      std::int64_t len = 0;
      if (!eval_int(st, ap.len, len)) return fail(p.qualname + "(): length of " + d.name + " can't be evaluated");
      if (!make_text(st, a, nullptr, 0, len)) return nullptr;
    } else if (d.rank == 0) {
      st.val[a].c2[0] = st.val[a].c2[1] = 0.0;
      st.slot[a].p = &st.val[a];
    } else {
      PyObject* arr = new_array(p, st, ap);
      if (!arr) return nullptr;
      set_array(st, a, arr);
    }
    st.ready[a] = true;
  }

  // 6. Call-backs, now that every extent is known.
  for (std::size_t j = 0; p.has_callbacks && j < nparams; ++j) {
    const Param& prm = params[j];
    if (!given[j] || prm.role != ParamRole::Value || prm.conv != Conv::Callback) continue;
    if (!set_callback(p, st, prm.arg, given[j], extra[prm.arg])) return nullptr;
  }
  // Relations on call-backs: which of its forms a call-back was given in.
  for (const Relation& rel : p.callback_relations) {
    Value v;
    if (!rel.e->eval_in(st, v) || (v.real ? v.d == 0.0 : v.i == 0)) {
      const ArgPlan& who = plans[rel.blame];
      return fail(rel.text + " failed for " + who.position + " " + who.desc->name);
    }
  }
  if (st.nctx) {
    st.saved_top = callback_top;
    for (int k = 0; k < st.nctx; ++k) {
      st.ctx[k].prev = callback_top;
      callback_top = &st.ctx[k];
    }
    st.installed = true;
  }

  // 7. The call.
  for (const auto& [length, text] : p.hidden_lengths) st.slot[length] = Slot{nullptr, st.slot[text].len, nullptr};
  Slot* cslots = st.slot;
  if (!p.c_args.empty()) {  // a function value takes no C parameter
    cslots = buf.cslots;
    for (std::size_t k = 0; k < p.c_args.size(); ++k) cslots[k] = st.slot[p.c_args[k]];
  }
  ResultValue rv;
  try {
    p.routine->thunk(cslots, &rv);
  } catch (const std::exception&) {
    // A failure inside the library (memory exhausted on the way) is latched
    // as a host solver sees it; the results hold what was written.
    latch_current_exception(p.routine->name);
  } catch (...) {
    set_python_error_from_exception();  // a call-back's failure
    return nullptr;
  }
  if (PyErr_Occurred()) return nullptr;

  // 8. Results: the function value first, then what was written; more than
  // one go straight into the tuple.
  const std::size_t nres = p.results.size();
  if (nres == 0) Py_RETURN_NONE;
  PyObject* tuple = nullptr;
  if (nres > 1 && !(tuple = PyTuple_New(Py_ssize_t(nres)))) return nullptr;
  for (std::size_t k = 0; k < nres; ++k) {
    const int a = p.results[k];
    const ArgInfo d = st.info[a];
    PyObject* item;
    if (d.intent == Intent::Result) {
      item = scalar_to_object(d.kind, &rv);
    } else if (d.kind == Kind::Text) {
      item = PyUnicode_DecodeLatin1(static_cast<const char*>(st.slot[a].p), Py_ssize_t(st.slot[a].len), nullptr);
    } else if (d.rank == 0) {
      item = d.kind == Kind::Real ? PyFloat_FromDouble(st.val[a].d) : scalar_to_object(d.kind, st.slot[a].p);
    } else {
      item = st.obj[a];
      Py_XINCREF(item);
    }
    if (!item) {
      Py_XDECREF(tuple);
      return nullptr;
    }
    if (!tuple) return item;
    PyTuple_SET_ITEM(tuple, Py_ssize_t(k), item);
  }
  return tuple;
}

// One call with scratch for up to N arguments, in a frame of its own.
template <std::size_t N>
[[gnu::noinline]] PyObject* call_sized(const Plan& p, PyObject* const* args, std::size_t nargsf,
                                       PyObject* kwnames) {
  SizedBuffers<N> b;
  return run_call(p, args, nargsf, kwnames, b.view());
}

}  // namespace

PyObject* call_routine(const Plan& p, PyObject* const* args, std::size_t nargsf, PyObject* kwnames) {
  // Most routines take a handful of arguments: their calls, and every level
  // of a call-back that re-enters the library, stay small on the C stack.
  const std::size_t n = std::max(p.args.size(), (p.params.size() + 1) / 2);
  if (n <= 16) return call_sized<16>(p, args, nargsf, kwnames);
  if (n <= 40) return call_sized<40>(p, args, nargsf, kwnames);
  return call_sized<std::size_t(max_args)>(p, args, nargsf, kwnames);
}

}  // namespace tavrin::bind
