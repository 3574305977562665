#pragma once

#include "SL/Com/Wave/CEntityCollection.h"
#include "SL/Com/Wave/CEntityCollectionAdapter.h"
#include "SL/Com/Wave/CEntityIdConstraint.h"

namespace SL {

// Names a selection of attributes in the entity hierarchy, e.g.
// CEntityId().Set<IWave>(0).Set<ILoop>(0).Attribute(0x40).
class CEntityId
    : public CEntityCollection<int, CEntityIdConstraint>,
      public CEntityCollectionAdapter<CEntityId, CEntityCollection<int, CEntityIdConstraint> > {
public:
  typedef CEntityCollection<int, CEntityIdConstraint> CCollection;
  typedef CEntityCollectionAdapter<CEntityId, CCollection> CAdapter;

  CEntityId() {}
  CEntityId(CEntityId const& other) : CCollection(other), CAdapter() {}
  CEntityId& operator=(CEntityId const& other) {
    CCollection::operator=(other);
    return *this;
  }

  // A new id holding the path from the root down to node.
  static CEntityId FromPath(CTreeNode const* node);

  // What this selection picks below the last node of path (a chain such as
  // wave -> channel), headed by that node's type: the whole entity when the
  // selection reaches the path but names nothing below it, an empty id when
  // it does not reach the path.
  CEntityId Below(CEntityId const& path) const;

private:
  friend class CEntityCollectionAdapter<CEntityId, CCollection>;
  friend class CEntityIdConstraint;
};

}  // namespace SL
