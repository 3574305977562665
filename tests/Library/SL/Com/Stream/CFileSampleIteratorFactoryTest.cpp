#include "SL/Com/Stream/CFileInputSampleIterator.h"
#include "SL/Com/Stream/CFileOutputSampleIterator.h"
#include "SL/Com/Stream/CFileSampleIteratorFactory.h"
#include "SL/Com/Stream/ITypedInputSampleIterator.h"
#include "SL/Com/Stream/ITypedOutputSampleIterator.h"

#include "Support/AudioFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

using namespace TestSupport;

namespace {

SL::CSampleAttribute Attribute(int code, double rate, int channels, long frames) {
  return SL::CSampleAttribute(SL::CBitDepth(code), rate, channels, frames,
                              GT::CEndianness::sPlatform);
}

// Every sample of a file as 64-bit values (floats as their value), in file order.
std::vector<double> ReadAll(boost::shared_ptr<SL::IInputSampleIterator> const& it) {
  std::vector<double> out;
  int const code = it->GetAttribute().mBitDepth.GetValue();
  auto pull = [&](auto* typed) {
    while (typed->HasNext()) {
      out.push_back(static_cast<double>(typed->Get()));
      typed->Next();
    }
  };
  switch (code) {
    case 65544:
      pull(dynamic_cast<SL::ITypedInputSampleIterator<65544>*>(it.get()));
      break;
    case 65552:
      pull(dynamic_cast<SL::ITypedInputSampleIterator<65552>*>(it.get()));
      break;
    case 65560:
      pull(dynamic_cast<SL::ITypedInputSampleIterator<65560>*>(it.get()));
      break;
    case 65568:
      pull(dynamic_cast<SL::ITypedInputSampleIterator<65568>*>(it.get()));
      break;
    case 131104:
      pull(dynamic_cast<SL::ITypedInputSampleIterator<131104>*>(it.get()));
      break;
    case 131136:
      pull(dynamic_cast<SL::ITypedInputSampleIterator<131136>*>(it.get()));
      break;
    default:
      ADD_FAILURE() << "bit depth " << code;
  }
  return out;
}

std::string RawOptions(int code) {
  return "-e signed-integer -b " + std::to_string(code & 0xFFFF) + " -L";
}

bool Finalize(boost::shared_ptr<SL::IOutputSampleIterator> const& out) {
  auto* file = dynamic_cast<SL::CFileOutputSampleIterator<65552>*>(out.get());
  if (!file || !file->IsValid()) return false;
  return file->mFinalizer(file->mAttribute, file->mStream,
                          GT::CRange<long>(file->mRange.begin, file->mPosition));
}

template <int N>
bool WriteAll(boost::shared_ptr<SL::IOutputSampleIterator> const& out,
              std::vector<double> const& samples) {
  auto* typed = dynamic_cast<SL::CFileOutputSampleIterator<N>*>(out.get());
  if (!typed) return false;
  for (double s : samples) {
    if (!typed->HasNext()) return false;
    typed->Set(static_cast<typename SL::CFileOutputSampleIterator<N>::CValueType>(s));
    typed->Next();
  }
  if (!typed->IsValid()) return false;
  return typed->mFinalizer(typed->mAttribute, typed->mStream,
                           GT::CRange<long>(typed->mRange.begin, typed->mPosition));
}

struct Sample {
  char const* tool;  // command writing $OUT
  char const* ext;
  int code;
  int channels;
};

}  // namespace

