#include "SL/Com/Iff/Wav/CRiffWaveFileChunks.h"

#include "GT/Com/Data/CEndianedStreamUtilities.h"
#include "SL/Com/Format/BitDepthCodes.h"

#include <istream>
#include <ostream>

namespace SL {

namespace {

GT::CEndianness::EEndian const kLittle = GT::CEndianness::LittleEndian;

// The fields of a fixed body in file order: one list serves reading and
// writing, so the two cannot drift apart.
template <class F>
void EachField(CRiffWaveFileChunks::CFormatChunk& c, F&& each) {
  each(c.formatTag);
  each(c.channels);
  each(c.samplesPerSecond);
  each(c.averageBytesPerSecond);
  each(c.blockAlign);
  each(c.bitsPerSample);
}

// Up to the two counts, which the writer takes from the lists.
template <class F>
void EachField(CRiffWaveFileChunks::CSamplerChunk& c, F&& each) {
  each(c.manufacturer);
  each(c.product);
  each(c.samplePeriod);
  each(c.midiUnityNote);
  each(c.midiPitchFraction);
  each(c.smpteFormat);
  each(c.smpteOffset);
  each(c.sampleLoopCount);
  each(c.samplerDataSize);
}

// The loop type travels as a 32-bit number.
template <class F>
void EachField(CRiffWaveFileChunks::CSamplerChunk::CSampleLoop& loop, uint32_t& type, F&& each) {
  each(loop.identifier);
  each(type);
  each(loop.start);
  each(loop.end);
  each(loop.fraction);
  each(loop.playCount);
}

}  // namespace

CIffChunk::CFourCharacterCode const CRiffWaveFileChunks::CRiffWaveChunk::sId("RIFF");
CIffChunk::CFourCharacterCode const CRiffWaveFileChunks::CRiffWaveChunk::sFormType("WAVE");
CIffChunk::CFourCharacterCode const CRiffWaveFileChunks::CFormatChunk::sId("fmt ");
CIffChunk::CFourCharacterCode const CRiffWaveFileChunks::CDataChunk::sId("data");
CIffChunk::CFourCharacterCode const CRiffWaveFileChunks::CSamplerChunk::sId("smpl");

// ---------------------------------------------------------------- root and factory

CRiffWaveFileChunks::CRiffWaveChunk::CRiffWaveChunk(boost::shared_ptr<IChunkFactory> factory)
    : CIffContainerChunk(kLittle, "RIFF", "WAVE", factory) {}

CRiffWaveFileChunks::CRiffWaveChunk::~CRiffWaveChunk() {}

CRiffWaveFileChunks::CRiffWaveChunk::CDefaultChunkFactory::CDefaultChunkFactory(bool loadData)
    : mLoadData(loadData) {}

std::unique_ptr<CIffChunk> CRiffWaveFileChunks::CRiffWaveChunk::CDefaultChunkFactory::Create(
    CFourCharacterCode const& id) {
  std::string const text = id;
  if (text == "fmt ") return std::unique_ptr<CIffChunk>(new CFormatChunk());
  if (text == "data") return std::unique_ptr<CIffChunk>(new CDataChunk(mLoadData));
  if (text == "smpl") return std::unique_ptr<CIffChunk>(new CSamplerChunk());
  return std::unique_ptr<CIffChunk>();
}

// ---------------------------------------------------------------- "fmt "

CRiffWaveFileChunks::CFormatChunk::CFormatChunk()
    : CIffChunk(kLittle, "fmt "),
      formatTag(0),
      channels(0),
      samplesPerSecond(0),
      averageBytesPerSecond(0),
      blockAlign(0),
      bitsPerSample(0),
      extraSize(0) {}

CRiffWaveFileChunks::CFormatChunk::~CFormatChunk() {}

bool CRiffWaveFileChunks::CFormatChunk::ReadBody(std::istream& stream) {
  GT::CEndianedStreamUtilities const io(GetEndian());
  EachField(*this, [&](auto& field) { io.Read(stream, field); });
  if (GetHeader().GetSize() != 16) {
    io.Read(stream, extraSize);
  }
  return !stream.fail();
}

bool CRiffWaveFileChunks::CFormatChunk::WriteBody(std::ostream& stream) {
  GT::CEndianedStreamUtilities const io(GetEndian());
  EachField(*this, [&](auto& field) { io.Write(stream, field); });
  io.Write(stream, extraSize);
  return !stream.fail();
}

int CRiffWaveFileChunks::CFormatChunk::ToSampleKind(uint16_t tag) {
  switch (tag) {
    case nPcm:
      return nIntegerKind;
    case nIeeeFloat:
      return nFloatKind;
    default:
      return nNone;
  }
}

uint16_t CRiffWaveFileChunks::CFormatChunk::ToFormatTag(int bitDepthCode) {
  return IsIntegerCode(bitDepthCode) ? nPcm : nIeeeFloat;
}

// ---------------------------------------------------------------- "data"

CRiffWaveFileChunks::CDataChunk::CDataChunk(bool load) : CIffDataChunk(kLittle, "data", load) {}

CRiffWaveFileChunks::CDataChunk::~CDataChunk() {}

// ---------------------------------------------------------------- "smpl"

CRiffWaveFileChunks::CSamplerChunk::CSampleLoop::CSampleLoop()
    : identifier(0), type(Forward), start(0), end(0), fraction(0), playCount(0) {}

CRiffWaveFileChunks::CSamplerChunk::CSamplerChunk()
    : CIffChunk(kLittle, "smpl"),
      manufacturer(0),
      product(0),
      samplePeriod(0),
      midiUnityNote(0),
      midiPitchFraction(0),
      smpteFormat(0),
      smpteOffset(0),
      sampleLoopCount(0),
      samplerDataSize(0),
      loops(),
      samplerData() {}

CRiffWaveFileChunks::CSamplerChunk::~CSamplerChunk() {}

bool CRiffWaveFileChunks::CSamplerChunk::ReadBody(std::istream& stream) {
  GT::CEndianedStreamUtilities const io(GetEndian());
  EachField(*this, [&](auto& field) { io.Read(stream, field); });
  if (stream.fail()) return false;
  // The counts must fit in what the body really holds before anything is allocated.
  long const needed =
      36L + 24L * static_cast<long>(sampleLoopCount) + static_cast<long>(samplerDataSize);
  if (needed > BodyBytesAvailable(stream)) {
    stream.setstate(std::ios_base::failbit);
    return false;
  }
  std::vector<CSampleLoop> readLoops(sampleLoopCount);
  for (CSampleLoop& loop : readLoops) {
    uint32_t type = 0;
    EachField(loop, type, [&](auto& field) { io.Read(stream, field); });
    loop.type = static_cast<CSampleLoop::EType>(type);
  }
  std::vector<unsigned char> readData(samplerDataSize, 0);
  if (!readData.empty())
    stream.read(reinterpret_cast<char*>(readData.data()),
                static_cast<std::streamsize>(readData.size()));
  if (stream.fail()) return false;
  loops.swap(readLoops);
  samplerData.swap(readData);
  return true;
}

bool CRiffWaveFileChunks::CSamplerChunk::WriteBody(std::ostream& stream) {
  GT::CEndianedStreamUtilities const io(GetEndian());
  sampleLoopCount = static_cast<uint32_t>(loops.size());
  samplerDataSize = static_cast<uint32_t>(samplerData.size());
  EachField(*this, [&](auto& field) { io.Write(stream, field); });
  for (CSampleLoop& loop : loops) {
    uint32_t type = static_cast<uint32_t>(loop.type);
    EachField(loop, type, [&](auto& field) { io.Write(stream, field); });
  }
  if (!samplerData.empty()) {
    stream.write(reinterpret_cast<char const*>(samplerData.data()),
                 static_cast<std::streamsize>(samplerData.size()));
  }
  return !stream.fail();
}

}  // namespace SL
