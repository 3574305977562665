#include "Executable/Com/Card/CSampleParameter.h"

namespace VQ7 {

CSampleParameter::CSampleParameter()
    : mField0(0),
      mField1(0),
      mLength(0),
      mLofi(0),
      mStereo(false),
      mField5(0),
      mFlag6(false),
      mFlag7(false),
      mField8(127),
      mTempo1(1020),
      mField10(0),
      mTempo2(1020),
      mStereoByte(0),
      mFlag6Byte(0),
      mFlag7Byte(0) {}

bool CSampleParameter::ClassInvariant() const {
  // The enumerations are unsigned, so a negative value read from a card
  // is out of range as well.
  return mField0 >= 0 && mField1 >= 0 && mLength >= 0 && mLofi <= 1u && mField5 <= 1u &&
         mField8 >= 0 && mField8 <= 127 && mTempo1 >= 0 && mTempo1 <= 2000 && mField10 <= 2u &&
         mTempo2 >= 400 && mTempo2 <= 2000;
}

bool CSampleParameter::IsValid() const { return ClassInvariant(); }

}  // namespace VQ7
