#include "UL/Linux/Progress/CProgressBar.h"

#include "Platform/Framework/LControl.h"
#include "Platform/Framework/LException.h"
#include "Platform/Framework/LWindow.h"

#include <algorithm>
#include <limits>

namespace UL {

namespace {

ResIDT const nProgressWindow = 10001;
PaneIDT const nBarPane = 1;
PaneIDT const nTextPane = 2;
PaneIDT const nCancelPane = 3;
MessageT const nCancelMessage = 901;

LPane* FindPane(LWindow* window, PaneIDT id) {
  return ThrowIfNil_(window->FindPaneByID(id), "progress window pane");
}

}  // namespace

CProgressBar::CDialog::CDialog(CProgressBar* progressBar)
    : StCarbonDialogHandler(nProgressWindow, LCommander::GetTopCommander()),
      mProgressBar(progressBar),
      mBar(nullptr) {}

void CProgressBar::CDialog::ListenToMessage(MessageT message, void* parameter) {
  mProgressBar->ListenToMessage(message, parameter);
  StCarbonDialogHandler::ListenToMessage(message, parameter);
}

CProgressBar::CProgressBar() = default;

CProgressBar::~CProgressBar() = default;

LWindow* CProgressBar::GetWindow() const { return mDialog ? mDialog->GetDialog() : nullptr; }

void CProgressBar::Start() {
  ++mNestCount;
  if (mNestCount == 1) OpenDialog();
}

void CProgressBar::Start(long range, std::string const& text, bool cancelable) {
  SetCancelable(cancelable);
  SetRange(range);
  SetText(text);
  Start();
}

void CProgressBar::Stop() {
  // An extra Stop must not leave a debt that keeps the next Start from
  // opening the window.
  if (mNestCount > 0) --mNestCount;
  if (mNestCount == 0) mDialog.reset();
}

void CProgressBar::OpenDialog() {
  mCanceled = false;
  if (!mDialog) {
    std::unique_ptr<CDialog> dialog(new CDialog(this));
    dialog->SetSleepTime(0);
    dialog->mBar = dynamic_cast<LControl*>(FindPane(dialog->GetDialog(), nBarPane));
    ThrowIfNil_(dialog->mBar, "progress bar pane");
    FindPane(dialog->GetDialog(), nTextPane);
    FindPane(dialog->GetDialog(), nCancelPane);
    mDialog = std::move(dialog);
  }
  SetCancelable(mCancelable);
  SetTitle(mTitle);
  SetText(mText);
  mShown = mDialog->mBar->GetValue();
  SetRange(mRange);
  SetPosition(mPosition);
  // The position may have handled events, and a timer or a notice among
  // them may have stopped us: the window is gone then.
  if (!mDialog) return;
  mDialog->GetDialog()->Show();
  mDialog->DoDialog();
  Draw(true);
}

void CProgressBar::Pump() {
  if (!mDialog) return;
  mDialog->DoDialog();
  Draw(false);
}

void CProgressBar::Draw(bool now) {
  // DoDialog may have run a Stop from an event handler.
  if (!mDialog) return;
  std::chrono::steady_clock::time_point const time = std::chrono::steady_clock::now();
  if (!now && time - mDrawn < std::chrono::milliseconds(1000) / nDrawsPerSecond) return;
  mDrawn = time;
  mDialog->mBar->SetValue(static_cast<int32_t>(mShown));
  mDialog->GetDialog()->UpdatePort();
}

void CProgressBar::SetRange(long range) {
  mRange = range;
  if (!mDialog) return;
  mDivisor = 1;
  if (range > 1000) {
    mDivisor = 10;
    while (mDivisor < 1000000 && range > 1000 * mDivisor) mDivisor *= 10;
  }
  mRedrawStep = mDivisor / 5 > 4 ? mDivisor / 5 : 5;
  long const maximum = std::clamp(range / mDivisor, 0L, long{std::numeric_limits<int32_t>::max()});
  mDialog->mBar->SetMinValue(0);
  mDialog->mBar->SetMaxValue(static_cast<int32_t>(maximum));
}

void CProgressBar::SetPosition(long position) {
  mPosition = position;
  if (!mDialog) return;
  LControl* bar = mDialog->mBar;
  // Compared as the bar will show it, so a position beyond the range does not
  // poll events on every call.
  long const shown =
      std::clamp(position / mDivisor, long{bar->GetMinValue()}, long{bar->GetMaxValue()});
  if (shown != mShown)
    mShown = shown;
  else if (position % mRedrawStep != 0)
    return;
  Pump();
}

void CProgressBar::SetTitle(std::string const& title) {
  mTitle = title;
  if (mDialog) mDialog->GetDialog()->SetDescriptor(title);
}

void CProgressBar::SetText(std::string const& text) {
  mText = text;
  if (mDialog) FindPane(mDialog->GetDialog(), nTextPane)->SetDescriptor(text);
}

void CProgressBar::SetCancelable(bool cancelable) {
  mCancelable = cancelable;
  if (!mDialog) return;
  LPane* cancel = FindPane(mDialog->GetDialog(), nCancelPane);
  if (cancelable)
    cancel->Show();
  else
    cancel->Hide();
}

void CProgressBar::ListenToMessage(MessageT message, void*) {
  if (message == nCancelMessage) mCanceled = true;
}

void CProgressBar::DoEvents() { Pump(); }

UReanimator::SRequiredWindow CProgressBar::RequiredWindow() {
  return {nProgressWindow,
          0,
          {{nBarPane, UReanimator::IsA<LControl>()},
           {nTextPane, UReanimator::IsA<LPane>()},
           {nCancelPane, UReanimator::IsA<LPane>()}}};
}

}  // namespace UL
