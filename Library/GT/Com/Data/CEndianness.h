#pragma once

namespace GT {

// Root of the byte-order family: names the two orders and the machine's own.
class CEndianness {
public:
  enum EEndian { BigEndian = 0, LittleEndian = 1 };

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  static constexpr EEndian sPlatform = BigEndian;
#else
  static constexpr EEndian sPlatform = LittleEndian;
#endif
};

}  // namespace GT
