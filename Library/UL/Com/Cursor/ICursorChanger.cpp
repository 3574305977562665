#include "UL/Com/Cursor/ICursorChanger.h"

namespace UL {

long ICursorChanger::Change(ICursor::EType type) { return Cursor().Change(type, *this); }

void ICursorChanger::Restore(long id) { Cursor().Restore(id); }

}  // namespace UL
