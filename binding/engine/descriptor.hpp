// Declarative descriptors of the routines exposed to Python.
//
// One descriptor per routine says, in the routine's own argument order, what
// each argument is: its kind (Int, Real, Complex, Logical, Logical1, Text,
// Callback), its
// intent (in, out, in/out, in place, hidden, function result), for arrays the
// extents as small expressions ("n,n", "2*nplies+1", "*"), an optional default
// expression, and an optional extra relation.  A table file per library
// module declares its routines:
//
//   TAVRIN_BINDING_MODULE(math);
//   TAVRIN_ROUTINE(matrixinverse, MatrixInverse,
//                  in(Real, "a", "n,n"), out(Real, "ainv", "n,n"),
//                  in(Int, "n").opt("shape(a,0)"));
//
// The compiler checks each descriptor against the routine's C++ type: the
// argument count, and for every argument its kind and whether it can be
// written.  The generic engine (engine.cpp, the only code that sees Python)
// turns each descriptor into a call plan once, at import.
//
// Expressions (extents, defaults, relations): integer and real literals,
// argument names (their values; for arrays and texts see the functions),
// + - * / (integer division for integers), comparisons, && and ||, and the
// functions shape(x,k) (k from 0), len(x), size(x), max, min, abs, mod,
// ceiling, floor, log10, pow(x,y) (real).  The default of an array is a fill
// value, or a list of expressions in brackets (entries beyond it are 0); the
// default of a text a quoted string.
#pragma once

#include <array>
#include <complex>
#include <cstddef>
#include <span>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <typeinfo>
#include <utility>

namespace tavrin::bind {

// Logical: a 4-byte logical (int, or bool by value); Logical1: a 1-byte
// logical held in place (bool* or bool&; NumPy bool).
enum class Kind : unsigned char { Int, Real, Complex, Logical, Text, Callback, Logical1 };
enum class Intent : unsigned char {
  In,       // read only
  Out,      // written only: created by the binding and returned
  InOut,    // read and returned updated (arrays: overwrite_<name> flag)
  InPlace,  // updated in the caller's own array, which must be exact
  Hide,     // computed from its default expression, not a Python parameter
  Result,   // the function value
};

struct CallbackType;

struct Arg {
  const char* name = nullptr;
  Kind kind = Kind::Int;
  Intent intent = Intent::In;
  int rank = 0;                   // 0: scalar (or text)
  const char* dims = nullptr;     // comma-separated extent expressions
  const char* def = nullptr;      // default expression: the argument is optional
  bool optional = false;          // optional without default: absent (null) when not given
  const char* len = nullptr;      // text length expression; null: assumed length
  const char* check = nullptr;    // extra relation that must hold
  const CallbackType* cb = nullptr;
  const char* form_of = nullptr;  // call-back: another C form of the named call-back argument
  const char* doc = nullptr;
  bool always_copy = false;       // in/out array without an overwrite flag; input array copied
  const char* length_of = nullptr;  // hidden length (std::size_t by value) of this text argument
  bool is_path = false;           // a file path: a longer text is refused, not cut

