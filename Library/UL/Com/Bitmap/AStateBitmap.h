#pragma once

#include "GT/Com/Geometry/CPointT.h"
#include "GT/Com/Geometry/CSizeT.h"

#include <string>

namespace UL {

class ADrawInfo;

// A picture that holds a strip of equally sized cells, one cell per state.
// A vertical strip has state 0 at the top, a horizontal one at the left. A
// doubled strip has a second image beside every cell: in a second row under a
// horizontal strip, in a second column right of a vertical one.
class AStateBitmap {
public:
  AStateBitmap(std::string const& name, long stateCount, bool horizontal, bool doubled);
  virtual ~AStateBitmap() = default;

  // Loads the picture called GetName() from the folder; true when loaded.
  virtual bool Create(std::string const& directory) = 0;
  // Frees the loaded picture; it can be loaded again.
  virtual void Destroy() = 0;
  // The size of the whole loaded picture.
  virtual GT::CSizeT<long> GetSize() const = 0;
  // Copies the size-sized rectangle at source in the picture to at; source2 is
  // the cell's second image for a doubled strip, (0, 0) otherwise.
  virtual void Draw(ADrawInfo const& info, GT::CPointT<long> const& at,
                    GT::CSizeT<long> const& size, GT::CPointT<long> source,
                    GT::CPointT<long> source2) = 0;
  // Draws the cell of one state, 0 <= stateId < GetStateCount(); a state out
  // of range draws nothing.
  virtual void DrawState(ADrawInfo const& info, GT::CPointT<long> const& at, long stateId);

  // The cell size of a picture of the given size; a remainder is dropped.
  GT::CSizeT<long> ToStateSize(GT::CSizeT<long> const& size) const;

  // The size of one cell; (0, 0) until the picture is loaded.
  GT::CSizeT<long> const& GetStateSize() const { return mStateSize; }
  std::string const& GetName() const { return mName; }
  long GetStateCount() const { return mStateCount; }
  bool IsHorizontal() const { return mHorizontal; }
  bool IsDoubled() const { return mDoubled; }

protected:
  GT::CSizeT<long> mStateSize;
  std::string mName;
  long mStateCount;
  bool mHorizontal;
  bool mDoubled;
};

}  // namespace UL
