#include "SL/Com/Wave/CEntityIdConstraint.h"

#include <ostream>
#include <utility>
#include <vector>

#include "SL/Com/Wave/CEntityId.h"
#include "SL/Com/Wave/IChannel.h"
#include "SL/Com/Wave/IEnvelope.h"
#include "SL/Com/Wave/ILoop.h"
#include "SL/Com/Wave/IWave.h"

namespace SL {
namespace {

std::vector<std::pair<int, std::type_info const*> > EntityTypes() {
  std::vector<std::pair<int, std::type_info const*> > types;
  types.push_back(std::make_pair(0, &typeid(IWave)));
  types.push_back(std::make_pair(1, &typeid(IChannel)));
  types.push_back(std::make_pair(2, &typeid(IEnvelope)));
  types.push_back(std::make_pair(3, &typeid(ILoop)));
  return types;
}

bool MayHold(std::type_info const* parent, std::type_info const* child) {
  int p = parent ? CEntityIdConstraint::ToTypeId(*parent) : -2;
  int c = child ? CEntityIdConstraint::ToTypeId(*child) : -1;
  if (c < 0) return false;
  if (p == -2) return true;   // the root
  if (p == 0) return c != 0;  // a wave holds channels, envelopes, loops
  if (p == 1) return c == 2;  // a channel holds an envelope
  return false;
}

}  // namespace

GT::CPairTable<int, std::type_info const*> const CEntityIdConstraint::sTypes(
    EntityTypes(), std::pair<int, std::type_info const*>(-1, nullptr));

int CEntityIdConstraint::ToTypeId(std::type_info const& type) {
  return sTypes.ToFirst(&type).first;
}

std::type_info const* CEntityIdConstraint::ToTypeInfo(int id) { return sTypes.ToSecond(id); }

bool CEntityIdConstraint::ClassInvariant(CEntityId const& id) {
  for (CEntityId::CPosition it = id.Root(); it != id.mTree->end(); ++it) {
    std::type_info const* parentType = it.node->parent ? it.node->data.mType : nullptr;
    for (CEntityId::CTreeNode* c = it.node->first_child; c; c = c->next_sibling)
      if (!MayHold(parentType, c->data.mType)) return false;
  }
  return true;
}

void CEntityIdConstraint::PrintAttributes(std::type_info const* type, int attributes,
                                          std::ostream& stream) {
  if (attributes == -1) return;
  stream << ", ";
  switch (type ? ToTypeId(*type) : -1) {
    case 0:
      stream << IWave::ToString(attributes);
      break;
    case 1:
      stream << IChannel::ToString(attributes);
      break;
    case 2:
      stream << IEnvelope::ToString(attributes);
      break;
    case 3:
      stream << ILoop::ToString(attributes);
      break;
    default:
      stream << "Invalid";
      break;
  }
}

}  // namespace SL
