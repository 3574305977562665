#include "Executable/Com/Controller/CStringResources.h"

namespace VQ7 {

CStringResources::CLookup& CStringResources::Lookup() {
  static CLookup sLookup;
  return sLookup;
}

void CStringResources::SetLookup(CLookup const& lookup) { Lookup() = lookup; }

std::string CStringResources::GetIndString(int listId, int index) {
  CLookup const& lookup = Lookup();
  return lookup ? lookup(listId, index) : std::string();
}

}  // namespace VQ7
