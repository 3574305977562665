#include "Platform/Framework/StDialogHandler.h"

#include "Platform/Framework/LControl.h"
#include "Platform/Framework/LException.h"
#include "Platform/Framework/LWindow.h"
#include "Platform/Framework/UModalState.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

StDialogHandler::StDialogHandler(ResIDT layoutId, LCommander* super)
    : mDialog(LWindow::CreateWindow(layoutId, super)), mLoop(std::make_shared<SLoop>()) {
  LinkControls();
}

StDialogHandler::StDialogHandler(LWindow* window, LCommander* super)
    : mDialog(window), mLoop(std::make_shared<SLoop>()) {
  ThrowIfNil_(window, "dialog window");
  window->SetSuperCommander(super);
  LinkControls();
}

StDialogHandler::~StDialogHandler() {
  EndModalState();
  mLoop->ended = true;
  if (mLoop->wait) mLoop->wait->quit();
  mDialog.reset();
}

void StDialogHandler::LinkControls() {
  mDialog->ForEachPane([this](LPane& pane) {
    if (LControl* control = dynamic_cast<LControl*>(&pane)) control->AddListener(this);
  });
}

void StDialogHandler::ListenToMessage(MessageT message, void*) {
  mLoop->message = message;
  if (mLoop->wait) mLoop->wait->quit();
}

void StDialogHandler::BeginModalState() {
  if (mIsModal) return;
  UModalState::Begin(mDialog->GetWindowWidget());
  mIsModal = true;
}

void StDialogHandler::EndModalState() {
  if (!mIsModal) return;
  UModalState::End(mDialog->GetWindowWidget());
  mIsModal = false;
}

MessageT StDialogHandler::DoDialog() {
  BeginModalState();
  // From here on only `loop` and `ticks`: any event handler may destroy this.
  std::shared_ptr<SLoop> const loop = mLoop;
  uint32_t const ticks = mSleepTime;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  if (ticks == 0 || loop->wait || loop->ended) return loop->message;
  // Waits in an event loop of its own rather than spinning; a message or the
  // handler's end ends the wait early.
  QEventLoop wait;
  loop->wait = &wait;
  QTimer::singleShot(static_cast<int>(ticks * 1000u / 60u), &wait, &QEventLoop::quit);
  wait.exec();
  loop->wait = nullptr;
  return loop->message;
}
