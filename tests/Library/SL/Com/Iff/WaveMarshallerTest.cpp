// WAVE and AIFF file objects into waves: depth, length, rate, notes and the
// loop from "smpl" or INST and MARK; samples of files sox writes; files we
// write with notes, markers and loops as libsndfile reads them.

#include "SL/Com/Iff/Aiff/CWaveMarshallerToFormAiffDto.h"
#include "SL/Com/Iff/Wav/CWaveMarshallerToRiffWaveDto.h"
#include "SL/Com/Stream/CFileSampleIteratorFactory.h"
#include "SL/Com/Stream/ITypedInputSampleIterator.h"
#include "SL/Com/Wave/ILoop.h"

#include "Support/AudioFixtures.h"
#include "Support/DeviceCoding.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <fstream>

using namespace SL;
typedef CWave<nFloat64> CWave64;
typedef CRiffWaveFileChunks W;
typedef CFormAiffFileChunks A;
typedef W::CSamplerChunk::CSampleLoop CSampleLoop;

namespace {

template <class T>
T& Add(CIffContainerChunk& root, T* chunk) {
  root.push_back(boost::shared_ptr<CIffChunk>(chunk));
  return *chunk;
}

// A WAVE file object read without its sample bytes.
struct CWav {
  CRiffWaveDto dto{boost::shared_ptr<CIffContainerChunk::IChunkFactory>()};
  CWav(uint16_t tag, uint16_t bits, uint16_t channels, unsigned long bytes) {
    W::CFormatChunk& format = Add(dto, new W::CFormatChunk);
    format.formatTag = tag;
    format.bitsPerSample = bits;
    format.channels = channels;
    format.samplesPerSecond = 44100;
    Add(dto, new W::CDataChunk(false)).SetSize(bytes);
  }
  W::CSamplerChunk& Sampler(uint32_t unity, uint32_t fraction) {
    W::CSamplerChunk& sampler = Add(dto, new W::CSamplerChunk);
    sampler.midiUnityNote = unity;
    sampler.midiPitchFraction = fraction;
    return sampler;
  }
  std::unique_ptr<CWave64> Wave() {
    return Private::CWaveMarshallerToRiffWaveDto<nFloat64>().Unmarshall(dto);
  }
};

// An AIFF file object read without its sample bytes.
struct CAiff {
  CFormAiffDto dto{boost::shared_ptr<CIffContainerChunk::IChunkFactory>()};
  A::CSoundDataChunk* sound;
  CAiff(int16_t bits, int16_t channels, unsigned long bytes, uint32_t offset = 0) {
    A::CCommonChunk& common = Add(dto, new A::CCommonChunk);
    common.sampleSize = bits;
    common.numChannels = channels;
    common.numSampleFrames = 12345;  // never consulted
    common.sampleRate = 22050.0L;
    sound = &Add(dto, new A::CSoundDataChunk(false));
    sound->SetSize(bytes);
    sound->offset = offset;
  }
  void Instrument(int8_t note, int8_t detune, int16_t mode, std::vector<CSampleLoop> markers) {
    A::CInstrumentChunk& instrument = Add(dto, new A::CInstrumentChunk);
    instrument.fields.baseNote = note;
    instrument.fields.detune = detune;
    instrument.fields.sustainLoop.playMode = mode;
    instrument.fields.sustainLoop.beginLoop = 1;
    instrument.fields.sustainLoop.endLoop = 2;
    if (markers.empty()) return;
    A::CMarkerChunk& mark = Add(dto, new A::CMarkerChunk);
    for (CSampleLoop const& m : markers) {  // identifier and start: id and position
      mark.markers.emplace_back();
      mark.markers.back().id = static_cast<int16_t>(m.identifier);
      mark.markers.back().position = m.start;
    }
  }
  std::unique_ptr<CWave64> Wave() {
    return Private::CWaveMarshallerToFormAiffDto<nFloat64>().Unmarshall(dto);
  }
};

CSampleLoop Loop(uint32_t type, uint32_t count, uint32_t start, uint32_t end, uint32_t fraction) {
  CSampleLoop loop;
  loop.type = static_cast<CSampleLoop::EType>(type);
  loop.playCount = count;
  loop.start = start;
  loop.end = end;
  loop.fraction = fraction;
  return loop;
}
CSampleLoop Marker(int16_t id, uint32_t position) {
  CSampleLoop marker;
  marker.identifier = static_cast<uint16_t>(id);
  marker.start = position;
  return marker;
}

// start, loop and end frames, mode
std::vector<double> LoopOf(IWave const& wave) {
  ILoop const& loop = wave.Loop();
  return {loop.GetStartFrame(), loop.GetLoopFrame(), loop.GetEndFrame(),
          static_cast<double>(loop.GetLoopMode().GetValue()), loop.GetLoopTune()};
}
double Mode(CLoopMode const& mode) { return mode.GetValue(); }

}  // namespace

