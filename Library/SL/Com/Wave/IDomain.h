#pragma once

#include "SL/Com/Wave/IEntityDescription.h"

namespace SL {

class IWave;
class IChannel;
class IEnvelope;
class ILoop;

// The process-wide hooks that end every entity's Normalize and HasNormalized.
class IDomain {
public:
  virtual ~IDomain() {}
  virtual IEntityDescription<IWave>& WaveDescription() = 0;
  virtual IEntityDescription<IChannel>& ChannelDescription() = 0;
  virtual IEntityDescription<IEnvelope>& EnvelopeDescription() = 0;
  virtual IEntityDescription<ILoop>& LoopDescription() = 0;
};

}  // namespace SL
