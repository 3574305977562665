#include "Executable/Com/Card/CModelMarshaller.h"

namespace VQ7 {

namespace {

// A record nobody changed goes back to the card byte for byte.
uint8_t FlagByte(bool flag, uint8_t stored) {
  return (stored != 0) == flag ? stored : static_cast<uint8_t>(flag ? 1 : 0);
}

}  // namespace

boost::shared_ptr<CModel> CModelMarshaller::Unmarshall(CSampleInformationDto const& dto) const {
  std::vector<CSampleInformationDto::CFields> const& records = dto.GetRecords();
  if (records.size() != static_cast<size_t>(CSampleInformationDto::nRecordCount))
    return boost::shared_ptr<CModel>();
  boost::shared_ptr<CModel> model(new CModel);
  for (size_t i = 0; i < records.size(); ++i) {
    CSampleInformationDto::CFields const& f = records[i];
    CSampleParameter& p = model->mParameters[i];
    // 32-bit fields bit for bit (two's complement); narrower ones widened
    // without sign.
    p.mField0 = static_cast<int32_t>(f.mField0);
    p.mField1 = static_cast<int32_t>(f.mField1);
    p.mLength = static_cast<int32_t>(f.mLength);
    p.mLofi = f.mLofi;
    p.mStereo = f.mStereo != 0;
    p.mField5 = f.mField5;
    p.mFlag6 = f.mFlag6 != 0;
    p.mFlag7 = f.mFlag7 != 0;
    p.mField8 = f.mField8;
    p.mTempo1 = f.mTempo1;
    p.mField10 = f.mField10;
    p.mTempo2 = f.mTempo2;
    p.mStereoByte = f.mStereo;
    p.mFlag6Byte = f.mFlag6;
    p.mFlag7Byte = f.mFlag7;
  }
  return model;
}

boost::shared_ptr<CSampleInformationDto> CModelMarshaller::Marahsll(CModel const& model) const {
  boost::shared_ptr<CSampleInformationDto> dto(new CSampleInformationDto);
  std::vector<CSampleInformationDto::CFields>& records = dto->GetRecords();
  records.reserve(model.mParameters.size());
  for (CSampleParameter const& p : model.mParameters) {
    CSampleInformationDto::CFields f;
    f.mField0 = static_cast<uint32_t>(p.mField0);
    f.mField1 = static_cast<uint32_t>(p.mField1);
    f.mLength = static_cast<uint32_t>(p.mLength);
    f.mLofi = static_cast<uint8_t>(p.mLofi & 0xFFu);
    f.mStereo = FlagByte(p.mStereo, p.mStereoByte);
    f.mField5 = static_cast<uint8_t>(p.mField5 & 0xFFu);
    f.mFlag6 = FlagByte(p.mFlag6, p.mFlag6Byte);
    f.mFlag7 = FlagByte(p.mFlag7, p.mFlag7Byte);
    f.mField8 = static_cast<uint8_t>(static_cast<uint32_t>(p.mField8) & 0xFFu);
    f.mTempo1 = static_cast<uint16_t>(static_cast<uint32_t>(p.mTempo1) & 0xFFFFu);
    f.mField10 = static_cast<uint8_t>(p.mField10 & 0xFFu);
    f.mTempo2 = static_cast<uint16_t>(static_cast<uint32_t>(p.mTempo2) & 0xFFFFu);
    records.push_back(f);
  }
  if (!dto->ClassInvariant()) return boost::shared_ptr<CSampleInformationDto>();
  return dto;
}

}  // namespace VQ7
