#pragma once

#include "UL/Com/Cursor/ICursorChanger.h"

#include <cstdint>

namespace UL {

// Requests the wait cursor for as long as it lives.
class CWaitCursor : public ICursorChanger {
public:
  CWaitCursor();
  ~CWaitCursor() override;

  CWaitCursor(CWaitCursor const&) = delete;
  CWaitCursor& operator=(CWaitCursor const&) = delete;

private:
  int32_t mId;
};

}  // namespace UL
