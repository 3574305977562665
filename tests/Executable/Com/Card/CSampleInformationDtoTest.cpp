#include "Executable/Com/Card/CModelMarshaller.h"
#include "Executable/Com/Card/CSampleInformationDto.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using VQ7::CModel;
using VQ7::CModelMarshaller;
using VQ7::CSampleInformationDto;

typedef std::vector<unsigned char> Bytes;

std::string ToString(Bytes const& bytes) { return std::string(bytes.begin(), bytes.end()); }

Bytes ToBytes(std::string const& text) { return Bytes(text.begin(), text.end()); }

// A record whose every field holds a different value, flags 0 or 1 so that
// it survives a round trip: bytes 01 02 ... 0D 01 0F 00 01 12 13 14 15 16 17.
Bytes DistinctRecord() {
  Bytes record(23);
  for (int i = 0; i < 23; ++i) record[i] = static_cast<unsigned char>(i + 1);
  record[13] = 1;  // stereo
  record[15] = 0;  // flag 6
  record[16] = 1;  // flag 7
  return record;
}

Bytes CardOf(Bytes const& record, size_t count = 128) {
  Bytes card;
  for (size_t i = 0; i < count; ++i) card.insert(card.end(), record.begin(), record.end());
  return card;
}

bool ReadFrom(CSampleInformationDto& dto, Bytes const& bytes) {
  std::istringstream in(ToString(bytes));
  return dto.Read(in);
}

Bytes WrittenBy(CSampleInformationDto& dto) {
  std::ostringstream out;
  EXPECT_TRUE(dto.Write(out));
  return ToBytes(out.str());
}

TEST(SampleInformationFile, EveryFieldAtItsOffsetBigEndian) {
  CSampleInformationDto dto;
  EXPECT_TRUE(dto.IsBigEndian());
  EXPECT_TRUE(dto.GetRecords().empty());
  EXPECT_TRUE(dto.ClassInvariant());
  std::istringstream probe("");
  EXPECT_TRUE(dto.CanRead(probe));

  Bytes card = CardOf(DistinctRecord());
  card[23 * 5 + 8] = 0x80;  // record 5: a length with the top bit set
  ASSERT_TRUE(ReadFrom(dto, card));
  ASSERT_EQ(128u, dto.GetRecords().size());
  EXPECT_TRUE(dto.ClassInvariant());

  boost::shared_ptr<CModel> model = CModelMarshaller().Unmarshall(dto);
  ASSERT_TRUE(model);
  EXPECT_EQ(-1, model->mBank);
  EXPECT_EQ(-1, model->mPad);
  EXPECT_EQ("", model->mVolume);
  VQ7::CSampleParameter const& p = model->SampleParameter(0, 0);
  EXPECT_EQ(0x01020304, p.mField0);
  EXPECT_EQ(0x05060708, p.mField1);
  EXPECT_EQ(0x090A0B0C, p.mLength);
  EXPECT_EQ(0x0Du, p.mLofi);
  EXPECT_TRUE(p.mStereo);
  EXPECT_EQ(0x0Fu, p.mField5);
  EXPECT_FALSE(p.mFlag6);
  EXPECT_TRUE(p.mFlag7);
  EXPECT_EQ(0x12, p.mField8);
  EXPECT_EQ(0x1314, p.mTempo1);  // out of the parameter range, passed as it is
  EXPECT_EQ(0x15u, p.mField10);
  EXPECT_EQ(0x1617, p.mTempo2);
  EXPECT_FALSE(p.IsValid());
  EXPECT_EQ(static_cast<int32_t>(0x800A0B0Cu), model->mParameters[5].mLength);  // bit for bit

  // Back to the file: the same 2944 bytes.
  boost::shared_ptr<CSampleInformationDto> again = CModelMarshaller().Marahsll(*model);
  ASSERT_TRUE(again);
  EXPECT_TRUE(again->IsBigEndian());
  EXPECT_EQ(card, WrittenBy(*again));
}

