#pragma once

#include "Executable/Com/Controller/ECode.h"
#include "GT/Com/Text/CTextCodeTable.h"

namespace VQ7 {

// The application's domain root: the message table and the one way a
// failure reaches the user.
class CDomain {
public:
  enum { nLanguageStringList = 1001 };

  static GT::CTextCodeTable sTextCodeTable;

  // Both pages of all fifteen codes, then the page of the user's language.
  static void InitializeTextCodeTable();
  // English when item 1 of the language string list is "English",
  // Japanese otherwise.
  static GT::CTextCodeTable::EPage GetPage();
  // The code's text on the current page, one line to the current logger.
  static void HandleError(ECode code);
};

}  // namespace VQ7
