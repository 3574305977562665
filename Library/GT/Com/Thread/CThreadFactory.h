#pragma once

#include "GT/Com/Thread/AThread.h"

#include <memory>

namespace GT {

class CThreadFactory {
public:
  // A new thread for the target, not yet started.
  static std::unique_ptr<AThread> Create(IRunnable& target);
};

}  // namespace GT