TEST(WaveMarshallerTest, WaveFormatLengthAndFailures) {
  struct {
    uint16_t tag, bits, channels;
    unsigned long bytes;
    int depth;  // 0: no wave
    long frames;
  } const cases[] = {{1, 16, 2, 1000, nInteger16, 250},
                     {1, 16, 2, 1001, nInteger16, 250},
                     {1, 8, 1, 7, nInteger8, 7},
                     {1, 24, 2, 12, nInteger24, 2},
                     {1, 32, 1, 9, nInteger32, 2},
                     {3, 32, 1, 8, nFloat32, 2},
                     {3, 64, 3, 48, nFloat64, 2},
                     {3, 16, 1, 8, 0, 0},
                     {1, 12, 1, 8, 0, 0},
                     {2, 4, 1, 8, 0, 0},
                     {0xFFFE, 16, 1, 8, 0, 0},
                     {1, 16, 0, 8, 0, 0}};
  for (auto const& c : cases) {
    CWav file(c.tag, c.bits, c.channels, c.bytes);
    std::unique_ptr<CWave64> const wave = file.Wave();
    std::string const where = std::to_string(c.tag) + "/" + std::to_string(c.bits);
    ASSERT_EQ(c.depth != 0, wave != nullptr) << where;
    if (!wave) continue;
    EXPECT_EQ(c.depth, wave->GetOriginalBitDepth().GetValue()) << where;
    EXPECT_EQ(c.frames, wave->GetLocation().end) << where;
    EXPECT_EQ(c.channels, wave->Channels().size()) << where;
    EXPECT_TRUE(wave->Channels()[0]->IsNull()) << "sized only";
    EXPECT_EQ(44100.0, wave->GetSampleRate());
    EXPECT_EQ(60.0, wave->GetRecordNote());
    EXPECT_EQ((std::vector<double>{0.0, 0.0, c.frames - 1.0, Mode(CLoopMode::OneShot), 0.0}),
              LoopOf(*wave));
  }
  CWav noData(1, 16, 1, 8);
  noData.dto.pop_back();
  EXPECT_FALSE(noData.Wave());
  CWav noFormat(1, 16, 1, 8);
  noFormat.dto.erase(noFormat.dto.begin());
  EXPECT_FALSE(noFormat.Wave());
}

