#include "GT/Linux/CThread.h"

#include "GT/Com/Thread/CThreadFactory.h"
#include "GT/Com/Thread/Clock.h"
#include "Support/ThreadCount.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include <sched.h>
#include <unistd.h>

namespace {

// Polls its thread's termination flag like the fill loops do.
class CPollingRunnable : public GT::IRunnable {
public:
  GT::AThread* mThread = nullptr;
  std::atomic<int> mTurns{0};
  std::atomic<bool> mFinished{false};
  std::atomic<bool> mWasCurrent{false};
  std::atomic<pid_t> mTid{0};
  std::atomic<int> mNice{1000};
  void Run() override {
    mTid = gettid();
    mWasCurrent = mThread->IsCurrentThread();
    int importance = 0;
    if (GT::CThread::GetPThreadPriority(0, &importance, nullptr) == 0) {
      mNice = -importance;
    }
    while (!mThread->GetTerminationFlag()) {
      ++mTurns;
      GT::Sleep(1);
    }
    mFinished = true;
  }
};

class CCountingRunnable : public GT::IRunnable {
public:
  std::atomic<int> mRuns{0};
  void Run() override { ++mRuns; }
};

class CThrowingRunnable : public GT::IRunnable {
public:
  void Run() override { throw std::runtime_error("fails"); }
};

// Stops the runnable of a thread that is being waited for after some time.
class CSlowRunnable : public GT::IRunnable {
public:
  std::atomic<bool> mFinished{false};
  void Run() override {
    GT::Sleep(50);
    mFinished = true;
  }
};

template <class Predicate>
bool WaitFor(Predicate predicate) {
  auto const limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!predicate()) {
    if (std::chrono::steady_clock::now() > limit) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

int ExpectedNice(int priority) {
  int const base = GT::CThread::GetBaseThreadPriority();
  int const importance = priority < 64 ? priority - base : priority - 63 - base;
  int nice = -importance;
  return nice < -20 ? -20 : (nice > 19 ? 19 : nice);
}

int OwnNice() {
  int importance = 0;
  GT::CThread::GetPThreadPriority(0, &importance, nullptr);
  return -importance;
}

}  // namespace

TEST(CThreadThreaded, RunsTargetOnItsOwnThreadUntilTold) {
  CPollingRunnable runnable;
  GT::CThread thread(runnable);
  runnable.mThread = &thread;
  EXPECT_FALSE(thread.IsAlive());
  EXPECT_EQ(31, thread.GetPriority());
  thread.Start();
  EXPECT_TRUE(thread.IsAlive());
  ASSERT_TRUE(WaitFor([&] { return runnable.mTurns.load() > 2; }));
  EXPECT_NE(gettid(), runnable.mTid.load());
  EXPECT_TRUE(runnable.mWasCurrent.load());
  EXPECT_FALSE(thread.IsCurrentThread());
  EXPECT_FALSE(thread.GetTerminationFlag());
  thread.SetTerminationFlag();
  EXPECT_TRUE(thread.GetTerminationFlag());
  ASSERT_TRUE(WaitFor([&] { return !thread.IsAlive(); }));
  EXPECT_TRUE(runnable.mFinished.load());
}

TEST(CThreadThreaded, DestructorWaitsForRunningAndEndedBodiesAlike) {
  int const before = TestSupport::CountProcessThreadsAtRest();
  ASSERT_GT(before, 0);
  {
    CSlowRunnable slow;
    {
      GT::CThread thread(slow);
      thread.Start();
    }
    // The destructor returned only after the body had finished.
    EXPECT_TRUE(slow.mFinished.load());
  }
  {
    CCountingRunnable quick;
    GT::CThread thread(quick);
    thread.Start();
    ASSERT_TRUE(WaitFor([&] { return !thread.IsAlive(); }));
    EXPECT_EQ(1, quick.mRuns.load());
  }
  // Ended threads were joined too, so none is left behind.
  EXPECT_EQ(before, TestSupport::WaitForProcessThreads(before));
  for (int i = 0; i < 200; ++i) {
    CCountingRunnable quick;
    GT::CThread thread(quick);
    thread.Start();
  }
  EXPECT_EQ(before, TestSupport::WaitForProcessThreads(before));
}

TEST(CThreadThreaded, EdgeCasesOfStartAndRun) {
  // No target: the body runs nothing and ends.
  {
    GT::CThread idle;
    idle.Start();
    EXPECT_TRUE(WaitFor([&] { return !idle.IsAlive(); }));
  }
  // A second Start on a started thread does nothing.
  {
    CCountingRunnable counting;
    GT::CThread thread(counting);
    thread.Start();
    thread.Start();
    ASSERT_TRUE(WaitFor([&] { return !thread.IsAlive(); }));
    thread.Start();
    GT::Sleep(20);
    EXPECT_EQ(1, counting.mRuns.load());
  }
  // An exception out of the runnable ends the thread quietly.
  {
    CThrowingRunnable throwing;
    GT::CThread thread(throwing);
    thread.Start();
    EXPECT_TRUE(WaitFor([&] { return !thread.IsAlive(); }));
  }
  // The factory makes an idle thread of the default priority.
  {
    CCountingRunnable counting;
    std::unique_ptr<GT::AThread> thread = GT::CThreadFactory::Create(counting);
    EXPECT_FALSE(thread->IsAlive());
    EXPECT_EQ(31, thread->GetPriority());
    thread->Start();
    EXPECT_TRUE(WaitFor([&] { return counting.mRuns.load() == 1; }));
  }
}

TEST(CThreadThreaded, PriorityBeforeStartIsAppliedByTheBody) {
  // Lower priorities are always granted, so their nice values can be checked;
  // a raise (63 and 104 ask for more than an unprivileged process may take)
  // is granted or refused, and either way the target runs.
  for (int priority : {20, 31, 64, 80, 63, 104}) {
    CPollingRunnable runnable;
    GT::CThread thread(runnable);
    runnable.mThread = &thread;
    thread.SetPriority(priority);
    EXPECT_EQ(priority, thread.GetPriority());
    thread.Start();
    ASSERT_TRUE(WaitFor([&] { return runnable.mTurns.load() > 2; }));
    int const nice = runnable.mNice.load();
    if (ExpectedNice(priority) >= OwnNice()) {
      EXPECT_EQ(ExpectedNice(priority), nice) << priority;
    } else {
      EXPECT_TRUE(nice == ExpectedNice(priority) || nice == OwnNice()) << priority << " " << nice;
    }
    thread.SetTerminationFlag();
  }
}

// A thread whose priority step fails on the new thread.
class CUnsettableThread : public GT::CThread {
public:
  explicit CUnsettableThread(GT::IRunnable& target) : GT::CThread(target) {}
  ~CUnsettableThread() override {
    // Join here, while this class's SetPriority can still be reached.
    SetTerminationFlag();
    while (IsAlive()) {
      GT::Sleep(1);
    }
  }
  void SetPriority(int) override { throw std::runtime_error("refused"); }
};

TEST(Clock, CoarseTimeCountsUnitsOf1024MicrosecondsAndWraps) {
  EXPECT_EQ(0, GT::Private::CoarseTimeFromMicroseconds(1023));
  EXPECT_EQ(1, GT::Private::CoarseTimeFromMicroseconds(1024));
  EXPECT_EQ(0x7FFFFFFF, GT::Private::CoarseTimeFromMicroseconds(0x7FFFFFFFull << 10));
  EXPECT_EQ(0, GT::Private::CoarseTimeFromMicroseconds(0x80000000ull << 10));
  long const a = GT::GetCurrentTimeA();
  GT::Sleep(30);
  long const b = GT::GetCurrentTimeA();
  EXPECT_GE(a, 0);
  EXPECT_GT(b, a);  // 30 ms is about 29 units
}
