#include "GT/Com/Thread/AThread.h"

#include <gtest/gtest.h>

namespace {

struct CCounter : GT::IRunnable {
  void Run() override { ++runs; }
  int runs = 0;
};

// The abstract thread's own share, without a platform thread behind it.
struct CInlineThread : GT::AThread {
  CInlineThread() {}
  explicit CInlineThread(GT::IRunnable& target) : GT::AThread(target) {}
  bool IsAlive() const override { return false; }
  void Start() override { Run(); }
  bool IsCurrentThread() const override { return false; }
};

TEST(AThread, RunsItsTargetAndRaisesTheFlagOnce) {
  CCounter counter;
  CInlineThread thread(counter);
  EXPECT_EQ(0, thread.GetPriority());
  EXPECT_FALSE(thread.GetTerminationFlag());
  thread.Start();
  thread.Run();
  EXPECT_EQ(2, counter.runs);
  thread.SetPriority(104);
  EXPECT_EQ(104, thread.GetPriority());
  thread.SetTerminationFlag();
  thread.SetTerminationFlag();
  EXPECT_TRUE(thread.GetTerminationFlag());

  CInlineThread idle;  // no target: runs nothing
  idle.Start();
  EXPECT_FALSE(idle.GetTerminationFlag());
  EXPECT_EQ(2, counter.runs);
}

}  // namespace