TEST(FileSampleStreams, FilesOfIndependentToolsGiveTheirSamples) {
  if (!HasTool("sox") || !HasTool("sndfile-convert"))
    GTEST_SKIP() << "sox or sndfile-convert missing";
  CScratchDir dir;
  std::string const base = dir.File("base.wav");
  ASSERT_TRUE(
      RunTool("sox -D -n -r 44100 -c 2 -b 16 " + base + " synth 0.05 sine 440 sine 1234 gain -3"));
  std::string const mono = dir.File("mono.wav");
  ASSERT_TRUE(RunTool("sox -D -n -r 22050 -c 1 -b 16 " + mono + " synth 0.031 sine 300"));
  Sample const cases[] = {
      {"sox -D $BASE -b 8 $OUT", "wav", 65544, 2},
      {"sox -D $BASE -b 16 $OUT", "wav", 65552, 2},
      {"sndfile-convert -pcm32 $BASE $OUT", "wav", 65568, 2},
      {"sox -D $BASE -e floating-point -b 32 $OUT", "wav", 131104, 2},
      {"sox -D $BASE -e floating-point -b 64 $OUT", "wav", 131136, 2},
      {"sox -D $MONO -b 8 $OUT", "aiff", 65544, 1},  // odd SSND, "COMT" first
      {"sox -D $BASE -b 16 $OUT", "aiff", 65552, 2},
      {"sox -D $MONO -b 24 $OUT", "aiff", 65560, 1},
      {"sox -D $BASE -b 32 $OUT", "aiff", 65568, 2},
      {"sndfile-convert -pcmu8 $MONO $OUT", "wav", 65544, 1},
      {"sndfile-convert -pcm24 $BASE $OUT", "wav", 65560, 2},
      {"sndfile-convert -float32 $BASE $OUT", "wav", 131104, 2},  // "fact" and "PEAK"
      {"sndfile-convert -float64 $MONO $OUT", "wav", 131136, 1},
      {"sndfile-convert -pcms8 $BASE $OUT", "aiff", 65544, 2},
      {"sndfile-convert -pcm24 $MONO $OUT", "aiff", 65560, 1},
      {"sndfile-convert -pcm16 $BASE $OUT", "aiff", 65552, 2},
  };
  int index = 0;
  for (Sample const& c : cases) {
    std::string const out = dir.File("case" + std::to_string(index++) + "." + c.ext);
    std::string command = c.tool;
    command.replace(command.find("$OUT"), 4, out);
    if (command.find("$BASE") != std::string::npos) command.replace(command.find("$BASE"), 5, base);
    if (command.find("$MONO") != std::string::npos) command.replace(command.find("$MONO"), 5, mono);
    ASSERT_TRUE(RunTool(command)) << command;
    std::string const raw = out + ".raw";
    // sox computes in 32-bit integers, so float samples come raw from libsndfile.
    std::string const reference =
        (c.code & 0x20000)
            ? "sndfile-convert -float" + std::to_string(c.code & 0xFFFF) + " " + out + " " + raw
            : "sox -D " + out + " -t raw " + RawOptions(c.code) + " " + raw;
    ASSERT_TRUE(RunTool(reference)) << command;
    boost::shared_ptr<SL::IInputSampleIterator> it = SL::CFileSampleIteratorFactory().Create(out);
    ASSERT_TRUE(it) << command;
    SL::CSampleAttribute const& a = it->GetAttribute();
    EXPECT_EQ(a.mBitDepth.GetValue(), c.code) << command;
    EXPECT_EQ(a.mChannelCount, c.channels) << command;
    EXPECT_EQ(a.GetEndian(), GT::CEndianness::sPlatform);
    std::vector<double> const expected = ReadRawSamples(raw, c.code);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(a.mFrameCount, static_cast<long>(expected.size()) / c.channels) << command;
    EXPECT_EQ(ReadAll(it), expected) << command;
    EXPECT_TRUE(it->IsValid());
  }
}

TEST(FileSampleStreams, ExtraChunksOfAnyLengthAreSkipped) {
  if (!HasTool("sox")) GTEST_SKIP() << "sox missing";
  CScratchDir dir;
  std::string const plain = dir.File("plain.wav");
  ASSERT_TRUE(RunTool("sox -D -n -r 8000 -c 1 -b 16 " + plain + " synth 0.01 sine 300"));
  std::vector<unsigned char> file = ReadFileBytes(plain);
  // An odd "LIST" and a "cue " between "fmt " and "data", one odd chunk at the end.
  std::vector<unsigned char> extra;
  PutText(extra, "LIST"), PutLE(extra, 5, 4),
      extra.insert(extra.end(), {'I', 'N', 'F', 'O', 'x', 0});
  PutText(extra, "cue "), PutLE(extra, 4, 4), PutLE(extra, 0, 4);
  file.insert(file.begin() + 36, extra.begin(), extra.end());
  // A sampler chunk before "fmt " is skipped as well.
  std::vector<unsigned char> sampler;
  PutText(sampler, "smpl"), PutLE(sampler, 36, 4), sampler.resize(sampler.size() + 36, 0);
  file.insert(file.begin() + 12, sampler.begin(), sampler.end());
  PutText(file, "junk"), PutLE(file, 3, 4), file.insert(file.end(), {1, 2, 3, 0});
  uint32_t const riff = static_cast<uint32_t>(file.size() - 8);
  for (int i = 0; i < 4; ++i) file[4 + i] = static_cast<unsigned char>(riff >> (8 * i));
  std::string const path = dir.File("extra.wav");
  ASSERT_TRUE(WriteFileBytes(path, file));
  boost::shared_ptr<SL::IInputSampleIterator> a = SL::CFileSampleIteratorFactory().Create(plain);
  boost::shared_ptr<SL::IInputSampleIterator> b = SL::CFileSampleIteratorFactory().Create(path);
  ASSERT_TRUE(a && b);
  std::vector<double> const samples = ReadAll(a);
  EXPECT_EQ(samples.size(), 80u);
  EXPECT_EQ(ReadAll(b), samples);
  ASSERT_TRUE(RunTool("sox " + path + " -n"));  // sox agrees the file is sound
}

