#pragma once

#include "UL/Com/Dialog/ITextDialog.h"

namespace UL {

// Supplies the formatted question on top of the string form, which the
// concrete dialog implements.
class ATextDialog : public ITextDialog {
public:
  // Formats the text (of any length) and asks the string form once, with the
  // type and icon unchanged; returns its answer.
  EAnswer Ask(EType type, EIcon icon, char const* format, ...) override
      __attribute__((format(printf, 4, 5)));
  EAnswer Ask(EType type, EIcon icon, std::string const& text) override = 0;
};

}  // namespace UL
