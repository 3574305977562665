#pragma once

#include <boost/shared_ptr.hpp>
#include <string>

#include "GT/Com/Enum/INullable.h"
#include "SL/Com/Format/CWaveFormat.h"
#include "SL/Com/Wave/IEntity.h"
#include "SL/Com/Buffer/ILocatable2D.h"

namespace SL {

class CEntityId;
class CEnvelope;

// One channel of a wave: level, pan, peak level, an envelope and a frame range.
class IChannel : public IEntity, public virtual ILocatable2D, public GT::INullable {
public:
  // Attribute bits of a channel, above those of every entity.
  enum { kSamples = 0x10, kFrameRange = 0x20, kLevel = 0x40, kPan = 0x80, kPeakLevel = 0x100 };

  ~IChannel() override {}
  IChannel* Clone() const override = 0;

  // Copies what id selects: the entity attributes with level, pan and peak
  // level as one group, the frame range, and the envelope.
  virtual void CopyAttribute(IChannel const& source, CEntityId const& id);
  virtual CWaveFormat GetFormat() const = 0;
  virtual void SetLevel(double level) = 0;
  virtual double GetLevel() const = 0;
  virtual void SetPan(double pan) = 0;
  virtual double GetPan() const = 0;
  virtual void SetPeakLevel(double level) = 0;
  virtual double GetPeakLevel() const = 0;
  virtual void SetEnvelope(boost::shared_ptr<CEnvelope> envelope) = 0;
  virtual boost::shared_ptr<CEnvelope> GetEnvelope() const = 0;
  virtual CEnvelope& Envelope() = 0;
  virtual CEnvelope const& Envelope() const = 0;

  using IEntity::CopyAttribute;

  static std::string ToString(int attributes);
};

}  // namespace SL
