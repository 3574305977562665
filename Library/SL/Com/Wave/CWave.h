#pragma once

#include <boost/shared_ptr.hpp>

#include "SL/Com/Format/BitDepthCodes.h"
#include "SL/Com/Wave/AEntity.h"
#include "SL/Com/Wave/AWave.h"
#include "SL/Com/Wave/CTypedChannelCollection.h"
#include "SL/Com/Wave/IWave.h"

namespace SL {

class CIffDataChunk;
template <int N>
class CWave;

namespace Private {
bool SetUpChannels(CWave<nFloat64>& wave, CIffDataChunk const* data, int channels);
template <int N>
class CWaveMarshallerToRiffWaveDto;
template <int N>
class CWaveMarshallerToFormAiffDto;
}  // namespace Private

// The wave entity with samples of bit depth N (only FLOAT64 exists).

template <>
class CWave<nFloat64> : public IWave {
public:
  explicit CWave(CWaveFormat format);
  // Own records, loop and envelope; the channels are cloned when deep.
  CWave(CWave const& source, bool deep);
  bool operator==(CWave const& other) const;
  bool operator!=(CWave const& other) const { return !(*this == other); }

  CWave* Clone() const override;
  bool Equals(CObject const& other) const override;
  void SetActive(bool active) override;
  bool IsActive() const override;
  void SetName(std::string const& name) override;
  std::string const& GetName() const override;
  void SetCaption(std::string const& caption) override;
  std::string const& GetCaption() const override;
  void SetText(std::string const& text) override;
  std::string const& GetText() const override;
  void Normalize() override;
  bool HasNormalized() const override;

  CBitDepth GetBitDepth() const override;
  CWaveFormat GetFormat() const override;
  void SetSampleRate(double rate) override;
  double GetSampleRate() const override;
  void SetOriginalBitDepth(CBitDepth depth) override;
  CBitDepth GetOriginalBitDepth() const override;
  void SetRecordNote(double note) override;
  void SetActualNote(double note) override;
  void SetPlayNote(double note) override;
  double GetRecordNote() const override;
  double GetActualNote() const override;
  double GetPlayNote() const override;
  void SetRecordTempo(double tempo) override;
  void SetActualTempo(double tempo) override;
  void SetPlayTempo(double tempo) override;
  double GetRecordTempo() const override;
  double GetActualTempo() const override;
  double GetPlayTempo() const override;
  void SetLocation(GT::CRange<long> const& range) override;
  GT::CRange<long> GetLocation() const override;
  void SetTargetLocation(GT::CRange<long> const& range) override;
  GT::CRange<long> GetTargetLocation() const override;
  void SetFftFrameCount(long count) override;
  long GetFftFrameCount() const override;
  void SetIdentifier(std::string const& text) override;
  std::string GetIdentifier() const override;
  std::vector<std::string> const& Identifiers() const override;
  void SetHistory(std::string const& history) override;
  std::string const& GetHistory() const override;
  void SetHorizontalSelection(GT::CRange<double> const& selection) override;
  GT::CRange<double> GetHorizontalSelection() const override;
  void SetVerticalSelection(GT::CRange<double> const& selection) override;
  GT::CRange<double> GetVerticalSelection() const override;
  void SetLoop(boost::shared_ptr<ILoop> loop) override;
  boost::shared_ptr<ILoop> GetLoop() const override;
  ILoop& Loop() override;
  ILoop const& Loop() const override;
  void SetEnvelope(boost::shared_ptr<CEnvelope> envelope) override;
  boost::shared_ptr<CEnvelope> GetEnvelope() const override;
  CEnvelope& Envelope() override;
  CEnvelope const& Envelope() const override;
  // Replaces the untyped collection inside the typed one.
  void SetChannels(boost::shared_ptr<CChannelCollection> channels) override;
  boost::shared_ptr<CChannelCollection> GetChannels() const override;
  CChannelCollection& Channels() override;
  CChannelCollection const& Channels() const override;

private:
  CWave(CWave const&) = delete;
  CWave& operator=(CWave const&) = delete;

  template <int>
  friend class Private::CWaveMarshallerToRiffWaveDto;
  template <int>
  friend class Private::CWaveMarshallerToFormAiffDto;
  // The marshallers may replace the whole typed collection by converted channels.
  friend bool Private::SetUpChannels(CWave<nFloat64>& wave, CIffDataChunk const* data,
                                     int channels);

  boost::shared_ptr<AEntity> mEntity;
  boost::shared_ptr<AWave> mWave;
  boost::shared_ptr<CTypedChannelCollection<nFloat64> > mChannels;
};

}  // namespace SL