TEST(WaveMarshallerTest, WaveNotesAndTheFirstSamplerLoop) {
  struct {
    uint32_t fraction;
    std::vector<CSampleLoop> loops;
    double note;
    std::vector<double> loop;  // start, loop, end, mode, tune
  } const cases[] = {
      {0x80000000, {}, 59.499999999883585, {0, 0, 249, Mode(CLoopMode::OneShot), 0}},
      {0, {Loop(0, 0, 100, 200, 0)}, 60.0, {0, 99, 200, Mode(CLoopMode::Forward), 0}},
      {0,
       {Loop(0, 3, 100, 200, 0), Loop(1, 0, 1, 2, 0)},
       60.0,
       {0, 99, 200, Mode(CLoopMode::Forward), 0}},
      {0, {Loop(0, 1, 100, 200, 0)}, 60.0, {0, 100, 200, Mode(CLoopMode::OneShot), 0}},
      {0, {Loop(1, 0, 100, 200, 0)}, 60.0, {0, 100, 200, Mode(CLoopMode::AlternatePlus), 0}},
      {0, {Loop(1, 2, 100, 200, 0)}, 60.0, {0, 100, 200, Mode(CLoopMode::OneShot), 0}},
      {0, {Loop(2, 1, 100, 200, 0)}, 60.0, {0, 100, 200, Mode(CLoopMode::OneShotReverse), 0}},
      {0, {Loop(2, 0, 100, 200, 0)}, 60.0, {0, 100, 200, Mode(CLoopMode::ForwardReverse), 0}},
      {0, {Loop(5, 0, 100, 200, 0)}, 60.0, {0, 100, 200, Mode(CLoopMode::OneShot), 0}},
      {0,
       {Loop(0, 0, 100, 200, 0x80000000)},
       60.0,
       {0, 99, 200.50000000011642, Mode(CLoopMode::Forward), 0}},
      {0, {Loop(0, 0, 0, 900, 0)}, 60.0, {-1, -1, 900, Mode(CLoopMode::Forward), 0}}};
  for (auto const& c : cases) {
    CWav file(1, 16, 2, 1000);
    file.Sampler(60, c.fraction).loops = c.loops;
    std::unique_ptr<CWave64> const wave = file.Wave();
    ASSERT_TRUE(wave);
    EXPECT_EQ(
        (std::vector<double>{c.note, c.note, c.note}),
        (std::vector<double>{wave->GetRecordNote(), wave->GetActualNote(), wave->GetPlayNote()}));
    EXPECT_EQ(c.loop, LoopOf(*wave)) << c.loops.size();
  }
}

