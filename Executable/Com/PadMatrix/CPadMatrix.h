#pragma once

#include "Executable/Com/PadMatrix/APad.h"
#include "Executable/Com/PadMatrix/IPadFactory.h"
#include "GT/Com/Geometry/CPointT.h"
#include "GT/Com/Geometry/CRectT.h"
#include "GT/Com/Geometry/CSizeT.h"

#include <boost/shared_ptr.hpp>

#include <vector>

namespace VQ7 {

class IPadContainerView;

// A grid of pads over the picture "Background". Pad numbers grow from the
// bottom row up, left to right; rows of the row/column operations count from
// the top.
class CPadMatrix : public UL::IMouseEventListener, public UL::IKeyEventListener {
public:
  CPadMatrix(long rows, long columns, GT::CPointT<long> const& offset, GT::CSizeT<long> const& gap);
  ~CPadMatrix() override;

  // Builds and places the pads; an empty listener leaves the pads' own
  // do-nothing one. Every pad shares the listeners given.
  void Initialize(IPadContainerView& view, GT::CPointT<long> const& origin,
                  boost::shared_ptr<IPadFactory> factory,
                  boost::shared_ptr<APad::ISelectionEventListener> selection,
                  boost::shared_ptr<APad::IEditEventListener> edit,
                  boost::shared_ptr<APad::IFocusEventListener> focus,
                  boost::shared_ptr<APad::IExecuteEventListener> execute);

  static void SetupBitmap(UL::IStateBitmapFactory& factory);
  static void TeardownBitmap();

  GT::CRectT<long> GetRectangle() const;
  void Draw(UL::ADrawInfo const& info);
  void Invalidate();

  // Every pad sees the event and decides by itself whether it concerns it.
  void Handle(UL::CMouseEvent const& event) override;
  void Handle(UL::CKeyEvent const& event) override;

  void SetFocused(long row, long column);
  void KillFocused();
  void SetEnabled(bool enabled);
  void SetAssigned(bool assigned);
  // The pad at a row (from the top) and column; empty outside the grid.
  boost::shared_ptr<APad> GetPad(long row, long column);

  long GetRows() const { return mRows; }
  long GetColumns() const { return mColumns; }
  // The id of the pad at a row and column, and the reverse.
  long IdOf(long row, long column) const { return (mRows - row - 1) * mColumns + column; }
  long RowOf(long id) const { return mRows - 1 - id / mColumns; }
  long ColumnOf(long id) const { return id % mColumns; }

  static boost::shared_ptr<UL::AStateBitmap> sBitmap;

private:
  long mRows;
  long mColumns;
  GT::CPointT<long> mOrigin;
  GT::CPointT<long> mOffset;
  GT::CSizeT<long> mGap;
  boost::shared_ptr<IPadFactory> mPadFactory;
  std::vector<boost::shared_ptr<APad> > mPads;
};

}  // namespace VQ7
