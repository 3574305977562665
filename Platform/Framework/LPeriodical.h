#pragma once

#include "Platform/Framework/FrameworkTypes.h"

#include <memory>

class QTimer;

// Called back on a timer of the event loop, which keeps ticking inside modal
// loops that pump events.
class LPeriodical {
public:
  LPeriodical();
  LPeriodical(LPeriodical const&) = delete;
  LPeriodical& operator=(LPeriodical const&) = delete;
  virtual ~LPeriodical();

  virtual void SpendTime(EventRecord const& event) = 0;

  // Every `seconds`; 0 means whenever the event loop is idle.
  void StartRepeating(double seconds = 0.0);
  void StopRepeating();
  bool IsRepeating() const;

private:
  std::unique_ptr<QTimer> mTimer;
};
