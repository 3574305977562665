#pragma once

#include "GT/Com/Observer/IEventListener.h"
#include "UL/Com/Event/CMouseEvent.h"

namespace UL {

class IMouseEventListener : public GT::IEventListener {
public:
  virtual void Handle(CMouseEvent const& event) = 0;
};

}  // namespace UL
