#pragma once

#include "UL/Com/Cursor/ICursor.h"

namespace UL {

// The requester side of the cursor service. A requester must outlive its open
// request: the service keeps a plain pointer to it.
class ICursorChanger {
public:
  virtual ~ICursorChanger() = default;

  // Called by the service with the pointer position while this request is the
  // newest.
  virtual void Update(GT::CPointT<long> const&) {}

  long Change(ICursor::EType type);
  void Restore(long id);
};

}  // namespace UL
