#include "Executable/Linux/MainWindow/CWindowPosition.h"

#include <gtest/gtest.h>

namespace {

using VQ7::CWindowPosition;

TEST(WindowPosition, PacksSigned16BitCoordinatesAndBack) {
  struct {
    long left, top, packed;
  } const cases[] = {
      {0, 0, 0},                       // a real position, not "none"
      {-20, 30, -1310690},             // left of the main screen: 0xFFEC001E
      {40, -5, (40L << 16) | 0xFFFB},  // above it
      {32767, -32768, 0x7FFF8000L},
  };
  for (auto const& c : cases) {
    EXPECT_EQ(c.packed, CWindowPosition::Pack(c.left, c.top)) << c.left << "," << c.top;
    long left = 7, top = 7;
    ASSERT_TRUE(CWindowPosition::Unpack(c.packed, left, top));
    EXPECT_EQ(c.left, left);
    EXPECT_EQ(c.top, top);
  }
  long left = 7, top = 7;
  EXPECT_FALSE(CWindowPosition::Unpack(CWindowPosition::nAbsent, left, top));
  EXPECT_EQ(7, left);
}

TEST(WindowPosition, AWindowOffEveryScreenIsMovedOntoOne) {
  std::vector<QRect> const screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
  QSize const size(420, 380);
  struct {
    QPoint at, expected;
  } const cases[] = {
      {QPoint(2000, 100), QPoint(2000, 100)},   // on the second screen
      {QPoint(-300, 10), QPoint(-300, 10)},     // partly off, its top still reachable
      {QPoint(5000, 100), QPoint(1500, 100)},   // right of everything
      {QPoint(2500, 1050), QPoint(1500, 700)},  // below the second, beside nothing
  };
  for (auto const& c : cases)
    EXPECT_EQ(c.expected, CWindowPosition::OntoScreens(QRect(c.at, size), screens)) << c.at.x();
  EXPECT_EQ(QPoint(5000, 5000), CWindowPosition::OntoScreens(QRect(5000, 5000, 10, 10), {}));
}

}  // namespace
