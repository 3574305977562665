#pragma once

// Feeds one input to every reader of a file format: the full chunk set and
// the wave made from it, the sample stream set-up, the sample iterator and
// the file sample buffer.

#include "SL/Com/Buffer/CFileSampleBufferFactory.h"
#include "SL/Com/Stream/CFileSampleIteratorFactory.h"
#include "SL/Com/Iff/Aiff/CFormAiffDto.h"
#include "SL/Com/Iff/Wav/CRiffWaveDto.h"
#include "SL/Com/Wave/CWave.h"
#include "SL/Com/Iff/Aiff/CWaveMarshallerToFormAiffDto.h"
#include "SL/Com/Iff/Wav/CWaveMarshallerToRiffWaveDto.h"
#include "SL/Com/Stream/ISampleIteratorBase.h"
#include "SL/Com/Stream/ITypedInputSampleIterator.h"

#include <boost/shared_ptr.hpp>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

namespace FuzzFileStreams {

inline boost::shared_ptr<std::istream> Stream(uint8_t const* data, size_t size) {
  return boost::shared_ptr<std::istream>(new std::istringstream(
      std::string(reinterpret_cast<char const*>(data), size), std::ios::in | std::ios::binary));
}

template <int N>
void Drain(SL::IInputSampleIterator& base) {
  auto& it = dynamic_cast<SL::ITypedInputSampleIterator<N>&>(base);
  volatile double sink = 0;
  for (int n = 0; it.HasNext() && n < 1 << 20; ++n) {
    sink = sink + static_cast<double>(it.Get());
    it.Next();
  }
  it.SetLocation(1);
  if (it.HasNext()) sink = sink + static_cast<double>(it.Get());
  it.SetLocation(-5);
  it.SetLocation(0x7FFFFFFFL);
  (void)it.GetLocation();
}

inline void Exercise(boost::shared_ptr<SL::CFileSampleBufferFactory::CInputSource> const& source) {
  if (!source) return;
  boost::shared_ptr<SL::IInputSampleIterator> it =
      SL::CFileSampleIteratorFactory::CreateInputSampleIterator(*source);
  if (it) {
    switch (it->GetAttribute().mBitDepth.GetValue()) {
      case 65544:
        Drain<65544>(*it);
        break;
      case 65552:
        Drain<65552>(*it);
        break;
      case 65560:
        Drain<65560>(*it);
        break;
      case 65568:
        Drain<65568>(*it);
        break;
      case 131104:
        Drain<131104>(*it);
        break;
      case 131136:
        Drain<131136>(*it);
        break;
      default:
        __builtin_trap();  // the set-up let through a depth nobody streams
    }
  }
  if (source->mRange.end - source->mRange.begin <= 1 << 16) {
    boost::shared_ptr<SL::ISampleBuffer> buffer =
        SL::CFileSampleBufferFactory::CreateInputSampleBuffer(*source);
    if (buffer) (void)buffer->GetPeakLevel();
  }
}

// The marshaller also gets what a failed read left behind.
template <class TDto, class TFactory, class TMarshaller>
void ReadChunkTree(uint8_t const* data, size_t size, bool load) {
  boost::shared_ptr<std::istream> stream = Stream(data, size);
  TDto document(boost::shared_ptr<TFactory>(new TFactory(load)));
  if (document.CanRead(*stream)) (void)document.Read(*stream);
  std::unique_ptr<SL::CWave<0x20040> > wave = TMarshaller().Unmarshall(document);
  if (!wave) return;
  wave->Normalize();
  if (!wave->HasNormalized()) __builtin_trap();
}

}  // namespace FuzzFileStreams
