#pragma once

#include "GT/Com/Observer/CEvent.h"

#include <cstdint>

namespace UL {

// A key event carrying the code of one key. Printable keys keep their
// character code; the keys that move and act on pads have codes above 0xFF.
class CKeyEvent : public GT::CEvent {
public:
  enum ECode : int32_t {
    KeySpace = 0x20,   // selects
    KeyLeft = 0x101,   // moves the focus left
    KeyRight = 0x102,  // moves the focus right
    KeyUp = 0x103,     // moves the focus up
    KeyDown = 0x104,   // moves the focus down
    KeyReturn = 0x109  // edits
  };

  CKeyEvent(boost::any const& source, int32_t code) : GT::CEvent(source), mCode(code) {}

  int32_t mCode;
};

}  // namespace UL
