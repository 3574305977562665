#pragma once

#include <boost/shared_ptr.hpp>

#include "GT/Com/Enum/CRange.h"
#include "SL/Com/Wave/AEntity.h"
#include "SL/Com/Wave/AEnvelope.h"
#include "SL/Com/Wave/CEnvelopePoint.h"
#include "SL/Com/Base/CVectorSet.h"
#include "SL/Com/Wave/IEnvelope.h"

namespace SL {

// The envelope entity: itself the vector of its points, sorted by x.
class CEnvelope : public IEnvelope, public CVectorSet<CEnvelopePoint, CEnvelopePoint::FLessX> {
public:
  typedef CVectorSet<CEnvelopePoint, CEnvelopePoint::FLessX> CPoints;

  explicit CEnvelope(CWaveFormat format);
  CEnvelope(CEnvelope const& other, bool copyPoints = true);
  CEnvelope& operator=(CEnvelope const& other);
  void Swap(CEnvelope& other);
  // Points (x and y), entity record and envelope record equal.
  bool operator==(CEnvelope const& other) const;
  bool operator!=(CEnvelope const& other) const { return !(*this == other); }

  CEnvelope* Clone() const override;
  bool Equals(CObject const& other) const override;
  void SetCaption(std::string const& caption) override;
  std::string const& GetCaption() const override;
  void SetText(std::string const& text) override;
  std::string const& GetText() const override;
  void Normalize() override;
  bool HasNormalized() const override;
  void CopyAttribute(IEnvelope const& source, CEntityId const& id) override;
  CWaveFormat GetFormat() const override;
  void SetCurveType(CCurveType type) override;
  CCurveType GetCurveType() const override;
  void SetFormat(CWaveFormat format) override;
  virtual bool IsNull() const;
  void SetActive(bool active) override;
  bool IsActive() const override;
  void SetName(std::string const& name) override;
  std::string const& GetName() const override;
  // Does nothing: the points decide the location.
  virtual void SetLocation(GT::CRange<long> const& range);
  // {first x, last x} truncated toward zero; {0, 0} without points.
  virtual GT::CRange<long> GetLocation() const;

  using IEntity::CopyAttribute;

private:
  boost::shared_ptr<AEntity> mEntity;
  boost::shared_ptr<AEnvelope> mEnvelope;
};

}  // namespace SL
