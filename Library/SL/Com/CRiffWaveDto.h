#pragma once

#include "SL/Com/CRiffWaveFileChunks.h"
#include "SL/Com/InterchangeFileFormat.h"

namespace SL {

// A RIFF WAVE file as a chunk tree.
class CRiffWaveDto : public CIffDto<CRiffWaveFileChunks::CRiffWaveChunk>, public CRiffWaveFileChunks {
 public:
  explicit CRiffWaveDto(boost::shared_ptr<CIffContainerChunk::IChunkFactory> factory)
      : CIffDto<CRiffWaveFileChunks::CRiffWaveChunk>(factory) {}
  ~CRiffWaveDto() override {}
};

}  // namespace SL
