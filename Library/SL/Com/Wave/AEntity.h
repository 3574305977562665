#pragma once

#include <string>

namespace SL {

// The attributes every entity has, as a plain value record.
class AEntity {
public:
  AEntity();
  AEntity(AEntity const& other);
  AEntity& operator=(AEntity const& other);
  void Swap(AEntity& other);
  bool operator==(AEntity const& other) const;
  bool operator!=(AEntity const& other) const { return !(*this == other); }

  bool mActive;
  std::string mName;
  std::string mCaption;
  std::string mText;
};

}  // namespace SL
