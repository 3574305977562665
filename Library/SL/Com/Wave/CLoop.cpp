#include "SL/Com/Wave/CLoop.h"

#include "SL/Com/Wave/Domain.h"

namespace SL {

CLoop::CLoop() : mEntity(new AEntity), mLoop(new ALoop) { CLoop::Normalize(); }

CLoop::CLoop(CLoop const& other)
    : ILoop(), mEntity(new AEntity(*other.mEntity)), mLoop(new ALoop(*other.mLoop)) {}

CLoop& CLoop::operator=(CLoop const& other) {
  CLoop copy(other);
  Swap(copy);
  return *this;
}

void CLoop::Swap(CLoop& other) {
  mEntity.swap(other.mEntity);
  mLoop.swap(other.mLoop);
}

CLoop* CLoop::Clone() const { return new CLoop(*this); }

bool CLoop::Equals(CObject const& other) const {
  CLoop const* loop = dynamic_cast<CLoop const*>(&other);
  return loop && *mEntity == *loop->mEntity && *mLoop == *loop->mLoop;
}

void CLoop::SetActive(bool active) { mEntity->mActive = active; }
bool CLoop::IsActive() const { return mEntity->mActive; }
void CLoop::SetName(std::string const& name) { mEntity->mName = name; }
std::string const& CLoop::GetName() const { return mEntity->mName; }
void CLoop::SetCaption(std::string const& caption) { mEntity->mCaption = caption; }
std::string const& CLoop::GetCaption() const { return mEntity->mCaption; }
void CLoop::SetText(std::string const& text) { mEntity->mText = text; }
std::string const& CLoop::GetText() const { return mEntity->mText; }

void CLoop::Normalize() {
  mLoop->Normalize();
  Domain().LoopDescription().Normalize(*this);
}

bool CLoop::HasNormalized() const {
  return mLoop->HasNormalized() && Domain().LoopDescription().HasNormalized(*this);
}

void CLoop::SetStartFrame(double frame) { mLoop->mStartFrame = frame; }
void CLoop::SetJumpFrame(double frame) { mLoop->mJumpFrame = frame; }
void CLoop::SetLoopFrame(double frame) { mLoop->mLoopFrame = frame; }
void CLoop::SetEndFrame(double frame) { mLoop->mEndFrame = frame; }
void CLoop::SetCurrentFrame(double frame) { mLoop->mCurrentFrame = frame; }

double* CLoop::Frame(EFrameId id) const {
  switch (id) {
    case StartFrame:
      return &mLoop->mStartFrame;
    case JumpFrame:
      return &mLoop->mJumpFrame;
    case LoopFrame:
      return &mLoop->mLoopFrame;
    case EndFrame:
      return &mLoop->mEndFrame;
    case CurrentFrame:
      return &mLoop->mCurrentFrame;
  }
  return nullptr;
}

void CLoop::SetFrame(EFrameId id, double frame) {
  if (double* f = Frame(id)) *f = frame;
}

double CLoop::GetStartFrame() const { return mLoop->mStartFrame; }
double CLoop::GetJumpFrame() const { return mLoop->mJumpFrame; }
double CLoop::GetLoopFrame() const { return mLoop->mLoopFrame; }
double CLoop::GetEndFrame() const { return mLoop->mEndFrame; }
double CLoop::GetCurrentFrame() const { return mLoop->mCurrentFrame; }

double CLoop::GetFrame(EFrameId id) const {
  double const* f = Frame(id);
  return f ? *f : 0.0;
}

void CLoop::SetXfDepthLoop(double depth) { mLoop->mXfDepthLoop = depth; }
void CLoop::SetXfDepthEnd(double depth) { mLoop->mXfDepthEnd = depth; }
void CLoop::SetXfRateLoop(double rate) { mLoop->mXfRateLoop = rate; }
void CLoop::SetXfRateEnd(double rate) { mLoop->mXfRateEnd = rate; }
double CLoop::GetXfDepthLoop() const { return mLoop->mXfDepthLoop; }
double CLoop::GetXfDepthEnd() const { return mLoop->mXfDepthEnd; }
double CLoop::GetXfRateLoop() const { return mLoop->mXfRateLoop; }
double CLoop::GetXfRateEnd() const { return mLoop->mXfRateEnd; }
void CLoop::SetLoopMode(CLoopMode mode) { mLoop->mLoopMode = mode; }
CLoopMode CLoop::GetLoopMode() const { return mLoop->mLoopMode; }
void CLoop::SetLoopTune(double tune) { mLoop->mLoopTune = tune; }
double CLoop::GetLoopTune() const { return mLoop->mLoopTune; }

}  // namespace SL
