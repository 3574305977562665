#pragma once

#include <iterator>
#include <typeinfo>

namespace SL {

// Visits the leaves of an id in pre-order (optionally only leaves of one
// type); each element is a new id holding the path from the root to the leaf.
template <class Id>
class CEntityCollectionIterator {
public:
  typedef typename Id::CTreeNode CTreeNode;
  typedef std::forward_iterator_tag iterator_category;
  typedef Id value_type;
  typedef int difference_type;
  typedef Id const* pointer;
  typedef Id reference;

  CEntityCollectionIterator() : mNode(nullptr), mType(nullptr) {}
  CEntityCollectionIterator(CTreeNode* start, std::type_info const* type)
      : mNode(start), mType(type) {
    Settle();
  }

  Id operator*() const { return Id::FromPath(mNode); }
  CEntityCollectionIterator& operator++() {
    mNode = Step(mNode);
    Settle();
    return *this;
  }
  bool operator==(CEntityCollectionIterator const& other) const { return mNode == other.mNode; }
  bool operator!=(CEntityCollectionIterator const& other) const { return mNode != other.mNode; }

private:
  // Next node in pre-order, null past the last one; the root has no parent.
  static CTreeNode* Step(CTreeNode* n) {
    if (n->first_child) return n->first_child;
    while (n->next_sibling == nullptr || n->parent == nullptr) {
      n = n->parent;
      if (n == nullptr) return nullptr;
    }
    return n->next_sibling;
  }
  void Settle() {
    while (mNode && !(mNode->first_child == nullptr && mNode->parent != nullptr &&
                      (mType == nullptr || mNode->data.mType == mType)))
      mNode = Step(mNode);
  }

  CTreeNode* mNode;
  std::type_info const* mType;
};

}  // namespace SL
