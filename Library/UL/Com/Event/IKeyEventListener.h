#pragma once

#include "GT/Com/Observer/IEventListener.h"
#include "UL/Com/Event/CKeyEvent.h"

namespace UL {

class IKeyEventListener : public GT::IEventListener {
public:
  virtual void Handle(CKeyEvent const& event) = 0;
};

}  // namespace UL
