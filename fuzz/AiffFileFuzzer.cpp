#include "FuzzFileStreams.h"

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, size_t size) {
  using namespace FuzzFileStreams;
  ReadChunkTree<SL::CFormAiffDto, SL::CFormAiffFileChunks::CFormAiffChunk::CDefaultChunkFactory>(data, size, true);
  ReadChunkTree<SL::CFormAiffDto, SL::CFormAiffFileChunks::CFormAiffChunk::CDefaultChunkFactory>(data, size, false);
  Exercise(SL::CFileSampleBufferFactory::CreateInputSourceFromFormAiff(Stream(data, size)));
  return 0;
}
