#pragma once

#include "Platform/Framework/LListener.h"

#include <memory>

class LCommander;
class LWindow;
class QEventLoop;

// Runs a modal dialog from inside the caller's code: owns the dialog window,
// listens to all its controls, and remembers the last message. The caller
// calls DoDialog() repeatedly and looks at the message.
class StDialogHandler : public LListener {
public:
  // Builds the window from layout `layoutId`; throws 'nilP' when it cannot.
  StDialogHandler(ResIDT layoutId, LCommander* super);
  // Takes an existing window.
  StDialogHandler(LWindow* window, LCommander* super);
  ~StDialogHandler() override;  // closes the window

  // Makes the window application-modal (once), handles events for the sleep
  // time (sooner when a message arrives; with 0 only what is pending), and
  // returns the current message.
  virtual MessageT DoDialog();

  LWindow* GetDialog() const { return mDialog.get(); }
  MessageT GetMessage() const { return mMessage; }
  void SetMessage(MessageT message) { mMessage = message; }
  // In ticks of 1/60 s; 6 at first.
  void SetSleepTime(uint32_t ticks) { mSleepTime = ticks; }
  uint32_t GetSleepTime() const { return mSleepTime; }

  void ListenToMessage(MessageT message, void* parameter) override;

private:
  void BeginModal();
  void EndModal();
  void PumpEvents(uint32_t ticks);
  void LinkControls();
  std::unique_ptr<LWindow> mDialog;
  MessageT mMessage = msg_Nothing;
  uint32_t mSleepTime = 6;
  bool mModal = false;
  QEventLoop* mLoop = nullptr;
};
