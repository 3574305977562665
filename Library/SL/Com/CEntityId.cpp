#include "SL/Com/CEntityId.h"

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

}  // namespace SL
