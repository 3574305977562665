#include "Platform/Framework/UTextTraits.h"

#include "Platform/Framework/UResources.h"

QFont UTextTraits::GetFont(ResIDT id, QFont const& base) {
  QFont font = base;
  QJsonObject const traits = UResources::Find("textTraits", id);
  if (traits.isEmpty()) return font;
  if (traits.value("size").toInt() > 0) font.setPointSize(traits.value("size").toInt());
  font.setBold(traits.value("bold").toBool());
  return font;
}
