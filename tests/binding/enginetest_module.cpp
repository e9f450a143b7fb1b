// _tavrin_enginetest: small routines that exercise every feature of the
// binding engine (kinds, intents, defaults, relations, texts, call-backs),
// built only for the tests.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <complex>
#include <new>
#include <span>
#include <string_view>

#include "engine/descriptor.hpp"
#include "engine/engine.hpp"

namespace enginetest {

// c = a + b
void vadd(const double* a, const double* b, double* c, const int& n) {
  for (int i = 0; i < n; ++i) c[i] = a[i] + b[i];
}
// a = a + s * b, in/out
void axpy(double* a, const double* b, const int& n, const double& s) {
  for (int i = 0; i < n; ++i) a[i] += s * b[i];
}
// x(:) = v, in place
void fill(double* x, int n, double v) { std::fill(x, x + std::max(n, 0), v); }
// y = A x with A(n, m)
void matvec(const double* a, const double* x, double* y, int n, int m) {
  for (int i = 0; i < n; ++i) {
    y[i] = 0.0;
    for (int j = 0; j < m; ++j) y[i] += a[i + j * n] * x[j];
  }
}
// Upper-case copy of an assumed-length text into a 10-character result.
void upper(std::string_view s, std::span<char> out, int& n) {
  n = int(s.size());
  std::fill(out.begin(), out.end(), ' ');
  for (std::size_t i = 0; i < std::min(s.size(), out.size()); ++i)
    out[i] = char(std::toupper(static_cast<unsigned char>(s[i])));
}
// Reverses a fixed 8-character field in place of a copy.
void reverse8(char* s) { std::reverse(s, s + 8); }
// The number of characters before the first blank of an 8-character field.
int wordlen(const char* s) { return int(std::find(s, s + 8, ' ') - s); }
void conjugate(const std::complex<double>* z, std::complex<double>* w, int n) {
  for (int i = 0; i < n; ++i) w[i] = std::conj(z[i]);
}
void isum(const int* v, int n, int& s) {
  s = 0;
  for (int i = 0; i < n; ++i) s += v[i];
}
bool positive(const double& x) { return x > 0.0; }
int iadd(int a, int b) { return a + b; }
void maybe(const double* x, double& out) { out = x ? *x : -1.0; }
void sum3(const double* d, double& s) { s = d[0] + d[1] + d[2]; }
// out = d; x only feeds d's computed default.
void scaled3(const double&, const double* d, double* out) { std::copy(d, d + 3, out); }
void bump(int* i) { *i += 1; }
void flag(int& out, const int& on) { out = on ? 7 : 3; }

// 1-byte logicals: toggled in place, and set as results from a given one.
void toggle(bool* flags, int n) {
  for (int i = 0; i < n; ++i) flags[i] = !flags[i];
}
void toggle1(bool& flag) { flag = !flag; }
void bytes(bool* on, bool& off, const bool* given) {
  *on = *given;
  off = !*given;
}

// A result whose extents the caller chooses.
void grid(double* x, int n, int m) { std::fill(x, x + std::max(n, 0) * std::max(m, 0), 1.0); }
// x(1..k) = s: a result whose extent is negated, and a negated default.
void ramp(double* x, int k, int /*m*/, double s) { std::fill(x, x + std::max(k, 0), s); }
// Memory exhaustion inside a routine.
void exhaust(int n) {
  if (n > 0) throw std::bad_alloc();
}

// Call-backs.
using Fn = double (*)(const double&);
double square(const double& x) { return x * x; }
// Sum of f over x(n).
void fsum(Fn f, const double* x, int n, double& s) {
  s = 0.0;
  for (int i = 0; i < n; ++i) s += f(x[i]);
}
// A call-back in two C forms: f over reals or fi over integers.
using IntFn = int (*)(const int&);
int twice(const int& i) { return 2 * i; }
// Sum over x(n) of the form given (kind 1 real, 2 integer).
void either(IntFn fi, Fn f, const double* x, int n, int real, double& s, int& kind) {
  (void)real;
  s = 0.0;
  kind = f ? 1 : 2;
  for (int i = 0; i < n; ++i) s += f ? f(x[i]) : double(fi(int(x[i])));
}
// f summed over 1..n: an integer call-back given as a parameter of its own.
void isumf(IntFn f, int n, int& s) {
  s = 0;
  for (int i = 1; i <= n; ++i) s += f(i);
}
using ArrayFn = void (*)(const int& n, const double* x, double* y, double& scale);
// Calls g once; returns what it wrote into y and scale.
void apply(ArrayFn g, const double* x, double* y, int n, double& scale) {
  scale = 1.0;
  g(n, x, y, scale);
}
using PairFn = void (*)(double& a, double& b);
void pair(PairFn f, double& a, double& b) {
  a = 1.0;
  b = 2.0;
  f(a, b);
}

// A text with its hidden length after every other argument, as Fortran
// compilers pass it: namelen reports the length it received and the number
// of characters before the first blank; named hands both to a call-back of
// its own type.
using NamedFn = void (*)(const char* name, int* n, int* word, std::size_t name_len);
void namelen(const char* name, int* n, int* word, std::size_t name_len) {
  *n = int(name_len);
  *word = int(std::find(name, name + name_len, ' ') - name);
}
void named(NamedFn f, const char* name, int* n, int* word, std::size_t name_len) {
  f(name, n, word, name_len);
}

// Sums x after using it as scratch.
void scratchsum(double* x, int n, double& s) {
  s = 0.0;
  for (int i = 0; i < n; ++i) s += x[i], x[i] = -1.0;
}

// Functions in the shape of the root finders' call-backs (math.bdsafe,
// nrsafe and fpsafe), so that their routine objects and _cpointer capsules
// can be handed over and called directly: f = x² - c, d = 2x with c = args(1)
// (2 when na < 1); xnew = cos(fargs(1)); and Heron's step towards √c,
// xnew = (x + c/x)/2 with x = fargs(1), c = fargs(2) (2 when na < 2).
void parabola(double* f, double* d, const double* x, const double* args, const int* na,
              const int* /*nfun*/) {
  const double c = *na >= 1 ? args[0] : 2.0;
  *f = *x * *x - c;
  *d = 2.0 * *x;
}
void cosine(double* xnew, const double* fargs, const int* /*na*/, const int* /*nfun*/) {
  *xnew = std::cos(fargs[0]);
}
void heron(double* xnew, const double* fargs, const int* na, const int* /*nfun*/) {
  const double c = *na >= 2 ? fargs[1] : 2.0;
  *xnew = 0.5 * (fargs[0] + c / fargs[0]);
}

// Echoes two integers whose defaults round a real; counts the blanks of three
// long fixed-length texts.
void echo2(const int& n, const int& m, const double& /*s*/, const int& /*k*/, int& on, int& om) {
  on = n;
  om = m;
}
void blanks3(const char* a, const char* b, const char* c, int& n) {
  n = int(std::count(a, a + 200, ' ') + std::count(b, b + 54, ' ') + std::count(c, c + 200, ' '));
}

}  // namespace enginetest

