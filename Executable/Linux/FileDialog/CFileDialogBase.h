#pragma once

#include "Platform/Framework/FrameworkTypes.h"

#include <QPointer>

#include <map>
#include <string>

class QFileDialog;
class QWidget;

// What the import and export dialogs share: a custom area below the file
// browser built from a dialog-item list of the resource file, its label
// texts, the value texts it draws, and byte counts with thousands grouping.
// The area exists from the dialog's start to its end; items are numbered
// from 1 as in the list.
class CFileDialogBase {
public:
  CFileDialogBase(ResIDT ditlId, int width, int height);
  virtual ~CFileDialogBase();

  // The text of a value item; labels keep the texts of the resource file.
  virtual std::string GetStaticText(short id) const = 0;

  // Decimal digits with "," between groups of three: 1234567 -> "1,234,567".
  static std::string GetByteSizeStr(unsigned long long value);

protected:
  // Adds the custom area to the dialog (its start); throws 'nilP' when the
  // item list is missing.
  void StartCustomArea(QFileDialog& dialog);
  // Forgets the area (its end).
  void EndCustomArea();
  bool IsStarted() const { return mArea != nullptr; }

  void UpdateStaticTexts(short first, short last);
  // Item `id` of the area; throws 'nilP' when there is none.
  QWidget* Item(short id) const;

private:
  ResIDT mDitlId;
  int mWidth;
  int mHeight;
  QPointer<QWidget> mArea;
  std::map<short, QPointer<QWidget> > mItems;
};
