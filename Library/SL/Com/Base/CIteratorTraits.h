#pragma once

#include <iterator>

namespace SL {

// Type names of an iterator over T; K true iterates without allowing change.
template <bool K, class T>
class CIteratorTraits {
public:
  typedef std::random_access_iterator_tag iterator_category;
  typedef T value_type;
  typedef int difference_type;
  typedef typename std::conditional<K, T const*, T*>::type pointer;
  typedef typename std::conditional<K, T const&, T&>::type reference;
};

}  // namespace SL
