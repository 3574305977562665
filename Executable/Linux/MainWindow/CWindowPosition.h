#pragma once

#include <QPoint>
#include <QRect>

#include <vector>

namespace VQ7 {

// The stored form of the main window's position ("MainWindowPos"): the
// content area's global top-left corner as (left << 16) | (top & 0xFFFF),
// both signed 16-bit.
class CWindowPosition {
public:
  // What a read of the key gives when nothing is stored: no stored value
  // can be it, so a window at (0, 0) is a position like any other.
  static long const nAbsent;

  static long Pack(long left, long top);
  // False for nAbsent and for anything the store could not have written.
  static bool Unpack(long stored, long& left, long& top);

  // The top-left corner for a content rectangle: unchanged when enough of
  // it lies on one of the screens, else moved onto the first screen.
  static QPoint OntoScreens(QRect const& content, std::vector<QRect> const& screens);
};

}  // namespace VQ7