TEST(WaveMarshallerTest, AiffFormatLengthNameNotesAndMarkers) {
  struct {
    int16_t bits, channels;
    unsigned long bytes;
    uint32_t offset;
    int depth;
    long frames;
  } const formats[] = {{24, 1, 3000, 0, nInteger24, 1000},
                       {16, 2, 4096 + 16000, 4096, nInteger16, 4000},
                       {8, 2, 9, 1, nInteger8, 4},
                       {32, 1, 9, 0, nInteger32, 2},
                       {16, 1, 8, 8, nInteger16, 0},
                       {16, 1, 8, 9, 0, 0},
                       {12, 1, 8, 0, 0, 0},
                       {-16, 1, 8, 0, 0, 0},
                       {16, 0, 8, 0, 0, 0},
                       {16, -1, 8, 0, 0, 0}};
  for (auto const& c : formats) {
    std::unique_ptr<CWave64> const wave = CAiff(c.bits, c.channels, c.bytes, c.offset).Wave();
    std::string const where = std::to_string(c.bits) + " bits, offset " + std::to_string(c.offset);
    ASSERT_EQ(c.depth != 0, wave != nullptr) << where;
    if (!wave) continue;
    EXPECT_EQ(c.depth, wave->GetOriginalBitDepth().GetValue()) << where;
    EXPECT_EQ(c.frames, wave->GetLocation().end) << where;
    EXPECT_EQ(22050.0, wave->GetSampleRate());
    EXPECT_EQ("", wave->GetName());
  }
  CAiff noSound(16, 1, 8);
  noSound.dto.pop_back();
  EXPECT_FALSE(noSound.Wave());
  CAiff noCommon(16, 1, 8);
  noCommon.dto.erase(noCommon.dto.begin());
  EXPECT_FALSE(noCommon.Wave());
  CAiff named(16, 1, 8);
  Add(named.dto, new A::CTextChunk(A::CTextChunk::sNameId)).text = std::string("Pad\0", 4);
  EXPECT_EQ(std::string("Pad\0", 4), named.Wave()->GetName());

  double const forward = Mode(CLoopMode::Forward), oneShot = Mode(CLoopMode::OneShot);
  struct {
    int8_t detune;
    int16_t mode;
    std::vector<CSampleLoop> markers;
    double note;
    std::vector<double> loop;  // of a 1000-frame wave
  } const instruments[] = {
      {-50, 1, {Marker(1, 100), Marker(2, 201)}, 59.5, {0, 99, 200, forward, 0}},
      {25,
       2,
       {Marker(2, 201), Marker(1, 100)},
       60.25,
       {0, 100, 200, Mode(CLoopMode::AlternatePlus), 0}},
      {0, 0, {Marker(1, 100), Marker(2, 201)}, 60.0, {0, 100, 200, oneShot, 0}},
      {0, 7, {Marker(1, 100)}, 60.0, {0, 100, 999, oneShot, 0}},
      {0, 1, {}, 60.0, {0, 0, 999, forward, 0}},
      {0, 1, {Marker(1, 0), Marker(2, 0)}, 60.0, {-1, -1, -1, forward, 0}},
      {0, 1, {Marker(1, 10), Marker(1, 30), Marker(3, 50)}, 60.0, {0, 29, 999, forward, 0}}};
  for (auto const& c : instruments) {
    CAiff file(16, 1, 2000);
    file.Instrument(60, c.detune, c.mode, c.markers);
    std::unique_ptr<CWave64> const wave = file.Wave();
    ASSERT_TRUE(wave);
    EXPECT_EQ(
        (std::vector<double>{c.note, c.note, c.note}),
        (std::vector<double>{wave->GetRecordNote(), wave->GetActualNote(), wave->GetPlayNote()}));
    EXPECT_EQ(c.loop, LoopOf(*wave)) << "mode " << c.mode << ", " << c.markers.size() << " markers";
  }
  // A marker naming both loop ends is the begin only.
  CAiff both(16, 1, 2000);
  both.Instrument(60, 0, 1, {Marker(1, 100)});
  static_cast<A::CInstrumentChunk*>(both.dto.Find("INST"))->fields.sustainLoop.endLoop = 1;
  EXPECT_EQ((std::vector<double>{0, 99, 999, forward, 0}), LoopOf(*both.Wave()));
}

