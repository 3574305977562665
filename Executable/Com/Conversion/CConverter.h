#pragma once

#include "SL/Com/Format/CWaveFileFormat.h"
#include "SL/Com/Stream/CSampleAttribute.h"
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
  // destinationBase + "0" and "1" for stereo. Empty on failure (also for a
  // source of other channel counts or depths), and then the files of those
  // names are as they were. A cancel returns the names and writes none of
  // them.
  std::vector<std::string> Import(std::string const& source, std::string const& destinationBase);
  // The same, and what the conversion found: the source's format as it was
  // read, with the frames written to each file.
  std::vector<std::string> Import(std::string const& source, std::string const& destinationBase,
                                  SL::CSampleAttribute& found);

  // Decodes the files (4-bit coding held for four frames when lofi) into a
  // WAV or AIFF file. A cancel returns true; a cancel or a failure leaves
  // the destination as it was.
  bool Export(std::vector<std::string> const& files, std::string const& destination,
              SL::CWaveFileFormat const& format, long length, bool lofi);

  // Tempo estimate in tenths of BPM for a sample of that many frames.
  static long ComputeBpm(long frames);

private:
  std::vector<std::string> ImportFile(std::string const& source, std::string const& destinationBase,
                                      SL::CSampleAttribute& found);
  bool ExportFiles(std::vector<std::string> const& files, std::string const& destination,
                   SL::CWaveFileFormat const& format, long length, bool lofi);

  UL::IProgress& mProgress;
};

}  // namespace VQ7
