#pragma once

#include <boost/shared_ptr.hpp>
#include <string>
#include <vector>

#include "GT/Com/Enum/CRange.h"
#include "SL/Com/Format/CBitDepth.h"
#include "SL/Com/Format/CWaveFormat.h"
#include "SL/Com/Wave/IEntity.h"
#include "SL/Com/Buffer/ILocatable2D.h"

namespace SL {

class CChannelCollection;
class CEntityId;
class CEnvelope;
class ILoop;

// A sampled sound: rate, original bit depth, notes, tempos, loop, envelope
// and channels; its location is its channels' frame range.
class IWave : public IEntity, public ILocatable2D {
public:
  // Attribute bits of a wave, above those of every entity.
  enum { kHorizontalSelection = 0x10, kVerticalSelection = 0x20 };

  ~IWave() override {}
  IWave* Clone() const override = 0;

  virtual CBitDepth GetBitDepth() const = 0;
  virtual CWaveFormat GetFormat() const = 0;
  virtual void SetSampleRate(double rate) = 0;
  virtual double GetSampleRate() const = 0;
  virtual void SetOriginalBitDepth(CBitDepth depth) = 0;
  virtual CBitDepth GetOriginalBitDepth() const = 0;
  virtual void SetRecordNote(double note) = 0;
  virtual void SetActualNote(double note) = 0;
  virtual void SetPlayNote(double note) = 0;
  virtual double GetRecordNote() const = 0;
  virtual double GetActualNote() const = 0;
  virtual double GetPlayNote() const = 0;
  virtual void SetRecordTempo(double tempo) = 0;
  virtual void SetActualTempo(double tempo) = 0;
  virtual void SetPlayTempo(double tempo) = 0;
  virtual double GetRecordTempo() const = 0;
  virtual double GetActualTempo() const = 0;
  virtual double GetPlayTempo() const = 0;
  void SetLocation(GT::CRange<long> const& range) override = 0;
  GT::CRange<long> GetLocation() const override = 0;
  virtual void SetTargetLocation(GT::CRange<long> const& range) = 0;
  virtual GT::CRange<long> GetTargetLocation() const = 0;
  virtual void SetFftFrameCount(long count) = 0;
  virtual long GetFftFrameCount() const = 0;
  virtual void SetIdentifier(std::string const& text) = 0;
  virtual std::string GetIdentifier() const = 0;
  virtual std::vector<std::string> const& Identifiers() const = 0;
  virtual void SetHistory(std::string const& history) = 0;
  virtual std::string const& GetHistory() const = 0;
  virtual void SetHorizontalSelection(GT::CRange<double> const& selection) = 0;
  virtual GT::CRange<double> GetHorizontalSelection() const = 0;
  virtual void SetVerticalSelection(GT::CRange<double> const& selection) = 0;
  virtual GT::CRange<double> GetVerticalSelection() const = 0;
  virtual void SetLoop(boost::shared_ptr<ILoop> loop) = 0;
  virtual boost::shared_ptr<ILoop> GetLoop() const = 0;
  virtual ILoop& Loop() = 0;
  virtual ILoop const& Loop() const = 0;
  virtual void SetEnvelope(boost::shared_ptr<CEnvelope> envelope) = 0;
  virtual boost::shared_ptr<CEnvelope> GetEnvelope() const = 0;
  virtual CEnvelope& Envelope() = 0;
  virtual CEnvelope const& Envelope() const = 0;
  virtual void SetChannels(boost::shared_ptr<CChannelCollection> channels) = 0;
  virtual boost::shared_ptr<CChannelCollection> GetChannels() const = 0;
  virtual CChannelCollection& Channels() = 0;
  virtual CChannelCollection const& Channels() const = 0;

  static std::string ToString(int attributes);

  using IEntity::CopyAttribute;
  // Copies what which selects: the wave's own attributes (never its
  // location), the selections, and the channels, envelope and loop below it.
  void CopyAttribute(IWave const& source, CEntityId const& which);
};

}  // namespace SL
