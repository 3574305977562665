#include "SL/Com/AEnvelope.h"

namespace SL {

AEnvelope::AEnvelope(CWaveFormat format)
    : mFormat(format), mCurveType(IEnvelope::CCurveType::Linear) {}

AEnvelope::AEnvelope(AEnvelope const& other) = default;

AEnvelope& AEnvelope::operator=(AEnvelope const& other) {
  AEnvelope copy(other);
  Swap(copy);
  return *this;
}

void AEnvelope::Swap(AEnvelope& other) {
  CWaveFormat format(mFormat);
  mFormat = other.mFormat;
  other.mFormat = format;
  IEnvelope::CCurveType curve(mCurveType);
  mCurveType = other.mCurveType;
  other.mCurveType = curve;
}

bool AEnvelope::operator==(AEnvelope const& other) const {
  return mFormat.GetValue() == other.mFormat.GetValue() &&
         mCurveType.GetValue() == other.mCurveType.GetValue();
}

}  // namespace SL
