#include "SL/Com/Wave/CEnvelope.h"

#include <limits>

#include "SL/Com/Wave/CEntityId.h"
#include "SL/Com/Wave/CEnvelopeSelector.h"
#include "SL/Com/Wave/Domain.h"

namespace SL {
namespace {

// Truncation toward zero that stays defined for NaN and huge points.
long TruncateFrame(double x) {
  if (!(x == x)) return 0;
  if (x >= 9.2e18) return std::numeric_limits<long>::max();
  if (x <= -9.2e18) return std::numeric_limits<long>::min();
  return static_cast<long>(x);
}

}  // namespace

CEnvelope::CEnvelope(CWaveFormat format) : mEntity(new AEntity), mEnvelope(new AEnvelope(format)) {
  CEnvelope::Normalize();
}

CEnvelope::CEnvelope(CEnvelope const& other, bool copyPoints)
    : IEnvelope(),
      CPoints(),
      mEntity(new AEntity(*other.mEntity)),
      mEnvelope(new AEnvelope(*other.mEnvelope)) {
  if (copyPoints) CPoints::operator=(other);
}

CEnvelope& CEnvelope::operator=(CEnvelope const& other) {
  CEnvelope copy(other, true);
  Swap(copy);
  return *this;
}

void CEnvelope::Swap(CEnvelope& other) {
  CPoints::swap(other);
  mEntity.swap(other.mEntity);
  mEnvelope.swap(other.mEnvelope);
}

bool CEnvelope::operator==(CEnvelope const& other) const {
  return static_cast<CPoints::CBase const&>(*this) == static_cast<CPoints::CBase const&>(other) &&
         *mEntity == *other.mEntity && *mEnvelope == *other.mEnvelope;
}

CEnvelope* CEnvelope::Clone() const { return new CEnvelope(*this, true); }

bool CEnvelope::Equals(CObject const& other) const {
  CEnvelope const* envelope = dynamic_cast<CEnvelope const*>(&other);
  return envelope && *this == *envelope;
}

void CEnvelope::SetCaption(std::string const& caption) { mEntity->mCaption = caption; }
std::string const& CEnvelope::GetCaption() const { return mEntity->mCaption; }
void CEnvelope::SetText(std::string const& text) { mEntity->mText = text; }
std::string const& CEnvelope::GetText() const { return mEntity->mText; }
void CEnvelope::SetActive(bool active) { mEntity->mActive = active; }
bool CEnvelope::IsActive() const { return mEntity->mActive; }
void CEnvelope::SetName(std::string const& name) { mEntity->mName = name; }
std::string const& CEnvelope::GetName() const { return mEntity->mName; }

void CEnvelope::Normalize() { Domain().EnvelopeDescription().Normalize(*this); }

bool CEnvelope::HasNormalized() const {
  return Domain().EnvelopeDescription().HasNormalized(*this);
}

void CEnvelope::CopyAttribute(IEnvelope const& source, CEntityId const& id) {
  IEnvelope::CopyAttribute(source, id);
  CEnvelope const* envelope = dynamic_cast<CEnvelope const*>(&source);
  if (envelope == nullptr) return;
  bool const all = id == IEntity::sCopyAll;
  if (!all && !id.Intersects(CEntityId().Set<IEnvelope>(0).Attribute(kPoint), false)) return;
  if (envelope != this) {
    CPoints points;
    points.insert(envelope->begin(), envelope->end());
    CPoints::swap(points);
  }
  if (!id.Intersects(CEntityId().Set<IEnvelope>(0).Attribute(kSelection), false))
    CEnvelopeSelector(*this).SelectAll(false);
}

CWaveFormat CEnvelope::GetFormat() const { return mEnvelope->mFormat; }
void CEnvelope::SetCurveType(CCurveType type) { mEnvelope->mCurveType = type; }
IEnvelope::CCurveType CEnvelope::GetCurveType() const { return mEnvelope->mCurveType; }
void CEnvelope::SetFormat(CWaveFormat format) { mEnvelope->mFormat = format; }
bool CEnvelope::IsNull() const { return false; }

void CEnvelope::SetLocation(GT::CRange<long> const&) {}

GT::CRange<long> CEnvelope::GetLocation() const {
  if (empty()) return GT::CRange<long>(0, 0);
  return GT::CRange<long>(TruncateFrame(front().x), TruncateFrame(back().x));
}

}  // namespace SL
