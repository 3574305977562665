#include "SL/Com/Buffer/CFileSampleBuffer.h"
#include "SL/Com/Buffer/CFileSampleBufferFactory.h"
#include "SL/Com/Buffer/CReferentialSampleBuffer.h"

#include "Support/AudioFixtures.h"
#include "Support/CMemorySampleBuffer.h"
#include "Support/PrivateMount.h"
#include "Support/SampleValues.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <typeinfo>

using namespace TestSupport;
using SL::CWaveFileFormat;

namespace {

SL::CSampleAttribute Attribute(int code, int channels, long frames) {
  return SL::CSampleAttribute(SL::CBitDepth(code), 22050.0, channels, frames,
                              GT::CEndianness::sPlatform);
}

SL::IFileSampleBufferMixin& File(boost::shared_ptr<SL::ISampleBuffer> const& buffer) {
  return dynamic_cast<SL::IFileSampleBufferMixin&>(*buffer);
}

std::string Capture(std::string const& command) {
  std::string out;
  if (FILE* pipe = popen((command + " 2>&1").c_str(), "r")) {
    char chunk[256];
    while (std::fgets(chunk, sizeof chunk, pipe)) out += chunk;
    pclose(pipe);
  }
  return out;
}

// Writes values through a buffer's output iterators, testing against an end
// iterator made afresh before every sample (and once after the last), then
// writes the header.
template <int N>
bool WriteThroughBuffer(boost::shared_ptr<SL::ISampleBuffer> const& buffer,
                        std::vector<double> const& values) {
  auto* typed = dynamic_cast<SL::ITypedSampleBuffer<N>*>(buffer.get());
  if (!typed) return false;
  std::size_t i = 0;
  for (auto out = typed->OutputBegin(); out != typed->OutputEnd() && i < values.size(); ++out) {
    *out = static_cast<typename SL::ITypedSampleBuffer<N>::CValueType>(values[i++]);
  }
  return i == values.size() && File(buffer).Finalize();
}

template <int N>
std::vector<double> ReadThroughBuffer(boost::shared_ptr<SL::ISampleBuffer> const& buffer,
                                      std::vector<int> const* channels = nullptr) {
  auto* typed = dynamic_cast<SL::ITypedSampleBuffer<N>*>(buffer.get());
  std::vector<double> values;
  if (!typed) return values;
  auto in = channels ? typed->InputBegin(*channels) : typed->InputBegin();
  auto const end = channels ? typed->InputEnd(*channels) : typed->InputEnd();
  for (; in != end; ++in) values.push_back(static_cast<double>(*in));
  return values;
}

// What an independent tool reads from a file, in our sample model.
std::vector<double> ToolSamples(std::string const& path, int code) {
  std::string const raw = path + ".raw";
  bool const floats = (code & 0x20000) != 0;
  std::string const bits = std::to_string(code & 0xFFFF);
  std::string const command =
      floats ? "sndfile-convert -float" + bits + " " + path + " " + raw
             : "sox -D " + path + " -t raw -e signed-integer -b " + bits + " -L " + raw;
  if (!RunTool(command)) return {};
  return ReadRawSamples(raw, code);
}

template <int N>
std::vector<double> Values(int count) {
  std::vector<double> values;
  for (auto v : MakeSamples<N>(count)) {
    values.push_back((N & 0x20000) ? static_cast<double>(v) / 8 : static_cast<double>(v));
  }
  return values;
}

std::vector<double> Peaks(std::vector<double> const& values, int channels) {
  std::vector<double> peaks(channels, 0.0);
  for (std::size_t i = 0; i < values.size(); ++i) {
    peaks[i % channels] = std::max(peaks[i % channels], std::fabs(values[i]));
  }
  return peaks;
}

// Every depth each format holds is written through a file buffer, reads back
// through one, and is read by sox or libsndfile as written.
TEST(CFileSampleBuffer, EveryDepthRoundTripsThroughWavAndAiffFiles) {
  bool const tools = HasTool("sox") && HasTool("sndfile-convert") && HasTool("sndfile-info");
  CScratchDir dir;
  struct Case {
    int code;
    CWaveFileFormat format;
    int channels;
  };
  Case const cases[] = {
      {65544, CWaveFileFormat::RiffWave, 1},  {65552, CWaveFileFormat::RiffWave, 2},
      {65552, CWaveFileFormat::FormAiff, 2},  {65560, CWaveFileFormat::RiffWave, 2},
      {65560, CWaveFileFormat::FormAiff, 1},  {65568, CWaveFileFormat::RiffWave, 1},
      {65568, CWaveFileFormat::FormAiff, 3},  {131104, CWaveFileFormat::RiffWave, 2},
      {131136, CWaveFileFormat::RiffWave, 1},
  };
  int index = 0;
  for (Case const& c : cases) {
    bool const wav = c.format == CWaveFileFormat::RiffWave;
    std::string const path = dir / ("f" + std::to_string(index++) + (wav ? ".wav" : ".aiff"));
    SCOPED_TRACE(path + " depth " + std::to_string(c.code));
    SL::DispatchBitDepth(c.code, [&](auto depth) {
      constexpr int N = decltype(depth)::value;
      std::vector<double> const values = Values<N>(3 * c.channels);
      boost::shared_ptr<SL::ISampleBuffer> out =
          SL::CFileSampleBufferFactory().Create(Attribute(N, c.channels, 0), path, c.format);
      ASSERT_TRUE(out);
      EXPECT_EQ(wav ? GT::CEndianness::LittleEndian : GT::CEndianness::BigEndian,
                out->GetAttribute().GetEndian());
      ASSERT_TRUE(WriteThroughBuffer<N>(out, values));
      out.reset();
      std::size_t const data = values.size() * (SL::BitsOf(N) / 8);
      EXPECT_EQ((wav ? 46u : 54u) + data + (data & 1), ReadFileBytes(path).size());

      boost::shared_ptr<SL::ISampleBuffer> in = SL::CFileSampleBufferFactory().Create(path);
      ASSERT_TRUE(in);
      SL::CSampleAttribute const& a = in->GetAttribute();
      EXPECT_EQ(N, a.mBitDepth.GetValue());
      EXPECT_EQ(c.channels, a.mChannelCount);
      EXPECT_EQ(3, a.mFrameCount);
      EXPECT_EQ(22050.0, a.mSampleRate);
      EXPECT_EQ(c.format, File(in).GetFileFormat());
      EXPECT_EQ(values, ReadThroughBuffer<N>(in));
      EXPECT_EQ(Peaks(values, c.channels), in->GetPeakLevel());
      if (!tools) return;
      std::string const info = Capture("sndfile-info " + path);
      EXPECT_NE(std::string::npos, info.find("Frames      : 3")) << info;
      EXPECT_NE(std::string::npos, info.find("Channels    : " + std::to_string(c.channels)));
      EXPECT_NE(std::string::npos, info.find("Sample Rate : 22050"));
      EXPECT_EQ(values, ToolSamples(path, N));
    });
  }
  if (!tools) GTEST_SKIP() << "sox or libsndfile's programs missing: files not checked by them";
}

// A seek is not a write: an end iterator made for every test moves the
// shared stream to the open range's far end, and the header still describes
// only the bytes written.
TEST(CFileSampleBuffer, FinalizeDescribesTheBytesWrittenNotWhereTheStreamWasMoved) {
  CScratchDir dir;
  struct Case {
    CWaveFileFormat format;
    std::size_t fileBytes;
    std::size_t sizeOffset;
    uint32_t sizeField;
  };
  Case const cases[] = {{CWaveFileFormat::RiffWave, 54, 42, 8},
                        {CWaveFileFormat::FormAiff, 62, 42, 16}};
  for (Case const& c : cases) {
    std::string const path = dir / "loop";
    boost::shared_ptr<SL::ISampleBuffer> buffer =
        SL::CFileSampleBufferFactory().Create(Attribute(65552, 2, 0), path, c.format);
    ASSERT_TRUE(buffer);
    EXPECT_EQ(2147483647, File(buffer).GetStreamPositionRange().end);
    ASSERT_TRUE(WriteThroughBuffer<65552>(buffer, {1, -2, 3, -4}));
    std::vector<unsigned char> const bytes = ReadFileBytes(path);
    ASSERT_EQ(c.fileBytes, bytes.size());
    bool const wav = c.format == CWaveFileFormat::RiffWave;
    EXPECT_EQ(c.sizeField, wav ? GetLE(bytes, c.sizeOffset, 4) : GetBE(bytes, c.sizeOffset, 4));
    EXPECT_EQ(c.fileBytes - 8, wav ? GetLE(bytes, 4, 4) : GetBE(bytes, 4, 4));
    EXPECT_EQ((std::vector<double>{1, -2, 3, -4}),
              ReadThroughBuffer<65552>(SL::CFileSampleBufferFactory().Create(path)));
  }
}

TEST(CFileSampleBuffer, FinalizeCases) {
  CScratchDir dir;
  // Nothing written: an empty but valid file.
  std::string const empty = dir / "empty.wav";
  boost::shared_ptr<SL::ISampleBuffer> none = SL::CFileSampleBufferFactory().Create(
      Attribute(65552, 1, 0), empty, CWaveFileFormat::RiffWave);
  ASSERT_TRUE(none);
  EXPECT_TRUE(File(none).Finalize());
  EXPECT_EQ(46u, ReadFileBytes(empty).size());
  EXPECT_EQ(0u, GetLE(ReadFileBytes(empty), 42, 4));

  // A sample set is in the file at once, though its iterator never moved on.
  std::string const pending = dir / "pending.aiff";
  boost::shared_ptr<SL::ISampleBuffer> buffer = SL::CFileSampleBufferFactory().Create(
      Attribute(65552, 1, 4), pending, CWaveFileFormat::FormAiff);
  ASSERT_TRUE(buffer);
  EXPECT_EQ(54, File(buffer).GetStreamPositionRange().begin);
  EXPECT_EQ(62, File(buffer).GetStreamPositionRange().end);
  auto* typed = dynamic_cast<SL::ITypedSampleBuffer<65552>*>(buffer.get());
  auto out = typed->OutputBegin();
  *out = 7;
  ++out;
  *out = 8;
  EXPECT_TRUE(File(buffer).Finalize());
  std::vector<unsigned char> const bytes = ReadFileBytes(pending);
  ASSERT_EQ(58u, bytes.size());
  EXPECT_EQ(2u, GetBE(bytes, 22, 4));  // numSampleFrames
  EXPECT_EQ(7u, GetBE(bytes, 54, 2));
  EXPECT_EQ(8u, GetBE(bytes, 56, 2));

  // The header may be written again; its pad byte is no sample.
  std::string const odd = dir / "odd.wav";
  boost::shared_ptr<SL::ISampleBuffer> bytesBuffer =
      SL::CFileSampleBufferFactory().Create(Attribute(65544, 1, 0), odd, CWaveFileFormat::RiffWave);
  ASSERT_TRUE(WriteThroughBuffer<65544>(bytesBuffer, {1, 2, 3}));
  EXPECT_TRUE(File(bytesBuffer).Finalize());
  EXPECT_EQ(50u, ReadFileBytes(odd).size());
  EXPECT_EQ(3u, GetLE(ReadFileBytes(odd), 42, 4));
  auto more = dynamic_cast<SL::ITypedSampleBuffer<65544>&>(*bytesBuffer).OutputAt(3);
  *more = 4;
  ++more;
  EXPECT_TRUE(File(bytesBuffer).Finalize());
  EXPECT_EQ(50u, ReadFileBytes(odd).size());
  EXPECT_EQ(4u, GetLE(ReadFileBytes(odd), 42, 4));
  EXPECT_EQ(4u, ReadFileBytes(odd)[49]);

  // An input buffer has no header to write.
  boost::shared_ptr<SL::ISampleBuffer> input = SL::CFileSampleBufferFactory().Create(empty);
  ASSERT_TRUE(input);
  EXPECT_FALSE(File(input).Finalize());
}

// Channel lists write and read chosen channels of each frame in the file.
TEST(CFileSampleBuffer, ChannelListsReachTheirChannelsInTheFile) {
  CScratchDir dir;
  std::string const path = dir / "lists.wav";
  boost::shared_ptr<SL::ISampleBuffer> buffer = SL::CFileSampleBufferFactory().Create(
      Attribute(65552, 3, 3), path, CWaveFileFormat::RiffWave);
  ASSERT_TRUE(buffer);
  auto* typed = dynamic_cast<SL::ITypedSampleBuffer<65552>*>(buffer.get());
  short value = 1;
  for (int channel : {2, 0, 1}) {
    std::vector<int> const list = {channel};
    for (auto out = typed->OutputBegin(list); out != typed->OutputEnd(list); ++out) *out = value++;
  }
  EXPECT_TRUE(File(buffer).Finalize());
  buffer.reset();
  EXPECT_EQ(46u + 18u, ReadFileBytes(path).size());

  boost::shared_ptr<SL::ISampleBuffer> in = SL::CFileSampleBufferFactory().Create(path);
  EXPECT_EQ((std::vector<double>{4, 7, 1, 5, 8, 2, 6, 9, 3}), ReadThroughBuffer<65552>(in));
  std::vector<int> const right = {2, 1};
  EXPECT_EQ((std::vector<double>{1, 7, 2, 8, 3, 9}), ReadThroughBuffer<65552>(in, &right));
  std::vector<int> const all = {2, 1, 0};  // as long as the channel count: all channels in order
  EXPECT_EQ(ReadThroughBuffer<65552>(in), ReadThroughBuffer<65552>(in, &all));
  EXPECT_EQ((std::vector<double>{6.0, 9.0, 3.0}), in->GetPeakLevel());
}

// A file sox wrote, seen in place: bounds, streams and samples.
TEST(CFileSampleBuffer, ReadsFilesSoxWrote) {
  if (!HasTool("sox")) GTEST_SKIP() << "sox missing";
  CScratchDir dir;
  std::string const wav = dir / "sox.wav", aiff = dir / "sox.aiff";
  ASSERT_TRUE(RunTool("sox -D -r 44100 -n -c 2 -b 16 " + wav + " synth 1000s sine 440 sine 999"));
  ASSERT_TRUE(RunTool("sox -D -r 8000 -n -c 1 -b 24 " + aiff + " synth 77s sine 300 gain -1"));

  boost::shared_ptr<SL::ISampleBuffer> in = SL::CFileSampleBufferFactory().Create(wav);
  ASSERT_TRUE(in);
  auto* typed = dynamic_cast<SL::CFileSampleBuffer<65552>*>(in.get());
  ASSERT_NE(nullptr, typed);
  EXPECT_EQ(44, typed->LowerBound());
  EXPECT_EQ(4044, typed->UpperBound());
  EXPECT_EQ(4000, typed->Distance());
  EXPECT_EQ(CWaveFileFormat::RiffWave, typed->GetFileFormat());
  EXPECT_TRUE(typed->GetInputStream());
  EXPECT_FALSE(typed->GetOutputStream());
  EXPECT_EQ(GT::CEndianness::LittleEndian, in->GetAttribute().GetEndian());
  EXPECT_FALSE(in->IsSequential());
  EXPECT_EQ(nullptr, in->Begin());
  EXPECT_EQ(nullptr, in->End());
  EXPECT_EQ(nullptr, in->At(1));
  std::vector<double> const samples = ToolSamples(wav, 65552);
  ASSERT_EQ(2000u, samples.size());
  EXPECT_EQ(samples, ReadThroughBuffer<65552>(in));
  EXPECT_EQ(Peaks(samples, 2), in->GetPeakLevel());
  auto at = typed->InputAt(600);
  EXPECT_EQ(samples[1200], *at);
  ++at;
  EXPECT_EQ(samples[1201], *at);

  boost::shared_ptr<SL::ISampleBuffer> deep = SL::CFileSampleBufferFactory().Create(aiff);
  ASSERT_TRUE(deep);
  EXPECT_EQ(65560, deep->GetAttribute().mBitDepth.GetValue());
  EXPECT_EQ(GT::CEndianness::BigEndian, deep->GetAttribute().GetEndian());
  EXPECT_EQ(77, deep->GetAttribute().mFrameCount);
  EXPECT_EQ(ToolSamples(aiff, 65560), ReadThroughBuffer<65560>(deep));
}

// What file buffers cannot hold is refused before the file is touched.
TEST(CFileSampleBuffer, RefusesWhatItCannotHold) {
  CScratchDir dir;
  struct Case {
    int code;
    CWaveFileFormat format;
  };
  Case const cases[] = {{65544, CWaveFileFormat::FormAiff},  // signed bytes: no buffer view
                        {131104, CWaveFileFormat::FormAiff},
                        {0, CWaveFileFormat::RiffWave},
                        {65552, CWaveFileFormat::Invalid}};
  for (Case const& c : cases) {
    std::string const path = dir / "refused";
    EXPECT_FALSE(SL::CFileSampleBufferFactory().Create(Attribute(c.code, 1, 0), path, c.format));
    EXPECT_FALSE(std::ifstream(path).good()) << c.code;
  }
  std::string const wav = dir / "ok.wav";
  ASSERT_TRUE(WriteThroughBuffer<65552>(
      SL::CFileSampleBufferFactory().Create(Attribute(65552, 1, 0), wav, CWaveFileFormat::RiffWave),
      {1, 2, 3}));
  std::vector<unsigned char> bytes = ReadFileBytes(wav);
  bytes[8] = 'X';  // neither WAVE nor AIFF
  ASSERT_TRUE(WriteFileBytes(wav, bytes));
  EXPECT_FALSE(SL::CFileSampleBufferFactory().Create(wav));
  EXPECT_FALSE(SL::CFileSampleBufferFactory().Create(dir / "missing.wav"));
}

// The steps of an in-place edit: six samples written, halved through the
// same kind of iterator and read back, then a read far past them. Returns
// what was read, the value at frame 10 last.
template <int N>
std::vector<double> EditInPlace(SL::ITypedSampleBuffer<N>& buffer, double scale) {
  typedef typename SL::ITypedSampleBuffer<N>::CValueType T;
  auto out = buffer.OutputBegin();
  for (int i = 1; i <= 6; ++i, ++out) *out = static_cast<T>(i * scale);
  auto half = buffer.OutputBegin();
  for (int i = 0; i < 6; ++i, ++half) *half = static_cast<T>(*half / 2);
  std::vector<double> seen;
  auto again = buffer.OutputBegin();
  for (int i = 0; i < 6; ++i, ++again) seen.push_back(static_cast<T>(*again));
  auto far = buffer.OutputAt(10);
  seen.push_back(static_cast<T>(*far));
  ++far;
  return seen;
}

// An output iterator reads the samples in the file, and only what it is
// given is written: every depth and both byte orders end as a memory buffer
// doing the same, and the header counts the frames written, not those read.
TEST(CFileSampleBuffer, OutputIteratorsReadTheFileAndWriteOnlyWhatTheyAreGiven) {
  bool const tools = HasTool("sox") && HasTool("sndfile-convert") && HasTool("sndfile-info");
  CScratchDir dir;
  struct Case {
    int code;
    CWaveFileFormat format;
  };
  Case const cases[] = {
      {65544, CWaveFileFormat::RiffWave},  {65552, CWaveFileFormat::RiffWave},
      {65552, CWaveFileFormat::FormAiff},  {65560, CWaveFileFormat::RiffWave},
      {65560, CWaveFileFormat::FormAiff},  {65568, CWaveFileFormat::RiffWave},
      {65568, CWaveFileFormat::FormAiff},  {131104, CWaveFileFormat::RiffWave},
      {131136, CWaveFileFormat::RiffWave},
  };
  int index = 0;
  for (Case const& c : cases) {
    bool const wav = c.format == CWaveFileFormat::RiffWave;
    std::string const path = dir / ("e" + std::to_string(index++) + (wav ? ".wav" : ".aiff"));
    SCOPED_TRACE(path + " depth " + std::to_string(c.code));
    SL::DispatchBitDepth(c.code, [&](auto depth) {
      constexpr int N = decltype(depth)::value;
      typedef typename SL::ITypedSampleBuffer<N>::CValueType T;
      // Steps a byte holds, and floats within full scale, which libsndfile keeps.
      double const scale = N == 65544 ? 10 : (N & 0x20000) ? 0.125 : 1000;
      long const bytes = SL::BytesOf(N);
      boost::shared_ptr<SL::ISampleBuffer> file =
          SL::CFileSampleBufferFactory().Create(Attribute(N, 1, 0), path, c.format);
      ASSERT_TRUE(file);
      std::vector<unsigned char> memory(static_cast<std::size_t>(12 * bytes), 0);
      SL::CReferentialSampleBuffer<N> reference(memory.data(), memory.data() + memory.size(), 1,
                                                file->GetAttribute().GetEndian());
      std::vector<double> const expected = EditInPlace<N>(reference, scale);
      std::vector<double> halves;
      for (int i = 1; i <= 6; ++i) halves.push_back(static_cast<T>(i * scale / 2));
      halves.push_back(0);
      ASSERT_EQ(halves, expected);
      auto& typed = dynamic_cast<SL::ITypedSampleBuffer<N>&>(*file);
      EXPECT_EQ(expected, EditInPlace<N>(typed, scale));
      ASSERT_TRUE(File(file).Finalize());
      std::vector<double> const halved(expected.begin(), expected.begin() + 6);
      std::size_t const header = wav ? 46 : 54;
      EXPECT_EQ(header + 6 * bytes + ((6 * bytes) & 1), ReadFileBytes(path).size());
      boost::shared_ptr<SL::ISampleBuffer> in = SL::CFileSampleBufferFactory().Create(path);
      ASSERT_TRUE(in);
      EXPECT_EQ(6, in->GetAttribute().mFrameCount);
      EXPECT_EQ(halved, ReadThroughBuffer<N>(in));
      if (tools) {
        std::string const info = Capture("sndfile-info " + path);
        EXPECT_NE(std::string::npos, info.find("Frames      : 6\n")) << info;
        EXPECT_EQ(halved, ToolSamples(path, N));
      }

      // A value read and given back is a write, even of silence past the end.
      for (SL::ITypedSampleBuffer<N>* b :
           {&typed, static_cast<SL::ITypedSampleBuffer<N>*>(&reference)}) {
        auto at = b->OutputAt(7);
        *at = static_cast<T>(*at);
        ++at;
      }
      ASSERT_TRUE(File(file).Finalize());
      in = SL::CFileSampleBufferFactory().Create(path);
      ASSERT_TRUE(in);
      std::vector<double> front;
      for (auto it = reference.InputBegin(); it != reference.InputAt(8); ++it) front.push_back(*it);
      EXPECT_EQ(8, in->GetAttribute().mFrameCount);
      EXPECT_EQ(front, ReadThroughBuffer<N>(in));
    });
  }
  if (!tools) GTEST_SKIP() << "sox or libsndfile's programs missing: files not checked by them";
}

// The locators that file buffers hand out, on a stream of known bytes.
TEST(CFileSampleBuffer, FileLocatorsReadAndWriteWhereTheyStand) {
  auto stream = boost::shared_ptr<std::stringstream>(
      new std::stringstream(std::ios::in | std::ios::out | std::ios::binary));
  for (int i = 0; i < 200; ++i) stream->put(static_cast<char>(i));
  SL::CFileSampleBuffer<65552> input(CWaveFileFormat::RiffWave, Attribute(65552, 1, 0),
                                     boost::shared_ptr<std::istream>(stream),
                                     GT::CRange<long>(0, 200));
  boost::shared_ptr<SL::ISampleLocator> in = input.CreateLocator(100);
  ASSERT_TRUE(dynamic_cast<SL::CInputFileSampleLocator<65552>*>(in.get()));
  EXPECT_EQ(100, in->Current()[0]);
  EXPECT_EQ(101, in->Current()[1]);
  EXPECT_EQ(102, static_cast<long>(stream->tellg()));  // the second Current read nothing
  in->Increment(0);                                    // back onto the same sample
  EXPECT_EQ(100, in->Current()[0]);
  in->Increment(6);
  EXPECT_EQ(106, in->Current()[0]);
  std::unique_ptr<SL::ISampleLocator> copy(in->Clone());
  EXPECT_TRUE(copy->Equals(*in));
  copy->Increment(2);
  EXPECT_FALSE(copy->Equals(*in));

  SL::CFileSampleBuffer<65552> output(CWaveFileFormat::RiffWave, Attribute(65552, 1, 0),
                                      boost::shared_ptr<std::ostream>(stream),
                                      GT::CRange<long>(0, 200), SL::CFileOutputFinalizer());
  boost::shared_ptr<SL::ISampleLocator> out = output.CreateLocator(100);
  boost::shared_ptr<SL::ISampleLocator> at102 = output.CreateLocator(102);
  ASSERT_TRUE(dynamic_cast<SL::COutputFileSampleLocator<65552>*>(out.get()));
  EXPECT_EQ(nullptr, output.Begin());
  unsigned char* sample = out->Current();
  // A sample held is no step: the locator still stands at 100.
  EXPECT_FALSE(out->Equals(*at102));
  EXPECT_TRUE(out->Equals(*output.CreateLocator(100)));
  sample[0] = 0xAA;
  sample[1] = 0xBB;
  out->Increment(2);
  EXPECT_TRUE(out->Equals(*at102));
  out->Current()[0] = 0xCC;  // never advanced past: written when the locator goes
  out.reset();
  std::string bytes = stream->str();
  EXPECT_EQ('\xAA', bytes[100]);
  EXPECT_EQ('\xBB', bytes[101]);
  EXPECT_EQ('\xCC', bytes[102]);
  EXPECT_EQ('\0', bytes[103]);  // past what was written the sample read as silence
  EXPECT_THROW(in->Equals(*at102), std::bad_cast);

  // A change is in the file before a clone is made; the clone reads it
  // there, and holds no write of its own to make later.
  boost::shared_ptr<SL::ISampleLocator> edit = output.CreateLocator(100);
  edit->Current()[0] = 0x11;
  std::unique_ptr<SL::ISampleLocator> clone(edit->Clone());
  EXPECT_EQ('\x11', stream->str()[100]);
  EXPECT_TRUE(clone->Equals(*edit));
  edit->Current()[0] = 0x22;
  edit->Increment(2);
  EXPECT_EQ(0x22, clone->Current()[0]);
  clone->Increment(2);
  clone.reset();
  bytes = stream->str();
  EXPECT_EQ('\x22', bytes[100]);
  EXPECT_EQ('\xBB', bytes[101]);
}

// *it++ = v hands the value to the copy the increment returns: a file buffer
// ends holding every sample, as a memory buffer does, as sox reads it.
TEST(CFileSampleBuffer, PostfixIncrementWritesEverySample) {
  if (!HasTool("sox")) GTEST_SKIP() << "sox missing";
  CScratchDir dir;
  struct Case {
    int code;
    CWaveFileFormat format;
  };
  Case const cases[] = {
      {65544, CWaveFileFormat::RiffWave}, {65552, CWaveFileFormat::RiffWave},
      {65552, CWaveFileFormat::FormAiff}, {65560, CWaveFileFormat::RiffWave},
      {65560, CWaveFileFormat::FormAiff}, {65568, CWaveFileFormat::FormAiff},
  };
  int index = 0;
  for (Case const& c : cases) {
    bool const wav = c.format == CWaveFileFormat::RiffWave;
    std::string const path = dir / ("p" + std::to_string(index++) + (wav ? ".wav" : ".aiff"));
    SCOPED_TRACE(path + " depth " + std::to_string(c.code));
    SL::DispatchBitDepth(c.code, [&](auto depth) {
      constexpr int N = decltype(depth)::value;
      typedef typename SL::ITypedSampleBuffer<N>::CValueType T;
      boost::shared_ptr<SL::ISampleBuffer> file =
          SL::CFileSampleBufferFactory().Create(Attribute(N, 2, 0), path, c.format);
      ASSERT_TRUE(file);
      ::Test::CMemorySampleBuffer<N> memory(2, 3, file->GetAttribute().GetEndian());
      for (SL::ITypedSampleBuffer<N>* b : {dynamic_cast<SL::ITypedSampleBuffer<N>*>(file.get()),
                                           static_cast<SL::ITypedSampleBuffer<N>*>(&memory)}) {
        auto it = b->OutputBegin();
        for (int i = 1; i <= 6; ++i) *it++ = static_cast<T>(N == 65544 ? 20 * i : 1000 * i);
      }
      std::vector<double> held;
      for (auto in = memory.InputBegin(); in != memory.InputEnd(); ++in) held.push_back(*in);
      ASSERT_EQ(6u, held.size());
      EXPECT_NE(0.0, held.back());
      ASSERT_TRUE(File(file).Finalize());
      file.reset();
      EXPECT_EQ(held, ToolSamples(path, N));
    });
  }
}

// A file its writer may not read: written in order it is whole, but an edit
// in place, which must read each sample back, fails instead of writing what
// silence made of them, and the file keeps what was written.
TEST(CFileSampleBuffer, AnEditInPlaceOfAFileThatCannotBeReadFails) {
  CScratchDir dir;
  ::chown(dir.Path().c_str(), 65534, 65534);  // the unprivileged child's, when run as root
  struct Case {
    CWaveFileFormat format;
    std::string name;
  };
  Case const cases[] = {{CWaveFileFormat::RiffWave, "w.wav"},
                        {CWaveFileFormat::FormAiff, "a.aiff"}};
  std::vector<double> written;
  for (int i = 1; i <= 10; ++i) written.push_back(1000 * i);
  for (Case const& c : cases) {
    SCOPED_TRACE(c.name);
    std::string const path = dir / c.name;
    auto const result = Support::RunUnprivileged([&]() -> std::string {
      int const fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0200);
      if (fd < 0) return "the file was not made";
      ::close(fd);
      if (std::ifstream(path).is_open()) return "readable";
      boost::shared_ptr<SL::ISampleBuffer> buffer =
          SL::CFileSampleBufferFactory().Create(Attribute(65552, 1, 10), path, c.format);
      if (!buffer) return "no buffer for a file that can be written";
      auto& typed = dynamic_cast<SL::ITypedSampleBuffer<65552>&>(*buffer);
      short value = 0;
      for (auto out = typed.OutputBegin(); out != typed.OutputEnd(); ++out) *out = value += 1000;
      if (!File(buffer).Finalize()) return "writing in order failed";
      for (auto half = typed.OutputBegin(); half != typed.OutputEnd(); ++half)
        *half = static_cast<short>(*half / 2);
      if (File(buffer).Finalize()) return "the edit reported success";
      return "";
    });
    if (!result.available) GTEST_SKIP() << "cannot drop privileges here";
    if (result.failure == "readable") GTEST_SKIP() << "a file of mode 0200 reads here";
    EXPECT_EQ("", result.failure);
    ::chmod(path.c_str(), 0600);
    EXPECT_EQ(written, ReadThroughBuffer<65552>(SL::CFileSampleBufferFactory().Create(path)));
  }
}

}  // namespace
