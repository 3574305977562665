#include "SL/Com/Wave/IEnvelope.h"

#include "SL/Com/Wave/CEntityId.h"

namespace {

GT::CStringTable::CPair const kCurveTypeNames[] = {
    {0, "LIN"},
    {1, "LOG"},
    {2, "SPL"},
};

}  // namespace

template <>
GT::CStringTable GT::CEnumeration<SL::IEnvelope::CCurveType>::sNames(
    kCurveTypeNames, sizeof kCurveTypeNames / sizeof kCurveTypeNames[0],
    GT::CStringTable::CPair(-1, std::string()));

namespace SL {

IEnvelope::CCurveType const IEnvelope::CCurveType::Linear(0, CUnchecked());
IEnvelope::CCurveType const IEnvelope::CCurveType::Log(1, CUnchecked());
IEnvelope::CCurveType const IEnvelope::CCurveType::Spline(2, CUnchecked());

std::string IEnvelope::ToString(int attributes) {
  std::string text = IEntity::ToString(attributes);
  if (attributes & kPoint) text += "(Point)";
  if (attributes & kSelection) text += "(Selection)";
  return text;
}

void IEnvelope::CopyAttribute(IEnvelope const& source, CEntityId const& id) {
  CEntityId const envelope = CEntityId().Set<IEnvelope>(0);
  CEntityId const selection = id == IEntity::sCopyAll ? envelope : id.Extract(envelope);
  if (selection.IsEmpty()) return;
  if (!selection.Intersects(CEntityId().Set<IEnvelope>(0).Attribute(~0x30), false)) return;
  IEntity::CopyAttribute(source);
  SetFormat(source.GetFormat());
  SetCurveType(source.GetCurveType());
}

}  // namespace SL
