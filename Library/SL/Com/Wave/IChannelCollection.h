#pragma once

#include "SL/Com/Base/CObject.h"
#include "SL/Com/Format/CWaveFormat.h"
#include "SL/Com/Buffer/ILocatable2D.h"

namespace SL {

// The channels of a wave.
class IChannelCollection : public CObject, public ILocatable2D {
public:
  ~IChannelCollection() override {}
  IChannelCollection* Clone() const override = 0;
  bool Equals(CObject const& other) const override { return CObject::Equals(other); }
  // Replaces the channels by n new ones.
  virtual void Initialize(int channels) = 0;
  virtual void Normalize() = 0;
  virtual bool HasNormalized() const = 0;
  // Non-empty channels of the collection's format, all at channel 0's location.
  virtual bool IsValid() const = 0;
  // Exactly two channels panned exactly -1 and +1.
  virtual bool IsStereo() const = 0;
  virtual CWaveFormat GetFormat() const = 0;
};

}  // namespace SL
