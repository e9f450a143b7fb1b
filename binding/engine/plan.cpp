// Call plans: what the engine derives once from each descriptor.
#include <algorithm>
#include <map>
#include <memory>
#include <stdexcept>

#include "engine/engine.hpp"

namespace tavrin::bind {

const char* ordinal_suffix(int n) {
  const int t = n % 100;
  if (t >= 11 && t <= 13) return "th";
  switch (n % 10) {
    case 1: return "st";
    case 2: return "nd";
    case 3: return "rd";
    default: return "th";
  }
}

namespace {

std::string trim(std::string_view s) {
  std::string out;
  for (char c : s)
    if (c != ' ' && c != '\t') out += c;
  return out;
}

std::vector<std::string> split_top(std::string_view s) {
  std::vector<std::string> parts;
  int depth = 0;
  std::string cur;
  for (char c : s) {
    if (c == '(' || c == '[') ++depth;
    if (c == ')' || c == ']') --depth;
    if (c == ',' && depth == 0) {
      parts.push_back(trim(cur));
      cur.clear();
    } else {
      cur += c;
    }
  }
  parts.push_back(trim(cur));
  return parts;
}

bool is_parameter(const Arg& a) {
  return a.intent == Intent::In || a.intent == Intent::InOut || a.intent == Intent::InPlace;
}

const char* kind_word(Kind k) {
  switch (k) {
    case Kind::Int: return "int";
    case Kind::Real: return "float";
    case Kind::Complex: return "complex";
    case Kind::Logical:
    case Kind::Logical1: return "logical";
    case Kind::Text: return "string";
    case Kind::Callback: return "call-back function";
  }
  return "";
}

char type_char(Kind k) {
  switch (k) {
    case Kind::Real: return 'd';
    case Kind::Complex: return 'D';
    case Kind::Logical1: return 'b';
    default: return 'i';
  }
}

std::string describe(const ArgPlan& a, bool with_intent) {
  const Arg& d = *a.desc;
  std::string s;
  if (with_intent) {
    switch (d.intent) {
      case Intent::In: s = "input "; break;
      case Intent::InOut: s = "in/output "; break;
      case Intent::InPlace: s = "in-place "; break;
      default: break;
    }
  }
  if (d.kind == Kind::Callback) return s + "call-back function";
  if (d.kind == Kind::Text) {
    s += "string(len=";
    s += d.len ? trim(d.len) : "*";
    return s + ")";
  }
  // A scalar updated in place is a 0-d array of the caller's.
  if (d.rank == 0 && d.intent == Intent::InPlace)
    return s + "rank-0 array('" + type_char(d.kind) + "')";
  if (d.rank == 0) return s + kind_word(d.kind);
  s += "rank-" + std::to_string(d.rank) + " array('" + type_char(d.kind) + "') with bounds (";
  s += trim(d.dims ? d.dims : "");
  return s + ")";
}

// Compiles the parts of one argument that refer to the others.
void compile_arg(ArgPlan& ap, const std::function<int(std::string_view)>& lookup) {
  const Arg& d = *ap.desc;
  if (d.rank > 0) {
    const auto parts = split_top(d.dims ? d.dims : "");
    if (int(parts.size()) != d.rank) throw std::invalid_argument("bad extents");
    for (const std::string& p : parts)
      ap.dims.push_back(p == "*" ? Expr() : Expr::compile(p, lookup));
  }
  if (d.kind == Kind::Text && d.len) ap.len = Expr::compile(d.len, lookup);
  if (d.def) {
    const std::string def = trim(d.def);
    if (d.kind == Kind::Text && !def.empty() && (def[0] == '\'' || def[0] == '"')) {
      ap.def_is_text = true;
      std::string_view raw(d.def);
      const std::size_t a = raw.find_first_of("'\""), b = raw.find_last_of("'\"");
      ap.def_text = std::string(raw.substr(a + 1, b > a ? b - a - 1 : 0));
    } else if (d.rank > 0 && !def.empty() && def[0] == '[') {
      ap.def_is_list = true;
      for (const std::string& v : split_top(def.substr(1, def.size() - 2)))
        ap.def_list.push_back(Expr::compile(v, lookup));
    } else {
      ap.def = Expr::compile(def, lookup);
    }
  }
  if (d.check) ap.check = Expr::compile(d.check, lookup);
}

}  // namespace

void build_callback_plan(CallbackPlan& p, const CallbackType& t) {
  p.type = &t;
  const auto lookup = [&](std::string_view n) {
    for (std::size_t i = 0; i < t.args.size(); ++i)
      if (n == t.args[i].name) return int(i);
    return -1;
  };
  p.args.resize(t.args.size());
  std::string req, opt;
  for (std::size_t i = 0; i < t.args.size(); ++i) {
    ArgPlan& ap = p.args[i];
    ap.desc = &t.args[i];
    compile_arg(ap, lookup);
    ap.required = !ap.desc->def;
    ap.cindex = int(i);
    std::string& list = ap.required ? req : opt;
    list += (list.empty() ? "" : ",") + std::string(ap.desc->name);
  }
  // A Python call-back takes the required arguments first, then the ones
  // with defaults (extents), each group in the C order.
  for (int pass = 0; pass < 2; ++pass)
    for (std::size_t i = 0; i < p.args.size(); ++i)
      if (p.args[i].required == (pass == 0)) p.py_order.push_back(int(i));
  p.nrequired = int(std::count_if(p.args.begin(), p.args.end(), [](const ArgPlan& a) { return a.required; }));
  for (const char* name : t.returns) {
    const int k = lookup(name);
    if (k < 0) throw std::invalid_argument(std::string("call-back ") + t.name + " returns unknown '" + name + "'");
    p.returns.push_back(k);
  }
  p.signature = std::string("def ") + t.name + "(" + req + (opt.empty() ? "" : (req.empty() ? "[" : ",[") + opt + "]") + "): return";
  if (!p.returns.empty()) {
    std::string r;
    for (int k : p.returns) r += std::string(r.empty() ? " " : ",") + t.args[std::size_t(k)].name;
    p.signature += r;
  }
}

const CallbackPlan& callback_plan(const CallbackType& t) {
  static std::map<const CallbackType*, std::unique_ptr<CallbackPlan>> plans;
  auto& slot = plans[&t];
  if (!slot) {
    auto p = std::make_unique<CallbackPlan>();
    build_callback_plan(*p, t);
    slot = std::move(p);
  }
  return *slot;
}

void build_plan(Plan& p, const Routine& r, const std::string& module) {
  p.routine = &r;
  p.module = module;
  p.qualname = "_tavrin." + module + "." + r.name;
  const std::size_t n = r.args.size();
  if (n > std::size_t(max_args)) throw std::invalid_argument("too many arguments");

  const auto fail = [&](const std::string& why) {
    throw std::invalid_argument("descriptor of " + module + "." + r.name + ": " + why);
  };
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = 0; j < i; ++j)
      if (std::string_view(r.args[i].name) == r.args[j].name)
        fail(std::string("argument '") + r.args[i].name + "' named twice");
  const auto lookup = [&](std::string_view name) {
    for (std::size_t i = 0; i < n; ++i)
      if (r.args[i].intent != Intent::Result && name == r.args[i].name) return int(i);
    return -1;
  };

