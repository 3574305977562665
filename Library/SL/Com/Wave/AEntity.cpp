#include "SL/Com/Wave/AEntity.h"

#include <utility>

namespace SL {

AEntity::AEntity() : mActive(false) {}

AEntity::AEntity(AEntity const& other)
    : mActive(other.mActive), mName(other.mName), mCaption(other.mCaption), mText(other.mText) {}

AEntity& AEntity::operator=(AEntity const& other) {
  AEntity copy(other);
  Swap(copy);
  return *this;
}

void AEntity::Swap(AEntity& other) {
  std::swap(mActive, other.mActive);
  mName.swap(other.mName);
  mCaption.swap(other.mCaption);
  mText.swap(other.mText);
}

bool AEntity::operator==(AEntity const& other) const {
  return mActive == other.mActive && mName == other.mName && mCaption == other.mCaption &&
         mText == other.mText;
}

}  // namespace SL
