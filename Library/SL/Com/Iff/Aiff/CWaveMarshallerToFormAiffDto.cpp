#include "SL/Com/Iff/Aiff/CWaveMarshallerToFormAiffDto.h"

#include <algorithm>
#include <cstdint>

#include "SL/Com/Wave/ILoop.h"
#include "SL/Com/Iff/WaveMarshalling.h"

namespace SL {
namespace Private {

std::unique_ptr<CWave<nFloat64> > CWaveMarshallerToFormAiffDto<nFloat64>::Unmarshall(
    CFormAiffDto const& dto) {
  typedef CFormAiffFileChunks Chunks;
  Chunks::CCommonChunk const* common =
      dynamic_cast<Chunks::CCommonChunk const*>(dto.Find(Chunks::CCommonChunk::sId));
  Chunks::CSoundDataChunk const* sound =
      dynamic_cast<Chunks::CSoundDataChunk const*>(dto.Find(Chunks::CSoundDataChunk::sId));
  Chunks::CMarkerChunk const* markers =
      dynamic_cast<Chunks::CMarkerChunk const*>(dto.Find(Chunks::CMarkerChunk::sId));
  Chunks::CInstrumentChunk const* instrument =
      dynamic_cast<Chunks::CInstrumentChunk const*>(dto.Find(Chunks::CInstrumentChunk::sId));
  Chunks::CTextChunk const* name =
      dynamic_cast<Chunks::CTextChunk const*>(dto.Find(Chunks::CTextChunk::sNameId));
  if (common == nullptr) return nullptr;

  std::unique_ptr<CWave<nFloat64> > wave(new CWave<nFloat64>(CWaveFormat::Wave));
  CBitDepth depth;
  if (!ToBitDepth(nIntegerKind | static_cast<int>(common->sampleSize), depth)) return nullptr;
  wave->SetOriginalBitDepth(depth);
  if (!SetUpChannels(*wave, sound, common->numChannels)) return nullptr;
  if (name) wave->SetName(name->text);
  wave->SetSampleRate(static_cast<double>(common->sampleRate));

  if (instrument) {
    double const note = static_cast<double>(instrument->fields.baseNote) +
                        static_cast<double>(instrument->fields.detune) / 100.0;
    wave->SetRecordNote(note);
    wave->SetActualNote(note);
    wave->SetPlayNote(note);
  }
  SetDefaultLoop(*wave);
  ILoop& loop = wave->Loop();
  loop.SetLoopTune(0.0);
  if (instrument) {
    Chunks::CInstrumentChunk::CLoop const& sustain = instrument->fields.sustainLoop;
    switch (sustain.playMode) {
      case 1:
        loop.SetLoopMode(CLoopMode::Forward);
        break;
      case 2:
        loop.SetLoopMode(CLoopMode::AlternatePlus);
        break;
      default:
        loop.SetLoopMode(CLoopMode::OneShot);
        break;
    }
    if (markers) {
      for (Chunks::CMarkerChunk::CMarker const& marker : markers->markers) {
        double const position = static_cast<double>(marker.position);
        if (static_cast<std::uint16_t>(marker.id) ==
            static_cast<std::uint16_t>(sustain.beginLoop)) {
          loop.SetLoopFrame(sustain.playMode == 1 ? position - 1.0 : position);
          loop.SetStartFrame(std::min(loop.GetLoopFrame(), 0.0));
        } else if (static_cast<std::uint16_t>(marker.id) ==
                   static_cast<std::uint16_t>(sustain.endLoop)) {
          loop.SetEndFrame(position - 1.0);
        }
      }
    }
  }
  return wave;
}

}  // namespace Private
}  // namespace SL
