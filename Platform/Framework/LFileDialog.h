#pragma once

#include "Platform/Framework/FrameworkTypes.h"

#include <QRect>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class QFileDialog;
class QPainter;
class LFileDialog;
class LNavCustomArea;

// What a file dialog tells its callback.
typedef int32_t NavEventCallbackMessage;
enum : NavEventCallbackMessage {
  nNavEvent = 0,        // an update (paint the custom area) or a press in it
  nNavCustomize = 1,    // the custom area's size may be proposed
  nNavStart = 2,        // the dialog is about to show
  nNavTerminate = 3,    // the dialog has closed
  nNavAdjustRect = 4,   // the dialog was resized
  nNavSelectEntry = 7,  // the selection or the folder shown changed
};

typedef LFileDialog* NavDialogRef;  // the running dialog
typedef LNavCustomArea* DialogRef;  // its window, as far as the callbacks see it

struct NavCBRec {
  NavDialogRef context = nullptr;
  DialogRef window = nullptr;  // the custom area, whose items the callbacks use
  EventRecord event;           // nNavEvent: nEventUpdate, or nEventMouseDown at a global point
  QRect customRect;            // nNavCustomize: in points; a zero width or height asks the client
  std::vector<std::string> selection;  // the files under selection
  std::string location;                // the folder shown
};

typedef void (*NavEventProcPtr)(NavEventCallbackMessage selector, NavCBRec* params, void* userData);

// Name filters such as "*.wav"; empty offers every file.
typedef std::vector<std::string> LFileTypeList;

// The custom area under the file browser, with the items of a custom dialog
// item list of the resource file, numbered from 1. Item types: 0 a value the
// client draws itself on nNavEvent updates, 4 a push button, 7 a static label
// or a popup. A press on a button or a choice in a popup reaches the callback
// as a press at the item's centre.
//
// Sizes and frames are in points (1/72 inch), as the text sizes are, so the
// texts keep their room at any screen resolution.
class LNavCustomArea : public QWidget {
public:
  explicit LNavCustomArea(NavDialogRef dialog);

  NavDialogRef GetDialog() const { return mDialog; }
  void SetAreaSize(QSize const& points);
  // Throws 'nilP' when the resource file has no item list `ditlId`.
  void AddItems(ResIDT ditlId);
  // Pixels per point on this screen.
  double GetScale() const;

  int16_t CountItems() const { return static_cast<int16_t>(mItems.size()); }
  // -1 for an item that does not exist.
  int16_t GetItemType(int16_t item) const;
  // In pixels of the area.
  QRect GetItemRect(int16_t item) const;
  // The item under a point of the area, 0 when none.
  int16_t FindItem(QPoint const& where) const;
  // The control of a button, label or popup; null for values.
  QWidget* GetItemControl(int16_t item) const;
  void SetItemText(int16_t item, std::string const& text);
  std::string GetItemText(int16_t item) const;
  void SetItemValue(int16_t item, int32_t value);  // popups: 1-based
  int32_t GetItemValue(int16_t item) const;
  void EnableItem(int16_t item, bool enabled);
  // The font of text traits `traits`; justification -1 right, 0 left, 1 centre.
  void SetItemTextTraits(int16_t item, ResIDT traits, int justification);
  void InvalItem(int16_t item);

  // The painter while the area is being drawn, else null.
  QPainter* GetPainter() const { return mPainter; }

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  struct CItem {
    int16_t type;
    QRect frame;  // points
    QWidget* control;
  };
  void Pressed(QPoint const& where, uint16_t modifiers);
  CItem const* Item(int16_t item) const;
  QRect ToPixels(QRect const& points) const;

  NavDialogRef mDialog;
  std::vector<CItem> mItems;
  QSize mSize;  // points
  QPainter* mPainter = nullptr;
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
  // Adds the items of dialog item list `ditlId` to the custom area; throws
  // 'nilP' when the dialog is not running or there is no such list.
  void AddCustomItems(ResIDT ditlId);
  LNavCustomArea* GetCustomArea() const { return mArea; }

  uint32_t GetOptionFlags() const { return mOptionFlags; }
  void SetOptionFlags(uint32_t flags) { mOptionFlags = flags; }
  void SetDefaultLocation(std::string const& folder) { mDefaultLocation = folder; }

  // The files under selection: the row the user made current, or the files
  // the name field names; folders are left out. Several names where one
  // file is allowed stand as named, and Open then chooses nothing.
  std::vector<std::string> GetSelection() const;
  std::string GetLocation() const;
  // The name in the name field of a save dialog.
  std::string GetSaveFileName() const;
  void SetSaveFileName(std::string const& name);

  QFileDialog* GetDialog() const { return mDialog.get(); }
  // Calls the callback as the toolkit's dialog would.
  void Notify(NavEventCallbackMessage selector, NavCBRec& params);

protected:
  // Runs the dialog; true when the user confirmed. The files chosen are
  // then in mChosen.
  bool Run(bool save, LFileTypeList const& nameFilters);
  std::vector<std::string> mChosen;

private:
  // The selection `text` makes: the files it names in the folder shown when
  // all exist, or several names where one file is allowed (a selection that
  // describes nothing and opens nothing); false when it makes none.
  bool NamedFiles(QString const& text, std::vector<std::string>& files) const;
  void Select(std::vector<std::string> const& files, bool folderChanged);

  std::unique_ptr<QFileDialog> mDialog;
  LNavCustomArea* mArea = nullptr;
  NavEventProcPtr mProc = nullptr;
  void* mUserData = nullptr;
  uint32_t mOptionFlags = 0;
  std::string mDefaultLocation;
  std::string mProposedName;
  std::vector<std::string> mSelection;
};

namespace UNavServicesDialogs {

// The open dialog.
class LFileChooser : public LFileDialog {
public:
  virtual bool AskOpenFile(LFileTypeList const& types);
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

}  // namespace UNavServicesDialogs
