// One call of a routine from Python: map the parameters, convert, apply the
// defaults, check the relations, create the results, call, box the results.
// Everything lives on this frame: routines may be re-entered from their own
// call-backs.
#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <new>

#include "engine/numpy.hpp"

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
  PyObject** items;     // the results
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
  PyObject* items[N];
  CallBuffers view() { return {given, slot, val, obj, ready, absent, extra, overwrite, cslots, items}; }
};

class CallState final : public ExprEnv {
 public:
  CallState(const Plan& p, const CallBuffers& b)
      : p_(p), slot(b.slot), val(b.val), obj(b.obj), ready(b.ready), absent(b.absent) {
    for (std::size_t a = 0; a < p.args.size(); ++a) {
      slot[a] = Slot{};
      obj[a] = nullptr;
      ready[a] = absent[a] = false;
    }
  }
  CallState(const CallState&) = delete;
  CallState& operator=(const CallState&) = delete;
  ~CallState() {
    for (std::size_t i = 0; i < p_.args.size(); ++i) Py_XDECREF(obj[i]);
    // Call-back contexts installed by this call leave with it.
    if (installed) callback_top = saved_top;
  }

  bool scalar(int a, Value& out) const override {
    if (p_.args[std::size_t(a)].desc->kind == Kind::Callback) {  // 1 when given (in a form)
      out = Value::of(slot[a].fn != nullptr);
      return true;
    }
    if (!ready[a] || absent[a]) return false;
    const Arg& d = *p_.args[std::size_t(a)].desc;
    if (d.rank > 0) return false;
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
    const Arg& d = *p_.args[std::size_t(a)].desc;
    if (d.kind == Kind::Text) return axis == 0 ? std::int64_t(slot[a].len) : 0;
    if (!obj[a] || !PyArray_Check(obj[a])) return 0;
    auto* arr = reinterpret_cast<PyArrayObject*>(obj[a]);
    if (axis < 0 || axis >= std::max(PyArray_NDIM(arr), d.rank)) return 0;
    return axis < PyArray_NDIM(arr) ? PyArray_DIM(arr, axis) : 1;
  }
  std::int64_t size(int a) const override {
    if (!ready[a] || absent[a]) return 0;
    if (p_.args[std::size_t(a)].desc->kind == Kind::Text) return std::int64_t(slot[a].len);
    if (!obj[a] || !PyArray_Check(obj[a])) return 1;
    return PyArray_SIZE(reinterpret_cast<PyArrayObject*>(obj[a]));
  }

