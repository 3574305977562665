#pragma once

#include <QString>

class QPainter;
class QRect;

// Text drawn into a box.
class UTextDrawing {
public:
  // In the painter's font and pen; justification -1 right, 0 left, 1 centre.
  // A text wider than the box is cut at its left behind an ellipsis.
  static void DrawTruncatedWithJust(QPainter& painter, QString const& text, QRect const& box,
                                    int justification);
};
