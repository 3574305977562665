#pragma once

#include "GT/Com/Enum/CRange.h"
#include "SL/Com/Buffer/CByteSampleLocator.h"
#include "SL/Com/Buffer/CLinearRingSampleIncrementer.h"
#include "SL/Com/Buffer/CRingSampleIncrementer.h"
#include "SL/Com/Buffer/IRingSampleBufferMixin.h"
#include "SL/Com/Buffer/ITypedSampleBuffer.h"

#include <boost/shared_ptr.hpp>

#include <atomic>
#include <cstddef>
#include <vector>

namespace SL {

// Single-producer, single-consumer ring of bit-depth code N without a lock.
// One frame of the storage always stays free, so equal read and write
// pointers mean empty. The producer moves only the write pointer, the consumer
// only the read pointer, each through the incrementer of its iterator, which
// publishes a frame only after every sample of it was written or read
// (release), and each side loads the other's pointer with acquire.
template <int N>
class CRingSampleBuffer : public ITypedSampleBuffer<N>,
                          public std::vector<unsigned char>,
                          public IRingSampleBufferMixin {
public:
  typedef ITypedSampleBuffer<N> CBase;
  typedef typename CBase::CInputIterator CInputIterator;
  typedef typename CBase::COutputIterator COutputIterator;
  typedef typename CBase::CIncrementer CIncrementer;
  typedef typename CBase::CValueType CValueType;
  enum { B = CBase::B };

  // frames: the usable capacity; the storage holds one frame more, zeroed.
  CRingSampleBuffer(int channels, long frames, GT::CEndianness::EEndian order)
      : std::vector<unsigned char>(StorageSize(channels, frames), 0),
        mAttribute(CBitDepth(N), 0.0, channels, frames, order),
        mGapSize(channels > 0 ? static_cast<long>(channels) * B : 0),
        mReadPointer(std::vector<unsigned char>::data()),
        mWritePointer(std::vector<unsigned char>::data()) {}
  ~CRingSampleBuffer() override = default;

  CRingSampleBuffer(CRingSampleBuffer const&) = delete;
  CRingSampleBuffer& operator=(CRingSampleBuffer const&) = delete;

  CSampleAttribute const& GetAttribute() const override { return mAttribute; }
  bool IsSequential() const override { return false; }
  unsigned char* Begin() override { return nullptr; }
  unsigned char* End() override { return nullptr; }
  unsigned char* At(long) override { return nullptr; }

  // Peak of the unread frames, without consuming them (walking the ring with
  // its own read iterator would publish the read pointer and empty it).
  std::vector<double> GetPeakLevel() const override {
    int const channels = mAttribute.mChannelCount;
    std::vector<double> result(channels > 0 ? static_cast<std::size_t>(channels) : 0, 0.0);
    long const size = Size();
    if (channels < 1 || size == 0) {
      return result;
    }
    CSampleEndianConverter<N> const converter(mAttribute.GetEndian());
    unsigned char const* const begin = std::vector<unsigned char>::data();
    long offset = mReadPointer.load(std::memory_order_relaxed) - begin;
    long const samples = ReadDistance() / B;
    for (long k = 0; k < samples; ++k) {
      double const m = Private::SampleMagnitude(converter.Convert(begin + offset));
      int const c = static_cast<int>(k % channels);
      if (m > result[c]) {
        result[c] = m;
      }
      offset += B;
      if (offset >= size) {
        offset -= size;
      }
    }
    return result;
  }

  CInputIterator InputBegin() override { return CreateInputIterator(ReadPointer(), nullptr); }
  CInputIterator InputEnd() override { return CreateInputIterator(WritePointer(), nullptr); }
  CInputIterator InputAt(long frames) override {
    return CreateInputIterator(ReadPosition(frames), nullptr);
  }
  COutputIterator OutputBegin() override { return CreateOutputIterator(WritePointer(), nullptr); }
  COutputIterator OutputEnd() override { return CreateOutputIterator(WriteLimit(), nullptr); }
  COutputIterator OutputAt(long frames) override {
    return CreateOutputIterator(WritePosition(frames), nullptr);
  }
  CInputIterator InputBegin(std::vector<int> const& channels) override {
    return CreateInputIterator(ReadPointer(), &channels);
  }
  CInputIterator InputEnd(std::vector<int> const& channels) override {
    return CreateInputIterator(WritePointer(), &channels);
  }
  CInputIterator InputAt(std::vector<int> const& channels, long frames) override {
    return CreateInputIterator(ReadPosition(frames), &channels);
  }
  COutputIterator OutputBegin(std::vector<int> const& channels) override {
    return CreateOutputIterator(WritePointer(), &channels);
  }
  COutputIterator OutputEnd(std::vector<int> const& channels) override {
    return CreateOutputIterator(WriteLimit(), &channels);
  }
  COutputIterator OutputAt(std::vector<int> const& channels, long frames) override {
    return CreateOutputIterator(WritePosition(frames), &channels);
  }

  bool IsReadable() const override { return WritePointer() != ReadPointer(); }
  bool IsWritable() const override { return WriteDistance() != 0; }
  long GetAvailableInputFrameCount() const override {
    return mAttribute.ToFrameCount(ReadDistance());
  }
  long GetAvailableOutputFrameCount() const override {
    return mAttribute.ToFrameCount(WriteDistance());
  }

  // Bytes stored.
  long ReadDistance() const { return Wrap(WritePointer() - ReadPointer()); }
  // Bytes that may be written.
  long WriteDistance() const { return Wrap(ReadPointer() - mGapSize - WritePointer()); }
  // An address up to one storage size outside the storage, wrapped into it.
  unsigned char* Normalize(unsigned char* p) const { return Storage() + Wrap(p - Storage()); }
  GT::CRange<unsigned char*> Range() const {
    return GT::CRange<unsigned char*>(Storage(), UpperBound());
  }
  unsigned char* UpperBound() const { return Storage() + Size(); }
  // n frames after the read pointer, or the write pointer when fewer are stored.
  unsigned char* ReadPosition(long frames) const {
    unsigned char* const read = ReadPointer();
    long const bytes = frames * mGapSize;
    if (bytes > ReadDistance()) {
      return WritePointer();
    }
    return Storage() + Wrap(read - Storage() + bytes);
  }
  // n frames after the write pointer, or the end of the free room when fewer are free.
  unsigned char* WritePosition(long frames) const {
    unsigned char* const write = WritePointer();
    long const bytes = frames * mGapSize;
    if (bytes <= WriteDistance()) {
      return Storage() + Wrap(write - Storage() + bytes);
    }
    return WriteLimit();
  }

  // Iterators publish into the read (input) or write (output) pointer; their
  // position starts at p, which is also where their publishing starts.
  CInputIterator CreateInputIterator(unsigned char* p, std::vector<int> const* channels) {
    return CInputIterator(mAttribute.GetEndian(),
                          boost::shared_ptr<ISampleLocator>(new CByteSampleLocator(p)),
                          CreateIncrementer(&mReadPointer, p, channels));
  }
  COutputIterator CreateOutputIterator(unsigned char* p, std::vector<int> const* channels) {
    return COutputIterator(mAttribute.GetEndian(),
                           boost::shared_ptr<ISampleLocator>(new CByteSampleLocator(p)),
                           CreateIncrementer(&mWritePointer, p, channels));
  }

private:
  static std::size_t StorageSize(int channels, long frames) {
    if (channels < 1) {
      return 0;
    }
    long const f = frames > 0 ? frames : 0;
    return static_cast<std::size_t>(f + 1) * static_cast<std::size_t>(channels) * B;
  }

  unsigned char* Storage() const {
    return const_cast<unsigned char*>(std::vector<unsigned char>::data());
  }
  long Size() const { return static_cast<long>(std::vector<unsigned char>::size()); }
  // A byte distance in (-size, 2 size) brought into [0, size); 0 without storage.
  long Wrap(long bytes) const {
    long const size = Size();
    if (size == 0) {
      return 0;
    }
    return ((bytes % size) + size) % size;
  }
  unsigned char* ReadPointer() const { return mReadPointer.load(std::memory_order_acquire); }
  unsigned char* WritePointer() const { return mWritePointer.load(std::memory_order_acquire); }
  // read - gap: the end of the writable room.
  unsigned char* WriteLimit() const {
    return Storage() + Wrap(ReadPointer() - Storage() - mGapSize);
  }

  boost::shared_ptr<CIncrementer> CreateIncrementer(std::atomic<unsigned char*>* published,
                                                    unsigned char* start,
                                                    std::vector<int> const* channels) {
    int const count = mAttribute.mChannelCount;
    if (channels && static_cast<long>(channels->size()) != count) {
      return boost::shared_ptr<CIncrementer>(
          new CRingSampleIncrementer<B>(published, Range(), count, *channels, start));
    }
    return boost::shared_ptr<CIncrementer>(
        new CLinearRingSampleIncrementer<B>(published, Range(), count, start));
  }

  CSampleAttribute mAttribute;
  long mGapSize;
  std::atomic<unsigned char*> mReadPointer;
  std::atomic<unsigned char*> mWritePointer;
};

}  // namespace SL