namespace tavrin::bind {
namespace {
using namespace dsl;
namespace et = enginetest;

TAVRIN_CALLBACK(fn_type, et::Fn, "f", in(Real, "x"));
TAVRIN_CALLBACK(intfn_type, et::IntFn, "f", in(Int, "i"));
TAVRIN_CALLBACK_DOC(arrayfn_type, et::ArrayFn, "g", "Doubles x into y.",
                    "def g(x, y, scale):\n    y[:] = 2.0 * x\n    scale[()] = 2.0",
                    in(Int, "n").opt("len(x)"), in(Real, "x", "n"), out(Real, "y", "n"),
                    inout(Real, "scale").describe("the factor applied"));
TAVRIN_CALLBACK_RETURNING(pairfn_type, et::PairFn, "f", ("a", "b"), inout(Real, "a"),
                          inout(Real, "b"));

TAVRIN_CALLBACK(namedfn_type, et::NamedFn, "f", in(Text, "name"), out(Int, "n"), out(Int, "word"),
                text_length("name_len", "name"));

TAVRIN_BINDING_MODULE(enginetest, "routines that exercise the binding engine");
TAVRIN_ROUTINE(vadd, et::vadd, in(Real, "a", "n"), in(Real, "b", "n"), out(Real, "c", "n"),
               in(Int, "n").opt("len(a)"));
TAVRIN_ROUTINE(axpy, et::axpy, inout(Real, "a", "n"), in(Real, "b", "n"), in(Int, "n").opt("len(a)"),
               in(Real, "s").opt("1.0"));
TAVRIN_ROUTINE(refill, et::fill, inout(Real, "x", "n").nooverwrite(), in(Int, "n").opt("len(x)"),
               in(Real, "v"));
TAVRIN_ROUTINE(fill, et::fill, inplace(Real, "x", "n"), in(Int, "n").opt("len(x)"), in(Real, "v"));
TAVRIN_ROUTINE(matvec, et::matvec, in(Real, "a", "n,m"), in(Real, "x", "m"), out(Real, "y", "n"),
               in(Int, "n").opt("shape(a,0)"), in(Int, "m").opt("shape(a,1)"));
TAVRIN_ROUTINE(upper, et::upper, in(Text, "s"), out(Text, "out", "10"), out(Int, "n"));
TAVRIN_ROUTINE(reverse8, et::reverse8, inout(Text, "s", "8"));
TAVRIN_ROUTINE(wordlen, et::wordlen, result(Int, "wordlen"), in(Text, "s", "8"));
TAVRIN_ROUTINE(conjugate, et::conjugate, in(Complex, "z", "n"), out(Complex, "w", "n"),
               in(Int, "n").opt("len(z)"));
TAVRIN_ROUTINE(isum, et::isum, in(Int, "v", "n"), in(Int, "n").opt("len(v)"), out(Int, "s"));
TAVRIN_ROUTINE(positive, et::positive, result(Logical, "positive"), in(Real, "x"));
TAVRIN_ROUTINE(iadd, et::iadd, result(Int, "iadd"), in(Int, "a"), in(Int, "b"));
TAVRIN_ROUTINE(maybe, et::maybe, in(Real, "x").absent(), out(Real, "out"));
TAVRIN_ROUTINE(sum3, et::sum3, in(Real, "d", "3").opt("[1.0, 2.0, 4.0]"), out(Real, "s"));
TAVRIN_ROUTINE(scaled3, et::scaled3, in(Real, "x"), in(Real, "d", "3").opt("[2*x, 1+pow(x,3)]"),
               out(Real, "out", "3"));
TAVRIN_ROUTINE(bump, et::bump, inplace(Int, "i"));
TAVRIN_ROUTINE(flag, et::flag, out(Int, "out"), in(Logical, "on"));
TAVRIN_ROUTINE(square, et::square, result(Real, "square"), in(Real, "x"));
TAVRIN_ROUTINE(fsum, et::fsum, callback("f", fn_type), in(Real, "x", "n"), in(Int, "n").opt("len(x)"),
               out(Real, "s"));
TAVRIN_ROUTINE(apply, et::apply, callback("g", arrayfn_type), in(Real, "x", "n"), out(Real, "y", "n"),
               in(Int, "n").opt("len(x)"), out(Real, "scale"));
TAVRIN_ROUTINE(twice, et::twice, result(Int, "twice"), in(Int, "i"));
TAVRIN_ROUTINE(either, et::either, callback("fi", intfn_type).form_of_callback("f"),
               callback("f", fn_type).relation("real==0 || f"), in(Real, "x", "n"),
               in(Int, "n").opt("len(x)"), in(Int, "real").opt("0"), out(Real, "s"), out(Int, "kind"));
TAVRIN_ROUTINE(isumf, et::isumf, callback("f", intfn_type), in(Int, "n"), out(Int, "s"));
TAVRIN_ROUTINE(pair, et::pair, callback("f", pairfn_type), out(Real, "a"), out(Real, "b"));
TAVRIN_ROUTINE(toggle, et::toggle, inplace(Logical1, "flags", "n"), in(Int, "n").opt("len(flags)"));
TAVRIN_ROUTINE(toggle1, et::toggle1, inplace(Logical1, "flag"));
TAVRIN_ROUTINE(bytes, et::bytes, out(Logical1, "on"), out(Logical1, "off"), in(Logical1, "given"));
TAVRIN_ROUTINE(parabola, et::parabola, out(Real, "f"), out(Real, "d"), in(Real, "x"),
               in(Real, "args", "na"), in(Int, "na").opt("len(args)"), in(Int, "nfun").opt("0"));
TAVRIN_ROUTINE(cosine, et::cosine, out(Real, "xnew"), in(Real, "fargs", "na"),
               in(Int, "na").opt("len(fargs)").relation("na>=1"), in(Int, "nfun").opt("0"));
TAVRIN_ROUTINE(heron, et::heron, out(Real, "xnew"), in(Real, "fargs", "na"),
               in(Int, "na").opt("len(fargs)").relation("na>=1"), in(Int, "nfun").opt("0"));
TAVRIN_ROUTINE(namelen, et::namelen, in(Text, "name", "12"), out(Int, "n"), out(Int, "word"),
               text_length("name_len", "name"));
TAVRIN_ROUTINE(named, et::named, callback("f", namedfn_type), in(Text, "name"), out(Int, "n"),
               out(Int, "word"), text_length("name_len", "name"));
TAVRIN_ROUTINE(scratchsum, et::scratchsum, in(Real, "x", "n").nooverwrite(), in(Int, "n").opt("len(x)"),
               out(Real, "s"));
TAVRIN_ROUTINE(grid, et::grid, out(Real, "x", "n,m"), in(Int, "n"), in(Int, "m"));
TAVRIN_ROUTINE(exhaust, et::exhaust, in(Int, "n"));
TAVRIN_ROUTINE(square_checked, et::square, result(Real, "square"), in(Real, "x").relation("x>=0.5"));
TAVRIN_ROUTINE(ramp, et::ramp, out(Real, "x", "-m"), hide(Int, "k", "max(-m,0)"), in(Int, "m"),
               in(Real, "s").opt("max(-m/2,0.5)"));
TAVRIN_ROUTINE(echo2, et::echo2, in(Int, "n").opt("ceiling(s)"), in(Int, "m").opt("floor(s)+ceiling(k)"),
               in(Real, "s"), in(Int, "k").opt("1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1+(1))))))))))))))))))))))))))))))))))))))))"), out(Int, "on"), out(Int, "om"));
TAVRIN_ROUTINE(blanks3, et::blanks3, in(Text, "a", "200"), in(Text, "b", "54"), in(Text, "c", "200"),
               out(Int, "n"));
TAVRIN_ROUTINE(split_checked, et::fill, inplace(Real, "x", "n"), in(Int, "n").opt("len(x)").relation("n>=1"),
               in(Real, "v"));

}  // namespace
}  // namespace tavrin::bind

PyMODINIT_FUNC PyInit__tavrin_enginetest() { return tavrin::bind::create_module("_tavrin_enginetest"); }