namespace {

using TestSupport::PutBE;
using TestSupport::PutLE;
using TestSupport::PutText;
typedef std::vector<unsigned char> CBytes;

CBytes Chunk(char const* id, CBytes const& body, bool big) {
  CBytes out;
  PutText(out, id);
  (big ? PutBE : PutLE)(out, body.size(), 4);
  out.insert(out.end(), body.begin(), body.end());
  if (body.size() % 2) out.push_back(0xFF);
  return out;
}

CBytes File(char const* root, char const* type, std::vector<CBytes> const& chunks, bool big) {
  CBytes body;
  PutText(body, type);
  for (auto const& c : chunks) body.insert(body.end(), c.begin(), c.end());
  return Chunk(root, body, big);
}

// 8-bit mono files holding the given sample bytes.
CBytes Aiff8(CBytes const& samples, uint32_t offset = 0) {
  CBytes comm, ssnd;
  PutBE(comm, 1, 2), PutBE(comm, samples.size(), 4), PutBE(comm, 8, 2);
  for (unsigned char b : {0x40, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0}) comm.push_back(b);
  PutBE(ssnd, offset, 4), PutBE(ssnd, 0, 4);
  ssnd.insert(ssnd.end(), offset, 0x55);
  ssnd.insert(ssnd.end(), samples.begin(), samples.end());
  return File("FORM", "AIFF", {Chunk("COMM", comm, true), Chunk("SSND", ssnd, true)}, true);
}
CBytes Wav8(CBytes const& samples) {
  CBytes fmt;
  PutLE(fmt, 1, 2), PutLE(fmt, 1, 2), PutLE(fmt, 44100, 4), PutLE(fmt, 44100, 4);
  PutLE(fmt, 1, 2), PutLE(fmt, 8, 2);
  return File("RIFF", "WAVE", {Chunk("fmt ", fmt, false), Chunk("data", samples, false)}, false);
}

// The wave of a file read with or without its sample bytes.
std::unique_ptr<CWave64> ReadWave(std::string const& path, bool load) {
  std::ifstream in(path, std::ios::binary);
  CRiffWaveDto wav(boost::shared_ptr<CIffContainerChunk::IChunkFactory>(
      new W::CRiffWaveChunk::CDefaultChunkFactory(load)));
  if (wav.CanRead(in))
    return wav.Read(in) ? Private::CWaveMarshallerToRiffWaveDto<nFloat64>().Unmarshall(wav)
                        : nullptr;
  CFormAiffDto aiff(boost::shared_ptr<CIffContainerChunk::IChunkFactory>(
      new A::CFormAiffChunk::CDefaultChunkFactory(load)));
  return aiff.Read(in) ? Private::CWaveMarshallerToFormAiffDto<nFloat64>().Unmarshall(aiff)
                       : nullptr;
}

std::vector<std::vector<double> > Samples(IWave const& wave) {
  std::vector<std::vector<double> > out;
  for (auto const& channel : wave.Channels()) {
    auto const* samples = dynamic_cast<CChannel<nFloat64> const*>(channel.get());
    if (samples == nullptr) return {};
    out.emplace_back(samples->begin(), samples->end());
  }
  return out;
}

// The raw values the file sample stream hands out.
std::vector<int> Streamed(std::string const& path) {
  boost::shared_ptr<IInputSampleIterator> const stream = CFileSampleIteratorFactory().Create(path);
  auto* bytes = dynamic_cast<ITypedInputSampleIterator<nInteger8>*>(stream.get());
  std::vector<int> out;
  for (; bytes && bytes->HasNext(); bytes->Next()) out.push_back(bytes->Get());
  return out;
}

}  // namespace

TEST(WaveMarshallerTest, EightBitAiffIsSignedEightBitWavUnsignedEitherWay) {
  TestSupport::CScratchDir dir;
  double const low = -1.0078740157480315;
  struct {
    char const* name;
    CBytes file;
  } const cases[] = {{"a.aif", Aiff8({0x00, 0x7F, 0x80})},
                     {"o.aif", Aiff8({0x00, 0x7F, 0x80}, 5)},
                     {"a.wav", Wav8({0x80, 0xFF, 0x00})}};
  for (auto const& c : cases) {
    TestSupport::WriteFileBytes(dir / c.name, c.file);
    EXPECT_EQ((std::vector<int>{0x80, 0xFF, 0x00}), Streamed(dir / c.name)) << c.name;
    std::unique_ptr<CWave64> const wave = ReadWave(dir / c.name, true);
    ASSERT_TRUE(wave) << c.name;
    EXPECT_EQ((std::vector<std::vector<double> >{{0.0, 1.0, low}}), Samples(*wave)) << c.name;
    EXPECT_EQ(3, ReadWave(dir / c.name, false)->GetLocation().end) << c.name;
  }
  if (!TestSupport::HasTool("sox")) GTEST_SKIP() << "sox is not installed";
  // sox reads the AIFF bytes as signed too.
  ASSERT_TRUE(
      TestSupport::RunTool("sox " + dir / "a.aif" + " -t raw -e signed -b 8 " + dir / "a.raw"));
  EXPECT_EQ((CBytes{0x00, 0x7F, 0x80}), TestSupport::ReadFileBytes(dir / "a.raw"));
}

