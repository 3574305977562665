#pragma once

#include "GT/Com/Geometry/CRectT.h"
#include "UL/Com/Bitmap/AStateBitmap.h"
#include "UL/Com/Bitmap/IStateBitmapFactory.h"
#include "UL/Com/Event/IKeyEventListener.h"
#include "UL/Com/Event/IMouseEventListener.h"

#include <boost/shared_ptr.hpp>

#include <cstdint>

namespace UL {
class ADrawInfo;
}

namespace VQ7 {

class IPadContainerView;

// One of the 16 buttons that stand for the sample slots of a bank. It draws
// itself as a cell of the shared picture "Pads64" and reports what the user
// did to its listeners instead of acting itself.
class APad : public UL::IMouseEventListener, public UL::IKeyEventListener {
public:
  class ISelectionEventListener {
  public:
    virtual ~ISelectionEventListener() {}
    virtual void Handle(APad& pad) = 0;
  };

  class IEditEventListener {
  public:
    virtual ~IEditEventListener() {}
    virtual void Handle(APad& pad) = 0;
  };

  class IFocusEventListener {
  public:
    // How the pad took the focus: by the mouse, or by a key.
    enum EDirection : int32_t { Mouse = 0, Up = 1, Down = 2, Left = 3, Right = 4 };
    virtual ~IFocusEventListener() {}
    virtual void Handle(APad& pad, EDirection direction) = 0;
  };

  class IExecuteEventListener {
  public:
    virtual ~IExecuteEventListener() {}
    virtual void Handle(APad& pad) = 0;
  };

  // Four blocks of 16 cells: plain, assigned, focused, focused and assigned.
  enum { nStateCount = 64, nPadsPerLook = 16 };

  explicit APad(long id);
  ~APad() override;

  void Handle(UL::CMouseEvent const& event) override;
  virtual void Invalidate();
  virtual void Draw(UL::ADrawInfo const& info);
  void Handle(UL::CKeyEvent const& event) override;

  static void SetupBitmap(UL::IStateBitmapFactory& factory);
  static void TeardownBitmap();

  long GetBitmapStateId() const;
  GT::CRectT<long> GetRectangle() const;

  void SetEnabled(bool enabled) { mEnabled = enabled; }
  void SetAssigned(bool assigned);
  void SetFocused(bool focused);
  bool IsEnabled() const { return mEnabled; }
  bool IsAssigned() const { return mAssigned; }
  bool IsFocused() const { return mFocused; }

  static boost::shared_ptr<UL::AStateBitmap> sPadBitmap;

  long mId;
  IPadContainerView* mContainer;
  long mX;
  long mY;
  bool mEnabled;
  bool mAssigned;
  bool mFocused;
  boost::shared_ptr<ISelectionEventListener> mSelectionEventListener;
  boost::shared_ptr<IEditEventListener> mEditEventListener;
  boost::shared_ptr<IFocusEventListener> mFocusEventListener;
  boost::shared_ptr<IExecuteEventListener> mExecuteEventListener;

private:
  // The cell size; (0, 0) while no picture is loaded, so nothing is hit.
  static GT::CSizeT<long> CellSize();
};

}  // namespace VQ7
