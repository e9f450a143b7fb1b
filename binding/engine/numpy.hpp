// NumPy's C interface for the engine sources; module.cpp imports it.
#pragma once

#include "engine/engine.hpp"

#define NPY_NO_DEPRECATED_API NPY_1_7_API_VERSION
#define PY_ARRAY_UNIQUE_SYMBOL tavrin_ARRAY_API
#ifndef TAVRIN_IMPORT_ARRAY
#define NO_IMPORT_ARRAY
#endif
#include <numpy/arrayobject.h>
