#pragma once

#include "SL/Com/Base/ICloneable.h"

namespace SL {

// Root of clonable, comparable objects. The defaults clone nothing and
// compare by identity; subclasses override what they can do better.
class CObject : public ICloneable {
public:
  CObject() = default;
  CObject(CObject const&) = default;
  CObject& operator=(CObject const&) = default;
  ~CObject() override = default;
  CObject* Clone() const override { return nullptr; }
  virtual bool Equals(CObject const& other) const { return this == &other; }
};

}  // namespace SL
