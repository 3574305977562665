#include "FuzzFileStreams.h"

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, size_t size) {
  using namespace FuzzFileStreams;
  ReadChunkTree<SL::CRiffWaveDto, SL::CRiffWaveFileChunks::CRiffWaveChunk::CDefaultChunkFactory,
                SL::Private::CWaveMarshallerToRiffWaveDto<0x20040>>(data, size, true);
  ReadChunkTree<SL::CRiffWaveDto, SL::CRiffWaveFileChunks::CRiffWaveChunk::CDefaultChunkFactory,
                SL::Private::CWaveMarshallerToRiffWaveDto<0x20040>>(data, size, false);
  Exercise(SL::CFileSampleBufferFactory::CreateInputSourceFromRiffWave(Stream(data, size)));
  return 0;
}
