#include "UL/Linux/Progress/CProgressBar.h"

#include "Platform/Framework/LControl.h"
#include "Platform/Framework/LWindow.h"
#include "Support/GuiApplication.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>

namespace {

// Counts events posted to it, so a test sees when the progress window let
// the event loop run.
class CEventCounter : public QObject {
public:
  bool event(QEvent* e) override {
    if (e->type() != QEvent::User) return QObject::event(e);
    ++mDelivered;
    return true;
  }
  // Posts one event; true when it was delivered by the call.
  template <typename F>
  bool Pumps(F const& call) {
    QCoreApplication::sendPostedEvents(this);
    int const before = mDelivered;
    QCoreApplication::postEvent(this, new QEvent(QEvent::User));
    call();
    bool const pumped = mDelivered > before;
    QCoreApplication::sendPostedEvents(this);
    return pumped;
  }
  int mDelivered = 0;
};

class ProgressWindow : public ::testing::Test {
protected:
  void SetUp() override { Support::LoadAppResources(); }
  LPane* Pane(UL::CProgressBar& p, PaneIDT id) { return p.GetWindow()->FindPaneByID(id); }
  LControl* Bar(UL::CProgressBar& p) { return dynamic_cast<LControl*>(Pane(p, 1)); }
};

TEST_F(ProgressWindow, NestedStartsShowOneWindowWithTheValuesSetBefore) {
  UL::CProgressBar progress;
  progress.SetTitle("Importing...");
  progress.SetRange(250);
  progress.SetPosition(40);
  progress.Start(250, "Converting...", true);
  ASSERT_TRUE(progress.IsOpen());
  LWindow* window = progress.GetWindow();
  EXPECT_TRUE(window->GetWindowWidget()->isVisible());
  EXPECT_EQ("Importing...", window->GetDescriptor());
  EXPECT_EQ("Converting...", Pane(progress, 2)->GetDescriptor());
  EXPECT_EQ(250, Bar(progress)->GetMaxValue());
  EXPECT_EQ(40, Bar(progress)->GetValue());
  EXPECT_TRUE(Pane(progress, 3)->IsVisible());

  progress.ListenToMessage(901, nullptr);
  progress.Start();
  progress.SetText("Copying...");
  EXPECT_EQ(window, progress.GetWindow());
  EXPECT_TRUE(Pane(progress, 3)->IsVisible());
  progress.Stop();
  EXPECT_EQ(window, progress.GetWindow());
  EXPECT_TRUE(progress.IsCanceled());
  progress.Stop();
  EXPECT_FALSE(progress.IsOpen());

  // Extra Stops leave no debt: the next Start opens with Cancel, not cancelled.
  progress.Stop();
  progress.Stop();
  progress.Start();
  ASSERT_TRUE(progress.IsOpen());
  EXPECT_FALSE(progress.IsCanceled());
  EXPECT_TRUE(Pane(progress, 3)->IsVisible());
  progress.Stop();
}

TEST_F(ProgressWindow, EventsAreHandledWhenTheBarMovesAndAtEachStep) {
  struct {
    long range;
    long divisor;
    std::vector<std::pair<long, bool>> positions;  // position, pumps
  } const cases[] = {
      {4500, 10, {{4500, true}, {4501, false}, {4502, false}, {4504, false}, {4505, true}}},
      {250000, 1000, {{1000, true}, {1100, false}, {1200, true}, {1201, false}, {2000, true}}},
      {800, 1, {{1, true}, {1, false}, {5, true}}},
  };
  CEventCounter counter;
  for (auto const& c : cases) {
    UL::CProgressBar progress;
    progress.Start(c.range, "", false);
    EXPECT_EQ(c.range / c.divisor, Bar(progress)->GetMaxValue());
    for (auto const& p : c.positions)
      EXPECT_EQ(p.second, counter.Pumps([&] { progress.SetPosition(p.first); }))
          << "range " << c.range << " position " << p.first;
    EXPECT_TRUE(counter.Pumps([&] { progress.DoEvents(); }));
    progress.Stop();
  }
}

// Moving is cheap; drawing is not: at most nDrawsPerSecond times a second,
// and once as the window shows.
TEST_F(ProgressWindow, TheBarIsDrawnAtMostThirtyTimesASecondHoweverOftenItMoves) {
  struct CPaints : QObject {
    bool eventFilter(QObject*, QEvent* e) override {
      mCount += e->type() == QEvent::Paint;
      return false;
    }
    int mCount = 0;
  } paints;
  UL::CProgressBar progress;
  progress.Start(1000, "", true);
  Bar(progress)->GetWidget()->installEventFilter(&paints);
  auto const start = std::chrono::steady_clock::now();
  for (long position = 1; position <= 1000; ++position) progress.SetPosition(position);
  auto const took = std::chrono::steady_clock::now() - start;
  EXPECT_LE(paints.mCount, 2 + took * UL::CProgressBar::nDrawsPerSecond / std::chrono::seconds(1));
  progress.Stop();
}

TEST_F(ProgressWindow, CancelEscapeAndCloseBoxCancelOnlyWhenCancelable) {
  enum EAction { Click, Escape, Close };
  struct {
    bool cancelable;
    EAction action;
    bool canceled;
  } const cases[] = {{true, Click, true},
                     {true, Escape, true},
                     {true, Close, true},
                     {false, Escape, false},
                     {false, Close, false}};
  for (auto const& c : cases) {
    UL::CProgressBar progress;
    progress.Start(100, "", c.cancelable);
    QWidget* window = progress.GetWindow()->GetWindowWidget();
    QWidget* cancel = Pane(progress, 3)->GetWidget();
    if (c.action == Click) QTest::mouseClick(cancel, Qt::LeftButton);
    if (c.action == Escape) QTest::keyClick(window, Qt::Key_Escape);
    if (c.action == Close) window->close();
    progress.DoEvents();
    EXPECT_EQ(c.canceled, progress.IsCanceled()) << c.cancelable << " " << c.action;
    EXPECT_TRUE(progress.IsOpen());
    EXPECT_TRUE(window->isVisible());
    progress.Stop();
  }
}

}  // namespace
