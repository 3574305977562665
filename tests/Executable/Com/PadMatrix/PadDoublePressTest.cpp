// What a press reaches, in order: the selection, the focus, the execution
// and last the pad's own redraw.

#include "Executable/Com/PadMatrix/CPadFactory.h"
#include "Executable/Com/PadMatrix/CPadMatrix.h"
#include "Executable/Com/PadMatrix/IPadContainerView.h"
#include "Support/FakePadPictures.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using VQ7::APad;

typedef std::vector<std::string> CCalls;

struct CSelection : APad::ISelectionEventListener {
  explicit CSelection(CCalls& calls) : mCalls(calls) {}
  void Handle(APad& pad) override { mCalls.push_back("select " + std::to_string(pad.mId)); }
  CCalls& mCalls;
};
struct CFocus : APad::IFocusEventListener {
  explicit CFocus(CCalls& calls) : mCalls(calls) {}
  void Handle(APad& pad, EDirection d) override {
    mCalls.push_back("focus " + std::to_string(pad.mId) + " " + std::to_string(d));
  }
  CCalls& mCalls;
};
struct CExecute : APad::IExecuteEventListener {
  explicit CExecute(CCalls& calls) : mCalls(calls) {}
  void Handle(APad& pad) override { mCalls.push_back("execute " + std::to_string(pad.mId)); }
  CCalls& mCalls;
};
struct CView : VQ7::IPadContainerView {
  explicit CView(CCalls& calls) : mCalls(calls) {}
  void Invalidate(GT::CRectT<long> const& r, bool) override {
    mCalls.push_back("redraw " + std::to_string(r.left) + "," + std::to_string(r.top));
  }
  CCalls& mCalls;
};

TEST(PadDoublePress, SelectionThenFocusThenExecutionThenTheRedrawOnce) {
  Support::CFakePadPictures::Install();
  CCalls calls;
  CView view(calls);
  VQ7::CPadMatrix matrix(4, 4, GT::CPointT<long>(5, 5), GT::CSizeT<long>(10, 10));
  matrix.Initialize(view, GT::CPointT<long>(100, 72),
                    boost::shared_ptr<VQ7::IPadFactory>(new VQ7::CPadFactory),
                    boost::make_shared<CSelection>(calls), nullptr,
                    boost::make_shared<CFocus>(calls), boost::make_shared<CExecute>(calls));
  // Pad 5: row 2 from the top, column 1; its top left at (155, 177).
  struct {
    UL::CMouseInfo::EType type;
    uint32_t modifiers;
    bool enabled;
    CCalls expected;
  } const cases[] = {
      {UL::CMouseInfo::DoubleClick,
       0,
       true,
       {"select 5", "focus 5 0", "execute 5", "redraw 155,177"}},
      {UL::CMouseInfo::DoubleClick,
       UL::CMouseInfo::Shift,
       true,
       {"select 5", "focus 5 0", "execute 5", "redraw 155,177"}},
      {UL::CMouseInfo::Down, 0, true, {"select 5", "focus 5 0", "redraw 155,177"}},
      {UL::CMouseInfo::DoubleClick, UL::CMouseInfo::Control, true, {}},
      {UL::CMouseInfo::DoubleClick, 0, false, {}},
  };
  for (auto const& c : cases) {
    matrix.SetEnabled(c.enabled);
    calls.clear();
    matrix.Handle(UL::CMouseEvent(
        boost::any(), UL::CMouseInfo(c.type, GT::CPointT<long>(170, 190), c.modifiers)));
    EXPECT_EQ(c.expected, calls) << c.type << " " << c.modifiers << " " << c.enabled;
  }
}

}  // namespace