  const Plan& p_;
  Slot* const slot;
  ScalarValue* const val;
  PyObject** const obj;
  bool* const ready;
  bool* const absent;
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

// The text of `o` as bytes (Latin-1 for str), new reference, or null.
PyObject* text_bytes(PyObject* o) {
  if (PyBytes_Check(o)) {
    Py_INCREF(o);
    return o;
  }
  if (PyUnicode_Check(o)) {
    PyObject* b = PyUnicode_AsLatin1String(o);
    if (!b) PyErr_Clear();
    return b;
  }
  return nullptr;
}

// A fresh, private character buffer of `len` characters holding `src` cut or
// blank-padded.
bool make_text(CallState& st, int a, const char* src, std::size_t n, std::int64_t len) {
  if (len < 0) len = 0;
  PyObject* buf = PyBytes_FromStringAndSize(nullptr, Py_ssize_t(len));
  if (!buf) return false;
  char* c = PyBytes_AS_STRING(buf);
  const std::size_t k = std::min<std::size_t>(n, std::size_t(len));
  if (k) std::memcpy(c, src, k);
  std::memset(c + k, ' ', std::size_t(len) - k);
  Py_XSETREF(st.obj[a], buf);
  st.slot[a].p = c;
  st.slot[a].len = std::size_t(len);
  return true;
}

bool eval_int(const CallState& st, const Expr& e, std::int64_t& out) {
  Value v;
  if (!e.eval(st, v)) return false;
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

PyObject* set_array(CallState& st, int a, PyObject* arr) {
  Py_XSETREF(st.obj[a], arr);
  st.slot[a].p = PyArray_DATA(reinterpret_cast<PyArrayObject*>(arr));
  st.ready[a] = true;
  return arr;
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
  PyObject** const given = buf.given;
  std::fill_n(given, nparams, nullptr);

  // 1. Parameters by position and keyword.
  if (std::size_t(nargs) > nparams) {
    PyErr_Format(PyExc_TypeError, "%s() takes at most %d arguments (%zd given)", p.qualname.c_str(),
                 int(nparams), nargs);
    return nullptr;
  }
  for (Py_ssize_t i = 0; i < nargs; ++i) given[i] = args[i];
  if (kwnames) {
    const Py_ssize_t nkw = PyTuple_GET_SIZE(kwnames);
    for (Py_ssize_t k = 0; k < nkw; ++k) {
      PyObject* key = PyTuple_GET_ITEM(kwnames, k);
      std::size_t j = 0;
      for (; j < nparams; ++j)
        if (p.params[j].name == key) break;
      if (j == nparams)
        for (j = 0; j < nparams; ++j)
          if (PyUnicode_Compare(p.params[j].name, key) == 0) break;
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
  for (int j = 0; j < p.nrequired; ++j)
    if (!given[j]) {
      PyErr_Format(PyExc_TypeError, "%s() missing required argument '%S' (pos %d)",
                   p.qualname.c_str(), p.params[std::size_t(j)].name, j + 1);
      return nullptr;
    }

  CallState st(p, buf);
  const int n = int(p.args.size());
  PyObject** const extra = buf.extra;
  bool* const overwrite = buf.overwrite;
  std::fill_n(extra, n, nullptr);
  std::fill_n(overwrite, n, false);
  for (std::size_t j = std::size_t(p.nrequired); p.has_flags && j < nparams; ++j) {
    const Param& prm = p.params[j];
    if (!given[j] || prm.role == ParamRole::Value) continue;
    const ArgPlan& ap = p.args[std::size_t(prm.arg)];
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
    const Param& prm = p.params[j];
    if (!given[j] || prm.role != ParamRole::Value) continue;
    const int a = prm.arg;
    const ArgPlan& ap = p.args[std::size_t(a)];
    const Arg& d = *ap.desc;
    PyObject* o = given[j];
    if (d.kind == Kind::Callback) continue;  // after the values: extents may be needed
    if (d.kind == Kind::Text) {
      PyObject* b = text_bytes(o);
      if (!b) return fail(conversion_message(p, ap, "string", o));
      Py_XSETREF(st.obj[a], b);
      st.slot[a].p = PyBytes_AS_STRING(b);
      st.slot[a].len = std::size_t(PyBytes_GET_SIZE(b));
      st.ready[a] = true;
      continue;
    }
    if (d.intent == Intent::InPlace) {
      if (!exact_inplace(o, d))
        return fail(p.qualname + "() " + ap.position + " (" + d.name + ") must be a writeable " +
                    (d.rank ? "Fortran-ordered " : "") + npy_typestr(d.kind) + " array" +
                    (d.rank ? " of rank " + std::to_string(d.rank) : std::string()) +
                    " to be updated in place");
      Py_INCREF(o);
      set_array(st, a, o);
      auto* arr = reinterpret_cast<PyArrayObject*>(o);
      if (d.kind == Kind::Logical1) {
        // The routine reads C++ bool: every byte becomes 0 or 1 first.
        auto* bytes = static_cast<unsigned char*>(PyArray_DATA(arr));
        for (npy_intp i = 0, size = PyArray_SIZE(arr); i < size; ++i) bytes[i] = bytes[i] != 0;
      }
      if (d.rank == 0) std::memcpy(&st.val[a], st.slot[a].p, elem_size(d.kind));
      continue;
    }
    if (d.rank == 0) {
      if (!convert_scalar(d.kind, o, st.val[a])) return fail(conversion_message(p, ap, kind_target(d.kind), o));
      st.slot[a].p = &st.val[a];
      st.ready[a] = true;
      continue;
    }
    std::string why;
    const bool copy = (d.intent == Intent::InOut && !overwrite[a]) || (d.intent == Intent::In && d.always_copy);
    PyObject* arr = array_from_object(o, d.kind, d.rank, copy, why);
    if (!arr) {
      if (PyErr_Occurred()) return nullptr;
      return fail(array_message(p, ap, why));
    }
    if (d.intent == Intent::InOut && !PyArray_ISWRITEABLE(reinterpret_cast<PyArrayObject*>(arr))) {
      Py_DECREF(arr);
      return fail(array_message(p, ap, "the array is not writeable"));
    }
    set_array(st, a, arr);
  }

  // 3. Defaults and hidden values, in dependency order.
  for (int a : p.default_order) {
    const ArgPlan& ap = p.args[std::size_t(a)];
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
      if (!ap.def.eval(st, v))
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
    if (!ap.def_is_list && !ap.def.eval(st, fillv))
      return fail(p.qualname + "(): default " + ap.def.text() + " of " + d.name + " can't be evaluated");
    for (npy_intp i = 0; i < size; ++i) {
      // A list entry may be an expression of other arguments (a computed default).
      Value entry = fillv;
      if (ap.def_is_list) {
        entry = Value::of(0);
        if (std::size_t(i) < ap.def_list.size() && !ap.def_list[std::size_t(i)].eval(st, entry))
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
    const ArgPlan& ap = p.args[std::size_t(a)];
    if (!st.ready[a] && ap.desc->optional && !ap.desc->def && ap.desc->kind != Kind::Callback) {
      st.absent[a] = true;
      st.ready[a] = true;
      st.slot[a] = Slot{};
    }
  }
  // Texts with a declared length: cut or blank-padded to it.
  for (int a = 0; p.has_texts && a < n; ++a) {
    const ArgPlan& ap = p.args[std::size_t(a)];
    const Arg& d = *ap.desc;
    if (d.kind != Kind::Text || st.absent[a]) continue;
    if (d.intent == Intent::Out) continue;
    if (!st.ready[a]) continue;
    if (!ap.len.empty()) {
      std::int64_t len = 0;
      if (!eval_int(st, ap.len, len))
        return fail(p.qualname + "(): length of " + d.name + " can't be evaluated");
      if (len < 0) len = 0;
      if (std::size_t(len) != st.slot[a].len || d.intent != Intent::In) {
        PyObject* keep = st.obj[a];
        Py_XINCREF(keep);
        const bool ok = make_text(st, a, static_cast<const char*>(st.slot[a].p), st.slot[a].len, len);
        Py_XDECREF(keep);
        if (!ok) return nullptr;
      }
    } else if (d.intent != Intent::In) {
      PyObject* keep = st.obj[a];
      Py_XINCREF(keep);
      const bool ok = make_text(st, a, static_cast<const char*>(st.slot[a].p), st.slot[a].len,
                                std::int64_t(st.slot[a].len));
      Py_XDECREF(keep);
      if (!ok) return nullptr;
    }
  }

  // 4. Relations between extents and arrays.
  for (const Relation& rel : p.relations) {
    if (rel.array >= 0 && st.absent[rel.array]) continue;
    const ArgPlan& who = p.args[std::size_t(rel.blame)];
    if (who.desc->kind == Kind::Callback) continue;  // once the call-backs are resolved
    Value v;
    bool ok = rel.e->eval(st, v);
    if (ok && rel.array >= 0) {
      const std::int64_t have = st.shape(rel.array, rel.axis);
      const double want = v.as_real();
      ok = rel.at_least ? double(have) >= want : double(have) == want;
    } else if (ok) {
      ok = v.real ? v.d != 0.0 : v.i != 0;
    }
    if (!ok)
      return fail(rel.text + " failed for " + who.position + " " + who.desc->name + ": " +
                  received(p, st, given, rel));
  }

  // 5. What the routine writes.
  for (const int a : p.outputs) {
    const ArgPlan& ap = p.args[std::size_t(a)];
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
    const Param& prm = p.params[j];
    if (!given[j] || prm.role != ParamRole::Value) continue;
    if (p.args[std::size_t(prm.arg)].desc->kind != Kind::Callback) continue;
    PyObject* ex = extra[prm.arg];
    if (!set_callback(p, st, prm.arg, given[j], ex)) return nullptr;
  }
  // Relations on call-backs: which of its forms a call-back was given in.
  for (const Relation& rel : p.relations) {
    const ArgPlan& who = p.args[std::size_t(rel.blame)];
    if (who.desc->kind != Kind::Callback) continue;
    Value v;
    if (!rel.e->eval(st, v) || (v.real ? v.d == 0.0 : v.i == 0))
      return fail(rel.text + " failed for " + who.position + " " + who.desc->name);
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
  Slot* const cslots = buf.cslots;
  for (int a = 0; a < n; ++a) {
    const ArgPlan& ap = p.args[std::size_t(a)];
    if (ap.cindex < 0) continue;
    cslots[ap.cindex] = ap.length_of >= 0 ? Slot{nullptr, st.slot[ap.length_of].len, nullptr} : st.slot[a];
  }
  ResultValue rv;
  try {
    p.routine->thunk(cslots, &rv);
  } catch (...) {
    set_python_error_from_exception();
    return nullptr;
  }
  if (PyErr_Occurred()) return nullptr;

  // 8. Results: the function value first, then what was written.
  const std::size_t nres = p.results.size();
  if (nres == 0) Py_RETURN_NONE;
  PyObject** const items = buf.items;
  for (std::size_t k = 0; k < nres; ++k) {
    const int a = p.results[k];
    const Arg& d = *p.args[std::size_t(a)].desc;
    PyObject* item;
    if (d.intent == Intent::Result) {
      item = scalar_to_object(d.kind, &rv);
    } else if (d.kind == Kind::Text) {
      item = PyUnicode_DecodeLatin1(static_cast<const char*>(st.slot[a].p), Py_ssize_t(st.slot[a].len), nullptr);
    } else if (d.rank == 0) {
      item = scalar_to_object(d.kind, st.slot[a].p);
    } else {
      item = st.obj[a];
      Py_XINCREF(item);
    }
    if (!item) {
      for (std::size_t m = 0; m < k; ++m) Py_DECREF(items[m]);
      return nullptr;
    }
    items[k] = item;
  }
  if (nres == 1) return items[0];
  PyObject* tuple = PyTuple_New(Py_ssize_t(nres));
  if (!tuple) {
    for (std::size_t m = 0; m < nres; ++m) Py_DECREF(items[m]);
    return nullptr;
  }
  for (std::size_t k = 0; k < nres; ++k) PyTuple_SET_ITEM(tuple, Py_ssize_t(k), items[k]);
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
