#pragma once

#include "GT/Com/Enum/CRange.h"
#include "SL/Com/Buffer/ILocatableBuffer.h"

#include <boost/shared_ptr.hpp>

#include <algorithm>
#include <typeinfo>
#include <utility>
#include <vector>

namespace SL {

// A vector of samples located at a first frame; its location is
// [begin, begin + size).
template <class T>
class CLocatableBuffer : public ILocatableBuffer<T>, public std::vector<T> {
public:
  CLocatableBuffer() : std::vector<T>(), mBegin(0) {}
  explicit CLocatableBuffer(GT::CRange<long> const& range)
      : std::vector<T>(Length(range), T()), mBegin(range.begin) {}
  CLocatableBuffer(T const* data, GT::CRange<long> const& range)
      : std::vector<T>(data, data + Length(range)), mBegin(range.begin) {}
  ~CLocatableBuffer() override {}

  // Existing elements keep their index: a shifted range does not move data.
  void SetLocation(GT::CRange<long> const& range) override {
    this->resize(Length(range), T());
    mBegin = range.begin;
  }
  GT::CRange<long> GetLocation() const override {
    return GT::CRange<long>(mBegin, mBegin + static_cast<long>(this->size()));
  }

  void PolymorphicSwap(ILocatableBuffer<T>& other) override {
    CLocatableBuffer& that =
        dynamic_cast<CLocatableBuffer&>(other);  // std::bad_cast for another class
    this->swap(that);
    std::swap(mBegin, that.mBegin);
  }

  T* Begin() override { return this->empty() ? nullptr : this->data(); }
  T const* Begin() const override { return this->empty() ? nullptr : this->data(); }
  T* End() override { return Begin() + this->size(); }
  T const* End() const override { return Begin() + this->size(); }
  T* At(long frame) override { return Begin() + (frame - mBegin); }
  T const* At(long frame) const override { return Begin() + (frame - mBegin); }
  long GetSize() const override { return static_cast<long>(this->size()); }

  boost::shared_ptr<ILocatableBuffer<T> > Create(GT::CRange<long> const& range) const override {
    return boost::shared_ptr<ILocatableBuffer<T> >(new CLocatableBuffer(range));
  }
  boost::shared_ptr<ILocatableBuffer<T> > Create(T const* data,
                                                 GT::CRange<long> const& range) const override {
    if (!data) return Create(range);
    return boost::shared_ptr<ILocatableBuffer<T> >(new CLocatableBuffer(data, range));
  }

private:
  // A reversed range holds nothing.
  static size_t Length(GT::CRange<long> const& range) {
    return range.end > range.begin ? static_cast<size_t>(range.end - range.begin) : 0;
  }

  long mBegin;
};

}  // namespace SL
