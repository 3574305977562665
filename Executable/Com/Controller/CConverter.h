#pragma once

#include "SL/Com/Format/CWaveFileFormat.h"
#include "UL/Com/Progress/IProgress.h"

#include <string>
#include <vector>

namespace VQ7 {

// Moves samples between a 16-bit WAV or AIFF file and the device's coded
// per-channel files, one sample at a time. The progress range is the number
// of samples; the position and the cancel request are looked at every few
// thousand samples.
class CConverter {
public:
  CConverter();  // reports to the null progress
  explicit CConverter(UL::IProgress& progress);

  bool ClassInvariant() const { return true; }

  // The device files written, one per channel: destinationBase for mono,
  // destinationBase + "0", "1", ... otherwise. Empty on failure, and then
  // no file it wrote is left behind. A cancel returns the names with the
  // files unfinished, for the caller to remove.
  std::vector<std::string> Import(std::string const& source, std::string const& destinationBase);

  // Decodes the files (4-bit coding held for four frames when lofi) into a
  // WAV or AIFF file. A cancel returns true with the file unfinished; a
  // failure removes the file it wrote.
  bool Export(std::vector<std::string> const& files, std::string const& destination,
              SL::CWaveFileFormat const& format, long length, bool lofi);

  // Tempo estimate in tenths of BPM for a sample of that many frames.
  static long ComputeBpm(long frames);

private:
  UL::IProgress& mProgress;
};

}  // namespace VQ7
