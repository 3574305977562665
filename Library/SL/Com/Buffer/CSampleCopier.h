#pragma once

#include "SL/Com/Buffer/CSampleEndianConverter.h"
#include "SL/Com/Buffer/ITypedSampleBuffer.h"
#include "SL/Com/Buffer/ISampleCopier.h"
#include "SL/Com/Stream/ITypedInputSampleIterator.h"
#include "SL/Com/Stream/ITypedOutputSampleIterator.h"

namespace SL {

// The copier of bit-depth code N. The memory holds the samples interleaved,
// in the iterator's byte order. Samples of a partial frame at the end are
// still moved but not counted. An iterator not of depth N or without channels
// moves nothing (0 frames, 0 bytes).
template <int N>
class CSampleCopier : public ISampleCopier {
public:
  typedef typename CSampleTraits<N>::CValueType CValueType;
  enum { B = ITypedSampleBuffer<N>::B };

  CSampleCopier() : mPartialSamples(0) {}

  // Walks the memory directly: the audio thread copies with this, and must
  // not allocate.
  unsigned long CopyToBuffer(IInputSampleIterator& source, void* memory,
                             unsigned long& bytes) override {
    CSampleAttribute const& attribute = source.GetAttribute();
    ITypedInputSampleIterator<N>* const in = dynamic_cast<ITypedInputSampleIterator<N>*>(&source);
    if (in == nullptr || attribute.mChannelCount < 1) {
      bytes = 0;
      mPartialSamples = 0;
      return 0;
    }
    CSampleEndianConverter<N> const order(attribute.GetEndian());
    unsigned char* p = static_cast<unsigned char*>(memory);
    unsigned char* const end = p + (bytes - bytes % B);
    unsigned long count = 0;
    while (p != end && in->HasNext()) {
      order.Store(p, in->Get());
      ++count;
      in->Next();
      p += B;
    }
    return Account(count, attribute, bytes);
  }

  unsigned long CopyFromBuffer(void* memory, unsigned long& bytes,
                               IOutputSampleIterator& destination) override {
    CSampleAttribute const& attribute = destination.GetAttribute();
    ITypedOutputSampleIterator<N>* const out =
        dynamic_cast<ITypedOutputSampleIterator<N>*>(&destination);
    if (out == nullptr || attribute.mChannelCount < 1) {
      bytes = 0;
      mPartialSamples = 0;
      return 0;
    }
    CSampleEndianConverter<N> const order(attribute.GetEndian());
    unsigned char const* p = static_cast<unsigned char const*>(memory);
    unsigned char const* const end = p + (bytes - bytes % B);
    unsigned long count = 0;
    while (p != end && out->HasNext()) {
      out->Set(order.Convert(p));
      ++count;
      p += B;
      out->Next();
    }
    return Account(count, attribute, bytes);
  }

  unsigned long GetPartialSamples() const override { return mPartialSamples; }

private:
  unsigned long Account(unsigned long count, CSampleAttribute const& attribute,
                        unsigned long& bytes) {
    unsigned long const channels = static_cast<unsigned long>(attribute.mChannelCount);
    unsigned long const frames = count / channels;
    mPartialSamples = count % channels;
    bytes = channels * frames * static_cast<unsigned long>(attribute.GetBytesPerSample());
    return frames;
  }

  unsigned long mPartialSamples;
};

}  // namespace SL
