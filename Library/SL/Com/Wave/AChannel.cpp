#include "SL/Com/Wave/AChannel.h"

#include <utility>

#include "GT/Com/Data/Numerics.h"

namespace SL {

AChannel::AChannel(CWaveFormat format)
    : mFormat(format),
      mLevel(1.0),
      mPan(0.0),
      mPeakLevel(1.0),
      mEnvelope(new CEnvelope(CWaveFormat::None)) {}

AChannel::AChannel(AChannel const& other)
    : mFormat(other.mFormat),
      mLevel(other.mLevel),
      mPan(other.mPan),
      mPeakLevel(other.mPeakLevel),
      mEnvelope(other.mEnvelope->Clone()) {}

AChannel& AChannel::operator=(AChannel const& other) {
  AChannel copy(other);
  Swap(copy);
  return *this;
}

void AChannel::Swap(AChannel& other) {
  std::swap(mFormat, other.mFormat);
  std::swap(mLevel, other.mLevel);
  std::swap(mPan, other.mPan);
  std::swap(mPeakLevel, other.mPeakLevel);
  mEnvelope.swap(other.mEnvelope);
}

bool AChannel::operator==(AChannel const& other) const {
  return mFormat == other.mFormat && mLevel == other.mLevel && mPan == other.mPan &&
         mPeakLevel == other.mPeakLevel && *mEnvelope == *other.mEnvelope;
}

bool AChannel::HasNormalized() const {
  return -1.0 <= mPan && mPan <= 1.0 && mEnvelope->HasNormalized();
}

void AChannel::Normalize() {
  mPan = GT::Clip(mPan, -1.0, 1.0);
  mEnvelope->Normalize();
}

}  // namespace SL
