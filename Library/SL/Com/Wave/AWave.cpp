#include "SL/Com/Wave/AWave.h"

#include <sstream>
#include <utility>

#include "SL/Com/Wave/CLoop.h"

namespace SL {
namespace {

void KeepPositive(double& value) {
  if (!(value > 0.0)) value = 0.0;
}

}  // namespace

AWave::AWave()
    : mFormat(CWaveFormat::None),
      mSampleRate(32000.0),
      mOriginalBitDepth(CBitDepth::None),
      mRecordNote(60.0),
      mActualNote(60.0),
      mPlayNote(60.0),
      mRecordTempo(120.0),
      mActualTempo(120.0),
      mPlayTempo(120.0),
      mTargetLocation(0, 0),
      mFftFrameCount(0),
      mHorizontalSelection(0.0, 0.0),
      mVerticalSelection(0.0, 0.0),
      mLoop(new CLoop),
      mEnvelope(new CEnvelope(CWaveFormat::None)) {}

AWave::AWave(AWave const& other)
    : mFormat(other.mFormat),
      mSampleRate(other.mSampleRate),
      mOriginalBitDepth(other.mOriginalBitDepth),
      mRecordNote(other.mRecordNote),
      mActualNote(other.mActualNote),
      mPlayNote(other.mPlayNote),
      mRecordTempo(other.mRecordTempo),
      mActualTempo(other.mActualTempo),
      mPlayTempo(other.mPlayTempo),
      mTargetLocation(other.mTargetLocation),
      mFftFrameCount(other.mFftFrameCount),
      mIdentifiers(other.mIdentifiers),
      mHistory(other.mHistory),
      mHorizontalSelection(other.mHorizontalSelection),
      mVerticalSelection(other.mVerticalSelection),
      mLoop(other.mLoop->Clone()),
      mEnvelope(other.mEnvelope->Clone()) {}

AWave& AWave::operator=(AWave const& other) {
  AWave copy(other);
  Swap(copy);
  return *this;
}

void AWave::Swap(AWave& other) {
  std::swap(mFormat, other.mFormat);
  std::swap(mSampleRate, other.mSampleRate);
  std::swap(mOriginalBitDepth, other.mOriginalBitDepth);
  std::swap(mRecordNote, other.mRecordNote);
  std::swap(mActualNote, other.mActualNote);
  std::swap(mPlayNote, other.mPlayNote);
  std::swap(mRecordTempo, other.mRecordTempo);
  std::swap(mActualTempo, other.mActualTempo);
  std::swap(mPlayTempo, other.mPlayTempo);
  mTargetLocation.Swap(other.mTargetLocation);
  std::swap(mFftFrameCount, other.mFftFrameCount);
  mIdentifiers.swap(other.mIdentifiers);
  mHistory.swap(other.mHistory);
  mHorizontalSelection.Swap(other.mHorizontalSelection);
  mVerticalSelection.Swap(other.mVerticalSelection);
  mLoop.swap(other.mLoop);
  mEnvelope.swap(other.mEnvelope);
}

bool AWave::operator==(AWave const& other) const {
  return mFormat == other.mFormat && mSampleRate == other.mSampleRate &&
         mOriginalBitDepth == other.mOriginalBitDepth && mRecordNote == other.mRecordNote &&
         mActualNote == other.mActualNote && mPlayNote == other.mPlayNote &&
         mRecordTempo == other.mRecordTempo && mActualTempo == other.mActualTempo &&
         mPlayTempo == other.mPlayTempo && mTargetLocation.begin == other.mTargetLocation.begin &&
         mTargetLocation.end == other.mTargetLocation.end &&
         mFftFrameCount == other.mFftFrameCount && mIdentifiers == other.mIdentifiers &&
         mHistory == other.mHistory &&
         mHorizontalSelection.begin == other.mHorizontalSelection.begin &&
         mHorizontalSelection.end == other.mHorizontalSelection.end &&
         mVerticalSelection.begin == other.mVerticalSelection.begin &&
         mVerticalSelection.end == other.mVerticalSelection.end && *mEnvelope == *other.mEnvelope &&
         mLoop->Equals(*other.mLoop);
}

void AWave::Normalize() {
  KeepPositive(mSampleRate);
  KeepPositive(mRecordNote);
  KeepPositive(mActualNote);
  KeepPositive(mPlayNote);
  KeepPositive(mRecordTempo);
  KeepPositive(mActualTempo);
  KeepPositive(mPlayTempo);
  if (mFftFrameCount < 0) mFftFrameCount = 0;
  mLoop->Normalize();
  mEnvelope->Normalize();
}

bool AWave::HasNormalized() const {
  return mSampleRate >= 0.0 && mRecordNote >= 0.0 && mActualNote >= 0.0 && mPlayNote >= 0.0 &&
         mRecordTempo >= 0.0 && mActualTempo >= 0.0 && mPlayTempo >= 0.0 && mFftFrameCount >= 0 &&
         mLoop->HasNormalized() && mEnvelope->HasNormalized();
}

std::string AWave::GetIdentifier() const {
  std::string text;
  for (std::string const& identifier : mIdentifiers) text += identifier + "\n";
  return text;
}

void AWave::SetIdentifier(std::string const& text) {
  mIdentifiers.clear();
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) mIdentifiers.push_back(line);
}

}  // namespace SL
