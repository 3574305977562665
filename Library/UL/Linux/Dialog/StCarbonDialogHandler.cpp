#include "UL/Linux/Dialog/StCarbonDialogHandler.h"

#include "Platform/Framework/LCommander.h"
#include "Platform/Framework/LWindow.h"

StCarbonDialogHandler::StCarbonDialogHandler(ResIDT layoutId, LCommander* super)
    : StDialogHandler(layoutId, super) {
  InstallKeyHandler();
}

StCarbonDialogHandler::StCarbonDialogHandler(LWindow* window, LCommander* super)
    : StDialogHandler(window, super) {
  InstallKeyHandler();
}

StCarbonDialogHandler::~StCarbonDialogHandler() {
  if (GetDialog()) GetDialog()->SetRawKeyHandler(nullptr);
}

void StCarbonDialogHandler::InstallKeyHandler() {
  GetDialog()->Refresh();
  GetDialog()->SetRawKeyHandler([this](EventRecord const& event) { return HandleKeyDown(event); });
}

int32_t StCarbonDialogHandler::HandleKeyDown(EventRecord const& event) {
  // Commanders take a held key's repeats as presses of their own.
  EventRecord keyDown = event;
  keyDown.what = nEventKeyDown;
  if (!LCommander::GetTarget()) return err_NotHandled;
  return LCommander::ProcessKeyPress(keyDown) ? 0 : err_NotHandled;
}
