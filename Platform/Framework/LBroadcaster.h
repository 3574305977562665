#pragma once

#include "Platform/Framework/FrameworkTypes.h"

#include <memory>
#include <vector>

class LListener;

class LBroadcaster {
public:
  LBroadcaster() = default;
  LBroadcaster(LBroadcaster const&) = delete;
  LBroadcaster& operator=(LBroadcaster const&) = delete;
  virtual ~LBroadcaster();

  void AddListener(LListener* listener);
  void RemoveListener(LListener* listener);
  bool HasListener(LListener* listener) const;
  // To every listening listener, in the order they were added. A listener
  // removed while the message goes round is skipped.
  void BroadcastMessage(MessageT message, void* parameter = nullptr);

  bool IsBroadcasting() const { return mBroadcasting; }
  void StartBroadcasting() { mBroadcasting = true; }
  void StopBroadcasting() { mBroadcasting = false; }

private:
  friend class LListener;
  std::vector<LListener*> mListeners;
  bool mBroadcasting = true;
  // Cleared by the destructor, so a broadcast that destroys its own broadcaster stops.
  std::shared_ptr<bool> mAlive = std::make_shared<bool>(true);
};
