#pragma once

// The chunks of a RIFF WAVE file, all little endian.

#include "SL/Com/Iff/InterchangeFileFormat.h"

#include <cstdint>
#include <vector>

namespace SL {

class CRiffWaveFileChunks {
public:
  typedef CIffChunk::CFourCharacterCode CFourCharacterCode;

  class CRiffWaveChunk : public CIffContainerChunk {
  public:
    explicit CRiffWaveChunk(boost::shared_ptr<IChunkFactory> factory);
    ~CRiffWaveChunk() override;

    static CFourCharacterCode const sId;
    static CFourCharacterCode const sFormType;

    // Makes "fmt ", "data" and "smpl"; every other chunk is skipped.
    class CDefaultChunkFactory : public IChunkFactory {
    public:
      explicit CDefaultChunkFactory(bool loadData);
      std::unique_ptr<CIffChunk> Create(CFourCharacterCode const& id) override;

    private:
      bool mLoadData;
    };
  };

  class CFormatChunk : public CIffChunk {
  public:
    CFormatChunk();
    ~CFormatChunk() override;
    bool ReadBody(std::istream& stream) override;
    bool WriteBody(std::ostream& stream) override;

    static CFourCharacterCode const sId;

    // Integer PCM and IEEE floating point, the tags whose samples are read
    // and written.
    enum : uint16_t { nPcm = 1, nIeeeFloat = 3 };
    // The sample kind (nIntegerKind, nFloatKind) of a tag; nNone for others.
    static int ToSampleKind(uint16_t tag);
    // The tag for samples of a bit-depth code's kind.
    static uint16_t ToFormatTag(int bitDepthCode);

    uint16_t formatTag;
    uint16_t channels;
    uint32_t samplesPerSecond;
    uint32_t averageBytesPerSecond;
    uint16_t blockAlign;
    uint16_t bitsPerSample;
    uint16_t extraSize;
  };

  class CDataChunk : public CIffDataChunk {
  public:
    explicit CDataChunk(bool load);
    ~CDataChunk() override;

    static CFourCharacterCode const sId;
  };

  class CSamplerChunk : public CIffChunk {
  public:
    class CSampleLoop {
    public:
      enum EType : uint32_t { Forward = 0, Alternating = 1, Backward = 2 };
      CSampleLoop();

      uint32_t identifier;
      EType type;
      uint32_t start;
      uint32_t end;
      uint32_t fraction;
      uint32_t playCount;
    };

    CSamplerChunk();
    ~CSamplerChunk() override;
    bool ReadBody(std::istream& stream) override;
    bool WriteBody(std::ostream& stream) override;

    static CFourCharacterCode const sId;

    uint32_t manufacturer;
    uint32_t product;
    uint32_t samplePeriod;
    uint32_t midiUnityNote;
    uint32_t midiPitchFraction;
    uint32_t smpteFormat;
    uint32_t smpteOffset;
    uint32_t sampleLoopCount;
    uint32_t samplerDataSize;
    std::vector<CSampleLoop> loops;
    std::vector<unsigned char> samplerData;
  };
};

}  // namespace SL
