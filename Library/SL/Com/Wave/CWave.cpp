#include "SL/Com/Wave/CWave.h"

#include "SL/Com/Wave/Domain.h"

namespace SL {

typedef CWave<nFloat64> CWave64;

CWave64::CWave(CWaveFormat format)
    : mEntity(new AEntity),
      mWave(new AWave),
      mChannels(new CTypedChannelCollection<nFloat64>(format)) {
  mWave->mFormat = format;
  mWave->mOriginalBitDepth = CBitDepth::Float64;
  CWave64::Normalize();
}

CWave64::CWave(CWave const& source, bool deep)
    : IWave(),
      mEntity(new AEntity(*source.mEntity)),
      mWave(new AWave(*source.mWave)),
      mChannels(new CTypedChannelCollection<nFloat64>(*source.mChannels, deep)) {}

bool CWave64::operator==(CWave const& other) const {
  return *mEntity == *other.mEntity && *mWave == *other.mWave &&
         mChannels->Inner() == other.mChannels->Inner();
}

CWave64* CWave64::Clone() const { return new CWave(*this, true); }

bool CWave64::Equals(CObject const& other) const {
  CWave const* wave = dynamic_cast<CWave const*>(&other);
  return wave && *this == *wave;
}

void CWave64::SetActive(bool active) { mEntity->mActive = active; }
bool CWave64::IsActive() const { return mEntity->mActive; }
void CWave64::SetName(std::string const& name) { mEntity->mName = name; }
std::string const& CWave64::GetName() const { return mEntity->mName; }
void CWave64::SetCaption(std::string const& caption) { mEntity->mCaption = caption; }
std::string const& CWave64::GetCaption() const { return mEntity->mCaption; }
void CWave64::SetText(std::string const& text) { mEntity->mText = text; }
std::string const& CWave64::GetText() const { return mEntity->mText; }

void CWave64::Normalize() {
  mWave->Normalize();
  mChannels->Normalize();
  Domain().WaveDescription().Normalize(*this);
}

bool CWave64::HasNormalized() const {
  return mWave->HasNormalized() && mChannels->HasNormalized() &&
         Domain().WaveDescription().HasNormalized(*this);
}

CBitDepth CWave64::GetBitDepth() const { return CBitDepth::Float64; }
CWaveFormat CWave64::GetFormat() const { return mWave->mFormat; }
void CWave64::SetSampleRate(double rate) { mWave->mSampleRate = rate; }
double CWave64::GetSampleRate() const { return mWave->mSampleRate; }
void CWave64::SetOriginalBitDepth(CBitDepth depth) { mWave->mOriginalBitDepth = depth; }
CBitDepth CWave64::GetOriginalBitDepth() const { return mWave->mOriginalBitDepth; }
void CWave64::SetRecordNote(double note) { mWave->mRecordNote = note; }
void CWave64::SetActualNote(double note) { mWave->mActualNote = note; }
void CWave64::SetPlayNote(double note) { mWave->mPlayNote = note; }
double CWave64::GetRecordNote() const { return mWave->mRecordNote; }
double CWave64::GetActualNote() const { return mWave->mActualNote; }
double CWave64::GetPlayNote() const { return mWave->mPlayNote; }
void CWave64::SetRecordTempo(double tempo) { mWave->mRecordTempo = tempo; }
void CWave64::SetActualTempo(double tempo) { mWave->mActualTempo = tempo; }
void CWave64::SetPlayTempo(double tempo) { mWave->mPlayTempo = tempo; }
double CWave64::GetRecordTempo() const { return mWave->mRecordTempo; }
double CWave64::GetActualTempo() const { return mWave->mActualTempo; }
double CWave64::GetPlayTempo() const { return mWave->mPlayTempo; }
void CWave64::SetLocation(GT::CRange<long> const& range) { Channels().SetLocation(range); }
GT::CRange<long> CWave64::GetLocation() const { return Channels().GetLocation(); }
void CWave64::SetTargetLocation(GT::CRange<long> const& range) { mWave->mTargetLocation = range; }
GT::CRange<long> CWave64::GetTargetLocation() const { return mWave->mTargetLocation; }
void CWave64::SetFftFrameCount(long count) { mWave->mFftFrameCount = count; }
long CWave64::GetFftFrameCount() const { return mWave->mFftFrameCount; }
void CWave64::SetIdentifier(std::string const& text) { mWave->SetIdentifier(text); }
std::string CWave64::GetIdentifier() const { return mWave->GetIdentifier(); }
std::vector<std::string> const& CWave64::Identifiers() const { return mWave->mIdentifiers; }
void CWave64::SetHistory(std::string const& history) { mWave->mHistory = history; }
std::string const& CWave64::GetHistory() const { return mWave->mHistory; }
void CWave64::SetHorizontalSelection(GT::CRange<double> const& selection) {
  mWave->mHorizontalSelection = selection;
}
GT::CRange<double> CWave64::GetHorizontalSelection() const { return mWave->mHorizontalSelection; }
void CWave64::SetVerticalSelection(GT::CRange<double> const& selection) {
  mWave->mVerticalSelection = selection;
}
GT::CRange<double> CWave64::GetVerticalSelection() const { return mWave->mVerticalSelection; }
void CWave64::SetLoop(boost::shared_ptr<ILoop> loop) { mWave->mLoop = loop; }
boost::shared_ptr<ILoop> CWave64::GetLoop() const { return mWave->mLoop; }
ILoop& CWave64::Loop() { return *mWave->mLoop; }
ILoop const& CWave64::Loop() const { return *mWave->mLoop; }
void CWave64::SetEnvelope(boost::shared_ptr<CEnvelope> envelope) { mWave->mEnvelope = envelope; }
boost::shared_ptr<CEnvelope> CWave64::GetEnvelope() const { return mWave->mEnvelope; }
CEnvelope& CWave64::Envelope() { return *mWave->mEnvelope; }
CEnvelope const& CWave64::Envelope() const { return *mWave->mEnvelope; }
void CWave64::SetChannels(boost::shared_ptr<CChannelCollection> channels) {
  mChannels->SetInner(channels);
}
boost::shared_ptr<CChannelCollection> CWave64::GetChannels() const { return mChannels->GetInner(); }
CChannelCollection& CWave64::Channels() { return mChannels->Inner(); }
CChannelCollection const& CWave64::Channels() const { return mChannels->Inner(); }

}  // namespace SL