TEST(FileSampleStreams, HeadersHoldTheSpecifiedFields) {
  CScratchDir dir;
  std::vector<double> samples(4000 / 2, 0.0);
  std::string const wav = dir.File("a.wav"), aiff = dir.File("a.aiff"), odd = dir.File("odd.wav");
  ASSERT_TRUE(
      WriteAll<65552>(SL::CFileSampleIteratorFactory().Create(Attribute(65552, 44100, 2, 1000), wav,
                                                              SL::CWaveFileFormat::RiffWave),
                      samples));
  ASSERT_TRUE(
      WriteAll<65552>(SL::CFileSampleIteratorFactory().Create(Attribute(65552, 44100, 2, 1000),
                                                              aiff, SL::CWaveFileFormat::FormAiff),
                      samples));
  ASSERT_TRUE(
      WriteAll<65544>(SL::CFileSampleIteratorFactory().Create(Attribute(65544, 8000.5, 1, 0), odd,
                                                              SL::CWaveFileFormat::RiffWave),
                      {1, 2, 3}));
  std::vector<unsigned char> w = ReadFileBytes(wav), f = ReadFileBytes(aiff),
                             o = ReadFileBytes(odd);
  ASSERT_EQ(w.size(), 4046u);
  EXPECT_EQ(std::string(w.begin(), w.begin() + 4), "RIFF");
  EXPECT_EQ(GetLE(w, 4, 4), 4038u);
  EXPECT_EQ(GetLE(w, 16, 4), 18u);
  EXPECT_EQ(GetLE(w, 20, 2), 1u);
  EXPECT_EQ(GetLE(w, 22, 2), 2u);
  EXPECT_EQ(GetLE(w, 24, 4), 44100u);
  EXPECT_EQ(GetLE(w, 28, 4), 176400u);
  EXPECT_EQ(GetLE(w, 32, 2), 4u);
  EXPECT_EQ(GetLE(w, 34, 2), 16u);
  EXPECT_EQ(GetLE(w, 36, 2), 0u);
  EXPECT_EQ(GetLE(w, 42, 4), 4000u);
  ASSERT_EQ(f.size(), 4054u);
  EXPECT_EQ(GetBE(f, 4, 4), 4046u);
  EXPECT_EQ(GetBE(f, 20, 2), 2u);
  EXPECT_EQ(GetBE(f, 22, 4), 1000u);
  EXPECT_EQ(GetBE(f, 26, 2), 16u);
  EXPECT_EQ(std::vector<unsigned char>(f.begin() + 28, f.begin() + 38),
            (std::vector<unsigned char>{0x40, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(GetBE(f, 42, 4), 4008u);
  EXPECT_EQ(GetBE(f, 46, 8), 0u);
  ASSERT_EQ(o.size(), 50u);
  EXPECT_EQ(GetLE(o, 4, 4), 42u);
  EXPECT_EQ(GetLE(o, 24, 4), 8001u) << "rate rounded half away from zero";
  EXPECT_EQ(o[49], 0xFF);
}

TEST(FileSampleStreams, RefusesWhatCannotBeStreamed) {
  CScratchDir dir;
  SL::CFileSampleIteratorFactory factory;
  std::string const text = dir.File("text.wav");
  ASSERT_TRUE(WriteFileBytes(text, {'h', 'e', 'l', 'l', 'o'}));
  EXPECT_FALSE(factory.Create(dir.File("missing.wav")));
  EXPECT_FALSE(factory.Create(text));
  EXPECT_FALSE(factory.Create(dir.Path()));
  auto wave = [&](int tag, int channels, uint32_t rate, int bits, int dataBytes, int cut) {
    std::vector<unsigned char> b;
    PutText(b, "RIFF"), PutLE(b, 36 + dataBytes, 4), PutText(b, "WAVE");
    PutText(b, "fmt "), PutLE(b, 16, 4), PutLE(b, tag, 2), PutLE(b, channels, 2), PutLE(b, rate, 4);
    PutLE(b, rate * 4, 4), PutLE(b, 4, 2), PutLE(b, bits, 2);
    PutText(b, "data"), PutLE(b, dataBytes, 4);
    b.resize(b.size() + dataBytes - cut, 0);
    std::string const path = dir.File("gen.wav");
    WriteFileBytes(path, b);
    return factory.Create(path);
  };
  EXPECT_TRUE(wave(1, 2, 44100, 16, 8, 0));
  EXPECT_FALSE(wave(0xFFFE, 2, 44100, 16, 8, 0));
  EXPECT_FALSE(wave(1, 2, 44100, 12, 8, 0));
  EXPECT_FALSE(wave(3, 2, 44100, 16, 8, 0));
  EXPECT_TRUE(wave(3, 2, 44100, 64, 16, 0));
  EXPECT_FALSE(wave(1, 0, 44100, 16, 8, 0)) << "no channels";
  EXPECT_FALSE(wave(1, 2, 0, 16, 8, 0)) << "rate 0";
  EXPECT_FALSE(wave(1, 2, 1000001, 16, 8, 0)) << "rate beyond 1 MHz";
  EXPECT_TRUE(wave(1, 2, 1000000, 16, 8, 0));
  EXPECT_FALSE(wave(1, 2, 44100, 16, 4000, 1)) << "data longer than the file: refused at once";
  // Output: formats, depths and sizes that cannot be written.
  EXPECT_FALSE(factory.Create(Attribute(131104, 44100, 1, 0), dir.File("f.aiff"),
                              SL::CWaveFileFormat::FormAiff));
  EXPECT_FALSE(factory.Create(Attribute(65552, 44100, 0, 0), dir.File("c.wav"),
                              SL::CWaveFileFormat::RiffWave));
  EXPECT_FALSE(factory.Create(Attribute(65552, 44100, 1, 0), dir.File("i.wav"),
                              SL::CWaveFileFormat::Invalid));
  EXPECT_FALSE(factory.Create(Attribute(65552, 44100, 2, 0x20000000L), dir.File("big.wav"),
                              SL::CWaveFileFormat::RiffWave))
      << "2 GiB of samples do not fit the size fields";
  EXPECT_FALSE(factory.Create(Attribute(65552, 44100, 1, 0), dir.File("no/such/dir.wav"),
                              SL::CWaveFileFormat::RiffWave));
}

TEST(FileSampleStreams, AiffRatesAndSoundDataOffsets) {
  CScratchDir dir;
  auto aiff = [&](std::vector<unsigned char> const& rate, uint32_t offset,
                  std::vector<unsigned char> const& data, int channels,
                  std::vector<unsigned char> const& before = {}) {
    std::vector<unsigned char> b;
    PutText(b, "FORM"), PutLE(b, 0, 4), PutText(b, "AIFF");
    b.insert(b.end(), before.begin(), before.end());
    PutText(b, "COMM"), PutBE(b, 18, 4), PutBE(b, channels, 2), PutBE(b, 1, 4), PutBE(b, 16, 2);
    b.insert(b.end(), rate.begin(), rate.end());
    PutText(b, "SSND"), PutBE(b, 8 + data.size(), 4), PutBE(b, offset, 4), PutBE(b, 0, 4);
    b.insert(b.end(), data.begin(), data.end());
    uint32_t const size = static_cast<uint32_t>(b.size() - 8);
    for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<unsigned char>(size >> (24 - 8 * i));
    std::string const path = dir.File("gen.aiff");
    WriteFileBytes(path, b);
    return SL::CFileSampleIteratorFactory().Create(path);
  };
  std::vector<unsigned char> const r44100 = {0x40, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0};
  boost::shared_ptr<SL::IInputSampleIterator> it =
      aiff(r44100, 2, {0xAA, 0xBB, 0x12, 0x34, 0x56, 0x78}, 1);
  ASSERT_TRUE(it);
  EXPECT_EQ(ReadAll(it), (std::vector<double>{0x1234, 0x5678})) << "offset bytes are not audio";
  EXPECT_FALSE(aiff(r44100, 7, {1, 2, 3, 4}, 1)) << "offset beyond the chunk";
  // Marker and instrument chunks before the two needed ones are skipped.
  std::vector<unsigned char> before;
  PutText(before, "MARK"), PutBE(before, 10, 4), PutBE(before, 1, 2), PutBE(before, 7, 2),
      PutBE(before, 0, 4);
  PutBE(before, 0, 2);
  PutText(before, "INST"), PutBE(before, 20, 4), before.resize(before.size() + 20, 0x11);
  it = aiff(r44100, 0, {0x12, 0x34}, 1, before);
  ASSERT_TRUE(it);
  EXPECT_EQ(ReadAll(it), (std::vector<double>{0x1234}));
  EXPECT_FALSE(aiff(r44100, 0, {1, 2}, -1)) << "negative channel count";
  EXPECT_FALSE(aiff({0x7F, 0xFF, 0x80, 0, 0, 0, 0, 0, 0, 0}, 0, {1, 2}, 1)) << "infinite rate";
  EXPECT_FALSE(aiff({0x40, 0x3E, 0x80, 0, 0, 0, 0, 0, 0, 0}, 0, {1, 2}, 1)) << "absurd rate";
  EXPECT_FALSE(aiff({0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0, {1, 2}, 1)) << "rate 0";
  EXPECT_FALSE(aiff({0xC0, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0}, 0, {1, 2}, 1)) << "negative rate";
}

TEST(FileSampleStreams, OutputBoundsAndWriteFailures) {
  SL::CSampleAttribute a(SL::CBitDepth(65560), 8000, 1, 0, GT::CEndianness::LittleEndian);
  boost::shared_ptr<std::stringstream> s(
      new std::stringstream(std::string(2, '\0'), std::ios::in | std::ios::out | std::ios::binary));
  int finalised = 0;
  SL::CFileOutputSampleIterator<65560> out(
      a, s, GT::CRange<long>(2, 8),
      [&](SL::CSampleAttribute const&, boost::shared_ptr<std::ostream>, GT::CRange<long> const& r) {
        return ++finalised, r.end == 8;
      });
  int written = 0;
  for (int32_t v : {0x01800000, -1, 5}) {
    if (!out.HasNext()) break;
    out.Set(v);
    out.Next();
    ++written;
  }
  EXPECT_EQ(written, 2) << "nothing is written past the range";
  EXPECT_EQ(out.GetLocation(), 0);
  EXPECT_TRUE(out.mFinalizer(out.mAttribute, out.mStream, GT::CRange<long>(2, out.mPosition)));
  EXPECT_EQ(finalised, 1);
  std::string const bytes = s->str();
  ASSERT_EQ(bytes.size(), 8u);
  EXPECT_EQ(bytes.substr(2), std::string("\x00\x00\x80\xFF\xFF\xFF", 6));
}

TEST(FileSampleStreams, FullDiskIsAFailureNotASuccess) {
  if (!std::ifstream("/dev/full")) GTEST_SKIP() << "no /dev/full";
  boost::shared_ptr<SL::IOutputSampleIterator> out = SL::CFileSampleIteratorFactory().Create(
      Attribute(65552, 44100, 1, 0), "/dev/full", SL::CWaveFileFormat::RiffWave);
  ASSERT_TRUE(out);
  auto* typed = dynamic_cast<SL::CFileOutputSampleIterator<65552>*>(out.get());
  for (int i = 0; i < 100; ++i) typed->Set(static_cast<int16_t>(i)), typed->Next();
  EXPECT_FALSE(typed->IsValid());
  EXPECT_FALSE(
      typed->mFinalizer(typed->mAttribute, typed->mStream, GT::CRange<long>(46, typed->mPosition)))
      << "an earlier write error must not be cleared away";
  EXPECT_FALSE(Finalize(out));
}

TEST(FileSampleStreams, FinalisersWriteRatesAndRefuseSizesTheFieldsCannotHold) {
  auto header = [](SL::CWaveFileFormat const& format, SL::CSampleAttribute const& a,
                   GT::CRange<long> const& range, bool& ok) {
    boost::shared_ptr<std::stringstream> s(new std::stringstream(
        std::string(64, '\0'), std::ios::in | std::ios::out | std::ios::binary));
    auto source = format == SL::CWaveFileFormat::RiffWave
                      ? SL::CFileSampleBufferFactory::CreateOutputSourceFromRiffWave(
                            Attribute(65552, 8000, 1, 0), s)
                      : SL::CFileSampleBufferFactory::CreateOutputSourceFromFormAiff(
                            Attribute(65552, 8000, 1, 0), s);
    ok = source && source->mFinalizer(a, s, range);
    std::string const t = s->str();
    return std::vector<unsigned char>(t.begin(), t.end());
  };
  // Room for a known length, or an open range; the file's own byte order.
  boost::shared_ptr<std::ostream> sink(new std::stringstream);
  auto wav10 = SL::CFileSampleBufferFactory::CreateOutputSourceFromRiffWave(
      Attribute(65552, 44100, 2, 10), sink);
  auto aiff10 = SL::CFileSampleBufferFactory::CreateOutputSourceFromFormAiff(
      Attribute(65552, 44100, 2, 10), sink);
  auto open = SL::CFileSampleBufferFactory::CreateOutputSourceFromFormAiff(
      Attribute(65552, 44100, 2, 0), sink);
  ASSERT_TRUE(wav10 && aiff10 && open);
  auto bounds = [](GT::CRange<long> const& r) { return std::make_pair(r.begin, r.end); };
  EXPECT_EQ(bounds(wav10->mRange), std::make_pair(46L, 86L));
  EXPECT_EQ(bounds(aiff10->mRange), std::make_pair(54L, 94L));
  EXPECT_EQ(bounds(open->mRange), std::make_pair(54L, 2147483647L));
  EXPECT_EQ(wav10->mAttribute.GetEndian(), GT::CEndianness::LittleEndian);
  EXPECT_EQ(aiff10->mAttribute.GetEndian(), GT::CEndianness::BigEndian);
  bool ok = false;
  std::vector<unsigned char> h =
      header(SL::CWaveFileFormat::RiffWave, Attribute(65552, 44100.5, 1, 0), {46, 46}, ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(GetLE(h, 24, 4), 44101u);
  EXPECT_EQ(GetLE(h, 42, 4), 0u);
  h = header(SL::CWaveFileFormat::RiffWave, Attribute(65552, -5.0, 1, 0), {46, 48}, ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(GetLE(h, 24, 4), 0u);
  h = header(SL::CWaveFileFormat::RiffWave, Attribute(131104, 48000, 2, 0), {46, 54}, ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(GetLE(h, 20, 2), 3u) << "float samples get format tag 3";
  EXPECT_EQ(GetLE(h, 34, 2), 32u);
  h = header(SL::CWaveFileFormat::FormAiff, Attribute(65552, 44100.5, 1, 0), {54, 54}, ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(GetBE(h, 22, 4), 0u);
  EXPECT_EQ(GetBE(h, 42, 4), 8u);
  EXPECT_EQ(GetBE(h, 28, 2), 0x400Eu);
  EXPECT_EQ(GetBE(h, 30, 4), 0xAC448000u) << "44100.5 kept exactly";
  header(SL::CWaveFileFormat::FormAiff, Attribute(131104, 44100, 1, 0), {54, 58}, ok);
  EXPECT_FALSE(ok) << "AIFF has no float samples";
  header(SL::CWaveFileFormat::RiffWave, Attribute(65552, 44100, 1, 0), {46, 0x7FFFFFFFL}, ok);
  EXPECT_FALSE(ok) << "a RIFF size beyond 31 bits is refused, not wrapped";
  header(SL::CWaveFileFormat::RiffWave, Attribute(65552, 44100, 1, 0), {46, 40}, ok);
  EXPECT_FALSE(ok);
  header(SL::CWaveFileFormat::RiffWave, Attribute(0, 44100, 1, 0), {46, 48}, ok);
  EXPECT_FALSE(ok) << "no bit depth";
  header(SL::CWaveFileFormat::RiffWave, Attribute(65568, 4e9, 2, 0), {46, 54}, ok);
  EXPECT_FALSE(ok) << "bytes per second beyond 32 bits";
}

// Takes every byte, but cannot hand them on once the sync is armed: a disk
// that fills only when the header is flushed.
class CLateFailingStream : public std::iostream {
public:
  CLateFailingStream() : std::iostream(nullptr) { rdbuf(&mBuffer); }
  void FailSync() { mBuffer.mFail = true; }

private:
  struct CBuffer : std::stringbuf {
    CBuffer() : std::stringbuf(std::string(64, '\0')) {}
    bool mFail = false;
    int sync() override { return mFail ? -1 : 0; }
  } mBuffer;
};

TEST(FileSampleStreams, AHeaderThatCannotBeFlushedIsAFailure) {
  for (auto format : {SL::CWaveFileFormat::RiffWave, SL::CWaveFileFormat::FormAiff}) {
    SCOPED_TRACE(format == SL::CWaveFileFormat::RiffWave ? "wav" : "aiff");
    SL::CSampleAttribute const a = Attribute(65552, 44100, 1, 0);
    boost::shared_ptr<CLateFailingStream> stream(new CLateFailingStream);
    auto source = format == SL::CWaveFileFormat::RiffWave
                      ? SL::CFileSampleBufferFactory::CreateOutputSourceFromRiffWave(a, stream)
                      : SL::CFileSampleBufferFactory::CreateOutputSourceFromFormAiff(a, stream);
    ASSERT_TRUE(source);
    GT::CRange<long> const range(source->mRange.begin, source->mRange.begin + 8);
    ASSERT_TRUE(source->mFinalizer(a, stream, range));  // the same, flushed
    stream->FailSync();
    EXPECT_FALSE(source->mFinalizer(a, stream, range));
  }
}

TEST(FileSampleStreams, EveryWrittenDepthReadsBackInIndependentTools) {
  if (!HasTool("sox") || !HasTool("sndfile-convert"))
    GTEST_SKIP() << "sox or sndfile-convert missing";
  CScratchDir dir;
  struct Case {
    int code;
    SL::CWaveFileFormat format;
    std::vector<double> samples;
  };
  std::vector<Case> const cases = {
      {65544, SL::CWaveFileFormat::RiffWave, {0, 128, 255, 1, 77}},
      {65544, SL::CWaveFileFormat::FormAiff, {0, 128, 255, 1, 77}},
      {65560, SL::CWaveFileFormat::RiffWave, {-8388608, 8388607, 0, -1, 12345}},
      {65560, SL::CWaveFileFormat::FormAiff, {-8388608, 8388607, 0, -1, 12345}},
      {65568, SL::CWaveFileFormat::RiffWave, {-2147483648.0, 2147483647.0, 0, -1, 99}},
      {65568, SL::CWaveFileFormat::FormAiff, {-2147483648.0, 2147483647.0, 0, -1, 99}},
      {131104, SL::CWaveFileFormat::RiffWave, {-1.0, 0.5, 0.25, 1e-7, 0.999}},
      {131136, SL::CWaveFileFormat::RiffWave, {-1.0, 0.5, 0.1, 1e-12, 0.999}},
  };
  int index = 0;
  for (Case const& c : cases) {
    bool const wav = c.format == SL::CWaveFileFormat::RiffWave;
    std::string const path = dir.File("w" + std::to_string(index++) + (wav ? ".wav" : ".aiff"));
    boost::shared_ptr<SL::IOutputSampleIterator> out =
        SL::CFileSampleIteratorFactory().Create(Attribute(c.code, 32000, 1, 0), path, c.format);
    typedef bool (*CWriter)(boost::shared_ptr<SL::IOutputSampleIterator> const&,
                            std::vector<double> const&);
    std::map<int, CWriter> const writers = {{65544, WriteAll<65544>},
                                            {65560, WriteAll<65560>},
                                            {65568, WriteAll<65568>},
                                            {131104, WriteAll<131104>},
                                            {131136, WriteAll<131136>}};
    ASSERT_TRUE(writers.at(c.code)(out, c.samples)) << path;
    out.reset();
    size_t const bytes = c.samples.size() * ((c.code & 0xFFFF) / 8);
    EXPECT_EQ(ReadFileBytes(path).size(), (wav ? 46u : 54u) + bytes + (bytes & 1)) << path;
    std::string const soxRaw = path + ".sox.raw", sndRaw = path + ".snd.raw";
    bool const floats = (c.code & 0x20000) != 0;
    std::string const sndFormat = floats ? "-float" + std::to_string(c.code & 0xFFFF)
                                         : "-pcm" + std::to_string(c.code & 0xFFFF);
    if (!floats) {
      ASSERT_TRUE(RunTool("sox -D " + path + " -t raw " + RawOptions(c.code) + " " + soxRaw))
          << path;
      EXPECT_EQ(ReadRawSamples(soxRaw, c.code), c.samples) << "sox " << path;
    }
    if (c.code == 65544) continue;  // libsndfile's raw 8-bit output is unsigned; sox covered it
    ASSERT_TRUE(RunTool("sndfile-convert " + sndFormat + " " + path + " " + sndRaw)) << path;
    std::vector<double> expected = c.samples;
    if (c.code == 131104) {
      for (double& v : expected) v = static_cast<float>(v);
    }
    EXPECT_EQ(ReadRawSamples(sndRaw, c.code), expected) << "libsndfile " << path;
  }
}

namespace {

// Writes n samples in the given byte order through the output iterator,
// leaving out the Set of every 1000th (and of those around the block the
// iterator gathers), then reads them back through the input iterator.
template <int N>
void RoundTripAcrossBlocks(GT::CEndianness::EEndian endian) {
  typedef typename SL::CFileOutputSampleIterator<N>::CValueType CValue;
  int const bytes = (N & 0xFFFF) / 8;
  long const n = 3 * (1L << 17) / bytes + 11;
  SL::CSampleAttribute const a{SL::CBitDepth(N), 8000, 1, 0, endian};
  auto stream = boost::shared_ptr<std::stringstream>(
      new std::stringstream(std::ios::in | std::ios::out | std::ios::binary));
  std::vector<CValue> expected;
  {
    SL::CFileOutputSampleIterator<N> out(a, stream, GT::CRange<long>(0, 1L << 30),
                                         SL::CFileOutputFinalizer());
    CValue last = CValue();
    for (long i = 0; i < n; ++i) {
      bool const skip = i % 1000 == 999 || std::labs(i - (1L << 17) / bytes) < 3;
      if (!skip) {
        last = static_cast<CValue>(N == 65544 ? (i * 7) & 0xFF : (i * 7919) % 8000000 - 4000000);
        if (N == 65552) last = static_cast<CValue>(static_cast<short>(i * 7919));
        out.Set(last);
      }
      expected.push_back(last);
      ASSERT_TRUE(out.HasNext());
      out.Next();
    }
    ASSERT_TRUE(out.IsValid());
    EXPECT_EQ(n * bytes, out.mPosition);
  }
  std::string const raw = stream->str();
  ASSERT_EQ(static_cast<size_t>(n * bytes), raw.size());
  // The file's order, byte for byte, for one sample.
  unsigned char const* first = reinterpret_cast<unsigned char const*>(raw.data()) + 5 * bytes;
  uint32_t const word = static_cast<uint32_t>(N == 65544 && endian == GT::CEndianness::BigEndian
                                                  ? expected[5] ^ 0x80
                                                  : static_cast<uint32_t>(expected[5]));
  for (int b = 0; b < bytes; ++b) {
    int const shift = 8 * (endian == GT::CEndianness::BigEndian ? bytes - 1 - b : b);
    EXPECT_EQ((word >> shift) & 0xFF, first[b]) << "byte " << b;
  }

  SL::CFileInputSampleIterator<N> in(a, stream, GT::CRange<long>(0, n * bytes));
  std::vector<CValue> got;
  while (in.HasNext()) {
    got.push_back(in.Get());
    in.Next();
  }
  EXPECT_TRUE(in.IsValid());
  ASSERT_EQ(expected.size(), got.size()) << N << " " << endian;
  auto const differ = std::mismatch(expected.begin(), expected.end(), got.begin());
  EXPECT_TRUE(differ.first == expected.end())
      << N << " " << endian << ": sample " << (differ.first - expected.begin()) << " is "
      << +*differ.second << ", not " << +*differ.first;
  EXPECT_EQ(n * bytes + bytes, in.GetPosition());
  in.SetLocation(n - 2);
  EXPECT_EQ(expected[n - 2], in.Get());
  EXPECT_EQ(n - 2, in.GetLocation());
}

}  // namespace

TEST(FileSampleStreams, SamplesCrossTheGatheredBlocksInEitherByteOrder) {
  for (auto endian : {GT::CEndianness::LittleEndian, GT::CEndianness::BigEndian}) {
    RoundTripAcrossBlocks<65552>(endian);
    RoundTripAcrossBlocks<65544>(endian);
    RoundTripAcrossBlocks<65560>(endian);
    RoundTripAcrossBlocks<65568>(endian);
  }
}
