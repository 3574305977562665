#pragma once

#include "Executable/Linux/FileDialog/CFileDialogBase.h"

#include <string>

class QFileDialog;

namespace VQ7 {
class CController;
class CDomain;
}  // namespace VQ7

// The export dialog: a save dialog that proposes the name and format used
// last time, swaps the name's extension when the format popup changes, and
// shows the exported file's size and the free space where it goes.
class CFileDesignator : public CFileDialogBase {
public:
  enum EItem : short { nConvertSize = 4, nFreeSpace = 5, nFormatPopup = 6 };
  enum EType : long { nTypeAiff = 1, nTypeWave = 2 };

  static char const* const sExportFileNameKey;  // "ExportFileName"
  static char const* const sExportFileTypeKey;  // "ExportFileType"
  // The most bytes of a proposed name, as the stored form allows.
  static std::size_t const nMaxNameBytes = 255;

  explicit CFileDesignator(VQ7::CDomain* domain);

  // Runs the dialog; true when a file was confirmed (its name and format are
  // then remembered).
  virtual bool AskDesignateFile();
  std::string GetFilePath() const { return mChosen; }
  bool IsAiffChosen() const { return mAiffChosen; }

  std::string GetStaticText(short id) const override;

  // The format popup's choice: the name field takes the new extension.
  void ChooseFormat(bool aiff);
  void UpdateConvertSizeText();
  void UpdateDriveFreeSpaceText(std::string const& folder);

  // The name with the extension of the format: the last path element up to
  // its last "." (the whole element without one), then ".aif" or ".wav".
  static std::string SwapExtension(std::string const& name, bool aiff);
  // At most nMaxNameBytes bytes, never cut inside a UTF-8 character.
  static std::string CutName(std::string const& name);

private:
  VQ7::CDomain* mDomain;
  VQ7::CController& mController;
  bool mAiffChosen;
  std::string mChosen;
  QFileDialog* mDialog;
  std::string mConvertSizeText;
  std::string mFreeSpaceText;
};
