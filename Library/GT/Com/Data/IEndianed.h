#pragma once

#include "GT/Com/Data/CEndianness.h"

namespace GT {

// An object that carries a byte order.
class IEndianed : public CEndianness {
public:
  virtual void SetEndian(EEndian endian) = 0;
  virtual EEndian GetEndian() const = 0;
  virtual bool IsBigEndian() const { return GetEndian() == BigEndian; }
  virtual bool IsLittleEndian() const { return GetEndian() == LittleEndian; }

protected:
  IEndianed() = default;
  IEndianed(IEndianed const&) = default;
  IEndianed& operator=(IEndianed const&) = default;
  // Not virtual: never deleted through this interface.
  ~IEndianed() = default;
};

}  // namespace GT
