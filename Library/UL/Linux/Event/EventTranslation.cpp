#include "UL/Linux/Event/EventTranslation.h"

#include "UL/Com/Event/CKeyEvent.h"
#include "UL/Com/Event/CMouseInfo.h"

#include <QtCore/qnamespace.h>

namespace UL {

uint32_t MouseModifiersOf(uint16_t frameworkModifiers) {
  uint32_t bits = 0;
  if (frameworkModifiers & nModifierShift) bits |= CMouseInfo::Shift;
  if (frameworkModifiers & nModifierCommand) bits |= CMouseInfo::Command;
  if (frameworkModifiers & nModifierControl) bits |= CMouseInfo::Control;
  return bits;
}

int32_t KeyCodeOf(EventRecord const& event) {
  switch (event.key) {
    case Qt::Key_Left:
      return CKeyEvent::KeyLeft;
    case Qt::Key_Right:
      return CKeyEvent::KeyRight;
    case Qt::Key_Up:
      return CKeyEvent::KeyUp;
    case Qt::Key_Down:
      return CKeyEvent::KeyDown;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return CKeyEvent::KeyReturn;
    default:
      break;
  }
  if (event.text.size() == 1) {
    char16_t const c = event.text.at(0).unicode();
    if (c >= 0x20 && c < 0x7F) return c;
  }
  return 0;
}

}  // namespace UL
