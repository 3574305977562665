#pragma once

namespace SL {

class IActivatable {
public:
  virtual ~IActivatable() {}
  virtual void SetActive(bool active) = 0;
  virtual bool IsActive() const = 0;
};

}  // namespace SL
