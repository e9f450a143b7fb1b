// Call plans: what the engine derives once from each descriptor.
#include <algorithm>
#include <cstdlib>
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

// Appends `text` as lines of at most 76 characters indented by `indent`
// blanks; explicit line breaks in `text` are kept.
void append_wrapped(std::string& out, std::string_view text, std::size_t indent) {
  const std::string pad(indent, ' ');
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t nl = text.find('\n', start);
    if (nl == std::string_view::npos) nl = text.size();
    std::string_view line = text.substr(start, nl - start);
    std::string cur;
    std::size_t i = 0;
    while (i < line.size()) {
      while (i < line.size() && line[i] == ' ') ++i;
      std::size_t j = line.find(' ', i);
      if (j == std::string_view::npos) j = line.size();
      if (j == i) break;
      const std::string_view word = line.substr(i, j - i);
      if (!cur.empty() && indent + cur.size() + 1 + word.size() > 76) {
        out += pad + cur + "\n";
        cur.clear();
      }
      cur += (cur.empty() ? "" : " ") + std::string(word);
      i = j;
    }
    out += cur.empty() ? "\n" : pad + cur + "\n";
    start = nl + 1;
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

// Links every hidden text length with the text it measures; throws naming
// the fault when that is no text argument or is measured twice.
void link_text_lengths(std::vector<ArgPlan>& args, const std::function<int(std::string_view)>& lookup) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const Arg& d = *args[i].desc;
    if (!d.length_of) continue;
    const int t = lookup(d.length_of);
    if (t < 0 || args[std::size_t(t)].desc->kind != Kind::Text || args[std::size_t(t)].length_arg >= 0)
      throw std::invalid_argument(std::string("hidden length '") + d.name + "' of no text or of a text measured twice");
    args[i].length_of = t;
    args[std::size_t(t)].length_arg = int(i);
  }
}

// A default that is a literal the caller could pass: its Python value, as
// source text; empty when it is computed, a fill value of an array, or absent.
std::string literal_default(const ArgPlan& ap) {
  const Arg& d = *ap.desc;
  if (!d.def) return {};
  const std::string def = trim(d.def);
  if (ap.def_is_text) {
    std::string s = "'";
    for (char c : ap.def_text) s += (c == '\'' || c == '\\') ? std::string("\\") + c : std::string(1, c);
    return s + "'";
  }
  if (ap.def_is_list) {
    // A list of number literals; a list computed from other arguments
    // (HalpinTsai's zeta from vf) shows as computed.
    std::string s = "[";
    for (const std::string& v : split_top(def.substr(1, def.size() - 2))) {
      const std::string item = trim(v);
      char* end = nullptr;
      std::strtod(item.c_str(), &end);
      if (item.empty() || end != item.c_str() + item.size()) return {};
      s += (s.size() > 1 ? ", " : "") + item;
    }
    return s + "]";
  }
  if (d.rank > 0 || def.empty()) return {};
  // A number literal: all of it reads as one.
  char* end = nullptr;
  std::strtod(def.c_str(), &end);
  if (end != def.c_str() + def.size() || def.find_first_of("xXnNiI") != std::string::npos) return {};
  const bool integral = def.find_first_of(".eE") == std::string::npos;
  if (d.kind == Kind::Real && integral) return def + ".0";
  if (d.kind != Kind::Real && !integral) return {};
  return def;
}

// The signature tools show, "(a, b, n=None, overwrite_a=0)", and the default
// of every parameter as a Python literal (empty for a required one).
std::string text_signature(Plan& p) {
  std::string s = "(";
  p.param_defaults.clear();
  for (const Param& prm : p.params) {
    const ArgPlan& ap = p.args[std::size_t(prm.arg)];
    std::string def;
    switch (prm.role) {
      case ParamRole::ExtraArgs: def = "()"; break;
      case ParamRole::Overwrite: def = "0"; break;
      case ParamRole::Value:
        if (!ap.required) def = literal_default(ap);
        if (!ap.required && def.empty()) def = "None";
        break;
    }
    s += (s.size() > 1 ? ", " : "") + std::string(PyUnicode_AsUTF8(prm.name)) + (def.empty() ? "" : "=" + def);
    p.param_defaults.push_back(def);
  }
  return s + ")";
}

