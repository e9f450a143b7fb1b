// Visibility of the library's public symbols.
//
// The library is compiled with -fvisibility=hidden; what callers may link
// against is marked TAVRIN_API.  A linker version script then keeps only the
// C-callable names and the tavrin:: C++ interface in the dynamic symbol table,
// so standard-library template instantiations never leak out.
#pragma once

#if defined(TAVRIN_BUILDING_LIBRARY) || defined(TAVRIN_USING_SHARED)
#define TAVRIN_API __attribute__((visibility("default")))
#else
#define TAVRIN_API
#endif
