#include "UL/Com/Cursor/CWaitCursor.h"

namespace UL {

CWaitCursor::CWaitCursor() : mId(static_cast<int32_t>(Change(ICursor::Wait))) {}

CWaitCursor::~CWaitCursor() { Restore(mId); }

}  // namespace UL
