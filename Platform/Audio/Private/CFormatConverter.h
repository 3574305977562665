#pragma once

#include "Platform/Audio/AudioConverter.h"
#include "Platform/Audio/Private/PcmEncoding.h"

#include <samplerate.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace AudioLayer {

// The converter behind AudioConverterRef. Without a rate change, frames go
// straight from the producer's memory to the output. With one, they are
// decoded into floats of the output's channel count, resampled, and encoded
// from there; the resampler's state and the frames it has not yet used stay
// here from one fill to the next.
//
// The source frames most recently taken are kept as they came, so that a
// new destination format can go on from the frame the output has reached.
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

  AudioStreamBasicDescription const& GetSource() const { return mSource; }
  AudioStreamBasicDescription const& GetDestination() const { return mDestination; }
  // Goes on in this format: the source frames taken and not yet given out
  // (and, for a resampler, a few before them to settle it) are taken again
  // before the producer is asked. Not while a fill runs. Unchanged on failure.
  AudioStatus SetDestination(AudioStreamBasicDescription const& destination);

private:
  // Frames the resampling path stages on either side of the resampler.
  static constexpr std::size_t sChunkFrames = 1024;

  CFormatConverter(AudioStreamBasicDescription const& source,
                   AudioStreamBasicDescription const& destination, CPcmEncoding const& from,
                   CPcmEncoding const& to);

  // Everything that follows the destination format, anew.
  AudioStatus Open(AudioStreamBasicDescription const& destination, CPcmEncoding const& to);
  AudioStatus FillDirect(AudioConverterRef self, AudioConverterComplexInputDataProc proc,
                         void* user, unsigned char* out, std::uint32_t want,
                         std::uint32_t* produced);
  AudioStatus FillResampled(AudioConverterRef self, AudioConverterComplexInputDataProc proc,
                            void* user, unsigned char* out, std::uint32_t want,
                            std::uint32_t* produced);
  // Gives up to limit frames: those to be taken again first, then the
  // producer's; *given stays 0 when it has none or the stream ended (then
  // mEnded is set).
  AudioStatus Ask(AudioConverterRef self, AudioConverterComplexInputDataProc proc, void* user,
                  std::uint32_t limit, unsigned char const** in, std::uint32_t* given);
  // Asks for frames and decodes them behind the staged input.
  AudioStatus Pull(AudioConverterRef self, AudioConverterComplexInputDataProc proc, void* user);
  void Convert(unsigned char const* in, unsigned char* out, std::size_t frames) const;
  void Keep(unsigned char const* in, std::size_t frames);
  // The source frame the next output frame stands for, counted in frames taken.
  double Reached() const;

  AudioStreamBasicDescription mSource;
  AudioStreamBasicDescription mDestination;
  CPcmEncoding mFrom;
  CPcmEncoding mTo;
  bool mSameEncoding;
  // No input will come: the producer said the stream is over (it is never
  // asked again) and nothing is to be taken again.
  bool mEnded;
  bool mProducerEnded;

  SRC_STATE* mResampler;
  double mRatio;
  std::vector<float> mStaged;  // decoded input the resampler has not used
  std::size_t mStagedFrames;
  std::vector<float> mResampled;  // resampled frames not yet written
  std::size_t mResampledStart;
  std::size_t mResampledFrames;
  bool mDrained;
  std::uint64_t mGenerated;  // frames the resampler made
  std::uint64_t mLeadIn;     // of them, the first ones, which only settle it
  std::uint64_t mSkipLeft;   // lead-in frames not yet skipped

  // Source frames as taken, the last mKeptCapacity of them.
  std::vector<unsigned char> mKept;
  std::size_t mKeptCapacity;
  std::uint64_t mTaken;  // frames taken since the destination was set
  // Frames to be taken again before the producer is asked.
  std::vector<unsigned char> mAgain;
  std::size_t mAgainStart;
  std::size_t mAgainFrames;
};

}  // namespace AudioLayer
