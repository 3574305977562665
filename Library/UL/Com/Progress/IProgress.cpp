#include "UL/Com/Progress/IProgress.h"

namespace UL {

void IProgress::Start(long range, std::string const& text, bool cancelable) {
  SetCancelable(cancelable);
  SetRange(range);
  SetText(text);
  Start();
}

IProgress& IProgress::NullProgress() {
  // Function-level static: created once, safely, on first use.
  static IProgress sNull;
  return sNull;
}

}  // namespace UL
