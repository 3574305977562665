#include "SL/Com/Iff/WaveMarshalling.h"

#include "GT/Com/Enum/IRangedNumber.h"
#include "SL/Com/Wave/CChannelInterleaver.h"
#include "SL/Com/Wave/ILoop.h"

namespace SL {
namespace Private {

bool ToBitDepth(int code, CBitDepth& depth) {
  try {
    depth = CBitDepth(code);
    return true;
  } catch (GT::IRangedNumber<int>::CError const&) {
    return false;
  }
}

bool SetUpChannels(CWave<nFloat64>& wave, CIffDataChunk const* data, int channels) {
  // Without sample data, or without channels, there is no wave to speak of.
  if (data == nullptr || channels < 1) return false;
  // The frames are those of the chunk's samples, as the sample streams see them.
  GT::CRange<long> const samples = data->GetSampleRange();
  if (samples.begin > samples.end) return false;
  int const code = wave.GetOriginalBitDepth().GetValue();
  if (data->IsLoaded()) {
    unsigned char const* bytes = data->GetBytes().empty() ? nullptr : data->GetBytes().data();
    boost::shared_ptr<CTypedChannelCollection<nFloat64> > const converted =
        DispatchBitDepth(code, [&](auto depth) {
          return CChannelInterleaver::Convert<decltype(depth)::value, nFloat64>(
              CWaveFormat::Wave, bytes + samples.begin, bytes + samples.end, data->GetEndian(),
              channels);
        });
    if (!converted) return false;
    wave.mChannels = converted;
    return true;
  }
  unsigned long const bytesPerSample = static_cast<unsigned long>(BytesOf(code));
  if (bytesPerSample == 0) return false;
  // Null channels hold no samples: the recorded count sizes them without
  // allocating anything, whatever the file really holds.
  unsigned long const frames = static_cast<unsigned long>(samples.end - samples.begin) /
                               bytesPerSample / static_cast<unsigned long>(channels);
  boost::shared_ptr<CChannelCollection> collection(new CChannelCollection(CWaveFormat::Wave));
  collection->Initialize(channels);
  collection->SetLocation(GT::CRange<long>(0, static_cast<long>(frames)));
  wave.SetChannels(collection);
  return true;
}

void SetDefaultLoop(CWave<nFloat64>& wave) {
  ILoop& loop = wave.Loop();
  loop.SetStartFrame(0.0);
  loop.SetLoopFrame(0.0);
  loop.SetEndFrame(static_cast<double>(wave.GetLocation().end) - 1.0);
  loop.SetLoopMode(CLoopMode::OneShot);
}

}  // namespace Private
}  // namespace SL
