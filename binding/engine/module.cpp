// The extension module: its init function, the module objects (one per
// library module, holding routines and shared-state variables), the routine
// objects and the registry that the table files fill while the module loads.
#define TAVRIN_IMPORT_ARRAY
#include <algorithm>
#include <cstring>
#include <map>
#include <new>
#include <stdexcept>

#include "engine/numpy.hpp"
#include "foundation/halt.hpp"
#include "foundation/shared_state.hpp"

namespace tavrin::bind {

PyObject* error_class = nullptr;

// ---------------------------------------------------------------------------
// Registry of the table files.

namespace {

struct ModuleEntry {
  std::string name;
  std::string doc;
  std::vector<const Routine*> routines;
  const ModuleInfo* variables = nullptr;
  std::vector<const Plan*> plans;
};

std::vector<ModuleEntry>& registry() {
  static std::vector<ModuleEntry> entries;
  return entries;
}

ModuleEntry& entry(const char* name) {
  auto& r = registry();
  for (ModuleEntry& e : r)
    if (e.name == name) return e;
  r.push_back(ModuleEntry{name, {}, {}, nullptr, {}});
  return r.back();
}

std::deque<Plan>& plans() {
  static std::deque<Plan> p;
  return p;
}

}  // namespace

void register_routine(const char* module, const Routine& r) { entry(module).routines.push_back(&r); }

// A module split over several table files may give its full doc in one and a
// short label in the others: the longest is kept, whatever the order of
// registration.
void register_module_doc(const char* module, const char* doc) {
  ModuleEntry& e = entry(module);
  if (std::strlen(doc) > e.doc.size()) e.doc = doc;
}

void set_python_error_from_exception() {
  try {
    throw;
  } catch (const CallbackAbort&) {
    if (!PyErr_Occurred()) PyErr_SetString(error_class, "call-back failed");
  } catch (const std::bad_alloc&) {
    PyErr_NoMemory();
  } catch (const std::exception& e) {
    PyErr_SetString(error_class, e.what());
  } catch (...) {
    PyErr_SetString(error_class, "unknown C++ exception");
  }
}

// ---------------------------------------------------------------------------
// Keep-alive of allocatable storage behind a NumPy view.

namespace {

struct StorageObject {
  PyObject_HEAD
  std::shared_ptr<void> block;
};

void storage_dealloc(PyObject* self) {
  reinterpret_cast<StorageObject*>(self)->block.~shared_ptr();
  Py_TYPE(self)->tp_free(self);
}

}  // namespace

PyTypeObject StorageType = [] {
  PyTypeObject t{PyVarObject_HEAD_INIT(nullptr, 0)};
  t.tp_name = "_tavrin.storage";
  t.tp_basicsize = sizeof(StorageObject);
  t.tp_dealloc = storage_dealloc;
  t.tp_flags = Py_TPFLAGS_DEFAULT;
  t.tp_doc = "Shared ownership of the storage of a shared-state array.";
  return t;
}();

PyObject* new_storage_owner(std::shared_ptr<void> block) {
  PyObject* o = StorageType.tp_alloc(&StorageType, 0);
  if (!o) return nullptr;
  new (&reinterpret_cast<StorageObject*>(o)->block) std::shared_ptr<void>(std::move(block));
  return o;
}

// ---------------------------------------------------------------------------
// Routine objects.

namespace {

struct RoutineObject {
  PyObject_HEAD
  vectorcallfunc vectorcall;
  const Plan* plan;
};

PyObject* routine_vectorcall(PyObject* self, PyObject* const* args, std::size_t nargsf, PyObject* kw) {
  return call_routine(*reinterpret_cast<RoutineObject*>(self)->plan, args, nargsf, kw);
}

const Plan& plan_of(PyObject* self) { return *reinterpret_cast<RoutineObject*>(self)->plan; }

PyObject* routine_doc(PyObject* self, void*) { return PyUnicode_FromString(plan_of(self).doc.c_str()); }
PyObject* routine_name(PyObject* self, void*) { return PyUnicode_FromString(plan_of(self).routine->name); }
PyObject* routine_cpointer(PyObject* self, void*) { return routine_capsule(*plan_of(self).routine); }
PyObject* routine_text_signature(PyObject* self, void*) {
  return PyUnicode_FromString(plan_of(self).text_signature.c_str());
}

// The default of an optional parameter as inspect shows it: the value of its
// literal in the text signature (None where the default is computed).
PyObject* default_value(const std::string& literal) {
  PyObject* ast = PyImport_ImportModule("ast");
  if (!ast) return nullptr;
  PyObject* v = PyObject_CallMethod(ast, "literal_eval", "s", literal.c_str());
  Py_DECREF(ast);
  return v;
}

bool is_keyword(PyObject* name) {
  PyObject* keyword = PyImport_ImportModule("keyword");
  PyObject* r = keyword ? PyObject_CallMethod(keyword, "iskeyword", "O", name) : nullptr;
  Py_XDECREF(keyword);
  const bool yes = r == Py_True;
  Py_XDECREF(r);
  PyErr_Clear();
  return yes;
}

// inspect.Signature of the routine, built on first request and kept.
PyObject* make_signature(const Plan& p) {
  PyObject* inspect = PyImport_ImportModule("inspect");
  if (!inspect) return nullptr;
  PyObject* parameter = PyObject_GetAttrString(inspect, "Parameter");
  PyObject* signature = PyObject_GetAttrString(inspect, "Signature");
  Py_DECREF(inspect);
  PyObject* kind = parameter ? PyObject_GetAttrString(parameter, "POSITIONAL_OR_KEYWORD") : nullptr;
  PyObject* list = kind && signature ? PyList_New(0) : nullptr;
  PyObject* result = nullptr;
  bool ok = list != nullptr;
  for (std::size_t j = 0; ok && j < p.params.size(); ++j) {
    // inspect refuses a Python keyword as a name (utility's `lambda`): such a
    // parameter is made under a stand-in name and then given its own.
    PyObject* name = p.params[j].name;
    const bool keyword = is_keyword(name);
    PyObject* stand_in = keyword ? PyUnicode_FromFormat("%U_", name) : nullptr;
    PyObject* args = PyTuple_Pack(2, keyword ? stand_in : name, kind);
    Py_XDECREF(stand_in);
    PyObject* kw = PyDict_New();
    PyObject* def = nullptr;
    if (int(j) >= p.nrequired) def = default_value(p.param_defaults[j]);
    ok = args && kw && (int(j) < p.nrequired || def) &&
         (!def || PyDict_SetItemString(kw, "default", def) == 0);
    PyObject* prm = ok ? PyObject_Call(parameter, args, kw) : nullptr;
    if (prm && keyword && PyObject_SetAttrString(prm, "_name", name) < 0) Py_CLEAR(prm);
    ok = prm && PyList_Append(list, prm) == 0;
    Py_XDECREF(prm);
    Py_XDECREF(def);
    Py_XDECREF(kw);
    Py_XDECREF(args);
  }
  if (ok) result = PyObject_CallOneArg(signature, list);
  Py_XDECREF(list);
  Py_XDECREF(kind);
  Py_XDECREF(signature);
  Py_XDECREF(parameter);
  return result;
}

PyObject* routine_signature(PyObject* self, void*) {
  const Plan& p = plan_of(self);
  if (!p.signature) p.signature = make_signature(p);
  Py_XINCREF(p.signature);
  return p.signature;
}
PyObject* routine_repr(PyObject* self) {
  return PyUnicode_FromFormat("<tavrin routine %s.%s>", plan_of(self).module.c_str(), plan_of(self).routine->name);
}

PyGetSetDef routine_getset[] = {
    {"__doc__", routine_doc, nullptr, nullptr, nullptr},
    {"__name__", routine_name, nullptr, nullptr, nullptr},
    {"_cpointer", routine_cpointer, nullptr, "The routine's C entry, as a capsule named by its type.", nullptr},
    {"__text_signature__", routine_text_signature, nullptr, nullptr, nullptr},
    {"__signature__", routine_signature, nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

void routine_dealloc(PyObject* self) { PyObject_Free(self); }

}  // namespace

PyTypeObject RoutineType = [] {
  PyTypeObject t{PyVarObject_HEAD_INIT(nullptr, 0)};
  t.tp_name = "_tavrin.routine";
  t.tp_basicsize = sizeof(RoutineObject);
  t.tp_dealloc = routine_dealloc;
  t.tp_vectorcall_offset = offsetof(RoutineObject, vectorcall);
  t.tp_call = PyVectorcall_Call;
  t.tp_repr = routine_repr;
  t.tp_flags = Py_TPFLAGS_DEFAULT | Py_TPFLAGS_HAVE_VECTORCALL;
  t.tp_getset = routine_getset;
  return t;
}();

PyObject* new_routine_object(const Plan* plan) {
  RoutineObject* o = PyObject_New(RoutineObject, &RoutineType);
  if (!o) return nullptr;
  o->vectorcall = routine_vectorcall;
  o->plan = plan;
  return reinterpret_cast<PyObject*>(o);
}

PyObject* routine_capsule(const Routine& r) {
  return PyCapsule_New(reinterpret_cast<void*>(r.fn), r.type->name(), nullptr);
}

const Routine* routine_of(PyObject* obj) {
  if (Py_TYPE(obj) != &RoutineType) return nullptr;
  return plan_of(obj).routine;
}

// ---------------------------------------------------------------------------
// Module objects and their variables.

namespace {

struct ModuleObject {
  PyObject_HEAD
  PyObject* dict;
  const ModuleEntry* entry;
};

const VariableInfo* find_variable(PyObject* self, PyObject* name) {
  const ModuleEntry* e = reinterpret_cast<ModuleObject*>(self)->entry;
  if (!e->variables || !PyUnicode_Check(name)) return nullptr;
  const char* n = PyUnicode_AsUTF8(name);
  if (!n) {
    PyErr_Clear();
    return nullptr;
  }
  for (const VariableInfo& v : e->variables->variables)
    if (std::strcmp(v.name, n) == 0) return &v;
  return nullptr;
}

int var_npy_type(ElemType t) {
  switch (t) {
    case ElemType::Real: return NPY_FLOAT64;
    case ElemType::Complex: return NPY_COMPLEX128;
    case ElemType::Logical: return NPY_BOOL;
    default: return NPY_INT32;
  }
}

Kind var_kind(ElemType t) {
  switch (t) {
    case ElemType::Real: return Kind::Real;
    case ElemType::Complex: return Kind::Complex;
    default: return Kind::Int;
  }
}

PyObject* read_variable(const VariableInfo& v) {
  switch (v.kind) {
    case VarKind::Constant:
      return PyArray_New(&PyArray_Type, 0, nullptr, NPY_INT32, nullptr, v.address, 0,
                         NPY_ARRAY_C_CONTIGUOUS | NPY_ARRAY_ALIGNED, nullptr);
    case VarKind::Fixed: {
      if (v.type == ElemType::Char) {
        PyArray_Descr* d = PyArray_DescrNewFromType(NPY_STRING);
        if (!d) return nullptr;
        d->elsize = v.length;
        return PyArray_NewFromDescr(&PyArray_Type, d, 0, nullptr, nullptr, v.address, NPY_ARRAY_CARRAY, nullptr);
      }
      return PyArray_New(&PyArray_Type, 0, nullptr, var_npy_type(v.type), nullptr, v.address, 0,
                         NPY_ARRAY_CARRAY, nullptr);
    }
    case VarKind::Allocatable:
    case VarKind::Sized: {
      const auto* a = static_cast<const AllocatableBase*>(v.address);
      if (!a->allocated()) Py_RETURN_NONE;
      npy_intp dims[AllocatableBase::max_rank];
      for (int k = 0; k < a->rank(); ++k) dims[k] = a->size(k + 1);
      PyObject* arr = PyArray_New(&PyArray_Type, a->rank(), dims, var_npy_type(v.type), nullptr,
                                  a->raw_data(), 0, NPY_ARRAY_FARRAY, nullptr);
      if (!arr) return nullptr;
      PyObject* owner = new_storage_owner(a->share());
      if (!owner || PyArray_SetBaseObject(reinterpret_cast<PyArrayObject*>(arr), owner) < 0) {
        Py_XDECREF(owner);
        Py_DECREF(arr);
        return nullptr;
      }
      return arr;
    }
  }
  Py_RETURN_NONE;
}

int write_error(const ModuleEntry& e, const VariableInfo& v, const std::string& why) {
  PyErr_Format(error_class, "failed to set %s.%s: %s", e.name.c_str(), v.name, why.c_str());
  return -1;
}

int write_variable(const ModuleEntry& e, const VariableInfo& v, PyObject* value) {
  if (!value) {
    PyErr_Format(PyExc_AttributeError, "%s.%s can't be deleted", e.name.c_str(), v.name);
    return -1;
  }
  switch (v.kind) {
    case VarKind::Constant:
      PyErr_Format(PyExc_AttributeError, "%s.%s is read-only", e.name.c_str(), v.name);
      return -1;
    case VarKind::Fixed: {
      if (v.type == ElemType::Char) {
        PyObject* item = nullptr;
        if (PyArray_Check(value)) {
          item = PyObject_CallMethod(value, "item", nullptr);
          if (!item) return -1;
          value = item;
        }
        PyObject* b = nullptr;
        if (v.path) {
          b = path_bytes(value);  // the file Python's open() would name
        } else if (PyBytes_Check(value)) {
          Py_INCREF(value);
          b = value;
        } else if (PyUnicode_Check(value)) {
          b = PyUnicode_AsLatin1String(value);
          if (!b) PyErr_Clear();
        }
        Py_XDECREF(item);
        if (!b) return write_error(e, v, v.path ? "can't be converted to a path" : "can't be converted to string");
        char* dst = static_cast<char*>(v.address);
        const std::size_t n = std::size_t(v.length);
        if (v.path) {
          const std::string why = path_refusal(PyBytes_AS_STRING(b), std::size_t(PyBytes_GET_SIZE(b)), n);
          if (!why.empty()) {
            Py_DECREF(b);
            return write_error(e, v, why);
          }
        }
        const std::size_t k = std::min<std::size_t>(n, std::size_t(PyBytes_GET_SIZE(b)));
        std::memmove(dst, PyBytes_AS_STRING(b), k);
        std::memset(dst + k, ' ', n - k);
        Py_DECREF(b);
        return 0;
      }
      if (v.type == ElemType::Logical) {
        const int t = PyObject_IsTrue(value);
        if (t < 0) return -1;
        *static_cast<bool*>(v.address) = t != 0;
      } else if (v.type == ElemType::Int) {
        int x;
        if (!int_from_object(value, x)) return write_error(e, v, "can't be converted to int");
        *static_cast<int*>(v.address) = x;
      } else {
        double x;
        if (!real_from_object(value, x)) return write_error(e, v, "can't be converted to float");
        *static_cast<double*>(v.address) = x;
      }
      return 0;
    }
    case VarKind::Sized: {
      // The owner fixes the extents: copy in values of exactly that shape.
      const auto* a = static_cast<const AllocatableBase*>(v.address);
      if (!a->allocated()) return write_error(e, v, "not allocated yet");
      std::string why;
      PyObject* arr = array_from_object(value, var_kind(v.type), a->rank(), false, why);
      if (!arr) return PyErr_Occurred() ? -1 : write_error(e, v, why);
      auto* pa = reinterpret_cast<PyArrayObject*>(arr);
      std::string shape, want;
      for (int k = 0; k < a->rank(); ++k) {
        shape += (k ? "," : "") + std::to_string(PyArray_DIM(pa, k));
        want += (k ? "," : "") + std::to_string(a->size(k + 1));
      }
      if (shape != want) {
        Py_DECREF(arr);
        return write_error(e, v, "shape (" + shape + ") does not match the allocated (" + want + ")");
      }
      std::memmove(a->raw_data(), PyArray_DATA(pa), std::size_t(PyArray_NBYTES(pa)));
      Py_DECREF(arr);
      return 0;
    }
    case VarKind::Allocatable: {
      auto* a = static_cast<AllocatableBase*>(v.address);
      if (value == Py_None) {
        a->deallocate();
        return 0;
      }
      std::string why;
      PyObject* arr = array_from_object(value, var_kind(v.type), a->rank(), false, why);
      if (!arr) return PyErr_Occurred() ? -1 : write_error(e, v, why);
      auto* pa = reinterpret_cast<PyArrayObject*>(arr);
      int ext[AllocatableBase::max_rank] = {};
      bool same = a->allocated();
      for (int k = 0; k < a->rank(); ++k) {
        if (PyArray_DIM(pa, k) > 2147483647) {
          Py_DECREF(arr);
          return write_error(e, v, "extent beyond 32-bit integers");
        }
        ext[k] = int(PyArray_DIM(pa, k));
        same = same && ext[k] == a->size(k + 1);
      }
      try {
        if (!same) a->allocate_raw(std::span<const int>(ext, std::size_t(a->rank())));
      } catch (...) {
        Py_DECREF(arr);
        set_python_error_from_exception();
        return -1;
      }
      std::memmove(a->raw_data(), PyArray_DATA(pa), std::size_t(PyArray_NBYTES(pa)));
      Py_DECREF(arr);
      return 0;
    }
  }
  return 0;
}

PyObject* module_getattro(PyObject* self, PyObject* name) {
  if (const VariableInfo* v = find_variable(self, name)) return read_variable(*v);
  // A routine, looked up at every call: taken straight from the module's
  // dictionary.  The generic lookup finds the same object (the module type
  // has no data descriptor named as a routine), after a walk through the type.
  if (PyUnicode_CheckExact(name)) {
    PyObject* r = PyDict_GetItemWithError(reinterpret_cast<ModuleObject*>(self)->dict, name);
    if (r && Py_TYPE(r) == &RoutineType) {
      Py_INCREF(r);
      return r;
    }
    if (!r && PyErr_Occurred()) return nullptr;
  }
  return PyObject_GenericGetAttr(self, name);
}

int module_setattro(PyObject* self, PyObject* name, PyObject* value) {
  const ModuleEntry& e = *reinterpret_cast<ModuleObject*>(self)->entry;
  if (const VariableInfo* v = find_variable(self, name)) return write_variable(e, *v, value);
  PyObject* dict = reinterpret_cast<ModuleObject*>(self)->dict;
  if (PyObject* cur = PyDict_GetItemWithError(dict, name); cur && Py_TYPE(cur) == &RoutineType) {
    PyErr_Format(PyExc_AttributeError, "routine %s.%S can't be replaced", e.name.c_str(), name);
    return -1;
  }
  return PyObject_GenericSetAttr(self, name, value);
}

PyObject* module_dir(PyObject* self, PyObject*) {
  auto* m = reinterpret_cast<ModuleObject*>(self);
  PyObject* keys = PyDict_Keys(m->dict);
  if (!keys) return nullptr;
  if (m->entry->variables)
    for (const VariableInfo& v : m->entry->variables->variables) {
      PyObject* s = PyUnicode_FromString(v.name);
      if (!s || PyList_Append(keys, s) < 0) {
        Py_XDECREF(s);
        Py_DECREF(keys);
        return nullptr;
      }
      Py_DECREF(s);
    }
  if (PyList_Sort(keys) < 0) {
    Py_DECREF(keys);
    return nullptr;
  }
  return keys;
}

PyObject* module_repr(PyObject* self) {
  return PyUnicode_FromFormat("<tavrin module '%s'>", reinterpret_cast<ModuleObject*>(self)->entry->name.c_str());
}

void module_dealloc(PyObject* self) {
  Py_XDECREF(reinterpret_cast<ModuleObject*>(self)->dict);
  Py_TYPE(self)->tp_free(self);
}

PyMethodDef module_methods[] = {
    {"__dir__", module_dir, METH_NOARGS, nullptr},
    {nullptr, nullptr, 0, nullptr},
};

}  // namespace

PyTypeObject ModuleType = [] {
  PyTypeObject t{PyVarObject_HEAD_INIT(nullptr, 0)};
  t.tp_name = "_tavrin.module";
  t.tp_basicsize = sizeof(ModuleObject);
  t.tp_dealloc = module_dealloc;
  t.tp_getattro = module_getattro;
  t.tp_setattro = module_setattro;
  t.tp_repr = module_repr;
  t.tp_flags = Py_TPFLAGS_DEFAULT;
  t.tp_dictoffset = offsetof(ModuleObject, dict);
  t.tp_methods = module_methods;
  t.tp_doc = "A module of the tavrin library: its routines and variables.";
  return t;
}();

namespace {

const char* var_type_text(const VariableInfo& v) {
  switch (v.type) {
    case ElemType::Int: return "int";
    case ElemType::Real: return "float";
    case ElemType::Complex: return "complex";
    case ElemType::Char: return "string";
    case ElemType::Logical: return "bool";
  }
  return "";
}

std::string module_doc(const ModuleEntry& e) {
  // The first line of the registered doc is the module's label; what
  // follows is its paragraph on purpose and conventions.
  const std::size_t nl = e.doc.find('\n');
  std::string doc = e.name;
  if (!e.doc.empty()) doc += " --- " + e.doc.substr(0, nl);
  doc += "\n";
  if (nl != std::string::npos) {
    const std::size_t body = e.doc.find_first_not_of('\n', nl);
    if (body != std::string::npos) {
      doc += "\n";
      append_wrapped(doc, std::string_view(e.doc).substr(body), 0);
    }
  }
  if (e.variables) {
    doc += "\nVariables:\n";
    for (const VariableInfo& v : e.variables->variables) {
      doc += std::string("  ") + v.name + " : ";
      if (v.kind == VarKind::Allocatable) doc += "allocatable rank-" + std::to_string(v.rank) + " ";
      else if (v.kind == VarKind::Sized) doc += "rank-" + std::to_string(v.rank) + " ";
      else if (v.kind == VarKind::Constant) doc += "constant ";
      doc += var_type_text(v);
      if (v.type == ElemType::Char) doc += "(len=" + std::to_string(v.length) + ")";
      if (v.kind == VarKind::Allocatable || v.kind == VarKind::Sized) doc += " array";
      doc += std::string(", ") + v.doc;
      if (v.path)
        doc += " (a path: a str is encoded as Python encodes file names; more bytes than the field, trailing "
               "blanks aside, or a null byte before them are refused)";
      doc += "\n";
    }
  }
  if (!e.plans.empty()) {
    doc += "\nRoutines:\n";
    for (const Plan* p : e.plans) doc += "  " + p->call_line + "\n";
  }
  return doc;
}

PyObject* new_module_object(const ModuleEntry& e) {
  ModuleObject* m = PyObject_New(ModuleObject, &ModuleType);
  if (!m) return nullptr;
  m->entry = &e;
  m->dict = PyDict_New();
  PyObject* self = reinterpret_cast<PyObject*>(m);
  if (!m->dict) {
    Py_DECREF(self);
    return nullptr;
  }
  for (const Plan* p : e.plans) {
    PyObject* r = new_routine_object(p);
    if (!r || PyDict_SetItemString(m->dict, p->routine->name, r) < 0) {
      Py_XDECREF(r);
      Py_DECREF(self);
      return nullptr;
    }
    Py_DECREF(r);
  }
  PyObject* doc = PyUnicode_FromString(module_doc(e).c_str());
  PyObject* name = PyUnicode_FromString(e.name.c_str());
  const bool ok = doc && name && PyDict_SetItemString(m->dict, "__doc__", doc) == 0 &&
                  PyDict_SetItemString(m->dict, "__name__", name) == 0;
  Py_XDECREF(doc);
  Py_XDECREF(name);
  if (!ok) {
    Py_DECREF(self);
    return nullptr;
  }
  return self;
}

// The binding's exit hook: Python's buffered output comes out before the
// library's own last line when the process ends on a fatal path.
void flush_python_streams() {
  if (!Py_IsInitialized()) return;
  const PyGILState_STATE g = PyGILState_Ensure();
  PyObject *type, *value, *tb;
  PyErr_Fetch(&type, &value, &tb);
  for (const char* name : {"stdout", "stderr"}) {
    PyObject* f = PySys_GetObject(name);
    if (f && f != Py_None) {
      PyObject* r = PyObject_CallMethod(f, "flush", nullptr);
      Py_XDECREF(r);
      PyErr_Clear();
    }
  }
  PyErr_Restore(type, value, tb);
  PyGILState_Release(g);
}

bool prepare(std::string& why) {
  // The shared-state modules join the routine modules of the same name.
  for (const ModuleInfo& m : data_modules()) entry(m.name).variables = &m;
  for (const ModuleInfo& m : subsystem_data_modules()) entry(m.name).variables = &m;
  auto& reg = registry();
  std::sort(reg.begin(), reg.end(), [](const ModuleEntry& a, const ModuleEntry& b) { return a.name < b.name; });
  for (ModuleEntry& e : reg) {
    e.plans.clear();
    for (const Routine* r : e.routines) {
      Plan& p = plans().emplace_back();
      try {
        build_plan(p, *r, e.name);
      } catch (const std::exception& ex) {
        why = ex.what();
        return false;
      }
      e.plans.push_back(&p);
    }
  }
  return true;
}

}  // namespace
}  // namespace tavrin::bind

namespace tavrin::bind {

PyObject* create_module(const char* name) {
  // NumPy's C interface: missing, of another ABI version (0x1000009), of an
  // API version below the one compiled for, or of another byte order.
  if (_import_array() < 0) {
    PyErr_Print();
    PyErr_SetString(PyExc_ImportError, "numpy.core.multiarray failed to import");
    return nullptr;
  }
  if (PyType_Ready(&StorageType) < 0 || PyType_Ready(&RoutineType) < 0 || PyType_Ready(&ModuleType) < 0)
    return nullptr;
  static bool prepared = false;
  if (!prepared) {
    std::string why;
    if (!prepare(why)) {
      PyErr_Format(PyExc_ImportError, "%s: %s", name, why.c_str());
      return nullptr;
    }
    prepared = true;
  }
  static PyModuleDef def = {
      PyModuleDef_HEAD_INIT, name, nullptr, -1, nullptr, nullptr, nullptr, nullptr, nullptr,
  };
  PyObject* m = PyModule_Create(&def);
  if (!m) return nullptr;
  if (!error_class) {
    // Derived from Exception, and not bound as an attribute of the module.
    error_class = PyErr_NewException((std::string(name) + ".error").c_str(), nullptr, nullptr);
    if (!error_class) {
      Py_DECREF(m);
      return nullptr;
    }
  }
  std::string inventory = std::string("This module '") + name +
                          "' gives Python access to the tavrin library of composite mechanics.\n"
                          "Library modules:\n";
  for (const ModuleEntry& e : registry()) {
    PyObject* mod = new_module_object(e);
    if (!mod || PyModule_AddObject(m, e.name.c_str(), mod) < 0) {
      Py_XDECREF(mod);
      Py_DECREF(m);
      return nullptr;
    }
    std::string members;
    if (e.variables)
      for (const VariableInfo& v : e.variables->variables) members += (members.empty() ? "" : ",") + std::string(v.name);
    for (const Plan* p : e.plans) members += (members.empty() ? "" : ",") + std::string(p->routine->name) + "()";
    inventory += "  " + e.name + " --- " + members + ".\n";
  }
  PyObject* version = PyUnicode_FromString("$Revision: $");
  PyObject* doc = PyUnicode_FromString(inventory.c_str());
  if (!version || !doc || PyModule_AddObject(m, "__version__", version) < 0 ||
      PyModule_AddObject(m, "__doc__", doc) < 0) {
    Py_XDECREF(version);
    Py_XDECREF(doc);
    Py_DECREF(m);
    return nullptr;
  }
  set_exit_hook(flush_python_streams);
  return m;
}

}  // namespace tavrin::bind
