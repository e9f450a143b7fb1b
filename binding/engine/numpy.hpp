// NumPy's C interface for the engine sources; module.cpp imports it.
#pragma once

#include "engine/engine.hpp"

#define NPY_NO_DEPRECATED_API NPY_1_7_API_VERSION
#define PY_ARRAY_UNIQUE_SYMBOL tavrin_ARRAY_API
#ifndef TAVRIN_IMPORT_ARRAY
#define NO_IMPORT_ARRAY
#endif
#include <numpy/arrayobject.h>

namespace tavrin::bind {

// The NumPy type number of an argument kind's elements.
inline int npy_type(Kind k) {
  switch (k) {
    case Kind::Real: return NPY_FLOAT64;
    case Kind::Complex: return NPY_COMPLEX128;
    case Kind::Logical1: return NPY_BOOL;
    default: return NPY_INT32;
  }
}

}  // namespace tavrin::bind
