#include "SL/Com/Wave/CNullChannel.h"

namespace SL {

CNullChannel::CNullChannel(CWaveFormat format) : AEntity(), AChannel(format), mRange(0, 0) {}

CNullChannel::CNullChannel(CNullChannel const& other)
    : ILocatable2D(), IChannel(), AEntity(other), AChannel(other), mRange(other.mRange) {}

CNullChannel& CNullChannel::operator=(CNullChannel const& other) {
  CNullChannel copy(other);
  Swap(copy);
  return *this;
}

void CNullChannel::Swap(CNullChannel& other) {
  AEntity::Swap(other);
  AChannel::Swap(other);
  mRange.Swap(other.mRange);
}

bool CNullChannel::operator==(CNullChannel const& other) const {
  return AEntity::operator==(other) && AChannel::operator==(other) &&
         mRange.begin == other.mRange.begin && mRange.end == other.mRange.end;
}

CNullChannel* CNullChannel::Clone() const { return new CNullChannel(*this); }

bool CNullChannel::Equals(CObject const& other) const {
  CNullChannel const* channel = dynamic_cast<CNullChannel const*>(&other);
  return channel && *this == *channel;
}

void CNullChannel::SetActive(bool active) { mActive = active; }
bool CNullChannel::IsActive() const { return mActive; }
void CNullChannel::SetName(std::string const& name) { mName = name; }
std::string const& CNullChannel::GetName() const { return mName; }
void CNullChannel::SetCaption(std::string const& caption) { mCaption = caption; }
std::string const& CNullChannel::GetCaption() const { return mCaption; }
void CNullChannel::SetText(std::string const& text) { mText = text; }
std::string const& CNullChannel::GetText() const { return mText; }

void CNullChannel::Normalize() { AChannel::Normalize(); }
bool CNullChannel::HasNormalized() const { return AChannel::HasNormalized(); }

void CNullChannel::SetLocation(GT::CRange<long> const& range) { mRange = range; }
GT::CRange<long> CNullChannel::GetLocation() const { return mRange; }

CWaveFormat CNullChannel::GetFormat() const { return mFormat; }
void CNullChannel::SetLevel(double level) { mLevel = level; }
double CNullChannel::GetLevel() const { return mLevel; }
void CNullChannel::SetPan(double pan) { mPan = pan; }
double CNullChannel::GetPan() const { return mPan; }
void CNullChannel::SetPeakLevel(double level) { mPeakLevel = level; }
double CNullChannel::GetPeakLevel() const { return mPeakLevel; }
void CNullChannel::SetEnvelope(boost::shared_ptr<CEnvelope> envelope) { mEnvelope = envelope; }
boost::shared_ptr<CEnvelope> CNullChannel::GetEnvelope() const { return mEnvelope; }
CEnvelope& CNullChannel::Envelope() { return *mEnvelope; }
CEnvelope const& CNullChannel::Envelope() const { return *mEnvelope; }

}  // namespace SL