  constexpr Arg opt(const char* default_expr) const {
    Arg a = *this;
    a.def = default_expr;
    a.optional = true;
    return a;
  }
  // Optional without a default: passed as a null pointer when not given.
  constexpr Arg absent() const {
    Arg a = *this;
    a.optional = true;
    return a;
  }
  constexpr Arg length(const char* expr) const {
    Arg a = *this;
    a.len = expr;
    return a;
  }
  constexpr Arg relation(const char* expr) const {
    Arg a = *this;
    a.check = expr;
    return a;
  }
  // An in/out array that the routine always updates in a copy, with no
  // overwrite_<name> flag (for routines whose call line has none); an input
  // array that the routine writes as scratch: it gets a copy, so the
  // caller's array never changes.
  constexpr Arg nooverwrite() const {
    Arg a = *this;
    a.always_copy = true;
    return a;
  }
  // A call-back that is a second C form (another function type) of the
  // call-back argument `of`: not a Python parameter.  A routine object or
  // _cpointer of this form's type given for `of` fills it (and leaves `of`
  // null); a Python callable fills `of` only, this form stays null.
  constexpr Arg form_of_callback(const char* of) const {
    Arg a = *this;
    a.intent = Intent::Hide;
    a.form_of = of;
    return a;
  }
  // An input text of declared length that names a file or directory: a
  // longer text (trailing blanks not counted) is refused, since cut it would
  // name another file.
  constexpr Arg path() const {
    Arg a = *this;
    a.is_path = true;
    return a;
  }
  constexpr Arg describe(const char* text) const {
    Arg a = *this;
    a.doc = text;
    return a;
  }
};

constexpr int count_axes(const char* dims) {
  if (!dims || !*dims) return 0;
  int n = 1, depth = 0;
  for (const char* p = dims; *p; ++p) {
    if (*p == '(' || *p == '[') ++depth;
    else if (*p == ')' || *p == ']') --depth;
    else if (*p == ',' && depth == 0) ++n;
  }
  return n;
}

namespace dsl {
inline constexpr Kind Int = Kind::Int;
inline constexpr Kind Real = Kind::Real;
inline constexpr Kind Complex = Kind::Complex;
inline constexpr Kind Logical = Kind::Logical;
inline constexpr Kind Logical1 = Kind::Logical1;
inline constexpr Kind Text = Kind::Text;

constexpr Arg make(Kind k, Intent i, const char* name, const char* dims) {
  Arg a;
  a.name = name;
  a.kind = k;
  a.intent = i;
  a.dims = dims;
  a.rank = k == Kind::Text ? 0 : count_axes(dims);
  if (k == Kind::Text) a.len = dims;  // for texts the "extent" is the length
  return a;
}
constexpr Arg in(Kind k, const char* name, const char* dims = nullptr) {
  return make(k, Intent::In, name, dims);
}
constexpr Arg out(Kind k, const char* name, const char* dims = nullptr) {
  return make(k, Intent::Out, name, dims);
}
constexpr Arg inout(Kind k, const char* name, const char* dims = nullptr) {
  return make(k, Intent::InOut, name, dims);
}
constexpr Arg inplace(Kind k, const char* name, const char* dims = nullptr) {
  return make(k, Intent::InPlace, name, dims);
}
constexpr Arg hide(Kind k, const char* name, const char* expr) {
  Arg a = make(k, Intent::Hide, name, nullptr);
  a.def = expr;
  return a;
}
constexpr Arg result(Kind k, const char* name, const char* len = nullptr) {
  Arg a = make(k, Intent::Result, name, nullptr);
  a.len = len;
  return a;
}
// The hidden length of the text argument `text`: a std::size_t passed by
// value, as Fortran compilers pass the length of a character argument after
// all others.  Not a Python parameter: the routine receives the length of the
// text as converted (its declared length when it has one).  In a call-back
// it is not passed to a Python function; the text it measures is read at
// that length.
constexpr Arg text_length(const char* name, const char* text) {
  Arg a = make(Kind::Int, Intent::Hide, name, nullptr);
  a.length_of = text;
  return a;
}
constexpr Arg callback(const char* name, const CallbackType& type) {
  Arg a = make(Kind::Callback, Intent::In, name, nullptr);
  a.cb = &type;
  return a;
}
}  // namespace dsl

// ---------------------------------------------------------------------------
// Calls through type-erased slots.

using RawFn = void (*)();

// One argument on its way to the routine: the address of its value (scalar,
// first array element, text characters, or call-back function) and, for
// texts, the length.
// Trivial, so that per-call arrays of slots cost nothing until used; Slot{}
// is the empty slot.
struct Slot {
  void* p;
  std::size_t len;
  RawFn fn;
};

using Thunk = void (*)(const Slot* slots, void* result);

// The function value of a routine is stored in one of these by the thunk.
union ResultValue {
  int i;
  double d;
  std::complex<double> c;
  ResultValue() : c() {}
};

struct CallbackType {
  const char* name;                 // the Python-facing name of the function argument
  std::span<const Arg> args;        // its arguments, in the C order
  const std::type_info* type;       // the C function pointer type
  std::span<const char* const> returns;  // names filled from a returned tuple, in order
  int result;                       // Kind of the C function value, -1 for none
  const char* doc = nullptr;        // what the function computes
  const char* example = nullptr;    // a short correct Python function, lines separated by \n
};

struct Routine {
  const char* name;                 // host name, lower case
  std::span<const Arg> args;        // library order
  Thunk thunk;
  RawFn fn;                         // the routine itself (for _cpointer)
  const std::type_info* type;       // its function pointer type
  const RawFn* trampolines;         // per argument: call-back entry, or null
  const char* doc;
};

// Runs a Python call-back for the trampoline `tag`, with the slots of its C
// arguments.  Implemented by the engine; throws to abandon the computation.
void invoke_callback(RawFn tag, const Slot* slots, std::size_t n, void* result);

// ---------------------------------------------------------------------------
// Compile-time matching of a descriptor with the routine's C++ type.

namespace detail {

template <class T>
struct remove_cvref_ptr {
  using type = std::remove_cv_t<std::remove_pointer_t<std::remove_reference_t<T>>>;
};

template <class T>
constexpr bool is_fn_ptr = std::is_pointer_v<T> && std::is_function_v<std::remove_pointer_t<T>>;

template <class P>
constexpr bool kind_matches(Kind k) {
  using B = typename remove_cvref_ptr<P>::type;
  if constexpr (is_fn_ptr<P>) return k == Kind::Callback;
  else if constexpr (std::is_same_v<P, std::string_view> || std::is_same_v<P, std::span<char>>)
    return k == Kind::Text;
  else if constexpr (std::is_same_v<B, char>) return k == Kind::Text;
  else if constexpr (std::is_same_v<B, bool>)
    return std::is_same_v<P, bool> ? k == Kind::Logical : k == Kind::Logical1;
  else if constexpr (std::is_same_v<B, int>) return k == Kind::Int || k == Kind::Logical;
  else if constexpr (std::is_same_v<B, double>) return k == Kind::Real;
  else if constexpr (std::is_same_v<B, std::complex<double>>) return k == Kind::Complex;
  else if constexpr (std::is_same_v<P, std::size_t>) return k == Kind::Int;  // a hidden text length
  else return false;
}

template <class P>
constexpr bool writable() {
  if constexpr (std::is_same_v<P, std::span<char>>) return true;
  else if constexpr (std::is_pointer_v<P> && !is_fn_ptr<P>)
    return !std::is_const_v<std::remove_pointer_t<P>>;
  else if constexpr (std::is_lvalue_reference_v<P>)
    return !std::is_const_v<std::remove_reference_t<P>>;
  else return false;
}

template <class P>
constexpr bool shape_matches(const Arg& a, bool measured = false) {
  const bool pointer = std::is_pointer_v<P> && !is_fn_ptr<P>;
  if (a.kind == Kind::Callback) return is_fn_ptr<P>;
  if (a.kind == Kind::Text) {
    // A bare character pointer carries no length: the descriptor must give
    // it, or the routine must take it as a hidden length.
    if ((std::is_same_v<P, const char*> || std::is_same_v<P, char*>) && !a.len && !measured) return false;
    if (a.intent == Intent::In || a.intent == Intent::Hide)
      return std::is_same_v<P, std::string_view> || std::is_same_v<P, const char*>;
    return std::is_same_v<P, std::span<char>> || std::is_same_v<P, char*>;
  }
  // A bool held anywhere but in the value itself is a 1-byte logical.
  if (std::is_same_v<remove_cvref_ptr<P>, bool> && !std::is_same_v<P, bool> &&
      a.kind != Kind::Logical1)
    return false;
  if (a.rank > 0 || (a.optional && !a.def)) return pointer;  // arrays and absent arguments
  return true;
}

template <class P>
constexpr bool intent_matches(const Arg& a) {
  switch (a.intent) {
    case Intent::In:
    case Intent::Hide: return true;
    case Intent::Out:
    case Intent::InOut:
    case Intent::InPlace: return writable<P>();
    case Intent::Result: return false;
  }
  return false;
}

template <class R>
constexpr bool result_matches(Kind k) {
  if constexpr (std::is_same_v<R, bool>) return k == Kind::Logical;
  else if constexpr (std::is_same_v<R, int>) return k == Kind::Int || k == Kind::Logical;
  else if constexpr (std::is_same_v<R, double>) return k == Kind::Real;
  else if constexpr (std::is_same_v<R, std::complex<double>>) return k == Kind::Complex;
  else return false;
}

template <class Fn>
struct fn_traits;
template <class R, class... P>
struct fn_traits<R (*)(P...)> {
  using result = R;
  static constexpr std::size_t arity = sizeof...(P);
  template <std::size_t I>
  using param = std::tuple_element_t<I, std::tuple<P...>>;
};
template <class R, class... P>
struct fn_traits<R (*)(P...) noexcept> : fn_traits<R (*)(P...)> {};

// Index of descriptor entry i among the routine's parameters (the function
// value takes no parameter); -1 for the result.
template <std::size_t N>
constexpr int param_index(const Arg (&args)[N], std::size_t i) {
  if (args[i].intent == Intent::Result) return -1;
  int k = 0;
  for (std::size_t j = 0; j < i; ++j) k += args[j].intent != Intent::Result;
  return k;
}

// A routine without arguments lists them in an empty std::array.
constexpr std::size_t parameter_count(const std::array<Arg, 0>&) { return 0; }
constexpr int result_count(const std::array<Arg, 0>&) { return 0; }

template <std::size_t N>
constexpr std::size_t parameter_count(const Arg (&args)[N]) {
  std::size_t k = 0;
  for (const Arg& a : args) k += a.intent != Intent::Result;
  return k;
}

template <std::size_t N>
constexpr int result_count(const Arg (&args)[N]) {
  int k = 0;
  for (const Arg& a : args) k += a.intent == Intent::Result;
  return k;
}

template <class Fn, const auto& Args, std::size_t... I>
constexpr bool params_match(std::index_sequence<I...>) {
  using T = fn_traits<Fn>;
  constexpr std::size_t N = std::size(Args);
  bool ok = true;
  // For each parameter find its descriptor entry.
  (
      [&] {
        std::size_t k = 0, seen = 0;
        for (; k < N; ++k) {
          if (Args[k].intent == Intent::Result) continue;
          if (seen == I) break;
          ++seen;
        }
        using P = typename T::template param<I>;
        const Arg& a = Args[k];
        bool measured = false;
        for (std::size_t j = 0; j < N; ++j)
          if (Args[j].length_of && a.name && std::string_view(Args[j].length_of) == a.name) measured = true;
        ok = ok && kind_matches<P>(a.kind) && shape_matches<P>(a, measured) && intent_matches<P>(a) &&
             std::is_same_v<P, std::size_t> == (a.length_of != nullptr);
      }(),
      ...);
  return ok;
}

// Reading a parameter from its slot.
template <class P>
P from_slot(const Slot& s) {
  if constexpr (is_fn_ptr<P>) {
    return reinterpret_cast<P>(s.fn);
  } else if constexpr (std::is_same_v<P, std::string_view>) {
    return {static_cast<const char*>(s.p), s.len};
  } else if constexpr (std::is_same_v<P, std::span<char>>) {
    return {static_cast<char*>(s.p), s.len};
  } else if constexpr (std::is_same_v<P, std::size_t>) {
    return s.len;  // a hidden text length travels in the slot's length
  } else if constexpr (std::is_same_v<P, bool>) {
    return *static_cast<const int*>(s.p) != 0;  // logical values travel as int
  } else if constexpr (std::is_pointer_v<P>) {
    return static_cast<P>(s.p);
  } else if constexpr (std::is_lvalue_reference_v<P>) {
    return *static_cast<std::remove_reference_t<P>*>(s.p);
  } else {
    return *static_cast<const P*>(s.p);
  }
}

template <class R>
void store_result(void* out, R value) {
  auto* r = static_cast<ResultValue*>(out);
  if constexpr (std::is_same_v<R, bool>) r->i = value ? 1 : 0;
  else if constexpr (std::is_same_v<R, int>) r->i = value;
  else if constexpr (std::is_same_v<R, double>) r->d = value;
  else r->c = value;
}

template <auto F, std::size_t... I>
void call_with_slots(const Slot* s, void* result, std::index_sequence<I...>) {
  using T = fn_traits<decltype(F)>;
  if constexpr (std::is_void_v<typename T::result>) {
    F(from_slot<typename T::template param<I>>(s[I])...);
  } else {
    store_result(result, F(from_slot<typename T::template param<I>>(s[I])...));
  }
}

template <auto F>
void thunk(const Slot* slots, void* result) {
  call_with_slots<F>(slots, result, std::make_index_sequence<fn_traits<decltype(F)>::arity>{});
}

// Slot of a call-back's own C argument.
template <class A>
Slot to_slot(A& a) {
  if constexpr (std::is_same_v<A, std::size_t>)
    return Slot{nullptr, a, nullptr};  // a hidden text length
  else if constexpr (std::is_pointer_v<A>)
    return Slot{const_cast<void*>(static_cast<const void*>(a)), 0, nullptr};
  else
    return Slot{const_cast<void*>(static_cast<const void*>(&a)), 0, nullptr};
}

template <class Fn, const auto& Args, std::size_t I>
struct Trampoline;
template <class R, class... A, const auto& Args, std::size_t I>
struct Trampoline<R (*)(A...), Args, I> {
  static R call(A... a) {
    static_assert(!(std::is_same_v<std::remove_cvref_t<A>, bool> || ...),
                  "call-back arguments carry logical values as int");
    const Slot slots[sizeof...(A) + 1] = {to_slot<A>(a)..., Slot{}};
    const RawFn tag = reinterpret_cast<RawFn>(&call);
    if constexpr (std::is_void_v<R>) {
      invoke_callback(tag, slots, sizeof...(A), nullptr);
    } else {
      ResultValue r;
      invoke_callback(tag, slots, sizeof...(A), &r);
      if constexpr (std::is_same_v<R, int>) return r.i;
      else if constexpr (std::is_same_v<R, double>) return r.d;
      else return r.c;
    }
  }
};

template <auto F, const auto& Args>
struct Trampolines {
  static constexpr std::size_t N = std::size(Args);
  template <std::size_t I>
  static RawFn entry() {
    if constexpr (Args[I].kind != Kind::Callback) {
      return nullptr;
    } else {
      constexpr int p = param_index(Args, I);
      using P = typename fn_traits<decltype(F)>::template param<std::size_t(p)>;
      return reinterpret_cast<RawFn>(&Trampoline<P, Args, I>::call);
    }
  }
  template <std::size_t... I>
  static std::array<RawFn, N> make(std::index_sequence<I...>) {
    return {entry<I>()...};
  }
  static inline const std::array<RawFn, N> table = make(std::make_index_sequence<N>{});
};

}  // namespace detail

template <auto F, const auto& Args>
Routine make_routine(const char* name, const char* doc = nullptr) {
  using Fn = decltype(F);
  using T = detail::fn_traits<Fn>;
  static_assert(detail::parameter_count(Args) == T::arity,
                "descriptor lists another number of arguments than the routine takes");
  static_assert(detail::result_count(Args) == (std::is_void_v<typename T::result> ? 0 : 1),
                "a routine with a function value needs exactly one result() entry, "
                "a subroutine none");
  if constexpr (!std::is_void_v<typename T::result>) {
    static_assert(
        [] {
          for (const Arg& a : Args)
            if (a.intent == Intent::Result)
              return detail::result_matches<typename T::result>(a.kind);
          return false;
        }(),
        "result() kind does not match the routine's function value");
  }
  static_assert(detail::params_match<Fn, Args>(std::make_index_sequence<T::arity>{}),
                "descriptor kinds, ranks or intents do not match the routine's parameter types");
  return Routine{name,
                 std::span<const Arg>(Args),
                 &detail::thunk<F>,
                 reinterpret_cast<RawFn>(F),
                 &typeid(Fn),
                 detail::Trampolines<F, Args>::table.data(),
                 doc};
}

template <class Fn, const auto& Args>
CallbackType make_callback(const char* name, std::span<const char* const> returns = {},
                           const char* doc = nullptr, const char* example = nullptr) {
  static_assert(detail::is_fn_ptr<Fn>);
  static_assert(std::size(Args) == detail::fn_traits<Fn>::arity,
                "call-back descriptor lists another number of arguments than its type takes");
  static_assert(detail::params_match<Fn, Args>(
                    std::make_index_sequence<detail::fn_traits<Fn>::arity>{}),
                "call-back descriptor kinds do not match its parameter types");
  using R = typename detail::fn_traits<Fn>::result;
  int result = -1;  // NOLINT
  if constexpr (std::is_same_v<R, int>) result = int(Kind::Int);
  else if constexpr (std::is_same_v<R, double>) result = int(Kind::Real);
  else if constexpr (std::is_same_v<R, std::complex<double>>) result = int(Kind::Complex);
  else static_assert(std::is_void_v<R>, "call-back function values are int, double or complex");
  return CallbackType{name, std::span<const Arg>(Args), &typeid(Fn), returns, result, doc, example};
}

// ---------------------------------------------------------------------------
// Registration of table files (run while the extension module loads).

void register_routine(const char* module, const Routine& r);
void register_module_doc(const char* module, const char* doc);

struct ModuleRegistrar {
  const char* name;
  ModuleRegistrar(const char* module, const char* doc = nullptr) : name(module) {
    if (doc) register_module_doc(module, doc);
  }
};

struct RoutineRegistrar {
  RoutineRegistrar(const ModuleRegistrar& m, const Routine& r) { register_routine(m.name, r); }
};

}  // namespace tavrin::bind

