#include "SL/Com/Iff/Wav/CWaveMarshallerToRiffWaveDto.h"

#include <algorithm>

#include "SL/Com/Wave/ILoop.h"
#include "SL/Com/Iff/WaveMarshalling.h"

namespace SL {
namespace Private {
namespace {

typedef CRiffWaveFileChunks::CSamplerChunk::CSampleLoop CSampleLoop;

CLoopMode ModeOf(CSampleLoop const& loop) {
  if (loop.type == CSampleLoop::Forward && loop.playCount == 1) return CLoopMode::OneShot;
  if (loop.type == CSampleLoop::Alternating && loop.playCount == 0) return CLoopMode::AlternatePlus;
  if (loop.type == CSampleLoop::Backward && loop.playCount == 1) return CLoopMode::OneShotReverse;
  if (loop.type == CSampleLoop::Backward && loop.playCount == 0) return CLoopMode::ForwardReverse;
  return CLoopMode::OneShot;
}

}  // namespace

std::unique_ptr<CWave<nFloat64> > CWaveMarshallerToRiffWaveDto<nFloat64>::Unmarshall(
    CRiffWaveDto const& dto) {
  typedef CRiffWaveFileChunks Chunks;
  Chunks::CFormatChunk const* format =
      dynamic_cast<Chunks::CFormatChunk const*>(dto.Find(Chunks::CFormatChunk::sId));
  Chunks::CSamplerChunk const* sampler =
      dynamic_cast<Chunks::CSamplerChunk const*>(dto.Find(Chunks::CSamplerChunk::sId));
  Chunks::CDataChunk const* data =
      dynamic_cast<Chunks::CDataChunk const*>(dto.Find(Chunks::CDataChunk::sId));
  if (format == nullptr) return nullptr;

  std::unique_ptr<CWave<nFloat64> > wave(new CWave<nFloat64>(CWaveFormat::Wave));
  int const kind = Chunks::CFormatChunk::ToSampleKind(format->formatTag);
  if (kind == nNone) return nullptr;
  CBitDepth depth;
  if (!ToBitDepth(kind | format->bitsPerSample, depth)) return nullptr;
  wave->SetOriginalBitDepth(depth);
  if (!SetUpChannels(*wave, data, format->channels)) return nullptr;
  wave->SetSampleRate(static_cast<double>(format->samplesPerSecond));

  if (sampler) {
    double const note = static_cast<double>(sampler->midiUnityNote) -
                        static_cast<double>(sampler->midiPitchFraction) / 4294967295.0;
    wave->SetRecordNote(note);
    wave->SetActualNote(note);
    wave->SetPlayNote(note);
  }
  SetDefaultLoop(*wave);
  if (sampler && !sampler->loops.empty()) {
    CSampleLoop const& record = sampler->loops.front();
    ILoop& loop = wave->Loop();
    if (record.type == CSampleLoop::Forward && record.playCount != 1) {
      loop.SetLoopFrame(static_cast<double>(record.start) - 1.0);
      loop.SetLoopMode(CLoopMode::Forward);
    } else {
      loop.SetLoopFrame(static_cast<double>(record.start));
      loop.SetLoopMode(ModeOf(record));
    }
    loop.SetStartFrame(std::min(loop.GetLoopFrame(), 0.0));
    double const l = loop.GetLoopFrame();
    loop.SetEndFrame(((static_cast<double>(record.end) - l) +
                      static_cast<double>(record.fraction) / 4294967295.0) +
                     l);
    loop.SetLoopTune(0.0);
  }
  return wave;
}

}  // namespace Private
}  // namespace SL
