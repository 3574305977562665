#pragma once

#include <boost/shared_ptr.hpp>

#include "SL/Com/Wave/CEnvelope.h"
#include "SL/Com/Format/CWaveFormat.h"

namespace SL {

// The attributes of a channel; a copy gets a clone of the envelope.
class AChannel {
public:
  explicit AChannel(CWaveFormat format = CWaveFormat::None);
  AChannel(AChannel const& other);
  AChannel& operator=(AChannel const& other);
  void Swap(AChannel& other);
  bool operator==(AChannel const& other) const;
  bool operator!=(AChannel const& other) const { return !(*this == other); }

  bool ClassInvariant() const { return mEnvelope.get() != nullptr; }
  // The pan within [-1, 1] and the envelope normalised.
  bool HasNormalized() const;
  void Normalize();

  CWaveFormat mFormat;
  double mLevel;
  double mPan;
  double mPeakLevel;
  boost::shared_ptr<CEnvelope> mEnvelope;
};

}  // namespace SL
