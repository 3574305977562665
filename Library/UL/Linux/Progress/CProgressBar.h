#pragma once

#include "Platform/Framework/LListener.h"
#include "Platform/Framework/UReanimator.h"
#include "UL/Com/Progress/IProgress.h"
#include "UL/Linux/Dialog/StCarbonDialogHandler.h"

#include <chrono>
#include <cstdint>
#include <memory>

class LControl;

namespace UL {

// The progress window (layout 10001: pane 1 the bar, pane 2 the text, pane 3
// the Cancel button sending 901). It opens at the outermost Start and closes
// at the matching Stop; it handles events only when the bar moves, at every
// step-th position, and on DoEvents, which is when Cancel can be pressed.
// Handling events with none pending costs next to nothing; drawing does not,
// so the bar is drawn at most nDrawsPerSecond times a second.
class CProgressBar : public IProgress, public LListener {
public:
  enum { nDrawsPerSecond = 30 };

  CProgressBar();
  ~CProgressBar() override;

  using IProgress::Start;
  void Start() override;
  void Start(long range, std::string const& text, bool cancelable) override;
  void Stop() override;
  void SetRange(long range) override;
  long GetRange() const override { return mRange; }
  void SetPosition(long position) override;
  long GetPosition() const override { return mPosition; }
  void SetTitle(std::string const& title) override;
  std::string GetTitle() const override { return mTitle; }
  void SetText(std::string const& text) override;
  std::string GetText() const override { return mText; }
  void SetCancelable(bool cancelable) override;
  bool IsCancelable() const override { return mCancelable; }
  bool IsCanceled() const override { return mCanceled; }

  void ListenToMessage(MessageT message, void* parameter) override;

  // With an open window: one event poll and a redraw when one is due.
  void DoEvents();
  bool IsOpen() const { return mDialog != nullptr; }
  // The open window, null when closed.
  LWindow* GetWindow() const;
  // The window's layout and the panes looked up in it.
  static UReanimator::SRequiredWindow RequiredWindow();

private:
  class CDialog : public StCarbonDialogHandler {
  public:
    explicit CDialog(CProgressBar* progressBar);
    void ListenToMessage(MessageT message, void* parameter) override;

    CProgressBar* mProgressBar;
    LControl* mBar;
  };

  void OpenDialog();
  void Pump();
  // Shows the bar's value and what else changed; unless `now`, only when
  // the last time lies a draw interval back.
  void Draw(bool now);

  int32_t mNestCount = 0;
  long mRange = 0;
  long mPosition = 0;
  long mDivisor = 1;
  long mRedrawStep = 10;
  std::string mTitle;
  std::string mText;
  bool mCancelable = false;
  bool mCanceled = false;
  std::unique_ptr<CDialog> mDialog;
  long mShown = 0;  // the bar's value, drawn or waiting to be
  std::chrono::steady_clock::time_point mDrawn;
};

}  // namespace UL
