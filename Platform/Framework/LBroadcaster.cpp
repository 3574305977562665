#include "Platform/Framework/LBroadcaster.h"

#include "Platform/Framework/LListener.h"

#include <algorithm>

namespace {

template <typename T>
void Erase(std::vector<T*>& list, T* item) {
  list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

}  // namespace

LListener::~LListener() {
  for (LBroadcaster* broadcaster : mBroadcasters) Erase(broadcaster->mListeners, this);
}

LBroadcaster::~LBroadcaster() {
  *mAlive = false;
  for (LListener* listener : mListeners) Erase(listener->mBroadcasters, this);
}

void LBroadcaster::AddListener(LListener* listener) {
  if (!listener || HasListener(listener)) return;
  mListeners.push_back(listener);
  listener->mBroadcasters.push_back(this);
}

void LBroadcaster::RemoveListener(LListener* listener) {
  if (!listener) return;
  Erase(mListeners, listener);
  Erase(listener->mBroadcasters, this);
}

bool LBroadcaster::HasListener(LListener* listener) const {
  return std::find(mListeners.begin(), mListeners.end(), listener) != mListeners.end();
}

void LBroadcaster::BroadcastMessage(MessageT message, void* parameter) {
  if (!mBroadcasting) return;
  // A listener may close the window that holds this broadcaster, or remove
  // others; work on a copy and check each one is still linked.
  std::vector<LListener*> const listeners = mListeners;
  std::shared_ptr<bool> const alive = mAlive;
  for (LListener* listener : listeners) {
    if (!*alive) return;
    if (!HasListener(listener)) continue;
    if (listener->IsListening()) listener->ListenToMessage(message, parameter);
  }
}
