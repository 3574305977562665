#include "UL/Com/Progress/IProgress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Keeps a position and writes down every call the interface's own bodies make.
class CLoggedProgress : public UL::IProgress {
public:
  using IProgress::Start;
  void Start() override { mCalls.push_back("Start"); }
  void SetRange(long range) override { mCalls.push_back("SetRange " + std::to_string(range)); }
  void SetPosition(long position) override {
    mPosition = position;
    mCalls.push_back("SetPosition " + std::to_string(position));
  }
  long GetPosition() const override { return mPosition; }
  void SetText(std::string const& text) override { mCalls.push_back("SetText " + text); }
  void SetCancelable(bool cancelable) override {
    mCalls.push_back(std::string("SetCancelable ") + (cancelable ? "1" : "0"));
  }

  long mPosition = 0;
  std::vector<std::string> mCalls;
};

TEST(ProgressInterface, IncreaseAndTheLongStartGoThroughTheOverrides) {
  struct {
    long from;
    long to;
  } const steps[] = {{0, 1}, {41, 42}, {-1, 0}, {0x7FFFFFFEL, 0x7FFFFFFFL}};
  for (auto const& s : steps) {
    CLoggedProgress progress;
    progress.mPosition = s.from;
    UL::IProgress& asInterface = progress;
    asInterface.Increase();
    EXPECT_EQ(s.to, progress.GetPosition());
    EXPECT_EQ(std::vector<std::string>{"SetPosition " + std::to_string(s.to)}, progress.mCalls);
  }

  CLoggedProgress progress;
  static_cast<UL::IProgress&>(progress).Start(250, "Converting...", true);
  EXPECT_EQ((std::vector<std::string>{"SetCancelable 1", "SetRange 250", "SetText Converting...",
                                      "Start"}),
            progress.mCalls);
}

// The null progress is one object that keeps nothing and is never cancelled.
TEST(ProgressInterface, TheNullProgressIsOneObjectThatAnswersAsIfNothingWereSet) {
  UL::IProgress& null = UL::IProgress::NullProgress();
  EXPECT_EQ(&null, &UL::IProgress::NullProgress());
  null.SetTitle("Importing...");
  null.Start(1000, "Copying...", true);
  null.Start();
  null.SetRange(77);
  null.SetPosition(12);
  null.Increase();
  null.SetText("Finalizing...");
  null.SetCancelable(true);
  EXPECT_EQ(0, null.GetRange());
  EXPECT_EQ(0, null.GetPosition());
  EXPECT_EQ("", null.GetTitle());
  EXPECT_EQ("", null.GetText());
  EXPECT_FALSE(null.IsCancelable());
  EXPECT_FALSE(null.IsCanceled());
  null.Stop();
  null.Stop();
  null.Stop();
  EXPECT_EQ(0, null.GetPosition());
}

}  // namespace
