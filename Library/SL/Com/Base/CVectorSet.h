#pragma once

#include <algorithm>
#include <utility>
#include <vector>

namespace SL {

// A vector kept sorted by Less, with at most one element per key.
template <class T, class Less>
class CVectorSet : public std::vector<T> {
public:
  typedef std::vector<T> CBase;
  typedef typename CBase::iterator iterator;
  typedef typename CBase::const_iterator const_iterator;

  // The element with the value's key stays when there is one already.
  std::pair<iterator, bool> insert(T const& value) {
    iterator at = lower_bound(value);
    if (at != this->end() && !Less()(value, *at)) return std::make_pair(at, false);
    return std::make_pair(CBase::insert(at, value), true);
  }

  template <class InputIterator>
  void insert(InputIterator first, InputIterator last) {
    for (; first != last; ++first) insert(*first);
  }

  iterator lower_bound(T const& value) {
    return std::lower_bound(this->begin(), this->end(), value, Less());
  }
  const_iterator lower_bound(T const& value) const {
    return std::lower_bound(this->begin(), this->end(), value, Less());
  }

  void swap(CVectorSet& other) { CBase::swap(other); }
};

}  // namespace SL
