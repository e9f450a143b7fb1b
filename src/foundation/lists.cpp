#include "foundation/lists.hpp"

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <limits>
#include <new>
#include <span>
#include <vector>

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

// One list: its entries (the logical capacity is their number) and, for
// O(1) appends, the number of entries of each value and, for each marker
// looked up, a position before which no entry equals it.
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
    detail::ExactMap<T, std::size_t> count;
    if (const auto k = detail::exact_key(marker); k && capacity > 0) count.emplace(*k, capacity);
    data_.swap(data);
    count_.swap(count);
    hint_.clear();
    exists_ = true;
  }

  void free() {
    std::vector<T>().swap(data_);
    detail::ExactMap<T, std::size_t>().swap(count_);
    hint_.clear();
    exists_ = false;
  }

  bool contains(const T& v) const {
    const auto k = detail::exact_key(v);
    if (!k) return false;
    const auto it = count_.find(*k);
    return it != count_.end() && it->second > 0;
  }

  // Position (from 0) of the first entry equal to `marker`; the capacity when
  // there is none.  The scan starts at the hint kept for this marker, so the
  // free slots of a list are found without passing over its used part again.
  std::size_t first(const T& marker) {
    const auto k = detail::exact_key(marker);
    if (!k || !contains(marker)) return capacity();
    const auto it = hint_.find(*k);
    std::size_t h = it == hint_.end() ? 0 : it->second;
    while (h < data_.size() && !(data_[h] == marker)) ++h;
    try {
      hint_.insert_or_assign(*k, h);
    } catch (const std::bad_alloc&) {
      // Without a hint the next look-up scans from the start again.
    }
    return h;
  }

  // Stores v at `pos`.  Throws std::bad_alloc before changing anything.
  void store(std::size_t pos, const T& v) {
    const auto k = detail::exact_key(v);
    if (k) ++count_[*k];
    if (const auto old = detail::exact_key(data_[pos])) {
      const auto it = count_.find(*old);
      if (--it->second == 0) count_.erase(it);
    }
    data_[pos] = v;
    if (k) {
      const auto h = hint_.find(*k);
      if (h != hint_.end() && h->second > pos) h->second = pos;
    }
  }

  // Adds `increment` entries equal to `marker` at the end.  Throws
  // std::bad_alloc, leaving the entries as they were.
  void grow(std::size_t increment, const T& marker) {
    if (data_.size() + increment > std::size_t(INT_MAX)) throw std::bad_alloc();
    const auto k = detail::exact_key(marker);
    if (k) count_.try_emplace(*k, 0);
    data_.resize(data_.size() + increment, marker);
    if (k) count_[*k] += increment;
  }

 private:
  std::vector<T> data_;
  bool exists_ = false;
  detail::ExactMap<T, std::size_t> count_;
  detail::ExactMap<T, std::size_t> hint_;
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
  append<T>(listid, iresult, allocinc, defval, [&](GrowableList<T>& list, std::size_t inc, const T& marker) {
    return append_one(list, *scalar, *uniflag == 1, inc, marker);
  });
}

template <class T>
void append_array(const int* listid, const T* array, const int* narray, const int* uniflag,
                  int* iresult, const int* allocinc, const T* defval) {
  const std::span<const T> values(array, std::size_t(std::max(*narray, 0)));
  append<T>(listid, iresult, allocinc, defval, [&](GrowableList<T>& list, std::size_t inc, const T& marker) {
    if (*uniflag == 1) {
      if (values.empty()) return 0;
      // A run can occur only when every one of its values is in the list.
      const bool candidates =
          std::all_of(values.begin(), values.end(), [&](const T& v) { return list.contains(v); });
      const auto used = list.entries().first(list.first(marker));
      if (candidates && std::search(used.begin(), used.end(), values.begin(), values.end()) != used.end())
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
  lh::append_scalar(listid, scalar, uniflag, iresult, allocinc, defval);
}
void fAppendScalar2List(const int* listid, const double* scalar, const int* uniflag, int* iresult,
                        const int* allocinc, const double* defval) {
  lh::append_scalar(listid, scalar, uniflag, iresult, allocinc, defval);
}
void cAppendScalar2List(const int* listid, const std::complex<double>* scalar, const int* uniflag,
                        int* iresult, const int* allocinc, const std::complex<double>* defval) {
  lh::append_scalar(listid, scalar, uniflag, iresult, allocinc, defval);
}

void iAppendArray2List(const int* listid, const int* array, const int* narray, const int* uniflag,
                       int* iresult, const int* allocinc, const int* defval) {
  lh::append_array(listid, array, narray, uniflag, iresult, allocinc, defval);
}
void fAppendArray2List(const int* listid, const double* array, const int* narray,
                       const int* uniflag, int* iresult, const int* allocinc, const double* defval) {
  lh::append_array(listid, array, narray, uniflag, iresult, allocinc, defval);
}
void cAppendArray2List(const int* listid, const std::complex<double>* array, const int* narray,
                       const int* uniflag, int* iresult, const int* allocinc,
                       const std::complex<double>* defval) {
  lh::append_array(listid, array, narray, uniflag, iresult, allocinc, defval);
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
