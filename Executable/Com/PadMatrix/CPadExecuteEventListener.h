#pragma once

#include "Executable/Com/PadMatrix/APad.h"

namespace VQ7 {

class CController;
class CPlayer;

// A double press plays the pad's sample; an empty pad plays nothing.
class CPadExecuteEventListener : public APad::IExecuteEventListener {
public:
  CPadExecuteEventListener(CController& controller, CPlayer& player);

  void Handle(APad& pad) override;

private:
  CController& mController;
  CPlayer& mPlayer;
};

}  // namespace VQ7
