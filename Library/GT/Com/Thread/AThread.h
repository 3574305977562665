#pragma once

#include "GT/Com/Thread/IRunnable.h"

#include <atomic>

namespace GT {

// A thread that runs a runnable, with a toolkit priority and a termination
// flag its runnable polls. The flag only ever goes from false to true.
class AThread : public IRunnable {
public:
  AThread();
  explicit AThread(IRunnable& target);
  ~AThread() override;

  AThread(AThread const&) = delete;
  AThread& operator=(AThread const&) = delete;

  // Runs the target, or nothing when there is none.
  void Run() override;
  virtual void SetPriority(int priority);
  virtual bool IsAlive() const = 0;
  virtual void Start() = 0;
  virtual bool IsCurrentThread() const = 0;
  virtual void SetTerminationFlag();
  virtual bool GetTerminationFlag();

  int GetPriority() const { return mPriority.load(std::memory_order_relaxed); }

protected:
  // Read by the new thread while its owner may change it: atomic.
  std::atomic<int> mPriority;

private:
  IRunnable* mTarget;
  std::atomic<bool> mTerminationFlag;
};

}  // namespace GT
