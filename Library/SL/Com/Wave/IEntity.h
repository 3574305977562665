#pragma once

#include <string>

#include "SL/Com/Base/CObject.h"
#include "SL/Com/Wave/IActivatable.h"
#include "SL/Com/Wave/INamable.h"

namespace SL {

class CEntityId;

// A model entity: clonable, comparable, with an active flag, a name, a
// caption and a text, and able to repair itself.
class IEntity : public CObject, public IActivatable, public INamable {
public:
  // Attribute bits shared by all entities; entity interfaces add theirs above.
  enum { kActivity = 1, kName = 2, kCaption = 4, kText = 8 };

  ~IEntity() override {}
  IEntity* Clone() const override = 0;
  bool Equals(CObject const& other) const override { return CObject::Equals(other); }
  virtual void SetCaption(std::string const& caption) = 0;
  virtual std::string const& GetCaption() const = 0;
  virtual void SetText(std::string const& text) = 0;
  virtual std::string const& GetText() const = 0;
  virtual void Normalize() = 0;
  virtual bool HasNormalized() const = 0;

  static std::string ToString(int attributes);

  // Copies active flag, name, caption and text, through the virtual setters.
  void CopyAttribute(IEntity const& source);

  // The id that the CopyAttribute operations read as "copy everything".
  static CEntityId const sCopyAll;
};

}  // namespace SL
