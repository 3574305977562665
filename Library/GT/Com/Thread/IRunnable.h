#pragma once

namespace GT {

// Something a thread can run.
class IRunnable {
public:
  virtual ~IRunnable() {}
  virtual void Run() = 0;
};

}  // namespace GT
