#pragma once

namespace SL {

// An object that can make a copy of itself; the caller owns the copy.
class ICloneable {
public:
  virtual ~ICloneable() = default;
  virtual ICloneable* Clone() const = 0;

protected:
  ICloneable() = default;
  ICloneable(ICloneable const&) = default;
  ICloneable& operator=(ICloneable const&) = default;
};

}  // namespace SL
