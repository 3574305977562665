#pragma once

#include "Platform/Framework/FrameworkTypes.h"

#include <QKeySequence>
#include <QList>

class QKeyEvent;

class UKeyFilters {
public:
  static bool IsEscapeKey(EventRecord const& event);
  static bool IsReturnKey(EventRecord const& event);  // Return or Enter
  static bool IsQuitKey(EventRecord const& event);    // one of QuitKeys()
  // The desktop's keys for Quit; Ctrl+Q where the platform names none.
  static QList<QKeySequence> QuitKeys();
  // The framework's key record of a toolkit key event: the key code in bits
  // 8-15 and the character code in bits 0-7 of the message.
  static EventRecord KeyEventRecord(QKeyEvent const& event);
};
