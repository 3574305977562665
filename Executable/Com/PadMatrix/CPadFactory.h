#pragma once

#include "Executable/Com/PadMatrix/IPadFactory.h"

namespace VQ7 {

// Makes the application's pads.
class CPadFactory : public IPadFactory {
public:
  boost::shared_ptr<APad> Create(long id) override;
};

}  // namespace VQ7
