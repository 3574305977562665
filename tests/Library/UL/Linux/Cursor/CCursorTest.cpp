#include "UL/Com/Cursor/CWaitCursor.h"
#include "UL/Linux/Cursor/CCursor.h"

#include "Platform/Framework/UResources.h"
#include "Support/GuiApplication.h"

#include <QCursor>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

Qt::CursorShape Shown() {
  QCursor* cursor = QGuiApplication::overrideCursor();
  return cursor ? cursor->shape() : Qt::BitmapCursor;  // BitmapCursor: none set
}

class CChanger : public UL::ICursorChanger {};

TEST(ScreenCursor, NestedAndOutOfOrderRequestsEndAtTheArrow) {
  Support::LoadAppResources();
  ASSERT_FALSE(UL::Cursor().IsChanging());
  {
    UL::CWaitCursor outer;
    EXPECT_EQ(Qt::ArrowCursor, Shown());  // the wait kind shows the arrow
    CChanger a, b;
    long const first = a.Change(UL::ICursor::Custom5);
    long const second = b.Change(UL::ICursor::Custom6);
    EXPECT_EQ(first + 1, second);
    EXPECT_EQ(Qt::OpenHandCursor, Shown());  // resource 134
    a.Restore(first);                        // out of order
    EXPECT_EQ(Qt::OpenHandCursor, Shown());
    {
      UL::CWaitCursor inner;
      EXPECT_EQ(Qt::ArrowCursor, Shown());
    }
    EXPECT_EQ(Qt::OpenHandCursor, Shown());
    b.Restore(second);
    b.Restore(second);  // twice: changes nothing
    EXPECT_EQ(Qt::ArrowCursor, Shown());
    EXPECT_TRUE(UL::Cursor().IsChanging());
  }
  EXPECT_FALSE(UL::Cursor().IsChanging());
  EXPECT_EQ(nullptr, QGuiApplication::overrideCursor());
}

TEST(ScreenCursor, CursorsMissingFromTheResourcesShowTheArrow) {
  Support::LoadResources(QJsonObject());
  CChanger changer;
  long const id = changer.Change(UL::ICursor::Custom4);
  EXPECT_EQ(Qt::ArrowCursor, Shown());
  changer.Restore(id);
  EXPECT_EQ(nullptr, QGuiApplication::overrideCursor());
  Support::LoadAppResources();
}

}  // namespace
