#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "SL/Com/Iff/Aiff/CWaveMarshallerToFormAiffDto.h"
#include "SL/Com/Iff/Wav/CWaveMarshallerToRiffWaveDto.h"
#include "Support/AudioFixtures.h"

namespace {

typedef std::vector<unsigned char> CBytes;
typedef std::unique_ptr<SL::CWave<0x20040> > CWavePtr;
using TestSupport::PutBE;
using TestSupport::PutLE;
using TestSupport::PutText;

struct CLoopRecord {
  uint32_t type, start, end, fraction, playCount;
};

void Chunk(CBytes& file, char const* id, CBytes const& body, bool bigEndian) {
  PutText(file, id);
  if (bigEndian)
    PutBE(file, body.size(), 4);
  else
    PutLE(file, body.size(), 4);
  file.insert(file.end(), body.begin(), body.end());
  if (body.size() % 2) file.push_back(0);
}

CBytes Root(char const* id, char const* form, CBytes const& children, bool bigEndian) {
  CBytes file;
  PutText(file, id);
  if (bigEndian)
    PutBE(file, children.size() + 4, 4);
  else
    PutLE(file, children.size() + 4, 4);
  PutText(file, form);
  file.insert(file.end(), children.begin(), children.end());
  return file;
}

CBytes Fmt(unsigned tag, unsigned channels, unsigned rate, unsigned bits) {
  CBytes body;
  PutLE(body, tag, 2);
  PutLE(body, channels, 2);
  PutLE(body, rate, 4);
  PutLE(body, rate * channels * bits / 8, 4);
  PutLE(body, channels * bits / 8, 2);
  PutLE(body, bits, 2);
  return body;
}

CBytes Smpl(uint32_t note, uint32_t fraction, std::vector<CLoopRecord> const& loops) {
  CBytes body;
  for (uint32_t v : {0u, 0u, 22675u, note, fraction, 0u, 0u}) PutLE(body, v, 4);
  PutLE(body, loops.size(), 4);
  PutLE(body, 0, 4);
  for (auto const& l : loops)
    for (uint32_t v : {0u, l.type, l.start, l.end, l.fraction, l.playCount}) PutLE(body, v, 4);
  return body;
}

CWavePtr ReadWave(CBytes const& file, bool load = false) {
  SL::CRiffWaveDto dto(
      boost::make_shared<SL::CRiffWaveFileChunks::CRiffWaveChunk::CDefaultChunkFactory>(load));
  std::istringstream in(std::string(file.begin(), file.end()));
  EXPECT_TRUE(dto.Read(in));
  return SL::Private::CWaveMarshallerToRiffWaveDto<0x20040>().Unmarshall(dto);
}

CBytes Wave(CBytes const& fmt, size_t dataBytes, CBytes const& smpl = CBytes()) {
  CBytes children;
  Chunk(children, "fmt ", fmt, false);
  if (!smpl.empty()) Chunk(children, "smpl", smpl, false);
  Chunk(children, "data", CBytes(dataBytes, 0), false);
  return Root("RIFF", "WAVE", children, false);
}

TEST(CWaveMarshallerToRiffWaveDto, FirstLoopRecordDecidesTheLoop) {
  struct {
    CLoopRecord record;
    double loop, start, end;
    SL::CLoopMode mode;
  } const cases[] = {
      {{0, 100, 200, 0, 0}, 99.0, 0.0, 200.0, SL::CLoopMode::Forward},
      {{0, 100, 200, 0, 3}, 99.0, 0.0, 200.0, SL::CLoopMode::Forward},
      {{0, 100, 200, 0, 1}, 100.0, 0.0, 200.0, SL::CLoopMode::OneShot},
      {{1, 100, 200, 0, 0}, 100.0, 0.0, 200.0, SL::CLoopMode::AlternatePlus},
      {{1, 100, 200, 0, 2}, 100.0, 0.0, 200.0, SL::CLoopMode::OneShot},
      {{2, 100, 200, 0, 1}, 100.0, 0.0, 200.0, SL::CLoopMode::OneShotReverse},
      {{2, 100, 200, 0, 0}, 100.0, 0.0, 200.0, SL::CLoopMode::ForwardReverse},
      {{5, 100, 200, 0, 0}, 100.0, 0.0, 200.0, SL::CLoopMode::OneShot},
      {{0, 100, 200, 0x80000000u, 0}, 99.0, 0.0, 200.50000000011642, SL::CLoopMode::Forward},
      {{0, 0, 200, 0, 0}, -1.0, -1.0, 200.0, SL::CLoopMode::Forward},
      // Positions beyond the data are kept as read; nothing is sized from them.
      {{0, 4000000000u, 4294967295u, 0, 1}, 4e9, 0.0, 4294967295.0, SL::CLoopMode::OneShot},
  };
  for (auto const& c : cases) {
    CWavePtr wave =
        ReadWave(Wave(Fmt(1, 1, 8000, 16), 1000, Smpl(60, 0, {c.record, {1, 5, 6, 0, 0}})));
    ASSERT_TRUE(wave);
    EXPECT_EQ(c.loop, wave->Loop().GetLoopFrame()) << c.record.type << "/" << c.record.playCount;
    EXPECT_EQ(c.start, wave->Loop().GetStartFrame());
    EXPECT_EQ(c.end, wave->Loop().GetEndFrame());
    EXPECT_TRUE(wave->Loop().GetLoopMode() == c.mode) << c.record.type << "/" << c.record.playCount;
    EXPECT_EQ(500, wave->GetLocation().end);
  }
}

// Files written by sox and libsndfile.
class CWaveMarshallerTools : public ::testing::Test {
protected:
  template <class Dto, class Factory, class Marshaller>
  CWavePtr Read(std::string const& path, bool load) {
    Dto dto(boost::make_shared<Factory>(load));
    std::ifstream in(path.c_str(), std::ios::binary);
    EXPECT_TRUE(dto.CanRead(in)) << path;
    EXPECT_TRUE(dto.Read(in)) << path;
    return Marshaller().Unmarshall(dto);
  }
  CWavePtr ReadWav(std::string const& path, bool load = false) {
    return Read<SL::CRiffWaveDto, SL::CRiffWaveFileChunks::CRiffWaveChunk::CDefaultChunkFactory,
                SL::Private::CWaveMarshallerToRiffWaveDto<0x20040> >(path, load);
  }
  CWavePtr ReadAiffFile(std::string const& path, bool load = false) {
    return Read<SL::CFormAiffDto, SL::CFormAiffFileChunks::CFormAiffChunk::CDefaultChunkFactory,
                SL::Private::CWaveMarshallerToFormAiffDto<0x20040> >(path, load);
  }
  TestSupport::CScratchDir mDir;
};

// libsndfile writes a "smpl" chunk for an instrument set through its API.
TEST_F(CWaveMarshallerTools, LibsndfileSamplerChunk) {
  if (!TestSupport::HasTool("python3") ||
      !TestSupport::RunTool("python3 -c \"import ctypes; ctypes.CDLL('libsndfile.so.1')\""))
    GTEST_SKIP() << "python3 with libsndfile is not available";
  std::string const script = mDir.File("make.py");
  std::ofstream(script.c_str()) << R"(import ctypes, sys
sf = ctypes.CDLL('libsndfile.so.1')
class Info(ctypes.Structure):
    _fields_ = [('frames', ctypes.c_int64), ('samplerate', ctypes.c_int), ('channels', ctypes.c_int),
                ('format', ctypes.c_int), ('sections', ctypes.c_int), ('seekable', ctypes.c_int)]
class Loop(ctypes.Structure):
    _fields_ = [('mode', ctypes.c_int), ('start', ctypes.c_uint32), ('end', ctypes.c_uint32), ('count', ctypes.c_uint32)]
class Instrument(ctypes.Structure):
    _fields_ = [('gain', ctypes.c_int), ('basenote', ctypes.c_byte), ('detune', ctypes.c_byte),
                ('velocity_lo', ctypes.c_byte), ('velocity_hi', ctypes.c_byte), ('key_lo', ctypes.c_byte),
                ('key_hi', ctypes.c_byte), ('loop_count', ctypes.c_int), ('loops', Loop * 16)]
path, rate, channels, frames, note, mode, start, end, count = sys.argv[1:10]
info = Info(0, int(rate), int(channels), 0x010002, 0, 0)
sf.sf_open.restype = ctypes.c_void_p
h = ctypes.c_void_p(sf.sf_open(path.encode(), 0x20, ctypes.byref(info)))
if not h.value: sys.exit(2)
inst = Instrument()
inst.basenote = int(note); inst.velocity_hi = 127; inst.key_hi = 127; inst.loop_count = 1
inst.loops[0].mode = int(mode); inst.loops[0].start = int(start); inst.loops[0].end = int(end); inst.loops[0].count = int(count)
if not sf.sf_command(h, 0x10D1, ctypes.byref(inst), ctypes.sizeof(inst)): sys.exit(3)
n = int(frames) * int(channels)
sf.sf_write_short(h, (ctypes.c_short * n)(*[(i * 37) % 2000 - 1000 for i in range(n)]), ctypes.c_int64(n))
sf.sf_close(h)
)";
  // Forward (801) endless, and alternating (803) endless; libsndfile stores the loop's last frame.
  struct {
    int mode;
    SL::CLoopMode loopMode;
    double loop;
  } const cases[] = {{801, SL::CLoopMode::Forward, 99.0},
                     {803, SL::CLoopMode::AlternatePlus, 100.0}};
  for (auto const& c : cases) {
    std::string const path = mDir.File("inst" + std::to_string(c.mode) + ".wav");
    ASSERT_TRUE(TestSupport::RunTool("python3 " + script + " " + path + " 44100 2 1000 64 " +
                                     std::to_string(c.mode) + " 100 200 0"));
    CWavePtr wave = ReadWav(path);
    ASSERT_TRUE(wave);
    EXPECT_EQ(44100.0, wave->GetSampleRate());
    EXPECT_EQ(1000, wave->GetLocation().end);
    EXPECT_EQ(64.0, wave->GetRecordNote());
    EXPECT_TRUE(wave->Loop().GetLoopMode() == c.loopMode) << c.mode;
    EXPECT_EQ(c.loop, wave->Loop().GetLoopFrame()) << c.mode;
    EXPECT_EQ(0.0, wave->Loop().GetStartFrame());
    EXPECT_EQ(199.0, wave->Loop().GetEndFrame()) << c.mode;
  }
}

}  // namespace
