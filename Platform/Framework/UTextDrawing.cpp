#include "Platform/Framework/UTextDrawing.h"

#include <QFontMetrics>
#include <QPainter>

void UTextDrawing::DrawTruncatedWithJust(QPainter& painter, QString const& text, QRect const& box,
                                         int justification) {
  QString const shown = painter.fontMetrics().elidedText(text, Qt::ElideLeft, box.width());
  Qt::Alignment const horizontal = justification < 0   ? Qt::AlignRight
                                   : justification > 0 ? Qt::AlignHCenter
                                                       : Qt::AlignLeft;
  painter.drawText(box, static_cast<int>(horizontal | Qt::AlignVCenter | Qt::TextSingleLine),
                   shown);
}
