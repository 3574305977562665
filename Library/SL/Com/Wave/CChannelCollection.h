#pragma once

#include <boost/function.hpp>
#include <boost/shared_ptr.hpp>
#include <vector>

#include "SL/Com/Wave/IChannel.h"
#include "SL/Com/Wave/IChannelCollection.h"

namespace SL {

class CEntityId;

// A vector of shared channel pointers plus the factory that makes new channels.
class CChannelCollection : public IChannelCollection,
                           public std::vector<boost::shared_ptr<IChannel> > {
public:
  typedef std::vector<boost::shared_ptr<IChannel> > CChannels;
  typedef boost::function<boost::shared_ptr<IChannel>(CWaveFormat)> CFactory;

  explicit CChannelCollection(CWaveFormat format);
  // Shares the channels unless deep, which clones each of them.
  CChannelCollection(CChannelCollection const& other, bool deep);
  CChannelCollection(CChannelCollection const& other);
  CChannelCollection& operator=(CChannelCollection const& other);
  void Swap(CChannelCollection& other);
  bool operator==(CChannelCollection const& other) const;
  bool operator!=(CChannelCollection const& other) const { return !(*this == other); }

  CChannelCollection* Clone() const override;
  bool Equals(CObject const& other) const override;
  void Initialize(int channels) override;
  void Normalize() override;
  bool HasNormalized() const override;
  bool IsValid() const override;
  bool IsStereo() const override;
  CWaveFormat GetFormat() const override;
  void SetLocation(GT::CRange<long> const& range) override;
  GT::CRange<long> GetLocation() const override;

  // Channel i copies from source channel i, for the channels both have.
  void CopyAttribute(CChannelCollection const& source, CEntityId const& id);

  void SetFactory(CFactory const& factory) { mFactory = factory; }
  // A new null channel of the format.
  static boost::shared_ptr<IChannel> CreateChannel(CWaveFormat format);

private:
  CWaveFormat mFormat;
  CFactory mFactory;
};

}  // namespace SL