TEST(SampleInformationFile, RecordsMapToBankAndPad) {
  Bytes card(2944, 0);
  card[23 * 16 + 11] = 0x20;   // record 16: bank 1 pad 0, 32 frames
  card[23 * 127 + 11] = 0x10;  // record 127: bank 7 pad 15
  CSampleInformationDto dto;
  ASSERT_TRUE(ReadFrom(dto, card));
  boost::shared_ptr<CModel> model = CModelMarshaller().Unmarshall(dto);
  ASSERT_TRUE(model);
  EXPECT_EQ(32, model->SampleParameter(1, 0).mLength);
  EXPECT_EQ(16, model->SampleParameter(7, 15).mLength);
  EXPECT_FALSE(model->IsSampleAssigned(0, 0));
}

TEST(SampleInformationFile, BlankCardReadsAsEmptySlotsAndWritesBackTheSameBytes) {
  Bytes const card(2944, 0);
  CSampleInformationDto dto;
  ASSERT_TRUE(ReadFrom(dto, card));
  boost::shared_ptr<CModel> model = CModelMarshaller().Unmarshall(dto);
  ASSERT_TRUE(model);
  for (VQ7::CSampleParameter const& p : model->mParameters) {
    EXPECT_EQ(0, p.mLength);
    EXPECT_EQ(0, p.mField8);
    EXPECT_EQ(0, p.mTempo1);
    EXPECT_EQ(0, p.mTempo2);
  }
  // Tempo 0 is outside the parameter range: the model is not valid, yet it
  // opens and answers like any other.
  EXPECT_FALSE(model->ClassInvariant());
  EXPECT_FALSE(model->IsSampleAssigned(3, 3));

  boost::shared_ptr<CSampleInformationDto> written = CModelMarshaller().Marahsll(*model);
  ASSERT_TRUE(written);
  EXPECT_EQ(card, WrittenBy(*written));
}

TEST(SampleInformationFile, LengthOfTheFile) {
  CSampleInformationDto dto;
  EXPECT_FALSE(ReadFrom(dto, Bytes()));
  EXPECT_FALSE(ReadFrom(dto, Bytes(23, 0)));
  // One byte short: the last record's 16-bit field is half there.
  EXPECT_FALSE(ReadFrom(dto, Bytes(2943, 0)));
  EXPECT_FALSE(ReadFrom(dto, Bytes(2944 - 23, 0)));
  EXPECT_TRUE(dto.GetRecords().empty());

  Bytes longer(2945, 0);
  longer[2944] = 0xFF;
  ASSERT_TRUE(ReadFrom(dto, longer));
  EXPECT_EQ(128u, dto.GetRecords().size());

  // Bytes after the 128th record are not read.
  Bytes trailing(4000, 0xFF);
  std::fill(trailing.begin(), trailing.begin() + 2944, 0);
  std::istringstream in(ToString(trailing));
  CSampleInformationDto other;
  ASSERT_TRUE(other.Read(in));
  EXPECT_EQ(2944, static_cast<long>(in.tellg()));
}

TEST(SampleInformationFile, AllOnesFieldsFailTheWholeRead) {
  struct {
    char const* what;
    std::vector<int> offsets;
    bool reads;
  } const cases[] = {
      {"byte field at 17", {17}, false},
      {"byte field at 12", {12}, false},
      {"byte field at 20", {20}, false},
      {"16-bit field at 21", {21, 22}, false},
      {"16-bit field at 18", {18, 19}, false},
      {"32-bit field at 8", {8, 9, 10, 11}, false},
      {"32-bit field at 0", {0, 1, 2, 3}, false},
      {"one byte of the 16-bit field at 21", {21}, true},
      {"one byte of the 16-bit field at 22", {22}, true},
      {"three bytes of the 32-bit field at 4", {4, 5, 6}, true},
      {"bytes 20 and 21 across two fields", {20, 21}, false},
      {"bytes 19 and 21, one in each 16-bit field", {19, 21}, true},
  };
  for (auto const& c : cases) {
    for (int record : {0, 64, 127}) {
      Bytes card(2944, 0);
      for (int offset : c.offsets) card[23 * record + offset] = 0xFF;
      CSampleInformationDto dto;
      EXPECT_EQ(c.reads, ReadFrom(dto, card)) << c.what << " in record " << record;
    }
  }
}

