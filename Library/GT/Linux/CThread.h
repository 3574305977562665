#pragma once

#include "GT/Com/Thread/AThread.h"

#include <atomic>
#include <cstdint>
#include <mutex>

#include <pthread.h>
#include <sys/types.h>

namespace GT {

// A POSIX thread. The toolkit priority scale (31 normal, 64 and above the
// timeshare band) is kept and mapped onto the thread's nice value: the
// resulting importance i becomes nice -i, clamped to [-20, 19]. The
// scheduler may refuse a higher priority; the thread then runs at the one it
// has.
class CThread : public AThread {
public:
  CThread();
  explicit CThread(IRunnable& target);
  // Waits for a started thread to end, always (set the termination flag first).
  ~CThread() override;

  void SetPriority(int priority) override;
  bool IsAlive() const override;
  // Starts the body once; a second call on a started thread does nothing.
  void Start() override;
  bool IsCurrentThread() const override;

  // Real-time constraints, in the units of the steady clock (nanoseconds).
  // Applied as the FIFO policy where permitted, else as a raised nice value.
  void SetTimeConstraints(unsigned int period, unsigned int computation, unsigned int constraint,
                          bool preemptible);
  void SetTimeConstraintsInNanoseconds(std::uint64_t period, std::uint64_t computation,
                                       std::uint64_t constraint, bool preemptible);
  void SetTimeConstraintsInMs(unsigned int period, unsigned int computation,
                              unsigned int constraint, bool preemptible);

  // Applies an importance (and whether the thread is timeshare) to the kernel
  // thread `thread`, or to the calling thread when it is 0. Returns 0 or the
  // errno of the refusal. Linux has no fixed-priority band outside the
  // real-time policies, so a fixed thread stays in the ordinary policy.
  static int SetPThreadPriority(pid_t thread, int importance, int timeshare);
  // Reads them back (importance = -nice; timeshare = the thread is in an
  // ordinary, non-real-time policy). Either pointer may be null.
  static int GetPThreadPriority(pid_t thread, int* importance, int* timeshare);
  // The calling thread's priority on the toolkit scale: 31 - its nice value.
  static int GetBaseThreadPriority();

  // Kernel thread id of the running body, 0 while none runs.
  pid_t GetThreadId() const { return mThreadId.load(std::memory_order_acquire); }

private:
  static void* Callback(void* object);
  void Initialize();
  void ApplyPriority(int priority);
  void ApplyTimeConstraints();

  pthread_t mHandle{};
  bool mStarted = false;  // owner's thread only: a handle waits to be joined
  std::atomic<bool> mAlive{false};
  std::atomic<pid_t> mThreadId{0};
  std::atomic<bool> mTimeConstraintsSet{false};
  std::atomic<unsigned int> mPeriod{0};
  std::atomic<unsigned int> mComputation{0};
  std::atomic<unsigned int> mConstraint{0};
  std::atomic<bool> mPreemptible{false};
  int mBasePriority = 0;
  // Serialises applying a setting from the owner with the body's own first
  // application, so the last setting asked for is the one in force.
  std::mutex mApplyMutex;
};

}  // namespace GT
