#pragma once

#include "Executable/Com/PadMatrix/APad.h"

namespace VQ7 {

class CController;
class CPlayer;

// A press on a pad selects it and stops a running preview.
class CPadSelectionEventListener : public APad::ISelectionEventListener {
public:
  CPadSelectionEventListener(CController& controller, CPlayer& player);

  void Handle(APad& pad) override;

private:
  CController& mController;
  CPlayer& mPlayer;
};

}  // namespace VQ7
