#pragma once

#include <iosfwd>

namespace SL {

// An object that reads and writes itself; true means the stream did not fail.
class IStreamable {
public:
  virtual ~IStreamable() {}
  virtual bool Read(std::istream& stream) = 0;
  virtual bool Write(std::ostream& stream) = 0;
};

}  // namespace SL
