#pragma once

#include <boost/function.hpp>

#include <string>

namespace VQ7 {

// The string lists of the application's resources, as the domain reads
// them. The platform side installs the look-up once it has read the resource
// file (with its locale overlay); until then every item is empty.
class CStringResources {
public:
  // Item `index` (counted from 1) of string list `listId`; "" when absent.
  typedef boost::function<std::string(int listId, int index)> CLookup;

  static void SetLookup(CLookup const& lookup);
  static std::string GetIndString(int listId, int index);

private:
  static CLookup& Lookup();
};

}  // namespace VQ7
