#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace SL {

// A node of tree<T>: links to its parent, its first and last child and its
// siblings, and its value.
template <class T>
class tree_node_ {
public:
  explicit tree_node_(T const& value) : data(value) {}
  tree_node_* parent = nullptr;
  tree_node_* first_child = nullptr;
  tree_node_* last_child = nullptr;
  tree_node_* prev_sibling = nullptr;
  tree_node_* next_sibling = nullptr;
  T data;
};

// An n-ary tree. Two sentinel nodes (head and feet) bound the top level; the
// top-level nodes have no parent.
template <class T>
class tree {
public:
  typedef tree_node_<T> node_type;
  class sibling_iterator;

  class iterator_base {
  public:
    iterator_base() : node(nullptr) {}
    explicit iterator_base(node_type* n) : node(n) {}
    T& operator*() const { return node->data; }
    T* operator->() const { return &node->data; }
    bool operator==(iterator_base const& other) const { return node == other.node; }
    bool operator!=(iterator_base const& other) const { return node != other.node; }
    std::size_t number_of_children() const {
      std::size_t n = 0;
      for (node_type* c = node->first_child; c; c = c->next_sibling) ++n;
      return n;
    }
    sibling_iterator begin() const { return sibling_iterator(node->first_child, node); }
    sibling_iterator end() const { return sibling_iterator(nullptr, node); }
    node_type* node;
  };

  // Visits a node, then its subtrees from the first to the last child.
  class pre_order_iterator : public iterator_base {
  public:
    pre_order_iterator() {}
    explicit pre_order_iterator(node_type* n) : iterator_base(n) {}
    pre_order_iterator(iterator_base const& other) : iterator_base(other.node) {}
    pre_order_iterator& operator++() {
      node_type*& n = this->node;
      if (n->first_child) {
        n = n->first_child;
        return *this;
      }
      while (n->next_sibling == nullptr) {
        n = n->parent;
        if (n == nullptr) return *this;
      }
      n = n->next_sibling;
      return *this;
    }
    pre_order_iterator operator++(int) {
      pre_order_iterator old(*this);
      ++*this;
      return old;
    }
  };

  // Moves along the siblings of one level; the end of a node's children is a
  // null node that remembers its parent.
  class sibling_iterator : public iterator_base {
  public:
    sibling_iterator() : parent_(nullptr) {}
    sibling_iterator(node_type* n, node_type* parent) : iterator_base(n), parent_(parent) {}
    sibling_iterator(iterator_base const& other)
        : iterator_base(other.node), parent_(other.node ? other.node->parent : nullptr) {}
    sibling_iterator& operator++() {
      this->node = this->node->next_sibling;
      return *this;
    }
    sibling_iterator operator++(int) {
      sibling_iterator old(*this);
      ++*this;
      return old;
    }
    node_type* parent_;
  };

  typedef pre_order_iterator iterator;

  tree() { initialise(); }
  explicit tree(T const& value) {
    initialise();
    insert(end(), value);
  }
  tree(tree const& other) {
    initialise();
    copy_from(other);
  }
  tree& operator=(tree const& other) {
    if (this != &other) {
      tree copy(other);
      swap(copy);
    }
    return *this;
  }
  ~tree() {
    clear();
    delete head;
    delete feet;
  }

  void swap(tree& other) {
    std::swap(head, other.head);
    std::swap(feet, other.feet);
  }

  pre_order_iterator begin() const { return pre_order_iterator(head->next_sibling); }
  pre_order_iterator end() const { return pre_order_iterator(feet); }
  sibling_iterator begin(iterator_base const& position) const { return position.begin(); }
  sibling_iterator end(iterator_base const& position) const { return position.end(); }

  std::size_t size() const {
    std::size_t n = 0;
    for (pre_order_iterator it = begin(); it != end(); ++it) ++n;
    return n;
  }
  bool empty() const { return head->next_sibling == feet; }

  void clear() {
    while (head->next_sibling != feet) erase(pre_order_iterator(head->next_sibling));
  }

  // Appends a node with the value as the last child of position.
  pre_order_iterator append_child(iterator_base const& position, T const& value) {
    node_type* n = new node_type(value);
    link_last_child(position.node, n);
    return pre_order_iterator(n);
  }

  // Appends copies of the subtrees of the sibling range [from, to). All
  // copies are made before any is linked, so position may lie in the range,
  // in one of its subtrees or be the range's parent.
  pre_order_iterator append_children(iterator_base const& position, sibling_iterator from,
                                     sibling_iterator const& to) {
    std::vector<node_type*> copies;
    try {
      for (; from != to; ++from) copies.push_back(clone(from.node));
    } catch (...) {
      for (node_type* n : copies) destroy(n);
      throw;
    }
    for (node_type* n : copies) link_last_child(position.node, n);
    return pre_order_iterator(position.node->last_child);
  }

  // Inserts a node with the value before the sibling at position (at the
  // end of the top level when position is end(), or at the end of a parent's
  // children when position is that parent's end()).
  pre_order_iterator insert(iterator_base const& position, T const& value) {
    node_type* n = new node_type(value);
    link_before(position, n);
    return pre_order_iterator(n);
  }
  pre_order_iterator insert(sibling_iterator const& position, T const& value) {
    node_type* n = new node_type(value);
    if (position.node == nullptr)
      link_last_child(position.parent_, n);
    else
      link_before(position, n);
    return pre_order_iterator(n);
  }