TEST(WaveMarshallerTest, SamplesOfFilesSoxWritesAtEveryDepth) {
  if (!TestSupport::HasTool("sox")) GTEST_SKIP() << "sox is not installed";
  TestSupport::CScratchDir dir;
  struct {
    char const* name;
    char const* encoding;
    int bits;
  } const files[] = {{"i8.wav", "unsigned-integer", 8},  {"i16.wav", "signed-integer", 16},
                     {"i24.wav", "signed-integer", 24},  {"i32.wav", "signed-integer", 32},
                     {"f32.wav", "floating-point", 32},  {"i8.aiff", "signed-integer", 8},
                     {"i16.aiff", "signed-integer", 16}, {"i24.aiff", "signed-integer", 24},
                     {"i32.aiff", "signed-integer", 32}};
  for (auto const& f : files) {
    std::string const path = dir / f.name;
    // Plain PCM or float tags: an extensible WAV is not read (below).
    std::string const type = path.find(".wav") != std::string::npos ? " -t wavpcm " : " ";
    ASSERT_TRUE(TestSupport::RunTool("sox -r 22050 -n -c 2 -e " + std::string(f.encoding) + " -b " +
                                     std::to_string(f.bits) + type + path +
                                     " synth 101s sine 300 sine 5000 vol 0.9"));
    bool const fp = f.encoding[0] == 'f';
    ASSERT_TRUE(TestSupport::RunTool("sox " + path + " -t raw -L -e " +
                                     (fp ? "floating-point" : "signed-integer") + " -b 32 " + path +
                                     ".raw"));
    CBytes const raw = TestSupport::ReadFileBytes(path + ".raw");
    std::vector<std::vector<double> > expected(2);
    for (size_t i = 0; i + 4 <= raw.size(); i += 4) {
      uint32_t const u = TestSupport::GetLE(raw, i, 4);
      double value;
      if (fp) {
        float x;
        std::memcpy(&x, &u, 4);
        value = x;
      } else {
        value = static_cast<double>(static_cast<int32_t>(u) >> (32 - f.bits)) /
                static_cast<double>((uint64_t{1} << (f.bits - 1)) - 1);
      }
      expected[(i / 4) % 2].push_back(value);
    }
    ASSERT_EQ(101u, expected[0].size()) << f.name;
    std::unique_ptr<CWave64> const loaded = ReadWave(path, true), sized = ReadWave(path, false);
    ASSERT_TRUE(loaded && sized) << f.name;
    EXPECT_EQ(expected, Samples(*loaded)) << f.name;
    EXPECT_EQ(22050.0, loaded->GetSampleRate()) << f.name;
    EXPECT_EQ((fp ? nFloatKind : nIntegerKind) | f.bits, loaded->GetOriginalBitDepth().GetValue());
    EXPECT_EQ(101, sized->GetLocation().end) << f.name;
    EXPECT_EQ(2u, sized->Channels().size()) << f.name;
  }
  std::string const extensible = dir / "x.wav";
  ASSERT_TRUE(
      TestSupport::RunTool("sox -r 22050 -n -c 2 -b 24 " + extensible + " synth 10s sine 300"));
  EXPECT_FALSE(ReadWave(extensible, false));
}

namespace {

// Writes the file object, then the samples into its data chunk's gap.
bool WriteWith(CIffContainerChunk& root, CIffDataChunk const& data, std::string const& path,
               std::vector<int16_t> const& samples, bool big) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!root.Write(out)) return false;
  CBytes bytes;
  for (int16_t s : samples) (big ? PutBE : PutLE)(bytes, static_cast<uint16_t>(s), 2);
  out.seekp(data.GetHeader().GetBodyPosition() + (big ? 8 : 0));
  out.write(reinterpret_cast<char const*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

// The report of sndfile-info with every run of white space made one blank.
std::string Info(std::string const& path) {
  std::string const text = VQ7Test::Capture("sndfile-info '" + path + "' 2>&1");
  std::string out;
  for (char c : text)
    if (!std::isspace(static_cast<unsigned char>(c)) || (!out.empty() && out.back() != ' '))
      out += std::isspace(static_cast<unsigned char>(c)) ? ' ' : c;
  return out;
}

}  // namespace

