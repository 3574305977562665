#pragma once

#include "Platform/Framework/StDialogHandler.h"

// The modal dialog loop of the progress window and the About box. The
// application-modal state begins at the first DoDialog, not when the window
// is shown; keys pressed in the dialog go to the framework's target commander
// and never to other windows.
class StCarbonDialogHandler : public StDialogHandler {
public:
  StCarbonDialogHandler(ResIDT layoutId, LCommander* super);
  StCarbonDialogHandler(LWindow* window, LCommander* super);
  ~StCarbonDialogHandler() override;

  // The dialog's raw key handler: hands a key down or a key repeat on as a
  // key down; 0 when the target commander handled the key, err_NotHandled
  // otherwise (also with no target).
  virtual int32_t HandleKeyDown(EventRecord const& event);

private:
  void InstallKeyHandler();
};
