#pragma once

#include "Platform/Framework/FrameworkTypes.h"

#include <QPointer>
#include <QRect>
#include <QWidget>

#include <string>

class LStream;
class LView;
class LWindow;
class QPainter;

// A mouse press in a pane.
struct SMouseDownEvent {
  EventRecord macEvent;
  QPoint wherePort;   // in the coordinates of the window's content
  QPoint whereLocal;  // in the pane's own coordinates
};

// What happens to the button after a press in a pane.
enum : int16_t { nMouseTrackingReleased = 2, nMouseTrackingDragged = 5 };
struct SMouseTrackEvent {
  int16_t result;  // nMouseTrackingReleased or nMouseTrackingDragged
  QPoint wherePort;
  uint16_t modifiers;
};

// A rectangular part of a window, backed by a widget of the toolkit.
class LPane {
public:
  // A plain pane that draws itself (DrawSelf) and takes clicks (ClickSelf).
  explicit LPane(LStream* stream);
  LPane(LPane const&) = delete;
  LPane& operator=(LPane const&) = delete;
  virtual ~LPane();

  PaneIDT GetPaneID() const { return mPaneID; }
  void SetPaneID(PaneIDT id) { mPaneID = id; }

  // Called once the whole window is built, in building order.
  virtual void FinishCreateSelf() {}

  virtual void SetDescriptor(std::string const& text);
  virtual std::string GetDescriptor() const;

  virtual void Show();
  virtual void Hide();
  // The pane's own visibility, whether or not its window is shown.
  bool IsVisible() const;
  void Enable();
  void Disable();
  bool IsEnabled() const;

  // Redraw soon.
  void Refresh();
  void RefreshRect(QRect const& local);
  // Draws what is due in the pane's window now (what was refreshed), and
  // puts it on the screen.
  void UpdatePort();

  QRect GetFrame() const;  // in the super view
  void CalcLocalFrameRect(QRect& frame) const;
  void ResizeFrameTo(int width, int height);
  void PlaceInSuperFrameAt(int x, int y);

  QWidget* GetWidget() const { return mWidget.data(); }
  LView* GetSuperView() const { return mSuperView; }
  LWindow* GetContainerWindow() const;
  QPoint PortToLocal(QPoint const& port) const;
  QPoint LocalToPort(QPoint const& local) const;

  // The painter of the pane being drawn, valid during DrawSelf only.
  QPainter* GetPainter() const { return mPainter; }

  // The pane draws itself; the painter is GetPainter().
  virtual void DrawSelf() {}
  // A press in the pane; sClickCount says which click of a multiple click it is.
  virtual void ClickSelf(SMouseDownEvent const&) {}
  // Drags and the release that follow a press in the pane.
  virtual void MouseTrackSelf(SMouseTrackEvent const&) {}
  // The pointer moves over the pane with no button down.
  virtual void AdjustMouseSelf(QPoint const& portPoint, EventRecord const& event);

  // 1 for a single press, 2 or more for the presses of a multiple click.
  // Whoever acts on a multiple click may reset it to 0.
  static int16_t sClickCount;

protected:
  // For panes whose widget is a control of the toolkit.
  LPane(LStream* stream, QWidget* widget);

private:
  friend class LView;
  friend class CPaneWidget;
  void Init(LStream* stream);
  void PaintPane(QPainter& painter);

  PaneIDT mPaneID;
  QPointer<QWidget> mWidget;
  LView* mSuperView;
  QPainter* mPainter;
  bool mVisible;
};
