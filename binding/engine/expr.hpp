// Small expressions of the descriptors: extents, defaults and relations.
//
// Compiled once (at import) into postfix code over argument indices, and
// evaluated per call on a fixed stack.  Integer arithmetic is 64-bit with
// Fortran's truncating division; an integer division by zero or an overflow
// makes the evaluation fail instead of trapping.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin::bind {

// Trivial, so that the evaluation stack costs nothing until it is used.
struct Value {
  bool real;
  std::int64_t i;
  double d;
  static Value of(std::int64_t v) { return {false, v, double(v)}; }
  static Value of_real(double v) { return {true, 0, v}; }
  double as_real() const { return real ? d : double(i); }
};

// What an expression can ask of the arguments of a call.
class ExprEnv {
 public:
  virtual bool scalar(int arg, Value& out) const = 0;       // false: not available
  virtual std::int64_t shape(int arg, int axis) const = 0;  // extent of an array or text
  virtual std::int64_t size(int arg) const = 0;
 protected:
  ~ExprEnv() = default;
};

class Expr {
 public:
  // Compiles `text`; `lookup` maps a name to an argument index (-1: unknown).
  // Throws std::invalid_argument with a message naming the fault.
  static Expr compile(std::string_view text, const std::function<int(std::string_view)>& lookup);

  bool empty() const { return code_.empty(); }
  const std::string& text() const { return text_; }
  // Arguments whose value or shape the expression reads.
  const std::vector<int>& depends() const { return deps_; }
  // A bare argument name: its index, else -1.
  int single_arg() const { return single_; }
  // A single integer literal: true with its value.
  bool integer_literal(std::int64_t& v) const {
    if (form_ != Form::Constant) return false;
    v = k_;
    return true;
  }
  // false when the evaluation failed (unavailable value, division by zero,
  // overflow); `out` is then unspecified.
  bool eval(const ExprEnv& env, Value& out) const;
  // The same for a concrete (final) environment: the forms most extents,
  // defaults and relations take (a literal, an argument, len(x),
  // shape(x,k)) are evaluated inline, without the stack machine.
  template <class Env>
  bool eval_in(const Env& env, Value& out) const {
    switch (form_) {
      case Form::Constant: out = Value::of(k_); return true;
      case Form::Arg: return env.scalar(a_, out);
      case Form::Len: out = Value::of(env.shape(a_, 0)); return true;
      case Form::Shape: out = Value::of(env.shape(a_, int(k_))); return true;
      case Form::General: break;
    }
    return eval(env, out);
  }

  enum class Op : std::uint8_t {
    Int, Real, Arg, Shape, Len, Size, Neg, Not, Add, Sub, Mul, Div, Eq, Ne, Lt, Le, Gt, Ge,
    And, Or, Max, Min, Abs, Mod, Ceil, Floor, Log10, Pow,
  };
  struct Code {
    Op op;
    int a = 0;  // argument index, or argument count of max/min
    std::int64_t i = 0;
    double d = 0.0;
  };

 private:
  std::string text_;
  std::vector<Code> code_;
  std::vector<int> deps_;
  int single_ = -1;
  // The shape of the code: a single integer literal (k_), a bare argument
  // (a_), len(a_), shape(a_, k_) with a literal axis, or anything else.
  enum class Form : std::uint8_t { General, Constant, Arg, Len, Shape };
  Form form_ = Form::General;
  int a_ = -1;
  std::int64_t k_ = 0;
  friend class ExprParser;
};

}  // namespace tavrin::bind
