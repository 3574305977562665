#pragma once

#include <boost/shared_ptr.hpp>

#include "SL/Com/Wave/CChannel.h"
#include "SL/Com/Wave/CChannelCollection.h"
#include "SL/Com/Wave/CNullChannel.h"
#include "SL/Com/Base/CStlSharedPtrVectorMixin.h"
#include "SL/Com/Wave/IChannelCollection.h"

namespace SL {

// A channel collection whose factory makes sample-holding CChannel<N>s and
// whose elements are presented as CChannel<N>.
template <int N>
class CTypedChannelCollection : public CStlSharedPtrVectorMixin<IChannel, CChannel<N> >,
                                public IChannelCollection {
public:
  typedef CStlSharedPtrVectorMixin<IChannel, CChannel<N> > CMixin;
  typedef typename CMixin::CStorage CStorage;

  explicit CTypedChannelCollection(CWaveFormat format) : mInner(new CChannelCollection(format)) {
    mInner->SetFactory(&CTypedChannelCollection::CreateChannel);
  }
  CTypedChannelCollection(CTypedChannelCollection const& other, bool deep)
      : CMixin(), IChannelCollection(), mInner(new CChannelCollection(*other.mInner, deep)) {}
  CTypedChannelCollection(CTypedChannelCollection const& other)
      : CTypedChannelCollection(other, true) {}
  CTypedChannelCollection& operator=(CTypedChannelCollection const& other) {
    CTypedChannelCollection copy(other, true);
    mInner.swap(copy.mInner);
    return *this;
  }

  CStorage& Implementer() override { return *mInner; }
  CStorage const& Implementer() const override { return *mInner; }

  CTypedChannelCollection* Clone() const override {
    return new CTypedChannelCollection(*this, true);
  }
  bool Equals(CObject const& other) const override {
    CTypedChannelCollection const* collection =
        dynamic_cast<CTypedChannelCollection const*>(&other);
    return collection && *mInner == *collection->mInner;
  }
  void Initialize(int channels) override { mInner->Initialize(channels); }
  void Normalize() override { mInner->Normalize(); }
  bool HasNormalized() const override { return mInner->HasNormalized(); }
  // Also every channel holds samples of this depth or is a null channel.
  bool IsValid() const override {
    if (!mInner->IsValid()) return false;
    for (auto const& channel : *mInner)
      if (!dynamic_cast<CChannel<N> const*>(channel.get()) &&
          !dynamic_cast<CNullChannel const*>(channel.get()))
        return false;
    return true;
  }
  bool IsStereo() const override { return mInner->IsStereo(); }
  CWaveFormat GetFormat() const override { return mInner->GetFormat(); }
  void SetLocation(GT::CRange<long> const& range) override { mInner->SetLocation(range); }
  GT::CRange<long> GetLocation() const override { return mInner->GetLocation(); }

  // The untyped collection inside; a wave may replace it.
  CChannelCollection& Inner() { return *mInner; }
  CChannelCollection const& Inner() const { return *mInner; }
  boost::shared_ptr<CChannelCollection> GetInner() const { return mInner; }
  void SetInner(boost::shared_ptr<CChannelCollection> inner) { mInner = inner; }

  static boost::shared_ptr<IChannel> CreateChannel(CWaveFormat format) {
    return boost::shared_ptr<IChannel>(new CChannel<N>(format));
  }

private:
  boost::shared_ptr<CChannelCollection> mInner;
};

}  // namespace SL