#define TAVRIN_BINDING_MODULE(module, ...) \
  static const ::tavrin::bind::ModuleRegistrar tavrin_binding_module_{#module, ##__VA_ARGS__}

// TAVRIN_ROUTINE(host_name, function, args...): declares and registers one
// routine of the module of this table file.
#define TAVRIN_ROUTINE(name, fn, ...)                                                       \
  static constexpr ::tavrin::bind::Arg name##_args_[] = {__VA_ARGS__};                    \
  static const ::tavrin::bind::Routine name##_routine_ =                                  \
      ::tavrin::bind::make_routine<&fn, name##_args_>(#name);                              \
  static const ::tavrin::bind::RoutineRegistrar name##_registrar_{tavrin_binding_module_, \
                                                                  name##_routine_}

// TAVRIN_ROUTINE_DOC(host_name, function, "what it computes", args...): the
// same, with the routine's one-line summary for its doc string.
#define TAVRIN_ROUTINE_DOC(name, fn, summary, ...)                                          \
  static constexpr ::tavrin::bind::Arg name##_args_[] = {__VA_ARGS__};                    \
  static const ::tavrin::bind::Routine name##_routine_ =                                  \
      ::tavrin::bind::make_routine<&fn, name##_args_>(#name, summary);                     \
  static const ::tavrin::bind::RoutineRegistrar name##_registrar_{tavrin_binding_module_, \
                                                                  name##_routine_}

// TAVRIN_ROUTINE_NOARGS(host_name, function, "what it computes"): a routine
// without arguments and without a function value.
#define TAVRIN_ROUTINE_NOARGS(name, fn, summary)                                            \
  static constexpr std::array<::tavrin::bind::Arg, 0> name##_args_{};                      \
  static const ::tavrin::bind::Routine name##_routine_ =                                  \
      ::tavrin::bind::make_routine<&fn, name##_args_>(#name, summary);                     \
  static const ::tavrin::bind::RoutineRegistrar name##_registrar_{tavrin_binding_module_, \
                                                                  name##_routine_}

// TAVRIN_CALLBACK(var, c_function_pointer_type, "python name", args...)
#define TAVRIN_CALLBACK(var, fntype, pyname, ...)                         \
  static constexpr ::tavrin::bind::Arg var##_args_[] = {__VA_ARGS__};    \
  static const ::tavrin::bind::CallbackType var =                        \
      ::tavrin::bind::make_callback<fntype, var##_args_>(pyname)

// TAVRIN_CALLBACK_DOC(var, type, "python name", "what it computes",
//                     "def f(x, y):\n    y[()] = x * x", args...): the same, with a
// summary and a short example of a correct Python function for the doc.
#define TAVRIN_CALLBACK_DOC(var, fntype, pyname, summary, example, ...)               \
  static constexpr ::tavrin::bind::Arg var##_args_[] = {__VA_ARGS__};                  \
  static const ::tavrin::bind::CallbackType var =                                      \
      ::tavrin::bind::make_callback<fntype, var##_args_>(pyname, {}, summary, example)

// The same, for a call-back whose Python return value (a tuple) is copied
// back into the arguments named in the parenthesised list `returned`.
#define TAVRIN_UNPAREN(...) __VA_ARGS__
#define TAVRIN_CALLBACK_RETURNING(var, fntype, pyname, returned, ...)       \
  static constexpr ::tavrin::bind::Arg var##_args_[] = {__VA_ARGS__};      \
  static constexpr const char* var##_returns_[] = {TAVRIN_UNPAREN returned}; \
  static const ::tavrin::bind::CallbackType var =                          \
      ::tavrin::bind::make_callback<fntype, var##_args_>(pyname, var##_returns_)
