#include "Executable/Com/Playback/CPlayer.h"

#include "Executable/Com/Controller/CDomain.h"
#include "Executable/Com/Conversion/CKvacFileSampleIteratorFactory.h"
#include "Executable/Com/Conversion/CSampleIteratorLofiDecorator.h"
#include "SL/Com/Audio/CAudioDeviceBase.h"
#include "SL/Com/Format/CBitDepth.h"
#include "SL/Com/Playback/CSampleIteratorBitDepthConvertDecorator.h"
#include "SL/Com/Playback/CSampleIteratorRingBufferingDecorator.h"
#include "SL/Com/Playback/CSampleIteratorStereoDecorator.h"
#include "SL/Com/Stream/CFileSampleIteratorFactory.h"

#include <cmath>
#include <filesystem>
#include <system_error>

namespace VQ7 {

namespace {

int const nFillThreadPriority = 104;
// Shorter buffers than a millisecond cannot be kept filled.
double const nShortestBufferTime = 0.001;
double const nHighestSampleRate = 768000.0;
long const nMostChannels = 64;

bool IsBufferTime(double seconds) {
  return std::isfinite(seconds) && seconds >= nShortestBufferTime &&
         seconds <= CPlayer::nLongestBufferTime;
}

}  // namespace

bool CPlayer::IsPlayable(SL::CSampleAttribute const& attribute) {
  // A ring of the 16-bit chain must be allocatable.
  return attribute.mBitDepth.GetValue() == SL::CBitDepth::Integer16.GetValue() &&
         attribute.mChannelCount >= 1 && attribute.mChannelCount <= nMostChannels &&
         std::isfinite(attribute.mSampleRate) && attribute.mSampleRate >= 1.0 &&
         attribute.mSampleRate <= nHighestSampleRate;
}

CPlayer::CPlayer(boost::shared_ptr<SL::IAudioDeviceFacade> facade)
    : mRingBufferTime(0.0),
      mDeviceBufferTime(0.0),
      mFacade(),
      mDevice(),
      mObservers(new GT::CMvcObservableComponent) {
  SetDeviceFacade(facade);
}

CPlayer::~CPlayer() {}

void CPlayer::SetDeviceFacade(boost::shared_ptr<SL::IAudioDeviceFacade> facade) {
  if (mDevice && mDevice->IsPlaying() && !mDevice->Stop()) CDomain::HandleError(PlaybackFailed);
  mDevice.reset();
  mFacade = facade;
  if (mFacade)
    mDevice.reset(mFacade->CreateOutDevice(mFacade->GetDefaultOutDeviceName()).release());
}

void CPlayer::SetDeviceBufferTime(double seconds) {
  if (!IsBufferTime(seconds)) return;
  mDeviceBufferTime = seconds;
  if (SL::CAudioDeviceBase* const device = dynamic_cast<SL::CAudioDeviceBase*>(mDevice.get()))
    device->SetDeviceBufferTime(seconds);
}

void CPlayer::SetRingBufferTime(double seconds) {
  if (IsBufferTime(seconds)) mRingBufferTime = seconds;
}

void CPlayer::Stop() {
  if (mDevice && !mDevice->Stop()) CDomain::HandleError(PlaybackFailed);
}

void CPlayer::PlayKvacWave(std::vector<std::string> const& files, bool lofi, long length) {
  if (IsPlaying()) return;
  boost::shared_ptr<SL::IInputSampleIterator> const source =
      CreateKvacWaveIterator(files, lofi, length);
  // A source whose first read failed has nothing to play.
  if (!source || !source->IsValid()) {
    CDomain::HandleError(PlaybackFailed);
    return;
  }
  Play(source, true);
}

void CPlayer::PlayLinearWave(std::string const& path) {
  if (IsPlaying()) return;
  boost::shared_ptr<SL::IInputSampleIterator> const source = CreateLinearWaveIterator(path);
  if (!source || !source->IsValid() || !IsPlayable(source->GetAttribute())) {
    CDomain::HandleError(WaveLoadFailed);
    return;
  }
  Play(source, false);
}

void CPlayer::Play(boost::shared_ptr<SL::IInputSampleIterator> source, bool notify) {
  boost::shared_ptr<SL::IInputSampleIterator> const chain = mDevice ? Decorate(source) : source;
  if (mDevice && chain && mDevice->Play(chain)) {
    if (notify) NotifyViews();
  } else {
    CDomain::HandleError(PlaybackFailed);
  }
}

void CPlayer::AddView(boost::shared_ptr<GT::IMvcObserver> observer) {
  mObservers->Add(observer, 0);
}

void CPlayer::NotifyViews() {
  mObservers->NotifyObservers(boost::any(this), boost::any(), boost::any());
}

boost::shared_ptr<SL::IInputSampleIterator> CPlayer::CreateKvacWaveIterator(
    std::vector<std::string> const& files, bool lofi, long length) {
  for (std::string const& file : files) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
      return boost::shared_ptr<SL::IInputSampleIterator>();
  }
  boost::shared_ptr<SL::IInputSampleIterator> source =
      CKvacFileSampleIteratorFactory().CreateInput(files, lofi, length);
  if (source && lofi) source.reset(new CSampleIteratorLofiDecorator(source));
  return source;
}

boost::shared_ptr<SL::IInputSampleIterator> CPlayer::CreateLinearWaveIterator(
    std::string const& path) {
  // A FIFO or a device in the file's place would block the main thread.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error))
    return boost::shared_ptr<SL::IInputSampleIterator>();
  return SL::CFileSampleIteratorFactory().Create(path);
}

boost::shared_ptr<SL::IInputSampleIterator> CPlayer::Decorate(
    boost::shared_ptr<SL::IInputSampleIterator> source) {
  if (!source || !IsPlayable(source->GetAttribute()))
    return boost::shared_ptr<SL::IInputSampleIterator>();
  double const ringTime = mRingBufferTime > 0.0 ? mRingBufferTime : nDefaultRingBufferTime;
  boost::shared_ptr<SL::IInputSampleIterator> chain(
      new SL::CSampleIteratorRingBufferingDecorator<SL::nInteger16>(source, ringTime,
                                                                    nFillThreadPriority));
  if (chain->GetAttribute().mChannelCount == 1)
    chain.reset(new SL::CSampleIteratorStereoDecorator<SL::nInteger16>(chain));
  return boost::shared_ptr<SL::IInputSampleIterator>(
      new SL::CSampleIteratorBitDepthConvertDecorator<SL::nInteger16, SL::nFloat32>(chain));
}

}  // namespace VQ7
