#include "UL/Com/Dialog/ATextDialog.h"

#include "GT/Com/Text/StringTools.h"

#include <cstdarg>

namespace UL {

ITextDialog::EAnswer ATextDialog::Ask(EType type, EIcon icon, char const* format, ...) {
  va_list args;
  va_start(args, format);
  std::string const text = GT::FormatStringV(format, args);
  va_end(args);
  return Ask(type, icon, text);
}

}  // namespace UL
