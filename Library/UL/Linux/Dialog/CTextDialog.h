#pragma once

#include "UL/Com/Dialog/ATextDialog.h"

namespace UL {

// A question shown as the toolkit's standard message box, application-modal.
// The first button is the default; Escape and the close box answer as the
// second button of a set that has one (OK alone: OK). The text is shown
// whole. An alert that cannot be shown (no widget application, or a call off
// the main thread) answers as its second button.
class CTextDialog : public ATextDialog {
public:
  using ATextDialog::Ask;
  EAnswer Ask(EType type, EIcon icon, std::string const& text) override;

  // The answer to a press of button `item` (1 to 3; 2 when the alert failed).
  static EAnswer AnswerOf(EType type, int item);
};

}  // namespace UL