// What a result that is also a parameter says about the caller's value.
std::string inout_note(const ArgPlan& ap) {
  if (ap.desc->intent != Intent::InOut) return {};
  if (ap.desc->rank == 0) return "Returned updated.";
  if (ap.overwrite_param >= 0)
    return std::string("Returned updated; the array passed in is left unchanged unless overwrite_") +
           ap.desc->name + " is 1.";
  return "Returned updated; the array passed in is left unchanged.";
}

// The lines describing one argument: its type line, then its description.
void describe_arg(std::string& doc, const ArgPlan& ap, bool as_parameter) {
  const Arg& d = *ap.desc;
  doc += std::string(d.name) + " : " + describe(ap, as_parameter);
  if (as_parameter && !ap.required) doc += ", optional";
  doc += "\n";
  if (d.doc && (as_parameter || d.intent != Intent::InOut)) append_wrapped(doc, d.doc, 4);
  if (as_parameter && d.is_path)
    append_wrapped(doc, std::string("A str is encoded as Python encodes file names (os.fsencode), bytes are "
                                    "taken as given; a path of more than ") + trim(d.len) +
                            " bytes (trailing blanks aside), or with a null byte before them, is refused, not cut.",
                   4);
  if (as_parameter && d.kind == Kind::Callback)
    append_wrapped(doc, std::string("A Python function (see Call-back functions below), a routine "
                                    "object of the same C type, or a routine's _cpointer."), 4);
  if (!as_parameter && d.intent == Intent::InOut) append_wrapped(doc, inout_note(ap), 4);
  if (as_parameter && !ap.required)
    doc += std::string("    Default: ") + (d.def ? trim(d.def) : "absent") + "\n";
}

std::string routine_doc(const Plan& p) {
  const Routine& r = *p.routine;
  std::string doc = p.call_line + "\n\n";
  // The summary is the first line; notes (e.g. what is latched) may follow
  // after a blank line.
  if (r.doc) {
    const std::string_view text = r.doc;
    const std::size_t nl = std::min(text.find('\n'), text.size());
    doc += std::string(text.substr(0, nl)) + "\n";
    const std::size_t notes = text.find_first_not_of('\n', nl);
    if (notes != std::string_view::npos) {
      doc += "\n";
      append_wrapped(doc, text.substr(notes), 0);
    }
  } else {
    doc += std::string("Wrapper for ``") + r.name + "``.\n";
  }
  auto section = [&](const char* title, auto&& pick) {
    std::string body;
    for (const Param& prm : p.params) pick(prm, body);
    if (!body.empty())
      doc += std::string("\n") + title + "\n" + std::string(std::string_view(title).size(), '-') + "\n" + body;
  };
  section("Parameters", [&](const Param& prm, std::string& body) {
    const ArgPlan& ap = p.args[std::size_t(prm.arg)];
    if (prm.role == ParamRole::Value && ap.required) describe_arg(body, ap, true);
  });
  section("Other Parameters", [&](const Param& prm, std::string& body) {
    const ArgPlan& ap = p.args[std::size_t(prm.arg)];
    const std::string name = PyUnicode_AsUTF8(prm.name);
    switch (prm.role) {
      case ParamRole::ExtraArgs:
        body += name + " : input tuple, optional\n";
        append_wrapped(body, std::string("Extra arguments passed to ") + ap.desc->name +
                                 " after its own.", 4);
        body += "    Default: ()\n";
        return;
      case ParamRole::Overwrite:
        body += name + " : input int, optional\n";
        append_wrapped(body, std::string("1: the routine may update the array passed as ") +
                                 ap.desc->name + " (when it is already a Fortran-ordered array of "
                                 "the right type); 0: it works on a copy.", 4);
        body += "    Default: 0\n";
        return;
      case ParamRole::Value:
        if (!ap.required) describe_arg(body, ap, true);
        return;
    }
  });
  if (!p.results.empty()) {
    doc += "\nReturns\n-------\n";
    for (int i : p.results) describe_arg(doc, p.args[std::size_t(i)], false);
  }
  std::string cbs;
  for (const ArgPlan& ap : p.args)
    if (ap.cb && !ap.desc->form_of && cbs.find(ap.cb->signature) == std::string::npos)
      cbs += ap.cb->doc;
  if (!cbs.empty()) doc += "\nCall-back functions::\n\n" + cbs;
  return doc;
}

