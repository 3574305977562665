#include "Executable/Linux/MainWindow/CWindowPosition.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace VQ7 {

long const CWindowPosition::nAbsent = LONG_MIN;

long CWindowPosition::Pack(long left, long top) {
  // Shifted as unsigned bits: a negative left must not be shifted signed.
  uint32_t const bits =
      (static_cast<uint32_t>(left) << 16) | (static_cast<uint32_t>(top) & 0xFFFFu);
  return static_cast<long>(static_cast<int32_t>(bits));
}

bool CWindowPosition::Unpack(long stored, long& left, long& top) {
  if (stored < INT32_MIN || stored > INT32_MAX) return false;
  uint32_t const bits = static_cast<uint32_t>(static_cast<int32_t>(stored));
  left = static_cast<int16_t>(static_cast<uint16_t>(bits >> 16));
  top = static_cast<int16_t>(static_cast<uint16_t>(bits & 0xFFFFu));
  return true;
}

QPoint CWindowPosition::OntoScreens(QRect const& content, std::vector<QRect> const& screens) {
  if (screens.empty()) return content.topLeft();
  // Enough to grab the window: its top strip, up to 64 x 24 pixels of it.
  int const needWidth = std::min(content.width(), 64);
  int const needHeight = std::min(content.height(), 24);
  QRect const strip(content.topLeft(), QSize(content.width(), std::max(needHeight, 1)));
  for (QRect const& screen : screens) {
    QRect const seen = screen.intersected(strip);
    if (seen.width() >= needWidth && seen.height() >= needHeight && !seen.isEmpty())
      return content.topLeft();
  }
  QRect const target = screens.front();
  int const x =
      std::max(target.left(), std::min(content.left(), target.right() - content.width() + 1));
  int const y =
      std::max(target.top(), std::min(content.top(), target.bottom() - content.height() + 1));
  return QPoint(x, y);
}

}  // namespace VQ7
