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
  // returns the current message. An event handler may destroy the handler
  // meanwhile; the message it had then is returned.
  virtual MessageT DoDialog();

  // Begin or end the application-modal state for the window; a second call
  // in a row has no further effect. DoDialog begins it, the destructor ends it.
  void BeginModalState();
  void EndModalState();

  LWindow* GetDialog() const { return mDialog.get(); }
  MessageT GetMessage() const { return mLoop->message; }
  void SetMessage(MessageT message) { mLoop->message = message; }
  // In ticks of 1/60 s; 6 at first.
  void SetSleepTime(uint32_t ticks) { mSleepTime = ticks; }
  uint32_t GetSleepTime() const { return mSleepTime; }

  void ListenToMessage(MessageT message, void* parameter) override;

private:
  // What a running DoDialog still uses after the pump may have destroyed
  // the handler: it holds its own reference.
  struct SLoop {
    MessageT message = msg_Nothing;
    QEventLoop* wait = nullptr;  // the sleep of a running DoDialog
    bool ended = false;          // the handler has been destroyed
  };

  void LinkControls();
  std::unique_ptr<LWindow> mDialog;
  std::shared_ptr<SLoop> mLoop;
  uint32_t mSleepTime = 6;
  bool mIsModal = false;
};
