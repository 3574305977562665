#pragma once

#include "SL/Com/Buffer/ISampleTransformer.h"
#include "SL/Com/Stream/ITypedInputSampleIterator.h"
#include "SL/Com/Stream/ITypedOutputSampleIterator.h"
#include "SL/Com/Buffer/ITypedSampleBuffer.h"

namespace SL {

// The transformer of bit-depth code N. Each side's range is taken once, at
// the start of a call, so room or data that a ring's other thread adds
// meanwhile waits for the next call. A sample is taken from the source only
// when the destination has room for it. A side that is not of depth N is
// refused: nothing is touched and the result is 1.
template <int N>
class CSampleTransformer : public ISampleTransformer {
public:
  typedef typename ITypedSampleBuffer<N>::CValueType CValueType;
  typedef typename ITypedSampleBuffer<N>::CInputIterator CInputIterator;
  typedef typename ITypedSampleBuffer<N>::COutputIterator COutputIterator;

  CSampleTransformer() {}

  int Transform(ISampleBuffer& source, ISampleBuffer& destination, EMode mode) override {
    ITypedSampleBuffer<N>* const from = dynamic_cast<ITypedSampleBuffer<N>*>(&source);
    ITypedSampleBuffer<N>* const to = dynamic_cast<ITypedSampleBuffer<N>*>(&destination);
    if (from == nullptr || to == nullptr) {
      return 1;
    }
    CInputIterator i = from->InputBegin();
    CInputIterator const iEnd = from->InputEnd();
    COutputIterator o = to->OutputBegin();
    COutputIterator const oEnd = to->OutputEnd();
    while (i != iEnd && o != oEnd) {
      o.Set(i.Get());
      ++i;
      ++o;
    }
    int const result = i != iEnd ? 0 : (o == oEnd ? 2 : 1);
    if (Skips(mode)) {
      while (i != iEnd) {
        ++i;
      }
    }
    if (Fills(mode)) {
      while (o != oEnd) {
        o.Set(CValueType(0));
        ++o;
      }
    }
    return result;
  }

  int Transform(IInputSampleIterator& source, ISampleBuffer& destination, EMode mode) override {
    ITypedInputSampleIterator<N>* const in = dynamic_cast<ITypedInputSampleIterator<N>*>(&source);
    ITypedSampleBuffer<N>* const to = dynamic_cast<ITypedSampleBuffer<N>*>(&destination);
    if (in == nullptr || to == nullptr) {
      return 1;
    }
    COutputIterator o = to->OutputBegin();
    COutputIterator const oEnd = to->OutputEnd();
    while (in->HasNext() && o != oEnd) {
      CValueType const v = in->Get();
      o.Set(v);
      in->Next();
      ++o;
    }
    int const result = in->HasNext() ? 0 : (o == oEnd ? 2 : 1);
    if (Skips(mode)) {
      while (in->HasNext()) {
        in->Next();
      }
    }
    if (Fills(mode)) {
      while (o != oEnd) {
        o.Set(CValueType(0));
        ++o;
      }
    }
    return result;
  }

  int Transform(ISampleBuffer& source, IOutputSampleIterator& destination, EMode mode) override {
    ITypedSampleBuffer<N>* const from = dynamic_cast<ITypedSampleBuffer<N>*>(&source);
    ITypedOutputSampleIterator<N>* const out =
        dynamic_cast<ITypedOutputSampleIterator<N>*>(&destination);
    if (from == nullptr || out == nullptr) {
      return 1;
    }
    CInputIterator i = from->InputBegin();
    CInputIterator const iEnd = from->InputEnd();
    while (i != iEnd && out->HasNext()) {
      out->Set(i.Get());
      ++i;
      out->Next();
    }
    int const result = i != iEnd ? 0 : (out->HasNext() ? 1 : 2);
    if (Skips(mode)) {
      while (i != iEnd) {
        ++i;
      }
    }
    if (Fills(mode)) {
      while (out->HasNext()) {
        out->Set(CValueType(0));
        out->Next();
      }
    }
    return result;
  }

private:
  static bool Skips(EMode mode) { return mode == DrainSource || mode == DrainAndPad; }
  static bool Fills(EMode mode) { return mode == PadDestination || mode == DrainAndPad; }
};

}  // namespace SL
