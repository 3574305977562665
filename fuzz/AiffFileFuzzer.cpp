#include "FuzzFileStreams.h"

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, size_t size) {
  using namespace FuzzFileStreams;
  ReadChunkTree<SL::CFormAiffDto, SL::CFormAiffFileChunks::CFormAiffChunk::CDefaultChunkFactory,
                SL::Private::CWaveMarshallerToFormAiffDto<0x20040>>(data, size, true);
  ReadChunkTree<SL::CFormAiffDto, SL::CFormAiffFileChunks::CFormAiffChunk::CDefaultChunkFactory,
                SL::Private::CWaveMarshallerToFormAiffDto<0x20040>>(data, size, false);
  Exercise(SL::CFileSampleBufferFactory::CreateInputSourceFromFormAiff(Stream(data, size)));
  return 0;
}
