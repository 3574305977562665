#pragma once

#include "GT/Com/Enum/CPairTable.h"

#include <string>
#include <vector>

namespace GT {

// Ids and their names.
class CStringTable : public CPairTable<int, std::string> {
public:
  CStringTable(std::vector<CPair> const& pairs, CPair const& defaultPair);
  CStringTable(CPair const* pairs, std::size_t count, CPair const& defaultPair);

  void Initialize(std::vector<CPair> const& pairs, CPair const& defaultPair) override;

  // The name of id; the default name on a miss.
  std::string const& ToString(int id) const { return ToSecond(id); }
  // The id of name (exact, case-sensitive); the default id on a miss.
  int ToId(std::string const& name) const { return ToFirst(name).first; }
};

}  // namespace GT
