#include "Platform/Framework/UModalState.h"

#include "Platform/Framework/LCarbonApp.h"
#include "Platform/Framework/LException.h"
#include "Platform/Framework/UKeyFilters.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <deque>
#include <vector>

namespace {

std::vector<QPointer<QWidget>> sStack;
std::vector<QDialog*> sRunning;  // the toolkit dialogs Run shows, newest last
std::deque<std::function<void()>> sDeferred;
bool sFlushPosted = false;

bool IsInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
      return true;
    default:
      return false;
  }
}

void DropGone() {
  sStack.erase(std::remove_if(sStack.begin(), sStack.end(),
                              [](QPointer<QWidget> const& w) { return w.isNull(); }),
               sStack.end());
}

// Keeps input away from every window but the newest modal one and the
// pop-ups (menus) it opens.
class CInputFilter : public QObject {
public:
  bool eventFilter(QObject* target, QEvent* event) override {
    if (!IsInput(event->type())) return false;
    DropGone();
    if (sStack.empty() || !target->isWidgetType()) return false;
    QWidget* window = static_cast<QWidget*>(target)->window();
    if (window == sStack.back().data()) return IsQuitKeyInToolkitDialog(window, event);
    // A toolkit-modal question the modal window opens (a file dialog's "replace?")
    // takes the input; the toolkit keeps it from the rest.
    if (window == QApplication::activeModalWidget()) return false;
    Qt::WindowType const type = window->windowType();
    if (type == Qt::Popup || type == Qt::ToolTip) return false;
    return true;
  }

private:
  // The framework's own windows hand the Quit key up their commander chain;
  // a toolkit dialog has none, so it is taken here.
  static bool IsQuitKeyInToolkitDialog(QWidget* window, QEvent* event) {
    if (event->type() != QEvent::KeyPress || sRunning.empty() || window != sRunning.back())
      return false;
    if (!UKeyFilters::IsQuitKey(UKeyFilters::KeyEventRecord(*static_cast<QKeyEvent*>(event))))
      return false;
    if (LCarbonApp* app = LCarbonApp::GetApplication())
      CatchAndReport("quit", [app] { app->ObeyCommand(cmd_Quit, nullptr); });
    return true;
  }
};

CInputFilter* sFilter = nullptr;

void PostFlush();

void Flush() {
  sFlushPosted = false;
  while (!sDeferred.empty()) {
    if (UModalState::IsModal()) return;  // a new modal window opened meanwhile
    std::function<void()> const work = std::move(sDeferred.front());
    sDeferred.pop_front();
    CatchAndReport("deferred work", work);
  }
}

void PostFlush() {
  if (sFlushPosted || !QCoreApplication::instance()) return;
  sFlushPosted = true;
  QTimer::singleShot(0, QCoreApplication::instance(), [] { Flush(); });
}

}  // namespace

void UModalState::Begin(QWidget* window) {
  if (!window) return;
  if (!sFilter && QCoreApplication::instance()) {
    sFilter = new CInputFilter;
    QCoreApplication::instance()->installEventFilter(sFilter);
  }
  DropGone();
  sStack.push_back(window);
}

void UModalState::End(QWidget* window) {
  for (auto it = sStack.end(); it != sStack.begin();) {
    --it;
    if (it->data() == window) {
      sStack.erase(it);
      break;
    }
  }
  DropGone();
  if (sStack.empty() && !sDeferred.empty()) PostFlush();
}

bool UModalState::IsModal() {
  DropGone();
  return !sStack.empty();
}

QWidget* UModalState::Current() {
  DropGone();
  return sStack.empty() ? nullptr : sStack.back().data();
}

void UModalState::Defer(std::function<void()> work) {
  if (!IsModal() && sDeferred.empty()) {
    CatchAndReport("deferred work", work);
    return;
  }
  sDeferred.push_back(std::move(work));
  if (!IsModal()) PostFlush();
}

int UModalState::Run(QDialog& dialog) {
  QPointer<QDialog> const alive(&dialog);
  QEventLoop loop;
  QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
  QObject::connect(&dialog, &QObject::destroyed, &loop, &QEventLoop::quit);
  dialog.setWindowModality(Qt::NonModal);
  dialog.setResult(0);
  Begin(&dialog);
  sRunning.push_back(&dialog);
  dialog.show();
  if (dialog.isVisible()) loop.exec(QEventLoop::DialogExec);
  sRunning.erase(std::find(sRunning.begin(), sRunning.end(), &dialog));
  End(&dialog);
  return alive ? alive->result() : QDialog::Rejected;
}
