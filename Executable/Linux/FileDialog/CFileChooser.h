#pragma once

#include "Executable/Linux/FileDialog/CFileDialogBase.h"
#include "Platform/Framework/LPeriodical.h"

#include <string>

class QPushButton;

namespace VQ7 {
class CController;
class CPlayer;
}  // namespace VQ7

// The import dialog: an open dialog whose custom area shows, for the file
// under selection, its format, bits per sample, sampling frequency, channel
// count and the size it will take on the card, beside the card's free
// space; its Play/Stop button previews the file.
class CFileChooser : public CFileDialogBase, public LPeriodical {
public:
  enum EItem : short {
    nFormat = 7,
    nBits = 8,
    nFrequency = 9,
    nChannels = 10,
    nConvertSize = 11,
    nFreeSpace = 12,
    nPlayButton = 13
  };

  // Throws when the card's free space cannot be learned: the dialog is not
  // shown then.
  CFileChooser(VQ7::CController& controller, VQ7::CPlayer& player, long volumeRefNum);
  ~CFileChooser() override;

  // Runs the dialog; true when a file was chosen.
  virtual bool AskOpenFile();
  std::string GetFilePath() const { return mChosen; }

  std::string GetStaticText(short id) const override;
  void SpendTime(EventRecord const& event) override;

  // The dialog's callbacks, also reached by tests.
  void AttemptLoadFile(std::string const& path);
  void ClickPlayButton();
  void UpdatePlayButton();

private:
  VQ7::CController& mController;
  VQ7::CPlayer& mPlayer;
  std::string mPath;    // the selection, when it reads as a wave
  bool mPlayable;       // the playback chain can play it (16-bit integer)
  std::string mChosen;  // the confirmed file
  QPushButton* mPlayButton;
  std::string mTexts[6];  // format, bits, frequency, channels, convert size, free space
};
