#pragma once

// Pad and background pictures of fixed sizes that draw nothing, for the pad
// matrix without a window: pads of 40 x 40, a background of 200 x 200.

#include "Executable/Com/PadMatrix/APad.h"
#include "Executable/Com/PadMatrix/CPadMatrix.h"
#include "UL/Com/Bitmap/AStateBitmap.h"
#include "UL/Com/Bitmap/IStateBitmapFactory.h"

namespace Support {

class CFakePadPictures : public UL::IStateBitmapFactory {
public:
  class CPicture : public UL::AStateBitmap {
  public:
    CPicture(std::string const& name, long states, GT::CSizeT<long> size)
        : UL::AStateBitmap(name, states, false, false), mSize(size) {}
    bool Create(std::string const&) override {
      mStateSize = ToStateSize(mSize);
      return true;
    }
    void Destroy() override {}
    GT::CSizeT<long> GetSize() const override { return mSize; }
    void Draw(UL::ADrawInfo const&, GT::CPointT<long> const&, GT::CSizeT<long> const&,
              GT::CPointT<long>, GT::CPointT<long>) override {}
    GT::CSizeT<long> mSize;
  };

  // The pads' strip of 64 states of 40 x 40, or the background.
  static GT::CSizeT<long> SizeOf(std::string const& name) {
    return name == "Pads64" ? GT::CSizeT<long>(40, 2560) : GT::CSizeT<long>(200, 200);
  }
  boost::shared_ptr<UL::AStateBitmap> Create(std::string const& name, long states, bool,
                                             bool) override {
    return boost::shared_ptr<UL::AStateBitmap>(new CPicture(name, states, SizeOf(name)));
  }
  std::string GetDirectoryPathName() const override { return "/x/"; }

  // Installs the pictures for every pad and matrix.
  static void Install() {
    CFakePadPictures factory;
    VQ7::APad::SetupBitmap(factory);
    VQ7::CPadMatrix::SetupBitmap(factory);
  }
};

}  // namespace Support
