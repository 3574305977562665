#include "Executable/Com/PadMatrix/CPadMatrix.h"

#include "UL/Com/Bitmap/ADrawInfo.h"

namespace VQ7 {

boost::shared_ptr<UL::AStateBitmap> CPadMatrix::sBitmap;

CPadMatrix::CPadMatrix(long rows, long columns, GT::CPointT<long> const& offset,
                       GT::CSizeT<long> const& gap)
    : mRows(rows < 0 ? 0 : rows),
      mColumns(columns < 0 ? 0 : columns),
      mOrigin(0, 0),
      mOffset(offset),
      mGap(gap),
      mPadFactory(),
      mPads() {}

CPadMatrix::~CPadMatrix() {}

void CPadMatrix::Initialize(IPadContainerView& view, GT::CPointT<long> const& origin,
                            boost::shared_ptr<IPadFactory> factory,
                            boost::shared_ptr<APad::ISelectionEventListener> selection,
                            boost::shared_ptr<APad::IEditEventListener> edit,
                            boost::shared_ptr<APad::IFocusEventListener> focus,
                            boost::shared_ptr<APad::IExecuteEventListener> execute) {
  mOrigin = origin;
  mPadFactory = factory;
  mPads.clear();
  mPads.resize(static_cast<size_t>(mRows * mColumns));
  for (long i = 0; i < mRows * mColumns; ++i) {
    boost::shared_ptr<APad> pad = factory->Create(i);
    pad->mContainer = &view;
    GT::CRectT<long> const r = pad->GetRectangle();
    long const w = r.right - r.left;
    long const h = r.bottom - r.top;
    pad->mX = (w + mGap.width) * ColumnOf(i) + origin.x + mOffset.x;
    pad->mY = (h + mGap.height) * RowOf(i) + origin.y + mOffset.y;
    if (selection) pad->mSelectionEventListener = selection;
    if (edit) pad->mEditEventListener = edit;
    if (focus) pad->mFocusEventListener = focus;
    if (execute) pad->mExecuteEventListener = execute;
    mPads[static_cast<size_t>(i)] = pad;
  }
}

void CPadMatrix::SetupBitmap(UL::IStateBitmapFactory& factory) {
  sBitmap = factory.Create("Background", 1, false, false);
  if (sBitmap) sBitmap->Create(factory.GetDirectoryPathName());
}

void CPadMatrix::TeardownBitmap() {
  if (sBitmap) sBitmap->Destroy();
}

GT::CRectT<long> CPadMatrix::GetRectangle() const {
  GT::CSizeT<long> const size = sBitmap ? sBitmap->GetStateSize() : GT::CSizeT<long>(0, 0);
  return GT::CRectT<long>(mOrigin.x, mOrigin.y, mOrigin.x + size.width, mOrigin.y + size.height);
}

void CPadMatrix::Draw(UL::ADrawInfo const& info) {
  if (sBitmap) sBitmap->DrawState(info, mOrigin, 0);
  for (boost::shared_ptr<APad> const& pad : mPads) pad->Draw(info);
}

void CPadMatrix::Invalidate() {
  for (boost::shared_ptr<APad> const& pad : mPads) pad->Invalidate();
}

void CPadMatrix::Handle(UL::CMouseEvent const& event) {
  for (boost::shared_ptr<APad> const& pad : mPads) pad->Handle(event);
}

void CPadMatrix::Handle(UL::CKeyEvent const& event) {
  for (boost::shared_ptr<APad> const& pad : mPads) pad->Handle(event);
}

void CPadMatrix::SetFocused(long row, long column) {
  long const k = IdOf(row, column);
  for (size_t i = 0; i < mPads.size(); ++i) mPads[i]->SetFocused(static_cast<long>(i) == k);
}

void CPadMatrix::KillFocused() {
  for (boost::shared_ptr<APad> const& pad : mPads) pad->SetFocused(false);
}

void CPadMatrix::SetEnabled(bool enabled) {
  for (boost::shared_ptr<APad> const& pad : mPads) pad->SetEnabled(enabled);
}

void CPadMatrix::SetAssigned(bool assigned) {
  for (boost::shared_ptr<APad> const& pad : mPads) pad->SetAssigned(assigned);
}

boost::shared_ptr<APad> CPadMatrix::GetPad(long row, long column) {
  if (row < 0 || row >= mRows || column < 0 || column >= mColumns ||
      mPads.size() != static_cast<size_t>(mRows * mColumns))
    return boost::shared_ptr<APad>();
  return mPads[static_cast<size_t>(IdOf(row, column))];
}

}  // namespace VQ7
