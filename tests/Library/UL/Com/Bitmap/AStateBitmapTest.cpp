#include "UL/Com/Bitmap/ADrawInfo.h"
#include "UL/Com/Bitmap/AStateBitmap.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class CNoDrawInfo : public UL::ADrawInfo {
public:
  bool IntersectsDrawRegion(GT::CRectT<long> const&) const override { return false; }
};

// A picture of a given size that records the cells asked of it.
class CRecordingBitmap : public UL::AStateBitmap {
public:
  CRecordingBitmap(long w, long h, long states, bool horizontal, bool doubled)
      : UL::AStateBitmap("Strip", states, horizontal, doubled), mSize(w, h) {}
  bool Create(std::string const&) override {
    mStateSize = ToStateSize(mSize);
    return true;
  }
  void Destroy() override {}
  GT::CSizeT<long> GetSize() const override { return mSize; }
  void Draw(UL::ADrawInfo const&, GT::CPointT<long> const& at, GT::CSizeT<long> const& size,
            GT::CPointT<long> source, GT::CPointT<long> source2) override {
    mDraws.push_back(
        {at.x, at.y, size.width, size.height, source.x, source.y, source2.x, source2.y});
  }

  GT::CSizeT<long> mSize;
  std::vector<std::vector<long>> mDraws;
};

struct CCellCase {
  long w, h, states;
  bool horizontal, doubled;
  long state;
  std::vector<long> draw;  // at x, y, cell w, h, source x, y, source2 x, y
};

TEST(StateBitmap, CellsAreCutFromTheStripByState) {
  CCellCase const cases[] = {
      {40, 2560, 64, false, false, 17, {5, 72, 40, 40, 0, 680, 0, 0}},
      {200, 100, 4, true, true, 3, {5, 72, 50, 50, 150, 0, 150, 50}},
      {80, 60, 1, false, false, 0, {5, 72, 80, 60, 0, 0, 0, 0}},
      {33, 105, 10, false, false, 9, {5, 72, 33, 10, 0, 90, 0, 0}},
      {80, 100, 5, false, true, 2, {5, 72, 40, 20, 0, 40, 40, 40}},
  };
  for (CCellCase const& c : cases) {
    CRecordingBitmap bitmap(c.w, c.h, c.states, c.horizontal, c.doubled);
    EXPECT_EQ(0, bitmap.GetStateSize().width);
    bitmap.Create("");
    bitmap.DrawState(CNoDrawInfo(), GT::CPointT<long>(5, 72), c.state);
    ASSERT_EQ(1u, bitmap.mDraws.size());
    EXPECT_EQ(c.draw, bitmap.mDraws[0]) << c.w << "x" << c.h << " state " << c.state;
  }
}

TEST(StateBitmap, StateOutOfRangeDrawsNothing) {
#ifdef NDEBUG
  CRecordingBitmap bitmap(40, 2560, 64, false, false);
  bitmap.Create("");
  bitmap.DrawState(CNoDrawInfo(), GT::CPointT<long>(), 64);
  bitmap.DrawState(CNoDrawInfo(), GT::CPointT<long>(), -1);
  EXPECT_TRUE(bitmap.mDraws.empty());
#else
  GTEST_SKIP() << "the assertion stops a debug build first";
#endif
}

}  // namespace
