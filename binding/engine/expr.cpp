#include "engine/expr.hpp"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <stdexcept>

namespace tavrin::bind {

class ExprParser {
 public:
  ExprParser(std::string_view s, const std::function<int(std::string_view)>& lookup, Expr& e)
      : s_(s), lookup_(lookup), e_(e) {}

  void parse() {
    parse_or();
    skip();
    if (pos_ != s_.size()) fail("unexpected '" + std::string(1, s_[pos_]) + "'");
  }

 private:
  using Op = Expr::Op;

  [[noreturn]] void fail(const std::string& why) const {
    throw std::invalid_argument("expression '" + std::string(s_) + "': " + why);
  }
  void skip() {
    while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_]))) ++pos_;
  }
  bool eat(std::string_view tok) {
    skip();
    if (s_.substr(pos_, tok.size()) == tok) {
      pos_ += tok.size();
      return true;
    }
    return false;
  }
  void emit(Op op, int a = 0) { e_.code_.push_back({op, a}); }
  void dep(int a) {
    if (std::find(e_.deps_.begin(), e_.deps_.end(), a) == e_.deps_.end()) e_.deps_.push_back(a);
  }

  void parse_or() {
    parse_and();
    while (eat("||")) {
      parse_and();
      emit(Op::Or);
    }
  }
  void parse_and() {
    parse_cmp();
    while (eat("&&")) {
      parse_cmp();
      emit(Op::And);
    }
  }
  void parse_cmp() {
    parse_add();
    static constexpr std::pair<std::string_view, Op> ops[] = {
        {"==", Op::Eq}, {"!=", Op::Ne}, {"<=", Op::Le}, {">=", Op::Ge}, {"<", Op::Lt}, {">", Op::Gt}};
    for (const auto& [tok, op] : ops) {
      if (eat(tok)) {
        parse_add();
        emit(op);
        return;
      }
    }
  }
  void parse_add() {
    parse_mul();
    for (;;) {
      if (eat("+")) {
        parse_mul();
        emit(Op::Add);
      } else if (eat("-")) {
        parse_mul();
        emit(Op::Sub);
      } else {
        return;
      }
    }
  }
  void parse_mul() {
    parse_unary();
    for (;;) {
      if (eat("*")) {
        parse_unary();
        emit(Op::Mul);
      } else if (eat("/")) {
        parse_unary();
        emit(Op::Div);
      } else {
        return;
      }
    }
  }
  void parse_unary() {
    if (eat("-")) {
      parse_unary();
      emit(Op::Neg);
    } else if (eat("+")) {
      parse_unary();
    } else if (eat("!")) {
      parse_unary();
      emit(Op::Not);
    } else {
      parse_primary();
    }
  }
  std::string_view name() {
    skip();
    const std::size_t start = pos_;
    while (pos_ < s_.size() &&
           (std::isalnum(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '_'))
      ++pos_;
    return s_.substr(start, pos_ - start);
  }
  int arg(std::string_view n) {
    const int a = lookup_(n);
    if (a < 0) fail("unknown argument '" + std::string(n) + "'");
    dep(a);
    return a;
  }
  void parse_primary() {
    skip();
    if (pos_ >= s_.size()) fail("unexpected end");
    const char c = s_[pos_];
    if (c == '(') {
      ++pos_;
      parse_or();
      if (!eat(")")) fail("missing ')'");
      return;
    }
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') {
      const std::string rest(s_.substr(pos_));
      char* end = nullptr;
      const std::size_t len = std::strspn(rest.c_str(), "0123456789");
      const bool real = len < rest.size() && (rest[len] == '.' || rest[len] == 'e' || rest[len] == 'E');
      if (real) {
        const double v = std::strtod(rest.c_str(), &end);
        e_.code_.push_back({Op::Real, 0, 0, v});
      } else {
        errno = 0;
        const long long v = std::strtoll(rest.c_str(), &end, 10);
        if (errno) fail("integer literal out of range");
        e_.code_.push_back({Op::Int, 0, v, 0.0});
      }
      pos_ += std::size_t(end - rest.c_str());
      return;
    }
    const std::string_view n = name();
    if (n.empty()) fail("unexpected '" + std::string(1, c) + "'");
    if (!eat("(")) {
      e_.code_.push_back({Op::Arg, arg(n)});
      return;
    }
    if (n == "shape") {
      const int a = arg(name());
      if (!eat(",")) fail("shape() takes an argument and an axis");
      parse_or();
      if (!eat(")")) fail("missing ')'");
      emit(Op::Shape, a);
      return;
    }
    if (n == "len" || n == "size") {
      const int a = arg(name());
      if (!eat(")")) fail("missing ')'");
      emit(n == "len" ? Op::Len : Op::Size, a);
      return;
    }
    int count = 0;
    if (!eat(")")) {
      do {
        parse_or();
        ++count;
      } while (eat(","));
      if (!eat(")")) fail("missing ')'");
    }
    struct Fn {
      std::string_view name;
      Op op;
      int arity;  // -1: one or more
    };
    static constexpr Fn fns[] = {{"max", Op::Max, -1}, {"min", Op::Min, -1},
                                 {"abs", Op::Abs, 1},  {"mod", Op::Mod, 2},
                                 {"ceiling", Op::Ceil, 1}, {"floor", Op::Floor, 1},
                                 {"log10", Op::Log10, 1}, {"pow", Op::Pow, 2}};
    for (const Fn& f : fns) {
      if (f.name != n) continue;
      if (f.arity < 0 ? count < 1 : count != f.arity) fail("wrong argument count of " + std::string(n));
      emit(f.op, count);
      return;
    }
    fail("unknown function '" + std::string(n) + "'");
  }

  std::string_view s_;
  const std::function<int(std::string_view)>& lookup_;
  Expr& e_;
  std::size_t pos_ = 0;
};

