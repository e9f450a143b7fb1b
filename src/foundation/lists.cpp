#include "foundation/lists.hpp"

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>
#include <span>
#include <vector>

#include "foundation/boundary.hpp"
#include "foundation/exact.hpp"

namespace tavrin::listhandling {

namespace {

template <class T>
T standard_marker() {
  constexpr double largest = std::numeric_limits<double>::max();
  if constexpr (std::is_same_v<T, int>) return std::numeric_limits<int>::max();
  else if constexpr (std::is_same_v<T, double>) return largest;
  else return {largest, largest};
}

// The index of a list: for each value that occurs in it (NaNs never do),
// the number of entries equal to it and a position before which no entry
// equals it.  Open addressing with linear probing in a power-of-two table
// kept at most half full; entries are never removed (a count may fall to 0),
// since only markers are ever overwritten and they are few.
template <class T>
class ValueIndex {
 public:
  using Key = detail::ExactKey<T>;
  // Counts and positions stay below 2^31: a list holds at most INT_MAX
  // entries.
  struct Entry {
    Key key{};
    std::uint32_t count = 0;
    std::uint32_t hint = 0;
    bool used = false;
  };

  Entry* find(const Key& k) {
    if (entries_.empty()) return nullptr;
    for (std::size_t i = slot_of(k);; i = (i + 1) & mask()) {
      if (!entries_[i].used) return nullptr;
      if (entries_[i].key == k) return &entries_[i];
    }
  }
  const Entry* find(const Key& k) const { return const_cast<ValueIndex*>(this)->find(k); }

  // The entry of k, created with count 0 when absent.  Throws
  // std::bad_alloc, leaving the index as it was; a reference obtained
  // earlier is invalid after a call that creates an entry.
  Entry& at(const Key& k) {
    if (Entry* e = find(k)) return *e;
    if (2 * (used_ + 1) > entries_.size()) rehash(std::max<std::size_t>(16, 2 * entries_.size()));
    std::size_t i = slot_of(k);
    while (entries_[i].used) i = (i + 1) & mask();
    entries_[i] = Entry{k, 0, 0, true};
    ++used_;
    return entries_[i];
  }

 private:
  std::size_t mask() const { return entries_.size() - 1; }
  std::size_t slot_of(const Key& k) const { return detail::ExactKeyHash{}(k) & mask(); }
  void rehash(std::size_t size) {
    std::vector<Entry> old(size);
    old.swap(entries_);
    for (const Entry& e : old) {
      if (!e.used) continue;
      std::size_t i = slot_of(e.key);
      while (entries_[i].used) i = (i + 1) & mask();
      entries_[i] = e;
    }
  }

  std::vector<Entry> entries_;
  std::size_t used_ = 0;
};

// One list: its entries (the logical capacity is their number) and their
// index, so that appends, uniqueness tests and sizes need no scan.
template <class T>
class GrowableList {
 public:
  using value_type = T;

  bool exists() const { return exists_; }
  std::size_t capacity() const { return data_.size(); }
  std::span<const T> entries() const { return data_; }

  // Creates the list, or empties an existing one, with `capacity` entries
  // equal to `marker`.  Throws std::bad_alloc, leaving the list as it was.
  void create(std::size_t capacity, const T& marker) {
    if (capacity > std::size_t(INT_MAX)) throw std::bad_alloc();
    std::vector<T> data(capacity, marker);
    ValueIndex<T> index;
    if (const auto k = detail::exact_key(marker)) index.at(*k).count = std::uint32_t(capacity);
    data_.swap(data);
    index_ = std::move(index);
    exists_ = true;
  }

  void free() {
    std::vector<T>().swap(data_);
    index_ = {};
    exists_ = false;
  }

  bool contains(const T& v) const {
    const auto k = detail::exact_key(v);
    const auto* e = k ? index_.find(*k) : nullptr;
    return e && e->count > 0;
  }

  // Position (from 0) of the first entry equal to `marker`; the capacity when
  // there is none.  The scan starts at the marker's hint, so the free slots
  // are found without passing over the used part again.
  std::size_t first(const T& marker) {
    const auto k = detail::exact_key(marker);
    auto* e = k ? index_.find(*k) : nullptr;
    if (!e || e->count == 0) return capacity();
    while (e->hint < data_.size() && !(data_[e->hint] == marker)) ++e->hint;
    return e->hint;
  }

  // Stores v at `pos`, which holds a marker.  Throws std::bad_alloc before
  // changing anything.
  void store(std::size_t pos, const T& v) {
    const auto k = detail::exact_key(v);
    if (k) index_.at(*k);  // the only step that can fail
    if (const auto old = detail::exact_key(data_[pos])) --index_.find(*old)->count;
    data_[pos] = v;
    if (k) {
      auto* e = index_.find(*k);
      ++e->count;
      e->hint = std::min(e->hint, std::uint32_t(pos));
    }
  }

