#pragma once

#include "Platform/Framework/FrameworkTypes.h"

class LCommander;
class LListener;
class LView;
class LWindow;

// Builds windows and their pane trees from the layouts of the resource file.
class UReanimator {
public:
  // Builds window layout `id` (class "class", 'wind' when absent) with its
  // panes, then lets every pane finish its creation in building order, the
  // window last. Throws 'nilP' when the layout, or a pane's class, is missing
  // or the layout's class is no window; nothing stays built then.
  static LWindow* CreateWindow(ResIDT id, LCommander* super);
  // Makes the listener listen to the controls of listener list `listId`
  // found in the view (controls missing from the view are skipped).
  static void LinkListenerToControls(LListener* listener, LView* view, ResIDT listId);
};
