#include "UL/Com/Event/CKeyEvent.h"
#include "UL/Com/Event/CMouseEvent.h"
#include "UL/Linux/Event/EventTranslation.h"

#include "Platform/Framework/LWindow.h"
#include "Platform/Framework/URegistrar.h"
#include "Support/GuiApplication.h"

#include <QJsonArray>
#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A window that turns the framework's pointer calls into the pads' events,
// in the order the main window delivers them, and records them.
class CEventWindow : public LWindow {
public:
  explicit CEventWindow(LStream* stream) : LWindow(stream) {}

  void ClickSelf(SMouseDownEvent const& event) override {
    UL::CMouseInfo::EType type = UL::CMouseInfo::Down;
    if (sClickCount > 1) {
      type = UL::CMouseInfo::DoubleClick;
      sClickCount = 0;
    }
    Record(type, event.wherePort, event.macEvent.modifiers);
  }
  void MouseTrackSelf(SMouseTrackEvent const& event) override {
    Record(event.result == nMouseTrackingReleased ? UL::CMouseInfo::Up : UL::CMouseInfo::Move,
           event.wherePort, event.modifiers);
  }
  void AdjustMouseSelf(QPoint const& where, EventRecord const& event) override {
    Record(UL::CMouseInfo::Move, where, event.modifiers);
  }
  bool HandleKeyPress(EventRecord const& event) override {
    mKeys.push_back(UL::KeyCodeOf(event));
    return true;
  }

  void Record(UL::CMouseInfo::EType type, QPoint const& p, uint16_t modifiers) {
    UL::CMouseEvent const event(
        boost::any(this),
        UL::CMouseInfo(type, GT::CPointT<long>(p.x(), p.y()), UL::MouseModifiersOf(modifiers)));
    mEvents.push_back({event.mInfo.mType, event.mInfo.GetPoint().x, event.mInfo.GetPoint().y,
                       static_cast<long>(event.mInfo.mModifiers)});
  }

  std::vector<std::vector<long>> mEvents;  // type, x, y, modifiers
  std::vector<int32_t> mKeys;
};

class PointerEvents : public ::testing::Test {
protected:
  void SetUp() override {
    URegistrar::RegisterClass<CEventWindow>(FourChar("Tevt"));
    QJsonObject window{{"class", "Tevt"}, {"size", QJsonArray{200, 200}}};
    Support::LoadResources(QJsonObject{{"windows", QJsonObject{{"2000", window}}}});
    mWindow.reset(dynamic_cast<CEventWindow*>(LWindow::CreateWindow(2000, nullptr)));
    ASSERT_TRUE(mWindow);
    mWindow->Show();
    mContent = mWindow->GetWidget();
  }
  void TearDown() override {
    mWindow.reset();
    Support::LoadAppResources();
  }
  // What the window system sends, as it sends it: a double click is press,
  // release, double click, release.
  void Send(QEvent::Type type, QPoint const& at, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    bool const up = type == QEvent::MouseButtonRelease;
    Qt::MouseButton const button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    Qt::MouseButtons const held = up || type == QEvent::MouseMove ? mHeld : Qt::LeftButton;
    QMouseEvent event(type, at, mContent->mapToGlobal(at), button, held, keys);
    QApplication::sendEvent(mContent, &event);
    if (!up && type != QEvent::MouseMove) mHeld = Qt::LeftButton;
    if (up) mHeld = Qt::NoButton;
  }
  void Click(QEvent::Type press, QPoint const& at, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    Send(press, at, keys);
    Send(QEvent::MouseButtonRelease, at, keys);
  }
  std::unique_ptr<CEventWindow> mWindow;
  QWidget* mContent = nullptr;
  Qt::MouseButtons mHeld = Qt::NoButton;
};

TEST_F(PointerEvents, ClicksDoubleClicksDragsAndHoverBecomePadEvents) {
  long const D = UL::CMouseInfo::Down, U = UL::CMouseInfo::Up, W = UL::CMouseInfo::DoubleClick,
             M = UL::CMouseInfo::Move;
  Click(QEvent::MouseButtonPress, QPoint(10, 20));
  Click(QEvent::MouseButtonPress, QPoint(11, 21));
  Click(QEvent::MouseButtonDblClick, QPoint(11, 21));
  // The third quick press starts again as a single click.
  Send(QEvent::MouseButtonPress, QPoint(12, 22));
  Send(QEvent::MouseMove, QPoint(30, 40));
  Send(QEvent::MouseButtonRelease, QPoint(30, 40));
  Send(QEvent::MouseMove, QPoint(50, 60));
  std::vector<std::vector<long>> const expected = {
      {D, 10, 20, 0}, {U, 10, 20, 0}, {D, 11, 21, 0}, {U, 11, 21, 0}, {W, 11, 21, 0},
      {U, 11, 21, 0}, {D, 12, 22, 0}, {M, 30, 40, 0}, {U, 30, 40, 0}, {M, 50, 60, 0}};
  EXPECT_EQ(expected, mWindow->mEvents);
}

TEST_F(PointerEvents, ModifierKeysMapToShiftCommandAndControl) {
  struct {
    Qt::KeyboardModifiers keys;
    long bits;
  } const cases[] = {
      {Qt::ShiftModifier | Qt::ControlModifier, 3},
      {Qt::MetaModifier, 4},
      {Qt::ControlModifier, 2},
      {Qt::AltModifier, 0},
      {Qt::ShiftModifier | Qt::ControlModifier | Qt::MetaModifier, 7},
  };
  for (auto const& c : cases) {
    mWindow->mEvents.clear();
    Click(QEvent::MouseButtonPress, QPoint(5, 5), c.keys);
    ASSERT_EQ(2u, mWindow->mEvents.size());
    EXPECT_EQ(c.bits, mWindow->mEvents[0][3]) << c.keys;
    EXPECT_EQ(c.bits, mWindow->mEvents[1][3]) << c.keys;
  }
}

TEST_F(PointerEvents, PadKeysGiveTheirCodes) {
  struct {
    Qt::Key key;
    int32_t code;
  } const cases[] = {
      {Qt::Key_Space, UL::CKeyEvent::KeySpace},
      {Qt::Key_Left, 0x101},
      {Qt::Key_Right, 0x102},
      {Qt::Key_Up, 0x103},
      {Qt::Key_Down, 0x104},
      {Qt::Key_Return, 0x109},
      {Qt::Key_Enter, 0x109},
      {Qt::Key_A, 'a'},
      {Qt::Key_F1, 0},
  };
  for (auto const& c : cases) {
    mWindow->mKeys.clear();
    QTest::keyClick(mWindow->GetWindowWidget(), c.key);
    ASSERT_EQ(1u, mWindow->mKeys.size()) << c.key;
    EXPECT_EQ(c.code, mWindow->mKeys[0]) << c.key;
  }
}

}  // namespace
