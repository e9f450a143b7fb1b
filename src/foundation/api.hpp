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

// Builds under AddressSanitizer (gcc and clang announce it apart) keep every
// block on the heap it watches.
#if defined(__SANITIZE_ADDRESS__)
#define TAVRIN_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAVRIN_ADDRESS_SANITIZER 1
#endif
#endif
#ifndef TAVRIN_ADDRESS_SANITIZER
#define TAVRIN_ADDRESS_SANITIZER 0
#endif
