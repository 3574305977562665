#include "Platform/Framework/LWindow.h"

#include "Platform/Framework/LCarbonApp.h"
#include "Platform/Framework/LControl.h"
#include "Platform/Framework/LException.h"
#include "Platform/Framework/LStream.h"
#include "Platform/Framework/UKeyFilters.h"
#include "Platform/Framework/UModalState.h"
#include "Platform/Framework/UReanimator.h"

#include <QCloseEvent>
#include <QJsonArray>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QTimer>

#include <algorithm>

namespace {

std::vector<LWindow*> sWindows;

}  // namespace

class CWindowWidget : public QMainWindow {
public:
  explicit CWindowWidget(LWindow* owner) : mOwner(owner) {}
  void Forget() { mOwner = nullptr; }

protected:
  void closeEvent(QCloseEvent* event) override {
    // The framework closes windows itself; the toolkit never does.
    event->ignore();
    if (mOwner) CatchAndReport("closing", [this] { mOwner->CloseRequested(); });
  }
  void keyPressEvent(QKeyEvent* event) override {
    bool handled = false;
    EventRecord const record = UKeyFilters::KeyEventRecord(*event);
    if (mOwner) CatchAndReport("key", [&] { mOwner->KeyPressed(record, handled); });
    if (!handled) event->ignore();
  }
  void changeEvent(QEvent* event) override {
    // While a modal window is open no other window becomes the target, so
    // its keys cannot reach another window's commands.
    QWidget* modal = UModalState::Current();
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && mOwner &&
        (!modal || modal == this))
      LCommander::SwitchTarget(mOwner);
    QMainWindow::changeEvent(event);
  }

private:
  LWindow* mOwner;
};

LWindow::LWindow(LStream* stream) : LView(stream), mWindow(new CWindowWidget(this)) {
  sWindows.push_back(this);
  QJsonArray const size = stream ? stream->Object().value("size").toArray() : QJsonArray();
  QWidget* content = GetWidget();
  content->setFocusPolicy(Qt::StrongFocus);
  mWindow->setCentralWidget(content);
  if (size.size() == 2) content->setFixedSize(size[0].toInt(), size[1].toInt());
  content->setVisible(true);
  if (stream) {
    mWindow->setWindowTitle(stream->Object().value("title").toString());
    QJsonObject const texts = stream->Texts();
    if (texts.value("title").isString()) mWindow->setWindowTitle(texts.value("title").toString());
    QJsonArray const position = stream->Object().value("position").toArray();
    if (position.size() == 2) mWindow->move(position[0].toInt(), position[1].toInt());
    if (stream->Flag("menuBar", false) && LCarbonApp::GetApplication())
      LCarbonApp::GetApplication()->InstallMenuBar(this);
    // A dialog window, kept above the others; its modal state is the
    // framework's (UModalState), not the toolkit's, which would drop the
    // other windows' close requests instead of letting them wait.
    if (stream->Flag("modal", false)) mWindow->setWindowFlags(Qt::Dialog);
  }
}

LWindow::~LWindow() {
  sWindows.erase(std::remove(sWindows.begin(), sWindows.end(), this), sWindows.end());
  mWindow->Forget();
  // The content widget goes with the panes (LPane's destructor); take it out
  // of the window first so the toolkit does not delete it twice.
  if (GetWidget()) GetWidget()->setParent(nullptr);
  delete mWindow;
}

std::vector<LWindow*> const& LWindow::GetWindows() { return sWindows; }

bool LWindow::Exists(LWindow const* window) {
  return std::find(sWindows.begin(), sWindows.end(), window) != sWindows.end();
}

LWindow* LWindow::CreateWindow(ResIDT id, LCommander* super) {
  return UReanimator::CreateWindow(id, super);
}

void LWindow::Show() {
  mWindow->show();
  SwitchTarget(this);
}

void LWindow::Hide() { mWindow->hide(); }

void LWindow::Select() {
  mWindow->show();
  mWindow->raise();
  mWindow->activateWindow();
  SwitchTarget(this);
}

void LWindow::SetDescriptor(std::string const& text) {
  mWindow->setWindowTitle(QString::fromStdString(text));
}

std::string LWindow::GetDescriptor() const { return mWindow->windowTitle().toStdString(); }

void LWindow::InvalPortRect(QRect const& rect) { GetWidget()->update(rect); }

void LWindow::MoveWindowTo(int left, int top) {
  // Placed through the same geometry GetGlobalBounds reads (the client area,
  // not the frame), so a position read back and set again does not creep.
  if (mWindow->layout()) mWindow->layout()->activate();
  QPoint const offset = GetWidget()->mapTo(mWindow, QPoint(0, 0));
  QRect geometry = mWindow->geometry();
  geometry.moveTopLeft(QPoint(left, top) - offset);
  mWindow->setGeometry(geometry);
}

QRect LWindow::GetGlobalBounds() const {
  return QRect(GetWidget()->mapToGlobal(QPoint(0, 0)), GetWidget()->size());
}

void LWindow::AttemptClose() {
  LCommander* super = GetSuperCommander();
  if (super && !super->AllowSubRemoval(this)) return;
  DoClose();
}

void LWindow::DoClose() {
  mWindow->hide();
  // Deleting now could pull the window from under the event that asked.
  QTimer::singleShot(0, [this] {
    if (Exists(this)) delete this;
  });
}

QMainWindow* LWindow::GetWindowWidget() const { return mWindow; }

QMenuBar* LWindow::GetMenuBar() { return mWindow->menuBar(); }

void LWindow::SetRawKeyHandler(std::function<int32_t(EventRecord const&)> handler) {
  mRawKeyHandler = std::move(handler);
}

void LWindow::CloseRequested() {
  QWidget* modal = UModalState::Current();
  if (modal && modal != mWindow) {
    // A modal loop is running for some operation; close when it is over.
    UModalState::Defer([this] {
      if (Exists(this)) AttemptClose();
    });
    return;
  }
  AttemptClose();
}

void LWindow::KeyPressed(EventRecord const& event, bool& handled) {
  if (mRawKeyHandler) {
    handled = mRawKeyHandler(event) != err_NotHandled;
    return;
  }
  SwitchTarget(this);
  handled = HandleKeyPress(event);
}

LDialogBox::LDialogBox(LStream* stream)
    : LWindow(stream),
      mDefaultButton(stream ? stream->Id("default", 0) : 0),
      mCancelButton(stream ? stream->Id("cancel", 0) : 0) {}

bool LDialogBox::ClickIfUsable(PaneIDT id) {
  if (id == 0) return false;
  LControl* button = dynamic_cast<LControl*>(FindPaneByID(id));
  if (!button || !button->IsVisible() || !button->IsEnabled()) return false;
  button->SimulateHotSpotClick(0);
  return true;
}

bool LDialogBox::HandleKeyPress(EventRecord const& event) {
  // Escape and Return belong to the dialog whether or not a button takes
  // them: they never travel on to other windows' commands.
  if (UKeyFilters::IsEscapeKey(event)) {
    ClickIfUsable(mCancelButton);
    return true;
  }
  if (UKeyFilters::IsReturnKey(event)) {
    ClickIfUsable(mDefaultButton);
    return true;
  }
  return LWindow::HandleKeyPress(event);
}

void LDialogBox::AttemptClose() { ClickIfUsable(mCancelButton); }
