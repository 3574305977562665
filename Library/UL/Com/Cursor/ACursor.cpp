#include "UL/Com/Cursor/ACursor.h"

#include "UL/Com/Cursor/ICursorChanger.h"

namespace UL {

long ACursor::Change(EType type, ICursorChanger& changer) {
  int32_t const id = mNextId;
  mEntries.push_back(CEntry{id, type, &changer});
  Set(type);
  // Ids are never reused within a run; stepping on the unsigned value keeps
  // even an absurdly long run free of signed overflow.
  mNextId = static_cast<int32_t>(static_cast<uint32_t>(mNextId) + 1u);
  return id;
}

void ACursor::Restore(long id) {
  for (auto it = mEntries.end(); it != mEntries.begin();) {
    --it;
    if (it->mId == id) it = mEntries.erase(it);
  }
  if (mEntries.empty())
    Reset();
  else
    Set(mEntries.back().mType);
}

void ACursor::Update(GT::CPointT<long> const& point) {
  if (!mEntries.empty()) mEntries.back().mChanger->Update(point);
}

bool ACursor::IsChanging() const { return !mEntries.empty(); }

}  // namespace UL
