// Python call-backs behind the trampolines: the library calls a C function,
// the trampoline lands here with the slots of the C arguments.
//
// The Python function receives numbers for the scalars it reads, writable 0-d
// arrays for the scalars it writes, and arrays for the arrays; everything is
// a copy, copied back after the call, so a view the function keeps cannot
// outlive the library's storage.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <stdexcept>

#include "engine/numpy.hpp"

namespace tavrin::bind {
namespace {

class CallbackEnv final : public ExprEnv {
 public:
  CallbackEnv(const CallbackPlan& p, const Slot* s, PyObject* const* objs) : p_(p), s_(s), o_(objs) {}
  bool scalar(int a, Value& out) const override {
    const Arg& d = *p_.args[std::size_t(a)].desc;
    if (d.rank > 0 || !s_[a].p) return false;
    switch (d.kind) {
      case Kind::Int:
      case Kind::Logical: out = Value::of(*static_cast<const int*>(s_[a].p)); return true;
      case Kind::Logical1: out = Value::of(*static_cast<const unsigned char*>(s_[a].p) != 0); return true;
      case Kind::Real: out = Value::of_real(*static_cast<const double*>(s_[a].p)); return true;
      default: return false;
    }
  }
  std::int64_t shape(int a, int axis) const override {
    if (p_.args[std::size_t(a)].desc->kind == Kind::Text) return axis == 0 ? std::int64_t(s_[a].len) : 0;
    if (!o_[a] || !PyArray_Check(o_[a])) return 0;
    auto* arr = reinterpret_cast<PyArrayObject*>(o_[a]);
    return axis >= 0 && axis < PyArray_NDIM(arr) ? PyArray_DIM(arr, axis) : 0;
  }
  std::int64_t size(int a) const override {
    if (!o_[a] || !PyArray_Check(o_[a])) return 1;
    return PyArray_SIZE(reinterpret_cast<PyArrayObject*>(o_[a]));
  }