TEST(SampleInformationFile, FailedReadLeavesTheRecordsAsTheyWere) {
  CSampleInformationDto dto;
  Bytes const first = CardOf(DistinctRecord());
  ASSERT_TRUE(ReadFrom(dto, first));
  Bytes bad(2944, 0);
  bad[23 * 100 + 14] = 0xFF;
  EXPECT_FALSE(ReadFrom(dto, bad));
  EXPECT_FALSE(ReadFrom(dto, Bytes(2943, 0)));
  EXPECT_EQ(first, WrittenBy(dto));

  std::istringstream failed("");
  failed.setstate(std::ios::badbit);
  EXPECT_FALSE(dto.Read(failed));
  EXPECT_EQ(first, WrittenBy(dto));
}

TEST(SampleInformationFile, FlagBytesComeBackAsTheyWereRead) {
  Bytes card(2944, 0);
  card[23 * 3 + 13] = 2;
  card[23 * 3 + 15] = 7;
  card[23 * 3 + 16] = 254;
  card[23 * 4 + 13] = 0x80;
  CSampleInformationDto dto;
  ASSERT_TRUE(ReadFrom(dto, card));
  boost::shared_ptr<CModel> model = CModelMarshaller().Unmarshall(dto);
  ASSERT_TRUE(model);
  EXPECT_TRUE(model->mParameters[3].mStereo);
  EXPECT_TRUE(model->mParameters[3].mFlag6);
  EXPECT_EQ(card, WrittenBy(*CModelMarshaller().Marahsll(*model)));

  // A flag that changes is written as 0 or 1; one that keeps its truth keeps its byte.
  model->mParameters[3].mFlag6 = false;
  model->mParameters[4].mFlag7 = true;
  Bytes expected = card;
  expected[23 * 3 + 15] = 0;
  expected[23 * 4 + 16] = 1;
  EXPECT_EQ(expected, WrittenBy(*CModelMarshaller().Marahsll(*model)));
}

TEST(SampleInformationFile, MarshallingRefusesValuesThatComeOutAllOnes) {
  CModelMarshaller const marshaller;
  EXPECT_TRUE(marshaller.ClassInvariant());
  CModel model;
  EXPECT_TRUE(marshaller.Marahsll(model));

  struct {
    char const* what;
    void (*change)(VQ7::CSampleParameter&);
  } const cases[] = {
      {"field8 255", [](VQ7::CSampleParameter& p) { p.mField8 = 255; }},
      {"field8 511", [](VQ7::CSampleParameter& p) { p.mField8 = 511; }},
      {"tempo1 65535", [](VQ7::CSampleParameter& p) { p.mTempo1 = 65535; }},
      {"tempo2 0x1FFFF", [](VQ7::CSampleParameter& p) { p.mTempo2 = 0x1FFFF; }},
      {"length -1", [](VQ7::CSampleParameter& p) { p.mLength = -1; }},
      {"lofi 0x1FF", [](VQ7::CSampleParameter& p) { p.mLofi = 0x1FF; }},
  };
  for (auto const& c : cases) {
    CModel changed;
    c.change(changed.SampleParameter(4, 9));
    EXPECT_FALSE(marshaller.Marahsll(changed)) << c.what;
  }

  // Values that fit once cut pass unchecked: 256 in field 8 becomes 0.
  CModel cut;
  cut.SampleParameter(0, 1).mField8 = 256;
  cut.SampleParameter(0, 1).mTempo1 = 0x10005;
  boost::shared_ptr<CSampleInformationDto> dto = marshaller.Marahsll(cut);
  ASSERT_TRUE(dto);
  EXPECT_EQ(0, dto->GetRecords()[1].mField8);
  EXPECT_EQ(5, dto->GetRecords()[1].mTempo1);

  CSampleInformationDto empty;
  EXPECT_FALSE(marshaller.Unmarshall(empty));
}

TEST(SampleInformationFile, WriteReportsTheStream) {
  CSampleInformationDto empty;  // never read: nothing to write is a failure
  std::ostringstream out;
  EXPECT_FALSE(empty.Write(out));
  EXPECT_TRUE(out.str().empty());

  boost::shared_ptr<CSampleInformationDto> dto = CModelMarshaller().Marahsll(CModel());
  ASSERT_TRUE(dto);
  std::ofstream full("/dev/full", std::ios::binary);
  if (full.is_open()) {
    EXPECT_FALSE(dto->Write(full));
  }
  std::ofstream closed;
  EXPECT_FALSE(dto->Write(closed));
}

}  // namespace
