#pragma once

// Chunk trees of the interchange-file family (RIFF WAVE, FORM AIFF): chunks
// that read and write themselves in their own byte order, containers whose
// children are chosen by a chunk factory, and documents with a cheap probe.

#include "GT/Com/Data/CEndianed.h"
#include "GT/Com/Enum/CRange.h"
#include "SL/Com/Iff/IDto.h"
#include "SL/Com/Iff/IStreamable.h"

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace SL {

// Bytes from the get position to the end of the stream, or -1 when the stream
// cannot tell. Leaves position and state bits as they were.
long StreamBytesLeft(std::istream& stream);

class CIffChunk : public GT::CEndianed, public virtual IStreamable {
public:
  // A chunk id or form type: four bytes of text.
  class CFourCharacterCode : public virtual IStreamable {
  public:
    CFourCharacterCode();
    CFourCharacterCode(std::string const& text);  // NOLINT: ids are written as text
    CFourCharacterCode(char const* text);         // NOLINT
    CFourCharacterCode(CFourCharacterCode const& other);
    CFourCharacterCode& operator=(CFourCharacterCode const& other);
    ~CFourCharacterCode() override;

    void Swap(CFourCharacterCode& other);
    bool operator==(CFourCharacterCode const& other) const { return mText == other.mText; }
    bool operator!=(CFourCharacterCode const& other) const { return mText != other.mText; }
    operator std::string() const { return mText; }
    bool IsEmpty() const { return mText.empty(); }

    // Reads four bytes; a zero byte ends the text early.
    bool Read(std::istream& stream) override;
    // Writes four bytes; a text of any other length is refused.
    bool Write(std::ostream& stream) override;

  private:
    std::string mText;
  };

  // Id, size and where the body starts in the stream.
  class CHeader : public GT::CEndianed, public virtual IStreamable {
  public:
    explicit CHeader(EEndian endian);
    CHeader(EEndian endian, CFourCharacterCode const& id);
    CHeader(CHeader const& other);
    CHeader& operator=(CHeader const& other);
    ~CHeader() override;
    void Swap(CHeader& other);

    bool Read(std::istream& stream) override;
    bool Write(std::ostream& stream) override;

    CFourCharacterCode GetId() const { return mId; }
    int32_t GetSize() const { return mSize; }
    long GetBodyPosition() const { return mBodyPosition; }
    // One past the body, pad byte excluded, in 64-bit arithmetic.
    long GetBodyEnd() const { return mBodyPosition + static_cast<long>(mSize); }

    bool Includes(long offset) const;
    bool Includes(CHeader const& other) const;
    bool SeekGetToNextChunk(std::istream& stream) const;
    // Patches the size field from the write position and writes the pad byte.
    bool SeekPutToNextChunk(std::ostream& stream);

    static unsigned char const sPaddingByte;

  private:
    friend class CIffChunk;
    CFourCharacterCode mId;
    int32_t mSize;
    long mBodyPosition;
  };

  CIffChunk(EEndian endian, CFourCharacterCode const& id);
  CIffChunk(CIffChunk const& other);
  CIffChunk& operator=(CIffChunk const&) = delete;
  ~CIffChunk() override;

  void SetEndian(EEndian endian) override;

  bool Read(std::istream& stream) override;
  bool Write(std::ostream& stream) override;
  virtual bool ReadBody(std::istream& stream) = 0;
  virtual bool WriteBody(std::ostream& stream) = 0;

  CHeader const& GetHeader() const { return mHeader; }
  // Reads a header; takes its size and position only when the id is this
  // chunk's and nothing is negative.
  bool ReadHeader(std::istream& stream);

protected:
  // The body bytes a reader may rely on: the declared size, no more than the
  // stream still holds from the body's start.
  long BodyBytesAvailable(std::istream& stream) const;

private:
  CHeader mHeader;
};

// A payload held in memory, or only measured and skipped.
class CStreamableData : public virtual IStreamable {
public:
  explicit CStreamableData(bool load);
  ~CStreamableData() override;

  bool Read(std::istream& stream) override;
  bool Write(std::ostream& stream) override;
  virtual long GetReadSize() const = 0;

  void SetSize(unsigned long size);
  bool IsLoaded() const { return mLoad; }
  // Bytes counted by the last read or set, whether held or not.
  unsigned long GetSize() const;
  std::vector<unsigned char> const& GetBytes() const { return *mBytes; }

private:
  bool mLoad;
  unsigned long mSize;
  boost::shared_ptr<std::vector<unsigned char> > mBytes;
};

class CIffDataChunk : public CIffChunk, public CStreamableData {
public:
  CIffDataChunk(EEndian endian, CFourCharacterCode const& id, bool load);
  ~CIffDataChunk() override;

  bool Read(std::istream& stream) override { return CIffChunk::Read(stream); }
  bool Write(std::ostream& stream) override { return CIffChunk::Write(stream); }
  bool ReadBody(std::istream& stream) override { return CStreamableData::Read(stream); }
  bool WriteBody(std::ostream& stream) override { return CStreamableData::Write(stream); }
  long GetReadSize() const override { return GetHeader().GetSize(); }
  // Where the samples lie in the payload, as byte offsets from its start:
  // all of it unless the chunk's fields say otherwise. A begin beyond the
  // end means the chunk holds no sample data a reader can use.
  virtual GT::CRange<long> GetSampleRange() const;
};

class CIffContainerChunk : public CIffChunk, public std::vector<boost::shared_ptr<CIffChunk> > {
public:
  class IChunkFactory {
  public:
    virtual ~IChunkFactory() {}
    // A new, empty chunk for the id, or null to skip the chunk.
    virtual std::unique_ptr<CIffChunk> Create(CFourCharacterCode const& id) = 0;
  };

  CIffContainerChunk(EEndian endian, CFourCharacterCode const& id,
                     boost::shared_ptr<IChunkFactory> factory);
  CIffContainerChunk(EEndian endian, CFourCharacterCode const& id,
                     CFourCharacterCode const& formType, boost::shared_ptr<IChunkFactory> factory);
  ~CIffContainerChunk() override;

  bool Read(std::istream& stream) override;
  bool ReadBody(std::istream& stream) override;
  bool WriteBody(std::ostream& stream) override;

  CIffChunk* Find(CFourCharacterCode const& id) const;
  bool ReadFormType(std::istream& stream);
  bool WriteFormType(std::ostream& stream);
  CFourCharacterCode const& GetFormType() const { return mFormType; }
  boost::shared_ptr<IChunkFactory> GetFactory() const { return mFactory; }

  // Bytes of a container's own header and form type before its first child.
  static long GetByteSize() { return 12; }

private:
  CFourCharacterCode mFormType;
  boost::shared_ptr<IChunkFactory> mFactory;
};

// The walk over a container's children while it is read.
class CChunkIterator {
public:
  enum { kGood = 0, kEnd = 2, kFailed = 4 };

  explicit CChunkIterator(std::istream& stream);
  // Reads and checks the container's header and form type.
  bool Initialize(CIffContainerChunk& container);
  void First();
  void Next();
  bool GetChunk(std::unique_ptr<CIffChunk>& out);
  bool GetChunkHeader(std::unique_ptr<CIffChunk::CHeader>& out) const;
  int GetState() const { return mState; }

private:
  std::unique_ptr<CIffChunk::CHeader> PeekHeader();

  std::istream& mStream;
  CIffContainerChunk* mContainer;
  std::unique_ptr<CIffChunk::CHeader> mHeader;
  int mState;
  long mStreamEnd;  // absolute end of the stream, -1 when unknown
};

// A root container class joined with the file-object interface.
template <class T>
class CIffDto : public T, public IDto {
public:
  explicit CIffDto(boost::shared_ptr<CIffContainerChunk::IChunkFactory> factory) : T(factory) {}
  ~CIffDto() override {}

  bool Read(std::istream& stream) override { return CIffContainerChunk::Read(stream); }
  bool Write(std::ostream& stream) override { return CIffChunk::Write(stream); }

  bool CanRead(std::istream& stream) const override {
    CStreamJanitor janitor(stream);
    T root(this->GetFactory());
    CChunkIterator iterator(stream);
    bool const ok = iterator.Initialize(root);
    return ok && !stream.fail();
  }
};

}  // namespace SL
