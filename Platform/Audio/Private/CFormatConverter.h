#pragma once

#include "Platform/Audio/AudioConverter.h"
#include "Platform/Audio/Private/PcmEncoding.h"

#include <samplerate.h>

#include <cstddef>
#include <memory>
#include <vector>

namespace AudioLayer {

// The converter behind AudioConverterRef. Without a rate change, frames go
// straight from the producer's memory to the output. With one, they are
// decoded into floats of the output's channel count, resampled, and encoded
// from there; the resampler's state and the frames it has not yet used stay
// here from one fill to the next.
class CFormatConverter {
public:
  // Null with *status set when either format is not one we convert.
  static std::unique_ptr<CFormatConverter> Create(AudioStreamBasicDescription const& source,
                                                  AudioStreamBasicDescription const& destination,
                                                  AudioStatus* status);
  ~CFormatConverter();
  CFormatConverter(CFormatConverter const&) = delete;
  CFormatConverter& operator=(CFormatConverter const&) = delete;

  AudioStatus Fill(AudioConverterRef self, AudioConverterComplexInputDataProc proc, void* user,
                   std::uint32_t* packets, AudioBufferList* output);

private:
  // Frames the resampling path stages on either side of the resampler.
  static std::size_t const sChunkFrames = 1024;

  CFormatConverter(AudioStreamBasicDescription const& source,
                   AudioStreamBasicDescription const& destination, CPcmEncoding const& from,
                   CPcmEncoding const& to);

  AudioStatus FillDirect(AudioConverterRef self, AudioConverterComplexInputDataProc proc,
                         void* user, unsigned char* out, std::uint32_t want,
                         std::uint32_t* produced);
  AudioStatus FillResampled(AudioConverterRef self, AudioConverterComplexInputDataProc proc,
                            void* user, unsigned char* out, std::uint32_t want,
                            std::uint32_t* produced);
  // Asks the producer for up to limit frames; *given stays 0 when it has none
  // or the stream ended (then mEnded is set).
  AudioStatus Ask(AudioConverterRef self, AudioConverterComplexInputDataProc proc, void* user,
                  std::uint32_t limit, unsigned char const** in, std::uint32_t* given);
  // Asks the producer for frames and decodes them behind the staged input.
  AudioStatus Pull(AudioConverterRef self, AudioConverterComplexInputDataProc proc, void* user);
  void Convert(unsigned char const* in, unsigned char* out, std::size_t frames) const;

  AudioStreamBasicDescription mSource;
  AudioStreamBasicDescription mDestination;
  CPcmEncoding mFrom;
  CPcmEncoding mTo;
  bool mSameEncoding;
  // The producer said the stream is over: never asked again.
  bool mEnded;

  SRC_STATE* mResampler;
  double mRatio;
  std::vector<float> mStaged;  // decoded input the resampler has not used
  std::size_t mStagedFrames;
  std::vector<float> mResampled;  // resampled frames not yet written
  std::size_t mResampledStart;
  std::size_t mResampledFrames;
  bool mDrained;
};

}  // namespace AudioLayer
