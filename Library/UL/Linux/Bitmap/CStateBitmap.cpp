#include "UL/Linux/Bitmap/CStateBitmap.h"

#include "GT/Com/Base/DebugTrace.h"
#include "GT/Linux/FileSystem/FileManagerRoutines.h"
#include "UL/Linux/Bitmap/CDrawInfo.h"

#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <cassert>

namespace UL {

CStateBitmap::CStateBitmap(std::string const& name, long stateCount, bool horizontal, bool doubled)
    : AStateBitmap(name, stateCount, horizontal, doubled), mSize(0, 0) {}

CStateBitmap::~CStateBitmap() = default;

bool CStateBitmap::Create(std::string const& directory) {
  Destroy();
  std::string const path = directory + mName + ExtensionName();
  FSSpec spec;
  OSErr const error = FSPathMakeFSSpec(path.c_str(), &spec, nullptr);
  if (error != 0) {
    DebugTrace_("FSPathMakeFSSpec() failed: error=%d, path=%s\n", error, path.c_str());
    return false;
  }
  QImageReader reader(QString::fromStdString(path), "bmp");
  QImage image = reader.read();
  if (image.isNull()) {
    DebugTrace_("QImageReader::read() failed: error=%d, path=%s\n",
                static_cast<int>(reader.error()), path.c_str());
    return false;
  }
  // One format for every picture, the one the painter copies fastest.
  mImage.reset(new QImage(image.convertToFormat(QImage::Format_ARGB32_Premultiplied)));
  mSize = GT::CSizeT<long>(mImage->width(), mImage->height());
  mStateSize = ToStateSize(mSize);
  return true;
}

void CStateBitmap::Destroy() { mImage.reset(); }

void CStateBitmap::Draw(ADrawInfo const& info, GT::CPointT<long> const& at,
                        GT::CSizeT<long> const& size, GT::CPointT<long> source,
                        GT::CPointT<long> source2) {
  CDrawInfo const* drawInfo = dynamic_cast<CDrawInfo const*>(&info);
  QPainter* painter = drawInfo ? drawInfo->GetPainter() : nullptr;
  if (!mImage || !painter) return;
  // Only plain cells: the second image of a doubled strip is not drawn.
  assert(source2.x == 0 && source2.y == 0);
  if (source2.x != 0 || source2.y != 0) return;
  painter->drawImage(QPoint(static_cast<int>(at.x), static_cast<int>(at.y)), *mImage,
                     QRect(static_cast<int>(source.x), static_cast<int>(source.y),
                           static_cast<int>(size.width), static_cast<int>(size.height)));
}

}  // namespace UL
