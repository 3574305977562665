#include "UL/Linux/Progress/CProgressBar.h"

#include "Support/GuiApplication.h"

#include <QTimer>

#include <gtest/gtest.h>

namespace {

// A timer or a notice handled while the window opens may stop the progress:
// Start then returns with no window, and the object stays usable.
TEST(ProgressWindowStop, AStopHandledWhileTheWindowOpensClosesItCleanly) {
  Support::LoadAppResources();
  struct {
    long position;  // set before Start: pumps as the window opens, or not
    int stops;      // Stops the timer makes
  } const cases[] = {{0, 1}, {40, 1}, {0, 2}};
  for (auto const& c : cases) {
    UL::CProgressBar progress;
    progress.SetPosition(c.position);
    int fired = 0;
    QTimer::singleShot(0, [&] {
      ++fired;
      for (int i = 0; i < c.stops; ++i) progress.Stop();
    });
    progress.Start(100, "Converting...", true);
    EXPECT_EQ(1, fired) << c.position;
    EXPECT_FALSE(progress.IsOpen()) << c.position;
    EXPECT_EQ(nullptr, progress.GetWindow());
    EXPECT_EQ(c.position, progress.GetPosition());
    // Pumps and Stops after the close do nothing; the next Start opens again.
    progress.SetPosition(c.position + 5);
    progress.DoEvents();
    progress.Stop();
    progress.Start();
    EXPECT_TRUE(progress.IsOpen());
    EXPECT_EQ("Converting...", progress.GetText());
    progress.Stop();
    EXPECT_FALSE(progress.IsOpen());
  }
}

}  // namespace
