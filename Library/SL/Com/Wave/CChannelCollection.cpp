#include "SL/Com/Wave/CChannelCollection.h"

#include <algorithm>
#include <utility>

#include "SL/Com/Wave/CNullChannel.h"
#include "SL/Com/Base/CloneSharedPointerCollection.h"

namespace SL {

CChannelCollection::CChannelCollection(CWaveFormat format)
    : mFormat(format), mFactory(&CChannelCollection::CreateChannel) {}

CChannelCollection::CChannelCollection(CChannelCollection const& other, bool deep)
    : IChannelCollection(), CChannels(other), mFormat(other.mFormat), mFactory(other.mFactory) {
  if (deep)
    CloneSharedPointerCollection(static_cast<CChannels const&>(other),
                                 static_cast<CChannels&>(*this));
}

CChannelCollection::CChannelCollection(CChannelCollection const& other)
    : CChannelCollection(other, true) {}

CChannelCollection& CChannelCollection::operator=(CChannelCollection const& other) {
  CChannelCollection copy(other, true);
  Swap(copy);
  return *this;
}

void CChannelCollection::Swap(CChannelCollection& other) {
  CChannels::swap(other);
  std::swap(mFormat, other.mFormat);
  mFactory.swap(other.mFactory);
}

bool CChannelCollection::operator==(CChannelCollection const& other) const {
  if (mFormat != other.mFormat || size() != other.size()) return false;
  for (size_type i = 0; i < size(); ++i)
    if (!(*this)[i]->Equals(*other[i])) return false;
  return true;
}

CChannelCollection* CChannelCollection::Clone() const {
  return new CChannelCollection(*this, true);
}

bool CChannelCollection::Equals(CObject const& other) const {
  CChannelCollection const* collection = dynamic_cast<CChannelCollection const*>(&other);
  return collection && *this == *collection;
}

void CChannelCollection::Initialize(int channels) {
  clear();
  for (int i = 0; i < channels; ++i) push_back(mFactory(CWaveFormat(mFormat)));
}

void CChannelCollection::Normalize() {
  for (auto const& channel : *this) channel->Normalize();
}

bool CChannelCollection::HasNormalized() const {
  for (auto const& channel : *this)
    if (!channel->HasNormalized()) return false;
  return true;
}

bool CChannelCollection::IsValid() const {
  if (empty()) return true;
  if (!front()) return false;
  GT::CRange<long> const location = front()->GetLocation();
  for (auto const& channel : *this) {
    if (!channel || channel->GetFormat() != mFormat) return false;
    GT::CRange<long> const other = channel->GetLocation();
    if (other.begin != location.begin || other.end != location.end) return false;
  }
  return true;
}

bool CChannelCollection::IsStereo() const {
  return size() == 2 && (*this)[0]->GetPan() == -1.0 && (*this)[1]->GetPan() == 1.0;
}

CWaveFormat CChannelCollection::GetFormat() const { return mFormat; }

void CChannelCollection::SetLocation(GT::CRange<long> const& range) {
  for (auto const& channel : *this) channel->SetLocation(range);
}

GT::CRange<long> CChannelCollection::GetLocation() const {
  if (empty()) return GT::CRange<long>(0, 0);
  return front()->GetLocation();
}

void CChannelCollection::CopyAttribute(CChannelCollection const& source, CEntityId const& id) {
  size_type const n = std::min(size(), source.size());
  for (size_type i = 0; i < n; ++i) (*this)[i]->CopyAttribute(*source[i], id);
}

boost::shared_ptr<IChannel> CChannelCollection::CreateChannel(CWaveFormat format) {
  return boost::shared_ptr<IChannel>(new CNullChannel(format));
}

}  // namespace SL
