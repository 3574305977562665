#include "Platform/Framework/UModalState.h"

#include "Platform/Framework/LException.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <deque>
#include <vector>

namespace {

std::vector<QPointer<QWidget>> sStack;
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
    if (window == sStack.back().data()) return false;
    Qt::WindowType const type = window->windowType();
    if (type == Qt::Popup || type == Qt::ToolTip) return false;
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
