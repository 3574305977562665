#include "SL/Com/Wave/IEntity.h"

#include "SL/Com/Wave/CEntityId.h"

namespace SL {

CEntityId const IEntity::sCopyAll;

std::string IEntity::ToString(int attributes) {
  std::string text;
  if (attributes & kActivity) text += "(Activity)";
  if (attributes & kName) text += "(Name)";
  if (attributes & kCaption) text += "(Caption)";
  if (attributes & kText) text += "(Text)";
  return text;
}

void IEntity::CopyAttribute(IEntity const& source) {
  SetActive(source.IsActive());
  SetName(source.GetName());
  SetCaption(source.GetCaption());
  SetText(source.GetText());
}

}  // namespace SL