Expr Expr::compile(std::string_view text, const std::function<int(std::string_view)>& lookup) {
  Expr e;
  e.text_ = std::string(text);
  ExprParser(text, lookup, e).parse();
  const std::vector<Code>& c = e.code_;
  if (c.size() == 1 && c[0].op == Op::Arg) {
    e.single_ = e.a_ = c[0].a;
    e.form_ = Form::Arg;
  } else if (c.size() == 1 && c[0].op == Op::Int) {
    e.k_ = c[0].i;
    e.form_ = Form::Constant;
  } else if (c.size() == 1 && c[0].op == Op::Len) {
    e.a_ = c[0].a;
    e.form_ = Form::Len;
  } else if (c.size() == 2 && c[0].op == Op::Int && c[1].op == Op::Shape) {
    e.a_ = c[1].a;
    e.k_ = c[0].i;
    e.form_ = Form::Shape;
  }
  return e;
}

namespace {

bool add_overflows(std::int64_t a, std::int64_t b, std::int64_t& r) {
  return __builtin_add_overflow(a, b, &r);
}
bool sub_overflows(std::int64_t a, std::int64_t b, std::int64_t& r) {
  return __builtin_sub_overflow(a, b, &r);
}
bool mul_overflows(std::int64_t a, std::int64_t b, std::int64_t& r) {
  return __builtin_mul_overflow(a, b, &r);
}

bool to_int(double x, std::int64_t& out) {
  if (!(x > -9.2e18 && x < 9.2e18)) return false;  // NaN and out of range
  out = std::int64_t(x);
  return true;
}

}  // namespace

