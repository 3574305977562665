#pragma once

#include "GT/Com/Observer/CEvent.h"
#include "UL/Com/Event/CMouseInfo.h"

namespace UL {

// A mouse event; its source is the window that produced it.
class CMouseEvent : public GT::CEvent {
public:
  CMouseEvent(boost::any const& source, CMouseInfo const& info) : GT::CEvent(source), mInfo(info) {}

  CMouseInfo mInfo;
};

}  // namespace UL
