#include "SL/Com/Wave/CEntityId.h"

#include <vector>

namespace SL {

CEntityId CEntityId::FromPath(CTreeNode const* node) {
  std::vector<CNode> path;
  for (; node && node->parent; node = node->parent) path.push_back(node->data);
  CEntityId id;
  CPosition at = id.Root();
  for (auto p = path.rbegin(); p != path.rend(); ++p) at = id.mTree->append_child(at, *p);
  id.mCurrent.clear();
  return id;
}

CEntityId CEntityId::Below(CEntityId const& path) const {
  if (!Intersects(path, false)) return CEntityId();
  CNode const& head = path.FirstLeaf()->data;
  CEntityId part = Extract(path);
  if (part.IsEmpty()) {
    part.mTree->append_child(part.Root(), head);
    part.mCurrent.clear();
  } else {
    part.Shrink(*head.mType);
  }
  return part;
}

}  // namespace SL
