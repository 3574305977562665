#pragma once

#include <functional>

class QDialog;
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

  // Runs a toolkit dialog (an alert, a file dialog) as the newest modal
  // window until it is done and returns its result. It is shown without the
  // toolkit's window modality, which would drop the other windows' close
  // requests; the Quit key pressed in it quits once the modal state is over.
  static int Run(QDialog& dialog);

  // Runs the work now when no modal window is open, else once the last one
  // has gone and the event loop is reached again, in the order deferred.
  static void Defer(std::function<void()> work);
};
