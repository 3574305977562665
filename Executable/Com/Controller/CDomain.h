#pragma once

#include "Executable/Com/Controller/ECode.h"
#include "GT/Com/Base/IProfile.h"
#include "GT/Com/Text/CTextCodeTable.h"
#include "UL/Com/IProgress.h"

#include <boost/shared_ptr.hpp>

namespace VQ7 {

class CController;
class CModel;

// The application's domain root: the current card model, the controller,
// the message table and the one way a failure reaches the user.
class CDomain {
public:
  enum { nLanguageStringList = 1001 };

  static GT::CTextCodeTable sTextCodeTable;

  CDomain();
  virtual ~CDomain();

  bool ClassInvariant() const;

  // Both pages of all fifteen codes, then the page of the user's language.
  static void InitializeTextCodeTable();
  // English when item 1 of the language string list is "English",
  // Japanese otherwise.
  static GT::CTextCodeTable::EPage GetPage();
  // The code's text on the current page, one line to the current logger.
  static void HandleError(ECode code);

  virtual boost::shared_ptr<UL::IProgress> CreateProgressUi();

  boost::shared_ptr<CModel> GetModel() const { return mModel; }
  void SetModel(boost::shared_ptr<CModel> model) { mModel = model; }
  CController& Controller() { return *mController; }

protected:
  boost::shared_ptr<CModel> mModel;
  boost::shared_ptr<CController> mController;
};

}  // namespace VQ7
