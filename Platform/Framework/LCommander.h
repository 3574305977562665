#pragma once

#include "Platform/Framework/FrameworkTypes.h"

#include <vector>

// A link of the command chain: commands and keys go to the target commander
// and up through its super commanders until one handles them.
class LCommander {
public:
  explicit LCommander(LCommander* super = nullptr);
  LCommander(LCommander const&) = delete;
  LCommander& operator=(LCommander const&) = delete;
  virtual ~LCommander();

  // True when handled; the default passes the command to the super commander.
  virtual bool ObeyCommand(CommandT command, void* parameter);
  // The default passes the key to the super commander.
  virtual bool HandleKeyPress(EventRecord const& event);
  // Whether the sub commander may go away (a window being closed).
  virtual bool AllowSubRemoval(LCommander* sub);

  // Runs the command from the target commander upwards.
  static bool ProcessCommand(CommandT command, void* parameter = nullptr);
  // Hands the key to the target commander; false when there is none or no
  // commander handled it.
  static bool ProcessKeyPress(EventRecord const& event);

  LCommander* GetSuperCommander() const { return mSuper; }
  void SetSuperCommander(LCommander* super);

  static LCommander* GetTarget() { return sTarget; }
  // The target commander receives commands and keys first.
  static void SwitchTarget(LCommander* target) { sTarget = target; }
  // The root of the chain (the application).
  static LCommander* GetTopCommander() { return sTopCommander; }

protected:
  static void SetTopCommander(LCommander* top) { sTopCommander = top; }

private:
  LCommander* mSuper;
  std::vector<LCommander*> mSubs;
  static LCommander* sTarget;
  static LCommander* sTopCommander;
};
