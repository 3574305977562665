#include "UL/Com/Cursor/ACursor.h"
#include "UL/Com/Cursor/ICursorChanger.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A stack that records what it would show; -1 stands for the arrow by reset.
class CRecordingCursor : public UL::ACursor {
public:
  void Set(EType type) override { mShown.push_back(type); }
  void Reset() override {
    mEntries.clear();
    mShown.push_back(-1);
  }
  std::vector<int> mShown;
};

class CChanger : public UL::ICursorChanger {
public:
  void Update(GT::CPointT<long> const& point) override { mX = point.x; }
  long mX = 0;
};

TEST(Cursor, RequestsCloseInAnyOrderAndEndAtTheArrow) {
  CRecordingCursor cursor;
  CChanger outer, inner;
  EXPECT_FALSE(cursor.IsChanging());
  EXPECT_EQ(0, cursor.Change(UL::ICursor::Custom5, outer));
  EXPECT_EQ(1, cursor.Change(UL::ICursor::Custom6, inner));
  cursor.Update(GT::CPointT<long>(7, 8));
  EXPECT_EQ(7, inner.mX);
  EXPECT_EQ(0, outer.mX);

  cursor.Restore(0);  // out of order: the inner request stays on top
  EXPECT_TRUE(cursor.IsChanging());
  cursor.Restore(0);  // not open any more: re-applies the top
  cursor.Restore(1);
  EXPECT_FALSE(cursor.IsChanging());
  EXPECT_EQ(2, cursor.Change(UL::ICursor::Wait, outer));  // ids are not reused
  cursor.Restore(2);
  std::vector<int> const expected = {5, 6, 6, 6, -1, 1, -1};
  EXPECT_EQ(expected, cursor.mShown);
}

// Without a platform nothing is shown, yet the requests are kept; the bare
// interface answers as a service that has none.
TEST(Cursor, TheBareStackAndInterfaceKeepNoScreen) {
  UL::ACursor stack;
  UL::ICursor bare;
  CChanger changer;
  EXPECT_EQ(0, stack.Change(UL::ICursor::Wait, changer));
  EXPECT_TRUE(stack.IsChanging());
  stack.Restore(0);
  EXPECT_FALSE(stack.IsChanging());
  EXPECT_EQ(0, bare.Change(UL::ICursor::Wait, changer));
  bare.Restore(0);
  bare.Reset();
  bare.Update(GT::CPointT<long>(1, 2));
  EXPECT_FALSE(bare.IsChanging());
  EXPECT_EQ(0, changer.mX);
}

}  // namespace
