#pragma once

#include "GT/Com/Enum/CRange.h"
#include "SL/Com/Buffer/ILocatable2D.h"

#include <boost/shared_ptr.hpp>

namespace SL {

// Samples of one channel located on the frame axis: element i is frame
// begin + i of the location.
template <class T>
class ILocatableBuffer : public virtual ILocatable2D {
public:
  ~ILocatableBuffer() override {}

  virtual void PolymorphicSwap(ILocatableBuffer& other) = 0;
  virtual T* Begin() = 0;
  virtual T const* Begin() const = 0;
  virtual T* End() = 0;
  virtual T const* End() const = 0;
  virtual T* At(long frame) = 0;
  virtual T const* At(long frame) const = 0;
  virtual long GetSize() const = 0;
  virtual boost::shared_ptr<ILocatableBuffer> Create(GT::CRange<long> const& range) const = 0;
  virtual boost::shared_ptr<ILocatableBuffer> Create(T const* data,
                                                     GT::CRange<long> const& range) const = 0;
};

}  // namespace SL
