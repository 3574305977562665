#pragma once

#include <boost/shared_ptr.hpp>
#include <cstddef>

namespace SL {

// Replaces every element of a collection of shared pointers by a new shared
// pointer to a clone of the element at the same index of source.
template <class Collection>
void CloneSharedPointerCollection(Collection const& source, Collection& target) {
  typedef typename Collection::value_type CPointer;
  typedef typename CPointer::element_type CElement;
  target.resize(source.size());
  for (std::size_t i = 0; i < source.size(); ++i)
    target[i] = source[i] ? CPointer(static_cast<CElement*>(source[i]->Clone())) : CPointer();
}

}  // namespace SL
