#include "SL/Com/Buffer/CFileSampleBufferFactory.h"

#include "GT/Com/Enum/IRangedNumber.h"
#include "GT/Com/Data/Numerics.h"
#include "SL/Com/Iff/CFileDataSource.h"
#include "SL/Com/Buffer/CFileSampleBuffer.h"
#include "SL/Com/Iff/Aiff/CFormAiffDto.h"
#include "SL/Com/Iff/Wav/CRiffWaveDto.h"

#include <cmath>
#include <cstdint>
#include <istream>
#include <limits>
#include <ostream>

namespace SL {

namespace {

typedef CIffChunk::CFourCharacterCode CCode;
long const kMaxChunkSize = std::numeric_limits<int32_t>::max();
long const kRiffWaveHeaderBytes = 46;
long const kFormAiffHeaderBytes = 54;

// Reads only what the sample streams need of a WAVE file.
class CChunkFactory0 : public CIffContainerChunk::IChunkFactory {
public:
  std::unique_ptr<CIffChunk> Create(CCode const& id) override {
    std::string const text = id;
    if (text == "fmt ") return std::unique_ptr<CIffChunk>(new CRiffWaveFileChunks::CFormatChunk());
    if (text == "data")
      return std::unique_ptr<CIffChunk>(new CRiffWaveFileChunks::CDataChunk(false));
    return std::unique_ptr<CIffChunk>();
  }
};

// Reads only what the sample streams need of an AIFF file.
class CChunkFactory1 : public CIffContainerChunk::IChunkFactory {
public:
  std::unique_ptr<CIffChunk> Create(CCode const& id) override {
    std::string const text = id;
    if (text == "COMM") return std::unique_ptr<CIffChunk>(new CFormAiffFileChunks::CCommonChunk());
    if (text == "SSND")
      return std::unique_ptr<CIffChunk>(new CFormAiffFileChunks::CSoundDataChunk(false));
    return std::unique_ptr<CIffChunk>();
  }
};

bool IsStreamDepth(int code) {
  return DispatchBitDepth(code, [](auto) { return true; });
}

// A stream nobody can play or buffer: refused before anything is sized from it.
bool IsUsable(CSampleAttribute const& attribute) {
  return IsStreamDepth(attribute.mBitDepth.GetValue()) && attribute.mChannelCount >= 1 &&
         std::isfinite(attribute.mSampleRate) && attribute.mSampleRate > 0.0 &&
         attribute.mSampleRate <= CFileSampleBufferFactory::sMaximumSampleRate;
}

// The buffer iterators cannot give signed 8-bit AIFF samples the unsigned
// 8-bit model; the sample iterators can.
bool HasBufferView(CWaveFileFormat const& format, int code) {
  return !(code == nInteger8 && format == CWaveFileFormat::FormAiff);
}

// A write error anywhere before, or a size the fields cannot hold: no header.
bool CanFinalize(CSampleAttribute const& attribute, boost::shared_ptr<std::ostream> const& stream,
                 GT::CRange<long> const& range, long headerBytes) {
  if (!stream || stream->fail() || !IsStreamDepth(attribute.mBitDepth.GetValue())) return false;
  if (range.begin < 0 || range.end < range.begin || range.end > kMaxChunkSize) return false;
  long const size = range.end - range.begin;
  long const padded = size + (size & 1);
  return headerBytes - 8 + padded <= kMaxChunkSize;
}

bool FinishWrite(std::ostream& stream, bool written) {
  if (!written || stream.fail()) return false;
  stream.flush();
  return !stream.fail();
}

class CFinalizer0 {
public:
  static bool Finalize(CSampleAttribute const& attribute, boost::shared_ptr<std::ostream> stream,
                       GT::CRange<long> const& range) {
    if (!CanFinalize(attribute, stream, range, kRiffWaveHeaderBytes)) return false;
    int const code = attribute.mBitDepth.GetValue();
    long const bytes = BytesOf(code);
    long const channels = attribute.mChannelCount;
    unsigned long const rate = GT::RoundClipA<unsigned long>(attribute.mSampleRate);
    uint64_t const perSecond =
        static_cast<uint64_t>(rate) * static_cast<uint64_t>(channels) * bytes;
    if (channels < 1 || channels > 0xFFFF || channels * bytes > 0xFFFF || perSecond > 0xFFFFFFFFu)
      return false;

    CRiffWaveDto document(boost::shared_ptr<CIffContainerChunk::IChunkFactory>(
        new CRiffWaveFileChunks::CRiffWaveChunk::CDefaultChunkFactory(false)));
    boost::shared_ptr<CRiffWaveFileChunks::CFormatChunk> format(
        new CRiffWaveFileChunks::CFormatChunk());
    format->formatTag = CRiffWaveFileChunks::CFormatChunk::ToFormatTag(code);
    format->channels = static_cast<uint16_t>(channels);
    format->samplesPerSecond = static_cast<uint32_t>(rate);
    format->averageBytesPerSecond = static_cast<uint32_t>(perSecond);
    format->blockAlign = static_cast<uint16_t>(channels * bytes);
    format->bitsPerSample = static_cast<uint16_t>(BitsOf(code));
    format->extraSize = 0;
    boost::shared_ptr<CRiffWaveFileChunks::CDataChunk> data(
        new CRiffWaveFileChunks::CDataChunk(false));
    data->SetSize(static_cast<unsigned long>(range.end - range.begin));
    document.push_back(format);
    document.push_back(data);
    stream->seekp(0, std::ios_base::beg);
    return FinishWrite(*stream, document.Write(*stream));
  }
};

class CFinalizer1 {
public:
  static bool Finalize(CSampleAttribute const& attribute, boost::shared_ptr<std::ostream> stream,
                       GT::CRange<long> const& range) {
    if (!CanFinalize(attribute, stream, range, kFormAiffHeaderBytes)) return false;
    int const code = attribute.mBitDepth.GetValue();
    // AIFF holds integer samples only; a float stream would be misread as integers.
    if (!IsIntegerCode(code)) return false;
    if (attribute.mChannelCount < 1 || attribute.mChannelCount > 0x7FFF) return false;
    long const frames = attribute.ToFrameCount(range.end - range.begin);
    if (frames < 0 || frames > 0xFFFFFFFFL) return false;

    CFormAiffDto document(boost::shared_ptr<CIffContainerChunk::IChunkFactory>(
        new CFormAiffFileChunks::CFormAiffChunk::CDefaultChunkFactory(false)));
    boost::shared_ptr<CFormAiffFileChunks::CCommonChunk> common(
        new CFormAiffFileChunks::CCommonChunk());
    common->numChannels = static_cast<int16_t>(attribute.mChannelCount);
    common->numSampleFrames = static_cast<uint32_t>(frames);
    common->sampleSize = static_cast<int16_t>(BitsOf(code));
    common->sampleRate = attribute.mSampleRate;
    boost::shared_ptr<CFormAiffFileChunks::CSoundDataChunk> sound(
        new CFormAiffFileChunks::CSoundDataChunk(false));
    sound->offset = 0;
    sound->blockSize = 0;
    sound->SetSize(static_cast<unsigned long>(range.end - range.begin));
    document.push_back(common);
    document.push_back(sound);
    stream->seekp(0, std::ios_base::beg);
    return FinishWrite(*stream, document.Write(*stream));
  }
};

// Whether samples of this attribute can be written behind a header of that
// size: a size the format cannot record is refused, not wrapped.
bool CanWrite(CSampleAttribute const& attribute, CWaveFileFormat const& format) {
  int const code = attribute.mBitDepth.GetValue();
  bool const aiff = format == CWaveFileFormat::FormAiff;
  if (!IsStreamDepth(code)) return false;
  if (aiff && !IsIntegerCode(code)) return false;  // AIFF holds integer samples only
  if (attribute.mChannelCount < 1 || attribute.mChannelCount > (aiff ? 0x7FFF : 0xFFFF))
    return false;
  if (attribute.mFrameCount < 0 || attribute.mFrameCount > kMaxChunkSize) return false;
  long const size =
      attribute.mFrameCount * static_cast<long>(attribute.mChannelCount) * BytesOf(code);
  return size <= kMaxChunkSize - (aiff ? kFormAiffHeaderBytes : kRiffWaveHeaderBytes);
}

boost::shared_ptr<CFileSampleBufferFactory::COutputSource> MakeOutputSource(
    CSampleAttribute const& attribute, boost::shared_ptr<std::ostream> stream,
    CWaveFileFormat const& format, GT::CEndianness::EEndian endian, long headerBytes,
    CFileOutputFinalizer finalizer) {
  typedef boost::shared_ptr<CFileSampleBufferFactory::COutputSource> CResult;
  if (!stream || !CanWrite(attribute, format)) return CResult();
  CSampleAttribute copy(attribute);
  copy.SetEndian(endian);
  long const size =
      attribute.mFrameCount * static_cast<long>(attribute.mChannelCount) * copy.GetBytesPerSample();
  long const end = size == 0 ? kMaxChunkSize : headerBytes + size;
  return CResult(new CFileSampleBufferFactory::COutputSource(
      format, copy, stream, GT::CRange<long>(headerBytes, end), finalizer));
}

}  // namespace

double const CFileSampleBufferFactory::sMaximumSampleRate = 1000000.0;

CFileSampleBufferFactory::CInputSource::CInputSource(CWaveFileFormat const& format,
                                                     CSampleAttribute const& attribute,
                                                     boost::shared_ptr<std::istream> stream,
                                                     GT::CRange<long> const& range)
    : mFileFormat(format), mAttribute(attribute), mStream(stream), mRange(range) {}

CFileSampleBufferFactory::COutputSource::COutputSource(CWaveFileFormat const& format,
                                                       CSampleAttribute const& attribute,
                                                       boost::shared_ptr<std::ostream> stream,
                                                       GT::CRange<long> const& range,
                                                       CFileOutputFinalizer finalizer)
    : mFileFormat(format),
      mAttribute(attribute),
      mStream(stream),
      mRange(range),
      mFinalizer(finalizer) {}

boost::shared_ptr<CFileSampleBufferFactory::CInputSource>
CFileSampleBufferFactory::CreateInputSourceFromRiffWave(boost::shared_ptr<std::istream> stream) {
  typedef boost::shared_ptr<CInputSource> CResult;
  if (!stream) return CResult();
  CRiffWaveDto document(boost::shared_ptr<CIffContainerChunk::IChunkFactory>(new CChunkFactory0()));
  if (!document.Read(*stream)) return CResult();
  auto const* format =
      dynamic_cast<CRiffWaveFileChunks::CFormatChunk const*>(document.Find("fmt "));
  auto const* data = dynamic_cast<CRiffWaveFileChunks::CDataChunk const*>(document.Find("data"));
  if (!format || !data) return CResult();
  long const begin = data->GetHeader().GetBodyPosition();
  GT::CRange<long> const range(begin, begin + data->GetHeader().GetSize());
  CSampleAttribute attribute;
  int const kind = CRiffWaveFileChunks::CFormatChunk::ToSampleKind(format->formatTag);
  if (kind == nNone) return CResult();
  try {
    attribute.mBitDepth = CBitDepth(kind | format->bitsPerSample);
  } catch (GT::IRangedNumber<int>::CError const&) {
    return CResult();
  }
  attribute.mSampleRate = static_cast<double>(format->samplesPerSecond);
  attribute.mChannelCount = format->channels;
  attribute.mFrameCount = attribute.ToFrameCount(range.end - range.begin);
  attribute.SetEndian(GT::CEndianness::LittleEndian);
  if (!IsUsable(attribute)) return CResult();
  return CResult(new CInputSource(CWaveFileFormat::RiffWave, attribute, stream, range));
}

boost::shared_ptr<CFileSampleBufferFactory::CInputSource>
CFileSampleBufferFactory::CreateInputSourceFromFormAiff(boost::shared_ptr<std::istream> stream) {
  typedef boost::shared_ptr<CInputSource> CResult;
  if (!stream) return CResult();
  CFormAiffDto document(boost::shared_ptr<CIffContainerChunk::IChunkFactory>(new CChunkFactory1()));
  if (!document.Read(*stream)) return CResult();
  auto const* common =
      dynamic_cast<CFormAiffFileChunks::CCommonChunk const*>(document.Find("COMM"));
  auto const* sound =
      dynamic_cast<CFormAiffFileChunks::CSoundDataChunk const*>(document.Find("SSND"));
  if (!common || !sound) return CResult();
  // The payload follows the offset and block-size fields.
  long const payload = sound->GetHeader().GetBodyPosition() + 8;
  GT::CRange<long> const samples = sound->GetSampleRange();
  if (samples.begin > samples.end) return CResult();
  long const begin = payload + samples.begin;
  long const end = payload + samples.end;
  CSampleAttribute attribute;
  try {
    attribute.mBitDepth = CBitDepth(nIntegerKind | static_cast<int>(common->sampleSize));
  } catch (GT::IRangedNumber<int>::CError const&) {
    return CResult();
  }
  attribute.mSampleRate = static_cast<double>(common->sampleRate);
  attribute.mChannelCount = common->numChannels;
  attribute.mFrameCount = attribute.ToFrameCount(end - begin);
  attribute.SetEndian(GT::CEndianness::BigEndian);
  if (!IsUsable(attribute)) return CResult();
  return CResult(
      new CInputSource(CWaveFileFormat::FormAiff, attribute, stream, GT::CRange<long>(begin, end)));
}

boost::shared_ptr<CFileSampleBufferFactory::COutputSource>
CFileSampleBufferFactory::CreateOutputSourceFromRiffWave(CSampleAttribute const& attribute,
                                                         boost::shared_ptr<std::ostream> stream) {
  return MakeOutputSource(attribute, stream, CWaveFileFormat::RiffWave,
                          GT::CEndianness::LittleEndian, kRiffWaveHeaderBytes,
                          &CFinalizer0::Finalize);
}

boost::shared_ptr<CFileSampleBufferFactory::COutputSource>
CFileSampleBufferFactory::CreateOutputSourceFromFormAiff(CSampleAttribute const& attribute,
                                                         boost::shared_ptr<std::ostream> stream) {
  return MakeOutputSource(attribute, stream, CWaveFileFormat::FormAiff, GT::CEndianness::BigEndian,
                          kFormAiffHeaderBytes, &CFinalizer1::Finalize);
}

boost::shared_ptr<CFileSampleBufferFactory::CInputSource> CFileSampleBufferFactory::OpenInputSource(
    std::string const& path) {
  typedef boost::shared_ptr<CInputSource> CResult;
  boost::shared_ptr<std::istream> stream = CFileDataSource(path, false).CreateInputStream();
  if (!stream) return CResult();
  CRiffWaveDto wave(boost::shared_ptr<CIffContainerChunk::IChunkFactory>(
      new CRiffWaveFileChunks::CRiffWaveChunk::CDefaultChunkFactory(true)));
  if (wave.CanRead(*stream)) return CreateInputSourceFromRiffWave(stream);
  CFormAiffDto aiff(boost::shared_ptr<CIffContainerChunk::IChunkFactory>(
      new CFormAiffFileChunks::CFormAiffChunk::CDefaultChunkFactory(true)));
  if (aiff.CanRead(*stream)) return CreateInputSourceFromFormAiff(stream);
  return CResult();
}

boost::shared_ptr<CFileSampleBufferFactory::COutputSource>
CFileSampleBufferFactory::OpenOutputSource(CSampleAttribute const& attribute,
                                           std::string const& path, CWaveFileFormat const& format) {
  typedef boost::shared_ptr<COutputSource> CResult;
  bool const wave = format == CWaveFileFormat::RiffWave;
  bool const aiff = format == CWaveFileFormat::FormAiff;
  if (!wave && !aiff) return CResult();
  // Checked before the file is created or truncated.
  if (!CanWrite(attribute, format)) return CResult();
  boost::shared_ptr<std::ostream> stream = CFileDataSource(path, false).CreateOutputStream();
  if (!stream) return CResult();
  // Open again for reading too, so that an output buffer reads back in place
  // what it wrote. A file that cannot be read is still written in order, but
  // reading back a sample written fails the stream, and Finalize with it.
  if (boost::shared_ptr<std::ostream> both = CFileDataSource(path, true).CreateOutputStream())
    stream = both;
  return wave ? CreateOutputSourceFromRiffWave(attribute, stream)
              : CreateOutputSourceFromFormAiff(attribute, stream);
}

boost::shared_ptr<ISampleBuffer> CFileSampleBufferFactory::Create(std::string const& path) {
  boost::shared_ptr<CInputSource> source = OpenInputSource(path);
  if (!source) return boost::shared_ptr<ISampleBuffer>();
  return CreateInputSampleBuffer(*source);
}

boost::shared_ptr<ISampleBuffer> CFileSampleBufferFactory::Create(CSampleAttribute const& attribute,
                                                                  std::string const& path,
                                                                  CWaveFileFormat const& format) {
  // Refused before the file is created or truncated, like every other refusal.
  if (!HasBufferView(format, attribute.mBitDepth.GetValue()))
    return boost::shared_ptr<ISampleBuffer>();
  boost::shared_ptr<COutputSource> source = OpenOutputSource(attribute, path, format);
  if (!source) return boost::shared_ptr<ISampleBuffer>();
  return CreateOutputSampleBuffer(*source);
}

boost::shared_ptr<ISampleBuffer> CFileSampleBufferFactory::CreateInputSampleBuffer(
    CInputSource const& input) {
  typedef boost::shared_ptr<ISampleBuffer> CResult;
  // Buffer walks stop only between frames: a trailing part frame would carry
  // them past the end for ever, so the buffer holds whole frames only.
  CInputSource source(input);
  long const frameBytes = source.mAttribute.GetBytesPerFrame();
  if (frameBytes < 1) return CResult();
  long const length = source.mRange.end - source.mRange.begin;
  source.mRange.end = source.mRange.begin + (length > 0 ? length / frameBytes * frameBytes : 0);
  if (!HasBufferView(source.mFileFormat, source.mAttribute.mBitDepth.GetValue())) return CResult();
  return DispatchBitDepth(source.mAttribute.mBitDepth.GetValue(), [&source](auto depth) {
    return CResult(new CFileSampleBuffer<decltype(depth)::value>(
        source.mFileFormat, source.mAttribute, source.mStream, source.mRange));
  });
}

boost::shared_ptr<ISampleBuffer> CFileSampleBufferFactory::CreateOutputSampleBuffer(
    COutputSource const& source) {
  typedef boost::shared_ptr<ISampleBuffer> CResult;
  CWaveFileFormat const& f = source.mFileFormat;
  CSampleAttribute const& a = source.mAttribute;
  if (!HasBufferView(f, a.mBitDepth.GetValue())) return CResult();
  return DispatchBitDepth(a.mBitDepth.GetValue(), [&](auto depth) {
    return CResult(new CFileSampleBuffer<decltype(depth)::value>(f, a, source.mStream,
                                                                 source.mRange, source.mFinalizer));
  });
}

}  // namespace SL
