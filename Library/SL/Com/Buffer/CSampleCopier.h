#pragma once

#include "SL/Com/Buffer/CReferentialSampleBuffer.h"
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
  typedef typename ITypedSampleBuffer<N>::CInputIterator CInputIterator;
  typedef typename ITypedSampleBuffer<N>::COutputIterator COutputIterator;
  enum { B = ITypedSampleBuffer<N>::B };

  CSampleCopier() {}

  unsigned long CopyToBuffer(IInputSampleIterator& source, void* memory,
                             unsigned long& bytes) override {
    CSampleAttribute const attribute = source.GetAttribute();
    ITypedInputSampleIterator<N>* const in = dynamic_cast<ITypedInputSampleIterator<N>*>(&source);
    if (in == nullptr || attribute.mChannelCount < 1) {
      bytes = 0;
      return 0;
    }
    unsigned char* const begin = static_cast<unsigned char*>(memory);
    CReferentialSampleBuffer<N> buffer(begin, begin + bytes, attribute.mChannelCount,
                                       attribute.GetEndian());
    COutputIterator o = buffer.OutputBegin();
    COutputIterator const oEnd = buffer.OutputEnd();
    unsigned long count = 0;
    while (in->HasNext() && o != oEnd) {
      o.Set(in->Get());
      ++count;
      in->Next();
      ++o;
    }
    return Account(count, attribute, bytes);
  }

  unsigned long CopyFromBuffer(void* memory, unsigned long& bytes,
                               IOutputSampleIterator& destination) override {
    CSampleAttribute const attribute = destination.GetAttribute();
    ITypedOutputSampleIterator<N>* const out =
        dynamic_cast<ITypedOutputSampleIterator<N>*>(&destination);
    if (out == nullptr || attribute.mChannelCount < 1) {
      bytes = 0;
      return 0;
    }
    unsigned char* const begin = static_cast<unsigned char*>(memory);
    CReferentialSampleBuffer<N> buffer(begin, begin + bytes, attribute.mChannelCount,
                                       attribute.GetEndian());
    CInputIterator i = buffer.InputBegin();
    CInputIterator const iEnd = buffer.InputEnd();
    unsigned long count = 0;
    while (i != iEnd && out->HasNext()) {
      out->Set(i.Get());
      ++count;
      ++i;
      out->Next();
    }
    return Account(count, attribute, bytes);
  }

private:
  static unsigned long Account(unsigned long count, CSampleAttribute const& attribute,
                               unsigned long& bytes) {
    unsigned long const channels = static_cast<unsigned long>(attribute.mChannelCount);
    unsigned long const frames = count / channels;
    bytes = channels * frames * static_cast<unsigned long>(attribute.GetBytesPerSample());
    return frames;
  }
};

}  // namespace SL
