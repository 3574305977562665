#pragma once

#include <functional>

class QWidget;

// The application-modal state of the framework. While a modal window is open
// (a dialog pumping events for a long operation, an alert, a file dialog) the
// other windows take no clicks and no keys, and work that could pull the
// ground from under the running operation waits until the last modal window
// has gone: such work is handed to Defer.
class UModalState {
public:
  // Modal windows nest; the newest one alone takes input.
  static void Begin(QWidget* window);
  static void End(QWidget* window);
  static bool IsModal();
  static QWidget* Current();

  // Runs the work now when no modal window is open, else once the last one
  // has gone and the event loop is reached again, in the order deferred.
  static void Defer(std::function<void()> work);
};
