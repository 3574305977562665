#include "GT/Com/Thread/CThreadFactory.h"

#include "GT/Linux/CThread.h"

namespace GT {

std::unique_ptr<AThread> CThreadFactory::Create(IRunnable& target) {
  return std::unique_ptr<AThread>(new CThread(target));
}

}  // namespace GT
