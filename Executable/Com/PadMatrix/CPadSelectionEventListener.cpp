#include "Executable/Com/PadMatrix/CPadSelectionEventListener.h"

#include "Executable/Com/Controller/CController.h"
#include "Executable/Com/Playback/CPlayer.h"

namespace VQ7 {

CPadSelectionEventListener::CPadSelectionEventListener(CController& controller, CPlayer& player)
    : mController(controller), mPlayer(player) {}

void CPadSelectionEventListener::Handle(APad& pad) {
  mController.SelectCurrentPad(pad.mId);
  if (mPlayer.IsPlaying()) mPlayer.Stop();
}

}  // namespace VQ7
