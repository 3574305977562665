#pragma once

#include <mutex>

namespace CoreAudio {

// A process-wide lock of the wrappers' registries.
class CMutex {
public:
  void lock() { mMutex.lock(); }
  void unlock() { mMutex.unlock(); }

private:
  std::mutex mMutex;
};

}  // namespace CoreAudio
