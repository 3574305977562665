#pragma once

#include "SL/Com/Iff/Aiff/CFormAiffFileChunks.h"
#include "SL/Com/Iff/InterchangeFileFormat.h"

namespace SL {

// A FORM AIFF file as a chunk tree.
class CFormAiffDto : public CIffDto<CFormAiffFileChunks::CFormAiffChunk>,
                     public CFormAiffFileChunks {
public:
  explicit CFormAiffDto(boost::shared_ptr<CIffContainerChunk::IChunkFactory> factory)
      : CIffDto<CFormAiffFileChunks::CFormAiffChunk>(factory) {}
  ~CFormAiffDto() override {}
};

}  // namespace SL
