#pragma once

#include "Platform/Framework/FrameworkTypes.h"

#include <QRect>
#include <QWidget>

#include <map>
#include <memory>
#include <string>
#include <vector>

class QFileDialog;
class QPainter;
class LFileDialog;

// What a file dialog tells its callback.
enum : int32_t {
  nNavEvent = 0,        // an update (paint the custom area) or a press in it
  nNavCustomize = 1,    // the custom area's size may be proposed
  nNavStart = 2,        // the dialog is about to show
  nNavTerminate = 3,    // the dialog has closed
  nNavAdjustRect = 4,   // the dialog was resized
  nNavSelectEntry = 7,  // the selection changed
};

struct NavCBRec {
  LFileDialog* context = nullptr;
  std::vector<std::string> selection;  // the files under selection
  std::string location;                // the folder shown
  EventRecord event;                   // nNavEvent: nEventUpdate or nEventMouseDown
  QPoint where;                        // nNavEvent press: in the custom area
  QPainter* painter = nullptr;         // nNavEvent update: paints the custom area
  QRect customRect;                    // nNavCustomize: width and height to use
};

typedef void (*NavEventProcPtr)(int32_t selector, NavCBRec* params, void* userData);

// The custom area under the file browser, built from a custom dialog item
// list of the resource file. Items are numbered from 1. Item types: 0 a value
// the client draws itself (on nNavEvent updates), 4 a push button, 7 a
// static label or a popup. A press on a button or a choice in a popup
// reaches the callback as a press at the item's centre.
class LNavCustomArea : public QWidget {
public:
  LNavCustomArea(LFileDialog* dialog, ResIDT ditlId);

  int16_t CountItems() const { return static_cast<int16_t>(mItems.size()); }
  // -1 for an item that does not exist.
  int16_t GetItemType(int16_t item) const;
  QRect GetItemRect(int16_t item) const;
  // The item under the point, 0 when none.
  int16_t FindItem(QPoint const& where) const;
  void SetItemText(int16_t item, std::string const& text);
  std::string GetItemText(int16_t item) const;
  void SetItemValue(int16_t item, int32_t value);  // popups: 1-based
  int32_t GetItemValue(int16_t item) const;
  void EnableItem(int16_t item, bool enabled);
  // Justification -1 right, 0 left, 1 centre; size in points.
  void SetItemTextStyle(int16_t item, int pointSize, bool bold, int justification);
  void InvalItem(int16_t item);

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

private:
  struct CItem {
    int16_t type;
    QRect frame;
    QWidget* control;  // null for values
  };
  void Pressed(QPoint const& where, uint16_t modifiers);
  CItem const* Item(int16_t item) const;

  LFileDialog* mDialog;
  std::vector<CItem> mItems;
};

// The file dialogs: the toolkit's own (non-native) file dialog, so the custom
// area and the callbacks work the same everywhere.
class LFileDialog {
public:
  // Option flags.
  enum : uint32_t { nAllowMultipleFiles = 0x80, nSelectDefaultLocation = 0x400 };

  LFileDialog();
  LFileDialog(LFileDialog const&) = delete;
  LFileDialog& operator=(LFileDialog const&) = delete;
  virtual ~LFileDialog();

  void SetEventProc(NavEventProcPtr proc, void* userData);
  // Builds the custom area from dialog item list `ditlId`; throws 'nilP'
  // when there is none. Called from the start callback.
  void AddCustomItems(ResIDT ditlId);
  LNavCustomArea* GetCustomArea() const { return mArea; }

  uint32_t GetOptionFlags() const { return mOptionFlags; }
  void SetOptionFlags(uint32_t flags) { mOptionFlags = flags; }
  void SetDefaultLocation(std::string const& folder) { mDefaultLocation = folder; }

  std::vector<std::string> GetSelection() const;
  std::string GetLocation() const;
  // The name typed in a save dialog.
  std::string GetSaveFileName() const;
  void SetSaveFileName(std::string const& name);

  QFileDialog* GetDialog() const { return mDialog.get(); }
  // Calls the callback as the toolkit's dialog would.
  void Notify(int32_t selector, NavCBRec& params);

protected:
  // Runs the dialog; true when the user confirmed. The files chosen are
  // then in mChosen.
  bool Run(bool save, std::vector<std::string> const& nameFilters);
  std::vector<std::string> mChosen;

private:
  std::unique_ptr<QFileDialog> mDialog;
  LNavCustomArea* mArea = nullptr;
  NavEventProcPtr mProc = nullptr;
  void* mUserData = nullptr;
  uint32_t mOptionFlags = 0;
  std::string mDefaultLocation;
  std::string mProposedName;
  std::vector<std::string> mLastSelection;
};

// The open dialog.
class LFileChooser : public LFileDialog {
public:
  // Name filters such as "*.wav"; empty offers every file.
  bool AskOpenFile(std::vector<std::string> const& filters);
  int CountFiles() const { return static_cast<int>(mChosen.size()); }
  // File `index` (1-based) of the confirmed choice; "" when absent.
  std::string GetFilePath(int index) const;
};

// The save dialog; it asks before replacing an existing file.
class LFileDesignator : public LFileDialog {
public:
  bool AskDesignateFile(std::string const& proposedName);
  std::string GetFilePath() const { return mChosen.empty() ? std::string() : mChosen[0]; }
};
