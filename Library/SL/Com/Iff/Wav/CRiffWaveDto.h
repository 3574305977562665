#pragma once

#include "SL/Com/Iff/Wav/CRiffWaveFileChunks.h"
#include "SL/Com/Iff/InterchangeFileFormat.h"

namespace SL {

// A RIFF WAVE file as a chunk tree.
class CRiffWaveDto : public CIffDto<CRiffWaveFileChunks::CRiffWaveChunk>,
                     public CRiffWaveFileChunks {
public:
  explicit CRiffWaveDto(boost::shared_ptr<CIffContainerChunk::IChunkFactory> factory)
      : CIffDto<CRiffWaveFileChunks::CRiffWaveChunk>(factory) {}
  ~CRiffWaveDto() override {}
};

}  // namespace SL
