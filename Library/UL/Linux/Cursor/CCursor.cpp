#include "UL/Linux/Cursor/CCursor.h"

#include "UL/Com/Cursor/ICursorChanger.h"

namespace UL {

void CCursor::Reset() { mEntries.clear(); }

void CCursor::Update(GT::CPointT<long> const& point) {
  if (mEntries.empty()) return;
  CEntry const entry = mEntries.back();
  entry.mChanger->Update(point);
  Set(entry.mType);
}

void CCursor::Set(EType) {}

ICursor& Cursor() {
  static CCursor sCursor;
  return sCursor;
}

}  // namespace UL
