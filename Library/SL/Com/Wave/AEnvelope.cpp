#include "SL/Com/Wave/AEnvelope.h"

#include <utility>

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
  std::swap(mFormat, other.mFormat);
  std::swap(mCurveType, other.mCurveType);
}

bool AEnvelope::operator==(AEnvelope const& other) const {
  return mFormat.GetValue() == other.mFormat.GetValue() &&
         mCurveType.GetValue() == other.mCurveType.GetValue();
}

}  // namespace SL
