#pragma once

#include "Platform/Framework/FrameworkTypes.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

class LCommander;
class LListener;
class LPane;
class LView;
class LWindow;

// Builds windows and their pane trees from the layouts of the resource file.
class UReanimator {
public:
  // What a program looks up in one window layout: the window's class (0: a
  // plain window or dialog box) and panes by id, each with the test of the
  // class it is taken as.
  typedef std::function<bool(LPane*)> PaneTest;
  struct SRequiredWindow {
    ResIDT id;
    ClassIDT classId;
    std::vector<std::pair<PaneIDT, PaneTest>> panes;
  };
  template <typename T>
  static PaneTest IsA() {
    return [](LPane* pane) { return dynamic_cast<T*>(pane) != nullptr; };
  }

  // Whether the loaded layout gives what is required and every class it
  // names is registered: "" when it does, else the problem in one line.
  static std::string CheckWindow(SRequiredWindow const& required);

  // Builds window layout `id` (class "class", 'wind' when absent) with its
  // panes, then lets every pane finish its creation in building order, the
  // window last. Throws 'nilP' when the layout, or a pane's class, is missing
  // or the layout's class is no window; nothing stays built then.
  static LWindow* CreateWindow(ResIDT id, LCommander* super);
  // Makes the listener listen to the controls of listener list `listId`
  // found in the view (controls missing from the view are skipped).
  static void LinkListenerToControls(LListener* listener, LView* view, ResIDT listId);
};
