// Conversions between Python objects and the library's argument kinds.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cmath>
#include <cstring>
#include <string>

#include "engine/numpy.hpp"

namespace tavrin::bind {

const char* npy_typestr(Kind k) {
  switch (k) {
    case Kind::Real: return "float64";
    case Kind::Complex: return "complex128";
    case Kind::Logical1: return "bool";
    default: return "int32";
  }
}

std::size_t elem_size(Kind k) {
  switch (k) {
    case Kind::Int:
    case Kind::Logical: return 4;
    case Kind::Real: return 8;
    case Kind::Complex: return 16;
    case Kind::Logical1: return 1;
    case Kind::Text:
    case Kind::Callback: return 0;
  }
  return 0;
}

bool int_from_object(PyObject* o, int& out) {
  long long v;
  if (PyLong_Check(o)) {
    int overflow = 0;
    v = PyLong_AsLongLongAndOverflow(o, &overflow);
    if (overflow || (v == -1 && PyErr_Occurred())) {
      PyErr_Clear();
      return false;
    }
  } else {
    // As int() does: truncates reals, parses texts of an integer ('3',
    // ' 3 ', b'3'); refuses complex numbers, other texts and None.
    PyObject* l = PyNumber_Long(o);
    if (!l) {
      PyErr_Clear();
      return false;
    }
    int overflow = 0;
    v = PyLong_AsLongLongAndOverflow(l, &overflow);
    Py_DECREF(l);
    if (overflow || (v == -1 && PyErr_Occurred())) {
      PyErr_Clear();
      return false;
    }
  }
  if (v < INT_MIN || v > INT_MAX) return false;  // 32-bit integers only
  out = int(v);
  return true;
}

bool real_from_object(PyObject* o, double& out) {
  if (PyFloat_CheckExact(o)) {
    out = PyFloat_AS_DOUBLE(o);
    return true;
  }
  // As float() does: also texts of a real ('0.5', '1e-3', 'nan').
  PyObject* f = PyNumber_Float(o);
  if (!f) {
    PyErr_Clear();
    return false;
  }
  out = PyFloat_AS_DOUBLE(f);
  Py_DECREF(f);
  return true;
}

bool complex_from_object(PyObject* o, std::complex<double>& out) {
  if (PyUnicode_Check(o) || PyBytes_Check(o)) return false;
  const Py_complex c = PyComplex_AsCComplex(o);
  if (c.real == -1.0 && PyErr_Occurred()) {
    PyErr_Clear();
    return false;
  }
  out = {c.real, c.imag};
  return true;
}

bool logical_from_object(PyObject* o, int& out) {
  if (PyUnicode_Check(o) || PyBytes_Check(o)) return false;
  const int t = PyObject_IsTrue(o);
  if (t < 0) {
    PyErr_Clear();
    return false;
  }
  out = t;
  return true;
}

bool store_scalar(Kind k, PyObject* o, void* dst) {
  switch (k) {
    case Kind::Int: return int_from_object(o, *static_cast<int*>(dst));
    case Kind::Logical: return logical_from_object(o, *static_cast<int*>(dst));
    case Kind::Real: return real_from_object(o, *static_cast<double*>(dst));
    case Kind::Complex: return complex_from_object(o, *static_cast<std::complex<double>*>(dst));
    case Kind::Logical1: {
      int t = 0;
      if (!logical_from_object(o, t)) return false;
      *static_cast<bool*>(dst) = t != 0;
      return true;
    }
    default: return false;
  }
}

PyObject* path_bytes(PyObject* o) {
  if (PyBytes_Check(o)) {
    Py_INCREF(o);
    return o;
  }
  if (!PyUnicode_Check(o)) return nullptr;
  PyObject* b = PyUnicode_EncodeFSDefault(o);
  if (!b) PyErr_Clear();
  return b;
}

std::string path_refusal(const char* chars, std::size_t n, std::size_t field) {
  // Blanks and NULs end a path as the readers see it: padding of a field or
  // a C buffer, never part of the file's name.  A NUL before them would end
  // the name there, naming another file (Python's open() refuses it too).
  while (n > 0 && (chars[n - 1] == ' ' || chars[n - 1] == '\0')) --n;
  if (n > field)
    return "path of " + std::to_string(n) + " bytes is longer than its field of " + std::to_string(field) + " bytes";
  if (const void* nul = std::memchr(chars, '\0', n))
    return "path holds a null byte after its first " +
           std::to_string(static_cast<const char*>(nul) - chars) + " bytes";
  return {};
}

PyObject* scalar_to_object(Kind k, const void* value) {
  switch (k) {
    case Kind::Int: return PyLong_FromLong(*static_cast<const int*>(value));
    case Kind::Logical: return PyBool_FromLong(*static_cast<const int*>(value));
    // Read as a byte: any non-zero byte is true.
    case Kind::Logical1: return PyBool_FromLong(*static_cast<const unsigned char*>(value) != 0);
    case Kind::Real: return PyFloat_FromDouble(*static_cast<const double*>(value));
    case Kind::Complex: {
      const auto* c = static_cast<const std::complex<double>*>(value);
      return PyComplex_FromDoubles(c->real(), c->imag());
    }
    default: Py_RETURN_NONE;
  }
}

PyObject* zero_array(Kind k, int rank, const std::int64_t* extents) {
  npy_intp dims[NPY_MAXDIMS];
  const npy_intp limit = NPY_MAX_INTP / npy_intp(std::max<std::size_t>(elem_size(k), 1));
  npy_intp nonzero = 1;
  for (int d = 0; d < rank; ++d) {
    const std::int64_t e = std::max<std::int64_t>(extents[d], 0);
    if (e > 0 && nonzero > limit / npy_intp(e)) {
      PyErr_NoMemory();
      return nullptr;
    }
    if (e > 0) nonzero *= npy_intp(e);
    dims[d] = npy_intp(e);
  }
  return PyArray_ZEROS(rank, dims, npy_type(k), 1);
}

namespace {

std::string python_error_text() {
  PyObject *type, *value, *tb;
  PyErr_Fetch(&type, &value, &tb);
  std::string s = "conversion failed";
  if (value) {
    if (PyObject* str = PyObject_Str(value)) {
      if (const char* c = PyUnicode_AsUTF8(str)) s = c;
      Py_DECREF(str);
    }
  }
  Py_XDECREF(type);
  Py_XDECREF(value);
  Py_XDECREF(tb);
  PyErr_Clear();
  return s;
}

// Whether the values of `a` (integers or reals) all fit a 32-bit integer
// exactly.
bool fits_int32(PyArrayObject* a) {
  const bool real = PyArray_ISFLOAT(a);
  PyObject* c = PyArray_FromAny(reinterpret_cast<PyObject*>(a),
                                PyArray_DescrFromType(real ? NPY_FLOAT64 : NPY_INT64), 0, 0,
                                NPY_ARRAY_CARRAY_RO | NPY_ARRAY_FORCECAST, nullptr);
  if (!c) {
    PyErr_Clear();
    return false;
  }
  auto* arr = reinterpret_cast<PyArrayObject*>(c);
  const npy_intp n = PyArray_SIZE(arr);
  bool ok = true;
  if (real) {
    const auto* v = static_cast<const double*>(PyArray_DATA(arr));
    for (npy_intp i = 0; i < n && ok; ++i)
      ok = v[i] >= INT_MIN && v[i] <= INT_MAX && std::trunc(v[i]) == v[i];
  } else {
    const auto* v = static_cast<const long long*>(PyArray_DATA(arr));
    for (npy_intp i = 0; i < n && ok; ++i) ok = v[i] >= INT_MIN && v[i] <= INT_MAX;
  }
  Py_DECREF(c);
  return ok;
}

}  // namespace

PyObject* array_from_object(PyObject* o, Kind k, int rank, bool copy, std::string& why) {
  const int type = npy_type(k);
  if (PyArray_Check(o)) {
    auto* a = reinterpret_cast<PyArrayObject*>(o);
    if (!copy && PyArray_TYPE(a) == type && PyArray_NDIM(a) == rank &&
        PyArray_IS_F_CONTIGUOUS(a) && PyArray_ISALIGNED(a) && PyArray_ISNOTSWAPPED(a)) {
      Py_INCREF(o);
      return o;
    }
  }
  // Any array-like: first as NumPy sees it, then checked and cast.
  PyObject* src = PyArray_FROM_O(o);
  if (!src) {
    why = python_error_text();
    return nullptr;
  }
  auto* a = reinterpret_cast<PyArrayObject*>(src);
  const char kind = PyArray_DESCR(a)->kind;
  bool ok = false;
  switch (k) {
    case Kind::Real: ok = kind == 'b' || kind == 'i' || kind == 'u' || kind == 'f'; break;
    case Kind::Complex: ok = kind == 'b' || kind == 'i' || kind == 'u' || kind == 'f' || kind == 'c'; break;
    case Kind::Logical1: ok = kind == 'b' || kind == 'i' || kind == 'u' || kind == 'f'; break;
    default:
      if (kind == 'b' || (kind == 'i' && PyArray_ITEMSIZE(a) <= 4) ||
          (kind == 'u' && PyArray_ITEMSIZE(a) <= 2))
        ok = true;
      else if (kind == 'i' || kind == 'u' || kind == 'f')
        ok = fits_int32(a);
      if (!ok && (kind == 'i' || kind == 'u' || kind == 'f')) {
        why = "values do not fit 32-bit integers exactly";
        Py_DECREF(src);
        return nullptr;
      }
      break;
  }
  if (!ok) {
    PyObject* r = PyObject_Repr(reinterpret_cast<PyObject*>(PyArray_DESCR(a)));
    why = std::string("an array of dtype ") + (r ? PyUnicode_AsUTF8(r) : "?") +
          " can't be converted to " + npy_typestr(k);
    Py_XDECREF(r);
    Py_DECREF(src);
    return nullptr;
  }
  const int ndim = PyArray_NDIM(a);
  npy_intp dims[NPY_MAXDIMS];
  if (ndim > rank) {
    // Extra axes are accepted only when they are of extent 1.
    for (int d = rank; d < ndim; ++d)
      if (PyArray_DIM(a, d) != 1) {
        why = "rank-" + std::to_string(ndim) + " array given, rank " + std::to_string(rank) + " expected";
        Py_DECREF(src);
        return nullptr;
      }
  }
  for (int d = 0; d < rank; ++d) dims[d] = d < ndim ? PyArray_DIM(a, d) : 1;
  int flags = NPY_ARRAY_F_CONTIGUOUS | NPY_ARRAY_ALIGNED | NPY_ARRAY_NOTSWAPPED | NPY_ARRAY_FORCECAST;
  if (copy && src == o) flags |= NPY_ARRAY_ENSURECOPY;
  PyObject* conv = PyArray_FromAny(src, PyArray_DescrFromType(type), 0, 0, flags, nullptr);
  Py_DECREF(src);
  if (!conv) {
    why = python_error_text();
    return nullptr;
  }
  if (copy && conv == o) {  // same object as the caller's: make it a copy
    PyObject* c = PyArray_NewCopy(reinterpret_cast<PyArrayObject*>(conv), NPY_FORTRANORDER);
    Py_DECREF(conv);
    if (!c) return nullptr;
    conv = c;
  }
  if (PyArray_NDIM(reinterpret_cast<PyArrayObject*>(conv)) != rank) {
    PyArray_Dims shape{dims, rank};
    PyObject* r = PyArray_Newshape(reinterpret_cast<PyArrayObject*>(conv), &shape, NPY_FORTRANORDER);
    Py_DECREF(conv);
    if (!r) {
      why = python_error_text();
      return nullptr;
    }
    conv = r;
  }
  return conv;
}

}  // namespace tavrin::bind
