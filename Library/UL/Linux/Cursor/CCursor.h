#pragma once

#include "UL/Com/Cursor/ACursor.h"

namespace UL {

// The cursor service on the screen.
class CCursor : public ACursor {
public:
  void Reset() override;
  void Update(GT::CPointT<long> const& point) override;
  void Set(EType type) override;
};

}  // namespace UL
