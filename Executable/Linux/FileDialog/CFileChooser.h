#pragma once

#include "Executable/Linux/FileDialog/CFileDialogBase.h"
#include "Platform/Framework/LFileDialog.h"
#include "Platform/Framework/LPeriodical.h"

#include <QPointer>

#include <string>
#include <vector>

class QAbstractButton;

namespace VQ7 {
class CController;
class CPlayer;
}  // namespace VQ7

// The import dialog: an open dialog whose custom area shows, for the file
// under selection, its format, bits per sample, sampling frequency, channel
// count and the size it will take on the card, beside the card's free
// space; its Play/Stop button previews the file.
class CFileChooser : public CFileDialogBase,
                     public UNavServicesDialogs::LFileChooser,
                     public LPeriodical {
public:
  enum EItem : short {
    nFirstLabel = 1,
    nLastLabel = 6,
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

  // Runs the dialog; true when a file was chosen (GetFilePath(1)).
  bool AskOpenFile(LFileTypeList const& types) override;
  void SpendTime(EventRecord const& event) override;

  std::string GetStaticText(short id) const override;
  void HandleUpdate(NavDialogRef context, DialogRef dialog, EventRecord* event) override;
  void HandleMouseDown(NavDialogRef context, DialogRef dialog, EventRecord* event) override;
  void HandleNavEvent(NavDialogRef context, DialogRef dialog, NavEventCallbackMessage selector,
                      NavCBRec* params) override;

  // Describes the selection when it is a single file that reads as a wave.
  void AttemptLoadFile(NavDialogRef context, std::vector<std::string> const& selection);
  void UpdatePlayButton();

private:
  void StopPreview();

  VQ7::CController& mController;
  VQ7::CPlayer& mPlayer;
  std::string mPath;  // the selection, when it reads as a wave
  bool mPlayable;     // the playback chain can play it (CPlayer::IsPlayable)
  QPointer<QAbstractButton> mPlayButton;
  std::string mTexts[6];  // format, bits, frequency, channels, convert size, free space
};
