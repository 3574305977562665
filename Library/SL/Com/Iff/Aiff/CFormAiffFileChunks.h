#pragma once

// The chunks of a FORM AIFF file, all big endian.

#include "SL/Com/Iff/InterchangeFileFormat.h"

#include <cstdint>
#include <string>
#include <vector>

namespace SL {

class CFormAiffFileChunks {
public:
  typedef CIffChunk::CFourCharacterCode CFourCharacterCode;

  class CFormAiffChunk : public CIffContainerChunk {
  public:
    explicit CFormAiffChunk(boost::shared_ptr<IChunkFactory> factory);
    ~CFormAiffChunk() override;

    static CFourCharacterCode const sId;
    static CFourCharacterCode const sFormType;

    class CDefaultChunkFactory : public IChunkFactory {
    public:
      explicit CDefaultChunkFactory(bool loadData);
      std::unique_ptr<CIffChunk> Create(CFourCharacterCode const& id) override;

    private:
      bool mLoadData;
    };
  };

  class CCommonChunk : public CIffChunk {
  public:
    CCommonChunk();
    ~CCommonChunk() override;
    bool ReadBody(std::istream& stream) override;
    bool WriteBody(std::ostream& stream) override;

    static CFourCharacterCode const sId;

    int16_t numChannels;
    uint32_t numSampleFrames;
    int16_t sampleSize;
    long double sampleRate;
  };

  class CSoundDataChunk : public CIffDataChunk {
  public:
    explicit CSoundDataChunk(bool load);
    ~CSoundDataChunk() override;
    bool ReadBody(std::istream& stream) override;
    bool WriteBody(std::ostream& stream) override;
    // The payload is what follows the offset and block-size fields.
    long GetReadSize() const override { return static_cast<long>(GetHeader().GetSize()) - 8; }
    // The samples start `offset` bytes into the payload.
    GT::CRange<long> GetSampleRange() const override;

    static CFourCharacterCode const sId;

    uint32_t offset;
    uint32_t blockSize;
  };

  class CMarkerChunk : public CIffChunk {
  public:
    class CPString {
    public:
      CPString() : count(0), text() {}
      uint8_t count;
      std::string text;
    };
    class CMarker {
    public:
      CMarker() : id(0), position(0), name() {}
      int16_t id;
      uint32_t position;
      CPString name;
    };

    CMarkerChunk();
    ~CMarkerChunk() override;
    bool ReadBody(std::istream& stream) override;
    bool WriteBody(std::ostream& stream) override;

    static CFourCharacterCode const sId;

    int16_t numMarkers;
    std::vector<CMarker> markers;
  };

  class CInstrumentChunk : public CIffChunk {
  public:
    class CLoop {
    public:
      CLoop() : playMode(0), beginLoop(0), endLoop(0) {}
      int16_t playMode;
      int16_t beginLoop;
      int16_t endLoop;
    };
    class CFields {
    public:
      CFields()
          : baseNote(0),
            detune(0),
            lowNote(0),
            highNote(0),
            lowVelocity(0),
            highVelocity(0),
            gain(0),
            sustainLoop(),
            releaseLoop() {}
      int8_t baseNote;
      int8_t detune;
      int8_t lowNote;
      int8_t highNote;
      int8_t lowVelocity;
      int8_t highVelocity;
      int16_t gain;
      CLoop sustainLoop;
      CLoop releaseLoop;
    };

    CInstrumentChunk();
    ~CInstrumentChunk() override;
    bool ReadBody(std::istream& stream) override;
    bool WriteBody(std::ostream& stream) override;

    static CFourCharacterCode const sId;

    CFields fields;
  };

  // Recognised chunks whose bodies are neither read nor written.
  class CPlaceholderChunk : public CIffChunk {
  public:
    CPlaceholderChunk(CFourCharacterCode const& id);
    ~CPlaceholderChunk() override;
    bool ReadBody(std::istream& stream) override;
    bool WriteBody(std::ostream& stream) override;
  };

  class CMidiDataChunk : public CPlaceholderChunk {
  public:
    CMidiDataChunk();
    static CFourCharacterCode const sId;
  };

  class CAudioRecordingChunk : public CPlaceholderChunk {
  public:
    CAudioRecordingChunk();
    static CFourCharacterCode const sId;
  };

  class CApplicationSpecificChunk : public CPlaceholderChunk {
  public:
    CApplicationSpecificChunk();
    static CFourCharacterCode const sId;
  };

  class CCommentsChunk : public CIffChunk {
  public:
    class CComment {
    public:
      CComment() : timeStamp(0), marker(0), count(0), text() {}
      uint32_t timeStamp;
      int16_t marker;
      uint16_t count;
      std::string text;
    };

    CCommentsChunk();
    ~CCommentsChunk() override;
    bool ReadBody(std::istream& stream) override;
    bool WriteBody(std::ostream& stream) override;

    static CFourCharacterCode const sId;

    uint16_t numComments;
    std::vector<CComment> comments;
  };

  // "NAME", "AUTH", "(c) " or "ANNO": the whole body is the text.
  class CTextChunk : public CIffChunk {
  public:
    explicit CTextChunk(CFourCharacterCode const& id);
    ~CTextChunk() override;
    bool ReadBody(std::istream& stream) override;
    bool WriteBody(std::ostream& stream) override;

    static CFourCharacterCode const sNameId;
    static CFourCharacterCode const sAuthorId;
    static CFourCharacterCode const sCopyrightId;
    static CFourCharacterCode const sAnnotationId;

    std::string text;
  };
};

}  // namespace SL
