#pragma once

#include <boost/shared_ptr.hpp>
#include <ostream>
#include <typeinfo>
#include <vector>

#include "SL/Com/Wave/tree.h"

namespace SL {

// A selection of entity attributes as a tree of (type, index, attribute
// mask) nodes below a root. C supplies the type numbering.
template <class E, class C>
class CEntityCollection {
public:
  class CNode {
  public:
    CNode() : mType(nullptr), mIndex(-2), mElement(0) {}
    CNode(std::type_info const* type, int index, E element)
        : mType(type), mIndex(index), mElement(element) {}
    void Swap(CNode& other) {
      std::swap(mType, other.mType);
      std::swap(mIndex, other.mIndex);
      std::swap(mElement, other.mElement);
    }
    bool operator<(CNode const& other) const {
      int a = mType ? C::ToTypeId(*mType) : -1;
      int b = other.mType ? C::ToTypeId(*other.mType) : -1;
      if (a != b) return a < b;
      if (mIndex != other.mIndex) return mIndex < other.mIndex;
      return mElement < other.mElement;
    }
    bool operator==(CNode const& other) const {
      return mType == other.mType && mIndex == other.mIndex && mElement == other.mElement;
    }
    bool operator!=(CNode const& other) const { return !(*this == other); }
    friend std::ostream& operator<<(std::ostream& stream, CNode const& node) {
      stream << (node.mType ? node.mType->name() : "NULL") << ", " << node.mIndex << ", "
             << node.mElement << std::endl;
      return stream;
    }

    std::type_info const* mType;
    int mIndex;
    E mElement;
  };

  typedef tree<CNode> CTree;
  typedef typename CTree::pre_order_iterator CPosition;
  typedef typename CTree::node_type CTreeNode;

  CEntityCollection() : mTree(new CTree(CNode())) { mCurrent.push_back(Root()); }
  // Deep copy; the builder of the copy appends nothing.
  CEntityCollection(CEntityCollection const& other) : mTree(new CTree(*other.mTree)) {}
  CEntityCollection& operator=(CEntityCollection const& other) {
    CEntityCollection copy(other);
    Swap(copy);
    return *this;
  }
  void Swap(CEntityCollection& other) {
    mTree.swap(other.mTree);
    mCurrent.swap(other.mCurrent);
  }

  bool IsEmpty() const { return Root().node->first_child == nullptr; }

  bool operator==(CEntityCollection const& other) const {
    return mTree->size() == other.mTree->size() &&
           CTree::equal(mTree->begin(), mTree->end(), other.mTree->begin(),
                        [](CNode const& a, CNode const& b) { return a == b; });
  }
  bool operator!=(CEntityCollection const& other) const { return !(*this == other); }

  // The attribute mask of the first leaf; 0 when there is none.
  E GetAttributes() const { return FirstLeaf()->data.mElement; }
  bool IsAttributeNull() const { return GetAttributes() == 0; }
  void SetAttributes(E mask) {
    CTreeNode* leaf = FirstLeaf();
    if (leaf->data.mElement != 0) leaf->data.mElement = mask;
  }

  bool Intersects(CEntityCollection const& other, bool strict) const {
    for (CTreeNode* a = Root().node->first_child; a; a = a->next_sibling)
      for (CTreeNode* b = other.Root().node->first_child; b; b = b->next_sibling)
        if (Overlaps(a, b, strict)) return true;
    return false;
  }

  bool Includes(CEntityCollection const& other, bool strict) const {
    for (CTreeNode* b = other.Root().node->first_child; b; b = b->next_sibling)
      if (!IsCovered(Root().node, b, strict)) return false;
    return true;
  }

  // Copies all of other's top level at once, so an id can merge itself.
  void Merge(CEntityCollection const& other) {
    CPosition const otherRoot = other.Root();
    mTree->append_children(Root(), otherRoot.begin(), otherRoot.end());
    Normalize();
  }

  // Joins siblings of the same type and index, then sorts every level.
  void Normalize() {
    CPosition root = Root();
    Join(root.node);
    mTree->sort(
        root.begin(), root.end(), [](CNode const& a, CNode const& b) { return a < b; }, true);
  }

