#include "Executable/Com/PadMatrix/APad.h"

#include "Executable/Com/PadMatrix/IPadContainerView.h"
#include "UL/Com/Bitmap/ADrawInfo.h"

namespace VQ7 {

namespace {

class CNullSelectionEventListener : public APad::ISelectionEventListener {
public:
  void Handle(APad&) override {}
};

class CNullEditEventListener : public APad::IEditEventListener {
public:
  void Handle(APad&) override {}
};

class CNullFocusEventListener : public APad::IFocusEventListener {
public:
  void Handle(APad&, EDirection) override {}
};

class CNullExecuteEventListener : public APad::IExecuteEventListener {
public:
  void Handle(APad&) override {}
};

}  // namespace

boost::shared_ptr<UL::AStateBitmap> APad::sPadBitmap;

APad::APad(long id)
    : mId(id),
      mContainer(nullptr),
      mX(0),
      mY(0),
      mEnabled(false),
      mAssigned(false),
      mFocused(false),
      mSelectionEventListener(new CNullSelectionEventListener),
      mEditEventListener(new CNullEditEventListener),
      mFocusEventListener(new CNullFocusEventListener),
      mExecuteEventListener(new CNullExecuteEventListener) {}

APad::~APad() {}

void APad::SetupBitmap(UL::IStateBitmapFactory& factory) {
  sPadBitmap = factory.Create("Pads64", nStateCount, false, false);
  if (sPadBitmap) sPadBitmap->Create(factory.GetDirectoryPathName());
}

void APad::TeardownBitmap() {
  if (sPadBitmap) sPadBitmap->Destroy();
}

GT::CSizeT<long> APad::CellSize() {
  return sPadBitmap ? sPadBitmap->GetStateSize() : GT::CSizeT<long>(0, 0);
}

long APad::GetBitmapStateId() const {
  if (!mEnabled) return mId;
  long const look = ((mFocused ? 2 : 0) | (mAssigned ? 1 : 0));
  return look * nPadsPerLook + mId;
}

GT::CRectT<long> APad::GetRectangle() const {
  GT::CSizeT<long> const cell = CellSize();
  return GT::CRectT<long>(mX, mY, mX + cell.width, mY + cell.height);
}

void APad::SetAssigned(bool assigned) {
  mAssigned = assigned;
  Invalidate();
}

void APad::SetFocused(bool focused) {
  mFocused = focused;
  Invalidate();
}

void APad::Invalidate() {
  if (mContainer) mContainer->Invalidate(GetRectangle(), false);
}

void APad::Draw(UL::ADrawInfo const& info) {
  if (sPadBitmap) sPadBitmap->DrawState(info, GT::CPointT<long>(mX, mY), GetBitmapStateId());
}

void APad::Handle(UL::CMouseEvent const& event) {
  GT::CPointT<long> const p = event.mInfo.GetPoint();
  GT::CRectT<long> const r = GetRectangle();
  // The right and bottom edges belong to the next pad.
  if (p.x < r.left || p.x >= r.right || p.y < r.top || p.y >= r.bottom) return;
  if (!mEnabled || (event.mInfo.mModifiers & UL::CMouseInfo::Control) != 0) return;
  switch (event.mInfo.mType) {
    case UL::CMouseInfo::Down:
      mSelectionEventListener->Handle(*this);
      mFocusEventListener->Handle(*this, IFocusEventListener::Mouse);
      Invalidate();
      break;
    case UL::CMouseInfo::DoubleClick:
      mSelectionEventListener->Handle(*this);
      mFocusEventListener->Handle(*this, IFocusEventListener::Mouse);
      mExecuteEventListener->Handle(*this);
      Invalidate();
      break;
    case UL::CMouseInfo::Up:
      Invalidate();
      break;
    default:
      break;
  }
}

void APad::Handle(UL::CKeyEvent const& event) {
  switch (event.mCode) {
    case UL::CKeyEvent::KeySpace:
      mSelectionEventListener->Handle(*this);
      break;
    case UL::CKeyEvent::KeyLeft:
      mFocusEventListener->Handle(*this, IFocusEventListener::Left);
      break;
    case UL::CKeyEvent::KeyRight:
      mFocusEventListener->Handle(*this, IFocusEventListener::Right);
      break;
    case UL::CKeyEvent::KeyUp:
      mFocusEventListener->Handle(*this, IFocusEventListener::Up);
      break;
    case UL::CKeyEvent::KeyDown:
      mFocusEventListener->Handle(*this, IFocusEventListener::Down);
      break;
    case UL::CKeyEvent::KeyReturn:
      mEditEventListener->Handle(*this);
      break;
    default:
      break;
  }
}

}  // namespace VQ7
