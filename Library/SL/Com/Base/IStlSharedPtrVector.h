#pragma once

#include <boost/shared_ptr.hpp>
#include <iterator>

#include "SL/Com/Base/CRandomAccessIterator.h"

namespace SL {

// A vector of shared pointers whose elements are handed out as T.
template <class T>
class IStlSharedPtrVector {
public:
  typedef CRandomAccessIterator<false, T> iterator;
  typedef CRandomAccessIterator<true, T> const_iterator;
  typedef std::reverse_iterator<iterator> reverse_iterator;
  typedef std::reverse_iterator<const_iterator> const_reverse_iterator;

  virtual ~IStlSharedPtrVector() {}
  virtual void assign(unsigned long n, boost::shared_ptr<T> value) = 0;
  virtual unsigned long size() const = 0;
  virtual unsigned long max_size() const = 0;
  virtual bool empty() const = 0;
  virtual unsigned long capacity() const = 0;
  virtual void resize(unsigned long n) = 0;
  virtual void resize(unsigned long n, boost::shared_ptr<T> value) = 0;
  virtual void reserve(unsigned long n) = 0;
  virtual iterator begin() = 0;
  virtual const_iterator begin() const = 0;
  virtual iterator end() = 0;
  virtual const_iterator end() const = 0;
  virtual reverse_iterator rbegin() = 0;
  virtual const_reverse_iterator rbegin() const = 0;
  virtual reverse_iterator rend() = 0;
  virtual const_reverse_iterator rend() const = 0;
  virtual T& front() = 0;
  virtual T const& front() const = 0;
  virtual T& back() = 0;
  virtual T const& back() const = 0;
  virtual T& operator[](unsigned long i) = 0;
  virtual T const& operator[](unsigned long i) const = 0;
  virtual T& at(unsigned long i) = 0;
  virtual T const& at(unsigned long i) const = 0;
  virtual void set(unsigned long i, boost::shared_ptr<T> value) = 0;
  virtual boost::shared_ptr<T> get(unsigned long i) const = 0;
  virtual void clear() = 0;
  virtual void push_back(boost::shared_ptr<T> value) = 0;
  virtual void pop_back() = 0;
  virtual iterator insert(iterator position, boost::shared_ptr<T> value) = 0;
  virtual void insert(iterator position, unsigned long n, boost::shared_ptr<T> value) = 0;
  virtual iterator erase(iterator position) = 0;
  virtual iterator erase(iterator first, iterator last) = 0;
};

}  // namespace SL
