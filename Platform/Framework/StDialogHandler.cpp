#include "Platform/Framework/StDialogHandler.h"

#include "Platform/Framework/LControl.h"
#include "Platform/Framework/LException.h"
#include "Platform/Framework/LWindow.h"
#include "Platform/Framework/UModalState.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

StDialogHandler::StDialogHandler(ResIDT layoutId, LCommander* super)
    : mDialog(LWindow::CreateWindow(layoutId, super)) {
  LinkControls();
}

StDialogHandler::StDialogHandler(LWindow* window, LCommander* super) : mDialog(window) {
  ThrowIfNil_(window, "dialog window");
  window->SetSuperCommander(super);
  LinkControls();
}

StDialogHandler::~StDialogHandler() {
  EndModal();
  if (mLoop) mLoop->quit();
  mDialog.reset();
}

void StDialogHandler::LinkControls() {
  mDialog->ForEachPane([this](LPane& pane) {
    if (LControl* control = dynamic_cast<LControl*>(&pane)) control->AddListener(this);
  });
}

void StDialogHandler::ListenToMessage(MessageT message, void*) {
  mMessage = message;
  if (mLoop) mLoop->quit();
}

void StDialogHandler::BeginModal() {
  if (mModal) return;
  UModalState::Begin(mDialog->GetWindowWidget());
  mModal = true;
}

void StDialogHandler::EndModal() {
  if (!mModal) return;
  UModalState::End(mDialog->GetWindowWidget());
  mModal = false;
}

void StDialogHandler::PumpEvents(uint32_t ticks) {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  if (ticks == 0 || mLoop) return;
  // Waits in an event loop of its own rather than spinning; a message ends
  // the wait early.
  QEventLoop loop;
  mLoop = &loop;
  QTimer::singleShot(static_cast<int>(ticks * 1000u / 60u), &loop, &QEventLoop::quit);
  loop.exec();
  mLoop = nullptr;
}

MessageT StDialogHandler::DoDialog() {
  BeginModal();
  PumpEvents(mSleepTime);
  return mMessage;
}
