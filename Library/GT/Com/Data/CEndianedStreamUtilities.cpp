#include "GT/Com/Data/CEndianedStreamUtilities.h"

#include "GT/Com/Data/Numerics.h"

namespace GT {

void CEndianedStreamUtilities::Write(std::ostream& stream, long double const& value) const {
  char bytes[10];
  ConvertToIeeeExtended(value, bytes);
  stream.write(bytes, sizeof bytes);
}

void CEndianedStreamUtilities::Read(std::istream& stream, long double& value) const {
  char bytes[10];
  stream.read(bytes, sizeof bytes);
  if (!stream.fail()) value = ConvertFromIeeeExtended(bytes);
}

}  // namespace GT
