#pragma once

#include <algorithm>
#include <boost/shared_ptr.hpp>
#include <cstring>

#include "SL/Com/Wave/AChannel.h"
#include "SL/Com/Wave/AEntity.h"
#include "SL/Com/Wave/CEntityId.h"
#include "SL/Com/Buffer/CLocatableBuffer.h"
#include "SL/Com/Wave/Domain.h"
#include "SL/Com/Wave/IChannel.h"

namespace SL {

// A channel holding its samples (as double for N = FLOAT64) from its first
// frame on; owns its records alone.
template <int N>
class CChannel : public CLocatableBuffer<double>, public IChannel {
public:
  explicit CChannel(CWaveFormat format) : mEntity(new AEntity), mChannel(new AChannel(format)) {
    CChannel::Normalize();
  }
  CChannel(CChannel const& other, bool copySamples)
      : ILocatable2D(),
        CLocatableBuffer<double>(),
        IChannel(),
        mEntity(new AEntity(*other.mEntity)),
        mChannel(new AChannel(*other.mChannel)) {
    GT::CRange<long> const range = other.GetLocation();
    if (copySamples) {
      SetLocation(range);
      if (GetSize() > 0) std::memcpy(Begin(), other.Begin(), sizeof(double) * GetSize());
    } else {
      SetLocation(GT::CRange<long>(range.begin, range.begin));
    }
  }

  // Copies are deep: their own records, envelope and samples.
  CChannel(CChannel const& other) : CChannel(other, true) {}
  CChannel& operator=(CChannel const& other) {
    CChannel copy(other);
    Swap(copy);
    return *this;
  }
  void Swap(CChannel& other) {
    PolymorphicSwap(other);
    mEntity.swap(other.mEntity);
    mChannel.swap(other.mChannel);
  }

  // Equal records, samples and first frame.
  bool operator==(CChannel const& other) const {
    if (!(*mEntity == *other.mEntity) || !(*mChannel == *other.mChannel)) return false;
    if (GetSize() != other.GetSize()) return false;
    double const* a = Begin();
    double const* b = other.Begin();
    for (long i = 0; i < static_cast<long>(GetSize()); ++i)
      if (!(a[i] == b[i])) return false;
    return GetLocation().begin == other.GetLocation().begin;
  }
  bool operator!=(CChannel const& other) const { return !(*this == other); }

  CChannel* Clone() const override { return new CChannel(*this, true); }
  bool Equals(CObject const& other) const override {
    CChannel const* channel = dynamic_cast<CChannel const*>(&other);
    return channel && *this == *channel;
  }
  void SetActive(bool active) override { mEntity->mActive = active; }
  bool IsActive() const override { return mEntity->mActive; }
  void SetName(std::string const& name) override { mEntity->mName = name; }
  std::string const& GetName() const override { return mEntity->mName; }
  void SetCaption(std::string const& caption) override { mEntity->mCaption = caption; }
  std::string const& GetCaption() const override { return mEntity->mCaption; }
  void SetText(std::string const& text) override { mEntity->mText = text; }
  std::string const& GetText() const override { return mEntity->mText; }
  void Normalize() override {
    mChannel->Normalize();
    Domain().ChannelDescription().Normalize(*this);
  }
  bool HasNormalized() const override {
    return mChannel->HasNormalized() && Domain().ChannelDescription().HasNormalized(*this);
  }
  bool IsNull() const override { return false; }

  CWaveFormat GetFormat() const override { return mChannel->mFormat; }
  void SetLevel(double level) override { mChannel->mLevel = level; }
  double GetLevel() const override { return mChannel->mLevel; }
  void SetPan(double pan) override { mChannel->mPan = pan; }
  double GetPan() const override { return mChannel->mPan; }
  void SetPeakLevel(double level) override { mChannel->mPeakLevel = level; }
  double GetPeakLevel() const override { return mChannel->mPeakLevel; }
  void SetEnvelope(boost::shared_ptr<CEnvelope> envelope) override {
    mChannel->mEnvelope = envelope;
  }
  boost::shared_ptr<CEnvelope> GetEnvelope() const override { return mChannel->mEnvelope; }
  CEnvelope& Envelope() override { return *mChannel->mEnvelope; }
  CEnvelope const& Envelope() const override { return *mChannel->mEnvelope; }

  // The channel attributes, then the samples of the overlapping frames when
  // the samples are selected and the source holds samples too.
  void CopyAttribute(IChannel const& source, CEntityId const& id) override {
    IChannel::CopyAttribute(source, id);
    CChannel const* other = dynamic_cast<CChannel const*>(&source);
    if (other == nullptr) return;
    if (!(id == IEntity::sCopyAll) &&
        !id.Intersects(CEntityId().Set<IChannel>(-1).Attribute(kSamples), false))
      return;
    GT::CRange<long> const mine = GetLocation();
    GT::CRange<long> const theirs = other->GetLocation();
    long const begin = std::max(mine.begin, theirs.begin);
    long const end = std::min(mine.end, theirs.end);
    if (begin >= end) return;
    std::memmove(At(begin), other->At(begin),
                 sizeof(double) * static_cast<std::size_t>(end - begin));
  }

  using IEntity::CopyAttribute;

private:
  boost::shared_ptr<AEntity> mEntity;
  boost::shared_ptr<AChannel> mChannel;
};

}  // namespace SL
