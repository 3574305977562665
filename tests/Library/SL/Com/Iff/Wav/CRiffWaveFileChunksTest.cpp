#include "SL/Com/Iff/Aiff/CFormAiffDto.h"
#include "SL/Com/Iff/Wav/CRiffWaveDto.h"

#include "Support/AudioFixtures.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace TestSupport;
typedef SL::CRiffWaveFileChunks W;

namespace {

std::vector<unsigned char> Chunk(char const* id, std::vector<unsigned char> const& body,
                                 long declared = -1) {
  std::vector<unsigned char> out;
  PutText(out, id);
  PutLE(out, declared < 0 ? body.size() : static_cast<uint64_t>(declared), 4);
  out.insert(out.end(), body.begin(), body.end());
  if (body.size() % 2) out.push_back(0);
  return out;
}

std::vector<unsigned char> Riff(std::vector<std::vector<unsigned char> > const& chunks) {
  std::vector<unsigned char> children;
  for (auto const& c : chunks) children.insert(children.end(), c.begin(), c.end());
  std::vector<unsigned char> out;
  PutText(out, "RIFF");
  PutLE(out, children.size() + 4, 4);
  PutText(out, "WAVE");
  out.insert(out.end(), children.begin(), children.end());
  return out;
}

std::vector<unsigned char> FmtBody(int tag, int channels, int rate, int bits, int size) {
  std::vector<unsigned char> b;
  PutLE(b, tag, 2);
  PutLE(b, channels, 2);
  PutLE(b, rate, 4);
  PutLE(b, rate * channels * bits / 8, 4);
  PutLE(b, channels * bits / 8, 2);
  PutLE(b, bits, 2);
  while (static_cast<int>(b.size()) < size)
    b.push_back(static_cast<unsigned char>(b.size() == 16 ? 22 : 0));
  return b;
}

std::stringstream Stream(std::vector<unsigned char> const& bytes) {
  return std::stringstream(std::string(bytes.begin(), bytes.end()),
                           std::ios::in | std::ios::out | std::ios::binary);
}

boost::shared_ptr<W::CRiffWaveChunk::CDefaultChunkFactory> Factory(bool load = false) {
  return boost::shared_ptr<W::CRiffWaveChunk::CDefaultChunkFactory>(
      new W::CRiffWaveChunk::CDefaultChunkFactory(load));
}

}  // namespace

TEST(RiffWaveChunks, FormatBodiesOf16And18AndLongerBytes) {
  for (int size : {16, 18, 40}) {
    std::stringstream in =
        Stream(Riff({Chunk("fmt ", FmtBody(1, 2, 44100, 16, size)), Chunk("data", {1, 2, 3, 4})}));
    SL::CRiffWaveDto doc(Factory());
    ASSERT_TRUE(doc.Read(in)) << size;
    auto const* fmt = dynamic_cast<W::CFormatChunk const*>(doc.Find("fmt "));
    ASSERT_NE(fmt, nullptr);
    EXPECT_EQ(fmt->channels, 2);
    EXPECT_EQ(fmt->samplesPerSecond, 44100u);
    EXPECT_EQ(fmt->blockAlign, 4);
    EXPECT_EQ(fmt->extraSize, size == 16 ? 0 : 22);
    ASSERT_NE(doc.Find("data"), nullptr) << "the walk continues after a long format chunk";
  }
  for (int size : {14, 17}) {
    std::stringstream in = Stream(Riff({Chunk("fmt ", FmtBody(1, 2, 44100, 16, 18), size)}));
    SL::CRiffWaveDto doc(Factory());
    EXPECT_FALSE(doc.Read(in)) << size;
  }
}

TEST(RiffWaveChunks, SamplerCountsBeyondTheBodyFailBeforeAllocating) {
  for (uint32_t loops : {2u, 0x0FFFFFFFu, 0xFFFFFFFFu}) {
    std::vector<unsigned char> body(36, 0);
    for (int i = 0; i < 4; ++i) body[28 + i] = static_cast<unsigned char>(loops >> (8 * i));
    body.resize(36 + 24, 0);
    std::stringstream in = Stream(Riff({Chunk("smpl", body)}));
    SL::CRiffWaveDto doc(Factory());
    EXPECT_FALSE(doc.Read(in)) << loops;
  }
  std::vector<unsigned char> body(36, 0);
  body[32] = 0xFF;
  body[33] = 0xFF;
  body[34] = 0xFF;
  body[35] = 0x7F;  // sampler data of 2 GiB
  std::stringstream in = Stream(Riff({Chunk("smpl", body)}));
  SL::CRiffWaveDto doc(Factory());
  EXPECT_FALSE(doc.Read(in));
}

TEST(RiffWaveChunks, OddDataWithoutPadEndsTheWalkButReadsAtTheEnd) {
  std::vector<unsigned char> file =
      Riff({Chunk("fmt ", FmtBody(1, 1, 8000, 8, 16)), Chunk("data", {1, 2, 3})});
  file.pop_back();  // the pad byte
  std::stringstream atEnd = Stream(file);
  SL::CRiffWaveDto doc(Factory(true));
  ASSERT_TRUE(doc.Read(atEnd));
  auto const* data = dynamic_cast<W::CDataChunk const*>(doc.Find("data"));
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->GetBytes(), (std::vector<unsigned char>{1, 2, 3}));
}

TEST(RiffWaveChunks, TruncatedDataIsRefusedWhetherLoadedOrNot) {
  std::vector<unsigned char> file =
      Riff({Chunk("fmt ", FmtBody(1, 1, 8000, 8, 16)), Chunk("data", {1, 2, 3, 4, 5, 6})});
  file.resize(file.size() - 2);
  for (bool load : {false, true}) {
    std::stringstream in = Stream(file);
    SL::CRiffWaveDto doc(Factory(load));
    EXPECT_FALSE(doc.Read(in)) << load;
  }
}
