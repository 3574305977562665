#pragma once

#include "GT/Com/Data/CEndianed.h"

#include <istream>
#include <ostream>
#include <type_traits>

namespace GT {

// Reads and writes single values on byte streams in this object's byte order.
// Values stored in files are 1, 2 or 4 bytes wide: 4-byte fields go through
// int32_t/uint32_t, never long. Failures stay in the stream's state.
class CEndianedStreamUtilities : public CEndianed {
public:
  explicit CEndianedStreamUtilities(EEndian endian = sPlatform) : CEndianed(endian) {}

  template <typename T>
  void Write(std::ostream& stream, T const& value) const {
    CheckFileType<T>();
    T const out = ConvertEndian(value);
    stream.write(reinterpret_cast<char const*>(&out), sizeof(T));
  }

  // After a failed read the destination holds whatever bytes arrived,
  // unreversed; callers test the stream.
  template <typename T>
  void Read(std::istream& stream, T& value) const {
    CheckFileType<T>();
    stream.read(reinterpret_cast<char*>(&value), sizeof(T));
    if (!stream.fail()) value = ConvertEndian(value);
  }

  // 80-bit extended, always big endian whatever this object's order.
  void Write(std::ostream& stream, long double const& value) const;
  // Leaves the destination unchanged when the read fails.
  void Read(std::istream& stream, long double& value) const;

private:
  template <typename T>
  static constexpr void CheckFileType() {
    static_assert(
        std::is_integral<T>::value && !std::is_same<T, bool>::value &&
            (sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4),
        "file values are 1-, 2- or 4-byte integers: use int32_t/uint32_t for 4-byte fields");
  }
};

}  // namespace GT
