#pragma once

#include "Platform/Framework/LCommander.h"
#include "Platform/Framework/LView.h"

#include <QMainWindow>

#include <functional>
#include <vector>

class CWindowWidget;
class QMenuBar;

// A top-level window: a view (its content) and a commander. Built from a
// window layout of the resource file by UReanimator.
class LWindow : public LView, public LCommander {
public:
  explicit LWindow(LStream* stream);
  ~LWindow() override;

  // Builds window layout `id` with its panes under the super commander;
  // throws 'nilP' when the layout or a pane class is missing.
  static LWindow* CreateWindow(ResIDT id, LCommander* super);
  // The windows that exist, oldest first.
  static std::vector<LWindow*> const& GetWindows();
  static bool Exists(LWindow const* window);

  void Show() override;
  void Hide() override;
  void Select();  // bring to the front and make it the target
  void SetDescriptor(std::string const& text) override;
  std::string GetDescriptor() const override;

  // Marks a rectangle of the content for redrawing.
  void InvalPortRect(QRect const& rect);
  void MoveWindowTo(int left, int top);
  // The content area in global coordinates.
  QRect GetGlobalBounds() const;

  // The close box: asks the super commander, then DoClose.
  virtual void AttemptClose();
  // Closes and deletes the window once the event loop is reached.
  virtual void DoClose();

  QMainWindow* GetWindowWidget() const;
  // The window's menu bar, made on first use.
  QMenuBar* GetMenuBar();

  // Sees every key of the window first; a result other than err_NotHandled
  // means it was handled.
  void SetRawKeyHandler(std::function<int32_t(EventRecord const&)> handler);

private:
  friend class CWindowWidget;
  void CloseRequested();
  void KeyPressed(EventRecord const& event, bool& handled);

  CWindowWidget* mWindow;
  std::function<int32_t(EventRecord const&)> mRawKeyHandler;
};

// A window with a default and a cancel button (resource keys "default" and
// "cancel"): Return clicks the default button, Escape and the close box click
// the cancel button while it is shown and enabled, and are ignored otherwise.
class LDialogBox : public LWindow {
public:
  explicit LDialogBox(LStream* stream);

  bool HandleKeyPress(EventRecord const& event) override;
  void AttemptClose() override;

  void SetDefaultButton(PaneIDT id) { mDefaultButton = id; }
  void SetCancelButton(PaneIDT id) { mCancelButton = id; }

private:
  bool ClickIfUsable(PaneIDT id);
  PaneIDT mDefaultButton;
  PaneIDT mCancelButton;
};
