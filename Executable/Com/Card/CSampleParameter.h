#pragma once

#include <cstdint>

namespace VQ7 {

// The parameters of one sample slot of the card, as kept in the card's
// sample-information file. Fields marked "stored only" pass unchanged
// between the card file and the model.
class CSampleParameter {
public:
  CSampleParameter();

  bool ClassInvariant() const;
  bool IsValid() const;

  int32_t mField0;    // stored only, >= 0
  int32_t mField1;    // stored only, >= 0
  int32_t mLength;    // frames of one channel; 0 means the slot is empty
  uint32_t mLofi;     // 0: 8-bit coding, 1: 4-bit coding (twice the length)
  bool mStereo;       // two channel files ("L" and "R")
  uint32_t mField5;   // stored only, 0..1
  bool mFlag6;        // stored only
  bool mFlag7;        // stored only
  int32_t mField8;    // stored only, 0..127
  int32_t mTempo1;    // tenths of a beat per minute, 0..2000
  uint32_t mField10;  // stored only, 0..2
  int32_t mTempo2;    // tenths of a beat per minute, 400..2000

  // The flag bytes as the card held them: any byte but 0 reads as true, and
  // goes back to the card unchanged while its flag keeps that truth.
  uint8_t mStereoByte;
  uint8_t mFlag6Byte;
  uint8_t mFlag7Byte;
};

}  // namespace VQ7
