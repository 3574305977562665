#include "Executable/Com/Card/CSampleInformationDto.h"

#include <cstring>

namespace VQ7 {

namespace {

typedef CSampleInformationDto::CFields CFields;

// Multi-byte fields are taken in the object's byte order, whatever the
// platform's.
class CRecordCoder {
public:
  explicit CRecordCoder(bool bigEndian) : mBigEndian(bigEndian) {}

  CFields Decode(unsigned char const* p) const {
    CFields f;
    f.mField0 = Get32(p + 0);
    f.mField1 = Get32(p + 4);
    f.mLength = Get32(p + 8);
    f.mLofi = p[12];
    f.mStereo = p[13];
    f.mField5 = p[14];
    f.mFlag6 = p[15];
    f.mFlag7 = p[16];
    f.mField8 = p[17];
    f.mTempo1 = Get16(p + 18);
    f.mField10 = p[20];
    f.mTempo2 = Get16(p + 21);
    return f;
  }

  void Encode(CFields const& f, unsigned char* p) const {
    Put32(p + 0, f.mField0);
    Put32(p + 4, f.mField1);
    Put32(p + 8, f.mLength);
    p[12] = f.mLofi;
    p[13] = f.mStereo;
    p[14] = f.mField5;
    p[15] = f.mFlag6;
    p[16] = f.mFlag7;
    p[17] = f.mField8;
    Put16(p + 18, f.mTempo1);
    p[20] = f.mField10;
    Put16(p + 21, f.mTempo2);
  }

private:
  uint32_t Get32(unsigned char const* p) const {
    uint32_t const b0 = p[0], b1 = p[1], b2 = p[2], b3 = p[3];
    return mBigEndian ? (b0 << 24) | (b1 << 16) | (b2 << 8) | b3
                      : (b3 << 24) | (b2 << 16) | (b1 << 8) | b0;
  }
  uint16_t Get16(unsigned char const* p) const {
    unsigned const b0 = p[0], b1 = p[1];
    return static_cast<uint16_t>(mBigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0);
  }
  void Put32(unsigned char* p, uint32_t v) const {
    unsigned char const bytes[4] = {
        static_cast<unsigned char>(v >> 24), static_cast<unsigned char>(v >> 16),
        static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v)};
    for (int i = 0; i < 4; ++i) p[i] = mBigEndian ? bytes[i] : bytes[3 - i];
  }
  void Put16(unsigned char* p, uint16_t v) const {
    unsigned char const hi = static_cast<unsigned char>(v >> 8);
    unsigned char const lo = static_cast<unsigned char>(v);
    p[0] = mBigEndian ? hi : lo;
    p[1] = mBigEndian ? lo : hi;
  }

  bool mBigEndian;
};

}  // namespace

CSampleInformationDto::CSampleInformationDto() : GT::CEndianed(BigEndian), mRecords() {}

bool CSampleInformationDto::ClassInvariant() const {
  if (mRecords.empty()) return true;
  if (mRecords.size() != static_cast<size_t>(nRecordCount)) return false;
  for (CFields const& fields : mRecords)
    if (!IsValid(fields)) return false;
  return true;
}

bool CSampleInformationDto::IsValid(CFields const& f) {
  return f.mField0 != 0xFFFFFFFFu && f.mField1 != 0xFFFFFFFFu && f.mLength != 0xFFFFFFFFu &&
         f.mLofi != 0xFFu && f.mStereo != 0xFFu && f.mField5 != 0xFFu && f.mFlag6 != 0xFFu &&
         f.mFlag7 != 0xFFu && f.mField8 != 0xFFu && f.mTempo1 != 0xFFFFu && f.mField10 != 0xFFu &&
         f.mTempo2 != 0xFFFFu;
}

bool CSampleInformationDto::CanRead(std::istream&) const { return true; }

bool CSampleInformationDto::Read(std::istream& stream) {
  CRecordCoder const coder(IsBigEndian());
  std::vector<CFields> records;
  records.reserve(nRecordCount);
  while (records.size() < static_cast<size_t>(nRecordCount)) {
    // A record counts only when all of its 23 bytes were there; a record
    // cut short by the end of the file fails the read.
    unsigned char bytes[nRecordSize];
    std::memset(bytes, 0xFF, sizeof bytes);
    if (stream.fail()) return false;
    stream.read(reinterpret_cast<char*>(bytes), nRecordSize);
    if (stream.gcount() != nRecordSize) return false;
    CFields const fields = coder.Decode(bytes);
    if (!IsValid(fields)) return false;
    records.push_back(fields);
  }
  mRecords.swap(records);
  return true;
}

bool CSampleInformationDto::Write(std::ostream& stream) {
  // Records never read would make a file no card can be read from.
  if (mRecords.size() != static_cast<size_t>(nRecordCount)) return false;
  CRecordCoder const coder(IsBigEndian());
  std::vector<unsigned char> bytes(mRecords.size() * nRecordSize);
  for (size_t i = 0; i < mRecords.size(); ++i) coder.Encode(mRecords[i], &bytes[i * nRecordSize]);
  stream.write(reinterpret_cast<char const*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  stream.flush();
  return !stream.fail() && !stream.bad();
}

}  // namespace VQ7
