#pragma once

#include <iosfwd>
#include <typeinfo>

#include "GT/Com/Enum/CPairTable.h"

namespace SL {

class CEntityId;
template <class E, class C>
class CEntityCollection;

// What entity ids may hold: the four entity interfaces, numbered for sorting,
// and how they nest.
class CEntityIdConstraint {
public:
  static GT::CPairTable<int, std::type_info const*> const sTypes;

  // The number of the type; -1 for a type that is not an entity interface.
  static int ToTypeId(std::type_info const& type);
  // The type of the number; null for an unknown number.
  static std::type_info const* ToTypeInfo(int id);

  // Under the root any type; under a wave a channel, envelope or loop; under
  // a channel an envelope; nothing under an envelope or a loop.
  static bool ClassInvariant(CEntityId const& id);

  template <class Node>
  static void PrintElement(Node const& node, int attributes, std::ostream& stream) {
    PrintAttributes(node.mType, attributes, stream);
  }

private:
  static void PrintAttributes(std::type_info const* type, int attributes, std::ostream& stream);
};

}  // namespace SL
