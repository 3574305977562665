#pragma once

#include "Executable/Com/PadMatrix/APad.h"

namespace VQ7 {

// The pad the application uses.
class CPad : public APad {
public:
  explicit CPad(long id);

  void Draw(UL::ADrawInfo const& info) override;
};

}  // namespace VQ7
