#pragma once

#include "GT/Com/Data/IEndianed.h"
#include "GT/Com/Data/ReverseByte.h"

namespace GT {

// A value with a byte order; converts values between that order and the
// platform's.
class CEndianed : public IEndianed {
public:
  explicit CEndianed(EEndian endian = sPlatform) : mEndian(endian) {}
  CEndianed(CEndianed const& other) : IEndianed(other), mEndian(other.mEndian) {}
  CEndianed& operator=(CEndianed const& other) {
    mEndian = other.mEndian;
    return *this;
  }
  ~CEndianed() = default;

  void SetEndian(EEndian endian) override { mEndian = endian; }
  EEndian GetEndian() const override { return mEndian; }

  // The value as is when this order is the platform's, byte-reversed otherwise.
  template <typename T>
  T ConvertEndian(T value) const {
    return mEndian == sPlatform ? value : Implement::ReverseByte(value);
  }

private:
  EEndian mEndian;
};

}  // namespace GT
