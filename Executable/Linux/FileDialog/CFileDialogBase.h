#pragma once

#include "Platform/Framework/FrameworkTypes.h"
#include "Platform/Framework/LFileDialog.h"

#include <string>

// What the import and export dialogs share: the custom area below the file
// browser, added from a dialog item list of the resource file when the dialog
// starts, the dispatch of the dialog's callbacks, the label texts, the value
// texts it draws itself, and byte counts with thousands grouping. Items are
// numbered from 1 as in the list.
class CFileDialogBase {
public:
  CFileDialogBase(short ditlId, short width, short height);
  virtual ~CFileDialogBase();

  // The text of item `id`: a label's or a value's; "" for any other.
  virtual std::string GetStaticText(short id) const = 0;
  virtual void InitMacStaticTexts(NavDialogRef context, DialogRef dialog, short first, short last);
  virtual void InitMacStaticText(NavDialogRef context, DialogRef dialog, short id,
                                 std::string const& text);
  virtual void UpdateStaticTexts(NavDialogRef context, DialogRef dialog, short first, short last);
  virtual void DrawStaticTexts(NavDialogRef context, DialogRef dialog, short first, short last);
  virtual void Draw1StaticText(NavDialogRef context, DialogRef dialog, short id,
                               std::string const& text, bool framed);
  virtual void HandleMacEvent(NavDialogRef context, DialogRef dialog, EventRecord* event);
  virtual void HandleUpdate(NavDialogRef context, DialogRef dialog, EventRecord* event);
  virtual void HandleMouseDown(NavDialogRef context, DialogRef dialog, EventRecord* event);
  virtual void HandleNavEvent(NavDialogRef context, DialogRef dialog,
                              NavEventCallbackMessage selector, NavCBRec* params);

  // The callback given to the dialog; the user data is the CFileDialogBase.
  static void NavEventProc(NavEventCallbackMessage selector, NavCBRec* params, void* userData);
  // Decimal digits with "," between groups of three: 1234567 -> "1,234,567".
  static std::string GetByteSizeStr(unsigned long long value);

  // The look of the labels and values.
  enum : ResIDT { nTextTraits = 130 };

protected:
  // The item list is in the dialog: from the start to the end of the dialog.
  bool IsStarted() const { return mDitlLoaded; }
  // A label's text from the item list, in the resource file's language.
  std::string GetLabelText(short id) const;

private:
  bool mDitlLoaded;
  short mDitlId;
  short mHeight;
  short mWidth;
};
