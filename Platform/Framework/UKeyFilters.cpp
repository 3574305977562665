#include "Platform/Framework/UKeyFilters.h"

#include <QKeyEvent>

bool UKeyFilters::IsEscapeKey(EventRecord const& event) { return event.key == Qt::Key_Escape; }

bool UKeyFilters::IsReturnKey(EventRecord const& event) {
  return event.key == Qt::Key_Return || event.key == Qt::Key_Enter;
}

bool UKeyFilters::IsQuitKey(EventRecord const& event) {
  Qt::KeyboardModifiers modifiers;
  if (event.modifiers & nModifierCommand) modifiers |= Qt::ControlModifier;
  if (event.modifiers & nModifierShift) modifiers |= Qt::ShiftModifier;
  if (event.modifiers & nModifierOption) modifiers |= Qt::AltModifier;
  if (event.modifiers & nModifierControl) modifiers |= Qt::MetaModifier;
  return QuitKeys().contains(QKeySequence(QKeyCombination(modifiers, Qt::Key(event.key))));
}

QList<QKeySequence> UKeyFilters::QuitKeys() {
  QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Quit);
  if (keys.isEmpty()) keys.append(QKeySequence(Qt::CTRL | Qt::Key_Q));
  return keys;
}

EventRecord UKeyFilters::KeyEventRecord(QKeyEvent const& event) {
  EventRecord record;
  record.what = event.isAutoRepeat() ? nEventAutoKey : nEventKeyDown;
  record.key = event.key();
  record.text = event.text();
  record.modifiers = ModifiersOf(event.modifiers());
  uint32_t const code = event.nativeScanCode() & 0xFFu;
  QByteArray const latin = event.text().toLatin1();
  uint32_t const character = latin.isEmpty() ? 0u : static_cast<uint8_t>(latin[0]);
  record.message = (code << 8) | character;
  return record;
}
