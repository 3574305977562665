#pragma once

#include "UL/Com/Cursor/ACursor.h"

namespace UL {

// The cursor service on the screen: the newest request's cursor is the
// application's override cursor; with no request open there is none.
class CCursor : public ACursor {
public:
  ~CCursor() override;

  void Reset() override;
  void Update(GT::CPointT<long> const& point) override;
  void Set(EType type) override;

  // The cursor resource of a kind (4 to 13), 0 for the kinds shown as the
  // standard arrow and for values outside the kinds.
  static int32_t ResourceOf(EType type);

private:
  bool mOverriding = false;
};

}  // namespace UL
