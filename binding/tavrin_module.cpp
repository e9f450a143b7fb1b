// The extension module _tavrin.
#include "engine/engine.hpp"

PyMODINIT_FUNC PyInit__tavrin() { return tavrin::bind::create_module("_tavrin"); }
