#include "Platform/Framework/CPaneWidget.h"

#include "Platform/Framework/LException.h"
#include "Platform/Framework/LPane.h"

#include <QMouseEvent>
#include <QPainter>

EventRecord MouseEventRecord(QMouseEvent const& event, uint16_t what) {
  EventRecord record;
  record.what = what;
  record.modifiers = ModifiersOf(event.modifiers());
  record.where = event.globalPosition().toPoint();
  return record;
}

CPaneWidget::CPaneWidget(LPane* owner) : mOwner(owner) { setMouseTracking(true); }

void CPaneWidget::paintEvent(QPaintEvent*) {
  if (!mOwner) return;
  QPainter painter(this);
  CatchAndReport("drawing", [&] { mOwner->PaintPane(painter); });
}

void CPaneWidget::Press(QMouseEvent* event) {
  if (!mOwner || event->button() != Qt::LeftButton) return;
  SMouseDownEvent down;
  down.macEvent = MouseEventRecord(*event, nEventMouseDown);
  down.whereLocal = event->position().toPoint();
  down.wherePort = mOwner->LocalToPort(down.whereLocal);
  CatchAndReport("click", [&] { mOwner->ClickSelf(down); });
}

void CPaneWidget::mousePressEvent(QMouseEvent* event) {
  LPane::sClickCount = 1;
  Press(event);
}

void CPaneWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  // The toolkit reports the second press of a multiple click as a double
  // click; a count reset by the pane starts again at 2.
  LPane::sClickCount = LPane::sClickCount > 0 ? static_cast<int16_t>(LPane::sClickCount + 1) : 2;
  Press(event);
}

void CPaneWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!mOwner) return;
  QPoint const port = mOwner->LocalToPort(event->position().toPoint());
  if (event->buttons() & Qt::LeftButton) {
    SMouseTrackEvent track{nMouseTrackingDragged, port, ModifiersOf(event->modifiers())};
    CatchAndReport("mouse tracking", [&] { mOwner->MouseTrackSelf(track); });
  } else if (event->buttons() == Qt::NoButton) {
    EventRecord const record = MouseEventRecord(*event, nEventNull);
    CatchAndReport("mouse moving", [&] { mOwner->AdjustMouseSelf(port, record); });
  }
}

void CPaneWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (!mOwner || event->button() != Qt::LeftButton) return;
  QPoint const port = mOwner->LocalToPort(event->position().toPoint());
  SMouseTrackEvent track{nMouseTrackingReleased, port, ModifiersOf(event->modifiers())};
  CatchAndReport("mouse tracking", [&] { mOwner->MouseTrackSelf(track); });
}
