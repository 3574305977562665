#pragma once

#include <boost/shared_ptr.hpp>
#include <string>
#include <vector>

#include "GT/Com/Enum/CRange.h"
#include "SL/Com/Format/CBitDepth.h"
#include "SL/Com/Wave/CEnvelope.h"
#include "SL/Com/Format/CWaveFormat.h"
#include "SL/Com/Wave/ILoop.h"

namespace SL {

// The wave's own attributes; a copy gets its own loop and envelope.
class AWave {
public:
  AWave();
  AWave(AWave const& other);
  AWave& operator=(AWave const& other);
  void Swap(AWave& other);
  bool operator==(AWave const& other) const;
  bool operator!=(AWave const& other) const { return !(*this == other); }

  // Negative (or NaN) rates, notes, tempos and FFT frame counts become 0,
  // then the loop and the envelope normalise.
  void Normalize();
  bool HasNormalized() const;
  std::string GetIdentifier() const;
  // One identifier per line of text.
  void SetIdentifier(std::string const& text);
  bool ClassInvariant() const { return mLoop && mEnvelope; }

  CWaveFormat mFormat;
  double mSampleRate;
  CBitDepth mOriginalBitDepth;
  double mRecordNote;
  double mActualNote;
  double mPlayNote;
  double mRecordTempo;
  double mActualTempo;
  double mPlayTempo;
  GT::CRange<long> mTargetLocation;
  long mFftFrameCount;
  std::vector<std::string> mIdentifiers;
  std::string mHistory;
  GT::CRange<double> mHorizontalSelection;
  GT::CRange<double> mVerticalSelection;
  boost::shared_ptr<ILoop> mLoop;
  boost::shared_ptr<CEnvelope> mEnvelope;
};

}  // namespace SL
