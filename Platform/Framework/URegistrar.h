#pragma once

#include "Platform/Framework/FrameworkTypes.h"

#include <functional>

class LPane;
class LStream;

// Pane classes by four-character class id, so that layouts can build them.
// The framework's own classes are there from the start: 'wind' LWindow,
// 'dlog' LDialogBox, 'pane' LPane, 'view' LView, 'pbut' LPushButton,
// 'popb' LPopupButton, 'pbar' LProgressBar, 'capt' LCaption.
class URegistrar {
public:
  typedef std::function<LPane*(LStream*)> Creator;

  static void RegisterClass(ClassIDT id, Creator creator);
  template <typename T>
  static void RegisterClass(ClassIDT id) {
    RegisterClass(id, [](LStream* stream) -> LPane* { return new T(stream); });
  }
  // A new pane of the class; null when the class is not registered.
  static LPane* CreateObject(ClassIDT id, LStream* stream);
  static bool IsRegistered(ClassIDT id);
};
