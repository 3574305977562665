#pragma once

#include "UL/Com/Bitmap/AStateBitmap.h"

#include <memory>

class QImage;

namespace UL {

// A multi-state picture read from a BMP file and drawn with the painter of
// the drawing context.
class CStateBitmap : public AStateBitmap {
public:
  CStateBitmap(std::string const& name, long stateCount, bool horizontal, bool doubled);
  ~CStateBitmap() override;

  static std::string ExtensionName() { return ".bmp"; }

  // Loads directory + name + ".bmp"; the directory ends with "/". Never
  // throws: a failure writes one line on standard error and answers false.
  bool Create(std::string const& directory) override;
  void Destroy() override;
  GT::CSizeT<long> GetSize() const override { return mSize; }
  // Draws nothing when no picture is loaded or the context has no painter.
  void Draw(ADrawInfo const& info, GT::CPointT<long> const& at, GT::CSizeT<long> const& size,
            GT::CPointT<long> source, GT::CPointT<long> source2) override;

private:
  std::unique_ptr<QImage> mImage;
  GT::CSizeT<long> mSize;
};

}  // namespace UL
