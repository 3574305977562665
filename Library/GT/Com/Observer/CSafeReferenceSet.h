#pragma once

#include "GT/Com/Observer/IIterator.h"

#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

#include <functional>
#include <map>
#include <memory>

namespace GT {

// Weakly held objects ordered by priority, highest first and in the order of
// adding among equals. Never keeps an object alive: entries of destroyed
// objects are skipped by iteration and purged by a later Add. One thread at a
// time; the set must not be added to while an iterator over it is in use.
template <typename T>
class CSafeReferenceSet {
  using CEntries = std::multimap<int, boost::weak_ptr<T>, std::greater<int> >;

public:
  class CIterator : public IIterator<boost::shared_ptr<T>, boost::mpl::empty_base> {
  public:
    explicit CIterator(CEntries const& entries) : mCurrent(entries.begin()), mEnd(entries.end()) {
      SkipExpired();
    }

    bool HasNext() override { return mCurrent != mEnd; }

    // An object destroyed after the iterator stepped onto it yields an empty
    // pointer.
    boost::shared_ptr<T> Next() override {
      typename CEntries::const_iterator const taken = mCurrent;
      ++mCurrent;
      SkipExpired();
      return taken->second.lock();
    }

  private:
    void SkipExpired() {
      while (mCurrent != mEnd && mCurrent->second.expired()) ++mCurrent;
    }

    typename CEntries::const_iterator mCurrent;
    typename CEntries::const_iterator mEnd;
  };

  CSafeReferenceSet() {}

  // Registers the object unless it is already present; the first registration
  // keeps its priority. Expired entries met on the way are erased.
  void Add(boost::weak_ptr<T> const& object, int priority) {
    boost::shared_ptr<T> const p = object.lock();
    for (typename CEntries::iterator it = mEntries.begin(); it != mEntries.end();) {
      boost::shared_ptr<T> const live = it->second.lock();
      if (!live) {
        it = mEntries.erase(it);
        continue;
      }
      if (live.get() == p.get()) return;
      ++it;
    }
    mEntries.insert(typename CEntries::value_type(priority, object));
  }

  bool IsEmpty() const {
    for (typename CEntries::const_iterator it = mEntries.begin(); it != mEntries.end(); ++it) {
      if (!it->second.expired()) return false;
    }
    return true;
  }

  std::unique_ptr<IIterator<boost::shared_ptr<T>, boost::mpl::empty_base> > CreateIterator() const {
    return std::unique_ptr<IIterator<boost::shared_ptr<T>, boost::mpl::empty_base> >(
        new CIterator(mEntries));
  }

private:
  CEntries mEntries;
};

}  // namespace GT
