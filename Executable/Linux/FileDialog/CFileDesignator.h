#pragma once

#include "Executable/Linux/FileDialog/CFileDialogBase.h"
#include "Platform/Framework/LFileDialog.h"

#include <string>

namespace VQ7 {
class CController;
class CDomain;
}  // namespace VQ7

// The export dialog: a save dialog that proposes the name and format used
// last time, swaps the name's extension when the format popup changes, and
// shows the exported file's size and the free space where it goes.
class CFileDesignator : public CFileDialogBase, public UNavServicesDialogs::LFileDesignator {
public:
  enum EItem : short {
    nFirstLabel = 1,
    nLastLabel = 3,
    nConvertSize = 4,
    nFreeSpace = 5,
    nFormatPopup = 6
  };
  enum EType : long { nTypeAiff = 1, nTypeWave = 2 };
  enum EChoice : int32_t { nChoiceAiff = 1, nChoiceWave = 2 };

  static char const* const sExportFileNameKey;  // "ExportFileName"
  static char const* const sExportFileTypeKey;  // "ExportFileType"
  // The most bytes of a proposed name, as the stored form allows.
  static std::size_t const nMaxNameBytes = 255;

  explicit CFileDesignator(VQ7::CDomain* domain);

  // Runs the dialog; true when a file was confirmed (its name and format are
  // then remembered).
  virtual bool AskDesignateFile();
  bool IsAiffChosen() const { return mAiffChosen; }

  std::string GetStaticText(short id) const override;
  void HandleUpdate(NavDialogRef context, DialogRef dialog, EventRecord* event) override;
  void HandleMouseDown(NavDialogRef context, DialogRef dialog, EventRecord* event) override;
  void HandleNavEvent(NavDialogRef context, DialogRef dialog, NavEventCallbackMessage selector,
                      NavCBRec* params) override;

  void UpdateFormatPopup(NavDialogRef context, DialogRef dialog);
  void UpdateConvertSizeText(NavDialogRef context, DialogRef dialog, bool redraw);
  void UpdateDriveFreeSpaceText(NavDialogRef context, DialogRef dialog, bool redraw);

  // The name with the extension of the format: the last path element up to
  // its last "." (the whole element without one), then ".aif" or ".wav".
  static std::string SwapExtension(std::string const& name, bool aiff);
  // At most nMaxNameBytes bytes, never cut inside a UTF-8 character; the
  // extension (from the last ".") stays whole when it leaves room.
  static std::string CutName(std::string const& name);

private:
  bool mAiffChosen;
  VQ7::CDomain* mDomain;
  VQ7::CController& mController;
  std::string mConvertSizeText;
  std::string mFreeSpaceText;
};
