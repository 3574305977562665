#pragma once

#include <string>

namespace UL {

// A modal question: one alert with a set of buttons and an icon, answered by
// the button the user pressed. An alert that cannot be shown answers as if its
// second button had been pressed; nothing is thrown.
class ITextDialog {
public:
  // The button set; the first button is the default one.
  enum EType : int { Ok = 0, OkCancel = 1, YesNo = 2, YesCancelNo = 3 };
  enum EIcon : int { Note = 0, Caution = 1, Stop = 2 };
  enum EAnswer : int { AnswerOk = 0, AnswerCancel = 1, AnswerYes = 2, AnswerNo = 3 };

  virtual ~ITextDialog() = default;

  // The text is built printf-style from the format and the further arguments.
  virtual EAnswer Ask(EType type, EIcon icon, char const* format, ...) = 0;
  virtual EAnswer Ask(EType type, EIcon icon, std::string const& text) = 0;
};

}  // namespace UL
