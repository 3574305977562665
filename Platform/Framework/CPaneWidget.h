#pragma once

#include "Platform/Framework/FrameworkTypes.h"

#include <QWidget>

class LPane;

// The widget of a pane that draws itself: hands painting and the mouse to it.
class CPaneWidget : public QWidget {
public:
  explicit CPaneWidget(LPane* owner);
  void Forget() { mOwner = nullptr; }

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  void Press(QMouseEvent* event);
  LPane* mOwner;
};

// The framework's event record of a toolkit mouse event.
EventRecord MouseEventRecord(QMouseEvent const& event, uint16_t what);
