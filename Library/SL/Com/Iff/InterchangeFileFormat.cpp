#include "SL/Com/Iff/InterchangeFileFormat.h"

#include "GT/Com/Data/CEndianedStreamUtilities.h"

#include <cstring>
#include <istream>
#include <limits>
#include <ostream>
#include <utility>

namespace SL {

long StreamBytesLeft(std::istream& stream) {
  std::ios_base::iostate const state = stream.rdstate();
  stream.clear();
  std::streampos const here = stream.tellg();
  long left = -1;
  if (here != std::streampos(-1)) {
    stream.seekg(0, std::ios_base::end);
    std::streampos const end = stream.tellg();
    if (end != std::streampos(-1)) {
      left = static_cast<long>(end - here);
    }
    stream.clear();
    stream.seekg(here, std::ios_base::beg);
  }
  stream.clear(state);
  return left;
}

// ---------------------------------------------------------------- CFourCharacterCode

CIffChunk::CFourCharacterCode::CFourCharacterCode() : mText() {}
CIffChunk::CFourCharacterCode::CFourCharacterCode(std::string const& text) : mText(text) {}
CIffChunk::CFourCharacterCode::CFourCharacterCode(char const* text) : mText(text ? text : "") {}
CIffChunk::CFourCharacterCode::CFourCharacterCode(CFourCharacterCode const& other)
    : IStreamable(), mText(other.mText) {}

CIffChunk::CFourCharacterCode& CIffChunk::CFourCharacterCode::operator=(
    CFourCharacterCode const& other) {
  CFourCharacterCode copy(other);
  Swap(copy);
  return *this;
}

CIffChunk::CFourCharacterCode::~CFourCharacterCode() {}

void CIffChunk::CFourCharacterCode::Swap(CFourCharacterCode& other) { mText.swap(other.mText); }

bool CIffChunk::CFourCharacterCode::Read(std::istream& stream) {
  char buffer[5] = {0, 0, 0, 0, 0};
  stream.read(buffer, 4);
  if (stream.fail()) return false;
  mText = buffer;
  return true;
}

bool CIffChunk::CFourCharacterCode::Write(std::ostream& stream) {
  if (mText.size() != 4) {
    // Any other length would shift every byte after it.
    stream.setstate(std::ios_base::failbit);
    return false;
  }
  stream.write(mText.data(), 4);
  return !stream.fail();
}

// ---------------------------------------------------------------- CHeader

unsigned char const CIffChunk::CHeader::sPaddingByte = 0xFF;

CIffChunk::CHeader::CHeader(EEndian endian)
    : GT::CEndianed(endian), mId(), mSize(0), mBodyPosition(0) {}

CIffChunk::CHeader::CHeader(EEndian endian, CFourCharacterCode const& id)
    : GT::CEndianed(endian), mId(id), mSize(0), mBodyPosition(0) {}

CIffChunk::CHeader::CHeader(CHeader const& other)
    : IStreamable(),
      GT::CEndianed(other),
      mId(other.mId),
      mSize(other.mSize),
      mBodyPosition(other.mBodyPosition) {}

CIffChunk::CHeader& CIffChunk::CHeader::operator=(CHeader const& other) {
  CHeader copy(other);
  Swap(copy);
  return *this;
}

CIffChunk::CHeader::~CHeader() {}

void CIffChunk::CHeader::Swap(CHeader& other) {
  EEndian const endian = GetEndian();
  SetEndian(other.GetEndian());
  other.SetEndian(endian);
  mId.Swap(other.mId);
  std::swap(mSize, other.mSize);
  std::swap(mBodyPosition, other.mBodyPosition);
}

bool CIffChunk::CHeader::Read(std::istream& stream) {
  if (!mId.Read(stream)) return false;
  GT::CEndianedStreamUtilities const io(GetEndian());
  int32_t size = 0;
  io.Read(stream, size);
  if (stream.fail()) return false;
  mSize = size;
  mBodyPosition = static_cast<long>(stream.tellg());
  return !stream.fail();
}

bool CIffChunk::CHeader::Write(std::ostream& stream) {
  if (!mId.Write(stream)) return false;
  GT::CEndianedStreamUtilities const io(GetEndian());
  io.Write(stream, mSize);
  if (stream.fail()) return false;
  mBodyPosition = static_cast<long>(stream.tellp());
  return !stream.fail() && mBodyPosition >= 0;
}

bool CIffChunk::CHeader::Includes(long offset) const {
  return mBodyPosition <= offset && offset < GetBodyEnd();
}

bool CIffChunk::CHeader::Includes(CHeader const& other) const {
  long const end = GetBodyEnd();
  long const otherEnd = other.GetBodyEnd();
  if (other.mSize == 0) {
    return mBodyPosition <= other.mBodyPosition && other.mBodyPosition <= end;
  }
  return mBodyPosition <= other.mBodyPosition && otherEnd <= end;
}

bool CIffChunk::CHeader::SeekGetToNextChunk(std::istream& stream) const {
  long next = GetBodyEnd();
  if (mSize & 1) ++next;
  stream.seekg(next, std::ios_base::beg);
  return !stream.fail();
}

bool CIffChunk::CHeader::SeekPutToNextChunk(std::ostream& stream) {
  if (stream.fail()) return false;
  long const end = static_cast<long>(stream.tellp());
  if (end < 0 || end < mBodyPosition) return false;
  long const size = end - mBodyPosition;
  if (size > std::numeric_limits<int32_t>::max()) {
    // The size field cannot say this; refuse rather than wrap.
    stream.setstate(std::ios_base::failbit);
    return false;
  }
  mSize = static_cast<int32_t>(size);
  stream.seekp(mBodyPosition - 4, std::ios_base::beg);
  GT::CEndianedStreamUtilities const io(GetEndian());
  io.Write(stream, mSize);
  stream.seekp(end, std::ios_base::beg);
  if (mSize & 1) {
    stream.put(static_cast<char>(sPaddingByte));
  }
  return !stream.fail();
}

// ---------------------------------------------------------------- CIffChunk

CIffChunk::CIffChunk(EEndian endian, CFourCharacterCode const& id)
    : GT::CEndianed(endian), mHeader(endian, id) {}

CIffChunk::CIffChunk(CIffChunk const& other)
    : IStreamable(), GT::CEndianed(other), mHeader(other.mHeader) {}

CIffChunk::~CIffChunk() {}

void CIffChunk::SetEndian(EEndian endian) {
  GT::CEndianed::SetEndian(endian);
  mHeader.SetEndian(endian);
}

bool CIffChunk::Read(std::istream& stream) { return ReadHeader(stream) && ReadBody(stream); }

bool CIffChunk::ReadHeader(std::istream& stream) {
  CHeader header(GetEndian());
  if (!header.Read(stream)) return false;
  if (header.mSize < 0 || header.mBodyPosition < 0 || !(header.mId == mHeader.mId)) return false;
  mHeader.mSize = header.mSize;
  mHeader.mBodyPosition = header.mBodyPosition;
  return true;
}

bool CIffChunk::Write(std::ostream& stream) {
  if (!mHeader.Write(stream)) return false;
  if (!WriteBody(stream)) return false;
  return mHeader.SeekPutToNextChunk(stream);
}

long CIffChunk::BodyBytesAvailable(std::istream& stream) const {
  long available = mHeader.GetSize();
  std::ios_base::iostate const state = stream.rdstate();
  stream.clear();
  std::streampos const here = stream.tellg();
  long const left = StreamBytesLeft(stream);
  stream.clear(state);
  if (here != std::streampos(-1) && left >= 0) {
    long const consumed = static_cast<long>(here) - mHeader.GetBodyPosition();
    long const fromBody = left + (consumed > 0 ? consumed : 0);
    if (fromBody < available) available = fromBody;
  }
  return available;
}

// ---------------------------------------------------------------- CStreamableData

CStreamableData::CStreamableData(bool load)
    : mLoad(load), mSize(0), mBytes(new std::vector<unsigned char>()) {}

CStreamableData::~CStreamableData() {}

bool CStreamableData::Read(std::istream& stream) {
  long const size = GetReadSize();
  if (size < 0 || stream.fail()) {
    stream.setstate(std::ios_base::failbit);
    return false;
  }
  if (mLoad) {
    // Never allocate for bytes the stream does not hold.
    long const left = StreamBytesLeft(stream);
    if (left >= 0 && size > left) {
      stream.setstate(std::ios_base::failbit);
      return false;
    }
    mBytes->assign(static_cast<size_t>(size), 0);
    if (size > 0) stream.read(reinterpret_cast<char*>(mBytes->data()), size);
    mSize = static_cast<unsigned long>(size);
  } else {
    mSize = static_cast<unsigned long>(size);
    stream.seekg(size, std::ios_base::cur);
  }
  return !stream.fail();
}

bool CStreamableData::Write(std::ostream& stream) {
  if (mLoad) {
    if (!mBytes->empty()) {
      stream.write(reinterpret_cast<char const*>(mBytes->data()),
                   static_cast<std::streamsize>(mBytes->size()));
    }
  } else {
    stream.seekp(static_cast<std::streamoff>(mSize), std::ios_base::cur);
  }
  return !stream.fail();
}

void CStreamableData::SetSize(unsigned long size) {
  if (mLoad) {
    mBytes->resize(size, 0);
  }
  mSize = size;
}

unsigned long CStreamableData::GetSize() const { return mLoad ? mBytes->size() : mSize; }

// ---------------------------------------------------------------- CIffDataChunk

CIffDataChunk::CIffDataChunk(EEndian endian, CFourCharacterCode const& id, bool load)
    : CIffChunk(endian, id), CStreamableData(load) {}

CIffDataChunk::~CIffDataChunk() {}

GT::CRange<long> CIffDataChunk::GetSampleRange() const {
  return GT::CRange<long>(0, static_cast<long>(GetSize()));
}

// ---------------------------------------------------------------- CIffContainerChunk

CIffContainerChunk::CIffContainerChunk(EEndian endian, CFourCharacterCode const& id,
                                       boost::shared_ptr<IChunkFactory> factory)
    : CIffChunk(endian, id), mFormType(), mFactory(factory) {}

CIffContainerChunk::CIffContainerChunk(EEndian endian, CFourCharacterCode const& id,
                                       CFourCharacterCode const& formType,
                                       boost::shared_ptr<IChunkFactory> factory)
    : CIffChunk(endian, id), mFormType(formType), mFactory(factory) {}

CIffContainerChunk::~CIffContainerChunk() {}

bool CIffContainerChunk::Read(std::istream& stream) {
  CChunkIterator iterator(stream);
  if (!iterator.Initialize(*this)) return false;
  iterator.First();
  for (;;) {
    int const state = iterator.GetState();
    if ((state & CChunkIterator::kFailed) || state == CChunkIterator::kEnd) return true;
    std::unique_ptr<CIffChunk> chunk;
    if (!iterator.GetChunk(chunk)) return false;
    if (chunk) push_back(boost::shared_ptr<CIffChunk>(chunk.release()));
    iterator.Next();
  }
}

bool CIffContainerChunk::ReadBody(std::istream&) { return false; }

bool CIffContainerChunk::WriteBody(std::ostream& stream) {
  if (!WriteFormType(stream)) return false;
  for (const_iterator it = begin(); it != end(); ++it) {
    if (*it && !(*it)->Write(stream)) return false;
  }
  return !stream.fail();
}

CIffChunk* CIffContainerChunk::Find(CFourCharacterCode const& id) const {
  for (const_iterator it = begin(); it != end(); ++it) {
    if (*it && (*it)->GetHeader().GetId() == id) return it->get();
  }
  return nullptr;
}

bool CIffContainerChunk::ReadFormType(std::istream& stream) {
  if (mFormType.IsEmpty()) return true;
  CFourCharacterCode read;
  if (!read.Read(stream)) return false;
  return read == mFormType;
}

bool CIffContainerChunk::WriteFormType(std::ostream& stream) {
  if (mFormType.IsEmpty()) return true;
  return mFormType.Write(stream);
}

// ---------------------------------------------------------------- CChunkIterator

CChunkIterator::CChunkIterator(std::istream& stream)
    : mStream(stream), mContainer(nullptr), mHeader(), mState(kFailed), mStreamEnd(-1) {}

bool CChunkIterator::Initialize(CIffContainerChunk& container) {
  if (!container.ReadHeader(mStream)) return false;
  if (!container.ReadFormType(mStream)) return false;
  mContainer = &container;
  long const left = StreamBytesLeft(mStream);
  if (left >= 0) {
    mStreamEnd = static_cast<long>(mStream.tellg()) + left;
  }
  return true;
}

void CChunkIterator::First() {
  mHeader.reset();
  mState = kFailed;
  if (!mContainer) return;
  long start = mContainer->GetHeader().GetBodyPosition();
  if (!mContainer->GetFormType().IsEmpty()) start += 4;
  mStream.seekg(start, std::ios_base::beg);
  if (mStream.fail()) {
    mState |= kFailed;
    return;
  }
  if (!mContainer->GetHeader().Includes(start)) {
    mState |= kEnd;
    return;
  }
  mHeader = PeekHeader();
  mState = mHeader ? kGood : kFailed;
}

void CChunkIterator::Next() {
  if (mState != kGood || !mHeader) return;
  if (!mHeader->SeekGetToNextChunk(mStream)) {
    mHeader.reset();
    mState |= kFailed;
    return;
  }
  long const position = static_cast<long>(mStream.tellg());
  mHeader.reset();
  if (!mContainer->GetHeader().Includes(position)) {
    mState |= kEnd;
    return;
  }
  mHeader = PeekHeader();
  mState = mHeader ? kGood : kFailed;
}

std::unique_ptr<CIffChunk::CHeader> CChunkIterator::PeekHeader() {
  std::unique_ptr<CIffChunk::CHeader> header(new CIffChunk::CHeader(mContainer->GetEndian()));
  if (!header->Read(mStream) || header->GetSize() < 0 || header->GetBodyPosition() < 0) {
    return std::unique_ptr<CIffChunk::CHeader>();
  }
  if (!mContainer->GetHeader().Includes(*header)) {
    return std::unique_ptr<CIffChunk::CHeader>();
  }
  mStream.seekg(-8, std::ios_base::cur);
  if (mStream.fail()) return std::unique_ptr<CIffChunk::CHeader>();
  return header;
}

bool CChunkIterator::GetChunk(std::unique_ptr<CIffChunk>& out) {
  out.reset();
  if (mState != kGood || !mHeader) return false;
  boost::shared_ptr<CIffContainerChunk::IChunkFactory> factory = mContainer->GetFactory();
  if (!factory) return true;
  std::unique_ptr<CIffChunk> chunk = factory->Create(mHeader->GetId());
  if (!chunk) return true;
  // A kept chunk must lie wholly in the file: one that claims more bytes than
  // the file holds is a damaged file, found now rather than half-way through
  // streaming its contents.
  if (mStreamEnd >= 0 && mHeader->GetBodyEnd() > mStreamEnd) return false;
  if (!chunk->Read(mStream)) return false;
  long const position = static_cast<long>(mStream.tellg());
  if (position < 0 || position > mHeader->GetBodyEnd()) return false;
  out = std::move(chunk);
  return true;
}

bool CChunkIterator::GetChunkHeader(std::unique_ptr<CIffChunk::CHeader>& out) const {
  out.reset();
  if (mState != kGood || !mHeader) return false;
  out.reset(new CIffChunk::CHeader(*mHeader));
  return true;
}

}  // namespace SL