bool Expr::eval(const ExprEnv& env, Value& out) const {
  // Most extents are a literal or one argument's value.
  if (form_ == Form::Constant) {
    out = Value::of(k_);
    return true;
  }
  if (form_ == Form::Arg) return env.scalar(a_, out);
  constexpr int depth = 32;
  Value st[depth];
  int sp = 0;
  auto pop = [&]() -> Value& { return st[--sp]; };
  for (const Code& c : code_) {
    if (sp >= depth) return false;
    switch (c.op) {
      case Op::Int: st[sp++] = Value::of(c.i); break;
      case Op::Real: st[sp++] = Value::of_real(c.d); break;
      case Op::Arg:
        if (!env.scalar(c.a, st[sp])) return false;
        ++sp;
        break;
      case Op::Shape: {
        const Value k = pop();
        if (k.real) return false;
        st[sp++] = Value::of(env.shape(c.a, int(k.i)));
        break;
      }
      case Op::Len: st[sp++] = Value::of(env.shape(c.a, 0)); break;
      case Op::Size: st[sp++] = Value::of(env.size(c.a)); break;
      case Op::Neg: {
        Value& v = st[sp - 1];
        if (v.real) v.d = -v.d;
        else if (v.i == std::numeric_limits<std::int64_t>::min()) return false;
        else v.i = -v.i;
        break;
      }
      case Op::Not: {
        Value& v = st[sp - 1];
        v = Value::of(v.real ? v.d == 0.0 : v.i == 0);
        break;
      }
      case Op::Abs: {
        Value& v = st[sp - 1];
        if (v.real) v.d = std::fabs(v.d);
        else if (v.i == std::numeric_limits<std::int64_t>::min()) return false;
        else v.i = v.i < 0 ? -v.i : v.i;
        break;
      }
      case Op::Ceil:
      case Op::Floor: {
        Value& v = st[sp - 1];
        if (v.real) {
          std::int64_t r;
          if (!to_int(c.op == Op::Ceil ? std::ceil(v.d) : std::floor(v.d), r)) return false;
          v = Value::of(r);
        }
        break;
      }
      case Op::Log10: {
        Value& v = st[sp - 1];
        v = Value::of_real(std::log10(v.as_real()));
        break;
      }
      case Op::Max:
      case Op::Min: {
        Value best = st[sp - c.a];
        for (int k = sp - c.a + 1; k < sp; ++k) {
          const Value& v = st[k];
          const bool real = best.real || v.real;
          const bool better = real ? (c.op == Op::Max ? v.as_real() > best.as_real()
                                                      : v.as_real() < best.as_real())
                                   : (c.op == Op::Max ? v.i > best.i : v.i < best.i);
          if (better) best = v;
          if (real && !best.real) best = Value::of_real(best.as_real());
        }
        sp -= c.a;
        st[sp++] = best;
        break;
      }
      default: {
        const Value b = pop();
        const Value a = pop();
        Value r;
        if (a.real || b.real || c.op == Op::Pow) {  // pow is real
          const double x = a.as_real(), y = b.as_real();
          switch (c.op) {
            case Op::Add: r = Value::of_real(x + y); break;
            case Op::Sub: r = Value::of_real(x - y); break;
            case Op::Mul: r = Value::of_real(x * y); break;
            case Op::Div: r = Value::of_real(x / y); break;
            case Op::Mod: r = Value::of_real(std::fmod(x, y)); break;
            case Op::Pow: r = Value::of_real(std::pow(x, y)); break;
            case Op::Eq: r = Value::of(x == y); break;
            case Op::Ne: r = Value::of(x != y); break;
            case Op::Lt: r = Value::of(x < y); break;
            case Op::Le: r = Value::of(x <= y); break;
            case Op::Gt: r = Value::of(x > y); break;
            case Op::Ge: r = Value::of(x >= y); break;
            case Op::And: r = Value::of(x != 0.0 && y != 0.0); break;
            case Op::Or: r = Value::of(x != 0.0 || y != 0.0); break;
            default: return false;
          }
        } else {
          const std::int64_t x = a.i, y = b.i;
          std::int64_t v = 0;
          switch (c.op) {
            case Op::Add:
              if (add_overflows(x, y, v)) return false;
              break;
            case Op::Sub:
              if (sub_overflows(x, y, v)) return false;
              break;
            case Op::Mul:
              if (mul_overflows(x, y, v)) return false;
              break;
            case Op::Div:
            case Op::Mod:
              if (y == 0 || (x == std::numeric_limits<std::int64_t>::min() && y == -1)) return false;
              v = c.op == Op::Div ? x / y : x % y;
              break;
            case Op::Eq: v = x == y; break;
            case Op::Ne: v = x != y; break;
            case Op::Lt: v = x < y; break;
            case Op::Le: v = x <= y; break;
            case Op::Gt: v = x > y; break;
            case Op::Ge: v = x >= y; break;
            case Op::And: v = x != 0 && y != 0; break;
            case Op::Or: v = x != 0 || y != 0; break;
            default: return false;
          }
          r = Value::of(v);
        }
        st[sp++] = r;
      }
    }
  }
  if (sp != 1) return false;
  out = st[0];
  return true;
}

}  // namespace tavrin::bind