  // Keeps the paths that do not pass through type, and lifts every subtree
  // headed by type to the top level.
  void Shrink(std::type_info const& type) {
    boost::shared_ptr<CTree> result(new CTree(CNode()));
    CPosition newRoot(result->begin());
    CPosition root = Root();
    for (CPosition it = root; it != mTree->end(); ++it) {
      if (it.node->first_child || it.node == root.node) continue;
      bool passes = false;
      std::vector<CTreeNode*> path;
      for (CTreeNode* n = it.node; n && n != root.node; n = n->parent) {
        if (n->data.mType == &type) passes = true;
        path.push_back(n);
      }
      if (passes) continue;
      CPosition at = newRoot;
      for (auto p = path.rbegin(); p != path.rend(); ++p) at = result->append_child(at, (*p)->data);
    }
    bool moved = true;
    while (moved) {
      moved = false;
      for (CPosition it = root; it != mTree->end(); ++it) {
        if (it.node != root.node && it.node->data.mType == &type) {
          CPosition top = result->append_child(newRoot, it.node->data);
          // The descendants move over; the emptied head is dropped.
          mTree->reparent(top, it);
          mTree->erase(it);
          moved = true;
          break;
        }
      }
    }
    mTree = result;
    mCurrent.clear();
    Normalize();
  }

protected:
  CPosition Root() const { return mTree->begin(); }

  CTreeNode* FirstLeaf() const {
    CTreeNode* n = Root().node;
    while (n->first_child) n = n->first_child;
    return n;
  }

  static bool Matches(CNode const& a, CNode const& b) {
    bool sameType = a.mType == b.mType || (a.mType && b.mType && *a.mType == *b.mType);
    return sameType && (a.mIndex == b.mIndex || a.mIndex == -1 || b.mIndex == -1);
  }

  static bool Overlaps(CTreeNode* a, CTreeNode* b, bool strict) {
    if (!Matches(a->data, b->data)) return false;
    bool aLeaf = a->first_child == nullptr;
    bool bLeaf = b->first_child == nullptr;
    if (aLeaf && bLeaf)
      return a->data.mElement == 0 || b->data.mElement == 0 ||
             (a->data.mElement & b->data.mElement) != 0;
    if (!aLeaf && !bLeaf) {
      for (CTreeNode* x = a->first_child; x; x = x->next_sibling)
        for (CTreeNode* y = b->first_child; y; y = y->next_sibling)
          if (Overlaps(x, y, strict)) return true;
      return false;
    }
    if (strict) return false;
    return (aLeaf ? a : b)->data.mElement == 0;
  }

  static bool Covers(CTreeNode* a, CTreeNode* b, bool strict) {
    if (!Matches(a->data, b->data)) return false;
    bool aLeaf = a->first_child == nullptr;
    bool bLeaf = b->first_child == nullptr;
    if (aLeaf && bLeaf)
      return a->data.mElement == 0 ||
             (b->data.mElement != 0 && (b->data.mElement & ~a->data.mElement) == 0);
    if (!aLeaf && !bLeaf) {
      for (CTreeNode* y = b->first_child; y; y = y->next_sibling)
        if (!IsCovered(a, y, strict)) return false;
      return true;
    }
    if (aLeaf && !strict) return a->data.mElement == 0;
    return false;
  }

  // Some child of parent covers b.
  static bool IsCovered(CTreeNode* parent, CTreeNode* b, bool strict) {
    for (CTreeNode* a = parent->first_child; a; a = a->next_sibling)
      if (Covers(a, b, strict)) return true;
    return false;
  }

  void Join(CTreeNode* parent) {
    for (CTreeNode* a = parent->first_child; a; a = a->next_sibling) {
      CTreeNode* b = a->next_sibling;
      while (b) {
        CTreeNode* next = b->next_sibling;
        if (a->data.mType == b->data.mType && a->data.mIndex == b->data.mIndex) {
          bool aLeaf = a->first_child == nullptr;
          bool bLeaf = b->first_child == nullptr;
          if (aLeaf && bLeaf && a->data.mElement != 0 && b->data.mElement != 0) {
            a->data.mElement |= b->data.mElement;
            mTree->erase(CPosition(b));
          } else if (!aLeaf && !bLeaf) {
            mTree->reparent(CPosition(a), CPosition(b));
            mTree->erase(CPosition(b));
          }
        }
        b = next;
      }
    }
    for (CTreeNode* a = parent->first_child; a; a = a->next_sibling) Join(a);
  }

  boost::shared_ptr<CTree> mTree;
  // Where the builder operations append.
  std::vector<CPosition> mCurrent;
};

}  // namespace SL
