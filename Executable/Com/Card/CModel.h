#pragma once

#include "Executable/Com/Card/CSampleParameter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace VQ7 {

// One memory card: the parameters of its 128 sample slots (8 banks x 16
// pads), the volume it was read from and the selected bank and pad. The model
// is a plain value; it also owns every path rule of the card.
class CModel {
public:
  enum { nBankCount = 8, nPadCount = 16, nSlotCount = nBankCount * nPadCount };

  CModel();
  CModel(CModel const& other);
  CModel& operator=(CModel const& other) = default;

  bool ClassInvariant() const;

  // The entry of bank * 16 + pad; a slot outside the card throws
  // std::out_of_range rather than touching foreign memory.
  CSampleParameter& SampleParameter(long bank, long pad);
  CSampleParameter const& SampleParameter(long bank, long pad) const;
  bool IsSampleAssigned(long bank, long pad) const;
  // A bank number from outside (a stored or requested one) made one of the card's.
  static int32_t ClampBank(long bank) {
    return static_cast<int32_t>(bank < 0 ? 0 : bank >= nBankCount ? nBankCount - 1 : bank);
  }

  static std::string GetSampleInformationFilePathName(std::string const& volume);
  std::string GetSampleInformationFilePathName() const;
  std::string GetSampleFilePathNameL(long bank, long pad) const;
  std::string GetSampleFilePathNameR(long bank, long pad) const;
  std::string GetTemporarySampleInformationFilePathName(std::string const& name) const;
  std::string GetTemporarySampleFilePathName(std::string const& name) const;
  std::string ToCardTemporarySampleFilePathName(std::string const& path) const;

  std::vector<CSampleParameter> mParameters;
  std::string mVolume;  // mount path, no trailing "/"
  int32_t mBank;        // 0..7, -1 for none
  int32_t mPad;         // 0..15, -1 for none
};

}  // namespace VQ7