 private:
  const CallbackPlan& p_;
  const Slot* s_;
  PyObject* const* o_;
};

// Positional parameters a Python function accepts (-1: any number).
int accepted_positional(PyObject* fn) {
  int self = 0;
  if (PyMethod_Check(fn)) {
    fn = PyMethod_GET_FUNCTION(fn);
    self = 1;
  }
  if (!PyFunction_Check(fn)) return -1;
  auto* code = reinterpret_cast<PyCodeObject*>(PyFunction_GET_CODE(fn));
  if (code->co_flags & CO_VARARGS) return -1;
  return code->co_argcount - self;
}

// The Python objects of one call-back's arguments, with the data and size of
// every array among them as it was handed over; a few inline, so that a
// call-back re-entering the library costs each level little C stack.
struct Refs {
  static constexpr std::size_t inline_count = 12;
  PyObject* inline_o[inline_count] = {};
  void* inline_data[inline_count] = {};
  npy_intp inline_bytes[inline_count] = {};
  std::unique_ptr<PyObject*[]> heap_o;
  std::unique_ptr<void*[]> heap_data;
  std::unique_ptr<npy_intp[]> heap_bytes;
  PyObject** o;
  void** data;
  npy_intp* bytes;
  std::size_t n;
  explicit Refs(std::size_t count) : n(count) {
    if (count > inline_count) {
      heap_o = std::make_unique<PyObject*[]>(count);
      heap_data = std::make_unique<void*[]>(count);
      heap_bytes = std::make_unique<npy_intp[]>(count);
    }
    o = heap_o ? heap_o.get() : inline_o;
    data = heap_data ? heap_data.get() : inline_data;
    bytes = heap_bytes ? heap_bytes.get() : inline_bytes;
    std::fill_n(bytes, count, npy_intp(-1));  // -1: not an array
  }
  Refs(const Refs&) = delete;
  Refs& operator=(const Refs&) = delete;
  ~Refs() {
    for (std::size_t i = 0; i < n; ++i) Py_XDECREF(o[i]);
  }
};

[[noreturn]] void abandon(const CallbackContext& c) {
  PySys_WriteStderr("Call-back cb_%s_in_%s__user__routines failed.\n", c.arg, c.routine);
  throw CallbackAbort{};
}

// Reports, as a RuntimeWarning naming the routine, a value returned by a
// call-back whose return value the library ignores; false when the warning
// was turned into an error.
bool warn_ignored_return(const CallbackContext& c, PyObject* ret) {
  const CallbackPlan& cp = *c.plan;
  std::string written, example;
  for (int i : cp.py_order) {
    const Arg& d = *cp.args[std::size_t(i)].desc;
    if (d.intent == Intent::In || d.kind == Kind::Text) continue;
    if (written.empty()) example = std::string(d.name) + (d.rank ? "[:]" : "[()]") + " = value";
    written += (written.empty() ? "" : ", ") + std::string(d.name);
  }
  std::string msg = std::string(c.routine) + ": call-back " + c.arg + " returned a value of type " +
                    Py_TYPE(ret)->tp_name + ", which the library ignores";
  if (!written.empty())
    msg += "; fill its argument" + std::string(written.find(',') == std::string::npos ? " " : "s ") +
           written + " instead, e.g. " + example;
  return PyErr_WarnEx(PyExc_RuntimeWarning, msg.c_str(), 1) == 0;
}

}  // namespace

void invoke_callback(RawFn tag, const Slot* slots, std::size_t n, void* result) {
  CallbackContext* c = callback_top;
  while (c && c->tag != tag) c = c->prev;
  if (!c) throw std::logic_error("call-back reached outside the call that installed it");
  const CallbackPlan& cp = *c->plan;
  if (n != cp.args.size()) throw std::logic_error("call-back argument count");

  Refs refs(n);
  const CallbackEnv env(cp, slots, refs.o);
  // The Python objects of the arguments, in the C order.
  for (std::size_t a = 0; a < n; ++a) {
    const Arg& d = *cp.args[a].desc;
    const Slot& s = slots[a];
    PyObject* o = nullptr;
    if (cp.args[a].length_of >= 0) continue;  // a hidden length: measures its text below
    if (d.kind == Kind::Text) {
      std::int64_t len = std::int64_t(s.len);
      Value v;
      if (cp.args[a].length_arg >= 0) len = std::int64_t(slots[cp.args[a].length_arg].len);
      else if (!cp.args[a].len.empty() && cp.args[a].len.eval(env, v)) len = v.real ? std::int64_t(v.d) : v.i;
      o = PyUnicode_DecodeLatin1(static_cast<const char*>(s.p), Py_ssize_t(len < 0 ? 0 : len), nullptr);
    } else if (d.rank == 0) {
      if (d.intent == Intent::In) {
        o = scalar_to_object(d.kind, s.p);
      } else {
        o = PyArray_SimpleNew(0, nullptr, npy_type(d.kind));
        if (o) std::memcpy(PyArray_DATA(reinterpret_cast<PyArrayObject*>(o)), s.p, elem_size(d.kind));
      }
    } else {
      std::int64_t extents[NPY_MAXDIMS];
      bool ok = true;
      for (int k = 0; k < d.rank && ok; ++k) {
        Value v = Value::of(0);
        const Expr& e = cp.args[a].dims[std::size_t(k)];
        ok = !e.empty() && e.eval(env, v);
        // A real extent: truncated, NaN as 0, beyond 64 bits too big to create.
        extents[k] = !v.real        ? v.i
                     : !(v.d > 0.0) ? 0
                     : v.d < 9.2e18 ? std::int64_t(v.d)
                                    : INT64_MAX;
      }
      if (!ok) {
        PyErr_Format(error_class, "extents of call-back argument %s can't be evaluated", d.name);
        abandon(*c);
      }
      o = zero_array(d.kind, d.rank, extents);
      if (o && s.p) {
        auto* arr = reinterpret_cast<PyArrayObject*>(o);
        std::memcpy(PyArray_DATA(arr), s.p, std::size_t(PyArray_NBYTES(arr)));
      }
    }
    if (!o) abandon(*c);
    refs.o[a] = o;
    if (PyArray_Check(o)) {
      auto* arr = reinterpret_cast<PyArrayObject*>(o);
      refs.data[a] = PyArray_DATA(arr);
      refs.bytes[a] = PyArray_NBYTES(arr);
    }
  }

  // As many arguments as the function takes: the required ones always, then
  // the optional ones; the extra arguments last.
  const Py_ssize_t nextra = c->extra ? PyTuple_GET_SIZE(c->extra) : 0;
  const int accept = accepted_positional(c->fn);
  const std::size_t nvisible = cp.py_order.size();  // hidden lengths are never passed
  std::size_t npass = nvisible;
  if (accept >= 0) {
    const std::int64_t want = std::int64_t(accept) - nextra;
    npass = std::size_t(std::clamp<std::int64_t>(want, cp.nrequired, std::int64_t(nvisible)));
  }
  PyObject* args = PyTuple_New(Py_ssize_t(npass) + nextra);
  if (!args) abandon(*c);
  for (std::size_t k = 0; k < npass; ++k) {
    PyObject* o = refs.o[std::size_t(cp.py_order[k])];
    Py_INCREF(o);
    PyTuple_SET_ITEM(args, Py_ssize_t(k), o);
  }
  for (Py_ssize_t k = 0; k < nextra; ++k) {
    PyObject* o = PyTuple_GET_ITEM(c->extra, k);
    Py_INCREF(o);
    PyTuple_SET_ITEM(args, Py_ssize_t(npass) + k, o);
  }
  // A call-back that calls back into the library without end meets the
  // interpreter's recursion limit (RecursionError) before the C stack ends.
  if (Py_EnterRecursiveCall(" in a call-back of the library")) {
    Py_DECREF(args);
    abandon(*c);
  }
  PyObject* ret = PyObject_Call(c->fn, args, nullptr);
  Py_LeaveRecursiveCall();
  Py_DECREF(args);
  if (!ret) abandon(*c);

  // An array the function resized or rebound in place no longer matches the
  // library's storage behind it: nothing is copied back.
  for (std::size_t a = 0; a < n; ++a) {
    if (refs.bytes[a] < 0) continue;
    auto* arr = reinterpret_cast<PyArrayObject*>(refs.o[a]);
    if (PyArray_DATA(arr) != refs.data[a] || PyArray_NBYTES(arr) != refs.bytes[a]) {
      Py_DECREF(ret);
      PyErr_Format(error_class,
                   "call-back %s of %s changed the size or storage of its argument %s in place "
                   "(%zd bytes handed over, %zd after the call)",
                   c->arg, c->routine, cp.args[a].desc->name, Py_ssize_t(refs.bytes[a]),
                   Py_ssize_t(PyArray_NBYTES(arr)));
      abandon(*c);
    }
  }

  // Copy back what the library reads after the call.
  for (std::size_t a = 0; a < n; ++a) {
    const Arg& d = *cp.args[a].desc;
    if (d.intent == Intent::In || d.kind == Kind::Text || !slots[a].p) continue;
    auto* arr = reinterpret_cast<PyArrayObject*>(refs.o[a]);
    std::memcpy(slots[a].p, PyArray_DATA(arr), std::size_t(PyArray_NBYTES(arr)));
  }
  bool ok = true;
  if (!cp.returns.empty()) {
    const std::size_t nr = cp.returns.size();
    PyObject* seq = nr == 1 && !PyTuple_Check(ret) ? nullptr : ret;
    if (seq && (!PyTuple_Check(seq) || std::size_t(PyTuple_GET_SIZE(seq)) != nr)) {
      PyErr_Format(error_class, "call-back %s must return a tuple of %zu values", cp.type->name, nr);
      ok = false;
    }
    for (std::size_t k = 0; k < nr && ok; ++k) {
      PyObject* v = seq ? PyTuple_GET_ITEM(seq, Py_ssize_t(k)) : ret;
      const int a = cp.returns[k];
      const Arg& d = *cp.args[std::size_t(a)].desc;
      void* dst = slots[a].p;
      if (!dst) continue;
      if (d.rank == 0) {
        ok = store_scalar(d.kind, v, dst);
      } else {
        std::string why;
        PyObject* conv = array_from_object(v, d.kind, d.rank, false, why);
        if (conv) {
          auto* carr = reinterpret_cast<PyArrayObject*>(conv);
          auto* have = reinterpret_cast<PyArrayObject*>(refs.o[a]);
          const std::size_t bytes = std::size_t(std::min(PyArray_NBYTES(carr), PyArray_NBYTES(have)));
          std::memcpy(dst, PyArray_DATA(carr), bytes);
          Py_DECREF(conv);
        } else {
          ok = false;
        }
      }
      if (!ok && !PyErr_Occurred())
        PyErr_Format(error_class, "value %zu returned by call-back %s can't be converted", k + 1, cp.type->name);
    }
  } else if (result && cp.type->result >= 0) {
    ok = store_scalar(Kind(cp.type->result), ret, result);
    if (!ok) PyErr_Format(error_class, "value returned by call-back %s can't be converted", cp.type->name);
  } else if (ret != Py_None && !c->warned) {
    // The library reads only what the function wrote into its arguments: a
    // returned value is a common slip (the result then stays zero).
    c->warned = true;
    ok = warn_ignored_return(*c, ret);
  }
  Py_DECREF(ret);
  if (!ok) abandon(*c);
}

}  // namespace tavrin::bind
