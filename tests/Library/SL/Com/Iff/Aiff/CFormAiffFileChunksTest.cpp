#include "SL/Com/Iff/Aiff/CFormAiffDto.h"

#include "Support/AudioFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

using namespace TestSupport;
typedef SL::CFormAiffFileChunks A;

namespace {

std::vector<unsigned char> Chunk(char const* id, std::vector<unsigned char> const& body,
                                 long declared = -1) {
  std::vector<unsigned char> out;
  PutText(out, id);
  PutBE(out, declared < 0 ? body.size() : static_cast<uint64_t>(declared), 4);
  out.insert(out.end(), body.begin(), body.end());
  if (body.size() % 2) out.push_back(0xFF);
  return out;
}

std::vector<unsigned char> Form(std::vector<std::vector<unsigned char> > const& chunks,
                                char const* type = "AIFF") {
  std::vector<unsigned char> children;
  for (auto const& c : chunks) children.insert(children.end(), c.begin(), c.end());
  std::vector<unsigned char> out;
  PutText(out, "FORM");
  PutBE(out, children.size() + 4, 4);
  PutText(out, type);
  out.insert(out.end(), children.begin(), children.end());
  return out;
}

std::vector<unsigned char> CommBody(int channels, int bits, std::vector<unsigned char> rate,
                                    int size = 18) {
  std::vector<unsigned char> b;
  PutBE(b, channels, 2);
  PutBE(b, 100, 4);
  PutBE(b, bits, 2);
  b.insert(b.end(), rate.begin(), rate.end());
  b.resize(size, 0);
  return b;
}

std::vector<unsigned char> const kRate44100 = {0x40, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0};

std::stringstream Stream(std::vector<unsigned char> const& bytes) {
  return std::stringstream(std::string(bytes.begin(), bytes.end()),
                           std::ios::in | std::ios::out | std::ios::binary);
}

std::vector<unsigned char> Bytes(std::stringstream const& s) {
  std::string const t = s.str();
  return std::vector<unsigned char>(t.begin(), t.end());
}

boost::shared_ptr<A::CFormAiffChunk::CDefaultChunkFactory> Factory(bool load = false) {
  return boost::shared_ptr<A::CFormAiffChunk::CDefaultChunkFactory>(
      new A::CFormAiffChunk::CDefaultChunkFactory(load));
}

template <class T>
T const* Get(SL::CFormAiffDto const& doc, char const* id) {
  return dynamic_cast<T const*>(doc.Find(id));
}

}  // namespace

TEST(FormAiffChunks, ReadsEveryKnownChunk) {
  std::vector<unsigned char> mark;
  PutBE(mark, 2, 2);
  PutBE(mark, 1, 2), PutBE(mark, 10, 4), mark.push_back(1),
      mark.push_back('A');                                                      // odd count: no pad
  PutBE(mark, 2, 2), PutBE(mark, 20, 4), mark.push_back(0), mark.push_back(0);  // empty name + pad
  std::vector<unsigned char> inst = {60, 0xFE, 0, 127, 1, 127};
  PutBE(inst, 0xFFFA, 2);
  PutBE(inst, 1, 2), PutBE(inst, 1, 2), PutBE(inst, 2, 2), PutBE(inst, 0, 2), PutBE(inst, 0, 2),
      PutBE(inst, 0, 2);
  std::vector<unsigned char> ssnd;
  PutBE(ssnd, 4, 4), PutBE(ssnd, 0, 4);
  ssnd.insert(ssnd.end(), {9, 9, 9, 9, 1, 2});
  std::stringstream in = Stream(Form(
      {Chunk("COMM", CommBody(1, 16, kRate44100, 22)), Chunk("MARK", mark), Chunk("INST", inst),
       Chunk("NAME", {'n', 'a', 'm', 0, 0}), Chunk("SSND", ssnd), Chunk("XYZW", {1})}));
  SL::CFormAiffDto doc(Factory());
  ASSERT_TRUE(doc.Read(in));
  EXPECT_EQ(doc.size(), 5u);
  auto const* comm = Get<A::CCommonChunk>(doc, "COMM");
  ASSERT_NE(comm, nullptr);
  EXPECT_EQ(comm->numChannels, 1);
  EXPECT_EQ(comm->sampleSize, 16);
  EXPECT_EQ(comm->sampleRate, 44100.0L);
  auto const* m = Get<A::CMarkerChunk>(doc, "MARK");
  ASSERT_TRUE(m && m->markers.size() == 2);
  EXPECT_EQ(m->markers[0].name.text, "A");
  EXPECT_EQ(m->markers[1].position, 20u);
  EXPECT_EQ(m->markers[1].name.text, "");
  auto const* i = Get<A::CInstrumentChunk>(doc, "INST");
  ASSERT_NE(i, nullptr);
  EXPECT_EQ(i->fields.detune, -2);
  EXPECT_EQ(i->fields.gain, -6);
  EXPECT_EQ(i->fields.sustainLoop.endLoop, 2);
  auto const* n = Get<A::CTextChunk>(doc, "NAME");
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(n->text, std::string("nam\0\0", 5)) << "zero bytes stay in the text";
  auto const* s = Get<A::CSoundDataChunk>(doc, "SSND");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->offset, 4u);
  EXPECT_EQ(s->GetSize(), 6u);
  EXPECT_TRUE(s->GetBytes().empty());
  // Written back, the fixed bodies give the bytes they were read from.
  SL::CFormAiffDto copy(Factory());
  for (auto const& chunk : doc) {
    std::string const id = chunk->GetHeader().GetId();
    if (id == "COMM" || id == "INST") copy.push_back(chunk);
  }
  std::stringstream out(std::ios::in | std::ios::out | std::ios::binary);
  ASSERT_TRUE(copy.Write(out));
  EXPECT_EQ(Bytes(out), Form({Chunk("COMM", CommBody(1, 16, kRate44100)), Chunk("INST", inst)}));
}

TEST(FormAiffChunks, CountsAndSizesBeyondTheBodyAreRefused) {
  std::vector<std::vector<unsigned char> > bad;
  std::vector<unsigned char> b;
  PutBE(b, 0xFFFF, 2);  // numMarkers -1
  bad.push_back(Chunk("MARK", b));
  b.clear();
  PutBE(b, 0x7FFF, 2);
  b.resize(20, 0);
  bad.push_back(Chunk("MARK", b));
  b.clear();
  PutBE(b, 0xFFFF, 2);
  b.resize(20, 0);
  bad.push_back(Chunk("COMT", b));
  b.clear();
  PutBE(b, 1, 2), PutBE(b, 0, 4), PutBE(b, 0, 2), PutBE(b, 0xFFFF, 2);  // text longer than the body
  bad.push_back(Chunk("COMT", b));
  bad.push_back(Chunk("NAME", {'a', 'b'}, 0x7FFFFFF0));  // 2 GiB of text
  bad.push_back(Chunk("SSND", {0, 0, 0, 0}));            // smaller than its two fields
  bad.push_back(Chunk("COMM", CommBody(1, 16, kRate44100), 16));
  bad.push_back(Chunk("INST", std::vector<unsigned char>(19, 0)));
  for (size_t k = 0; k < bad.size(); ++k) {
    std::vector<unsigned char> file = Form({bad[k]});
    if (k == 4)
      file[4] = 0x7F, file[5] = 0xFF, file[6] = 0xFF, file[7] = 0xFC;  // the root claims it all too
    std::stringstream in = Stream(file);
    SL::CFormAiffDto doc(Factory(true));
    EXPECT_FALSE(doc.Read(in)) << "case " << k;
  }
}
