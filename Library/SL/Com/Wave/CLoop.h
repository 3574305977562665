#pragma once

#include <boost/shared_ptr.hpp>

#include "SL/Com/Wave/AEntity.h"
#include "SL/Com/Wave/ALoop.h"
#include "SL/Com/Wave/ILoop.h"

namespace SL {

// The loop entity; owns its two records alone, so copies are deep.
class CLoop : public ILoop {
public:
  CLoop();
  CLoop(CLoop const& other);
  CLoop& operator=(CLoop const& other);
  void Swap(CLoop& other);

  CLoop* Clone() const override;
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

  void SetStartFrame(double frame) override;
  void SetJumpFrame(double frame) override;
  void SetLoopFrame(double frame) override;
  void SetEndFrame(double frame) override;
  void SetCurrentFrame(double frame) override;
  void SetFrame(EFrameId id, double frame) override;
  double GetStartFrame() const override;
  double GetJumpFrame() const override;
  double GetLoopFrame() const override;
  double GetEndFrame() const override;
  double GetCurrentFrame() const override;
  double GetFrame(EFrameId id) const override;

  void SetXfDepthLoop(double depth) override;
  void SetXfDepthEnd(double depth) override;
  void SetXfRateLoop(double rate) override;
  void SetXfRateEnd(double rate) override;
  double GetXfDepthLoop() const override;
  double GetXfDepthEnd() const override;
  double GetXfRateLoop() const override;
  double GetXfRateEnd() const override;
  void SetLoopMode(CLoopMode mode) override;
  CLoopMode GetLoopMode() const override;
  void SetLoopTune(double tune) override;
  double GetLoopTune() const override;

private:
  double* Frame(EFrameId id) const;

  boost::shared_ptr<AEntity> mEntity;
  boost::shared_ptr<ALoop> mLoop;
};

}  // namespace SL
