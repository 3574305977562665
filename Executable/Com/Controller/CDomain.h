#pragma once

#include "Executable/Com/Controller/ECode.h"
#include "GT/Com/Base/IProfile.h"
#include "GT/Com/Text/CTextCodeTable.h"
#include "SL/Com/Audio/IAudioDeviceFacade.h"
#include "UL/Com/Bitmap/IStateBitmapFactory.h"
#include "UL/Com/Dialog/ITextDialog.h"
#include "UL/Com/Progress/IProgress.h"

#include <boost/shared_ptr.hpp>

namespace VQ7 {

class CController;
class CModel;
class CPlayer;

// The root of the application's logic: the current card model, the
// controller, the preview player, the message table and the preferences.
// Main thread only.
class CDomain {
public:
  enum { nLanguageStringList = 1001 };

  static char const* const sProfilePathPreferenceVolumeName;
  static char const* const sProfilePathPreferenceBankId;
  static char const* const sProfilePathPreferenceLoadsBufferTime;
  static char const* const sProfilePathPreferenceRingBufferTime;
  static char const* const sProfilePathPreferenceDeviceBufferTime;

  static GT::CTextCodeTable sTextCodeTable;

  // The player on the platform's audio devices, or on the given ones.
  CDomain();
  explicit CDomain(boost::shared_ptr<SL::IAudioDeviceFacade> facade);
  virtual ~CDomain();

  bool ClassInvariant() const;

  // Messages, model, controller, then the preferences.
  void Initialize(UL::IStateBitmapFactory& bitmaps);
  // Stops playback and saves the preferences; safe after a start-up that
  // failed part way, and more than once.
  void Finalize();
  // From now on each line logged on this thread is shown in an alert; lines
  // from other threads go to standard error.
  void SetupLogger();

  // Both pages of all fifteen codes, then the page of the user's language.
  static void InitializeTextCodeTable();
  // English when item 1 of the language string list is "English",
  // Japanese otherwise.
  static GT::CTextCodeTable::EPage GetPage();
  // The code's text on the current page, one line to the current logger.
  static void HandleError(ECode code);

  virtual boost::shared_ptr<UL::ITextDialog> CreateTextDialog();
  virtual boost::shared_ptr<UL::IProgress> CreateProgressUi();
  virtual boost::shared_ptr<GT::IProfile> CreateProfile();

  boost::shared_ptr<CModel> GetModel() const { return mModel; }
  void SetModel(boost::shared_ptr<CModel> model) { mModel = model; }
  CController& Controller() { return *mController; }
  CPlayer& Player() { return *mPlayer; }

private:
  class CPrinter;

  boost::shared_ptr<CModel> mModel;
  boost::shared_ptr<CController> mController;
  boost::shared_ptr<CPlayer> mPlayer;
  boost::shared_ptr<CPrinter> mPrinter;
};

}  // namespace VQ7
