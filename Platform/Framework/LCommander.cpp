#include "Platform/Framework/LCommander.h"

#include <algorithm>

LCommander* LCommander::sTarget = nullptr;
LCommander* LCommander::sTopCommander = nullptr;

LCommander::LCommander(LCommander* super) : mSuper(nullptr) { SetSuperCommander(super); }

LCommander::~LCommander() {
  // Subs outlive their super only by mistake; they then end the chain.
  for (LCommander* sub : mSubs) sub->mSuper = nullptr;
  SetSuperCommander(nullptr);
  if (sTarget == this) sTarget = nullptr;
  if (sTopCommander == this) sTopCommander = nullptr;
}

void LCommander::SetSuperCommander(LCommander* super) {
  if (mSuper)
    mSuper->mSubs.erase(std::remove(mSuper->mSubs.begin(), mSuper->mSubs.end(), this),
                        mSuper->mSubs.end());
  mSuper = super;
  if (mSuper) mSuper->mSubs.push_back(this);
}

bool LCommander::ObeyCommand(CommandT command, void* parameter) {
  return mSuper ? mSuper->ObeyCommand(command, parameter) : false;
}

bool LCommander::HandleKeyPress(EventRecord const& event) {
  return mSuper ? mSuper->HandleKeyPress(event) : false;
}

bool LCommander::AllowSubRemoval(LCommander*) { return true; }

bool LCommander::ProcessCommand(CommandT command, void* parameter) {
  LCommander* start = sTarget ? sTarget : sTopCommander;
  return start ? start->ObeyCommand(command, parameter) : false;
}

bool LCommander::ProcessKeyPress(EventRecord const& event) {
  return sTarget ? sTarget->HandleKeyPress(event) : false;
}