TEST(WaveMarshallerTest, NotesMarkersAndLoopsWeWriteReadTheSameByLibsndfile) {
  if (!TestSupport::HasTool("sndfile-info")) GTEST_SKIP() << "sndfile-info is not installed";
  TestSupport::CScratchDir dir;
  std::vector<int16_t> const samples = VQ7Test::TestSignal(300, 2);
  std::vector<std::vector<double> > expected(2);
  for (size_t i = 0; i < samples.size(); ++i) expected[i % 2].push_back(samples[i] / 32767.0);

  CWav wav(1, 16, 2, samples.size() * 2);
  W::CFormatChunk& format = *static_cast<W::CFormatChunk*>(wav.dto.Find("fmt "));
  format.blockAlign = 4;
  format.averageBytesPerSecond = 44100 * 4;
  W::CSamplerChunk& sampler = wav.Sampler(62, 0x40000000);
  sampler.loops = {Loop(0, 0, 100, 200, 0), Loop(1, 0, 5, 6, 0)};
  ASSERT_TRUE(WriteWith(wav.dto, *static_cast<W::CDataChunk*>(wav.dto.Find("data")), dir / "w.wav",
                        samples, false));
  std::string const wavInfo = Info(dir / "w.wav");
  for (char const* fact : {"Midi Note : 62", "Loop Count : 2",
                           "Cue ID : 0 Type : 0 Start : 100 End : 200 Fraction : 0 Count : 0",
                           "Cue ID : 0 Type : 1 Start : 5 End : 6", "Frames : 300", "Channels : 2"})
    EXPECT_NE(std::string::npos, wavInfo.find(fact)) << fact << " in " << wavInfo;

  CAiff aiff(16, 2, samples.size() * 2);
  aiff.Instrument(61, -25, 2, {Marker(1, 40), Marker(2, 251)});
  static_cast<A::CMarkerChunk*>(aiff.dto.Find("MARK"))->markers[0].name.text = "beg";
  Add(aiff.dto, new A::CTextChunk(A::CTextChunk::sNameId)).text = "Voice";
  A::CCommonChunk& common = *static_cast<A::CCommonChunk*>(aiff.dto.Find("COMM"));
  common.numSampleFrames = 300;
  common.sampleRate = 44100.0L;
  ASSERT_TRUE(WriteWith(aiff.dto, *aiff.sound, dir / "a.aiff", samples, true));
  std::string const aiffInfo = Info(dir / "a.aiff");
  for (char const* fact :
       {"Base Note : 61", "Sustain mode : 802 => backward begin : 1 end : 2",
        "Count : 2 Mark ID : 1 Position : 40 Name : beg Mark ID : 2 Position : 251", "NAME : Voice",
        "Frames : 300", "Channels : 2"})
    EXPECT_NE(std::string::npos, aiffInfo.find(fact)) << fact << " in " << aiffInfo;

  struct {
    std::string path, name;
    double note;
    std::vector<double> loop;
  } const files[] = {
      {dir / "w.wav",
       "",
       62.0 - 0x40000000 / 4294967295.0,
       {0, 99, 200, Mode(CLoopMode::Forward), 0}},
      {dir / "a.aiff", "Voice", 60.75, {0, 40, 250, Mode(CLoopMode::AlternatePlus), 0}}};
  for (auto const& f : files) {
    for (bool load : {false, true}) {
      std::unique_ptr<CWave64> const wave = ReadWave(f.path, load);
      ASSERT_TRUE(wave) << f.path;
      EXPECT_EQ(f.name, wave->GetName());
      EXPECT_EQ(f.note, wave->GetPlayNote()) << f.path;
      EXPECT_EQ(f.loop, LoopOf(*wave)) << f.path;
      EXPECT_EQ(44100.0, wave->GetSampleRate()) << f.path;
      EXPECT_EQ(300, wave->GetLocation().end) << f.path;
      EXPECT_EQ(load ? expected : std::vector<std::vector<double> >(), Samples(*wave)) << f.path;
    }
  }
}
