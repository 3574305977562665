#pragma once

#include "Platform/Framework/FrameworkTypes.h"

#include <vector>

class LBroadcaster;

// Receives the messages of the broadcasters it listens to. Either side may
// be destroyed first; the link goes with it.
class LListener {
public:
  LListener() = default;
  LListener(LListener const&) = delete;
  LListener& operator=(LListener const&) = delete;
  virtual ~LListener();

  virtual void ListenToMessage(MessageT message, void* parameter) = 0;

  bool IsListening() const { return mListening; }
  void StartListening() { mListening = true; }
  void StopListening() { mListening = false; }

private:
  friend class LBroadcaster;
  std::vector<LBroadcaster*> mBroadcasters;
  bool mListening = true;
};
