#include "UL/Linux/Bitmap/CStateBitmap.h"

#include "GT/Com/Base/DebugTrace.h"
#include "GT/Linux/FileSystem/FileManagerRoutines.h"
#include "UL/Linux/Bitmap/CDrawInfo.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <cassert>
#include <cstdint>
#include <cstdlib>
#include <fstream>

namespace UL {

namespace {

// Where the fields the size check needs lie in a BMP file.
std::size_t const nBmpFileHeaderSize = 14;
std::size_t const nBmpDataOffsetAt = 10;
std::size_t const nBmpCoreHeaderSize = 12;  // 16-bit width and height
std::size_t const nBmpInfoHeaderSize = 40;  // 32-bit width and height
uint32_t const nBmpUncompressed = 0;
uint32_t const nBmpBitFields = 3;

uint32_t Little(unsigned char const* p, std::size_t bytes) {
  uint32_t value = 0;
  for (std::size_t i = bytes; i-- > 0;) value = (value << 8) | p[i];
  return value;
}

// The bytes a BMP file must hold for all its rows: header, colour table and
// padded rows. 0 when the header does not say (compressed data), so that
// the reader alone judges the file.
uint64_t BmpBytesNeeded(std::string const& path) {
  unsigned char head[nBmpFileHeaderSize + nBmpInfoHeaderSize] = {};
  std::ifstream file(path, std::ios::binary);
  file.read(reinterpret_cast<char*>(head), sizeof head);
  std::size_t const got = static_cast<std::size_t>(file.gcount());
  if (got < nBmpFileHeaderSize + nBmpCoreHeaderSize || head[0] != 'B' || head[1] != 'M') return 0;
  unsigned char const* info = head + nBmpFileHeaderSize;
  uint32_t const infoSize = Little(info, 4);
  uint64_t width = 0, height = 0, bits = 0;
  if (infoSize == nBmpCoreHeaderSize) {
    width = Little(info + 4, 2);
    height = Little(info + 6, 2);
    bits = Little(info + 10, 2);
  } else if (infoSize >= nBmpInfoHeaderSize && got == sizeof head) {
    uint32_t const compression = Little(info + 16, 4);
    if (compression != nBmpUncompressed && compression != nBmpBitFields) return 0;
    width = static_cast<uint64_t>(
        std::abs(static_cast<int64_t>(static_cast<int32_t>(Little(info + 4, 4)))));
    height = static_cast<uint64_t>(
        std::abs(static_cast<int64_t>(static_cast<int32_t>(Little(info + 8, 4)))));
    bits = Little(info + 14, 2);
  } else {
    return 0;
  }
  uint64_t const rowBytes = (width * bits + 31u) / 32u * 4u;  // rows padded to 32 bits
  uint64_t const offset = Little(head + nBmpDataOffsetAt, 4);
  if (rowBytes != 0 && height > (UINT64_MAX - offset) / rowBytes) return UINT64_MAX;
  return offset + rowBytes * height;
}

}  // namespace

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
  // The reader fills a cut-off picture with black rather than failing.
  uint64_t const needed = BmpBytesNeeded(path);
  uint64_t const size = static_cast<uint64_t>(QFileInfo(QString::fromStdString(path)).size());
  if (needed != 0 && size < needed) {
    DebugTrace_("BMP file truncated: size=%llu, needed=%llu, path=%s\n",
                static_cast<unsigned long long>(size), static_cast<unsigned long long>(needed),
                path.c_str());
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
