#include "UL/Com/Progress/IProgress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records the calls that reach the overridden operations.
class CRecordingProgress : public UL::IProgress {
public:
  using UL::IProgress::Start;
  void Start() override { mCalls.push_back("Start"); }
  void SetRange(long range) override { mCalls.push_back("SetRange " + std::to_string(range)); }
  void SetPosition(long position) override {
    mPosition = position;
    mCalls.push_back("SetPosition " + std::to_string(position));
  }
  long GetPosition() const override { return mPosition; }
  void SetText(std::string const& text) override { mCalls.push_back("SetText " + text); }
  void SetCancelable(bool cancelable) override {
    mCalls.push_back(cancelable ? "SetCancelable 1" : "SetCancelable 0");
  }

  std::vector<std::string> mCalls;
  long mPosition = 0;
};

TEST(Progress, NullProgressIsOneObjectThatKeepsNothing) {
  UL::IProgress& progress = UL::IProgress::NullProgress();
  EXPECT_EQ(&progress, &UL::IProgress::NullProgress());

  progress.SetTitle("Importing...");
  progress.Start(88200, "Converting...", true);
  progress.SetPosition(17);
  progress.Increase();
  progress.SetCancelable(true);
  EXPECT_EQ(0, progress.GetRange());
  EXPECT_EQ(0, progress.GetPosition());
  EXPECT_EQ("", progress.GetTitle());
  EXPECT_EQ("", progress.GetText());
  EXPECT_FALSE(progress.IsCancelable());
  EXPECT_FALSE(progress.IsCanceled());
  progress.Stop();
}

TEST(Progress, IncreaseAndStartGoThroughTheOverrides) {
  CRecordingProgress progress;
  progress.SetPosition(41);
  progress.mCalls.clear();
  progress.Increase();
  EXPECT_EQ(42, progress.GetPosition());
  ASSERT_EQ(1u, progress.mCalls.size());
  EXPECT_EQ("SetPosition 42", progress.mCalls[0]);

  progress.mCalls.clear();
  progress.Start(300, "Copying...", false);
  std::vector<std::string> const expected = {"SetCancelable 0", "SetRange 300",
                                             "SetText Copying...", "Start"};
  EXPECT_EQ(expected, progress.mCalls);
}

}  // namespace
