#pragma once

#include "GT/Com/Data/CEndianed.h"
#include "SL/Com/Iff/IDto.h"

#include <cstdint>
#include <istream>
#include <ostream>
#include <vector>

namespace VQ7 {

// The card's sample-information file "WVCINFO0.VQD": 128 records of 23
// bytes, no header, big-endian, fields packed without alignment.
class CSampleInformationDto : public GT::CEndianed, public SL::IDto {
public:
  enum { nRecordCount = 128, nRecordSize = 23 };

  // One record, in file order (offsets 0, 4, 8, 12..17, 18, 20, 21).
  struct CFields {
    uint32_t mField0;
    uint32_t mField1;
    uint32_t mLength;
    uint8_t mLofi;
    uint8_t mStereo;
    uint8_t mField5;
    uint8_t mFlag6;
    uint8_t mFlag7;
    uint8_t mField8;
    uint16_t mTempo1;
    uint8_t mField10;
    uint16_t mTempo2;
  };

  CSampleInformationDto();

  bool ClassInvariant() const;

  // No field holds the all-ones value of its width.
  static bool IsValid(CFields const& fields);

  // The file has no signature: always true.
  bool CanRead(std::istream& stream) const override;
  // All 128 records, each whole and valid, or false with nothing changed.
  bool Read(std::istream& stream) override;
  // All 128 records; false without writing when the set does not hold them.
  bool Write(std::ostream& stream) override;

  std::vector<CFields> const& GetRecords() const { return mRecords; }
  std::vector<CFields>& GetRecords() { return mRecords; }

private:
  std::vector<CFields> mRecords;
};

}  // namespace VQ7
