#pragma once

#include "UL/Com/Cursor/ICursor.h"

#include <cstdint>
#include <vector>

namespace UL {

// The request stack of the cursor service; the platform class shows the
// cursors by overriding Set and Reset.
class ACursor : public ICursor {
public:
  long Change(EType type, ICursorChanger& changer) override;
  void Restore(long id) override;
  void Update(GT::CPointT<long> const& point) override;
  bool IsChanging() const override;
  // Shows a cursor kind on the screen.
  virtual void Set(EType) {}

protected:
  struct CEntry {
    int32_t mId;
    EType mType;
    ICursorChanger* mChanger;
  };

  int32_t mNextId = 0;
  std::vector<CEntry> mEntries;  // oldest first
};

}  // namespace UL
