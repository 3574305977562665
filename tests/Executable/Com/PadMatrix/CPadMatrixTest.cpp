#include "Executable/Com/PadMatrix/CPadFactory.h"
#include "Executable/Com/PadMatrix/CPadMatrix.h"
#include "Executable/Com/PadMatrix/IPadContainerView.h"
#include "UL/Com/Bitmap/ADrawInfo.h"

#include "Support/FakePadPictures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using VQ7::APad;
using VQ7::CPadMatrix;

// A picture of a given size that records what it draws.
class CFakeBitmap : public Support::CFakePadPictures::CPicture {
public:
  using CPicture::CPicture;
  void Draw(UL::ADrawInfo const&, GT::CPointT<long> const& at, GT::CSizeT<long> const&,
            GT::CPointT<long> source, GT::CPointT<long>) override {
    mDrawn.push_back(std::to_string(at.x) + "," + std::to_string(at.y) + ":" +
                     std::to_string(mStateSize.height ? source.y / mStateSize.height : 0));
  }
  std::vector<std::string> mDrawn;
};

class CFactory : public Support::CFakePadPictures {
public:
  boost::shared_ptr<UL::AStateBitmap> Create(std::string const& name, long states, bool,
                                             bool) override {
    return boost::shared_ptr<UL::AStateBitmap>(new CFakeBitmap(name, states, SizeOf(name)));
  }
};

class CView : public VQ7::IPadContainerView {
public:
  void Invalidate(GT::CRectT<long> const& r, bool) override { mRects.push_back(r); }
  std::vector<GT::CRectT<long> > mRects;
};

class CNoDraw : public UL::ADrawInfo {
public:
  bool IntersectsDrawRegion(GT::CRectT<long> const&) const override { return false; }
};

// Every listener call as "kind id", in order.
class CLog : public APad::ISelectionEventListener,
             public APad::IEditEventListener,
             public APad::IFocusEventListener,
             public APad::IExecuteEventListener {
public:
  void Handle(APad& pad) override { mCalls.push_back("pad " + std::to_string(pad.mId)); }
  void Handle(APad& pad, EDirection d) override {
    mCalls.push_back("focus " + std::to_string(pad.mId) + " " + std::to_string(d));
  }
  std::vector<std::string> mCalls;
};

class PadMatrix : public testing::Test {
protected:
  void SetUp() override {
    CFactory factory;
    APad::SetupBitmap(factory);
    CPadMatrix::SetupBitmap(factory);
    mLog.reset(new CLog);
    mMatrix.Initialize(mView, GT::CPointT<long>(100, 72),
                       boost::shared_ptr<VQ7::IPadFactory>(new VQ7::CPadFactory), mLog, mLog, mLog,
                       mLog);
    mMatrix.SetEnabled(true);
  }
  void Click(long x, long y, UL::CMouseInfo::EType type, uint32_t modifiers = 0) {
    mMatrix.Handle(
        UL::CMouseEvent(boost::any(), UL::CMouseInfo(type, GT::CPointT<long>(x, y), modifiers)));
  }
  CFakeBitmap& Pads() { return static_cast<CFakeBitmap&>(*APad::sPadBitmap); }

  CView mView;
  boost::shared_ptr<CLog> mLog;
  CPadMatrix mMatrix{4, 4, GT::CPointT<long>(5, 5), GT::CSizeT<long>(10, 10)};
};

TEST_F(PadMatrix, PressesHitOnePadOrNone) {
  struct {
    long x, y;
    char const* hit;
  } const cases[] = {
      {105, 227, "pad 0"}, {144, 266, "pad 0"},  // first and last pixel of pad 0
      {155, 227, "pad 1"},                       // pad 0's right edge + gap: pad 1
      {145, 227, ""},      {150, 240, ""},       // in the gap
      {104, 227, ""},      {105, 267, ""},       // left of and below pad 0
      {255, 77, "pad 15"}, {294, 116, "pad 15"},
  };
  for (auto const& c : cases) {
    mLog->mCalls.clear();
    Click(c.x, c.y, UL::CMouseInfo::Down);
    std::string const got = mLog->mCalls.empty() ? "" : mLog->mCalls.front();
    EXPECT_EQ(c.hit, got) << c.x << "," << c.y;
  }
}

TEST_F(PadMatrix, EventKindsReachTheListenersInOrder) {
  Click(105, 227, UL::CMouseInfo::Down, UL::CMouseInfo::Control);
  Click(105, 227, UL::CMouseInfo::Up);
  Click(105, 227, UL::CMouseInfo::Move);
  mMatrix.SetEnabled(false);
  Click(105, 227, UL::CMouseInfo::Down);
  EXPECT_TRUE(mLog->mCalls.empty());

  // Keys reach the pads, enabled or not, without a hit test.
  struct {
    int32_t code;
    char const* call;
  } const keys[] = {{0x101, "focus 0 3"}, {0x102, "focus 0 4"}, {0x103, "focus 0 1"},
                    {0x104, "focus 0 2"}, {0x109, "pad 0"},     {0x41, ""}};
  boost::shared_ptr<APad> pad0 = mMatrix.GetPad(3, 0);
  for (auto const& k : keys) {
    mLog->mCalls.clear();
    pad0->Handle(UL::CKeyEvent(boost::any(), k.code));
    EXPECT_EQ(k.call, mLog->mCalls.empty() ? std::string() : mLog->mCalls.front()) << k.code;
  }
}

TEST_F(PadMatrix, LooksFollowTheFlags) {
  boost::shared_ptr<APad> pad5 = mMatrix.GetPad(mMatrix.RowOf(5), mMatrix.ColumnOf(5));
  pad5->SetAssigned(true);
  pad5->SetFocused(true);
  EXPECT_EQ(53, pad5->GetBitmapStateId());
  pad5->SetAssigned(false);
  EXPECT_EQ(37, pad5->GetBitmapStateId());
  pad5->SetEnabled(false);
  EXPECT_EQ(5, pad5->GetBitmapStateId());

  mView.mRects.clear();
  mMatrix.SetFocused(0, 3);
  EXPECT_TRUE(mMatrix.GetPad(0, 3)->IsFocused());
  EXPECT_EQ(16u, mView.mRects.size());
  mMatrix.SetFocused(3, 0);
  EXPECT_FALSE(mMatrix.GetPad(0, 3)->IsFocused());
  mMatrix.KillFocused();
  EXPECT_FALSE(mMatrix.GetPad(0, 0)->IsFocused());
  EXPECT_FALSE(mMatrix.GetPad(4, 0));

  mView.mRects.clear();
  mMatrix.SetAssigned(true);  // every pad, each redrawing itself
  EXPECT_EQ(16u, mView.mRects.size());
  EXPECT_TRUE(mMatrix.GetPad(2, 1)->IsAssigned());
  mMatrix.SetAssigned(false);

  Pads().mDrawn.clear();
  mMatrix.GetPad(0, 0)->SetEnabled(true);
  mMatrix.GetPad(0, 0)->SetAssigned(true);
  mMatrix.GetPad(0, 0)->Draw(CNoDraw());
  EXPECT_EQ(std::vector<std::string>{"105,77:28"}, Pads().mDrawn);  // pad 12, assigned
}

}  // namespace
