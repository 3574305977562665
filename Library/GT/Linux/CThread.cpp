#include "GT/Linux/CThread.h"

#include "GT/Com/Base/DebugTrace.h"

#include <algorithm>
#include <cerrno>
#include <limits>

#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

namespace GT {

namespace {

int const kNormalPriority = 31;
int const kTimeshareBand = 64;

pid_t Resolve(pid_t thread) { return thread != 0 ? thread : gettid(); }

}  // namespace

CThread::CThread() : AThread() { Initialize(); }

CThread::CThread(IRunnable& target) : AThread(target) { Initialize(); }

void CThread::Initialize() {
  mPriority.store(kNormalPriority);
  mBasePriority = GetBaseThreadPriority();
  TRACE("pthread base priority: %d \n", mBasePriority);
}

CThread::~CThread() {
  // The body never touches mHandle, so a started thread is always joined here,
  // whether it still runs or has already ended.
  if (mStarted) {
    pthread_join(mHandle, nullptr);
    mStarted = false;
  }
}

void CThread::SetPriority(int priority) {
  std::lock_guard<std::mutex> lock(mApplyMutex);
  AThread::SetPriority(priority);
  mTimeConstraintsSet.store(false);
  if (mThreadId.load() != 0) {
    ApplyPriority(priority);
  }
}

bool CThread::IsAlive() const { return mAlive.load(std::memory_order_acquire); }

void CThread::Start() {
  if (mStarted) {
    return;
  }
  mAlive.store(true, std::memory_order_release);
  int const result = pthread_create(&mHandle, nullptr, &CThread::Callback, this);
  if (result != 0) {
    TRACE("pthread_create() failed: %d \n", result);
    // The thread stays idle; the owner sees IsAlive() false.
    mAlive.store(false, std::memory_order_release);
    return;
  }
  mStarted = true;
}

bool CThread::IsCurrentThread() const { return IsAlive() && GetThreadId() == gettid(); }

void CThread::SetTimeConstraints(unsigned int period, unsigned int computation,
                                 unsigned int constraint, bool preemptible) {
  std::lock_guard<std::mutex> lock(mApplyMutex);
  mPeriod.store(period);
  mComputation.store(computation);
  mConstraint.store(constraint);
  mPreemptible.store(preemptible);
  mTimeConstraintsSet.store(true);
  if (mThreadId.load() != 0) {
    ApplyTimeConstraints();
  }
}

void CThread::SetTimeConstraintsInNanoseconds(std::uint64_t period, std::uint64_t computation,
                                              std::uint64_t constraint, bool preemptible) {
  // The steady clock counts nanoseconds, so no unit change; values that do not
  // fit a word saturate instead of wrapping to something short.
  auto fit = [](std::uint64_t v) {
    return static_cast<unsigned int>(
        std::min<std::uint64_t>(v, std::numeric_limits<unsigned int>::max()));
  };
  SetTimeConstraints(fit(period), fit(computation), fit(constraint), preemptible);
}

void CThread::SetTimeConstraintsInMs(unsigned int period, unsigned int computation,
                                     unsigned int constraint, bool preemptible) {
  std::uint64_t const ns = 1000000u;
  SetTimeConstraintsInNanoseconds(period * ns, computation * ns, constraint * ns, preemptible);
}

int CThread::SetPThreadPriority(pid_t thread, int importance, int timeshare) {
  (void)timeshare;  // both bands are the ordinary policy here
  int const nice = std::max(-20, std::min(19, -importance));
  if (setpriority(PRIO_PROCESS, static_cast<id_t>(Resolve(thread)), nice) != 0) {
    int const result = errno;
    TRACE("setpriority() failed: result=%d, nice=%d \n", result, nice);
    return result;
  }
  return 0;
}

int CThread::GetPThreadPriority(pid_t thread, int* importance, int* timeshare) {
  pid_t const tid = Resolve(thread);
  if (timeshare != nullptr) {
    int const policy = sched_getscheduler(tid);
    if (policy < 0) {
      return errno;
    }
    *timeshare = (policy != SCHED_FIFO && policy != SCHED_RR) ? 1 : 0;
  }
  if (importance != nullptr) {
    errno = 0;
    int const nice = getpriority(PRIO_PROCESS, static_cast<id_t>(tid));
    if (nice == -1 && errno != 0) {
      return errno;
    }
    *importance = -nice;
  }
  return 0;
}

int CThread::GetBaseThreadPriority() {
  errno = 0;
  int const nice = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
  if (nice == -1 && errno != 0) {
    return 0;
  }
  return kNormalPriority - nice;
}

void CThread::ApplyPriority(int priority) {
  int importance;
  int timeshare;
  if (priority < kTimeshareBand) {
    timeshare = 0;
    importance = priority - mBasePriority;
  } else {
    timeshare = 1;
    importance = priority - (kTimeshareBand - 1) - mBasePriority;
  }
  // A refusal (no right to raise the priority) leaves the thread as it is.
  SetPThreadPriority(mThreadId.load(), importance, timeshare);
}

void CThread::ApplyTimeConstraints() {
  pid_t const tid = mThreadId.load();
  sched_param param{};
  param.sched_priority = sched_get_priority_min(SCHED_FIFO);
  if (sched_setscheduler(tid, SCHED_FIFO, &param) != 0) {
    TRACE("sched_setscheduler() failed: result=%d, policy=SCHED_FIFO \n", errno);
    SetPThreadPriority(tid, 10, 1);
  }
}

void* CThread::Callback(void* object) {
  CThread* const self = static_cast<CThread*>(object);
  {
    std::lock_guard<std::mutex> lock(self->mApplyMutex);
    self->mThreadId.store(gettid(), std::memory_order_release);
  }
  // A setting that cannot be applied must not keep the target from running.
  try {
    if (self->mTimeConstraintsSet.load()) {
      self->SetTimeConstraints(self->mPeriod.load(), self->mComputation.load(),
                               self->mConstraint.load(), self->mPreemptible.load());
    } else {
      self->SetPriority(self->GetPriority());
    }
  } catch (...) {
  }
  try {
    self->Run();
  } catch (...) {
  }
  {
    std::lock_guard<std::mutex> lock(self->mApplyMutex);
    self->mThreadId.store(0, std::memory_order_release);
  }
  self->mAlive.store(false, std::memory_order_release);
  return nullptr;
}

}  // namespace GT