  // Adds `increment` entries equal to `marker` at the end.  Throws
  // std::bad_alloc, leaving the entries as they were.
  void grow(std::size_t increment, const T& marker) {
    if (data_.size() + increment > std::size_t(INT_MAX)) throw std::bad_alloc();
    const auto k = detail::exact_key(marker);
    if (k) index_.at(*k);
    data_.resize(data_.size() + increment, marker);
    if (k) index_.find(*k)->count += std::uint32_t(increment);
  }

 private:
  std::vector<T> data_;
  bool exists_ = false;
  ValueIndex<T> index_;
};

}  // namespace

// The nine process-wide lists.
GrowableList<int> dynintlist1, dynintlist2, dynintlist3;
GrowableList<double> dynreallist1, dynreallist2, dynreallist3;
GrowableList<std::complex<double>> dyncmplxlist1, dyncmplxlist2, dyncmplxlist3;

namespace {

template <class T>
GrowableList<T>* select(int listid) {
  if (listid < 1 || listid > 3) return nullptr;
  if constexpr (std::is_same_v<T, int>) {
    static const std::array lists{&dynintlist1, &dynintlist2, &dynintlist3};
    return lists[std::size_t(listid - 1)];
  } else if constexpr (std::is_same_v<T, double>) {
    static const std::array lists{&dynreallist1, &dynreallist2, &dynreallist3};
    return lists[std::size_t(listid - 1)];
  } else {
    static const std::array lists{&dyncmplxlist1, &dyncmplxlist2, &dyncmplxlist3};
    return lists[std::size_t(listid - 1)];
  }
}

// Calls f with the list selected by (listid, ifflag); false when either is
// outside its range.
template <class F>
bool visit(int listid, int ifflag, F&& f) {
  switch (ifflag) {
    case 0:
      if (auto* l = select<int>(listid)) return f(*l), true;
      return false;
    case 1:
      if (auto* l = select<double>(listid)) return f(*l), true;
      return false;
    case 2:
      if (auto* l = select<std::complex<double>>(listid)) return f(*l), true;
      return false;
    default: return false;
  }
}

template <class T>
T marker_or_standard(const T* given) {
  return given ? *given : standard_marker<T>();
}

// The marker among the three optional ones that belongs to list type T.
template <class T>
T marker_for(const std::complex<double>* defcmplx, const double* defreal, const int* defint) {
  if constexpr (std::is_same_v<T, int>) return marker_or_standard(defint);
  else if constexpr (std::is_same_v<T, double>) return marker_or_standard(defreal);
  else return marker_or_standard(defcmplx);
}

template <class T>
int append_one(GrowableList<T>& list, const T& scalar, bool unique, std::size_t increment,
               const T& marker) {
  if (unique && list.contains(scalar)) return 0;
  const std::size_t pos = list.first(marker);
  if (pos == list.capacity()) list.grow(increment, marker);
  list.store(pos, scalar);
  return 1;
}

// The common part of the appends: the list selected, its increment checked,
// an absent list created with the caller's marker, then `append` run; memory
// that cannot be obtained gives -5014.
template <class T, class Append>
void append(const int* listid, int* iresult, const int* allocinc, const T* defval, Append&& body) {
  GrowableList<T>* list = select<T>(*listid);
  const int increment = allocinc ? *allocinc : standard_increment;
  if (!list || increment < 1) {
    *iresult = invalid_list;
    return;
  }
  const T marker = marker_or_standard(defval);
  try {
    if (!list->exists()) list->create(std::size_t(increment), marker);
    *iresult = body(*list, std::size_t(increment), marker);
  } catch (const std::bad_alloc&) {
    *iresult = -exists_or_no_memory;
  }
}

template <class T>
void append_scalar(const int* listid, const T* scalar, const int* uniflag, int* iresult,
                   const int* allocinc, const T* defval) {
  append<T>(listid, iresult, allocinc, defval,
            [&](GrowableList<T>& list, std::size_t inc, const T& marker) {
    return append_one(list, *scalar, *uniflag == 1, inc, marker);
  });
}

template <class T>
void append_array(const int* listid, const T* array, const int* narray, const int* uniflag,
                  int* iresult, const int* allocinc, const T* defval) {
  const std::span<const T> values(array, std::size_t(std::max(*narray, 0)));
  append<T>(listid, iresult, allocinc, defval,
            [&](GrowableList<T>& list, std::size_t inc, const T& marker) {
    if (*uniflag == 1) {
      if (values.empty()) return 0;
      // A run can occur only when every one of its values is in the list.
      const bool candidates =
          std::all_of(values.begin(), values.end(), [&](const T& v) { return list.contains(v); });
      const auto used = list.entries().first(list.first(marker));
      if (candidates &&
          std::search(used.begin(), used.end(), values.begin(), values.end()) != used.end())
        return 0;
    }
    int result = 0;
    for (const T& v : values) result = append_one(list, v, false, inc, marker);
    return result;
  });
}

template <class T>
void copy_of_list(const int* listid, T* copy, const int* ncopy, int* ierror) {
  const GrowableList<T>* list = select<T>(*listid);
  if (!list || !list->exists()) {
    *ierror = invalid_list;
    return;
  }
  const auto entries = list->entries();
  std::copy_n(entries.begin(), std::min(std::size_t(std::max(*ncopy, 0)), entries.size()), copy);
  *ierror = 0;
}

}  // namespace

}  // namespace tavrin::listhandling

