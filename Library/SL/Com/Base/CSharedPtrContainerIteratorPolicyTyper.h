#pragma once

#include <type_traits>

namespace SL {

// Names the iterator types of a container of shared pointers.
template <class C>
class CSharedPtrContainerIteratorPolicyTyper {
public:
  typedef C container_type;
  template <bool K>
  struct Iterator {
    typedef
        typename std::conditional<K, typename C::const_iterator, typename C::iterator>::type type;
  };
};

}  // namespace SL
