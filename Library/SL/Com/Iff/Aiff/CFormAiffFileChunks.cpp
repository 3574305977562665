#include "SL/Com/Iff/Aiff/CFormAiffFileChunks.h"

#include "GT/Com/Data/CEndianedStreamUtilities.h"

#include <istream>
#include <ostream>

namespace SL {

namespace {

GT::CEndianness::EEndian const kBig = GT::CEndianness::BigEndian;

bool Fail(std::istream& stream) {
  stream.setstate(std::ios_base::failbit);
  return false;
}

// The fields of a fixed body in file order: one list serves reading and
// writing, so the two cannot drift apart.
template <class F>
void EachField(CFormAiffFileChunks::CCommonChunk& c, F&& each) {
  each(c.numChannels);
  each(c.numSampleFrames);
  each(c.sampleSize);
  each(c.sampleRate);
}

template <class F>
void EachField(CFormAiffFileChunks::CInstrumentChunk::CFields& f, F&& each) {
  each(f.baseNote);
  each(f.detune);
  each(f.lowNote);
  each(f.highNote);
  each(f.lowVelocity);
  each(f.highVelocity);
  each(f.gain);
  for (CFormAiffFileChunks::CInstrumentChunk::CLoop* loop : {&f.sustainLoop, &f.releaseLoop}) {
    each(loop->playMode);
    each(loop->beginLoop);
    each(loop->endLoop);
  }
}

}  // namespace

CIffChunk::CFourCharacterCode const CFormAiffFileChunks::CFormAiffChunk::sId("FORM");
CIffChunk::CFourCharacterCode const CFormAiffFileChunks::CFormAiffChunk::sFormType("AIFF");
CIffChunk::CFourCharacterCode const CFormAiffFileChunks::CCommonChunk::sId("COMM");
CIffChunk::CFourCharacterCode const CFormAiffFileChunks::CSoundDataChunk::sId("SSND");
CIffChunk::CFourCharacterCode const CFormAiffFileChunks::CMarkerChunk::sId("MARK");
CIffChunk::CFourCharacterCode const CFormAiffFileChunks::CInstrumentChunk::sId("INST");
CIffChunk::CFourCharacterCode const CFormAiffFileChunks::CMidiDataChunk::sId("MIDI");
CIffChunk::CFourCharacterCode const CFormAiffFileChunks::CAudioRecordingChunk::sId("AESD");
CIffChunk::CFourCharacterCode const CFormAiffFileChunks::CApplicationSpecificChunk::sId("APPL");
CIffChunk::CFourCharacterCode const CFormAiffFileChunks::CCommentsChunk::sId("COMT");
CIffChunk::CFourCharacterCode const CFormAiffFileChunks::CTextChunk::sNameId("NAME");
CIffChunk::CFourCharacterCode const CFormAiffFileChunks::CTextChunk::sAuthorId("AUTH");
CIffChunk::CFourCharacterCode const CFormAiffFileChunks::CTextChunk::sCopyrightId("(c) ");
CIffChunk::CFourCharacterCode const CFormAiffFileChunks::CTextChunk::sAnnotationId("ANNO");

// ---------------------------------------------------------------- root and factory

CFormAiffFileChunks::CFormAiffChunk::CFormAiffChunk(boost::shared_ptr<IChunkFactory> factory)
    : CIffContainerChunk(kBig, "FORM", "AIFF", factory) {}

CFormAiffFileChunks::CFormAiffChunk::~CFormAiffChunk() {}

CFormAiffFileChunks::CFormAiffChunk::CDefaultChunkFactory::CDefaultChunkFactory(bool loadData)
    : mLoadData(loadData) {}

std::unique_ptr<CIffChunk> CFormAiffFileChunks::CFormAiffChunk::CDefaultChunkFactory::Create(
    CFourCharacterCode const& id) {
  std::string const text = id;
  typedef std::unique_ptr<CIffChunk> Ptr;
  if (text == "COMM") return Ptr(new CCommonChunk());
  if (text == "SSND") return Ptr(new CSoundDataChunk(mLoadData));
  if (text == "MARK") return Ptr(new CMarkerChunk());
  if (text == "INST") return Ptr(new CInstrumentChunk());
  if (text == "MIDI") return Ptr(new CMidiDataChunk());
  if (text == "AESD") return Ptr(new CAudioRecordingChunk());
  if (text == "APPL") return Ptr(new CApplicationSpecificChunk());
  if (text == "COMT") return Ptr(new CCommentsChunk());
  if (text == "NAME" || text == "AUTH" || text == "(c) " || text == "ANNO")
    return Ptr(new CTextChunk(id));
  return Ptr();
}

// ---------------------------------------------------------------- COMM

CFormAiffFileChunks::CCommonChunk::CCommonChunk()
    : CIffChunk(kBig, "COMM"),
      numChannels(0),
      numSampleFrames(0),
      sampleSize(0),
      sampleRate(0.0L) {}

CFormAiffFileChunks::CCommonChunk::~CCommonChunk() {}

bool CFormAiffFileChunks::CCommonChunk::ReadBody(std::istream& stream) {
  GT::CEndianedStreamUtilities const io(GetEndian());
  EachField(*this, [&](auto& field) { io.Read(stream, field); });
  return !stream.fail();
}

bool CFormAiffFileChunks::CCommonChunk::WriteBody(std::ostream& stream) {
  GT::CEndianedStreamUtilities const io(GetEndian());
  EachField(*this, [&](auto& field) { io.Write(stream, field); });
  return !stream.fail();
}

// ---------------------------------------------------------------- SSND

CFormAiffFileChunks::CSoundDataChunk::CSoundDataChunk(bool load)
    : CIffDataChunk(kBig, "SSND", load), offset(0), blockSize(0) {}

CFormAiffFileChunks::CSoundDataChunk::~CSoundDataChunk() {}

GT::CRange<long> CFormAiffFileChunks::CSoundDataChunk::GetSampleRange() const {
  return GT::CRange<long>(static_cast<long>(offset), static_cast<long>(GetSize()));
}

bool CFormAiffFileChunks::CSoundDataChunk::ReadBody(std::istream& stream) {
  // Smaller than its two fields: no sound data chunk at all.
  if (GetReadSize() < 0) return Fail(stream);
  GT::CEndianedStreamUtilities const io(GetEndian());
  io.Read(stream, offset);
  io.Read(stream, blockSize);
  if (stream.fail()) return false;
  return CStreamableData::Read(stream);
}

bool CFormAiffFileChunks::CSoundDataChunk::WriteBody(std::ostream& stream) {
  GT::CEndianedStreamUtilities const io(GetEndian());
  io.Write(stream, offset);
  io.Write(stream, blockSize);
  if (stream.fail()) return false;
  return CStreamableData::Write(stream);
}

// ---------------------------------------------------------------- MARK

CFormAiffFileChunks::CMarkerChunk::CMarkerChunk()
    : CIffChunk(kBig, "MARK"), numMarkers(0), markers() {}

CFormAiffFileChunks::CMarkerChunk::~CMarkerChunk() {}

bool CFormAiffFileChunks::CMarkerChunk::ReadBody(std::istream& stream) {
  GT::CEndianedStreamUtilities const io(GetEndian());
  io.Read(stream, numMarkers);
  if (stream.fail()) return false;
  // Each marker takes at least 8 bytes (id, position, count and pad): a count
  // the body cannot hold is refused before the list is made.
  long const available = BodyBytesAvailable(stream);
  if (numMarkers < 0 || 2L + 8L * numMarkers > available) return Fail(stream);
  std::vector<CMarker> read(static_cast<size_t>(numMarkers));
  for (CMarker& marker : read) {
    io.Read(stream, marker.id);
    io.Read(stream, marker.position);
    io.Read(stream, marker.name.count);
    if (stream.fail()) return false;
    marker.name.text.assign(marker.name.count, '\0');
    if (marker.name.count > 0) stream.read(&marker.name.text[0], marker.name.count);
    if (marker.name.count % 2 == 0) stream.ignore(1);
    if (stream.fail()) return false;
  }
  markers.swap(read);
  return true;
}

bool CFormAiffFileChunks::CMarkerChunk::WriteBody(std::ostream& stream) {
  GT::CEndianedStreamUtilities const io(GetEndian());
  if (markers.size() > 32767) {
    stream.setstate(std::ios_base::failbit);
    return false;
  }
  numMarkers = static_cast<int16_t>(markers.size());
  io.Write(stream, numMarkers);
  for (CMarker& marker : markers) {
    io.Write(stream, marker.id);
    io.Write(stream, marker.position);
    if (marker.name.text.size() > 255) {
      stream.setstate(std::ios_base::failbit);  // the count is one byte
      return false;
    }
    marker.name.count = static_cast<uint8_t>(marker.name.text.size());
    io.Write(stream, marker.name.count);
    stream.write(marker.name.text.data(), marker.name.count);
    if (marker.name.count % 2 == 0) stream.put('\0');
  }
  return !stream.fail();
}

// ---------------------------------------------------------------- INST

CFormAiffFileChunks::CInstrumentChunk::CInstrumentChunk() : CIffChunk(kBig, "INST"), fields() {}

CFormAiffFileChunks::CInstrumentChunk::~CInstrumentChunk() {}

bool CFormAiffFileChunks::CInstrumentChunk::ReadBody(std::istream& stream) {
  GT::CEndianedStreamUtilities const io(GetEndian());
  EachField(fields, [&](auto& field) { io.Read(stream, field); });
  return !stream.fail();
}

bool CFormAiffFileChunks::CInstrumentChunk::WriteBody(std::ostream& stream) {
  GT::CEndianedStreamUtilities const io(GetEndian());
  EachField(fields, [&](auto& field) { io.Write(stream, field); });
  return !stream.fail();
}

// ---------------------------------------------------------------- MIDI, AESD, APPL

CFormAiffFileChunks::CPlaceholderChunk::CPlaceholderChunk(CFourCharacterCode const& id)
    : CIffChunk(kBig, id) {}
CFormAiffFileChunks::CPlaceholderChunk::~CPlaceholderChunk() {}
bool CFormAiffFileChunks::CPlaceholderChunk::ReadBody(std::istream& stream) {
  return !stream.fail();
}
bool CFormAiffFileChunks::CPlaceholderChunk::WriteBody(std::ostream& stream) {
  return !stream.fail();
}

CFormAiffFileChunks::CMidiDataChunk::CMidiDataChunk() : CPlaceholderChunk("MIDI") {}
CFormAiffFileChunks::CAudioRecordingChunk::CAudioRecordingChunk() : CPlaceholderChunk("AESD") {}
CFormAiffFileChunks::CApplicationSpecificChunk::CApplicationSpecificChunk()
    : CPlaceholderChunk("APPL") {}

// ---------------------------------------------------------------- COMT

CFormAiffFileChunks::CCommentsChunk::CCommentsChunk()
    : CIffChunk(kBig, "COMT"), numComments(0), comments() {}

CFormAiffFileChunks::CCommentsChunk::~CCommentsChunk() {}

bool CFormAiffFileChunks::CCommentsChunk::ReadBody(std::istream& stream) {
  GT::CEndianedStreamUtilities const io(GetEndian());
  io.Read(stream, numComments);
  if (stream.fail()) return false;
  // Each comment takes at least 8 bytes; texts are checked against what is left.
  long left = BodyBytesAvailable(stream) - 2;
  if (8L * numComments > left) return Fail(stream);
  std::vector<CComment> read(numComments);
  for (CComment& comment : read) {
    io.Read(stream, comment.timeStamp);
    io.Read(stream, comment.marker);
    io.Read(stream, comment.count);
    if (stream.fail()) return false;
    left -= 8;
    long const textBytes = comment.count + (comment.count % 2);
    if (textBytes > left) return Fail(stream);
    left -= textBytes;
    comment.text.assign(comment.count, '\0');
    if (comment.count > 0) stream.read(&comment.text[0], comment.count);
    if (comment.count % 2 == 1) stream.ignore(1);
    if (stream.fail()) return false;
  }
  comments.swap(read);
  return true;
}

bool CFormAiffFileChunks::CCommentsChunk::WriteBody(std::ostream& stream) {
  GT::CEndianedStreamUtilities const io(GetEndian());
  if (comments.size() > 65535) {
    stream.setstate(std::ios_base::failbit);
    return false;
  }
  numComments = static_cast<uint16_t>(comments.size());
  io.Write(stream, numComments);
  for (CComment& comment : comments) {
    io.Write(stream, comment.timeStamp);
    io.Write(stream, comment.marker);
    if (comment.text.size() > 65535) {
      stream.setstate(std::ios_base::failbit);  // the count is two bytes
      return false;
    }
    comment.count = static_cast<uint16_t>(comment.text.size());
    io.Write(stream, comment.count);
    stream.write(comment.text.data(), comment.count);
    if (comment.count % 2 == 1) stream.put('\0');
  }
  return !stream.fail();
}

// ---------------------------------------------------------------- NAME, AUTH, "(c) ", ANNO

CFormAiffFileChunks::CTextChunk::CTextChunk(CFourCharacterCode const& id)
    : CIffChunk(kBig, id), text() {}

CFormAiffFileChunks::CTextChunk::~CTextChunk() {}

bool CFormAiffFileChunks::CTextChunk::ReadBody(std::istream& stream) {
  long const size = GetHeader().GetSize();
  // Only bytes that are really there: a size beyond the file is a failed read.
  if (size > BodyBytesAvailable(stream)) return Fail(stream);
  std::string read(static_cast<size_t>(size), '\0');
  if (size > 0) stream.read(&read[0], size);
  if (stream.fail()) return false;
  text.swap(read);
  return true;
}

bool CFormAiffFileChunks::CTextChunk::WriteBody(std::ostream& stream) {
  stream.write(text.data(), static_cast<std::streamsize>(text.size()));
  return !stream.fail();
}

}  // namespace SL