// The documentation of a call-back type: its signature line, what each of
// its arguments is to the Python function, and an example.
std::string callback_doc(const CallbackPlan& p) {
  const CallbackType& t = *p.type;
  std::string doc = "  " + p.signature + "\n";
  if (t.doc) append_wrapped(doc, t.doc, 4);
  for (int i : p.py_order) {
    const ArgPlan& ap = p.args[std::size_t(i)];
    const Arg& d = *ap.desc;
    const bool written = d.intent != Intent::In;
    const bool returned = std::find(p.returns.begin(), p.returns.end(), i) != p.returns.end();
    doc += std::string("    ") + d.name + " : ";
    if (d.kind == Kind::Text) doc += describe(ap, false);
    else if (d.rank == 0 && written && !returned)
      doc += std::string("writable rank-0 array('") + type_char(d.kind) + "'): fill it, e.g. " +
             d.name + "[()] = value";
    else if (d.rank == 0) doc += kind_word(d.kind);
    else doc += describe(ap, false) + (written && !returned ? ", writable: fill it" : "");
    if (!ap.required) doc += ", passed only when the function takes it";
    doc += "\n";
    if (d.doc) append_wrapped(doc, d.doc, 8);
  }
  if (!p.returns.empty()) {
    doc += "    Return a tuple of";
    for (int k : p.returns) doc += std::string(" ") + t.args[std::size_t(k)].name;
    doc += "; the library copies it back.\n";
  } else if (t.result >= 0) {
    doc += std::string("    Return the function value, a ") + kind_word(Kind(t.result)) + ".\n";
  } else {
    doc += "    The value it returns is ignored (a value other than None gives a RuntimeWarning).\n";
  }
  doc += "    Example::\n\n";
  if (t.example) {
    std::string_view ex = t.example;
    while (!ex.empty()) {
      const std::size_t nl = std::min(ex.find('\n'), ex.size());
      doc += "        " + std::string(ex.substr(0, nl)) + "\n";
      ex.remove_prefix(std::min(nl + 1, ex.size()));
    }
  } else {
    // Three lines from the descriptor: the header, what to do, a placeholder.
    std::string params, targets, values;
    for (int k = 0; k < p.nrequired; ++k) {
      const Arg& d = t.args[std::size_t(p.py_order[std::size_t(k)])];
      params += (params.empty() ? "" : ", ") + std::string(d.name);
      if (d.intent == Intent::In || !p.returns.empty()) continue;
      targets += (targets.empty() ? "" : ", ") + std::string(d.name) + (d.rank ? "[:]" : "[()]");
      values += values.empty() ? "0.0" : ", 0.0";
    }
    doc += "        def " + std::string(t.name) + "(" + params + "):\n";
    if (!p.returns.empty()) {
      std::string names;
      for (int k : p.returns) names += (names.empty() ? "" : ", ") + std::string(t.args[std::size_t(k)].name);
      doc += "            # compute the new values from the arguments\n            return " + names + "\n";
    } else if (t.result >= 0) {
      doc += "            # compute the function value from the arguments\n            return 0.0\n";
    } else {
      doc += "            # write the results into the arrays, in place\n            " +
             (targets.empty() ? std::string("pass") : targets + " = " + values) + "\n";
    }
  }
  doc += "\n";
  return doc;
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
    ap.required = !ap.desc->def && !ap.desc->length_of;
    if (ap.desc->length_of) continue;  // a hidden length is not passed to Python
    std::string& list = ap.required ? req : opt;
    list += (list.empty() ? "" : ",") + std::string(ap.desc->name);
  }
  link_text_lengths(p.args, lookup);
  // A Python call-back takes the required arguments first, then the ones
  // with defaults (extents), each group in the C order.
  for (int pass = 0; pass < 2; ++pass)
    for (std::size_t i = 0; i < p.args.size(); ++i)
      if (p.args[i].required == (pass == 0) && p.args[i].length_of < 0) p.py_order.push_back(int(i));
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
  p.doc = callback_doc(p);
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

