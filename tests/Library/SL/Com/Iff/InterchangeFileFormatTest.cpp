#include "SL/Com/Iff/InterchangeFileFormat.h"

#include "Support/AudioFixtures.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using TestSupport::GetBE;
using TestSupport::PutBE;
using TestSupport::PutText;

namespace {

typedef SL::CIffChunk::CFourCharacterCode Code;
GT::CEndianness::EEndian const kBig = GT::CEndianness::BigEndian;

// A child that reads a fixed number of body bytes, whatever its size says.
class CFixedChunk : public SL::CIffChunk {
public:
  CFixedChunk(Code const& id, int readBytes) : SL::CIffChunk(kBig, id), mReadBytes(readBytes) {}
  bool ReadBody(std::istream& stream) override {
    body.assign(mReadBytes, 0);
    if (mReadBytes > 0) stream.read(reinterpret_cast<char*>(body.data()), mReadBytes);
    return !stream.fail();
  }
  bool WriteBody(std::ostream& stream) override {
    stream.write(reinterpret_cast<char const*>(body.data()),
                 static_cast<std::streamsize>(body.size()));
    return !stream.fail();
  }
  std::vector<unsigned char> body;

private:
  int mReadBytes;
};

class CFactory : public SL::CIffContainerChunk::IChunkFactory {
public:
  explicit CFactory(int readBytes) : mReadBytes(readBytes) {}
  std::unique_ptr<SL::CIffChunk> Create(Code const& id) override {
    std::string const text = id;
    if (text == "ONE " || text == "TWO ") {
      return std::unique_ptr<SL::CIffChunk>(new CFixedChunk(id, mReadBytes));
    }
    if (text == "DATA")
      return std::unique_ptr<SL::CIffChunk>(new SL::CIffDataChunk(kBig, id, false));
    if (text == "LOAD")
      return std::unique_ptr<SL::CIffChunk>(new SL::CIffDataChunk(kBig, id, true));
    return std::unique_ptr<SL::CIffChunk>();
  }

private:
  int mReadBytes;
};

class CRoot : public SL::CIffContainerChunk {
public:
  explicit CRoot(boost::shared_ptr<IChunkFactory> factory)
      : SL::CIffContainerChunk(kBig, "FORM", "TEST", factory) {}
};
typedef SL::CIffDto<CRoot> CDocument;

std::vector<unsigned char> Chunk(char const* id, std::vector<unsigned char> const& body,
                                 unsigned char pad = 0xFF, long declared = -1) {
  std::vector<unsigned char> out;
  PutText(out, id);
  PutBE(out, declared < 0 ? body.size() : static_cast<uint64_t>(declared), 4);
  out.insert(out.end(), body.begin(), body.end());
  if (body.size() % 2) out.push_back(pad);
  return out;
}

std::vector<unsigned char> Form(std::vector<unsigned char> const& children, long declared = -1) {
  std::vector<unsigned char> out;
  PutText(out, "FORM");
  PutBE(out, declared < 0 ? children.size() + 4 : static_cast<uint64_t>(declared), 4);
  PutText(out, "TEST");
  out.insert(out.end(), children.begin(), children.end());
  return out;
}

std::vector<unsigned char> operator+(std::vector<unsigned char> a,
                                     std::vector<unsigned char> const& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::stringstream Stream(std::vector<unsigned char> const& bytes) {
  return std::stringstream(std::string(bytes.begin(), bytes.end()),
                           std::ios::in | std::ios::out | std::ios::binary);
}

CFixedChunk const* Fixed(CDocument const& doc, size_t i) {
  return dynamic_cast<CFixedChunk const*>(doc.at(i).get());
}

}  // namespace

TEST(IffChunkFramework, ReadsChildrenInOrderSkippingUnknownIdsAndAnyPadValue) {
  for (unsigned char pad : {0x00, 0xFF, 0x5A}) {
    std::stringstream in = Stream(Form(Chunk("ONE ", {1, 2, 3}, pad) + Chunk("SKIP", {9}) +
                                       Chunk("TWO ", {4, 5}) + Chunk("ONE ", {6})));
    CDocument doc(boost::shared_ptr<CFactory>(new CFactory(1)));
    ASSERT_TRUE(doc.Read(in));
    ASSERT_EQ(doc.size(), 3u) << "the unknown chunk is not kept";
    EXPECT_EQ(Fixed(doc, 0)->body,
              (std::vector<unsigned char>{1}));  // read fewer bytes than its size
    EXPECT_EQ(Fixed(doc, 1)->body, (std::vector<unsigned char>{4}));
    EXPECT_EQ(doc.Find("ONE "), doc.at(0).get()) << "the first of two";
    EXPECT_EQ(doc.Find("NONE"), nullptr);
  }
}

TEST(IffChunkFramework, ChildReadingPastItsEndFailsTheWholeRead) {
  std::stringstream in =
      Stream(Form(Chunk("TWO ", {1, 2}) + Chunk("ONE ", {1, 2}) + Chunk("ONE ", {0, 0, 0, 0})));
  CDocument doc(boost::shared_ptr<CFactory>(new CFactory(4)));
  EXPECT_FALSE(doc.Read(in));
  EXPECT_TRUE(doc.empty());
}

TEST(IffChunkFramework, WalkEndsQuietlyAtDamagedTails) {
  // Bytes after the root's end, a truncated last header, a child running past the container.
  std::vector<unsigned char> const good = Chunk("ONE ", {7, 8});
  std::vector<std::vector<unsigned char> > files = {
      Form(good) + Chunk("TWO ", {1, 2}),
      Form(good + std::vector<unsigned char>{'T', 'W', 'O'}),
      Form(good + Chunk("TWO ", {1, 2}, 0xFF, 100)),
  };
  for (auto const& file : files) {
    std::stringstream in = Stream(file);
    CDocument doc(boost::shared_ptr<CFactory>(new CFactory(2)));
    EXPECT_TRUE(doc.Read(in));
    ASSERT_EQ(doc.size(), 1u);
    EXPECT_EQ(Fixed(doc, 0)->body, (std::vector<unsigned char>{7, 8}));
  }
}

TEST(IffChunkFramework, RefusesWrongRootsAndNegativeSizes) {
  std::vector<unsigned char> file = Form(Chunk("ONE ", {1, 2}));
  CDocument doc(boost::shared_ptr<CFactory>(new CFactory(2)));
  std::vector<unsigned char> wrongForm = file;
  wrongForm[8] = 'X';
  std::vector<unsigned char> negative = file;
  negative[4] = 0x80;
  std::vector<unsigned char> wrongId = file;
  wrongId[0] = 'R';
  for (auto const& bad : {wrongForm, negative, wrongId}) {
    std::stringstream in = Stream(bad);
    EXPECT_FALSE(doc.CanRead(in));
    EXPECT_FALSE(doc.Read(in));
    EXPECT_TRUE(doc.empty());
  }
}

TEST(IffChunkFramework, KeptChunkClaimingMoreThanTheFileIsRefused) {
  // Skipped payload: without the check the walk would accept a data chunk the file cannot hold.
  std::vector<unsigned char> file = Form(Chunk("DATA", {1, 2, 3, 4}, 0xFF, 1000), 1012);
  {
    std::stringstream in = Stream(file);
    CDocument doc(boost::shared_ptr<CFactory>(new CFactory(0)));
    EXPECT_FALSE(doc.Read(in));
  }
  std::vector<unsigned char> huge = Form(Chunk("LOAD", {1, 2}, 0xFF, 0x7FFFFFF0), 0x7FFFFFFC);
  std::stringstream in = Stream(huge);
  CDocument doc(boost::shared_ptr<CFactory>(new CFactory(0)));
  EXPECT_FALSE(doc.Read(in)) << "must fail without a 2 GiB allocation";
  // A payload that fits is skipped or loaded as declared.
  std::stringstream fits = Stream(Form(Chunk("DATA", {1, 2, 3}) + Chunk("LOAD", {4, 5, 6})));
  CDocument ok(boost::shared_ptr<CFactory>(new CFactory(0)));
  ASSERT_TRUE(ok.Read(fits));
  ASSERT_EQ(ok.size(), 2u);
  auto const* skipped = dynamic_cast<SL::CIffDataChunk const*>(ok.at(0).get());
  auto const* loaded = dynamic_cast<SL::CIffDataChunk const*>(ok.at(1).get());
  EXPECT_EQ(skipped->GetSize(), 3u);
  EXPECT_TRUE(skipped->GetBytes().empty());
  EXPECT_EQ(loaded->GetBytes(), (std::vector<unsigned char>{4, 5, 6}));
  EXPECT_EQ(skipped->GetHeader().GetBodyPosition(), 20);
}
