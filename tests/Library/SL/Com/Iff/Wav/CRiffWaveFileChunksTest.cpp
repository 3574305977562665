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

TEST(RiffWaveChunks, FormatChunkIsWrittenWith18Bytes) {
  std::stringstream in = Stream(Riff({Chunk("fmt ", FmtBody(3, 1, 48000, 32, 16))}));
  SL::CRiffWaveDto doc(Factory());
  ASSERT_TRUE(doc.Read(in));
  std::stringstream out(std::ios::in | std::ios::out | std::ios::binary);
  ASSERT_TRUE(doc.Write(out));
  std::string const s = out.str();
  std::vector<unsigned char> bytes(s.begin(), s.end());
  ASSERT_EQ(bytes.size(), 38u);
  EXPECT_EQ(GetLE(bytes, 4, 4), 30u);
  EXPECT_EQ(GetLE(bytes, 16, 4), 18u);
  EXPECT_EQ(GetLE(bytes, 20, 2), 3u);
  EXPECT_EQ(GetLE(bytes, 36, 2), 0u);
}

TEST(RiffWaveChunks, SamplerChunkRoundTripsAndWritesListSizes) {
  boost::shared_ptr<W::CSamplerChunk> smpl(new W::CSamplerChunk());
  smpl->midiUnityNote = 60;
  smpl->sampleLoopCount = 7;  // disagrees with the list: the list wins
  W::CSamplerChunk::CSampleLoop loop;
  loop.identifier = 1;
  loop.type = W::CSamplerChunk::CSampleLoop::Alternating;
  loop.start = 10;
  loop.end = 99;
  smpl->loops.push_back(loop);
  smpl->samplerData = {1, 2, 3};
  SL::CRiffWaveDto doc(Factory());
  doc.push_back(smpl);
  std::stringstream io(std::ios::in | std::ios::out | std::ios::binary);
  ASSERT_TRUE(doc.Write(io));
  EXPECT_EQ(smpl->GetHeader().GetSize(), 36 + 24 + 3);
  io.seekg(0);
  SL::CRiffWaveDto back(Factory());
  ASSERT_TRUE(back.Read(io));
  auto const* read = dynamic_cast<W::CSamplerChunk const*>(back.Find("smpl"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->midiUnityNote, 60u);
  EXPECT_EQ(read->sampleLoopCount, 1u);
  ASSERT_EQ(read->loops.size(), 1u);
  EXPECT_EQ(read->loops[0].type, W::CSamplerChunk::CSampleLoop::Alternating);
  EXPECT_EQ(read->loops[0].end, 99u);
  EXPECT_EQ(read->samplerData, (std::vector<unsigned char>{1, 2, 3}));
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

TEST(RiffWaveChunks, OtherChunksAreSkippedAndAbsent) {
  std::stringstream in = Stream(
      Riff({Chunk("LIST", {'I', 'N', 'F', 'O', 'x'}), Chunk("fmt ", FmtBody(1, 1, 8000, 8, 16)),
            Chunk("cue ", {1, 2, 3}), Chunk("data", {1, 2, 3})}));
  SL::CRiffWaveDto doc(Factory());
  ASSERT_TRUE(doc.Read(in));
  EXPECT_EQ(doc.size(), 2u);
  auto const* data = dynamic_cast<W::CDataChunk const*>(doc.Find("data"));
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->GetSize(), 3u);
  EXPECT_TRUE(data->GetBytes().empty());
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

TEST(RiffWaveChunks, ProbesAndRefusals) {
  std::vector<unsigned char> wave = Riff({Chunk("fmt ", FmtBody(1, 1, 8000, 8, 16))});
  std::vector<unsigned char> aiff = {'F', 'O', 'R', 'M', 0, 0, 0, 4, 'A', 'I', 'F', 'F'};
  SL::CRiffWaveDto doc(Factory());
  std::stringstream w = Stream(wave), a = Stream(aiff);
  EXPECT_TRUE(doc.CanRead(w));
  EXPECT_FALSE(doc.CanRead(a));
  EXPECT_EQ(a.tellg(), 0);
  SL::CFormAiffDto aiffDoc(
      boost::shared_ptr<SL::CFormAiffFileChunks::CFormAiffChunk::CDefaultChunkFactory>(
          new SL::CFormAiffFileChunks::CFormAiffChunk::CDefaultChunkFactory(false)));
  EXPECT_FALSE(aiffDoc.CanRead(w));
  EXPECT_TRUE(aiffDoc.CanRead(a));
  // RIFF size 0: reads, holds nothing.
  std::vector<unsigned char> zero = wave;
  zero[4] = zero[5] = zero[6] = zero[7] = 0;
  std::stringstream z = Stream(zero);
  SL::CRiffWaveDto empty(Factory());
  EXPECT_TRUE(empty.Read(z));
  EXPECT_EQ(empty.Find("fmt "), nullptr);
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

TEST(RiffWaveChunks, ReadsFilesOfIndependentTools) {
  if (!HasTool("sox") || !HasTool("sndfile-convert"))
    GTEST_SKIP() << "sox or sndfile-convert missing";
  CScratchDir dir;
  std::string const a = dir.File("a.wav"), b = dir.File("b.wav"), c = dir.File("c.wav");
  ASSERT_TRUE(RunTool("sox -n -r 22050 -c 2 -b 16 " + a + " synth 0.05 sine 440"));
  ASSERT_TRUE(RunTool("sndfile-convert -float64 " + a + " " + b));  // adds "fact" and "PEAK"
  ASSERT_TRUE(
      RunTool("sndfile-metadata-set --str-comment odd " + a + " " + c));  // "LIST" after "data"
  struct Expect {
    std::string path;
    int tag, bits;
  };
  for (Expect const& e : {Expect{a, 1, 16}, Expect{b, 3, 64}, Expect{c, 1, 16}}) {
    std::ifstream in(e.path.c_str(), std::ios::binary);
    SL::CRiffWaveDto doc(Factory());
    ASSERT_TRUE(doc.CanRead(in));
    ASSERT_TRUE(doc.Read(in)) << e.path;
    auto const* fmt = dynamic_cast<W::CFormatChunk const*>(doc.Find("fmt "));
    auto const* data = dynamic_cast<W::CDataChunk const*>(doc.Find("data"));
    ASSERT_TRUE(fmt && data);
    EXPECT_EQ(fmt->formatTag, e.tag);
    EXPECT_EQ(fmt->bitsPerSample, e.bits);
    EXPECT_EQ(fmt->samplesPerSecond, 22050u);
    EXPECT_EQ(data->GetSize(), 1103u * 2 * (e.bits / 8));
  }
}
