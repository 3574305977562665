#pragma once

#include <string>

#include "GT/Com/Enum/CEnumeration.h"
#include "SL/Com/Format/CWaveFormat.h"
#include "SL/Com/Wave/IEntity.h"

namespace SL {

class CEntityId;

// A curve over frames with a content format and a curve type.
class IEnvelope : public IEntity {
public:
  class CCurveType : public GT::CEnumeration<CCurveType> {
  public:
    CCurveType() {}
    explicit CCurveType(int value) : GT::CEnumeration<CCurveType>(value) {}
    explicit CCurveType(std::string const& name) : GT::CEnumeration<CCurveType>(name) {}

    static CCurveType const Linear;
    static CCurveType const Log;
    static CCurveType const Spline;

  private:
    constexpr CCurveType(int value, CUnchecked unchecked)
        : GT::CEnumeration<CCurveType>(value, unchecked) {}
  };

  // Attribute bits of an envelope, above those of every entity.
  enum { kPoint = 16, kSelection = 32 };

  ~IEnvelope() override {}
  IEnvelope* Clone() const override = 0;

  // Copies the common attributes, the format and the curve type when id
  // selects them.
  virtual void CopyAttribute(IEnvelope const& source, CEntityId const& id);
  virtual CWaveFormat GetFormat() const = 0;
  virtual void SetCurveType(CCurveType type) = 0;
  virtual CCurveType GetCurveType() const = 0;
  virtual void SetFormat(CWaveFormat format) = 0;

  using IEntity::CopyAttribute;

  static std::string ToString(int attributes);
};

}  // namespace SL

template <>
GT::CStringTable GT::CEnumeration<SL::IEnvelope::CCurveType>::sNames;
