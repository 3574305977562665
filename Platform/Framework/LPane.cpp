#include "Platform/Framework/LPane.h"

#include "Platform/Framework/CPaneWidget.h"
#include "Platform/Framework/LStream.h"
#include "Platform/Framework/LView.h"
#include "Platform/Framework/LWindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPainter>

int16_t LPane::sClickCount = 0;

LPane::LPane(LStream* stream) : LPane(stream, nullptr) {}

LPane::LPane(LStream* stream, QWidget* widget)
    : mPaneID(0),
      mWidget(widget ? widget : new CPaneWidget(this)),
      mSuperView(nullptr),
      mPainter(nullptr),
      mVisible(true) {
  if (stream) Init(stream);
}

void LPane::Init(LStream* stream) {
  mPaneID = stream->PaneId();
  QRect const frame = stream->Frame();
  if (frame.isValid()) mWidget->setGeometry(frame);
  // Shown once it sits in its view: a widget without parent would open as a window.
  mVisible = stream->Flag("visible", true);
  mWidget->setEnabled(stream->Flag("enabled", true));
}

LPane::~LPane() {
  if (CPaneWidget* own = dynamic_cast<CPaneWidget*>(mWidget.data())) own->Forget();
  delete mWidget.data();
}

void LPane::SetDescriptor(std::string const& text) {
  mWidget->setWindowTitle(QString::fromStdString(text));
}

std::string LPane::GetDescriptor() const { return mWidget->windowTitle().toStdString(); }

void LPane::Show() {
  mVisible = true;
  if (mSuperView) mWidget->setVisible(true);
}

void LPane::Hide() {
  mVisible = false;
  mWidget->setVisible(false);
}

bool LPane::IsVisible() const { return mVisible; }

void LPane::Enable() { mWidget->setEnabled(true); }

void LPane::Disable() { mWidget->setEnabled(false); }

bool LPane::IsEnabled() const { return mWidget->isEnabled(); }

void LPane::Refresh() { mWidget->update(); }

void LPane::RefreshRect(QRect const& local) { mWidget->update(local); }

void LPane::UpdatePort() {
  // Draws and flushes what has been refreshed since the last time, and
  // nothing when nothing has: a full repaint each time costs a progress
  // window more than the work it reports on.
  QCoreApplication::sendPostedEvents(mWidget->window(), QEvent::UpdateRequest);
}

QRect LPane::GetFrame() const { return mWidget->geometry(); }

void LPane::CalcLocalFrameRect(QRect& frame) const {
  frame = QRect(0, 0, mWidget->width(), mWidget->height());
}

void LPane::ResizeFrameTo(int width, int height) { mWidget->resize(width, height); }

void LPane::PlaceInSuperFrameAt(int x, int y) { mWidget->move(x, y); }

LWindow* LPane::GetContainerWindow() const {
  LPane const* pane = this;
  while (pane->mSuperView) pane = pane->mSuperView;
  return dynamic_cast<LWindow*>(const_cast<LPane*>(pane));
}

QPoint LPane::LocalToPort(QPoint const& local) const {
  LWindow* window = GetContainerWindow();
  if (!window || window == this) return local;
  return mWidget->mapTo(window->GetWidget(), local);
}

QPoint LPane::PortToLocal(QPoint const& port) const {
  LWindow* window = GetContainerWindow();
  if (!window || window == this) return port;
  return mWidget->mapFrom(window->GetWidget(), port);
}

void LPane::AdjustMouseSelf(QPoint const&, EventRecord const&) { mWidget->unsetCursor(); }

void LPane::PaintPane(QPainter& painter) {
  mPainter = &painter;
  struct CReset {
    QPainter*& p;
    ~CReset() { p = nullptr; }
  } reset{mPainter};
  DrawSelf();
}
