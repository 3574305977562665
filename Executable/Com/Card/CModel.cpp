#include "Executable/Com/Card/CModel.h"

#include "Executable/Com/Card/FileUtilities.h"
#include "GT/Com/Text/StringTools.h"

namespace VQ7 {

namespace {

char const nCardFolder[] = "/TAVRIN/VQ730/";

// "/TAVRIN/VQ730/SMP" and the slot index as four upper-case hex digits.
std::string GetSampleFilePathNamePrefix(long index) {
  return std::string(nCardFolder) + "SMP" +
         GT::FormatString("%04X", static_cast<unsigned>(index) & 0xFFFFu);
}

long SlotIndex(long bank, long pad) { return bank * CModel::nPadCount + pad; }

}  // namespace

CModel::CModel() : mParameters(nSlotCount), mVolume(), mBank(-1), mPad(-1) {}

CModel::CModel(CModel const& other)
    : mParameters(other.mParameters),
      mVolume(other.mVolume),
      mBank(other.mBank),
      mPad(other.mPad) {}

bool CModel::ClassInvariant() const {
  if (mParameters.size() != static_cast<size_t>(nSlotCount)) return false;
  for (CSampleParameter const& parameter : mParameters)
    if (!parameter.IsValid()) return false;
  return mBank >= -1 && mBank < nBankCount && mPad >= -1 && mPad < nPadCount;
}

CSampleParameter& CModel::SampleParameter(long bank, long pad) {
  return mParameters.at(static_cast<size_t>(SlotIndex(bank, pad)));
}

CSampleParameter const& CModel::SampleParameter(long bank, long pad) const {
  return mParameters.at(static_cast<size_t>(SlotIndex(bank, pad)));
}

bool CModel::IsSampleAssigned(long bank, long pad) const {
  return SampleParameter(bank, pad).mLength != 0;
}

std::string CModel::GetSampleInformationFilePathName(std::string const& volume) {
  return volume + nCardFolder + "WVCINFO0.VQD";
}

std::string CModel::GetSampleInformationFilePathName() const {
  return GetSampleInformationFilePathName(mVolume);
}

std::string CModel::GetSampleFilePathNameL(long bank, long pad) const {
  return mVolume + GetSampleFilePathNamePrefix(SlotIndex(bank, pad)) + "L.VQD";
}

std::string CModel::GetSampleFilePathNameR(long bank, long pad) const {
  return mVolume + GetSampleFilePathNamePrefix(SlotIndex(bank, pad)) + "R.VQD";
}

namespace {

// Without a private folder there is no temporary path: an empty one opens
// nothing, where "/" + name would reach the root folder.
std::string InTemporaryFolder(std::string const& name) {
  std::string const folder = GetTemporaryDirectoryName();
  return folder.empty() ? folder : folder + "/" + name;
}

}  // namespace

std::string CModel::GetTemporarySampleInformationFilePathName(std::string const& name) const {
  return InTemporaryFolder(name);
}

std::string CModel::GetTemporarySampleFilePathName(std::string const& name) const {
  return InTemporaryFolder(name);
}

// The text after the last "/", taken as it is (no splitting at points or
// quotes, which could alter the name).
std::string CModel::ToCardTemporarySampleFilePathName(std::string const& path) const {
  std::string::size_type const slash = path.rfind('/');
  std::string const element = slash == std::string::npos ? path : path.substr(slash + 1);
  return mVolume + nCardFolder + element;
}

}  // namespace VQ7
