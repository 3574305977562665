#pragma once

#include "GT/Com/Enum/CRange.h"
#include "SL/Com/Wave/AChannel.h"
#include "SL/Com/Wave/AEntity.h"
#include "SL/Com/Wave/IChannel.h"

namespace SL {

// A channel with every attribute and a frame range but no samples.
class CNullChannel : public IChannel, private AEntity, private AChannel {
public:
  explicit CNullChannel(CWaveFormat format);
  CNullChannel(CNullChannel const& other);
  CNullChannel& operator=(CNullChannel const& other);
  void Swap(CNullChannel& other);
  bool operator==(CNullChannel const& other) const;
  bool operator!=(CNullChannel const& other) const { return !(*this == other); }

  CNullChannel* Clone() const override;
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
  bool IsNull() const override { return true; }
  void SetLocation(GT::CRange<long> const& range) override;
  GT::CRange<long> GetLocation() const override;

  CWaveFormat GetFormat() const override;
  void SetLevel(double level) override;
  double GetLevel() const override;
  void SetPan(double pan) override;
  double GetPan() const override;
  void SetPeakLevel(double level) override;
  double GetPeakLevel() const override;
  void SetEnvelope(boost::shared_ptr<CEnvelope> envelope) override;
  boost::shared_ptr<CEnvelope> GetEnvelope() const override;
  CEnvelope& Envelope() override;
  CEnvelope const& Envelope() const override;

private:
  GT::CRange<long> mRange;
};

}  // namespace SL