  // Inserts a copy of the subtree at subtree before position; the copy is
  // complete before it is linked, so subtree may hold position.
  pre_order_iterator insert_subtree(iterator_base const& position, iterator_base const& subtree) {
    node_type* n = clone(subtree.node);
    link_before(position, n);
    return pre_order_iterator(n);
  }

  // Replaces the node at position (and its subtree) by a copy of the subtree at from.
  pre_order_iterator replace(iterator_base const& position, iterator_base const& from) {
    pre_order_iterator n = insert_subtree(position, from);
    erase(position);
    return n;
  }

  // Moves the sibling range [from, to), with subtrees, to the end of position's children.
  void reparent(iterator_base const& position, sibling_iterator from, sibling_iterator const& to) {
    while (from != to) {
      node_type* n = from.node;
      ++from;
      unlink(n);
      link_last_child(position.node, n);
    }
  }
  // Moves all children of from to the end of position's children.
  void reparent(iterator_base const& position, iterator_base const& from) {
    reparent(position, from.begin(), from.end());
  }

  // Removes the node and its subtree; returns its next sibling.
  sibling_iterator erase(iterator_base const& position) {
    node_type* n = position.node;
    node_type* parent = n->parent;
    node_type* next = n->next_sibling;
    erase_children(position);
    unlink(n);
    delete n;
    return sibling_iterator(next, parent);
  }

  void erase_children(iterator_base const& position) {
    node_type* c = position.node->first_child;
    while (c) {
      node_type* next = c->next_sibling;
      erase_children(iterator_base(c));
      delete c;
      c = next;
    }
    position.node->first_child = position.node->last_child = nullptr;
  }

  // Stable ordering of the sibling range [from, to), and of every level below
  // it when deep.
  template <class Compare>
  void sort(sibling_iterator from, sibling_iterator const& to, Compare comparison, bool deep) {
    if (from == to) return;
    std::vector<node_type*> nodes;
    node_type* before = from.node->prev_sibling;
    node_type* after = to.node;
    node_type* parent = from.node->parent;
    for (; from != to; ++from) nodes.push_back(from.node);
    std::stable_sort(nodes.begin(), nodes.end(), [&comparison](node_type* a, node_type* b) {
      return comparison(a->data, b->data);
    });
    for (std::size_t i = 0; i < nodes.size(); ++i) {
      nodes[i]->prev_sibling = i == 0 ? before : nodes[i - 1];
      nodes[i]->next_sibling = i + 1 == nodes.size() ? after : nodes[i + 1];
    }
    if (before)
      before->next_sibling = nodes.front();
    else if (parent)
      parent->first_child = nodes.front();
    if (after)
      after->prev_sibling = nodes.back();
    else if (parent)
      parent->last_child = nodes.back();
    if (deep)
      for (node_type* n : nodes)
        if (n->first_child)
          sort(sibling_iterator(n->first_child, n), sibling_iterator(nullptr, n), comparison, true);
  }

  // Pairwise equal values and equal child counts, in pre-order.
  template <class Predicate>
  static bool equal(pre_order_iterator from, pre_order_iterator const& to, pre_order_iterator other,
                    Predicate predicate) {
    for (; from != to; ++from, ++other) {
      if (other.node == nullptr || !predicate(*from, *other)) return false;
      if (from.number_of_children() != other.number_of_children()) return false;
    }
    return true;
  }

private:
  node_type* head;
  node_type* feet;

  void initialise() {
    head = new node_type(T());
    feet = new node_type(T());
    head->next_sibling = feet;
    feet->prev_sibling = head;
  }

  void copy_from(tree const& other) {
    for (node_type* n = other.head->next_sibling; n != other.feet; n = n->next_sibling) {
      link_before(iterator_base(feet), clone(n));
    }
  }

  // A deep copy of source that is linked to nothing yet.
  static node_type* clone(node_type const* source) {
    node_type* n = new node_type(source->data);
    try {
      for (node_type const* c = source->first_child; c; c = c->next_sibling)
        link_last_child(n, clone(c));
    } catch (...) {
      destroy(n);
      throw;
    }
    return n;
  }

  static void destroy(node_type* n) {
    for (node_type* c = n->first_child; c;) {
      node_type* next = c->next_sibling;
      destroy(c);
      c = next;
    }
    delete n;
  }

  static void link_last_child(node_type* parent, node_type* n) {
    n->parent = parent;
    n->next_sibling = nullptr;
    n->prev_sibling = parent->last_child;
    if (parent->last_child)
      parent->last_child->next_sibling = n;
    else
      parent->first_child = n;
    parent->last_child = n;
  }

  static void link_before(iterator_base const& position, node_type* n) {
    node_type* next = position.node;
    n->parent = next->parent;
    n->next_sibling = next;
    n->prev_sibling = next->prev_sibling;
    next->prev_sibling = n;
    if (n->prev_sibling)
      n->prev_sibling->next_sibling = n;
    else if (n->parent)
      n->parent->first_child = n;
  }

  static void unlink(node_type* n) {
    if (n->prev_sibling)
      n->prev_sibling->next_sibling = n->next_sibling;
    else if (n->parent)
      n->parent->first_child = n->next_sibling;
    if (n->next_sibling)
      n->next_sibling->prev_sibling = n->prev_sibling;
    else if (n->parent)
      n->parent->last_child = n->prev_sibling;
    n->parent = n->prev_sibling = n->next_sibling = nullptr;
  }
};

}  // namespace SL
