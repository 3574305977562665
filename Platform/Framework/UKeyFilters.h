#pragma once

#include "Platform/Framework/FrameworkTypes.h"

class QKeyEvent;

class UKeyFilters {
public:
  static bool IsEscapeKey(EventRecord const& event);
  static bool IsReturnKey(EventRecord const& event);  // Return or Enter
  // The framework's key record of a toolkit key event: the key code in bits
  // 8-15 and the character code in bits 0-7 of the message.
  static EventRecord KeyEventRecord(QKeyEvent const& event);
};
