#pragma once

#include <typeinfo>
#include <vector>

#include "SL/Com/Wave/CEntityCollectionIterator.h"

namespace SL {

// Builder and extraction operations of an id; Id derives from this class
// and from Collection.
template <class Id, class Collection>
class CEntityCollectionAdapter {
public:
  typedef CEntityCollectionIterator<Id> CIterator;

  // Appends a node of type T below every current node; the new nodes become
  // the current nodes.
  template <class T>
  Id& Set(int index) {
    Id& self = Self();
    std::vector<typename Collection::CPosition> added;
    for (auto const& position : self.mCurrent)
      added.push_back(
          self.mTree->append_child(position, typename Collection::CNode(&typeid(T), index, 0)));
    self.mCurrent.swap(added);
    return self;
  }

  // Sets the attribute mask of every current node.
  Id& Attribute(int mask) {
    Id& self = Self();
    for (auto const& position : self.mCurrent) position->mElement = mask;
    return self;
  }

  // The elements of this id that some element of selection includes, merged.
  Id Extract(Id const& selection) const {
    Id result;
    for (CIterator e = Begin(); e != End(); ++e) {
      Id element = *e;
      for (CIterator f = selection.Begin(); f != selection.End(); ++f)
        if ((*f).Includes(element, false)) result.Merge(element);
    }
    return result;
  }

  CIterator Begin() const { return CIterator(Self().Root().node, nullptr); }
  CIterator Begin(std::type_info const& type) const { return CIterator(Self().Root().node, &type); }
  CIterator End() const { return CIterator(); }

private:
  Id& Self() { return static_cast<Id&>(*this); }
  Id const& Self() const { return static_cast<Id const&>(*this); }
};

}  // namespace SL
