#include "Platform/Framework/UKeyFilters.h"

#include <QKeyEvent>

bool UKeyFilters::IsEscapeKey(EventRecord const& event) { return event.key == Qt::Key_Escape; }

bool UKeyFilters::IsReturnKey(EventRecord const& event) {
  return event.key == Qt::Key_Return || event.key == Qt::Key_Enter;
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
