#pragma once

#include <boost/shared_ptr.hpp>

#include <iosfwd>
#include <string>

namespace SL {

// A place bytes come from or go to; every call opens a stream of its own.
class IDataSource {
public:
  virtual ~IDataSource() {}
  virtual std::string GetName() const = 0;
  virtual boost::shared_ptr<std::istream> CreateInputStream() = 0;
  virtual boost::shared_ptr<std::ostream> CreateOutputStream() = 0;
};

}  // namespace SL
