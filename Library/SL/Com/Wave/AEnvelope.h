#pragma once

#include "SL/Com/Format/CWaveFormat.h"
#include "SL/Com/Wave/IEnvelope.h"

namespace SL {

// The values of an envelope: content format and curve type.
class AEnvelope {
public:
  explicit AEnvelope(CWaveFormat format = CWaveFormat::None);
  AEnvelope(AEnvelope const& other);
  AEnvelope& operator=(AEnvelope const& other);
  void Swap(AEnvelope& other);
  bool operator==(AEnvelope const& other) const;
  bool operator!=(AEnvelope const& other) const { return !(*this == other); }

  CWaveFormat mFormat;
  IEnvelope::CCurveType mCurveType;
};

}  // namespace SL