  p.args.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    ArgPlan& ap = p.args[i];
    ap.desc = &r.args[i];
    try {
      compile_arg(ap, lookup);
    } catch (const std::exception& e) {
      fail(std::string("argument '") + ap.desc->name + "': " + e.what());
    }
    const Arg& d = *ap.desc;
    if (d.kind == Kind::Callback) {
      if (!d.cb) fail(std::string("call-back '") + d.name + "' without a type");
      ap.cb = &callback_plan(*d.cb);
    }
    if (d.intent == Intent::Hide && ap.def.empty()) fail(std::string("hidden '") + d.name + "' without an expression");
  }

  // Python parameters: required ones in library order, then the optional
  // ones, the call-back extra arguments and the overwrite flags.
  std::vector<int> required, optional;
  for (std::size_t i = 0; i < n; ++i) {
    const Arg& d = r.args[i];
    if (!is_parameter(d)) continue;
    (d.optional ? optional : required).push_back(int(i));
  }
  auto intern = [](const std::string& s) { return PyUnicode_InternFromString(s.c_str()); };
  int ord = 0;
  for (int i : required) {
    ArgPlan& ap = p.args[std::size_t(i)];
    ap.required = true;
    ap.ordinal = ++ord;
    ap.param = int(p.params.size());
    ap.position = std::to_string(ord) + ordinal_suffix(ord) + " argument";
    p.params.push_back({i, ParamRole::Value, intern(ap.desc->name)});
  }
  p.nrequired = ord;
  ord = 0;
  for (int i : optional) {
    ArgPlan& ap = p.args[std::size_t(i)];
    ap.ordinal = ++ord;
    ap.param = int(p.params.size());
    ap.position = std::to_string(ord) + ordinal_suffix(ord) + " keyword";
    p.params.push_back({i, ParamRole::Value, intern(ap.desc->name)});
  }
  for (std::size_t i = 0; i < n; ++i) {
    ArgPlan& ap = p.args[i];
    if (ap.desc->kind != Kind::Callback) continue;
    ap.extra_param = int(p.params.size());
    p.params.push_back({int(i), ParamRole::ExtraArgs, intern(std::string(ap.desc->name) + "_extra_args")});
  }
  for (std::size_t i = 0; i < n; ++i) {
    ArgPlan& ap = p.args[i];
    if (ap.desc->intent != Intent::InOut || ap.desc->rank == 0 || ap.desc->always_copy) continue;
    ap.overwrite_param = int(p.params.size());
    p.params.push_back({int(i), ParamRole::Overwrite, intern(std::string("overwrite_") + ap.desc->name)});
  }
  if (p.params.size() > std::size_t(max_params)) fail("too many parameters");
  int c = 0;
  for (std::size_t i = 0; i < n; ++i) {
    ArgPlan& ap = p.args[i];
    if (ap.position.empty()) ap.position = "argument";
    if (ap.desc->intent != Intent::Result) ap.cindex = c++;
    if (ap.desc->intent == Intent::Out && ap.desc->rank > 0)
      for (const Expr& e : ap.dims)
        if (e.empty()) fail(std::string("result '") + ap.desc->name + "' needs explicit extents");
    if (ap.desc->intent == Intent::Out && ap.desc->kind == Kind::Text && ap.len.empty())
      fail(std::string("text result '") + ap.desc->name + "' needs a length");
  }

  // Relations that every array the routine reads must satisfy.
  for (std::size_t i = 0; i < n; ++i) {
    ArgPlan& ap = p.args[i];
    const Arg& d = *ap.desc;
    if (d.rank > 0 && d.intent != Intent::Out && d.intent != Intent::Hide) {
      for (int k = 0; k < d.rank; ++k) {
        const Expr& e = ap.dims[std::size_t(k)];
        if (e.empty()) continue;
        Relation rel;
        rel.array = int(i);
        rel.axis = k;
        rel.at_least = d.rank == 1;
        rel.e = &e;
        const int s = e.single_arg();
        rel.blame = s >= 0 && p.args[std::size_t(s)].param >= 0 ? s : int(i);
        rel.text = d.rank == 1 ? "(len(" + std::string(d.name) + ")>=" + e.text() + ")"
                               : "(shape(" + std::string(d.name) + "," + std::to_string(k) + ")==" + e.text() + ")";
        p.relations.push_back(rel);
      }
    }
    if (!ap.check.empty()) {
      Relation rel;
      rel.e = &ap.check;
      rel.blame = int(i);
      rel.text = "(" + ap.check.text() + ")";
      p.relations.push_back(rel);
    }
  }

  // Defaults in dependency order.
  std::vector<int> pending;
  for (std::size_t i = 0; i < n; ++i)
    if (r.args[i].def) pending.push_back(int(i));
  auto deps_of = [&](int i) {
    const ArgPlan& ap = p.args[std::size_t(i)];
    std::vector<int> deps = ap.def.depends();
    for (const Expr& e : ap.def_list) deps.insert(deps.end(), e.depends().begin(), e.depends().end());
    for (const Expr& e : ap.dims) deps.insert(deps.end(), e.depends().begin(), e.depends().end());
    deps.insert(deps.end(), ap.len.depends().begin(), ap.len.depends().end());
    return deps;
  };
  while (!pending.empty()) {
    bool progressed = false;
    for (auto it = pending.begin(); it != pending.end();) {
      bool ready = true;
      for (int d : deps_of(*it))
        if (d != *it && std::find(pending.begin(), pending.end(), d) != pending.end()) ready = false;
      if (ready) {
        p.default_order.push_back(*it);
        it = pending.erase(it);
        progressed = true;
      } else {
        ++it;
      }
    }
    if (!progressed) fail("defaults depend on each other in a cycle");
  }

  // Results: the function value, then what is written, in library order.
  for (std::size_t i = 0; i < n; ++i)
    if (r.args[i].intent == Intent::Result) p.results.push_back(int(i));
  for (std::size_t i = 0; i < n; ++i)
    if (r.args[i].intent == Intent::Out || r.args[i].intent == Intent::InOut) p.results.push_back(int(i));

  for (std::size_t i = 0; i < n; ++i) {
    const Arg& d = r.args[i];
    p.has_texts = p.has_texts || d.kind == Kind::Text;
    p.has_absent = p.has_absent || (d.optional && !d.def && d.kind != Kind::Callback);
    p.has_callbacks = p.has_callbacks || d.kind == Kind::Callback;
    if (d.intent == Intent::Out) p.outputs.push_back(int(i));
  }
  for (const Param& prm : p.params) p.has_flags = p.has_flags || prm.role != ParamRole::Value;

  // The call line and the doc string.
  std::string outs, req, opt;
  for (int i : p.results) outs += (outs.empty() ? "" : ",") + std::string(r.args[std::size_t(i)].name);
  for (const Param& prm : p.params) {
    const std::string name = PyUnicode_AsUTF8(prm.name);
    const bool is_req = prm.role == ParamRole::Value && p.args[std::size_t(prm.arg)].required;
    std::string& dst = is_req ? req : opt;
    dst += (dst.empty() ? "" : ",") + name;
  }
  std::string args = req;
  if (!opt.empty()) args += (req.empty() ? "[" : ",[") + opt + "]";
  p.call_line = (outs.empty() ? "" : outs + " = ") + r.name + "(" + args + ")";

  std::string doc = p.call_line + "\n\nWrapper for ``" + r.name + "``.\n";
  if (r.doc) doc += std::string("\n") + r.doc + "\n";
  auto section = [&](const char* title, auto&& pick) {
    std::string body;
    for (const Param& prm : p.params) pick(prm, body);
    if (!body.empty()) {
      doc += std::string("\n") + title + "\n" + std::string(std::string_view(title).size(), '-') + "\n" + body;
    }
  };
  section("Parameters", [&](const Param& prm, std::string& body) {
    const ArgPlan& ap = p.args[std::size_t(prm.arg)];
    if (prm.role != ParamRole::Value || !ap.required) return;
    body += std::string(ap.desc->name) + " : " + describe(ap, true) + "\n";
    if (ap.desc->doc) body += std::string("    ") + ap.desc->doc + "\n";
  });
  section("Other Parameters", [&](const Param& prm, std::string& body) {
    const ArgPlan& ap = p.args[std::size_t(prm.arg)];
    switch (prm.role) {
      case ParamRole::ExtraArgs:
        body += std::string(PyUnicode_AsUTF8(prm.name)) + " : input tuple, optional\n    Default: ()\n";
        return;
      case ParamRole::Overwrite:
        body += std::string(PyUnicode_AsUTF8(prm.name)) + " : input int, optional\n    Default: 0\n";
        return;
      case ParamRole::Value:
        if (ap.required) return;
        body += std::string(ap.desc->name) + " : " + describe(ap, true) + ", optional\n";
        if (ap.desc->doc) body += std::string("    ") + ap.desc->doc + "\n";
        body += std::string("    Default: ") + (ap.desc->def ? trim(ap.desc->def) : "absent") + "\n";
        return;
    }
  });
  if (!p.results.empty()) {
    doc += "\nReturns\n-------\n";
    for (int i : p.results) {
      const ArgPlan& ap = p.args[std::size_t(i)];
      doc += std::string(ap.desc->name) + " : " + describe(ap, false) + "\n";
    }
  }
  std::string cbs;
  for (const ArgPlan& ap : p.args)
    if (ap.cb) cbs += "  " + ap.cb->signature + "\n";
  if (!cbs.empty()) doc += "\nCall-back functions::\n\n" + cbs;
  p.doc = doc;
}

}  // namespace tavrin::bind