namespace lh = tavrin::listhandling;

extern "C" {

void AllocateList(const int* listid, const int* ifflag, const int* le, int* ierror,
                  const std::complex<double>* defcmplx, const double* defreal, const int* defint) {
  tavrin::c_boundary(__func__, [&] {
    const bool selected = lh::visit(*listid, *ifflag, [&](auto& list) {
      using T = typename std::remove_reference_t<decltype(list)>::value_type;
      const T marker = lh::marker_for<T>(defcmplx, defreal, defint);
      try {
        const bool existed = list.exists();
        list.create(existed ? list.capacity() : std::size_t(std::max(*le, 0)), marker);
        *ierror = existed ? lh::exists_or_no_memory : 0;
      } catch (const std::bad_alloc&) {
        *ierror = lh::exists_or_no_memory;
      }
    });
    if (!selected) *ierror = lh::invalid_list;
  });
}

void DeallocateList(const int* listid, const int* ifflag, int* ierror) {
  const bool selected = lh::visit(*listid, *ifflag, [&](auto& list) {
    *ierror = list.exists() ? 0 : 1;
    list.free();
  });
  if (!selected) *ierror = lh::invalid_list;
}

void GetAllocationStatus(int* checkid, const int* listid, const int* ifflag) {
  *checkid = 0;
  lh::visit(*listid, *ifflag, [&](auto& list) { *checkid = list.exists() ? 1 : 0; });
}

int GetSizeOfList(const int* listid, const int* ifflag, const std::complex<double>* defcmplx,
                  const double* defreal, const int* defint) {
  int size = -1;
  lh::visit(*listid, *ifflag, [&](auto& list) {
    using T = typename std::remove_reference_t<decltype(list)>::value_type;
    if (list.exists()) size = int(list.first(lh::marker_for<T>(defcmplx, defreal, defint)));
  });
  return size;
}

void iAppendScalar2List(const int* listid, const int* scalar, const int* uniflag, int* iresult,
                        const int* allocinc, const int* defval) {
  tavrin::c_boundary(__func__, [&] {
    lh::append_scalar(listid, scalar, uniflag, iresult, allocinc, defval);
  });
}
void fAppendScalar2List(const int* listid, const double* scalar, const int* uniflag, int* iresult,
                        const int* allocinc, const double* defval) {
  tavrin::c_boundary(__func__, [&] {
    lh::append_scalar(listid, scalar, uniflag, iresult, allocinc, defval);
  });
}
void cAppendScalar2List(const int* listid, const std::complex<double>* scalar, const int* uniflag,
                        int* iresult, const int* allocinc, const std::complex<double>* defval) {
  tavrin::c_boundary(__func__, [&] {
    lh::append_scalar(listid, scalar, uniflag, iresult, allocinc, defval);
  });
}

void iAppendArray2List(const int* listid, const int* array, const int* narray, const int* uniflag,
                       int* iresult, const int* allocinc, const int* defval) {
  tavrin::c_boundary(__func__, [&] {
    lh::append_array(listid, array, narray, uniflag, iresult, allocinc, defval);
  });
}
void fAppendArray2List(const int* listid, const double* array, const int* narray,
                       const int* uniflag, int* iresult, const int* allocinc, const double* defval) {
  tavrin::c_boundary(__func__, [&] {
    lh::append_array(listid, array, narray, uniflag, iresult, allocinc, defval);
  });
}
void cAppendArray2List(const int* listid, const std::complex<double>* array, const int* narray,
                       const int* uniflag, int* iresult, const int* allocinc,
                       const std::complex<double>* defval) {
  tavrin::c_boundary(__func__, [&] {
    lh::append_array(listid, array, narray, uniflag, iresult, allocinc, defval);
  });
}

void iGetCopyOfList(const int* listid, int* copy, const int* ncopy, int* ierror) {
  lh::copy_of_list(listid, copy, ncopy, ierror);
}
void fGetCopyOfList(const int* listid, double* copy, const int* ncopy, int* ierror) {
  lh::copy_of_list(listid, copy, ncopy, ierror);
}
void cGetCopyOfList(const int* listid, std::complex<double>* copy, const int* ncopy, int* ierror) {
  lh::copy_of_list(listid, copy, ncopy, ierror);
}

}
