#pragma once

#include <boost/pointer_cast.hpp>
#include <boost/shared_ptr.hpp>
#include <vector>

#include "SL/Com/Base/CRandomAccessIteratorImplement.h"
#include "SL/Com/Base/CSharedPtrContainerIteratorPolicyTyper.h"
#include "SL/Com/Base/IStlSharedPtrVector.h"

namespace SL {

// The vector operations over a storage vector of shared pointers to B that
// the deriving class supplies; elements are presented as T.
template <class B, class T>
class CStlSharedPtrVectorMixin : public IStlSharedPtrVector<T> {
public:
  typedef std::vector<boost::shared_ptr<B> > CStorage;
  typedef CSharedPtrContainerIteratorPolicyTyper<CStorage> CPolicy;
  typedef typename IStlSharedPtrVector<T>::iterator iterator;
  typedef typename IStlSharedPtrVector<T>::const_iterator const_iterator;
  typedef typename IStlSharedPtrVector<T>::reverse_iterator reverse_iterator;
  typedef typename IStlSharedPtrVector<T>::const_reverse_iterator const_reverse_iterator;

  virtual CStorage& Implementer() = 0;
  virtual CStorage const& Implementer() const = 0;

  void assign(unsigned long n, boost::shared_ptr<T> value) override {
    Implementer().assign(n, value);
  }
  unsigned long size() const override { return Implementer().size(); }
  unsigned long max_size() const override { return Implementer().max_size(); }
  bool empty() const override { return Implementer().empty(); }
  unsigned long capacity() const override { return Implementer().capacity(); }
  void resize(unsigned long n) override { Implementer().resize(n); }
  void resize(unsigned long n, boost::shared_ptr<T> value) override {
    Implementer().resize(n, value);
  }
  void reserve(unsigned long n) override { Implementer().reserve(n); }

  iterator begin() override { return MakeIterator(Implementer().begin()); }
  const_iterator begin() const override { return MakeIterator(Implementer().begin()); }
  iterator end() override { return MakeIterator(Implementer().end()); }
  const_iterator end() const override { return MakeIterator(Implementer().end()); }
  reverse_iterator rbegin() override { return reverse_iterator(end()); }
  const_reverse_iterator rbegin() const override { return const_reverse_iterator(end()); }
  reverse_iterator rend() override { return reverse_iterator(begin()); }
  const_reverse_iterator rend() const override { return const_reverse_iterator(begin()); }

  T& front() override { return static_cast<T&>(*Implementer().front()); }
  T const& front() const override { return static_cast<T const&>(*Implementer().front()); }
  T& back() override { return static_cast<T&>(*Implementer().back()); }
  T const& back() const override { return static_cast<T const&>(*Implementer().back()); }
  T& operator[](unsigned long i) override { return static_cast<T&>(*Implementer()[i]); }
  T const& operator[](unsigned long i) const override {
    return static_cast<T const&>(*Implementer()[i]);
  }
  T& at(unsigned long i) override { return static_cast<T&>(*Implementer().at(i)); }
  T const& at(unsigned long i) const override {
    return static_cast<T const&>(*Implementer().at(i));
  }
  void set(unsigned long i, boost::shared_ptr<T> value) override { Implementer()[i] = value; }
  // Checks index and type: an element that is not a T gives an empty pointer.
  boost::shared_ptr<T> get(unsigned long i) const override {
    return boost::dynamic_pointer_cast<T>(Implementer().at(i));
  }
  void clear() override { Implementer().clear(); }
  void push_back(boost::shared_ptr<T> value) override { Implementer().push_back(value); }
  void pop_back() override { Implementer().pop_back(); }

  iterator insert(iterator position, boost::shared_ptr<T> value) override {
    CStorage& storage = Implementer();
    return MakeIterator(storage.insert(storage.begin() + (position - begin()), value));
  }
  void insert(iterator position, unsigned long n, boost::shared_ptr<T> value) override {
    CStorage& storage = Implementer();
    storage.insert(storage.begin() + (position - begin()), n, value);
  }
  iterator erase(iterator position) override {
    if (empty()) return begin();
    CStorage& storage = Implementer();
    return MakeIterator(storage.erase(storage.begin() + (position - begin())));
  }
  iterator erase(iterator first, iterator last) override {
    if (empty()) return begin();
    CStorage& storage = Implementer();
    return MakeIterator(
        storage.erase(storage.begin() + (first - begin()), storage.begin() + (last - begin())));
  }

private:
  static iterator MakeIterator(typename CStorage::iterator position) {
    return iterator(CRandomAccessIteratorImplement<false, T, CPolicy>(position));
  }
  static const_iterator MakeIterator(typename CStorage::const_iterator position) {
    return const_iterator(CRandomAccessIteratorImplement<true, T, CPolicy>(position));
  }
};

}  // namespace SL
