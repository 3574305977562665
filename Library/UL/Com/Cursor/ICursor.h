#pragma once

#include "GT/Com/Geometry/CPointT.h"

#include <cstdint>

namespace UL {

class ICursorChanger;

// The cursor service: a stack of cursor requests, each with an id. The cursor
// shown is that of the newest open request, or the arrow when none is open.
class ICursor {
public:
  // Kinds 0 to 3 show the standard arrow; 4 to 13 are cursors of the
  // application's resource file.
  enum EType : int32_t {
    Arrow = 0,
    Wait = 1,
    Standard2 = 2,
    Standard3 = 3,
    Custom4 = 4,
    Custom5 = 5,
    Custom6 = 6,
    Custom7 = 7,
    Custom8 = 8,
    Custom9 = 9,
    Custom10 = 10,
    Custom11 = 11,
    Custom12 = 12,
    Custom13 = 13
  };

  virtual ~ICursor() = default;

  // Opens a request of the changer for the kind; returns the request's id.
  virtual long Change(EType, ICursorChanger&) { return 0; }
  // Closes every open request with the id.
  virtual void Restore(long) {}
  // Closes every request and shows the arrow.
  virtual void Reset() {}
  // Tells the newest request's changer where the pointer is.
  virtual void Update(GT::CPointT<long> const&) {}
  // Whether any request is open.
  virtual bool IsChanging() const { return false; }
};

// The process-wide cursor service of the platform, made on first use.
ICursor& Cursor();

}  // namespace UL