namespace {

// A relation blamed on a call-back (which of its forms it was given in) is
// checked once the call-backs are resolved, every other one before.
void add_relation(Plan& p, Relation rel) {
  const bool on_callback = p.args[std::size_t(rel.blame)].desc->kind == Kind::Callback;
  (on_callback ? p.callback_relations : p.relations).push_back(std::move(rel));
}

Conv conversion_of(const Arg& d) {
  if (d.kind == Kind::Callback) return Conv::Callback;
  if (d.kind == Kind::Text) return Conv::Text;
  if (d.intent == Intent::InPlace) return Conv::InPlace;
  if (d.rank > 0) return Conv::Array;
  switch (d.kind) {
    case Kind::Real: return Conv::Real;
    case Kind::Complex: return Conv::Complex;
    case Kind::Logical: return Conv::Logical;
    case Kind::Logical1: return Conv::Logical1;
    default: return Conv::Int;
  }
}

}  // namespace

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
    const Arg& d = r.args[i];
    p.info.push_back({d.kind, d.intent, static_cast<unsigned char>(d.rank), d.always_copy});
  }
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
    if (d.intent == Intent::Hide && ap.def.empty() && !d.form_of && !d.length_of)
      fail(std::string("hidden '") + d.name + "' without an expression");
  }
  try {
    link_text_lengths(p.args, lookup);
  } catch (const std::exception& e) {
    fail(e.what());
  }
  const bool has_result = std::any_of(p.args.begin(), p.args.end(),
                                      [](const ArgPlan& ap) { return ap.desc->intent == Intent::Result; });
  for (std::size_t i = 0; i < n; ++i) {
    if (p.args[i].length_of >= 0) p.hidden_lengths.emplace_back(int(i), p.args[i].length_of);
    if (has_result && p.args[i].desc->intent != Intent::Result) p.c_args.push_back(int(i));
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
    p.params.push_back({i, ParamRole::Value, intern(ap.desc->name), conversion_of(*ap.desc)});
  }
  p.nrequired = ord;
  ord = 0;
  for (int i : optional) {
    ArgPlan& ap = p.args[std::size_t(i)];
    ap.ordinal = ++ord;
    ap.param = int(p.params.size());
    ap.position = std::to_string(ord) + ordinal_suffix(ord) + " keyword";
    p.params.push_back({i, ParamRole::Value, intern(ap.desc->name), conversion_of(*ap.desc)});
  }
  for (std::size_t i = 0; i < n; ++i) {
    ArgPlan& ap = p.args[i];
    if (ap.desc->kind != Kind::Callback || ap.desc->form_of) continue;
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
  for (std::size_t i = 0; i < n; ++i) {
    ArgPlan& ap = p.args[i];
    if (ap.position.empty()) ap.position = "argument";
    if (ap.desc->kind == Kind::Text && ap.desc->intent != Intent::Out) p.texts.push_back(int(i));
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
        if (std::int64_t k = 0; e.integer_literal(k)) {
          rel.form = Relation::Form::Literal;
          rel.literal = k;
        } else if (s >= 0 && p.args[std::size_t(s)].desc->rank == 0 &&
                   (p.args[std::size_t(s)].desc->kind == Kind::Int ||
                    p.args[std::size_t(s)].desc->kind == Kind::Logical)) {
          rel.form = Relation::Form::IntArg;
          rel.arg = s;
        }
        add_relation(p, std::move(rel));
      }
    }
    if (!ap.check.empty()) {
      Relation rel;
      rel.e = &ap.check;
      rel.blame = int(i);
      rel.text = "(" + ap.check.text() + ")";
      add_relation(p, std::move(rel));
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
    p.has_absent = p.has_absent || (d.optional && !d.def && d.kind != Kind::Callback);
    p.has_callbacks = p.has_callbacks || d.kind == Kind::Callback;
    if (d.intent == Intent::Out) p.outputs.push_back(int(i));
  }
  p.first_flag = int(p.params.size());
  while (p.first_flag > 0 && p.params[std::size_t(p.first_flag) - 1].role != ParamRole::Value) --p.first_flag;

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

  p.text_signature = text_signature(p);
  p.doc = routine_doc(p);
}

}  // namespace tavrin::bind
