#include "GT/Com/Text/CStringTable.h"

namespace GT {

CStringTable::CStringTable(std::vector<CPair> const& pairs, CPair const& defaultPair)
    : CPairTable<int, std::string>(pairs, defaultPair) {}

CStringTable::CStringTable(CPair const* pairs, std::size_t count, CPair const& defaultPair)
    : CPairTable<int, std::string>(pairs, count, defaultPair) {}

void CStringTable::Initialize(std::vector<CPair> const& pairs, CPair const& defaultPair) {
  CPairTable<int, std::string>::Initialize(pairs, defaultPair);
}

}  // namespace GT
