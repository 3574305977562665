#pragma once

namespace SL {

// Something with a single frame position.
class ILocatable1D {
public:
  virtual ~ILocatable1D() = default;
  virtual void SetLocation(long frame) = 0;
  virtual long GetLocation() const = 0;
  virtual long TellLocation(long offset) const = 0;

protected:
  ILocatable1D() = default;
  ILocatable1D(ILocatable1D const&) = default;
  ILocatable1D& operator=(ILocatable1D const&) = default;
};

}  // namespace SL
